#include "DisplayCatalog.h"
#include "FloatingPanel.h"
#include "PanelManager.h"
#include "PanelsOnScreen.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Screens.h"
#include "ScriptedSpotify.h"
#include "SurfaceWindow.h"
#include "X11Compositor.h"
#include "X11Desktop.h"
#include "X11Server.h"

#include <QCursor>
#include <QQuickItem>
#include <gtest/gtest.h>
#include <optional>

// The app's own top player and sidebar on openbox with two workspaces (the
// ctest "Panels.PlacedOnX11" runs tests/support/run-with-openbox), judged by
// what the X server shows.
namespace {
constexpr QRgb white = qRgb(255, 255, 255);
constexpr QRgb desktop = qRgb(0, 200, 0);

class PanelsOnOpenbox : public ::testing::Test, protected PanelsOnScreen {
protected:
    void SetUp() override
    {
        if (!X11Server::underWindowManager())
            GTEST_SKIP() << "needs an X server with a window manager (tests/support/run-with-openbox)";
        showPanels();
    }
    // The panels' first frames on the painted desktop.
    void showPanels()
    {
        X11Server::paintRoot(desktop);
        ASSERT_NO_FATAL_FAILURE(startPanels());
        // Exposed is not drawn yet: every test starts from the panels' first frames on screen.
        ASSERT_TRUE(X11Server::within2s([&] { return bothShown(desktop); }));
    }
    void TearDown() override
    {
        X11Server::run("wmctrl", {"-k", "off"});
        X11Server::run("wmctrl", {"-s", "0"});
        stopPanels();
    }
    // Both panels show on screen, over whatever lies there.
    bool bothShown(QRgb under) const
    {
        return bothMapped() && X11Server::pixel(player().window().geometry().center()) != under
            && X11Server::pixel(sidebar().window().geometry().center()) != under;
    }
    bool bothMapped() const
    {
        return X11Server::viewable(player().window()) && X11Server::viewable(sidebar().window());
    }
    // Neither panel is mapped, and what covers the player's place shows there.
    bool bothAway(QRgb over) const
    {
        return !X11Server::viewable(player().window()) && !X11Server::viewable(sidebar().window())
            && X11Server::pixel(player().window().geometry().center()) == over;
    }

    // The middle of the player's header, its drag handle.
    QPoint playerHeader() const
    {
        const auto *handle = player().content()->findChild<QQuickItem *>(QStringLiteral("dragHandle"));
        return handle ? handle->mapToGlobal(handle->boundingRect().center()).toPoint() : QPoint(-1, -1);
    }
    // Opens the player by a click on its header and folds it by Escape, the pointer staying there.
    void escapeOnHeader(QPoint header)
    {
        PanelModel &model = playerModel();
        // X sees the pointer over the window once its shape is there.
        ASSERT_TRUE(moveTo(header) && X11Server::within2s([&] { return model.hovered(); }));
        ASSERT_TRUE(xdotool({"click", "1"}));
        ASSERT_TRUE(X11Server::within2s([&] { return model.isExpanded() && player().window().isActive(); }));
        ASSERT_TRUE(xdotool({"key", "Escape"}));
        ASSERT_TRUE(X11Server::within2s([&] { return !model.isExpanded(); }));
        rest(1);
        ASSERT_TRUE(player().window().geometry().contains(header));
    }
    static bool xdotool(const QStringList &arguments) { return X11Server::run("xdotool", arguments) == 0; }
    static bool moveTo(QPoint to)
    {
        return xdotool({"mousemove", QString::number(to.x()), QString::number(to.y())});
    }
};

} // namespace

