#include "WidgetHostCommand.h"
#include "WidgetHostSurroundings.h"
#include "X11Compositor.h"
#include "X11Server.h"

#include <gtest/gtest.h>

// The widgets on openbox with two workspaces (the ctest "Widgets.OnOpenbox"
// runs tests/support/run-with-openbox): what the X server shows.
namespace {
class WidgetHostOnOpenbox : public ::testing::Test, protected WidgetHostSurroundings {
protected:
    void SetUp() override
    {
        if (!X11Server::underWindowManager())
            GTEST_SKIP() << "needs an X server with a window manager (tests/support/run-with-openbox)";
        group.write(fixtures::playing());
        ASSERT_TRUE(host = hostOfThePlugin());
        host->show({{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {24, 24}}});
        ASSERT_EQ(host->placed().size(), 1u);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    }
    void TearDown() override
    {
        X11Server::run("wmctrl", {"-k", "off"});
        X11Server::run("wmctrl", {"-s", "0"});
    }
    QQuickWindow *window() const { return host->placed().front()->window(); }

    std::unique_ptr<WidgetHost> host;
};
} // namespace

TEST_F(WidgetHostOnOpenbox, AWidgetStaysOnEveryWorkspaceAndThroughShowDesktopBelowOtherWindows)
{
    const QPoint middle = window()->geometry().center();
    // As the window manager holds it: out of task bars and pagers, a desktop window on every
    // workspace (the last of the requests the host makes, so the workspace switch comes after all).
    const auto held = [&] {
        const QString properties = X11Server::output("xprop", {"-id", QString::number(window()->winId())});
        return properties.contains("_NET_WM_STATE_SKIP_TASKBAR")
            && properties.contains("_NET_WM_STATE_SKIP_PAGER")
            && properties.contains("_NET_WM_WINDOW_TYPE_DESKTOP")
            && properties.contains("_NET_WM_DESKTOP(CARDINAL) = 4294967295");
    };
    EXPECT_TRUE(X11Server::within2s(held));

    // Another program's window opened over it covers it.
    X11Server::WhiteWindow other;
    ASSERT_TRUE(X11Server::within2s([&] { return other.managed(); }));
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(middle) == qRgb(255, 255, 255); }));

    // That window leaves with its workspace and its "show desktop"; the widget stays.
    // Judged once openbox has switched and the app has had every event of it.
    ASSERT_EQ(X11Server::run("wmctrl", {"-s", "1"}), 0);
    ASSERT_TRUE(X11Server::within2s([&] { return X11Server::output("wmctrl", {"-d"}).contains("1  *"); }));
    ASSERT_TRUE(X11Server::settled());
    EXPECT_TRUE(X11Server::viewable(*window()));
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(middle) != qRgb(255, 255, 255); }));
    ASSERT_EQ(X11Server::run("wmctrl", {"-s", "0"}), 0);
    ASSERT_EQ(X11Server::run("wmctrl", {"-k", "on"}), 0);
    ASSERT_TRUE(X11Server::within2s(
        [&] { return X11Server::output("wmctrl", {"-m"}).contains("showing the desktop\" mode: ON"); }));
    ASSERT_TRUE(X11Server::settled());
    EXPECT_TRUE(X11Server::viewable(*window()));
    EXPECT_TRUE(X11Server::within2s([&] { return X11Server::pixel(middle) != qRgb(255, 255, 255); }));
}

TEST_F(WidgetHostOnOpenbox, WithoutACompositorTheDesktopShowsAroundAWidgetsRoundedCorners)
{
    constexpr QRgb desktop = qRgb(0x33, 0x66, 0xcc);
    X11Server::paintRoot(desktop);
    X11Compositor *compositor = X11Compositor::instance();
    ASSERT_TRUE(compositor);
    const QPoint corner = window()->geometry().topLeft() + QPoint(2, 2);
    const QPoint middle = window()->geometry().center();
    const auto desktopAround
        = [&] { return X11Server::pixel(corner) == desktop && X11Server::pixel(middle) != desktop; };
    EXPECT_TRUE(X11Server::within2s(desktopAround));
    {
        X11Server::CompositorStandIn compositing;
        ASSERT_TRUE(X11Server::within2s([&] { return compositor->isCompositing(); }));
        EXPECT_FALSE(compositor->clip(*window()).has_value());
        EXPECT_EQ(X11Server::shape(*window()), QRegion(QRect(QPoint(), window()->size())));
    }
    ASSERT_TRUE(X11Server::within2s([&] { return !compositor->isCompositing(); }));
    EXPECT_TRUE(X11Server::within2s(desktopAround));
}

TEST_F(WidgetHostOnOpenbox, UnderACompositorEachFamilyIsClearOutsideItsRoundedOutlineWithSoftEdges)
{
    X11Compositor *compositor = X11Compositor::instance();
    ASSERT_TRUE(compositor);
    X11Server::CompositorStandIn compositing;
    ASSERT_TRUE(X11Server::within2s([&] { return compositor->isCompositing(); }));
    const std::pair<const char *, WidgetFamily> rows[] = {{"OrvelNowPlaying", WidgetFamily::systemSmall},
        {"OrvelNowPlaying", WidgetFamily::systemMedium}, {"OrvelShortcuts", WidgetFamily::systemLarge}};
    for (const auto &[kind, family] : rows) {
        const std::string name = toRawValue(family).toStdString();
        host->show({{kind, family, "", {24, 24}}});
        ASSERT_EQ(host->placed().size(), 1u) << name;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window())) << name;
        const QRect frame(QPoint(), window()->size());
        EXPECT_EQ(X11Server::depth(*window()), 32) << name;
        EXPECT_EQ(X11Server::shape(*window()), QRegion(frame)) << name;
        QImage content;
        ASSERT_TRUE(X11Server::within2s([&] {
            content = X11Server::content(*window());
            return !content.isNull() && qAlpha(content.pixel(frame.center())) == 255;
        })) << name;
        // Each corner clear, and the edge row beside it fading in over several pixels.
        EXPECT_TRUE(X11Server::clearWithSoftCorners(content, WidgetMetrics::cornerRadius)) << name;
    }
}

TEST_F(WidgetHostOnOpenbox, AWidgetPlacedBeforeSpotifyIsReadyDrawsItsHeaderAsAFreshOne)
{
    // The usual order at login: the widget shows its prompt, then Spotify starts.
    const WidgetPlacement placement{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {24, 24}};
    host->show({});
    group.write(fixtures::snapshot(PlayerAvailability::notInstalled, std::nullopt, false));
    host->show({placement});
    ASSERT_EQ(host->placed().size(), 1u);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    const auto header = [](const QWindow &window) {
        const QImage content = X11Server::content(window);
        return content.copy(0, 0, content.width(), 48);
    };
    QImage prompt;
    ASSERT_TRUE(X11Server::within2s([&] { return !(prompt = header(*window())).isNull(); }));

    group.write(fixtures::snapshot(PlayerAvailability::ready, fixtures::track(), false));
    host->reloadTimelines("OrvelNowPlaying");
    WidgetHost fresh(
        host->widgets(), WidgetHost::Services{clock, bus.connection(), [](const QUrl &) {}, false, {}});
    fresh.show({{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {24, 300}}});
    ASSERT_EQ(fresh.placed().size(), 1u);
    QQuickWindow *expected = fresh.placed().front()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(expected));
    // Judged once the badge's cross-fade has ended in both.
    QImage seen;
    EXPECT_TRUE(X11Server::within2s([&] {
        seen = header(*window());
        return seen != prompt && seen == header(*expected);
    }));
}
