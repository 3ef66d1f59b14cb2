#include "DisplayCatalog.h"
#include "MenuTracker.h"
#include "PanelTestSupport.h"
#include "QtPrinters.h"
#include "SurfaceWindow.h"

#include <gtest/gtest.h>

namespace {
class SurfaceWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<SurfaceWindow> make(SurfaceKind kind, const ScreenInfo &screen = laptop(true))
    {
        SurfaceWindow::Services services;
        services.preferences = &world.preferences;
        services.scheduler = &world.clock;
        services.screens = &world.screens;
        services.menus = &menus;
        services.reportPanel = [this](const QUuid &, bool active) { reports.push_back(active); };
        services.chrome = [this](bool peeking) { return SkillChrome{placement, peeking}; };
        services.makeWindow = [this](PanelModel &) { return world.makeWindow(); };
        world.screens.list = {screen};
        auto window = std::make_unique<SurfaceWindow>(
            kind, screen.geometry(), DisplayCatalog::identifier(screen), services);
        panel = world.made.back();
        return window;
    }
    // Shows the window and lets every frame settle.
    void settle() { world.clock.advance(1); }
    // The window sees the fake pointer as an X server would, and its model's opening and folding are counted.
    // Under XWayland the screens know the pointer only where it was last over the window.
    void followPointer(SurfaceWindow &window, bool xwayland = false)
    {
        world.screens.pointerSeenEverywhere = !xwayland;
        panel->pointer = xwayland ? &realPointer : &world.screens.pointerLocation;
        panel->seen = xwayland ? &world.screens.pointerLocation : nullptr;
        PanelModel &model = window.model();
        QObject::connect(&model, &PanelModel::interactionChanged, &model, [this, &model] {
            if (model.isExpanded() != wasExpanded)
                ++((wasExpanded = model.isExpanded()) ? opens : folds);
        });
    }
    // A window of its own for one row of a table: shown, following the pointer, nothing counted yet.
    std::unique_ptr<SurfaceWindow> shownFollowing(SurfaceKind kind, const ScreenInfo &screen, bool xwayland)
    {
        opens = folds = 0;
        wasExpanded = false;
        world.screens.pointerLocation = realPointer = {-10000, -10000};
        auto window = make(kind, screen);
        followPointer(*window, xwayland);
        window->show();
        return window;
    }
    double headerTop(const SurfaceWindow &window) const
    {
        const Rect frame = window.panel().frame();
        return window.model().opensUpward() ? frame.minY() + 38 : frame.maxY();
    }

    PanelWorld world;
    Point realPointer{-10000, -10000};
    MenuTracker menus;
    SkillPlacement placement = SkillPlacement::hidden;
    std::vector<bool> reports;
    RecordingPanelWindow *panel = nullptr;
    bool wasExpanded = false;
    int opens = 0;
    int folds = 0;
};

// 1920 wide: the folded sidebar's tab spans x 1898–1918, the open sidebar 1564–1908.
ScreenInfo wide()
{
    return FakeScreens::display("DP-1", 3, Rect(0, 0, 1920, 1080), true);
}
} // namespace

TEST_F(SurfaceWindowTest, TitlesShadowsAndTheFloatingLevelByKind)
{
    const auto player = make(SurfaceKind::notch, laptop());
    EXPECT_EQ(player->panel().title(), QString::fromUtf8("Orvel \u2014 Notch"));
    EXPECT_FALSE(player->panel().hasShadow());
    EXPECT_EQ(player->panel().level(), 3);
    const auto sidebar = make(SurfaceKind::sidebar, laptop());
    EXPECT_EQ(sidebar->panel().title(), QString::fromUtf8("Orvel \u2014 Sidebar"));
    EXPECT_TRUE(sidebar->panel().hasShadow());
    EXPECT_FALSE(sidebar->panel().isVisible());
}

TEST_F(SurfaceWindowTest, FullScreenSpacesOnlyWhenTheUserAsks)
{
    const auto window = make(SurfaceKind::sidebar);
    EXPECT_EQ(window->panel().collectionBehavior(), 593u);
    world.preferences.setShowInFullScreen(true);
    window->update(false);
    EXPECT_EQ(window->panel().collectionBehavior(), 337u);
}

