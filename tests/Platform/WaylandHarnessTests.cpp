// What the suites on a real Wayland compositor stand on: run-with-wayland
// gives them the compositor and its XWayland, and the plain Wayland client
// shows windows and moves the pointer over the X windows the app makes.

#include "X11Server.h"
#include "fixtures/WaylandTestClient.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <memory>

namespace {

constexpr int BoundMs = 5000; // the compositor relays in milliseconds; CI may be slow

// Counts the crossings Qt reports for an X window.
class CrossingWindow : public QWindow {
public:
    int enters = 0;
    int leaves = 0;

protected:
    bool event(QEvent *event) override
    {
        enters += event->type() == QEvent::Enter;
        leaves += event->type() == QEvent::Leave;
        return QWindow::event(event);
    }
};

// Where the X server has the window, in root coordinates: the compositor
// places and decorates it as it likes.
QRect rootGeometry(const QWindow &window)
{
    xcb_connection_t *c = X11Server::connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> at(
        xcb_translate_coordinates_reply(
            c, xcb_translate_coordinates(c, xcb_window_t(window.winId()), root, 0, 0), nullptr),
        &std::free);
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> size(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, xcb_window_t(window.winId())), nullptr), &std::free);
    return at && size ? QRect(at->dst_x, at->dst_y, size->width, size->height) : QRect();
}

TEST(WaylandHarnessOnWayland, TheCompositorAndItsXDisplayAnswer)
{
    const QString compositor = WaylandTestClient::compositor();
    EXPECT_TRUE(compositor == QLatin1String("sway") || compositor == QLatin1String("kwin"))
        << compositor.toStdString();
    ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("xcb"));
    ASSERT_NE(X11Server::connection(), nullptr);
    EXPECT_EQ(xcb_connection_has_error(X11Server::connection()), 0);
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    EXPECT_TRUE(QFileInfo(wayland).isAbsolute()) << wayland.toStdString();
    if (compositor == QLatin1String("sway"))
        EXPECT_FALSE(qEnvironmentVariableIsEmpty("SWAYSOCK"));
}

TEST(WaylandHarnessOnWayland, AWaylandWindowGoesFullScreenAndBackOnRequest)
{
    WaylandTestClient client;
    ASSERT_TRUE(client.showWindow({QStringLiteral("--fullscreen")}));
    EXPECT_TRUE(client.command("unfullscreen"));
    EXPECT_TRUE(client.command("fullscreen"));
    EXPECT_TRUE(client.command("minimize"));
    EXPECT_TRUE(client.command("quit"));
    EXPECT_TRUE(client.endedCleanly());
}

// XWayland learns of the pointer only over its own surfaces: moved onto a
// Wayland window, the X window gets a Leave and the X pointer stays where it
// was last seen over an X window.
TEST(WaylandHarnessOnWayland, AnXWindowSeesThePointerLeaveOntoWaylandAndComeBack)
{
    WaylandTestClient wayland;
    ASSERT_TRUE(wayland.showWindow());
    CrossingWindow window;
    window.resize(300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, BoundMs));
    ASSERT_TRUE(X11Server::settled());
    const QRect area = rootGeometry(window);
    ASSERT_FALSE(area.isEmpty());
    const QRect screen = window.screen()->geometry();
    // On sway the two windows tile the output side by side, so a point beside
    // the X window lies on the Wayland one.
    const QPoint beside(area.left() > 20 ? 10 : screen.right() - 10, area.center().y());
    ASSERT_FALSE(area.contains(beside));

    // The pointer may start over the X window: out first. Crossings
    // alternate, so the pointer is out once there were as many of each.
    ASSERT_TRUE(WaylandTestClient::movePointer(beside));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.enters == window.leaves; }, BoundMs));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const QPoint over = area.center() + QPoint(round * 3, 0);
        const int crossings = window.enters;
        ASSERT_TRUE(WaylandTestClient::movePointer(over));
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.enters == crossings + 1; }, BoundMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QCursor::pos() == over; }, BoundMs));
        EXPECT_EQ(window.leaves, crossings);

        ASSERT_TRUE(WaylandTestClient::movePointer(beside));
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.leaves == crossings + 1; }, BoundMs));
        ASSERT_TRUE(X11Server::settled());
        EXPECT_EQ(QCursor::pos(), over) << "the X pointer stays where the X window last saw it";
    }
}

} // namespace
