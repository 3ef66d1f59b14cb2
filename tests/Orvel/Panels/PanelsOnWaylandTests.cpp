#include "AppRootFakes.h"
#include "FloatingPanel.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Screens.h"
#include "SurfaceWindow.h"
#include "X11Desktop.h"
#include "X11Server.h"
#include "fixtures/WaylandTestClient.h"

#include <QTest>
#include <gtest/gtest.h>

// The app's own panels on XWayland beside a real compositor (sway and KWin,
// through tests/support/run-with-wayland), over a Wayland window as large as
// the output: the pointer, moved by the compositor's seat, leaves them onto a
// Wayland surface, where XWayland no longer follows it.
namespace {
class PanelsOnWayland : public ::testing::Test, protected AppRootFakes {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(WaylandTestClient::compositor().isEmpty())
            << "runs through tests/support/run-with-wayland";
        const QSize output = QGuiApplication::primaryScreen()->geometry().size();
        ASSERT_TRUE(wayland.showWindow(
            {QStringLiteral("--size"), QStringLiteral("%1x%2").arg(output.width()).arg(output.height())}));
        ASSERT_FALSE(screens.seesPointerEverywhere()) << "XWayland says what it is";
        workspace.spotifyPid = 4242;
        AppRoot::Outside parts = outside(nullptr, &screens);
        parts.desktop = X11Desktop::instance();
        root = std::make_unique<AppRoot>(parts);
        root->preferences().completeSetup();
        root->panels().start();
        clock.advance(1);
        ASSERT_EQ(root->panels().surfaces().size(), 1u);
        for (QWindow *window : {&player().window(), &sidebar().window()})
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 5000));
        ASSERT_TRUE(X11Server::settled());
    }
    void TearDown() override
    {
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
    PanelModel &model(int index) const
    {
        return root->panels().surfaces().begin()->second.at(index)->model();
    }
    // Lets `seconds` pass on the app's clock in small steps, handling what the X server sends between them.
    void rest(double seconds)
    {
        for (double passed = 0; passed < seconds; passed += 0.05) {
            clock.advance(0.05);
            QTest::qWait(5);
        }
    }
    // Until the condition holds or ten seconds have passed on the app's clock.
    template<class Condition>
    bool restUntil(Condition condition)
    {
        for (double passed = 0; passed < 10 && !condition(); passed += 0.05)
            rest(0.05);
        return condition();
    }
    // Counts how often the panel opens and folds.
    void count(PanelModel &panelModel)
    {
        QObject::connect(&panelModel, &PanelModel::interactionChanged, &panelModel, [this, &panelModel] {
            if (panelModel.isExpanded() != expanded)
                ++((expanded = panelModel.isExpanded()) ? opens : folds);
        });
    }

    WaylandTestClient wayland;
    SystemScreens screens;
    std::unique_ptr<AppRoot> root;
    bool expanded = false;
    int opens = 0;
    int folds = 0;
};
} // namespace

TEST_F(PanelsOnWayland, TheSidebarOpenedFromItsTabsOuterHalfFoldsAsThePointerGoesDownTheEdge)
{
    PanelModel &sidebarModel = model(1);
    count(sidebarModel);
    PanelHostingView &window = sidebar().window();
    const QRect tab = window.geometry();
    const QPoint outerHalf(tab.right() - 3, tab.center().y());
    ASSERT_TRUE(WaylandTestClient::movePointer(outerHalf));
    ASSERT_TRUE(restUntil([&] { return opens == 1; }));
    // The open sidebar slides from under the resting pointer.
    ASSERT_TRUE(restUntil([&] { return window.width() > 300; }));
    rest(1);

    // Down the display's edge, onto the Wayland window: XWayland still has the pointer beside the sidebar.
    ASSERT_TRUE(WaylandTestClient::movePointer({outerHalf.x(), tab.bottom() + 200}));
    EXPECT_TRUE(restUntil([&] { return !sidebarModel.isExpanded() && window.geometry() == tab; }));
    rest(2);
    EXPECT_FALSE(sidebarModel.isExpanded());
    EXPECT_EQ(window.geometry(), tab);
    EXPECT_EQ(opens, 1);
}