TEST_F(PanelsOnOpenbox, ThePlayerAndTheSidebarStayThroughWorkspacesShowDesktopAndTheFullScreenChoice)
{
    ASSERT_EQ(X11Server::run("wmctrl", {"-s", "1"}), 0);
    ASSERT_TRUE(X11Server::within2s([&] { return X11Server::output("wmctrl", {"-d"}).contains("1  *"); }));
    // openbox switched after it had seen the panels mapped: one it took would be listed by now.
    EXPECT_FALSE(X11Server::output("wmctrl", {"-l"}).contains("Orvel")) << "in no window list";
    // Whatever the switch made the app do, it has done; then the frames it draws show.
    ASSERT_TRUE(X11Server::settled());
    EXPECT_TRUE(bothMapped());
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(desktop); }));
    ASSERT_EQ(X11Server::run("wmctrl", {"-s", "0"}), 0);
    ASSERT_EQ(X11Server::run("wmctrl", {"-k", "on"}), 0);
    ASSERT_TRUE(X11Server::within2s(
        [&] { return X11Server::output("wmctrl", {"-m"}).contains("showing the desktop\" mode: ON"); }));
    ASSERT_TRUE(X11Server::settled());
    EXPECT_TRUE(bothMapped());
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(desktop); }));
    ASSERT_EQ(X11Server::run("wmctrl", {"-k", "off"}), 0);

    // With the choice off (the default) a full-screen window has its display to itself …
    X11Server::WhiteWindow full;
    ASSERT_TRUE(X11Server::within2s([&] { return full.managed(); }));
    ASSERT_TRUE(full.setFullScreen(true) && full.activate());
    EXPECT_TRUE(X11Server::within2s([&] { return bothAway(white); }));
    // … while it is the active window.
    {
        X11Server::WhiteWindow other(QStringLiteral("orvel-test-plain"));
        ASSERT_TRUE(X11Server::within2s([&] { return other.managed(); }) && other.activate());
        EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    }
    ASSERT_TRUE(full.activate());
    EXPECT_TRUE(X11Server::within2s([&] { return bothAway(white); }));

    // The switch turned on brings the panels back over it at once, off takes them away.
    root->preferences().setShowInFullScreen(true);
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    root->preferences().setShowInFullScreen(false);
    EXPECT_TRUE(X11Server::within2s([&] { return bothAway(white); }));

    // Leaving full screen shows them; with the switch on, going full screen again keeps them above.
    ASSERT_TRUE(full.setFullScreen(false));
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    root->preferences().setShowInFullScreen(true);
    ASSERT_TRUE(full.setFullScreen(true) && full.activate());
    ASSERT_TRUE(X11Server::within2s([&] { return !X11Desktop::instance()->fullScreenAreas().isEmpty(); }));
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
}

TEST_F(PanelsOnOpenbox, AFullScreenWindowHidesThePanelsOnlyWhileItsDesktopIsShown)
{
    X11Server::WhiteWindow full;
    ASSERT_TRUE(X11Server::within2s([&] { return full.managed(); }));
    ASSERT_TRUE(full.setFullScreen(true) && full.activate());
    ASSERT_TRUE(X11Server::within2s([&] { return bothAway(white); }));
    const auto showDesktop = [](int index) {
        return X11Server::run("wmctrl", {"-s", QString::number(index)}) == 0;
    };
    const auto sendTo = [&full](const char *index) {
        return X11Server::run("wmctrl", {"-r", full.title, "-t", index}) == 0;
    };

    // The other desktop shown: the panels are there, and "Show player" opens the player.
    ASSERT_TRUE(showDesktop(1));
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(desktop); }));
    root->panels().showPlayer();
    EXPECT_TRUE(X11Server::within2s([&] { return playerModel().isExpanded() && bothShown(desktop); }));
    playerModel().dismiss();
    // Back on its desktop it has the display to itself again.
    ASSERT_TRUE(showDesktop(0));
    EXPECT_TRUE(X11Server::within2s([&] { return bothAway(white); }));

    // Sent to the other desktop, it frees this one; shown there, it covers it.
    ASSERT_TRUE(sendTo("1"));
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(desktop); }));
    ASSERT_TRUE(showDesktop(1));
    EXPECT_TRUE(X11Server::within2s([&] { return bothAway(white); }));
    // On every desktop it covers every one (wmctrl cannot send it there; xdotool can).
    ASSERT_TRUE(xdotool({"set_desktop_for_window", QString::number(full.id()), "-1"}));
    ASSERT_TRUE(X11Server::within2s([&] {
        return X11Server::output("xprop", {"-id", QString::number(full.id()), "_NET_WM_DESKTOP"})
            .contains("4294967295");
    }));
    ASSERT_TRUE(showDesktop(0));
    EXPECT_TRUE(X11Server::settled() && bothAway(white));
    ASSERT_TRUE(showDesktop(1));
    EXPECT_TRUE(X11Server::settled() && bothAway(white));
}

