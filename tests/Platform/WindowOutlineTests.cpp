#include "WindowOutline.h"

#include <gtest/gtest.h>

#include <cmath>

// The pixels a window keeps where nothing composites: its drawn rounded shapes.
namespace {
// A pixel belongs when its centre is inside the circle of the corner it lies in.
bool centreInside(QPoint pixel, QPointF corner, double radius)
{
    return std::hypot(pixel.x() + 0.5 - corner.x(), pixel.y() + 0.5 - corner.y()) <= radius;
}
} // namespace

TEST(WindowOutline, ARoundedRectangleKeepsItsInsideAndDropsItsCorners)
{
    const QRegion sidebar = WindowOutline::rounded(QRectF(0, 0, 344, 728), 24).region(1);
    EXPECT_EQ(sidebar.boundingRect(), QRect(0, 0, 344, 728));
    for (const QPoint corner : {QPoint(0, 0), QPoint(343, 0), QPoint(0, 727), QPoint(343, 727), QPoint(5, 5)})
        EXPECT_FALSE(sidebar.contains(corner)) << corner.x() << "," << corner.y();
    for (const QPoint inside :
        {QPoint(172, 364), QPoint(24, 0), QPoint(0, 24), QPoint(343, 400), QPoint(10, 10)})
        EXPECT_TRUE(sidebar.contains(inside)) << inside.x() << "," << inside.y();
    // Each corner pixel as the circle says, in all four corners.
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const bool wanted = centreInside({x, y}, {24, 24}, 24);
            EXPECT_EQ(sidebar.contains(QPoint(x, y)), wanted) << x << "," << y;
            EXPECT_EQ(sidebar.contains(QPoint(343 - x, 727 - y)), wanted) << x << "," << y;
            EXPECT_EQ(sidebar.contains(QPoint(343 - x, y)), wanted) << x << "," << y;
        }
    }
    // Rows of one width are one rectangle: the straight middle is one.
    EXPECT_LE(sidebar.rectCount(), 2 * 24 + 1);
}

TEST(WindowOutline, APillRoundsItsTopAndBottomApartAndNeverBeyondHalfItsHeight)
{
    const WindowOutline pill{{{QRectF(0, 0, 284, 38), 12, 13}}};
    const QRegion region = pill.region(1);
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(1, 37)));
    EXPECT_TRUE(region.contains(QPoint(0, 13)));
    EXPECT_TRUE(region.contains(QPoint(0, 24)));
    EXPECT_TRUE(region.contains(QPoint(6, 1)));
    EXPECT_FALSE(region.contains(QPoint(6, 36))) << "the bottom corner is the larger";

    // A capsule: radii beyond half the height round the ends fully, as drawn.
    const QRegion capsule = WindowOutline::rounded(QRectF(0, 0, 284, 38), 100).region(1);
    EXPECT_EQ(capsule, WindowOutline::rounded(QRectF(0, 0, 284, 38), 19).region(1));
    EXPECT_TRUE(capsule.contains(QPoint(0, 18)));
    EXPECT_FALSE(capsule.contains(QPoint(0, 10)));
    EXPECT_FALSE(capsule.contains(QPoint(14, 0)));
    EXPECT_TRUE(capsule.contains(QPoint(19, 0)));

    // No corners: the rectangle itself; nothing left: nothing.
    EXPECT_EQ(WindowOutline::rounded(QRectF(0, 0, 20, 10), 0).region(1), QRegion(0, 0, 20, 10));
    EXPECT_TRUE(WindowOutline::rounded(QRectF(5, 5, 0, 10), 4).region(1).isEmpty());
}

TEST(WindowOutline, TheRegionIsInDevicePixelsAtTheWindowsRatio)
{
    const WindowOutline tab = WindowOutline::rounded(QRectF(0, 0, 20, 92), 10);
    const QRegion twice = tab.region(2);
    EXPECT_EQ(twice.boundingRect(), QRect(0, 0, 40, 184));
    // The corner is cut at the finer pixels: a circle of 20 device pixels.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(twice.contains(QPoint(x, y)), centreInside({x, y}, {20, 20}, 20)) << x << "," << y;
    EXPECT_GT(twice.rectCount(), tab.region(1).rectCount());

    // A piece placed or scaled between pixels lands on the nearest ones.
    const QRegion scaled = WindowOutline::rounded(QRectF(9.3, 0.2, 601.4, 99.6), 0).region(1.5);
    EXPECT_EQ(scaled.boundingRect(), QRect(QPoint(14, 0), QPoint(915, 149)));
}

TEST(WindowOutline, PiecesJoinAndTheGapsBetweenThemStayClear)
{
    // The open top player: a header tab centred on the wider body under it.
    const WindowOutline player{{{QRectF(168, 0, 284, 38), 12, 0}, {QRectF(0, 38, 620, 184), 18, 28}}};
    const QRegion region = player.region(1);
    EXPECT_FALSE(region.contains(QPoint(100, 20))) << "beside the header";
    EXPECT_FALSE(region.contains(QPoint(168, 0))) << "the header's rounded corner";
    EXPECT_TRUE(region.contains(QPoint(168, 37))) << "the header's square foot";
    EXPECT_TRUE(region.contains(QPoint(310, 120)));
    EXPECT_FALSE(region.contains(QPoint(0, 38))) << "the body's own corner";
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 620, 222));
}
