#include "ScopedEnvironment.h"
#include "StatusNotifierRelay.h"

#include <gtest/gtest.h>

// Where a host's click landed, from the X screen's pixels into Qt's
// coordinates, and whether the host rather opens the menu itself.
TEST(StatusNotifierRelay, AHostsPointLandsOnTheDisplayItsPixelsCover)
{
    using Display = StatusNotifierRelay::Display;
    const QList<Display> one{{QRect(0, 0, 1280, 800), 1}};
    // A display of two pixels a point right of a plain one: Qt keeps its
    // corner where the pixels put it and halves what lies within.
    const QList<Display> mixed{{QRect(0, 0, 1920, 1080), 1}, {QRect(1920, 0, 1280, 720), 2}};
    const QList<Display> leftOfPrimary{{QRect(-1280, 100, 1280, 1024), 1}, {QRect(0, 0, 1920, 1200), 1.5}};
    struct Row {
        QList<Display> displays;
        QPoint pixels;
        std::optional<QPoint> point;
    };
    for (const Row &row : {
             Row{one, {100, 200}, QPoint(100, 200)},
             Row{one, {0, 0}, QPoint(0, 0)},
             Row{one, {1279, 799}, QPoint(1279, 799)},
             Row{one, {1280, 10}, std::nullopt},
             Row{one, {10, -1}, std::nullopt},
             Row{mixed, {1919, 1079}, QPoint(1919, 1079)},
             Row{mixed, {1920 + 201, 101}, QPoint(1920 + 100, 50)},
             Row{mixed, {1920 + 2559, 1439}, QPoint(1920 + 1279, 719)},
             Row{mixed, {1920 + 2560, 0}, std::nullopt},
             Row{mixed, {100, 1100}, std::nullopt},
             Row{leftOfPrimary, {-1, 1123}, QPoint(-1, 1123)},
             Row{leftOfPrimary, {-1, 99}, std::nullopt},
             Row{leftOfPrimary, {2879, 1799}, QPoint(1919, 1199)},
             Row{{}, {0, 0}, std::nullopt},
         }) {
        SCOPED_TRACE(testing::Message() << row.pixels.x() << "," << row.pixels.y());
        EXPECT_EQ(StatusNotifierRelay::fromPixels(row.pixels, row.displays), row.point);
    }
}

TEST(StatusNotifierRelay, UnderAWaylandCompositorTheHostOpensTheMenu)
{
    struct Row {
        const char *waylandDisplay;
        const char *sessionType;
        bool hostShowsMenu;
    };
    for (const Row &row : {
             Row{"", "", false},
             Row{"", "x11", false},
             Row{"", "tty", false},
             Row{"wayland-0", "", true},
             Row{"wayland-1", "x11", true},
             Row{"", "wayland", true},
         }) {
        SCOPED_TRACE(testing::Message() << row.waylandDisplay << " " << row.sessionType);
        ScopedEnvironment environment;
        environment.set("WAYLAND_DISPLAY", row.waylandDisplay);
        environment.set("XDG_SESSION_TYPE", row.sessionType);
        EXPECT_EQ(StatusNotifierRelay::hostShowsMenu(), row.hostShowsMenu);
    }
}

TEST(StatusNotifierRelay, WithoutQtsItemOnTheBusThereIsNothingToTakeOver)
{
    EXPECT_EQ(StatusNotifierRelay::takeOver(false), nullptr);
}
