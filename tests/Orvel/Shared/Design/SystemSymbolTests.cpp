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

TEST(SystemSymbol, ChevronsPointTheirWay)
{
    const QImage left = SymbolView::render("chevron.left", 48, Qt::white);
    const QImage right = SymbolView::render("chevron.right", 48, Qt::white);
    EXPECT_EQ(left.pixelColor(16, 24).alpha(), 255);
    EXPECT_EQ(left.pixelColor(32, 24).alpha(), 0);
    EXPECT_EQ(right.pixelColor(32, 24).alpha(), 255);
    EXPECT_EQ(right.pixelColor(16, 24).alpha(), 0);
}
