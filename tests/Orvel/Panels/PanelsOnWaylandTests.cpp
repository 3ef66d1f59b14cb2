#include "AppRootFakes.h"
#include "DisplayCatalog.h"
#include "FloatingPanel.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Screens.h"
#include "SurfaceWindow.h"
#include "WaylandDesktop.h"
#include "WaylandSession.h"
#include "X11Desktop.h"
#include "X11Server.h"
#include "fixtures/WaylandTestClient.h"

#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

// The app's panels on XWayland beside a real compositor (sway or KWin, from
// tests/support/run-with-wayland): what our own Wayland connection learns of
// native windows and outputs, judged by what the X server maps.
namespace {
constexpr int boundMs = 10000;

bool onKWin()
{
    return WaylandTestClient::compositor() == QLatin1String("kwin");
}

class PanelsOnWayland : public ::testing::Test, protected AppRootFakes {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QLatin1String("xcb"));
        session = WaylandSession::connectToSession();
        ASSERT_TRUE(session) << "no compositor at WAYLAND_DISPLAY";
        ASSERT_TRUE(QTest::qWaitFor([&] { return session->settled(); }, boundMs));
        ASSERT_NE(X11Desktop::instance(), nullptr);
        desktop = std::make_unique<WaylandDesktop>(*X11Desktop::instance(), *session);
        screens = std::make_unique<SystemScreens>(*session);
    }
    void TearDown() override
    {
        if (root) {
            root->panels().stop();
            root->coordinator().flush();
            clock.advance(60);
        }
    }
    void startApp()
    {
        AppRoot::Outside parts = outside(nullptr, screens.get());
        parts.desktop = desktop.get();
        root = std::make_unique<AppRoot>(parts);
        root->preferences().completeSetup();
        root->panels().start();
        clock.advance(1);
        ASSERT_EQ(root->panels().surfaces().size(), 1u);
        ASSERT_TRUE(QTest::qWaitFor([&] { return bothMapped(); }, boundMs));
    }
    FloatingPanel &panel(int index) const
    {
        return dynamic_cast<FloatingPanel &>(root->panels().surfaces().begin()->second.at(index)->panel());
    }
    bool bothMapped() const
    {
        return X11Server::viewable(panel(0).window()) && X11Server::viewable(panel(1).window());
    }
    bool bothAway() const
    {
        return !X11Server::viewable(panel(0).window()) && !X11Server::viewable(panel(1).window());
    }
    // The panels show, or stay away, once the app has had every event of the change.
    bool shown()
    {
        return QTest::qWaitFor([&] { return bothMapped(); }, boundMs) && X11Server::settled() && bothMapped();
    }
    bool away()
    {
        return QTest::qWaitFor([&] { return bothAway(); }, boundMs) && X11Server::settled() && bothAway();
    }

    std::unique_ptr<WaylandSession> session;
    std::unique_ptr<WaylandDesktop> desktop;
    std::unique_ptr<SystemScreens> screens;
    std::unique_ptr<AppRoot> root;
};
} // namespace

TEST_F(PanelsOnWayland, ANativeFullScreenWindowKeepsThePanelsAwayUntilItLeavesIsMinimisedOrQuits)
{
    ASSERT_NE(session->windows(), WaylandSession::Windows::none);
    startApp();
    WaylandTestClient video;
    ASSERT_TRUE(video.showWindow({QStringLiteral("--fullscreen")}));
    EXPECT_TRUE(away());
    EXPECT_TRUE(root->preferences().showInFullScreen() == false);

    ASSERT_TRUE(video.command("unfullscreen"));
    EXPECT_TRUE(shown());
    ASSERT_TRUE(video.command("fullscreen"));
    EXPECT_TRUE(away());

    // With the choice on, the panels stay above it.
    root->preferences().setShowInFullScreen(true);
    clock.advance(1);
    EXPECT_TRUE(shown());
    root->preferences().setShowInFullScreen(false);
    clock.advance(1);
    EXPECT_TRUE(away());

    // sway has no minimised windows: a request to minimise leaves the window as it is.
    if (onKWin()) {
        ASSERT_TRUE(video.command("minimize"));
        EXPECT_TRUE(shown());
        ASSERT_TRUE(video.command("quit"));
        ASSERT_TRUE(video.endedCleanly());
        EXPECT_TRUE(shown());
        return;
    }
    ASSERT_TRUE(video.command("quit"));
    ASSERT_TRUE(video.endedCleanly());
    EXPECT_TRUE(shown());
}

TEST_F(PanelsOnWayland, TheDisplayIsNamedByTheCompositorsOutputAndStoredChoicesFollowIt)
{
    // Earlier versions stored choices under X11's name of the output.
    const QString x11Name = QGuiApplication::primaryScreen()->name();
    ASSERT_TRUE(x11Name.startsWith(QLatin1String("XWAYLAND"))) << x11Name.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session->outputs().isEmpty(); }, boundMs));
    AppRootFakes::defaults.set("selectedDisplayID", x11Name);
    startApp();
    // sway's headless output and KWin's virtual one report no monitor: the connector names them.
    const QString connector = onKWin() ? QStringLiteral("Virtual-0") : QStringLiteral("HEADLESS-1");
    const QString name = onKWin() ? connector : QStringLiteral("headless");
    const QList<DisplayCatalog::Display> &displays = root->displays().displays();
    ASSERT_EQ(displays.size(), 1);
    EXPECT_EQ(displays[0].title(), "1. " + name);
    const QString id = onKWin() ? connector : QStringLiteral("edid:headless/headless/");
    EXPECT_EQ(displays[0].id, id);
    EXPECT_EQ(root->preferences().selectedDisplayID(), id);
    EXPECT_EQ(root->panels().surfaces().begin()->second.at(0)->displayID(), id);
}
