#include "../Engine/CoordinatorTestSupport.h"
#include "OnboardingFlow.h"
#include "PlatformFeatures.h"

#include <algorithm>
#include <memory>

namespace {
using Flow = OnboardingFlow;

struct FeaturesGuard {
    PlatformFeatures before = PlatformFeatures::current();
    ~FeaturesGuard() { PlatformFeatures::setCurrent(before); }
};

// The guide's flow over the app's coordinator and preferences, with a manual clock.
class OnboardingFlowTest : public CoordinatorTest {
protected:
    OnboardingFlowTest()
    {
        flow->setPreferences(&preferences);
        flow->setPlayer(coordinator.get());
    }
    void show(PlayerAvailability availability)
    {
        coordinator->publish(PlaybackCoordinator::placeholder(availability), true);
    }

    ScopedScheduler installed{clock};
    std::unique_ptr<OnboardingFlow> flow = std::make_unique<OnboardingFlow>();
};
} // namespace

TEST(OnboardingFooter, EachStateOffersItsButtonsAndOnlyTheMovingOnOnesTakeReturn)
{
    EXPECT_EQ(Flow::footer(0, false, false),
        (Flow::Footer{true, false, "Continue", true, true, Flow::PrimaryAction::advance}));
    EXPECT_EQ(Flow::footer(1, false, false),
        (Flow::Footer{false, true, "Connect Spotify", true, false, Flow::PrimaryAction::connect}));
    EXPECT_EQ(Flow::footer(1, false, true),
        (Flow::Footer{
            false, true, QString::fromUtf8("Connecting…"), false, false, Flow::PrimaryAction::connect}));
    EXPECT_EQ(Flow::footer(1, true, false),
        (Flow::Footer{false, false, "Continue", true, true, Flow::PrimaryAction::advance}));
    EXPECT_EQ(Flow::footer(2, false, true),
        (Flow::Footer{false, false, "Start listening", true, true, Flow::PrimaryAction::advance}));
    EXPECT_EQ(Flow::footer(7, false, false).primaryTitle, "Start listening");
}

TEST(OnboardingSpotifyPage, TheInstalledLineFollowsTheLookUpAndOnlyRefusalShowsTheHelp)
{
    const auto notInstalled = Flow::situation(PlayerAvailability::notInstalled, false, false);
    EXPECT_EQ(notInstalled.installedSymbol, "arrow.down.circle");
    EXPECT_FALSE(notInstalled.permissionHelp);
    EXPECT_EQ(notInstalled.title, QString::fromUtf8("Let’s connect your music."));

    const auto refused = Flow::situation(PlayerAvailability::permissionDenied, true, false);
    EXPECT_EQ(refused.installedSymbol, "checkmark.circle");
    EXPECT_TRUE(refused.permissionHelp);
    EXPECT_FALSE(refused.connected);
    EXPECT_EQ(refused.status, "Not connected");
    // Installed whatever the availability says.
    EXPECT_EQ(
        Flow::situation(PlayerAvailability::notInstalled, true, false).installedSymbol, "checkmark.circle");

    for (const auto availability : {PlayerAvailability::ready, PlayerAvailability::noTrack}) {
        const auto ready = Flow::situation(availability, true, false);
        EXPECT_TRUE(ready.connected);
        EXPECT_EQ(ready.title, "Spotify is ready.");
        EXPECT_EQ(ready.status, "Connected");
    }
    EXPECT_FALSE(Flow::isConnected(PlayerAvailability::needsPermission, false));
    EXPECT_TRUE(Flow::isConnected(PlayerAvailability::needsPermission, true));
}

TEST(OnboardingHeader, IndicatorLabelsCountToThreeAndTheLastTitleFollowsTheWidgets)
{
    FeaturesGuard guard;
    EXPECT_EQ(Flow::indicatorLabel(0), "Setup step 1 / 3");
    EXPECT_TRUE(Flow::indicatorLabel(1).endsWith(" 2 / 3"));
    EXPECT_TRUE(Flow::indicatorLabel(2).endsWith(" 3 / 3"));
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(13));
    EXPECT_EQ(Flow::stepTitle(2), "Ready");
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(14));
    EXPECT_EQ(Flow::stepTitle(2), "Widgets");
}

TEST(OnboardingMotion, StepChangesAreImmediateWithPanelsOffLightOrReduceMotion)
{
    MotionPolicy full;
    EXPECT_EQ(Flow::stepAnimation(full), KitAnimation::easeInOut(0.18));
    MotionPolicy panelsOff;
    panelsOff.settings.setEnabled(AnimationFeature::panels, false);
    MotionPolicy light;
    light.light = true;
    MotionPolicy reduced;
    reduced.reduceMotion = true;
    for (const MotionPolicy &policy : {panelsOff, light, reduced})
        EXPECT_FALSE(Flow::stepAnimation(policy).enabled());
}

