#include "FloatingPanel.h"
#include "ManualScheduler.h"
#include "QmlModules.h"
#include "Screens.h"
#include "SurfaceWindow.h"
#include "X11Desktop.h"
#include "X11Server.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// A real X server places the panel: run under Xvfb with QT_QPA_PLATFORM=xcb
// (the ctest "Panels.PlacedOnX11" does, with openbox); elsewhere these skip.
namespace {
class FloatingPanelOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb)";
        registerOrvelModules(engine);
    }

    ManualScheduler clock;
    SystemScreens screens;
    QQmlEngine engine;
};
} // namespace

TEST_F(FloatingPanelOnX11, APanelPlacedAtAnUpwardFrameGetsTheMatchingQtGeometryAndNoFocus)
{
    const int height = QGuiApplication::primaryScreen()->geometry().height();
    FloatingPanel panel(
        screens, clock, engine, "import QtQuick\nRectangle { color: \"tomato\"; radius: 12 }\n");
    ASSERT_TRUE(panel.contentErrors().isEmpty()) << panel.contentErrors().toStdString();
    panel.setFrame(Rect(100, height - 150, 284, 38));
    panel.orderFront();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel.window()));
    QCoreApplication::processEvents();

    EXPECT_EQ(panel.window().geometry(), QRect(100, 112, 284, 38));
    EXPECT_EQ(panel.content()->size(), QSizeF(284, 38));

    // Even asked, it takes no focus; another window that asks gets it.
    QSignalSpy activated(&panel.window(), &QWindow::activeChanged);
    panel.window().requestActivate();
    QWindow other;
    other.setGeometry(600, 300, 100, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.requestActivate();
    QTRY_VERIFY(other.isActive());
    EXPECT_FALSE(panel.window().isActive());
    EXPECT_EQ(activated.count(), 0);

    // Moving it keeps the conversion: the top edge 300 points above the bottom.
    panel.setFrame(Rect(40, 300 - 38, 284, 38));
    QTRY_COMPARE(panel.window().geometry(), QRect(40, height - 300, 284, 38));
    panel.close();
}

