#include "AppRoot.h"
#include "BridgeTestSupport.h"
#include "CoordinatorTestSupport.h"
#include "MprisAppleEventTransport.h"
#include "SpotifyBridge.h"
#include "fixtures/FakeSpotify.h"

// The coordinator with the real bridge, talking to the fake Spotify client over a private bus.
TEST(CoordinatorEndToEnd, WritesWhatThePlayerReports)
{
    PrivateBus bus;
    FakeSpotify player(bus);
    const QString id = QStringLiteral("4uLU6hMCjMI75M1A2tKUQC");
    player.setMetadata(
        FakeSpotify::track(id, "Song", 212'000'000, QString())); // no cover: nothing goes to the network
    player.setProperty("PlaybackStatus", QStringLiteral("Paused"));
    player.setProperty("Volume", 0.37);
    player.setProperty("Position", qlonglong(42'000'000));

    QTemporaryDir dir;
    ManualScheduler clock;
    const AutomationConsentRecord consent(dir.filePath("automation.json"));
    ASSERT_TRUE(consent.record(Workspace::spotifyBundleIdentifier, true));
    FakeWorkspace workspace;
    workspace.spotifyPid = player.pid();
    Defaults defaults(dir.filePath("defaults.json"));
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    RecordingAnnouncer announcer;

    // The app's own graph, built by the root, over the real bridge.
    AppRoot root(AppRoot::Outside{clock, defaults, widgets, workspace, login, announcer,
        std::make_shared<SpotifyBridge>(std::make_shared<MprisAppleEventTransport>(bus.connection()),
            AutomationPermission(consent), clock),
        [&dir] { return SharedStore(dir.filePath("group"), dir.filePath("support")); }, [] { return false; },
        nullptr, false, [] {}});
    PlaybackCoordinator &coordinator = root.coordinator();

    drive(clock, [](PlaybackCoordinator &c) -> QCoro::Task<bool> {
        co_await c.refresh();
        co_return true;
    }(coordinator));

    const PlaybackSnapshot stored = coordinator.store().loadSnapshot();
    EXPECT_EQ(stored.availability, PlayerAvailability::ready);
    ASSERT_TRUE(stored.track);
    EXPECT_EQ(stored.track->id, "spotify:track:" + id);
    EXPECT_EQ(stored.track->title, "Song");
    EXPECT_EQ(stored.position, 42.0);
    EXPECT_EQ(stored.volume, 37.0);
    EXPECT_FALSE(stored.isPlaying);
    EXPECT_EQ(stored, coordinator.snapshot());
    coordinator.flush();
}