TEST_F(SurfaceWindowTest, TheTopPlayerIsAboveTheBarOnlyAtHomeUnderANotchAndDragsWriteTheLevelOnce)
{
    const auto window = make(SurfaceKind::notch);
    window->show();
    EXPECT_EQ(window->panel().level(), SurfaceWindow::notchLevel);
    const int writes = panel->levelWrites;

    PanelModel &model = window->model();
    model.beginDrag();
    const Rect frame = window->panel().frame();
    model.onDragStart(Point{frame.midX(), frame.maxY() - 5});
    for (int step = 1; step <= 5; ++step)
        model.onDragMove(Point{frame.midX() + 40 * step, frame.maxY() - 5 - 60 * step});
    EXPECT_EQ(window->panel().level(), 3);
    EXPECT_EQ(panel->levelWrites, writes + 1);

    const auto plain = make(SurfaceKind::notch, laptop());
    EXPECT_EQ(plain->panel().level(), 3);
}

TEST_F(SurfaceWindowTest, ANotchedCollapseKeepsItsFrameForThreeTenthsOfASecond)
{
    const auto window = make(SurfaceKind::notch);
    window->show();
    const double folded = window->panel().frame().height();
    window->model().open();
    const double open = window->panel().frame().height();
    ASSERT_GT(open, folded);

    window->model().dismiss();
    EXPECT_TRUE(window->shrinkPending());
    world.clock.advance(0.29);
    EXPECT_EQ(window->panel().frame().height(), open);
    world.clock.advance(0.01);
    EXPECT_EQ(window->panel().frame().height(), folded);
    EXPECT_FALSE(window->shrinkPending());
}

TEST_F(SurfaceWindowTest, ReExpandingCancelsThePendingShrink)
{
    const auto window = make(SurfaceKind::notch);
    window->show();
    window->model().open();
    const double open = window->panel().frame().height();
    window->model().dismiss();
    world.clock.advance(0.1);
    window->model().open();
    world.clock.advance(1);
    EXPECT_EQ(window->panel().frame().height(), open);
}

TEST_F(SurfaceWindowTest, WithoutPanelMotionTheNotchedPlayerShrinksAtOnce)
{
    world.reduceMotion = true;
    const auto window = make(SurfaceKind::notch);
    window->show();
    const double folded = window->panel().frame().height();
    window->model().open();
    window->model().dismiss();
    EXPECT_EQ(window->panel().frame().height(), folded);
    EXPECT_FALSE(window->shrinkPending());
}

TEST_F(SurfaceWindowTest, AnAnnouncementGrowsAndShrinksTheNotchedPlayerAtOnce)
{
    const auto window = make(SurfaceKind::notch);
    window->show();
    const double folded = window->panel().frame().height();
    window->model().announce(4);
    EXPECT_GT(window->panel().frame().height(), folded);
    world.clock.advance(4.39);
    EXPECT_EQ(window->panel().frame().height(), folded);
    EXPECT_FALSE(window->shrinkPending());
}

TEST_F(SurfaceWindowTest, TheSidebarAnimatesOnlyWhenItsExpansionChanges)
{
    const auto window = make(SurfaceKind::sidebar, laptop());
    window->show();
    window->model().open();
    world.clock.advance(0.11);
    // Folded 20 wide, open 344: halfway in time is halfway in width.
    EXPECT_NEAR(window->panel().frame().width(), 182, 20);
    world.clock.advance(0.11);
    EXPECT_EQ(window->panel().frame().width(), 344);

    window->model().applySkills(SkillPlacement::row);
    window->update(true);
    EXPECT_FALSE(window->panel().isAnimating());

    world.reduceMotion = true;
    window->model().dismiss();
    EXPECT_EQ(window->panel().frame().width(), 20);
}

