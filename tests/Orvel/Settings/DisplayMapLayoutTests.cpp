#include "DisplayMapLayout.h"

#include <gtest/gtest.h>

TEST(DisplayMapLayout, OneDisplayFillsTheHeightAndIsCentred)
{
    const auto layout = DisplayMapLayout::make({Rect(0, 0, 1512, 982)}, {600, 126});
    ASSERT_EQ(layout.tiles.size(), 1u);
    const auto &tile = layout.tiles[0];
    EXPECT_NEAR(tile.size.width, 1512 * 114.0 / 982 - 6, 1e-9); // ≈169.5
    EXPECT_NEAR(tile.size.width, 169.5, 0.05);
    EXPECT_DOUBLE_EQ(tile.size.height, 108);
    EXPECT_DOUBLE_EQ(tile.center.x, 300);
    EXPECT_DOUBLE_EQ(tile.center.y, 63);
}

TEST(DisplayMapLayout, TheDisplayAboveOnTheDesktopIsDrawnAboveAndNeighboursStandSixApart)
{
    // The primary at the origin, a second display of the same size above it.
    const auto stacked
        = DisplayMapLayout::make({Rect(0, 0, 1920, 1080), Rect(0, 1080, 1920, 1080)}, {600, 126});
    EXPECT_LT(stacked.tiles[1].center.y, stacked.tiles[0].center.y);
    EXPECT_DOUBLE_EQ(stacked.tiles[0].center.x, stacked.tiles[1].center.x);
    EXPECT_NEAR(stacked.tiles[0].y() - (stacked.tiles[1].y() + stacked.tiles[1].size.height), 6, 1e-9);

    const auto sideBySide
        = DisplayMapLayout::make({Rect(0, 0, 1000, 1000), Rect(1000, 0, 1000, 1000)}, {600, 126});
    EXPECT_EQ(sideBySide.tiles[0].size, sideBySide.tiles[1].size);
    EXPECT_NEAR(
        sideBySide.tiles[1].x() - (sideBySide.tiles[0].x() + sideBySide.tiles[0].size.width), 6, 1e-9);
    // The pair is centred in the map.
    EXPECT_NEAR(
        sideBySide.tiles[0].x() + sideBySide.tiles[1].x() + sideBySide.tiles[1].size.width, 600, 1e-9);
}

TEST(DisplayMapLayout, ATinyDisplayGetsTheSmallestTileOnItsScaledCentre)
{
    const auto layout = DisplayMapLayout::make({Rect(0, 0, 5000, 2000), Rect(5000, 0, 100, 100)}, {600, 126});
    const auto &tiny = layout.tiles[1];
    EXPECT_EQ(tiny.size, (Size{22, 22}));
    EXPECT_DOUBLE_EQ(tiny.center.x, layout.offsetX + layout.scale * 5050);
}

TEST(DisplayMapLayout, AMapSmallerThanItsMarginsNeverMirrorsTheTiles)
{
    const auto layout = DisplayMapLayout::make({Rect(0, 0, 1000, 800), Rect(1000, 0, 1000, 800)}, {0, 0});
    EXPECT_EQ(layout.scale, 0);
    EXPECT_LE(layout.tiles[0].center.x, layout.tiles[1].center.x);
    EXPECT_EQ(layout.tiles[0].size, (Size{22, 22}));
}

TEST(DisplayMapLayout, NoDisplayGivesNoTile)
{
    const auto layout = DisplayMapLayout::make({}, {600, 126});
    EXPECT_TRUE(layout.tiles.empty());
    EXPECT_EQ(layout.bounds.width(), 0);
}
