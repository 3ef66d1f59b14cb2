#include "MusicShortcut.h"
#include "QtPrinters.h"
#include "Uuid.h"

#include <gtest/gtest.h>

namespace {
const QString ID = QStringLiteral("4uLU6hMCjMI75M1A2tKUQC");
const QUuid A = QUuid::fromString(QStringLiteral("6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E"));

SpotifyLink link(const QString &kind)
{
    return *SpotifyLink::parse("spotify:" + kind + ":" + ID);
}

MusicShortcut shortcut(const QString &title, std::optional<SkillGlyph> glyph = std::nullopt)
{
    return MusicShortcut(QUuid::createUuid(), title, link("album"), glyph);
}

QByteArray element(const QString &title, const QString &kind = "track", const QString &id = ID)
{
    return QStringLiteral(R"({"id":"%1","title":"%2","link":{"kind":"%3","id":"%4"}})")
        .arg(uuidString(QUuid::createUuid()), title, kind, id)
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
    const struct {
        QByteArray data;
        QStringList expected;
    } cases[] = {
        {"[" + element("a") + "," + element("b", "episode") + "," + element("c") + "]", {"a", "c"}},
        {"[" + element("a") + "," + element("b", "track", ID.left(21)) + "," + element("c") + "]",
            {"a", "c"}},
        {"[1,\"x\",null,{}," + element("a") + "]", {"a"}},
        {"[" + QByteArray(element("a")).replace("\"title\":\"a\",", "") + "," + element("b") + "]", {"b"}},
        {"[" + QByteArray(element("a")).replace("\"title\":\"a\"", "\"title\":7") + "]", {}},
        {"[" + element("  spaced \n") + "]", {"  spaced \n"}},
        {"[]", {}},
        {"null", {}},
        {"{}", {}},
        {"", {}},
        {"not json", {}},
        {"[" + element("a"), {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(titles(ShortcutList::decode(c.data)), c.expected) << c.data.toStdString();
}

TEST(MusicShortcut, GlyphIsOptionalAndUnknownGlyphsAreDropped)
{
    for (const QByteArray glyph : {"\"bogus\"", "null", "3", "\"Heart\""}) {
        const QByteArray data
            = QByteArray(element("a", "playlist")).replace("}}", "},\"glyph\":" + glyph + "}");
        const auto list = ShortcutList::decode("[" + data + "]");
        ASSERT_EQ(list.size(), 1) << data.toStdString();
        EXPECT_EQ(list[0].glyph, std::nullopt);
        EXPECT_EQ(list[0].resolvedGlyph(), SkillGlyph::list);
    }
    EXPECT_EQ(shortcut("x", SkillGlyph::moon).resolvedGlyph(), SkillGlyph::moon);
    EXPECT_EQ(standardSkillGlyph(SpotifyLink::Kind::track), SkillGlyph::note);
    EXPECT_EQ(standardSkillGlyph(SpotifyLink::Kind::artist), SkillGlyph::mic);
}

TEST(MusicShortcut, EncodesCanonicallyAndRoundTrips)
{
    const MusicShortcut plain(A, QStringLiteral(" \u2003Night drive\n"), link("track"));
    EXPECT_EQ(plain.title, "Night drive");
    const QJsonObject o = plain.toJson().toObject();
    EXPECT_EQ(o.value("id").toString(), "6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E");
    EXPECT_FALSE(o.contains("glyph"));
    EXPECT_EQ(ShortcutList::decode(ShortcutList::encode({plain})), QList<MusicShortcut>{plain});

    MusicShortcut withGlyph = plain;
    withGlyph.glyph = SkillGlyph::star;
    EXPECT_NE(plain, withGlyph);
    EXPECT_EQ(withGlyph.toJson().toObject().value("glyph"), "star");
    EXPECT_EQ(ShortcutList::decode(ShortcutList::encode({withGlyph, plain})), (QList{withGlyph, plain}));
}

TEST(MusicShortcut, ReadsOnlyCanonicalUuidText)
{
    const struct {
        QString text;
        bool accepted;
    } cases[] = {
        {"6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E", true},
        {"6f1d2c3b-0a9e-4b8c-9d7e-1f2a3b4c5d6e", true},
        {"6f1D2c3B-0a9E-4b8C-9d7E-1f2A3b4C5d6E", true},
        {"{6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6E}", false},
        {"6F1D2C3B0A9E4B8C9D7E1F2A3B4C5D6E", false},
        {"6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6", false},
        {"6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6EF", false},
        {"6F1D2C3B-0A9E-4B8C-9D7E 1F2A3B4C5D6E", false},
        {"6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6G", false},
        {" 6F1D2C3B-0A9E-4B8C-9D7E-1F2A3B4C5D6", false},
    };
    for (const auto &c : cases) {
        const auto id = uuidFromString(c.text);
        EXPECT_EQ(id.has_value(), c.accepted) << c.text.toStdString();
        if (id) {
            EXPECT_EQ(*id, A);
        }
    }
}

TEST(ShortcutList, MovesWithinBoundsOnly)
{
    const QList<MusicShortcut> list{shortcut("a"), shortcut("b"), shortcut("c")};
    const struct {
        qsizetype index;
        qsizetype offset;
        QStringList expected;
    } cases[] = {
        {0, 1, {"b", "a", "c"}},
        {2, -1, {"a", "c", "b"}},
        {0, 2, {"b", "c", "a"}},
        {0, -1, {"a", "b", "c"}},
        {2, 1, {"a", "b", "c"}},
        {1, 0, {"a", "b", "c"}},
        {1, std::numeric_limits<qsizetype>::max(), {"a", "b", "c"}},
        {1, std::numeric_limits<qsizetype>::min(), {"a", "b", "c"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(titles(ShortcutList::moving(list, list[c.index].id, c.offset)), c.expected) << c.offset;
    EXPECT_EQ(ShortcutList::moving(list, QUuid::createUuid(), 1), list);
}