TEST_F(FloatingPanelOnX11, APressMakesThePanelTheKeyWindowAndLosingItRefusesTheFocusAgain)
{
    FloatingPanel panel(screens, clock, engine, "import QtQuick\nRectangle { color: \"tomato\" }\n");
    panel.setFrame(Rect(200, 400, 284, 38));
    panel.orderFront();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel.window()));
    QTest::mousePress(&panel.window(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(&panel.window(), Qt::LeftButton, {}, QPoint(20, 20));
    QTRY_VERIFY(panel.window().isActive());

    QWindow other;
    other.setGeometry(600, 300, 100, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.requestActivate();
    QTRY_VERIFY(!panel.window().isActive());
    EXPECT_TRUE(panel.window().flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    panel.close();
}

// On openbox with two workspaces (the ctest "Panels.PlacedOnX11" runs
// tests/support/run-with-openbox): what the X server shows, not the flags we set.
namespace {
constexpr QRgb tomato = qRgb(255, 99, 71);
constexpr QRgb white = qRgb(255, 255, 255);

class FloatingPanelOnOpenbox : public FloatingPanelOnX11 {
protected:
    void SetUp() override
    {
        if (!X11Server::underWindowManager())
            GTEST_SKIP() << "needs an X server with a window manager (tests/support/run-with-openbox)";
        FloatingPanelOnX11::SetUp();
    }
    void TearDown() override
    {
        X11Server::run("wmctrl", {"-k", "off"});
        X11Server::run("wmctrl", {"-s", "0"});
    }

    // A tomato panel 284 × 38 at (500, 60) of Qt's coordinates, shown.
    std::unique_ptr<FloatingPanel> tomatoPanel(std::uint64_t behavior)
    {
        const int height = QGuiApplication::primaryScreen()->geometry().height();
        auto panel = std::make_unique<FloatingPanel>(
            screens, clock, engine, "import QtQuick\nRectangle { color: \"tomato\" }\n");
        panel->setCollectionBehavior(behavior);
        panel->setFrame(Rect(500, height - 98, 284, 38));
        panel->setTitle(QStringLiteral("Orvel test panel"));
        panel->orderFront();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&panel->window()));
        return panel;
    }
    static QPoint middle(const FloatingPanel &panel) { return panel.window().geometry().center(); }
};
} // namespace

TEST_F(FloatingPanelOnOpenbox, APanelStaysOnEveryWorkspaceAndThroughShowDesktopAndIsInNoWindowList)
{
    const auto panel = tomatoPanel(SurfaceWindow::fullScreenNoneBehavior);
    X11Server::WhiteWindow other;
    ASSERT_TRUE(X11Server::within2s([&] { return other.managed(); }));
    ASSERT_TRUE(X11Server::within2s([&] { return X11Server::pixel(middle(*panel)) == tomato; }));
    EXPECT_FALSE(X11Server::output("wmctrl", {"-l"}).contains("Orvel test panel"));

    // The other window leaves with its workspace; the panel does not.
    ASSERT_EQ(X11Server::run("wmctrl", {"-s", "1"}), 0);
    ASSERT_TRUE(X11Server::within2s([&] { return X11Server::output("wmctrl", {"-d"}).contains("1  *"); }));
    EXPECT_TRUE(X11Server::viewable(panel->window()));
    EXPECT_EQ(X11Server::pixel(middle(*panel)), tomato);

    ASSERT_EQ(X11Server::run("wmctrl", {"-s", "0"}), 0);
    ASSERT_EQ(X11Server::run("wmctrl", {"-k", "on"}), 0);
    ASSERT_TRUE(X11Server::within2s(
        [&] { return X11Server::output("wmctrl", {"-m"}).contains("showing the desktop\" mode: ON"); }));
    EXPECT_TRUE(X11Server::viewable(panel->window()));
    EXPECT_EQ(X11Server::pixel(middle(*panel)), tomato);
    panel->close();
}

TEST_F(FloatingPanelOnOpenbox, AFullScreenWindowHidesThePanelUnlessTheBehaviourKeepsItAbove)
{
    const auto panel = tomatoPanel(SurfaceWindow::fullScreenNoneBehavior);
    X11Server::WhiteWindow other;
    ASSERT_TRUE(X11Server::within2s([&] { return other.managed(); }));
    ASSERT_TRUE(other.setFullScreen(true));
    ASSERT_TRUE(other.activate());
    const QPoint at = middle(*panel);

    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(at) == white; }));
    EXPECT_FALSE(X11Server::viewable(panel->window()));
    EXPECT_TRUE(panel->isVisible()) << "ordered front still; only the screen does not show it";

    // The choice turned on: above the full-screen window, at once.
    panel->setCollectionBehavior(SurfaceWindow::fullScreenAuxiliaryBehavior);
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(at) == tomato; }));
    panel->setCollectionBehavior(SurfaceWindow::fullScreenNoneBehavior);
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(at) == white; }));

    // The window leaves full screen: the panel is back over it.
    ASSERT_TRUE(other.setFullScreen(false));
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::viewable(panel->window()); }));
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(at) == tomato; }));

    // Full screen again while the panel keeps above: the newly raised window stays below it.
    panel->setCollectionBehavior(SurfaceWindow::fullScreenAuxiliaryBehavior);
    ASSERT_TRUE(other.setFullScreen(true));
    ASSERT_TRUE(other.activate());
    ASSERT_TRUE(X11Server::within2s([&] { return X11Desktop::instance()->fullScreenArea().has_value(); }));
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(at) == tomato; }));
    EXPECT_TRUE(X11Server::viewable(panel->window()));
    panel->close();
}