TEST_F(SurfaceWindowTest, ReportsItsPanelOpenOnlyWhileExpandedAndVisible)
{
    const auto window = make(SurfaceKind::sidebar, laptop());
    window->model().open();
    EXPECT_FALSE(reports.back());
    window->show();
    EXPECT_TRUE(reports.back());
    window->hide();
    EXPECT_FALSE(reports.back());
    window->show();
    window->model().dismiss();
    EXPECT_FALSE(reports.back());
}

TEST_F(SurfaceWindowTest, APinnedPanelUnderAFullScreenWindowReportsClosedUntilItShowsAgain)
{
    const auto window = make(SurfaceKind::sidebar, laptop());
    window->show();
    window->model().open();
    window->model().togglePin();
    ASSERT_TRUE(reports.back());
    panel->keepAway(true);
    EXPECT_FALSE(reports.back());
    // A re-lay while covered does not count it open either.
    window->update(false);
    EXPECT_FALSE(reports.back());
    panel->keepAway(false);
    EXPECT_TRUE(reports.back());
}

TEST_F(SurfaceWindowTest, FoldingGivesTheKeyboardBackButADragFoldsWithoutIt)
{
    const auto window = make(SurfaceKind::notch, laptop());
    window->show();
    window->model().open();
    EXPECT_FALSE(panel->ordering.contains("resign")) << "opening keeps it";
    window->model().dismiss();
    EXPECT_EQ(panel->ordering.count("resign"), 1);

    window->model().open();
    window->model().beginDrag();
    const Rect frame = window->panel().frame();
    window->model().onDragStart(Point{frame.midX(), frame.maxY() - 5});
    window->model().onDragMove(Point{frame.midX() + 200, frame.maxY() - 300});
    EXPECT_EQ(panel->ordering.count("resign"), 1) << "the header being dragged keeps its keys";
}

TEST_F(SurfaceWindowTest, TheGrabIsKeptWithinTheCompactPlayerAndBelowTheHeaderTop)
{
    const auto window = make(SurfaceKind::notch, laptop());
    window->show();
    const Rect frame = window->panel().frame();
    window->model().beginDrag();
    window->model().onDragStart(Point{frame.midX() + 200, frame.maxY() + 20});
    EXPECT_EQ(window->dragOffset().x, 142);
    EXPECT_EQ(window->dragOffset().y, 0);
    window->model().onDragStart(Point{frame.midX() - 10, frame.maxY() - 12});
    EXPECT_EQ(window->dragOffset().x, -10);
    EXPECT_EQ(window->dragOffset().y, 12);
}

TEST_F(SurfaceWindowTest, ANudgeStoresAtOnceAndANudgeIntoTheHomeZoneSendsThePlayerHome)
{
    // Header top 50 points under the visible top (957): out of the home zone.
    world.preferences.setPlayerPosition(PlayerPosition(0.5, 50.0 / 957), "eDP-1");
    const auto window = make(SurfaceKind::notch, laptop());
    window->show();
    ASSERT_TRUE(window->model().position());

    window->model().onNudge(12, 0);
    ASSERT_TRUE(world.preferences.playerPositions().contains("eDP-1"));
    EXPECT_NEAR(
        SurfaceWindow::storedPosition(world.preferences, "eDP-1")->centerX, (756.0 + 12) / 1512, 1e-9);

    window->model().onNudge(-12, 40);
    EXPECT_FALSE(window->model().position());
    EXPECT_FALSE(world.preferences.playerPositions().contains("eDP-1"));
    EXPECT_EQ(window->panel().frame(),
        laptop().geometry().playerFrame(false, std::nullopt, SkillChrome::none, false));
}

TEST_F(SurfaceWindowTest, NudgingAnExpandedUpwardPlayerMovesItsHeaderByTheStep)
{
    world.preferences.setPlayerPosition(PlayerPosition(0.5, 0.8), "eDP-1");
    const auto window = make(SurfaceKind::notch, laptop());
    window->show();
    window->model().open();
    settle();
    ASSERT_TRUE(window->model().opensUpward());
    const double before = headerTop(*window);

    window->model().onNudge(0, 12);
    EXPECT_NEAR(headerTop(*window), before + 12, 1e-9);
    const double stored = SurfaceWindow::storedPosition(world.preferences, "eDP-1")->topY;
    EXPECT_NEAR(stored, (957 - (before + 12)) / 957, 1e-9);
}

