#include "ArtworkPalette.h"
#include "NowPlayingWidget.h"
#include "QtPrinters.h"
#include "ShortcutsWidget.h"
#include "WidgetFixtures.h"
#include "WidgetRenderer.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QQmlEngine>
#include <gtest/gtest.h>

// Every state of both widgets in every family and mode, drawn through the real
// views. With ORVEL_WIDGET_RENDER_DIR set, the pictures and one sheet per state
// (rows: modes; columns: skins and families) are written there to be looked at.

namespace {
const Date shownAt = fixtures::writtenAt.addingTimeInterval(10);

struct Scenario {
    const char *name;
    std::function<void(const AppGroupFixture &)> write;
};

ArtworkPalette paletteOf(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return ArtworkPalette::extract(data, 64).value_or(ArtworkPalette{});
}

void writeTrack(const AppGroupFixture &group, PlayerAvailability availability, bool playing, bool artwork,
    std::optional<QString> commandError = std::nullopt)
{
    if (artwork)
        group.putArtwork("cover.jpg");
    group.write(fixtures::snapshot(availability, fixtures::track(), playing, 83.9, fixtures::writtenAt,
        artwork ? std::optional<QString>("cover.jpg") : std::nullopt,
        artwork ? std::optional(paletteOf(fixtures::cover(96))) : std::nullopt, commandError));
}

QList<MusicShortcut> mixedShortcuts(int count)
{
    using K = SpotifyLink::Kind;
    const std::pair<K, std::optional<SkillGlyph>> looks[]
        = {{K::playlist, std::nullopt}, {K::album, std::nullopt}, {K::track, SkillGlyph::heart},
            {K::artist, std::nullopt}, {K::playlist, SkillGlyph::flame}, {K::album, SkillGlyph::moon}};
    const QString titles[] = {QStringLiteral("Morning Focus"), QStringLiteral("Blue Hours"),
        QStringLiteral("A title far too long to fit on the two lines a tile has"),
        QStringLiteral("Lumen Drift"), QStringLiteral("Run Club"), QStringLiteral("Late Night Jazz")};
    QList<MusicShortcut> list;
    for (int i = 0; i < count; ++i) {
        const auto &[kind, glyph] = looks[i % 6];
        list.append(
            fixtures::shortcut(i + 1, kind, glyph, i < 6 ? titles[i] : QStringLiteral("Mix %1").arg(i + 1)));
    }
    return list;
}

const std::vector<Scenario> &nowPlayingScenarios()
{
    using A = PlayerAvailability;
    static const std::vector<Scenario> scenarios{
        {"playing", [](const auto &g) { writeTrack(g, A::ready, true, true); }},
        {"paused", [](const auto &g) { writeTrack(g, A::ready, false, true); }},
        {"noArtwork", [](const auto &g) { writeTrack(g, A::ready, true, false); }},
        {"unavailable", [](const auto &g) { writeTrack(g, A::unavailable, false, true); }},
        {"commandError", [](const auto &g) { writeTrack(g, A::ready, false, true, QString("failed")); }},
        {"readyNoTrack",
            [](const auto &g) { g.write(fixtures::snapshot(A::ready, std::nullopt, false, 0)); }},
        {"promptOpen",
            [](const auto &g) { g.write(fixtures::snapshot(A::notRunning, std::nullopt, false)); }},
        {"promptConnect",
            [](const auto &g) { g.write(fixtures::snapshot(A::needsPermission, std::nullopt, false)); }},
    };
    return scenarios;
}

const std::vector<Scenario> &shortcutsScenarios()
{
    static const std::vector<Scenario> scenarios{
        {"empty", [](const auto &) {}},
        {"five", [](const auto &g) { g.write(mixedShortcuts(5)); }},
        {"twelve", [](const auto &g) { g.write(mixedShortcuts(12)); }},
    };
    return scenarios;
}

constexpr WidgetRenderingMode modes[]
    = {WidgetRenderingMode::fullColor, WidgetRenderingMode::accented, WidgetRenderingMode::vibrant};

// Every warning a view logs while it is drawn: the views must draw without any.
QStringList *viewWarnings = nullptr;

void keepViewWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (viewWarnings && type != QtDebugMsg && type != QtInfoMsg && message.contains(QLatin1String("qrc:/")))
        viewWarnings->append(message);
}

class WidgetRenderTest : public ::testing::Test {
protected:
    WidgetRenderTest()
    {
        WidgetRenderer::registerModules(engine);
        viewWarnings = &warnings;
        previousHandler = qInstallMessageHandler(keepViewWarnings);
    }
    ~WidgetRenderTest() override
    {
        qInstallMessageHandler(previousHandler);
        viewWarnings = nullptr;
        EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    }

    QStringList warnings;
    QtMessageHandler previousHandler = nullptr;

