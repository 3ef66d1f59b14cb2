#include "BridgeTestSupport.h"
#include "CoordinatorTestSupport.h"
#include "ScriptedAppleEventTarget.h"
#include "SpotifyBridge.h"
#include "TemporaryHome.h"

// The Automation list's stand-in: the consent question for Spotify asked again,
// its answer recorded, and the coordinator following it.
namespace {

class AutomationSettings : public CoordinatorTest {
protected:
    AutomationSettings()
    {
        spotify->permissionStatus = PlaybackCoordinator::notPermittedStatus;
        run(coordinator->refresh());
    }
};

} // namespace

TEST_F(AutomationSettings, AnAllowingAnswerBringsThePlayerBack)
{
    ASSERT_EQ(coordinator->snapshot().availability, PlayerAvailability::permissionDenied);
    spotify->reconsidered = true;
    coordinator->openAutomationSettings();
    EXPECT_EQ(spotify->asksAgain, 0); // fire and forget: it starts on the next turn
    clock.runUntilIdle();
    EXPECT_EQ(spotify->asksAgain, 1);
    EXPECT_EQ(coordinator->snapshot().availability, PlayerAvailability::ready);
}

TEST_F(AutomationSettings, ADismissedQuestionChangesNothing)
{
    const int reads = spotify->reads;
    coordinator->openAutomationSettings();
    clock.runUntilIdle();
    EXPECT_EQ(spotify->asksAgain, 1);
    EXPECT_EQ(spotify->reads, reads);
    EXPECT_EQ(coordinator->snapshot().availability, PlayerAvailability::permissionDenied);
}

TEST(BridgeConsent, AskingAgainOverwritesTheRecordedRefusal)
{
    ManualScheduler clock;
    QTemporaryDir config;
    const AutomationConsentRecord record(config.filePath("automation.json"));
    record.record(Workspace::spotifyBundleIdentifier, false);
    QStringList asked;
    SpotifyBridge bridge{std::make_shared<ScriptedAppleEventTarget>(4242),
        AutomationPermission(record,
            [&](const QString &application) {
                asked << application;
                return std::optional<bool>(true);
            }),
        clock};
    EXPECT_EQ(drive(clock, bridge.permission(4242, true)).get(), -1743); // a refusal is not asked again
    EXPECT_EQ(drive(clock, bridge.askPermissionAgain()).get(), true);
    EXPECT_EQ(asked, QStringList{"com.spotify.client"});
    EXPECT_EQ(record.answer("com.spotify.client"), true);
    EXPECT_EQ(drive(clock, bridge.permission(4242, false)).get(), 0);
}

TEST(BridgeConsent, TheSessionBridgeAsksWhomItIsGivenAndKeepsTheAnswerInTheUsersFile)
{
    TemporaryHome home;
    ManualScheduler clock;
    QStringList asked;
    SpotifyBridge bridge{clock, [&](const QString &application) {
                             asked << application;
                             return std::optional<bool>(false);
                         }};
    EXPECT_EQ(drive(clock, bridge.askPermissionAgain()).get(), false);
    EXPECT_EQ(asked, QStringList{"com.spotify.client"});
    EXPECT_EQ(AutomationConsentRecord().answer("com.spotify.client"), false);
}

TEST_F(AutomationSettings, EachConnectPutsTheQuestionOnceWhateverIsRecorded)
{
    // Nothing recorded first, then the refusal just given: "Don't Allow" is not asked twice.
    const AutomationConsentRecord record(dir.filePath("automation.json"));
    const auto prompts = std::make_shared<int>(0);
    auto bridge = std::make_shared<SpotifyBridge>(std::make_shared<ScriptedAppleEventTarget>(4242),
        AutomationPermission(record,
            [prompts](const QString &) {
                ++*prompts;
                return std::optional<bool>(false);
            }),
        clock);
    coordinator = std::make_unique<PlaybackCoordinator>(services(bridge, container()));
    for (int connect = 1; connect <= 3; ++connect) {
        EXPECT_TRUE(drive(clock, coordinator->connectAsync()).done());
        EXPECT_EQ(*prompts, connect);
        EXPECT_EQ(coordinator->snapshot().availability, PlayerAvailability::permissionDenied);
        EXPECT_EQ(record.answer(Workspace::spotifyBundleIdentifier), false);
    }
}
