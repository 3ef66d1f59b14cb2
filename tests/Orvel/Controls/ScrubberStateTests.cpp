#include "ManualScheduler.h"
#include "ScrubberState.h"
#include "ScrubberTrack.h"
#include "SkinEnvironment.h"

#include <gtest/gtest.h>
#include <vector>

// The scrubber's edit cycle on a manual clock, with an owner whose commit
// the test holds open for `holdFor` seconds.
namespace {
QCoro::Task<void> held(ManualScheduler &clock, double seconds)
{
    if (seconds > 0)
        co_await clock.sleep(seconds);
}

class Scrubber : public ::testing::Test {
protected:
    Scrubber()
    {
        state.setRange(0, 100);
        state.setStep(5);
        state.setValue(20);
        state.setOnCommit([this](double value) {
            commits.push_back(value);
            return held(clock, holdFor);
        });
        QObject::connect(&state, &ScrubberState::editingChanged, [this](bool on) { editing.push_back(on); });
        QObject::connect(&state, &ScrubberState::draftChanged, [this] { drafts.push_back(state.draft()); });
    }
    ~Scrubber() override
    {
        state.reset();
        clock.advance(60);
    }

    void motion(bool light, bool reduceMotion)
    {
        environment.setValues(
            SkinEnvironment::skinned(Skin::classico, Aura::brand(), light, {}, reduceMotion));
        state.setEnvironment(&environment);
    }

    ManualScheduler clock;
    ScopedScheduler installed{clock};
    SkinEnvironment environment;
    ScrubberState state;
    double holdFor = 0;
    std::vector<double> commits;
    std::vector<bool> editing;
    std::vector<std::optional<double>> drafts;
};
} // namespace

TEST_F(Scrubber, PositionsSnapToTheDragStepHalvesAwayFromZero)
{
    state.setDragStep(1);
    EXPECT_EQ(state.valueAt(37.4, 100), 37);
    EXPECT_EQ(state.valueAt(37.5, 100), 38);
    EXPECT_EQ(state.valueAt(-20, 100), 0);
    EXPECT_EQ(state.valueAt(250, 100), 100);
    state.setDragStep(0);
    EXPECT_DOUBLE_EQ(state.valueAt(37.4, 100), 37.4);
    state.setDragStep(-1);
    EXPECT_DOUBLE_EQ(state.valueAt(37.4, 100), 37.4);
    // Narrower than a point: the raw x is the fraction.
    EXPECT_DOUBLE_EQ(state.valueAt(0.3, 0.5), 30);
    // A grid that does not divide the range still ends inside it.
    state.setDragStep(40); // 100 rounds to 120
    EXPECT_EQ(state.valueAt(100, 100), 100);
}

TEST_F(Scrubber, KeyRunsMoveTheDraftAtOnceAndCommitOnceAfterTheLastPress)
{
    for (int press = 1; press <= 3; ++press) {
        state.increment();
        EXPECT_EQ(state.shownValue(), 20 + 5 * press);
        clock.advance(0.1);
    }
    EXPECT_TRUE(commits.empty());
    clock.advance(0.24); // 0.34 s after the last press
    EXPECT_TRUE(commits.empty());
    clock.advance(0.02);
    EXPECT_EQ(commits, std::vector<double>{35});
    EXPECT_EQ(editing, (std::vector<bool>{true, false}));
    EXPECT_FALSE(state.draft());
    clock.advance(2);
    EXPECT_EQ(commits.size(), 1u);
}

TEST_F(Scrubber, ADragCancelsThePendingKeyedCommitAndCommitsWhereItEnds)
{
    state.increment();
    clock.advance(0.1);
    state.dragChanged(50, 200);
    state.dragChanged(120, 200);
    clock.advance(1); // the keyed commit would have come due
    EXPECT_TRUE(commits.empty());
    EXPECT_EQ(state.shownValue(), 60);
    state.dragEnded(130, 200);
    clock.runUntilIdle();
    EXPECT_EQ(commits, std::vector<double>{65});
    EXPECT_EQ(editing, (std::vector<bool>{true, false})); // one edit, keys and drag together
}

TEST_F(Scrubber, WhileTheCommitRunsInputIsDroppedAndTheDraftStays)
{
    holdFor = 5;
    state.dragChanged(80, 100);
    state.dragEnded(80, 100);
    clock.runUntilIdle();
    ASSERT_EQ(commits, std::vector<double>{80});
    EXPECT_EQ(editing, std::vector<bool>{true}); // never at the end of the drag
    EXPECT_TRUE(state.committing());

    state.dragChanged(10, 100);
    state.dragEnded(10, 100);
    state.increment();
    state.stepTo(3);
    clock.advance(1);
    EXPECT_EQ(state.shownValue(), 80);
    EXPECT_FALSE(state.dragging());
    EXPECT_EQ(commits.size(), 1u);

    state.setValue(79); // the player's answer, a little off
    EXPECT_EQ(state.shownValue(), 80);
    clock.advance(4);
    EXPECT_FALSE(state.committing());
    EXPECT_EQ(state.shownValue(), 79);
    EXPECT_EQ(editing, (std::vector<bool>{true, false}));
    // The draft goes before the edit ends.
    EXPECT_EQ(drafts.back(), std::nullopt);
}

