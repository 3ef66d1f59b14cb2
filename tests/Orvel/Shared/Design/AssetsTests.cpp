#include "Assets.h"
#include "Localization.h"
#include "QtPrinters.h"

#include <QCoreApplication>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {
bool hasOpaquePixel(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                return true;
    return false;
}

// Stands in for a language's string table.
class FakeTable : public QTranslator {
public:
    QHash<QString, QString> entries;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (QByteArray(context) != "Localizable")
            return {};
        return entries.value(QString::fromUtf8(source));
    }
};
} // namespace

TEST(Assets, CatalogueHoldsEveryNamedColourAndImage)
{
    for (const char *name : {"OrvelGreen", "OrvelCyan", "OrvelObsidian", "OrvelSurface", "OrvelText"}) {
        const auto color = Assets::color(name);
        ASSERT_TRUE(color.has_value()) << name;
        EXPECT_EQ(color->alpha(), 255) << name;
    }
    for (const char *name : {"AppIcon", "ArtworkPlaceholder", "BrandMark", "BrandMarkCompact",
             "EmptyShortcuts", "MenuBarTemplate", "PreviewArtwork", "SpotifyIcon", "SpotifyLogo"}) {
        const QImage image = Assets::image(name, QSize(64, 64));
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(64, 64));
        EXPECT_TRUE(hasOpaquePixel(image)) << name;
        EXPECT_FALSE(QImage(Assets::imageUrl(name).toString().mid(3)).isNull()) << name;
    }
}

TEST(Assets, MissingNamesDrawNothing)
{
    for (const char *name :
        {"", "OrvelPurple", "orvelgreen", "../Assets/Colors", "BrandMark.svg", "Colors"}) {
        EXPECT_FALSE(Assets::color(name).has_value()) << name;
        EXPECT_TRUE(Assets::image(name, QSize(16, 16)).isNull()) << name;
        EXPECT_TRUE(Assets::imageUrl(name).isEmpty()) << name;
    }
    EXPECT_TRUE(Assets::image("BrandMark", QSize(0, 10)).isNull());
}

TEST(Localization, MissingEntryGivesTheKeyAndEntriesTranslate)
{
    EXPECT_EQ(localized("Spotify is taking too long to respond."), "Spotify is taking too long to respond.");
    EXPECT_EQ(localized(""), "");

    FakeTable table;
    table.entries = {{"Paused", "In Pause"}, {"Slot %d", "Fach %d"}, {"Play %@", "%@ abspielen"},
        {"%@ of %@", "%2$@ — %1$@"}, {"Broken %@", "%s%s%n %x %@ %@"}};
    QCoreApplication::installTranslator(&table);
    EXPECT_EQ(localized("Paused"), "In Pause");
    EXPECT_EQ(localized("Playing"), "Playing");
    EXPECT_EQ(localized("Slot %d", {3}), "Fach 3");
    EXPECT_EQ(localized("Play %@", {"Ok"}), "Ok abspielen");
    EXPECT_EQ(localized("%@ of %@", {"1:00", "3:00"}), "3:00 — 1:00");
    // A hostile translation is text, not a format: nothing is read beyond the arguments.
    EXPECT_EQ(localized("Broken %@", {"a"}), "%s%s%n %x a %@");
    QCoreApplication::removeTranslator(&table);
    EXPECT_EQ(localized("Paused"), "Paused");
}

TEST(Localization, SubstitutesPlaceholdersSafely)
{
    struct Case {
        QString format;
        QVariantList arguments;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"Skill slot %d", {2}, "Skill slot 2"},
        {"%d:%02d", {1, 5}, "1:%02d"}, // width flags are not ours to honour
        {"%ld items", {7}, "7 items"}, {"100%% %@", {"sure"}, "100% sure"},
        {"%@ and %@", {"one"}, "one and %@"}, {"%@", {}, "%@"}, {"%1$@ %1$@", {"x"}, "x x"},
        {"%9$@", {"x"}, "%9$@"}, {"%0$@", {"x"}, "%0$@"}, {"trailing %", {}, "trailing %"},
        {"%d", {"not a number"}, "0"},
        {"%@", {QStringLiteral("%d %@")}, "%d %@"}, // arguments are never re-read
    };
    for (const auto &c : cases)
        EXPECT_EQ(substitutePlaceholders(c.format, c.arguments), c.expected) << c.format.toStdString();
}
