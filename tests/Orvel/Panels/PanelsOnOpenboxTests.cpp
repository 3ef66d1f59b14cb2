#include "AppRootFakes.h"
#include "FloatingPanel.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Screens.h"
#include "ScriptedSpotify.h"
#include "SurfaceWindow.h"
#include "X11Desktop.h"
#include "X11Server.h"

#include <QCursor>
#include <gtest/gtest.h>

// The app's own top player and sidebar on openbox with two workspaces (the
// ctest "Panels.PlacedOnX11" runs tests/support/run-with-openbox), judged by
// what the X server shows.
namespace {
constexpr QRgb white = qRgb(255, 255, 255);
constexpr QRgb desktop = qRgb(0, 200, 0);

class PanelsOnOpenbox : public ::testing::Test, protected AppRootFakes {
protected:
    void SetUp() override
    {
        if (!X11Server::underWindowManager())
            GTEST_SKIP() << "needs an X server with a window manager (tests/support/run-with-openbox)";
        X11Server::paintRoot(desktop);
        workspace.spotifyPid = 4242;
        root = std::make_unique<AppRoot>(outside(nullptr, &screens));
        root->preferences().completeSetup();
        root->panels().start();
        clock.advance(1);
        ASSERT_EQ(root->panels().surfaces().size(), 1u);
        for (QWindow *window : {&player().window(), &sidebar().window()})
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    void TearDown() override
    {
        X11Server::run("wmctrl", {"-k", "off"});
        X11Server::run("wmctrl", {"-s", "0"});
        if (root) {
            root->panels().stop();
            root->coordinator().flush();
            clock.advance(60);
        }
    }
    FloatingPanel &panel(int index) const
    {
        return dynamic_cast<FloatingPanel &>(root->panels().surfaces().begin()->second.at(index)->panel());
    }
    FloatingPanel &player() const { return panel(0); }
    FloatingPanel &sidebar() const { return panel(1); }
    PanelModel &sidebarModel() const { return root->panels().surfaces().begin()->second.at(1)->model(); }
    // Lets `seconds` pass on the app's clock in small steps, handling what the X server sends between them.
    void rest(double seconds)
    {
        for (double passed = 0; passed < seconds; passed += 0.05) {
            clock.advance(0.05);
            QTest::qWait(5);
        }
    }
    // Both panels show on screen, over whatever lies there.
    bool bothShown(QRgb under) const
    {
        return X11Server::viewable(player().window()) && X11Server::viewable(sidebar().window())
            && X11Server::pixel(player().window().geometry().center()) != under
            && X11Server::pixel(sidebar().window().geometry().center()) != under;
    }

    SystemScreens screens;
    std::unique_ptr<AppRoot> root;
};
} // namespace

TEST_F(PanelsOnOpenbox, ThePlayerAndTheSidebarStayThroughWorkspacesShowDesktopAndTheFullScreenChoice)
{
    EXPECT_FALSE(X11Server::output("wmctrl", {"-l"}).contains("Orvel")) << "in no window list";
    ASSERT_EQ(X11Server::run("wmctrl", {"-s", "1"}), 0);
    ASSERT_TRUE(X11Server::within2s([&] { return X11Server::output("wmctrl", {"-d"}).contains("1  *"); }));
    EXPECT_TRUE(bothShown(desktop));
    ASSERT_EQ(X11Server::run("wmctrl", {"-s", "0"}), 0);
    ASSERT_EQ(X11Server::run("wmctrl", {"-k", "on"}), 0);
    ASSERT_TRUE(X11Server::within2s(
        [&] { return X11Server::output("wmctrl", {"-m"}).contains("showing the desktop\" mode: ON"); }));
    EXPECT_TRUE(bothShown(desktop));
    ASSERT_EQ(X11Server::run("wmctrl", {"-k", "off"}), 0);

    // With the choice off (the default) a full-screen window has its display to itself …
    X11Server::WhiteWindow full;
    ASSERT_TRUE(X11Server::within2s([&] { return full.managed(); }));
    ASSERT_TRUE(full.setFullScreen(true) && full.activate());
    const QPoint atPlayer = player().window().geometry().center();
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(atPlayer) == white; }));
    EXPECT_FALSE(X11Server::viewable(sidebar().window()));
    // … while it is the active window.
    {
        X11Server::WhiteWindow other(QStringLiteral("orvel-test-plain"));
        ASSERT_TRUE(X11Server::within2s([&] { return other.managed(); }) && other.activate());
        EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    }
    ASSERT_TRUE(full.activate());
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(atPlayer) == white; }));

    // The switch turned on brings the panels back over it at once, off takes them away.
    root->preferences().setShowInFullScreen(true);
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    root->preferences().setShowInFullScreen(false);
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(atPlayer) == white; }));

    // Leaving full screen shows them; with the switch on, going full screen again keeps them above.
    ASSERT_TRUE(full.setFullScreen(false));
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
    root->preferences().setShowInFullScreen(true);
    ASSERT_TRUE(full.setFullScreen(true) && full.activate());
    ASSERT_TRUE(X11Server::within2s([&] { return X11Desktop::instance()->fullScreenArea().has_value(); }));
    EXPECT_TRUE(X11Server::within2s([&] { return bothShown(white); }));
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
    // The outer half of the tab: the open sidebar ends short of it.
    const QRect tab = sidebar().window().geometry();
    QCursor::setPos(tab.right() - 3, tab.center().y());
    rest(5);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(folds, 0);
    EXPECT_TRUE(model.isExpanded());

    QCursor::setPos(tab.left() - 500, tab.center().y());
    rest(3);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(folds, 1);

    // Folded as Escape does, the tab slides back under the resting pointer and stays folded until it moves.
    QCursor::setPos(tab.right() - 3, tab.center().y());
    rest(1);
    ASSERT_EQ(opens, 2);
    model.dismiss();
    rest(2);
    EXPECT_EQ(folds, 2);
    EXPECT_EQ(opens, 2);
    QCursor::setPos(tab.right() - 4, tab.center().y());
    rest(0.5);
    EXPECT_EQ(opens, 3);
    QCursor::setPos(0, 0);
}