TEST_F(PanelsOnOpenbox, APointerRestingOnTheSidebarTabsOuterHalfOpensItOnceAndLeavingFoldsItOnce)
{
    PanelModel &model = sidebarModel();
    int opens = 0;
    int folds = 0;
    bool expanded = model.isExpanded();
    QObject::connect(&model, &PanelModel::interactionChanged, &model, [&] {
        if (model.isExpanded() != expanded)
            ++((expanded = model.isExpanded()) ? opens : folds);
    });
    // The app's clock runs only once Qt has delivered what the pointer did.
    X11Server::PointerEvents pointer(sidebar().window());
    // The outer half of the tab: the open sidebar ends short of it.
    const QRect tab = sidebar().window().geometry();
    QCursor::setPos(tab.right() - 3, tab.center().y());
    ASSERT_TRUE(X11Server::within2s([&] { return pointer.enters == 1; }));
    rest(5);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(folds, 0);
    EXPECT_TRUE(model.isExpanded());

    QCursor::setPos(tab.left() - 500, tab.center().y());
    rest(3);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(folds, 1);
    QCursor::setPos(0, 0);
}

TEST_F(PanelsOnOpenbox, AFullScreenWindowKeepsThePanelsAwayWhateverHasTheKeyboard)
{
    constexpr QRgb red = qRgb(255, 0, 0);
    X11Server::WhiteWindow full;
    ASSERT_TRUE(X11Server::within2s([&] { return full.managed(); }));
    ASSERT_TRUE(full.setFullScreen(true) && full.activate());
    ASSERT_TRUE(X11Server::within2s([&] { return bothAway(white); }));
    // Judged once the app has had every event of the change before.
    const auto stillHidden = [&] { return X11Server::settled() && bothAway(white); };

    // Another program's unmanaged popup takes the keyboard: openbox names no active window.
    {
        X11Server::ForeignWindow popup(QRect(20, 600, 120, 60), red);
        popup.takeFocus();
        ASSERT_TRUE(X11Server::within2s([] { return X11Desktop::instance()->activeWindow() == 0; }));
        EXPECT_TRUE(stillHidden());

        // The root named as the active window, then the full-screen window again.
        popup.nameActive(popup.root);
        EXPECT_TRUE(stillHidden());
        ASSERT_TRUE(full.activate());
        ASSERT_TRUE(X11Server::within2s([&] { return X11Desktop::instance()->activeWindow() == full.id(); }));
        EXPECT_TRUE(stillHidden());
    }
    EXPECT_TRUE(X11Server::rootEventMask() & XCB_EVENT_MASK_PROPERTY_CHANGE)
        << "Qt's selection on the root stays";

    // Hiding still follows the window.
    ASSERT_TRUE(full.setFullScreen(false));
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    ASSERT_TRUE(full.setFullScreen(true) && full.activate());
    EXPECT_TRUE(X11Server::within2s([&] { return bothAway(white); }));
}