TEST_F(SurfaceWindowTest, ADropInTheHomeZoneForgetsThePlaceAndSetsTheHomeFrameAtOnce)
{
    const auto window = make(SurfaceKind::notch, laptop());
    window->show();
    const Rect home = window->panel().frame();
    PanelModel &model = window->model();
    model.beginDrag();
    model.onDragStart(Point{home.midX(), home.maxY() - 5});
    model.onDragMove(Point{home.midX() + 300, home.maxY() - 305});
    model.onDragEnd();
    ASSERT_TRUE(world.preferences.playerPositions().contains("eDP-1"));

    model.onDragStart(Point{window->panel().frame().midX(), window->panel().frame().maxY() - 5});
    model.onDragMove(Point{home.midX() + 20, home.maxY() - 10});
    model.onDragEnd();
    model.endDrag(true);
    EXPECT_FALSE(world.preferences.playerPositions().contains("eDP-1"));
    EXPECT_EQ(window->panel().frame(), home);
    EXPECT_FALSE(window->panel().isAnimating());
}

TEST_F(SurfaceWindowTest, AMenuHoldsAnOpenPanelAndFoldsItAfterTheLeaveDelayWhenItCloses)
{
    const auto window = make(SurfaceKind::sidebar, laptop());
    window->show();
    emit menus.began(); // folded: not counted
    world.clock.runUntilIdle();
    EXPECT_EQ(window->menuTrackingDepth(), 0);
    emit menus.ended();
    world.clock.runUntilIdle();

    panel->enter();
    window->model().open();
    emit menus.began();
    emit menus.began();
    world.clock.runUntilIdle();
    EXPECT_EQ(window->menuTrackingDepth(), 2);
    EXPECT_EQ(window->model().interactionCount(), 1);
    panel->leave();
    world.clock.advance(2);
    EXPECT_TRUE(window->model().isExpanded());

    emit menus.ended();
    emit menus.ended();
    world.clock.runUntilIdle();
    EXPECT_EQ(window->model().interactionCount(), 0);
    world.clock.advance(0.59);
    EXPECT_TRUE(window->model().isExpanded());
    world.clock.advance(0.01);
    EXPECT_FALSE(window->model().isExpanded());

    window->close();
    window->model().open();
    emit menus.began();
    world.clock.runUntilIdle();
    EXPECT_EQ(window->menuTrackingDepth(), 0);
    EXPECT_FALSE(reports.back());
}

TEST_F(SurfaceWindowTest, ThePointerAndEscapeReachTheModel)
{
    const auto window = make(SurfaceKind::notch, laptop());
    window->show();
    panel->enter();
    world.clock.advance(0.19);
    EXPECT_FALSE(window->model().isExpanded());
    world.clock.advance(0.01);
    EXPECT_TRUE(window->model().isExpanded());
    window->model().togglePin();
    panel->pressEscape();
    EXPECT_FALSE(window->model().pinned());
    EXPECT_FALSE(window->model().isExpanded());
}

TEST_F(SurfaceWindowTest, APointerRestingOnTheTabsOuterHalfKeepsTheSidebarOpenUntilItLeaves)
{
    const auto window = make(SurfaceKind::sidebar, wide());
    followPointer(*window);
    window->show();
    const Rect tab = window->panel().frame();
    panel->movePointer({1912, tab.midY()});
    world.clock.advance(5);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(folds, 0);
    EXPECT_EQ(window->panel().frame(), window->model().geometry().sidebarFrame(true));
    EXPECT_TRUE(window->watchingRestingPointer());

    // Along the edge, off the tab's height: the leave delay counts from when it is noticed.
    panel->movePointer({1912, tab.maxY() + 10});
    world.clock.advance(0.6);
    EXPECT_TRUE(window->model().isExpanded());
    world.clock.advance(0.1);
    EXPECT_FALSE(window->model().isExpanded());
    world.clock.advance(3);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(folds, 1);
    EXPECT_FALSE(window->watchingRestingPointer());
}

