#include "GeometryTesting.h"

TEST(Rect, NegativeSizesAnswerForTheStandardizedArea)
{
    const Rect r(100, 100, -40, -20);
    EXPECT_EQ(r.minX(), 60);
    EXPECT_EQ(r.midX(), 80);
    EXPECT_EQ(r.maxX(), 100);
    EXPECT_EQ(r.minY(), 80);
    EXPECT_EQ(r.midY(), 90);
    EXPECT_EQ(r.maxY(), 100);
    EXPECT_EQ(r.width(), 40);
    EXPECT_EQ(r.height(), 20);
    EXPECT_TRUE(rectNear(r.standardized(), Rect(60, 80, 40, 20)));
}

TEST(Rect, InsetShrinksGrowsAndCollapsesToTheMiddle)
{
    const std::vector<std::pair<Rect, Rect>> cases = {
        {Rect(0, 0, 1440, 875).insetBy(12, 6), Rect(12, 6, 1416, 863)},
        {Rect(0, 0, 10, 10).insetBy(-5, -5), Rect(-5, -5, 20, 20)},
        {Rect(20, 10, -20, -10).insetBy(2, 1), Rect(2, 1, 16, 8)},
        // Too small for the inset: each axis shrinks to nothing at its middle.
        {Rect(0, 0, 20, 10).insetBy(12, 6), Rect(10, 5, 0, 0)},
        {Rect(0, 0, 24, 10).insetBy(12, 2), Rect(12, 2, 0, 6)},
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_TRUE(rectNear(cases[i].first, cases[i].second)) << "case " << i;
}

TEST(Rect, ContainmentIsHalfOpenAndTouchingEdgesDoNotIntersect)
{
    const Rect r(0, 0, 10, 10);
    const std::vector<std::pair<Point, bool>> points
        = {{{0, 0}, true}, {{9.99, 9.99}, true}, {{10, 5}, false}, {{5, 10}, false}, {{-0.01, 5}, false}};
    for (const auto &[point, inside] : points)
        EXPECT_EQ(r.contains(point), inside) << point.x << ", " << point.y;
    EXPECT_TRUE(r.contains(r));
    EXPECT_FALSE(r.contains(Rect(5, 5, 6, 5)));
    EXPECT_TRUE(r.intersects(Rect(9, 9, 10, 10)));
    EXPECT_FALSE(r.intersects(Rect(10, 0, 10, 10)));
    EXPECT_FALSE(r.intersects(Rect(0, 10, 10, 10)));
}