TEST_F(PanelsOnOpenbox, APanelComingBackStaysUnderAnotherProgramsMenuAndAboveItsWindows)
{
    constexpr QRgb red = qRgb(255, 0, 0);
    X11Server::WhiteWindow full;
    ASSERT_TRUE(X11Server::within2s([&] { return full.managed(); }));
    ASSERT_TRUE(full.setFullScreen(true) && full.activate());
    const QRect player = this->player().window().geometry();
    ASSERT_TRUE(X11Server::within2s([&] { return !X11Server::viewable(this->player().window()); }));

    {
        // A menu open over the player's place while the full-screen window leaves.
        X11Server::ForeignWindow menu(player.adjusted(-20, -20, 20, 20), red);
        ASSERT_TRUE(X11Server::within2s([&] { return X11Server::pixel(player.center()) == red; }));
        // Judged once the player has drawn a frame since it came back, and the app has had
        // every event of openbox's restacking: above the menu, that frame would show.
        X11Server::Frames frames(this->player().window());
        ASSERT_TRUE(full.setFullScreen(false));
        ASSERT_TRUE(X11Server::within2s(
            [&] { return X11Server::viewable(this->player().window()) && frames.count() > 0; }));
        ASSERT_TRUE(X11Server::settled());
        EXPECT_EQ(X11Server::pixel(player.center()), red);
        // A rebuild (any setting) leaves the shown panel where it is.
        root->preferences().setSidebarEnabled(false);
        root->preferences().setSidebarEnabled(true);
        ASSERT_TRUE(X11Server::settled());
        ASSERT_TRUE(X11Server::within2s([&] { return X11Server::viewable(sidebar().window()); }));
        ASSERT_TRUE(X11Server::settled());
        EXPECT_EQ(X11Server::pixel(player.center()), red);
    }

    // A normal window raised and activated under the player stays below it.
    const QPoint below(player.center().x(), player.bottom() + 50);
    ASSERT_TRUE(full.place(QRect(player.x() - 40, 0, player.width() + 80, player.bottom() + 100)));
    ASSERT_TRUE(X11Server::within2s([&] { return X11Server::pixel(below) == white; }));
    ASSERT_TRUE(full.activate());
    ASSERT_TRUE(X11Server::within2s([&] { return X11Desktop::instance()->activeWindow() == full.id(); }));
    ASSERT_TRUE(X11Server::settled());
    EXPECT_TRUE(X11Server::within2s([&] {
        return X11Server::viewable(this->player().window()) && X11Server::pixel(player.center()) != white
            && X11Server::pixel(player.center()) != red;
    }));
}

TEST_F(PanelsOnOpenbox,
    WithoutACompositorTheDesktopShowsAroundTheirRoundedCornersAndWithOneTheWholeWindowIsTheirs)
{
    X11Compositor *compositor = X11Compositor::instance();
    ASSERT_TRUE(compositor);
    ASSERT_FALSE(compositor->isCompositing()) << "openbox alone composites nothing";
    // A pixel just outside the top-left rounded corner, and the middle.
    const auto corner = [](const QWindow &window) { return window.geometry().topLeft() + QPoint(1, 1); };
    const auto middle = [](const QWindow &window) { return window.geometry().center(); };
    const auto desktopAround = [&](const QWindow &window) {
        return X11Server::pixel(corner(window)) == desktop && X11Server::pixel(middle(window)) != desktop;
    };
    PanelHostingView &playerWindow = player().window();
    PanelHostingView &sidebarWindow = sidebar().window();
    EXPECT_TRUE(X11Server::within2s([&] { return desktopAround(playerWindow); }))
        << "the folded player's pill";
    EXPECT_TRUE(X11Server::within2s([&] { return desktopAround(sidebarWindow); })) << "the sidebar's tab";

    // The open sidebar, once its frame has grown.
    root->panels().surfaces().begin()->second.at(1)->model().togglePin();
    clock.advance(1);
    ASSERT_TRUE(X11Server::within2s([&] { return sidebarWindow.width() > 300; }));
    EXPECT_TRUE(X11Server::within2s([&] { return desktopAround(sidebarWindow); })) << "the open sidebar";

    // A compositor starting takes the clip away at once; its end brings the clip back.
    {
        X11Server::CompositorStandIn compositing;
        ASSERT_TRUE(X11Server::within2s([&] { return compositor->isCompositing(); }));
        for (const QWindow *window : {&sidebarWindow, &playerWindow}) {
            EXPECT_FALSE(compositor->clip(*window).has_value());
            EXPECT_EQ(X11Server::shape(*window), QRegion(QRect(QPoint(), window->size())));
        }
    }
    ASSERT_TRUE(X11Server::within2s([&] { return !compositor->isCompositing(); }));
    EXPECT_EQ(X11Server::shape(sidebarWindow), compositor->clip(sidebarWindow));
    EXPECT_TRUE(X11Server::within2s([&] { return desktopAround(sidebarWindow); }));
    EXPECT_TRUE(X11Server::within2s([&] { return desktopAround(playerWindow); }));

    // The pointer is over a panel only where X sees it, on the clipped shape.
    QCursor::setPos(corner(playerWindow));
    EXPECT_FALSE(surface(0).pointerInside());
    QCursor::setPos(middle(playerWindow));
    EXPECT_TRUE(surface(0).pointerInside());
    QCursor::setPos(0, 0);
}

