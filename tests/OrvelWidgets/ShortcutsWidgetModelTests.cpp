#include "QtPrinters.h"
#include "ShortcutsWidgetModel.h"
#include "WidgetHost/WidgetFixtures.h"

#include <gtest/gtest.h>

namespace {
using Model = ShortcutsWidgetModel;

QStringList titles(const QVariantList &tiles)
{
    QStringList result;
    for (const QVariant &tile : tiles)
        result.append(tile.toMap().value("title").toString());
    return result;
}

MusicEntry entryWith(const QList<MusicShortcut> &shortcuts, Skin skin = Skin::classico)
{
    MusicEntry entry;
    entry.shortcuts = shortcuts;
    entry.skin = skin;
    return entry;
}
} // namespace

TEST(ShortcutsWidgetModelTest, TheFirstShortcutsInStoredOrderFillTheFamilysTiles)
{
    Model model;
    model.setEntry(entryWith(fixtures::shortcuts(5)));
    model.setFamilyName("systemMedium");
    EXPECT_EQ(titles(model.tiles()), (QStringList{"Shortcut 1", "Shortcut 2", "Shortcut 3", "Shortcut 4"}));
    EXPECT_EQ(model.rowSpacingValue(), 10);
    model.setFamilyName("systemLarge");
    EXPECT_EQ(titles(model.tiles()).size(), 5);
    EXPECT_EQ(model.rowSpacingValue(), 20);

    model.setEntry(entryWith(fixtures::shortcuts(12)));
    EXPECT_EQ(titles(model.tiles()),
        (QStringList{"Shortcut 1", "Shortcut 2", "Shortcut 3", "Shortcut 4", "Shortcut 5", "Shortcut 6",
            "Shortcut 7", "Shortcut 8"}));
}

TEST(ShortcutsWidgetModelTest, ATileOpensItsSpotifyReference)
{
    Model model;
    model.setEntry(entryWith({fixtures::shortcut(7, SpotifyLink::Kind::album)}));
    const QVariantMap tile = model.tiles().first().toMap();
    EXPECT_EQ(tile.value("link").toUrl(), QUrl("spotify:album:" + fixtures::spotifyId(7)));
}

TEST(ShortcutsWidgetModelTest, AStoredGlyphWinsOverTheKindsStandardOne)
{
    EXPECT_EQ(Model::tileGlyph(fixtures::shortcut(1, SpotifyLink::Kind::album)), SkillGlyph::disc);
    EXPECT_EQ(Model::tileGlyph(fixtures::shortcut(2, SpotifyLink::Kind::track)), SkillGlyph::note);
    EXPECT_EQ(Model::tileGlyph(fixtures::shortcut(3, SpotifyLink::Kind::album, SkillGlyph::heart)),
        SkillGlyph::heart);

    Model model;
    model.setEntry(entryWith({fixtures::shortcut(3, SpotifyLink::Kind::artist, SkillGlyph::heart),
        fixtures::shortcut(4, SpotifyLink::Kind::artist)}));
    EXPECT_EQ(model.tiles()[0].toMap().value("glyph"), "heart");
    EXPECT_EQ(model.tiles()[1].toMap().value("glyph"), "mic");
}

TEST(ShortcutsWidgetModelTest, OnlyFullColourShowsTheEmptyPictureAndColoursTheGlyphs)
{
    Model model;
    model.setEntry(entryWith({}, Skin::rivista));
    EXPECT_TRUE(model.empty());
    EXPECT_TRUE(model.showsEmptyImage());
    EXPECT_EQ(model.glyphColor(), SkinPalette(Skin::rivista, Aura::brand()).accentColor());
    for (const char *mode : {"accented", "vibrant"}) {
        model.setRenderingModeName(mode);
        EXPECT_FALSE(model.showsEmptyImage()) << mode;
        EXPECT_EQ(model.glyphColor(), WidgetMetrics::secondary()) << mode;
    }
}

TEST(ShortcutsWidgetModelTest, TilesTakeTheSkinOverTheBrandAuraWhateverTheArtwork)
{
    MusicEntry entry = entryWith(fixtures::shortcuts(1), Skin::rivista);
    entry.snapshot.artworkPalette = ArtworkPalette{{0.8, 0.2, 0.1}, {0.1, 0.3, 0.9}, {0.2, 0.05, 0.05}};
    Model model;
    model.setEntry(entry);
    EXPECT_EQ(model.tileFill(), SkinPalette(Skin::rivista, Aura::brand()).fillStrongColor());
    EXPECT_EQ(model.titleFontValue(), Font::display(14).toQFont());
    model.setEntry(entryWith({}, Skin::classico));
    EXPECT_EQ(model.titleFontValue(), (FontDescription{13, FontWeight::semibold}.toQFont()));
}
