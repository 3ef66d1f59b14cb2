#include "FloatingPanel.h"
#include "PanelManager.h"
#include "PanelsOnScreen.h"
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
class PanelLeavesOnWayland : public ::testing::Test, protected PanelsOnScreen {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(WaylandTestClient::compositor().isEmpty())
            << "runs through tests/support/run-with-wayland";
        const QSize output = QGuiApplication::primaryScreen()->geometry().size();
        ASSERT_TRUE(wayland.showWindow(
            {QStringLiteral("--size"), QStringLiteral("%1x%2").arg(output.width()).arg(output.height())}));
        ASSERT_FALSE(screens.seesPointerEverywhere()) << "XWayland says what it is";
        ASSERT_NO_FATAL_FAILURE(startPanels());
        ASSERT_TRUE(X11Server::settled());
    }
    void TearDown() override { stopPanels(); }
    // Counts how often the panel opens and folds.
    void count(PanelModel &panelModel)
    {
        QObject::connect(&panelModel, &PanelModel::interactionChanged, &panelModel, [this, &panelModel] {
            if (panelModel.isExpanded() != expanded)
                ++((expanded = panelModel.isExpanded()) ? opens : folds);
        });
    }

    WaylandTestClient wayland;
    bool expanded = false;
    int opens = 0;
    int folds = 0;
};
} // namespace

TEST_F(PanelLeavesOnWayland, TheSidebarOpenedFromItsTabsOuterHalfFoldsAsThePointerGoesDownTheEdge)
{
    PanelModel &model = sidebarModel();
    count(model);
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
    EXPECT_TRUE(restUntil([&] { return !model.isExpanded() && window.geometry() == tab; }));
    rest(2);
    EXPECT_FALSE(model.isExpanded());
    EXPECT_EQ(window.geometry(), tab);
    EXPECT_EQ(opens, 1);
}

TEST_F(PanelLeavesOnWayland, ThePlayerUnfoldedByThePointerFoldsAsThePointerLeavesStraightDown)
{
    PanelModel &model = playerModel();
    count(model);
    PanelHostingView &window = player().window();
    const QRect folded = window.geometry();
    ASSERT_TRUE(WaylandTestClient::movePointer(folded.center()));
    ASSERT_TRUE(restUntil([&] { return opens == 1; }));
    // Unfolded all the way, the pointer resting on it.
    rest(1);
    const QRect open = window.geometry();
    ASSERT_GT(open.height(), folded.height());
    ASSERT_TRUE(WaylandTestClient::movePointer({open.center().x(), open.center().y() + 10}));
    rest(0.5);
    ASSERT_TRUE(model.isExpanded());

    // Straight down off the open player, onto the Wayland window.
    ASSERT_TRUE(WaylandTestClient::movePointer({open.center().x(), open.bottom() + 150}));
    EXPECT_TRUE(restUntil([&] { return !model.isExpanded() && window.geometry() == folded; }));
    rest(2);
    EXPECT_FALSE(model.isExpanded());
    EXPECT_EQ(opens, 1);
}

TEST_F(PanelLeavesOnWayland, APlayerShownWhereXWaylandLastSawThePointerStaysFoldedUntilThePointerComesOnIt)
{
    const QRect folded = player().window().geometry();
    ASSERT_TRUE(WaylandTestClient::movePointer(folded.center()));
    ASSERT_TRUE(restUntil([&] { return playerModel().isExpanded(); }));
    // The app quits with the pointer on the player and starts again; meanwhile the pointer goes
    // down onto the Wayland window, and XWayland still has it on the player.
    stopPanels();
    root.reset();
    ASSERT_TRUE(WaylandTestClient::movePointer({folded.center().x(), folded.bottom() + 300}));
    ASSERT_NO_FATAL_FAILURE(startPanels());
    ASSERT_TRUE(X11Server::settled());
    count(playerModel());
    count(sidebarModel());
    rest(2);
    EXPECT_EQ(opens, 0);

    ASSERT_TRUE(WaylandTestClient::movePointer(folded.center() + QPoint(20, 0)));
    EXPECT_TRUE(restUntil([&] { return playerModel().isExpanded(); }));
    EXPECT_EQ(opens, 1);
}