TEST_F(Scrubber, ResetWhileCommittingIsIdleAtOnceAndTheLateReturnChangesNothing)
{
    holdFor = 5;
    state.increment();
    clock.advance(0.35);
    ASSERT_TRUE(state.committing());
    state.reset();
    EXPECT_FALSE(state.committing());
    EXPECT_FALSE(state.editing());
    EXPECT_FALSE(state.draft());
    EXPECT_EQ(editing, (std::vector<bool>{true, false}));

    state.increment(); // a new edit meets the old commit's return
    clock.advance(5);
    EXPECT_EQ(commits, (std::vector<double>{25, 25}));
    EXPECT_EQ(editing, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(state.committing());
}

// Fault mended: a commit that came due after the scrubber was disabled
// (an advertisement began) still sent its command and held the panel open.
TEST_F(Scrubber, NoCommitStartsWhileDisabledAndTheEditEnds)
{
    state.increment();
    state.setEnabled(false);
    clock.advance(0.5);
    EXPECT_TRUE(commits.empty());
    EXPECT_FALSE(state.draft());
    EXPECT_EQ(editing, (std::vector<bool>{true, false}));

    state.setEnabled(true);
    state.dragChanged(40, 100);
    state.setEnabled(false);
    state.dragChanged(90, 100); // ignored while disabled
    state.dragEnded(90, 100);
    clock.runUntilIdle();
    EXPECT_TRUE(commits.empty());
    EXPECT_FALSE(state.dragging());
    EXPECT_FALSE(state.draft());
    EXPECT_EQ(editing, (std::vector<bool>{true, false, true, false}));
    EXPECT_FALSE(state.active());
}

// Fault mended: an unbounded range sent a seek to infinity or NaN.
TEST_F(Scrubber, NeverCommitsANonFiniteValue)
{
    state.setRange(0, std::numeric_limits<double>::infinity());
    state.dragChanged(50, 100);
    state.dragEnded(50, 100);
    state.dragChanged(0, 100); // 0 x infinity
    state.dragEnded(0, 100);
    state.stepTo(std::numeric_limits<double>::quiet_NaN());
    clock.advance(1);
    EXPECT_TRUE(commits.empty());
    EXPECT_FALSE(state.editing());
}

TEST_F(Scrubber, AnEmptyCommitReturnsAtOnce)
{
    state.setOnCommit({});
    state.dragChanged(10, 100);
    state.dragEnded(10, 100);
    clock.runUntilIdle();
    EXPECT_FALSE(state.committing());
    EXPECT_EQ(editing, (std::vector<bool>{true, false}));
}

TEST_F(Scrubber, SwellsOnANewPulseOnlyForProgressAtRestWithMotion)
{
    motion(false, false);
    state.setPulse(QStringLiteral("a")); // where the pulse starts: no change
    EXPECT_FALSE(state.swelling());
    state.setPulse(QVariant());
    EXPECT_FALSE(state.swelling());

    state.setPulse(QStringLiteral("b"));
    EXPECT_TRUE(state.swelling());
    clock.advance(0.1344);
    const ScrubberTrackLayout peak = ScrubberTrackLayout::make(SkinPalette(Skin::classico, Aura::brand()),
        {ScrubberStyle::progress, 0.5, 0, true, state.swell(), state.swellShape()}, QSizeF(200, 14));
    EXPECT_NEAR(peak.track.rect.height(), 12.56, 0.01);
    EXPECT_NEAR(peak.knob.rect.height(), 14.14, 0.01);

    state.setPulse(QStringLiteral("c")); // restarts from zero
    EXPECT_EQ(state.swell(), 0);
    clock.advance(0.85);
    EXPECT_TRUE(state.swelling());
    clock.advance(0.06);
    EXPECT_FALSE(state.swelling());
    EXPECT_EQ(state.swell(), 0);

    state.increment(); // a pending draft
    state.setPulse(QStringLiteral("d"));
    EXPECT_FALSE(state.swelling());
    state.reset();

    motion(true, false); // light effects: the swell is still
    state.setPulse(QStringLiteral("e"));
    EXPECT_FALSE(state.swelling());

    motion(false, true); // Reduce Motion: it runs, without changing shape
    state.setPulse(QStringLiteral("f"));
    EXPECT_TRUE(state.swelling());
    EXPECT_FALSE(state.swellShape());

    state.reset();
    state.setStyle(ScrubberStyle::volume);
    motion(false, false);
    state.setPulse(QStringLiteral("g"));
    EXPECT_FALSE(state.swelling());
}

TEST_F(Scrubber, TheFirstAppearanceRevealsTheFillEasedOutWhenPanelsMayAnimate)
{
    state.setValue(100);
    motion(false, false);
    EXPECT_EQ(state.trackFraction(), 0);
    state.appear();
    clock.advance(0.2);
    const double early = state.trackFraction();
    EXPECT_GT(early, 0.3); // eased out: fast at first
    EXPECT_LT(early, 0.8);
    clock.advance(0.65);
    EXPECT_EQ(state.trackFraction(), 1);

    ScrubberState still;
    still.setValue(0.4);
    SkinEnvironment noPanels;
    noPanels.setValues(SkinEnvironment::skinned(
        Skin::rivista, Aura::brand(), false, AnimationSettings{{AnimationFeature::panels}}, false));
    still.setEnvironment(&noPanels);
    still.appear();
    EXPECT_DOUBLE_EQ(still.trackFraction(), 0.4);
}

TEST_F(Scrubber, IsActiveOnlyWhenEnabled)
{
    state.setHovering(true);
    EXPECT_TRUE(state.active());
    state.setEnabled(false);
    EXPECT_FALSE(state.active());
}
