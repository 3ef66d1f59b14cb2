#include "DisplayCatalog.h"
#include "PanelManager.h"
#include "PanelTestSupport.h"
#include "QtPrinters.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
class PanelManagerTest : public ::testing::Test {
protected:
    PanelManagerTest()
    {
        world.screens.list = {laptop(), monitor()};
        world.preferences.completeSetup();
    }

    void make()
    {
        catalog = std::make_unique<DisplayCatalog>(DisplayCatalog::Services{&world.screens, &world.clock,
            [this](const DisplayCatalog::Display &) { return world.makeWindow(); }, &world.preferences});
        SurfaceWindow::Services windows;
        windows.preferences = &world.preferences;
        windows.scheduler = &world.clock;
        windows.screens = &world.screens;
        windows.reportPanel = [this](const QUuid &id, bool active) { reports[id] = active; };
        windows.chrome = [](bool) { return SkillChrome::none; };
        windows.makeWindow = [this](PanelModel &) { return world.makeWindow(); };
        manager = std::make_unique<PanelManager>(
            PanelManager::Services{&world.preferences, catalog.get(), std::move(windows)});
    }
    SurfaceWindow &window(std::uint32_t screen, int index) const
    {
        return *manager->surfaces().at(screen).at(index);
    }
    int shown() const
    {
        int count = 0;
        for (const auto &[number, windows] : manager->surfaces())
            for (const auto &window : windows)
                count += window->panel().isVisible();
        return count;
    }

    PanelWorld world;
    // Before the manager: closing its windows on the way out still reports.
    std::map<QUuid, bool> reports;
    std::unique_ptr<DisplayCatalog> catalog;
    std::unique_ptr<PanelManager> manager;
};
} // namespace

TEST_F(PanelManagerTest, EveryScreenGetsAPlayerAndASidebarShownWhenEnabled)
{
    make();
    manager->start();
    ASSERT_EQ(manager->surfaces().size(), 2u);
    EXPECT_EQ(window(1, 0).model().kind(), SurfaceKind::notch);
    EXPECT_EQ(window(1, 1).model().kind(), SurfaceKind::sidebar);
    EXPECT_EQ(window(2, 0).displayID(), "HDMI-1");
    EXPECT_EQ(shown(), 4);
}

TEST_F(PanelManagerTest, WhileSetupIsPendingNothingShowsAndShowPlayerAsksForTheDashboard)
{
    world.preferences.restartSetup();
    world.preferences.setNotchEnabled(false);
    make();
    manager->start();
    EXPECT_EQ(manager->surfaces().size(), 2u);
    EXPECT_EQ(shown(), 0);

    QSignalSpy dashboard(manager.get(), &PanelManager::dashboardRequested);
    manager->showPlayer();
    ASSERT_EQ(dashboard.count(), 1);
    EXPECT_EQ(dashboard.first().first().value<DashboardSection>(), DashboardSection::overview);
    EXPECT_FALSE(world.preferences.notchEnabled());
}

TEST_F(PanelManagerTest, ShowPlayerTurnsThePlayerOnAndOpensItOnEveryDisplay)
{
    world.preferences.setNotchEnabled(false);
    make();
    manager->start();
    EXPECT_FALSE(window(1, 0).panel().isVisible());
    manager->showPlayer();
    EXPECT_TRUE(world.preferences.notchEnabled());
    for (const std::uint32_t screen : {1u, 2u}) {
        EXPECT_TRUE(window(screen, 0).panel().isVisible());
        EXPECT_TRUE(window(screen, 0).model().isExpanded());
        EXPECT_FALSE(window(screen, 1).model().isExpanded());
    }
}

TEST_F(PanelManagerTest, ScopePrimaryOrdersTheSecondScreenOutAndReportsItClosed)
{
    make();
    manager->start();
    window(2, 0).model().open();
    EXPECT_TRUE(reports[window(2, 0).model().id()]);

    world.preferences.setDisplayScope(DisplayScope::primary);
    // Rebuilt on a later turn, not inside the change.
    EXPECT_TRUE(window(2, 0).panel().isVisible());
    world.clock.runUntilIdle();
    EXPECT_FALSE(window(2, 0).panel().isVisible());
    EXPECT_FALSE(window(2, 1).panel().isVisible());
    EXPECT_FALSE(reports[window(2, 0).model().id()]);
    EXPECT_TRUE(window(1, 0).panel().isVisible());
    // Kept, so switching back keeps their state.
    EXPECT_EQ(manager->surfaces().size(), 2u);
}

TEST_F(PanelManagerTest, ADisplayWithASmallVisibleFrameGetsNoPanels)
{
    ScreenInfo strip = FakeScreens::display("DP-3", 3, Rect(-800, 0, 800, 115), false);
    ASSERT_EQ(strip.visibleFrame.height(), 90);
    world.screens.list = {laptop(), strip};
    make();
    manager->start();
    EXPECT_EQ(manager->surfaces().size(), 1u);
    EXPECT_FALSE(manager->surfaces().contains(3));
}