TEST_F(PanelsOnOpenbox, TheDisplayNumberCardIsCutToItsRoundedCornersOrClearThereUnderACompositor)
{
    constexpr int radius = 28;
    X11Compositor *compositor = X11Compositor::instance();
    ASSERT_TRUE(compositor);
    DisplayCatalog &catalog = root->displays();
    catalog.identify();
    ASSERT_EQ(catalog.identificationPanels().size(), 1u);
    PanelHostingView &card = dynamic_cast<FloatingPanel &>(*catalog.identificationPanels().front()).window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
    const QRect frame = card.geometry();
    const QRegion whole(QRect(QPoint(), card.size() * card.devicePixelRatio()));
    const auto desktopAround = [&] {
        for (const QPoint corner :
            {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()})
            if (X11Server::pixel(corner) != desktop)
                return false;
        return X11Server::pixel(frame.center()) != desktop;
    };
    EXPECT_TRUE(X11Server::within2s(desktopAround)) << std::hex << X11Server::pixel(frame.topLeft());
    const std::optional<QRegion> clip = compositor->clip(card);
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(*clip, WindowOutline::rounded(QRectF(QPointF(), card.size()), radius).region(1));
    EXPECT_EQ(X11Server::shape(card), *clip);

    {
        X11Server::CompositorStandIn compositing;
        ASSERT_TRUE(X11Server::within2s([&] { return compositor->isCompositing(); }));
        EXPECT_EQ(X11Server::depth(card), 32);
        EXPECT_FALSE(compositor->clip(card).has_value());
        EXPECT_EQ(X11Server::shape(card), whole);
        // Once the card has drawn again what the cut had kept off screen.
        QImage content;
        EXPECT_TRUE(X11Server::within2s([&] {
            content = X11Server::content(card);
            return !content.isNull() && qAlpha(content.pixel(content.rect().center())) == 255
                && X11Server::clearWithSoftCorners(content, radius);
        })) << std::hex
            << (content.isNull() ? 0 : content.pixel(0, 0));
    }
    ASSERT_TRUE(X11Server::within2s([&] { return !compositor->isCompositing(); }));
    EXPECT_TRUE(X11Server::within2s(desktopAround));
}

TEST_F(PanelsOnOpenbox, EscapeFoldsThePlayerUnderThePointerUntilThePointerLeavesAndComesBack)
{
    PanelModel &model = playerModel();
    const QPoint header = playerHeader();
    ASSERT_NO_FATAL_FAILURE(escapeOnHeader(header));
    // Each move is judged once Qt has delivered it.
    X11Server::PointerEvents pointer(player().window());
    ASSERT_TRUE(moveTo(header + QPoint(1, 0)));
    ASSERT_TRUE(X11Server::within2s([&] { return pointer.moves > 0; }));
    rest(1);
    EXPECT_FALSE(model.isExpanded()) << "a tremor over the folded player";

    ASSERT_TRUE(moveTo(header + QPoint(0, 300)));
    ASSERT_TRUE(X11Server::within2s([&] { return pointer.leaves > 0; }));
    rest(1);
    ASSERT_TRUE(moveTo(header - QPoint(1, 0)));
    ASSERT_TRUE(X11Server::within2s([&] { return pointer.enters > 0; }));
    rest(0.5);
    EXPECT_TRUE(model.isExpanded());
    QCursor::setPos(0, 0);
}

