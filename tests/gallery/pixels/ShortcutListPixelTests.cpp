#include "Pixels.h"

// The sidebar's shortcut rows: a shortcut without a glyph of its own shows its
// kind's, so rows of different kinds draw different tiles.
namespace {
// Through the item tree: a Repeater's rows are nobody's QObject children.
void collect(QQuickItem *item, const QString &name, QList<QRect> &found)
{
    for (QQuickItem *child : item->childItems()) {
        if (child->objectName() == name && child->isVisible())
            found << Pixels::rectOf(child);
        collect(child, name, found);
    }
}
} // namespace

TEST(ShortcutListPixels, RowsOfDifferentKindsShowDifferentGlyphs)
{
    // A playlist, an album, a track and an artist, none with a glyph of its own.
    QList<QRect> tiles;
    const RenderedScene picture = Pixels::render(QStringLiteral("ShortcutListView.classico.kinds"),
        [&](ScriptedState &, QQuickItem *root) { collect(root, QStringLiteral("glyphTile"), tiles); });
    ASSERT_FALSE(picture.image.isNull());
    ASSERT_EQ(tiles.size(), 4);
    for (int i = 0; i < tiles.size(); ++i) {
        // A glyph is drawn on the tile's tint.
        EXPECT_GT(Pixels::colours(picture.image, tiles.at(i)).size(), 4) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(picture.image.copy(tiles.at(i)), picture.image.copy(tiles.at(j))) << i << " " << j;
    }
}
