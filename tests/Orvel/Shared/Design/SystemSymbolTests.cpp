#include "SystemSymbol.h"

#include <gtest/gtest.h>

TEST(SystemSymbol, CircleIsARingFillingItsSquare)
{
    const QImage ring = SymbolView::render("circle", 48, Qt::white);
    EXPECT_EQ(ring.pixelColor(24, 24).alpha(), 0);
    EXPECT_EQ(ring.pixelColor(1, 24).alpha(), 255);
    EXPECT_EQ(ring.pixelColor(46, 24).alpha(), 255);
    EXPECT_EQ(ring.pixelColor(24, 1).alpha(), 255);
    EXPECT_EQ(ring.pixelColor(6, 24).alpha(), 0);
}

TEST(SystemSymbol, CheckmarkCircleFillIsADiscWithTheCheckCutOut)
{
    const QImage check = SymbolView::render("checkmark.circle.fill", 48, Qt::white);
    EXPECT_EQ(check.pixelColor(8, 24).alpha(), 255);
    EXPECT_EQ(check.pixelColor(24, 40).alpha(), 255);
    EXPECT_EQ(check.pixelColor(21, 31).alpha(), 0); // the check's corner
    EXPECT_EQ(check.pixelColor(1, 1).alpha(), 0);
}

TEST(SystemSymbol, UnknownNamesDrawNothing)
{
    EXPECT_FALSE(SystemSymbol::exists("star.fill"));
    const QImage none = SymbolView::render("star.fill", 16, Qt::white);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(none.pixelColor(x, y).alpha(), 0);
}

TEST(SystemSymbol, TheShortcutRowsChevronsPointTheirWayAndPencilAndTrashDraw)
{
    // The chevron's tip and the empty space beyond its arms.
    const QImage up = SymbolView::render("chevron.up", 48, Qt::white);
    const QImage down = SymbolView::render("chevron.down", 48, Qt::white);
    EXPECT_EQ(up.pixelColor(24, 16).alpha(), 255);
    EXPECT_EQ(up.pixelColor(24, 32).alpha(), 0);
    EXPECT_EQ(down.pixelColor(24, 32).alpha(), 255);
    EXPECT_EQ(down.pixelColor(24, 16).alpha(), 0);
    for (const char *name : {"pencil", "trash"}) {
        const QImage image = SymbolView::render(name, 48, Qt::white);
        int inked = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                inked += image.pixelColor(x, y).alpha() > 128;
        EXPECT_GT(inked, 150) << name;
        EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0) << name;
    }
}

TEST(SystemSymbol, TheOutlinedCirclesHaveARingAndTheirMarkInside)
{
    for (const char *name : {"checkmark.circle", "arrow.down.circle"}) {
        const QImage symbol = SymbolView::render(name, 48, Qt::white);
        EXPECT_GT(symbol.pixelColor(3, 24).alpha(), 128) << name; // the ring
        EXPECT_EQ(symbol.pixelColor(14, 14).alpha(), 0) << name; // between ring and mark
        EXPECT_EQ(symbol.pixelColor(1, 1).alpha(), 0) << name;
    }
    // The check's corner, the arrow's shaft.
    EXPECT_GT(SymbolView::render("checkmark.circle", 48, Qt::white).pixelColor(21, 30).alpha(), 128);
    EXPECT_GT(SymbolView::render("arrow.down.circle", 48, Qt::white).pixelColor(24, 24).alpha(), 128);
}

TEST(SystemSymbol, ChevronsPointTheirWay)
{
    const QImage left = SymbolView::render("chevron.left", 48, Qt::white);
    const QImage right = SymbolView::render("chevron.right", 48, Qt::white);
    EXPECT_EQ(left.pixelColor(16, 24).alpha(), 255);
    EXPECT_EQ(left.pixelColor(32, 24).alpha(), 0);
    EXPECT_EQ(right.pixelColor(32, 24).alpha(), 255);
    EXPECT_EQ(right.pixelColor(16, 24).alpha(), 0);
}