TEST_F(PanelsOnOpenbox, APlayerEscapedUnderThePointerComesBackFromAFullScreenWindowHeldOnlyIfThePointerStayed)
{
    PanelModel &model = playerModel();
    const QPoint header = playerHeader();
    struct Row {
        const char *name;
        // Another program's menu over the player first: its crossing comes before the full-screen window's.
        bool menuFirst;
        // Where the pointer goes while the full-screen window has the display: back, the player opens to it.
        std::optional<QPoint> meanwhile;
    };
    const Row rows[] = {
        {"the pointer left", false, header + QPoint(0, 300)},
        {"the pointer stayed", false, std::nullopt},
        {"the pointer stayed under a menu", true, std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(moveTo({0, 0}));
        rest(1);
        ASSERT_NO_FATAL_FAILURE(escapeOnHeader(header));

        std::optional<X11Server::ForeignWindow> menu;
        if (row.menuFirst) {
            X11Server::PointerEvents covered(player().window());
            menu.emplace(player().window().geometry().adjusted(-20, -20, 20, 20), qRgb(255, 0, 0));
            ASSERT_TRUE(X11Server::within2s([&] { return covered.leaves > 0; }));
            rest(1);
        }
        X11Server::WhiteWindow full;
        ASSERT_TRUE(X11Server::within2s([&] { return full.managed(); }));
        ASSERT_TRUE(full.setFullScreen(true) && full.activate());
        ASSERT_TRUE(X11Server::within2s([&] { return !X11Server::viewable(player().window()); }));
        // The pointer moves once the player has settled behind the full-screen window.
        rest(1);
        if (row.meanwhile) {
            ASSERT_TRUE(moveTo(*row.meanwhile));
        }
        ASSERT_TRUE(X11Server::settled());
        ASSERT_TRUE(full.setFullScreen(false));
        ASSERT_TRUE(X11Server::within2s([&] { return X11Server::viewable(player().window()); }));
        ASSERT_TRUE(X11Server::settled());
        menu.reset();
        rest(1);

        // Back onto the header beside where it folded, judged once Qt has delivered the move.
        X11Server::PointerEvents pointer(player().window());
        const QPoint back = header - QPoint(1, 0);
        ASSERT_TRUE(moveTo(back) && X11Server::within2s([&] { return pointer.lastMove == back; }));
        rest(1);
        EXPECT_EQ(model.isExpanded(), row.meanwhile.has_value());
    }
    QCursor::setPos(0, 0);
}

TEST_F(PanelsOnOpenbox, EscapeBesideTheOpenSidebarFoldsItUnderThePointerUntilThePointerLeavesAndComesBack)
{
    PanelModel &model = sidebarModel();
    PanelHostingView &window = sidebar().window();
    const QRect tab = window.geometry();
    const QPoint beside(tab.right() - 3, tab.center().y());
    ASSERT_TRUE(moveTo(beside) && restUntil([&] { return window.width() > 300; }));
    // A click on the word mark gives it the keyboard; back beside it, the pointer rests off its window.
    const auto *mark = sidebar().content()->findChild<QQuickItem *>(QStringLiteral("wordMark"));
    ASSERT_TRUE(mark && moveTo(mark->mapToGlobal(mark->boundingRect().center()).toPoint()));
    ASSERT_TRUE(xdotool({"click", "1"}) && X11Server::within2s([&] { return window.isActive(); }));
    ASSERT_TRUE(moveTo(beside) && restUntil([&] { return surface(1).watchingRestingPointer(); }));

    ASSERT_TRUE(xdotool({"key", "Escape"}));
    ASSERT_TRUE(restUntil([&] { return !model.isExpanded() && window.geometry() == tab; }));
    X11Server::PointerEvents seen(window);
    const QPoint tremor = beside - QPoint(1, 0);
    ASSERT_TRUE(moveTo(tremor) && X11Server::within2s([&] { return seen.lastMove == tremor; }));
    rest(1);
    EXPECT_FALSE(model.isExpanded()) << "a tremor over the folded tab";

    ASSERT_TRUE(moveTo(beside - QPoint(500, 0)));
    rest(0.5);
    ASSERT_TRUE(moveTo(beside) && restUntil([&] { return model.isExpanded(); }));
    QCursor::setPos(0, 0);
}

// The same panels on a bare X server, the test standing in for a window
// manager that keeps the windows of hidden desktops mapped, as KWin does for
// XWayland's: it publishes the desktops, the stacking and a full-screen
// window's states itself (the ctest "Panels.OnBareX11").
namespace {
class StandInWindowManagerOnX11 : public PanelsOnOpenbox {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || X11Server::underWindowManager())
            GTEST_SKIP() << "stands in for the window manager on a bare X server "
                            "(tests/support/run-with-openbox --no-window-manager)";
        showPanels();
    }
    void TearDown() override
    {
        if (!IsSkipped()) {
            for (const char *name :
                {"_NET_CLIENT_LIST_STACKING", "_NET_CURRENT_DESKTOP", "_NET_NUMBER_OF_DESKTOPS"})
                X11Server::deleteProperty(X11Server::rootWindow(), name);
        }
        PanelsOnOpenbox::TearDown();
    }
    static void showDesktop(std::uint32_t desktop)
    {
        X11Server::setProperty(X11Server::rootWindow(), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {desktop});
    }
};
} // namespace