TEST_F(SurfaceWindowTest, AFoldedSidebarReopensWhenThePointerMovesIntoItNotWhenItComesUnderThePointer)
{
    const auto window = make(SurfaceKind::sidebar, wide());
    followPointer(*window);
    window->show();
    const Rect tab = window->panel().frame();
    panel->movePointer({1900, tab.midY()});
    world.clock.advance(1);
    ASSERT_TRUE(window->model().isExpanded());
    // Out past the open sidebar, above the tab's place.
    const Point resting{1912, 620};
    panel->movePointer(resting);
    world.clock.advance(1);
    ASSERT_FALSE(window->model().isExpanded());

    // The work area shrinks from below and the panel manager re-lays the panel: the tab comes under it.
    ScreenGeometry geometry = window->model().geometry();
    geometry.visibleFrame = Rect(0, 190, 1920, 865);
    window->model().setGeometry(geometry);
    window->show();
    window->reprobePointer();
    world.clock.advance(2);
    ASSERT_TRUE(window->panel().frame().contains(resting));
    EXPECT_FALSE(window->model().isExpanded());

    panel->movePointer({1911, 620});
    world.clock.advance(0.2);
    EXPECT_TRUE(window->model().isExpanded());
    EXPECT_EQ(opens, 2);

    // Escape with the pointer where the tab goes: the tab slides under it and stays folded.
    world.clock.advance(1);
    panel->pressEscape();
    world.clock.advance(3);
    EXPECT_FALSE(window->model().isExpanded());
    EXPECT_EQ(folds, 2);
}

TEST_F(SurfaceWindowTest, APanelDismissedUnderThePointerStaysFoldedWhileItMovesThereUntilItLeavesAndComesBack)
{
    const auto restOn = [this](Point point) {
        panel->movePointer(point);
        world.clock.advance(1);
        return point;
    };
    struct Case {
        const char *name;
        SurfaceKind kind;
        bool closeControl;
        // A full-screen window takes the panel from under the pointer and gives it back, else another's
        // window.
        bool fullScreen;
        // The pointer leaves meanwhile: coming back is an entry.
        bool leavesMeanwhile;
        // Opens the panel with the pointer on it or beside it; where the pointer rests.
        std::function<Point(SurfaceWindow &, Rect folded)> open;
    };
    const auto onThePlayer = [&](SurfaceWindow &, Rect folded) {
        return restOn({folded.midX(), folded.midY()});
    };
    // The sidebar's tab and the open sidebar overlap at x 1898–1908.
    const auto onTheTab = [&](SurfaceWindow &, Rect folded) { return restOn({1903, folded.midY()}); };
    const Case cases[] = {
        {"player", SurfaceKind::notch, false, true, false, onThePlayer},
        {"sidebar", SurfaceKind::sidebar, true, true, false, onTheTab},
        {"beside the open sidebar", SurfaceKind::sidebar, false, true, false,
            [&](SurfaceWindow &, Rect folded) {
                return restOn({1912, folded.midY()});
            }},
        // Folded away from the pointer, the header's arrow keys bring the player under it, then Return.
        {"player opened under the resting pointer", SurfaceKind::notch, false, true, false,
            [&](SurfaceWindow &window, Rect folded) {
                restOn({folded.midX(), folded.midY()});
                const Point resting = restOn({300, folded.midY()});
                window.model().onNudge(resting.x - folded.midX(), 0);
                world.clock.advance(1);
                window.model().open();
                return resting;
            }},
        {"player, left behind a full-screen window", SurfaceKind::notch, false, true, true, onThePlayer},
        {"sidebar, left behind a full-screen window", SurfaceKind::sidebar, true, true, true, onTheTab},
        {"player under another's window", SurfaceKind::notch, false, false, false, onThePlayer},
        {"player, left under another's window", SurfaceKind::notch, false, false, true, onThePlayer},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        world.screens.pointerLocation = {-10000, -10000};
        world.preferences.setPlayerPosition(std::nullopt, DisplayCatalog::identifier(wide()));
        const auto window = make(c.kind, wide());
        followPointer(*window);
        window->show();
        PanelModel &model = window->model();
        const Point over = c.open(*window, window->panel().frame());
        world.clock.advance(1);
        ASSERT_TRUE(model.isExpanded());
        c.closeControl ? model.dismiss() : panel->pressEscape();
        world.clock.advance(1);
        ASSERT_TRUE(window->panel().frame().contains(over));
        panel->movePointer({over.x - 1, over.y});
        world.clock.advance(1);
        EXPECT_FALSE(model.isExpanded());
        const auto hide = [&](bool hidden) { c.fullScreen ? panel->keepAway(hidden) : panel->cover(hidden); };
        hide(true);
        world.clock.advance(1);
        if (c.leavesMeanwhile)
            panel->movePointer({over.x, over.y - 300});
        world.clock.advance(1);
        hide(false);
        world.clock.advance(1);
        panel->movePointer(over);
        world.clock.advance(1);
        EXPECT_EQ(model.isExpanded(), c.leavesMeanwhile);
        if (c.leavesMeanwhile)
            continue;

        // Back on the very point where it folded: an entry all the same.
        panel->movePointer({over.x, over.y - 300});
        world.clock.advance(0.1);
        panel->movePointer(over);
        world.clock.advance(0.2);
        EXPECT_TRUE(model.isExpanded());
    }
}