    // Draws the state in both skins, the given families and every mode.
    void drawAll(const WidgetConfiguration &configuration, const Scenario &scenario,
        const QList<WidgetFamily> &families)
    {
        const QString out = qEnvironmentVariable("ORVEL_WIDGET_RENDER_DIR");
        QList<QList<QImage>> sheet;
        for (const WidgetRenderingMode mode : modes) {
            QList<QImage> row;
            for (const Skin skin : {Skin::classico, Skin::rivista}) {
                AppGroupFixture group;
                ScopedWallClock clock(shownAt);
                scenario.write(group);
                group.write(skin);
                const WidgetEntry entry = configuration.snapshot();
                for (const WidgetFamily family : families) {
                    const QString name = QStringLiteral("%1.%2.%3.%4.%5")
                                             .arg(configuration.kind, toRawValue(skin), scenario.name,
                                                 toRawValue(family), toRawValue(mode));
                    QString error;
                    const QImage picture
                        = WidgetRenderer::render(engine, configuration, entry, {family, mode, false}, &error);
                    EXPECT_EQ(picture.size(), WidgetMetrics::size(family))
                        << name.toStdString() << error.toStdString();
                    EXPECT_FALSE(isBlank(picture)) << name.toStdString();
                    if (!out.isEmpty())
                        picture.save(out + u'/' + name + QStringLiteral(".png"));
                    row.append(picture);
                }
            }
            sheet.append(row);
        }
        if (!out.isEmpty())
            saveSheet(sheet, out + QStringLiteral("/sheet.%1.%2.png").arg(configuration.kind, scenario.name));
    }

    static bool isBlank(const QImage &image)
    {
        const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < rgb.height(); ++y) {
            for (int x = 0; x < rgb.width(); ++x) {
                if (rgb.pixel(x, y) != rgb.pixel(rgb.width() / 2, rgb.height() / 2))
                    return false;
            }
        }
        return true;
    }

    static void saveSheet(const QList<QList<QImage>> &rows, const QString &path)
    {
        const int gap = 12;
        int width = gap;
        for (const QImage &image : rows.first())
            width += image.width() + gap;
        const auto rowHeight = [](const QList<QImage> &row) {
            int tallest = 0;
            for (const QImage &image : row)
                tallest = std::max(tallest, image.height());
            return tallest;
        };
        int height = gap;
        for (const auto &row : rows)
            height += rowHeight(row) + gap;
        QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
        // A light desktop, so both the widgets' edges and their clear parts show.
        sheet.fill(QColor(150, 160, 170));
        QPainter painter(&sheet);
        int y = gap;
        for (const auto &row : rows) {
            int x = gap;
            for (const QImage &image : row) {
                painter.drawImage(x, y, image);
                x += image.width() + gap;
            }
            y += rowHeight(row) + gap;
        }
        painter.end();
        sheet.save(path);
    }

    QQmlEngine engine;
};
} // namespace

TEST_F(WidgetRenderTest, NowPlayingDrawsEveryState)
{
    const WidgetConfiguration configuration = NowPlayingWidget().body();
    for (const Scenario &scenario : nowPlayingScenarios())
        drawAll(configuration, scenario, {WidgetFamily::systemSmall, WidgetFamily::systemMedium});
}

TEST_F(WidgetRenderTest, YourShortcutsDrawsEveryState)
{
    const WidgetConfiguration configuration = ShortcutsWidget().body();
    for (const Scenario &scenario : shortcutsScenarios())
        drawAll(configuration, scenario, {WidgetFamily::systemMedium, WidgetFamily::systemLarge});
}

TEST_F(WidgetRenderTest, APictureIsCutToTheRoundedOutlineOnce)
{
    struct Row {
        WidgetConfiguration configuration;
        WidgetFamily family;
        WidgetRenderingMode mode;
        // The alpha of what fills the widget in that mode.
        double ground;
    };
    const Row rows[] = {
        {NowPlayingWidget().body(), WidgetFamily::systemSmall, WidgetRenderingMode::fullColor, 1},
        {NowPlayingWidget().body(), WidgetFamily::systemMedium, WidgetRenderingMode::accented, 1},
        {ShortcutsWidget().body(), WidgetFamily::systemLarge, WidgetRenderingMode::fullColor, 1},
        {ShortcutsWidget().body(), WidgetFamily::systemMedium, WidgetRenderingMode::vibrant, 0.45},
    };
    for (const Row &row : rows) {
        const std::string name = (toRawValue(row.family) + u' ' + toRawValue(row.mode)).toStdString();
        const QImage picture = WidgetRenderer::render(
            engine, row.configuration, row.configuration.placeholder(), {row.family, row.mode, false});
        ASSERT_FALSE(picture.isNull()) << name;
        // How much of each pixel the outline covers, drawn with soft edges.
        QImage coverage(picture.size(), QImage::Format_ARGB32_Premultiplied);
        coverage.fill(Qt::transparent);
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(WidgetMetrics::outline(QSizeF(picture.size())), Qt::black);
        painter.end();
        // Every pixel the outline does not wholly cover lies in a corner, away from the content.
        int soft = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const int covered = qAlpha(coverage.pixel(x, y));
                if (covered == 255)
                    continue;
                soft += covered > 0;
                ASSERT_NEAR(qAlpha(picture.pixel(x, y)), row.ground * covered, 4)
                    << name << " " << x << "," << y;
            }
        }
        EXPECT_GT(soft, 4 * 10) << name;
    }
}
