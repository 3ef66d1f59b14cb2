#include "MusicShortcut.h"
#include "QtPrinters.h"
#include "Uuid.h"

#include <gtest/gtest.h>

namespace {
const QString ID = QStringLiteral("4uLU6hMCjMI75M1A2tKUQC");
const QString CANONICAL = QStringLiteral("6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E");

QByteArray element(const QString &title, const QString &kind = "track", const QString &extra = {})
{
    return QStringLiteral(R"({"id":"%1","title":"%2","link":{"kind":"%3","id":"%4"}%5})")
        .arg(uuidString(QUuid::createUuid()), title, kind, ID, extra)
        .toUtf8();
}

QStringList titles(const QList<MusicShortcut> &list)
{
    QStringList result;
    for (const auto &s : list)
        result << s.title;
    return result;
}
} // namespace

TEST(ShortcutList, DecodesLenientlyKeepingGoodElementsInOrder)
{
    const std::pair<QByteArray, QStringList> cases[] = {
        {"[" + element("a") + "," + element("b", "episode") + "," + element("c") + "]", {"a", "c"}},
        {"[1,\"x\",null,{}," + element(" spaced ") + "]", {" spaced "}},
        {"[" + element("a").replace("\"title\":\"a\",", "") + "," + element("b") + "]", {"b"}},
        {"null", {}},
        {"{}", {}},
        {"", {}},
        {"[" + element("a"), {}},
    };
    for (const auto &[data, expected] : cases)
        EXPECT_EQ(titles(ShortcutList::decode(data)), expected) << data.toStdString();
}

TEST(MusicShortcut, UnknownGlyphsAreDroppedNotTheShortcut)
{
    for (const QString glyph : {"\"bogus\"", "null", "3"}) {
        const auto list = ShortcutList::decode("[" + element("a", "playlist", ",\"glyph\":" + glyph) + "]");
        ASSERT_EQ(list.size(), 1) << glyph.toStdString();
        EXPECT_EQ(list[0].glyph, std::nullopt);
        EXPECT_EQ(list[0].resolvedGlyph(), SkillGlyph::list);
    }
}

TEST(MusicShortcut, EncodesCanonicallyAndRoundTrips)
{
    const MusicShortcut plain(
        QUuid::fromString(CANONICAL), " \u2003Night drive\n", *SpotifyLink::parse("spotify:track:" + ID));
    EXPECT_EQ(plain.title, "Night drive");
    const QJsonObject o = plain.toJson().toObject();
    EXPECT_EQ(o.value("id").toString(), CANONICAL);
    EXPECT_FALSE(o.contains("glyph"));

    MusicShortcut withGlyph = plain;
    withGlyph.glyph = SkillGlyph::star;
    EXPECT_NE(plain, withGlyph);
    EXPECT_EQ(ShortcutList::decode(ShortcutList::encode({withGlyph, plain})), (QList{withGlyph, plain}));
}

TEST(MusicShortcut, ReadsOnlyCanonicalUuidTextInEitherCase)
{
    const std::pair<QString, bool> cases[] = {
        {CANONICAL, true},
        {CANONICAL.toLower(), true},
        {"{" + CANONICAL + "}", false},
        {QString(CANONICAL).remove(u'-'), false},
        {CANONICAL.chopped(1), false},
        {CANONICAL.chopped(1) + "G", false},
        {QString(CANONICAL).replace(8, 1, u' '), false},
    };
    for (const auto &[text, accepted] : cases)
        EXPECT_EQ(uuidFromString(text), accepted ? std::optional(QUuid::fromString(CANONICAL)) : std::nullopt)
            << text.toStdString();
}

TEST(ShortcutList, MovesWithinBoundsOnly)
{
    const auto link = *SpotifyLink::parse("spotify:album:" + ID);
    QList<MusicShortcut> list;
    for (const QString title : {"a", "b", "c"})
        list << MusicShortcut(QUuid::createUuid(), title, link);
    const std::tuple<int, qsizetype, QStringList> cases[] = {
        {0, 1, {"b", "a", "c"}},
        {0, 2, {"b", "c", "a"}},
        {0, -1, {"a", "b", "c"}},
        {2, 1, {"a", "b", "c"}},
        {1, std::numeric_limits<qsizetype>::min(), {"a", "b", "c"}},
    };
    for (const auto &[index, offset, expected] : cases)
        EXPECT_EQ(titles(ShortcutList::moving(list, list[index].id, offset)), expected) << offset;
    EXPECT_EQ(ShortcutList::moving(list, QUuid::createUuid(), 1), list);
}