TEST_F(PanelManagerTest, UnpluggingClosesBothWindowsAndReportsThemClosed)
{
    make();
    manager->start();
    window(2, 1).model().open();
    const QUuid sidebar = window(2, 1).model().id();
    world.screens.set({laptop()});
    world.clock.runUntilIdle();
    EXPECT_FALSE(manager->surfaces().contains(2));
    EXPECT_FALSE(reports[sidebar]);

    world.screens.set({laptop(), monitor()});
    world.clock.runUntilIdle();
    ASSERT_TRUE(manager->surfaces().contains(2));
    EXPECT_FALSE(window(2, 1).model().isExpanded());
}

TEST_F(PanelManagerTest, AStoredPlaceInTheHomeZoneIsForgottenOnALaterTurn)
{
    world.preferences.setPlayerPosition(PlayerPosition(0.5, 0.01), "eDP-1");
    world.preferences.setPlayerPosition(PlayerPosition(0.2, 0.4), "HDMI-1");
    make();
    manager->start();
    EXPECT_FALSE(window(1, 0).model().position());
    EXPECT_TRUE(world.preferences.playerPositions().contains("eDP-1"));
    world.clock.runUntilIdle();
    EXPECT_FALSE(world.preferences.playerPositions().contains("eDP-1"));
    ASSERT_TRUE(window(2, 0).model().position());
    EXPECT_EQ(window(2, 0).model().position()->centerX, 0.2);
}

TEST_F(PanelManagerTest, WhenATwinArrivesTheFirstMonitorsWindowsStoreUnderItsNewId)
{
    const ScreenInfo left = FakeScreens::withMonitor(monitor(), "Dell Inc.", "U2720Q", "");
    world.screens.list = {laptop(), left};
    make();
    manager->start();
    EXPECT_EQ(window(2, 0).displayID(), "edid:Dell Inc./U2720Q/");

    const ScreenInfo right = FakeScreens::withMonitor(
        FakeScreens::display("DP-1", 3, Rect(3432, 0, 1920, 1080), false), "Dell Inc.", "U2720Q", "");
    world.screens.set({laptop(), left, right});
    world.clock.runUntilIdle();
    EXPECT_EQ(window(2, 1).displayID(), "edid:Dell Inc./U2720Q/@HDMI-1");
    EXPECT_EQ(window(3, 0).displayID(), "edid:Dell Inc./U2720Q/@DP-1");
}

TEST_F(PanelManagerTest, ADraggedPlayerKeepsItsOwnPlaceThroughARebuild)
{
    make();
    manager->start();
    PanelModel &model = window(1, 0).model();
    model.beginDrag();
    model.setPosition(PlayerPosition(0.7, 0.5));
    world.preferences.setPlayerPosition(PlayerPosition(0.1, 0.1), "eDP-1");
    world.clock.runUntilIdle();
    ASSERT_TRUE(model.position());
    EXPECT_EQ(model.position()->centerX, 0.7);
}

TEST_F(PanelManagerTest, StopClosesEverything)
{
    make();
    manager->start();
    window(1, 0).model().open();
    const QUuid player = window(1, 0).model().id();
    manager->stop();
    EXPECT_TRUE(manager->surfaces().empty());
    EXPECT_FALSE(reports[player]);
    EXPECT_FALSE(manager->isStarted());
    world.preferences.setSidebarEnabled(false);
    world.clock.runUntilIdle();
    EXPECT_TRUE(manager->surfaces().empty());
}

TEST_F(PanelManagerTest, MirroredDisplaysShowOnePlayerAndOneSidebarAtTheFirstDisplaysPlace)
{
    // xrandr --output DP-2 --same-as HDMI-1: two screens of one frame.
    const ScreenInfo mirror = FakeScreens::display("DP-2", 3, monitor().frame, false);
    world.screens.list = {laptop(), monitor(), mirror};
    world.preferences.setPlayerPosition(PlayerPosition(0.2, 0.4), "HDMI-1");
    world.preferences.setPlayerPosition(PlayerPosition(0.8, 0.6), "DP-2");
    make();
    manager->start();
    EXPECT_EQ(manager->surfaces().size(), 2u);
    EXPECT_FALSE(manager->surfaces().contains(3));
    EXPECT_EQ(shown(), 4);
    ASSERT_TRUE(window(2, 0).model().position());
    EXPECT_EQ(window(2, 0).model().position()->centerX, 0.2);

    // Mirroring undone: the second display gets its own panels at its own place …
    ScreenInfo beside = mirror;
    beside.frame = beside.visibleFrame = Rect(3432, 0, 1920, 1080);
    world.screens.set({laptop(), monitor(), beside});
    world.clock.runUntilIdle();
    ASSERT_TRUE(manager->surfaces().contains(3));
    EXPECT_EQ(shown(), 6);
    ASSERT_TRUE(window(3, 0).model().position());
    EXPECT_EQ(window(3, 0).model().position()->centerX, 0.8);
    // … and loses them, reported closed, when it mirrors again; its place stays stored.
    window(3, 0).model().open();
    const QUuid player = window(3, 0).model().id();
    world.screens.set({laptop(), monitor(), mirror});
    world.clock.runUntilIdle();
    EXPECT_FALSE(manager->surfaces().contains(3));
    EXPECT_FALSE(reports[player]);
    EXPECT_TRUE(world.preferences.playerPositions().contains("DP-2"));
}
