#include "AppRootFakes.h"
#include "DisplayCatalog.h"
#include "FloatingPanel.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Screens.h"
#include "X11Desktop.h"
#include "X11Server.h"

#include <QScreen>
#include <gtest/gtest.h>

// The app's panels on two displays that xrandr mirrors and sets apart again
// (the ctest "Panels.OnTwoDisplays" runs tests/support/run-with-two-displays:
// DUMMY0, the primary one, and DUMMY1 to its right, each 1920x1080).
namespace {
bool xrandr(const QStringList &arguments)
{
    return X11Server::run("xrandr", arguments) == 0;
}

bool sideBySide()
{
    return xrandr({"--output", "DUMMY0", "--mode", "1920x1080", "--pos", "0x0", "--output", "DUMMY1",
        "--mode", "1920x1080", "--pos", "1920x0"});
}

// Qt's screens are at these places, in any order.
bool screensAt(QList<QPoint> places)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.size() != places.size())
        return false;
    for (const QScreen *screen : screens) {
        if (!places.removeOne(screen->geometry().topLeft()))
            return false;
    }
    return true;
}

class PanelsOnTwoDisplays : public ::testing::Test, protected AppRootFakes {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || X11Server::underWindowManager())
            GTEST_SKIP() << "needs two displays (tests/support/run-with-two-displays)";
        ASSERT_TRUE(sideBySide());
        ASSERT_TRUE(QTest::qWaitFor([] { return screensAt({{0, 0}, {1920, 0}}); }, 5000));
        root = startedPanels(screens, X11Desktop::instance());
    }
    void TearDown() override
    {
        if (root) {
            root->panels().stop();
            root->coordinator().flush();
            clock.advance(60);
        }
        sideBySide();
    }
    // The top players the X server shows, by where they are.
    QList<QRect> playersShown() const
    {
        QList<QRect> shown;
        for (const auto &[number, windows] : root->panels().surfaces()) {
            auto &panel = dynamic_cast<FloatingPanel &>(windows.front()->panel());
            if (X11Server::viewable(panel.window()))
                shown.append(panel.window().geometry());
        }
        return shown;
    }

    SystemScreens screens;
    std::unique_ptr<AppRoot> root;
};
} // namespace

TEST_F(PanelsOnTwoDisplays, MirroredDisplaysShowOnePlayerAtTheFirstOnesPlaceAndOneEntry)
{
    ASSERT_EQ(root->displays().displays().size(), 2);
    const QString first = root->displays().displays()[0].id;
    const QString second = root->displays().displays()[1].id;
    root->preferences().setPlayerPosition(PlayerPosition(0.25, 0.5), first);
    root->preferences().setPlayerPosition(PlayerPosition(0.75, 0.5), second);
    ASSERT_TRUE(X11Server::within2s([&] { return playersShown().size() == 2; }));

    ASSERT_TRUE(xrandr({"--output", "DUMMY1", "--same-as", "DUMMY0"}));
    ASSERT_TRUE(QTest::qWaitFor([] { return screensAt({{0, 0}, {0, 0}}); }, 5000));
    // One player, where the first display keeps it: its centre a quarter across.
    EXPECT_TRUE(X11Server::within2s([&] {
        const QList<QRect> shown = playersShown();
        return shown.size() == 1 && std::abs(shown.front().center().x() - 480) <= 2;
    })) << playersShown().size();
    EXPECT_EQ(root->panels().surfaces().size(), 1u);
    ASSERT_EQ(root->displays().displays().size(), 1);
    EXPECT_EQ(root->displays().displays()[0].id, first);

    // Apart again, each has its own player at its own place.
    ASSERT_TRUE(sideBySide());
    ASSERT_TRUE(QTest::qWaitFor([] { return screensAt({{0, 0}, {1920, 0}}); }, 5000));
    EXPECT_TRUE(X11Server::within2s([&] {
        const QList<QRect> shown = playersShown();
        return shown.size() == 2 && std::any_of(shown.begin(), shown.end(), [](const QRect &at) {
            return std::abs(at.center().x() - (1920 + 1440)) <= 2;
        });
    }));
}

TEST_F(PanelsOnTwoDisplays, AMonitorsNameLosesTheDashQtMakesOfItsLineFeedAndItsStoredChoicesFollow)
{
    // Model and serial number end in a line feed and spaces, as most monitors' do.
    QByteArray edid(128, '\0');
    edid.replace(1, 6, QByteArray(6, '\xff'));
    edid[8] = char(0x10); // "DEL"
    edid[9] = char(0xac);
    const auto text = [&edid](int at, char kind, const char(&field)[14]) {
        edid[at + 3] = kind;
        edid.replace(at + 5, 13, QByteArray(field, 13));
    };
    text(0x36, char(0xfc), "DELL U2720Q\n ");
    text(0x48, char(0xff), "5KC0353\n     ");
    const QString dashed = "edid:Dell Inc./DELL U2720Q-/5KC0353-";
    const QString clean = "edid:Dell Inc./DELL U2720Q/5KC0353";
    Preferences &preferences = root->preferences();
    preferences.setPlayerPosition(PlayerPosition(0.75, 0.5), dashed);
    preferences.setSelectedDisplayID(dashed);
    preferences.setDisplayScope(DisplayScope::selected);

    // The monitor comes on DUMMY1.
    ASSERT_TRUE(X11Server::setEdid("DUMMY1", edid));
    ASSERT_TRUE(xrandr({"--output", "DUMMY1", "--off"}));
    ASSERT_TRUE(QTest::qWaitFor([] { return screensAt({{0, 0}}); }, 5000));
    ASSERT_TRUE(sideBySide());
    ASSERT_TRUE(QTest::qWaitFor([] { return screensAt({{0, 0}, {1920, 0}}); }, 5000));
    ASSERT_TRUE(X11Server::within2s([&] { return root->displays().displays().size() == 2; }));

    const DisplayCatalog::Display &monitor = root->displays().displays()[1];
    EXPECT_EQ(monitor.name, "Dell Inc. DELL U2720Q");
    EXPECT_EQ(monitor.id, clean);
    EXPECT_EQ(preferences.selectedDisplayID(), clean);
    EXPECT_EQ(preferences.playerPositions().keys(), QStringList{clean});
    // Its player alone shows, where it was stored: the centre three quarters across.
    EXPECT_TRUE(X11Server::within2s([&] {
        const QList<QRect> shown = playersShown();
        return shown.size() == 1 && std::abs(shown.front().center().x() - (1920 + 1440)) <= 2;
    }));
}