TEST(OnboardingSurfaces, TheHintAndTheMovingPlayerFollowTheSwitches)
{
    FeaturesGuard guard;
    EXPECT_EQ(
        Flow::surfacesHint(false, true), "Hover to open. Move away to close. Pin a panel to keep it open.");
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(13));
    EXPECT_EQ(Flow::surfacesHint(false, false),
        "Open Orvel from the menu bar. You can enable the floating panels later in Preferences.");
    EXPECT_TRUE(Flow::showsMovingPlayer(true, true));
    EXPECT_FALSE(Flow::showsMovingPlayer(true, false));
    EXPECT_FALSE(Flow::showsMovingPlayer(false, true));
}

TEST_F(OnboardingFlowTest, ANewSnapshotSwapsInContinueWithoutAdvancing)
{
    show(PlayerAvailability::notRunning);
    flow->advance();
    ASSERT_EQ(flow->step(), 1);
    EXPECT_EQ(flow->primaryTitle(), "Connect Spotify");
    EXPECT_TRUE(flow->showsSetUpLater());

    show(PlayerAvailability::noTrack);
    EXPECT_EQ(flow->step(), 1);
    EXPECT_EQ(flow->primaryTitle(), "Continue");
    EXPECT_FALSE(flow->showsSetUpLater());
    EXPECT_TRUE(flow->returnActivates());

    show(PlayerAvailability::permissionDenied);
    EXPECT_EQ(flow->primaryTitle(), "Connect Spotify");
    EXPECT_TRUE(flow->showsPermissionHelp());
    EXPECT_EQ(flow->installedSymbol(), "checkmark.circle");
}

TEST_F(OnboardingFlowTest, SetUpLaterStoresNothingBackReturnsAndStartListeningCompletes)
{
    const auto settingsFile = [this] {
        QFile file(dir.filePath("settings.json"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    show(PlayerAvailability::notRunning);
    preferences.restartSetup();
    const QByteArray before = settingsFile();
    flow->advance();
    flow->setUpLater();
    EXPECT_EQ(flow->step(), 2);
    EXPECT_TRUE(preferences.needsSetup());
    EXPECT_TRUE(spotify->permissionAsks.empty());
    flow->back();
    EXPECT_EQ(flow->step(), 1);
    EXPECT_EQ(flow->primaryTitle(), "Connect Spotify");
    EXPECT_EQ(settingsFile(), before);

    flow->setUpLater();
    flow->advance();
    EXPECT_FALSE(preferences.needsSetup());
    EXPECT_EQ(flow->step(), 2);
}

TEST_F(OnboardingFlowTest, ConnectingHoldsUntilTheAttemptReturnsAndOnlyThePrimaryButtonWaits)
{
    // Spotify launches on the attempt and needs a moment to settle.
    workspace.spotifyPid.reset();
    workspace.launchPid = 4242;
    show(PlayerAvailability::notRunning);
    flow->advance();
    flow->connect();
    EXPECT_TRUE(flow->connecting());
    EXPECT_EQ(flow->primaryTitle(), QString::fromUtf8("Connecting…"));
    EXPECT_FALSE(flow->primaryEnabled());
    EXPECT_TRUE(flow->showsBack());
    EXPECT_TRUE(flow->showsSetUpLater());
    clock.runUntilIdle();
    EXPECT_TRUE(flow->connecting());
    // A second press while connecting starts nothing.
    flow->connect();
    clock.runUntilIdle();
    EXPECT_EQ(workspace.openedSpotify.size(), 1u);

    clock.advance(PlaybackCoordinator::launchSettlePause);
    clock.runUntilIdle();
    EXPECT_FALSE(flow->connecting());
    EXPECT_EQ(std::count(spotify->permissionAsks.begin(), spotify->permissionAsks.end(), true), 1);
    EXPECT_EQ(flow->step(), 1);
    EXPECT_EQ(flow->primaryTitle(), "Continue");
}

TEST_F(OnboardingFlowTest, AGuideGoneDuringTheAttemptIsLeftAloneAndTheAttemptEnds)
{
    workspace.spotifyPid.reset();
    workspace.launchPid = 4242;
    show(PlayerAvailability::notRunning);
    flow->advance();
    flow->connect();
    clock.runUntilIdle();
    ASSERT_TRUE(flow->connecting());
    flow.reset();

    clock.advance(PlaybackCoordinator::launchSettlePause);
    clock.runUntilIdle();
    EXPECT_EQ(std::count(spotify->permissionAsks.begin(), spotify->permissionAsks.end(), true), 1);
    EXPECT_EQ(coordinator->snapshot().availability, PlayerAvailability::ready);
}
