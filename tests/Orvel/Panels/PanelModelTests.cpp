#include "ManualScheduler.h"
#include "PanelModel.h"

#include <gtest/gtest.h>

// The panel state machine on a manual clock.
namespace {
ScreenGeometry notched()
{
    const Rect frame{0, 0, 1512, 982};
    return ScreenGeometry(frame, Rect{0, 0, 1512, 950}, 200, 32, 656);
}

class Panel : public ::testing::Test {
protected:
    explicit Panel(SurfaceKind kind = SurfaceKind::notch)
        : model(kind, notched(), clock)
    {
        model.onChange = [this] { ++changes; };
    }
    void advanceTo(double t)
    {
        clock.advance(t - elapsed);
        elapsed = t;
    }

    ManualScheduler clock;
    PanelModel model;
    int changes = 0;
    double elapsed = 0;
};
} // namespace

TEST_F(Panel, OpensAfterTheHoverDelayAndFoldsAfterLeaving)
{
    model.hover(true);
    advanceTo(0.19);
    EXPECT_FALSE(model.isExpanded());
    advanceTo(0.2);
    EXPECT_TRUE(model.isExpanded());
    EXPECT_EQ(changes, 1);

    model.hover(false);
    advanceTo(0.79);
    EXPECT_TRUE(model.isExpanded());
    advanceTo(0.8);
    EXPECT_FALSE(model.isExpanded());
    EXPECT_EQ(changes, 2);
}

TEST_F(Panel, PeekStripShowsAtOnceAndTheKeysHoldItFolded)
{
    model.applySkills(SkillPlacement::peek);
    model.hover(true);
    EXPECT_TRUE(model.peeking());
    EXPECT_EQ(changes, 1);
    model.skillsHover(true);
    advanceTo(5);
    EXPECT_FALSE(model.isExpanded());
    model.skillsHover(false);
    advanceTo(5.89);
    EXPECT_FALSE(model.isExpanded());
    advanceTo(5.9);
    EXPECT_TRUE(model.isExpanded());
}

TEST_F(Panel, PinnedStaysOpenButStopsPeeking)
{
    model.applySkills(SkillPlacement::peek);
    model.hover(true);
    model.togglePin();
    EXPECT_TRUE(model.isExpanded());
    model.hover(false);
    advanceTo(1);
    EXPECT_TRUE(model.isExpanded());
    EXPECT_FALSE(model.peeking());

    model.dismiss();
    EXPECT_FALSE(model.pinned());
    EXPECT_FALSE(model.isExpanded());
}

TEST_F(Panel, HoverDuringADragOnlyRecordsThePointer)
{
    model.beginDrag();
    model.hover(true);
    advanceTo(2);
    EXPECT_TRUE(model.hovered());
    EXPECT_FALSE(model.isExpanded());
    EXPECT_EQ(clock.pendingSleepers(), 0u);
}

TEST_F(Panel, APlayerDroppedUnderThePointerStaysFoldedUntilLeftOnce)
{
    model.pointerInside = [] { return true; };
    model.beginDrag();
    model.endDrag(true);
    advanceTo(1);
    EXPECT_FALSE(model.isExpanded());
    EXPECT_EQ(model.interactionCount(), 0);

    model.hover(false);
    model.hover(true);
    advanceTo(1.2);
    EXPECT_TRUE(model.isExpanded());
}

TEST_F(Panel, AnnouncementRunsItsPhasesAndOpeningEndsIt)
{
    model.announce(4);
    EXPECT_TRUE(model.announcing());
    advanceTo(0.04);
    EXPECT_TRUE(model.showsAnnouncement());
    advanceTo(4.04);
    EXPECT_FALSE(model.showsAnnouncement());
    EXPECT_TRUE(model.announcing());
    advanceTo(4.39);
    EXPECT_FALSE(model.announcing());
    EXPECT_EQ(changes, 2);

    model.announce(4);
    advanceTo(5);
    model.announce(4); // restarts without a second change
    EXPECT_EQ(changes, 3);
    model.open();
    EXPECT_FALSE(model.announcing());
    EXPECT_FALSE(model.showsAnnouncement());
    advanceTo(20);
    EXPECT_FALSE(model.announcing());
}

TEST_F(Panel, AnnouncesOnlyAtHomeUnderANotchWhileFolded)
{
    model.setPosition(PlayerPosition(0.5, 0.8));
    EXPECT_TRUE(model.opensUpward());
    EXPECT_FALSE(model.hasNotch());
    model.announce(4);
    EXPECT_FALSE(model.announcing());

    model.setPosition(std::nullopt);
    model.open();
    model.announce(4);
    EXPECT_FALSE(model.announcing());

    PanelModel sidebar(SurfaceKind::sidebar, notched(), clock);
    sidebar.announce(4);
    EXPECT_FALSE(sidebar.announcing());
}

TEST_F(Panel, ATaskOutlivingItsModelTouchesNothing)
{
    auto doomed = std::make_unique<PanelModel>(SurfaceKind::notch, notched(), clock);
    doomed->hover(true);
    doomed->announce(1);
    clock.runUntilIdle();
    doomed.reset();
    clock.advance(5);
    SUCCEED();
}

TEST_F(Panel, OpeningLeavesAPendingLeaveDecisionToFoldThePanel)
{
    model.hover(true);
    advanceTo(0.2);
    model.hover(false);
    advanceTo(0.3);
    model.open();
    EXPECT_TRUE(model.isExpanded());
    advanceTo(0.8);
    EXPECT_FALSE(model.isExpanded());
}

TEST_F(Panel, OnlyRealChangesAskTheWindowToReLay)
{
    model.dismissAnnouncement();
    model.collapse();
    model.setInteracting(true);
    model.beginDrag();
    EXPECT_EQ(changes, 0);

    model.togglePin();
    EXPECT_EQ(changes, 1);
    model.dismiss();
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(model.pinned());
    EXPECT_EQ(model.interactionCount(), 0);

    model.setInteracting(false);
    EXPECT_EQ(model.interactionCount(), 0);
}