TEST_F(StandInWindowManagerOnX11, AMappedFullScreenWindowOfAHiddenDesktopLeavesThePanelsAndFollowsItsDesktop)
{
    const xcb_window_t rootWindow = X11Server::rootWindow();
    X11Server::setProperty(rootWindow, "_NET_NUMBER_OF_DESKTOPS", XCB_ATOM_CARDINAL, {2});
    showDesktop(1);
    const QRect display = QGuiApplication::primaryScreen()->geometry();
    X11Server::ForeignWindow full(display, white, false);
    X11Server::setProperty(full.id, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL, {0});
    X11Server::setProperty(
        full.id, "_NET_WM_STATE", XCB_ATOM_ATOM, {X11Server::atom("_NET_WM_STATE_FULLSCREEN")});
    X11Server::setProperty(rootWindow, "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW, {full.id});
    const auto onDesktop = [&full](std::uint32_t desktop) {
        X11Server::setProperty(full.id, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL, {desktop});
    };

    // Mapped, full screen, on desktop 0 while desktop 1 is shown: the panels are there, over it.
    ASSERT_TRUE(X11Server::settled());
    EXPECT_TRUE(X11Desktop::instance()->fullScreenAreas().isEmpty());
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    root->panels().showPlayer();
    EXPECT_TRUE(X11Server::within2s([&] { return playerModel().isExpanded() && bothShown(white); }));
    playerModel().dismiss();

    // Switching to its desktop hides them; sending it to the other one brings them back.
    showDesktop(0);
    EXPECT_TRUE(X11Server::within2s([&] { return bothAway(white); }));
    onDesktop(1);
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    // On every desktop, it covers whichever is shown.
    onDesktop(DesktopStacking::everyDesktop);
    EXPECT_TRUE(X11Server::within2s([&] { return bothAway(white); }));
    showDesktop(1);
    EXPECT_TRUE(X11Server::settled() && bothAway(white));

    // A window manager that publishes no desktops: being mapped decides.
    onDesktop(0);
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    X11Server::deleteProperty(rootWindow, "_NET_CURRENT_DESKTOP");
    EXPECT_TRUE(X11Server::within2s([&] { return bothAway(white); }));
}