TEST_F(SurfaceWindowTest, TheStripBesideTheOpenSidebarCountsOnlyWhereThePointerIsSeenOffTheWindows)
{
    struct Row {
        const char *name;
        bool xwayland;
        // Open while the pointer rests on the tab's outer half, off the open sidebar's window.
        bool openWhileResting;
    };
    for (const Row row : {Row{"X11", false, true}, Row{"XWayland", true, false}}) {
        SCOPED_TRACE(row.name);
        const auto window = shownFollowing(SurfaceKind::sidebar, wide(), row.xwayland);
        const Rect tab = window->panel().frame();
        panel->movePointer({1912, tab.midY()});
        world.clock.advance(3);
        EXPECT_EQ(opens, 1);
        EXPECT_EQ(window->model().isExpanded(), row.openWhileResting);
        EXPECT_EQ(window->watchingRestingPointer(), row.openWhileResting);

        // Down the display's edge, where XWayland still places the pointer on the strip.
        panel->movePointer({1912, 40});
        world.clock.advance(3);
        EXPECT_FALSE(window->model().isExpanded());
        EXPECT_EQ(opens, 1);
        EXPECT_EQ(folds, 1);
        EXPECT_FALSE(window->watchingRestingPointer());
    }
}

TEST_F(SurfaceWindowTest, ANotchedPlayerThePointerComesBackToDuringTheDeferredShrinkOpensAsAlways)
{
    struct Row {
        const char *name;
        bool xwayland;
        // The shrink is told as a leave and an entry with the pointer on the pill.
        bool recrosses;
    };
    const Row rows[] = {
        {"X11", false, false},
        {"X11, the shape cut anew", false, true},
        {"XWayland, the shape cut anew", true, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto window = shownFollowing(SurfaceKind::notch, laptop(true), row.xwayland);
        panel->recrossesOnFrames = row.recrosses;
        PanelModel &model = window->model();
        const Rect pill = window->panel().frame();
        const Point onPill{pill.midX(), pill.midY()};
        panel->movePointer(onPill);
        world.clock.advance(1);
        ASSERT_TRUE(model.isExpanded());
        panel->movePointer({pill.midX(), 100});
        world.clock.advance(0.6);
        ASSERT_FALSE(model.isExpanded());
        ASSERT_TRUE(window->shrinkPending());

        // Back 0.2 s into the 0.3 s the large frame stays: the pill shrinks under the pointer 0.1 s later.
        world.clock.advance(0.2);
        panel->movePointer(onPill);
        world.clock.advance(0.19);
        EXPECT_FALSE(model.isExpanded());
        EXPECT_EQ(window->panel().frame(), pill);
        world.clock.advance(0.01);
        EXPECT_TRUE(model.isExpanded());
        EXPECT_FALSE(window->leaveSetAside());
    }
}

TEST_F(SurfaceWindowTest, APointerLeavingRightAfterThePanelsOwnFrameChangeStillFoldsIt)
{
    // Opened, the pill grows at once under the pointer, which then jumps off without a move between.
    for (const bool xwayland : {false, true}) {
        SCOPED_TRACE(xwayland ? "XWayland" : "X11");
        const auto window = shownFollowing(SurfaceKind::notch, laptop(true), xwayland);
        const Rect pill = window->panel().frame();
        panel->movePointer({pill.midX(), pill.midY()});
        world.clock.advance(0.2);
        ASSERT_TRUE(window->model().isExpanded());
        panel->movePointer({pill.midX(), 100});
        // Seen only over windows, the leave waits one look for an entry undoing it.
        world.clock.advance(xwayland ? 0.75 : 0.6);
        EXPECT_FALSE(window->model().isExpanded());
        EXPECT_FALSE(window->model().hovered());
    }
}

TEST_F(SurfaceWindowTest, UnderXWaylandAnEntryWithoutAMoveWaitsForTheMoveThatMakesItOne)
{
    // XWayland tells an entry to a window shown where it last saw the pointer, which may be far away by now.
    struct Row {
        const char *name;
        bool xwayland;
        bool opensWithoutAMove;
    };
    for (const Row row : {Row{"X11", false, true}, Row{"XWayland", true, false}}) {
        SCOPED_TRACE(row.name);
        const auto window = shownFollowing(SurfaceKind::sidebar, wide(), row.xwayland);
        settle();
        const Rect tab = window->panel().frame();
        // On the tab's inner half, which the open sidebar covers.
        world.screens.pointerLocation = {tab.minX() + 2, tab.midY()};
        panel->pointerChanged(true);
        world.clock.advance(2);
        EXPECT_EQ(opens, row.opensWithoutAMove ? 1 : 0);
        if (row.opensWithoutAMove)
            continue;
        EXPECT_FALSE(window->model().hovered());

        // The pointer really comes onto the tab.
        panel->movePointer({tab.minX() + 2, tab.midY() + 4});
        world.clock.advance(2);
        EXPECT_EQ(opens, 1);
        EXPECT_TRUE(window->model().isExpanded());
    }
}

TEST_F(SurfaceWindowTest, UnderXWaylandAnUnmovedEntryIsNoPointerOnAPanelTheAppOpens)
{
    const auto window = shownFollowing(SurfaceKind::notch, laptop(true), true);
    settle();
    const Rect pill = window->panel().frame();
    world.screens.pointerLocation = {pill.midX(), pill.midY()};
    panel->pointerChanged(true);
    world.clock.advance(2);
    ASSERT_EQ(opens, 0);
    // "Show player" while the pointer is on another program's Wayland window.
    window->model().open();
    world.clock.advance(2);
    EXPECT_TRUE(window->model().isExpanded());
    EXPECT_FALSE(window->model().hovered());
}

TEST_F(SurfaceWindowTest, AnEntryUndoingThePanelsOwnLeaveCountsThoughItComesAfterTheLook)
{
    for (const bool xwayland : {false, true}) {
        SCOPED_TRACE(xwayland ? "XWayland" : "X11");
        const auto window = shownFollowing(SurfaceKind::sidebar, wide(), xwayland);
        const Rect tab = window->panel().frame();
        panel->movePointer({tab.minX() + 2, tab.midY()});
        world.clock.advance(2);
        ASSERT_TRUE(window->model().hovered());
        // The sidebar's own frame change is told as a leave; the entry undoing it comes late.
        window->update(false);
        world.clock.advance(0);
        panel->pointerChanged(false);
        world.clock.advance(0.15);
        panel->pointerChanged(true);
        world.clock.advance(2);
        EXPECT_TRUE(window->model().isExpanded());
        EXPECT_EQ(folds, 0);
    }
}
