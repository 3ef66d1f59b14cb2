#include "AppRoot.h"
#include "BridgeTestSupport.h"
#include "CoordinatorTestSupport.h"
#include "MprisAppleEventTransport.h"
#include "SpotifyBridge.h"
#include "fixtures/FakeSpotify.h"
#include "fixtures/FrozenBus.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>

namespace {
// The app's own graph, built by the root from fakes, over the real bridge to
// the fake Spotify client on a private bus, with control allowed.
struct AppOverBus {
    AppOverBus(PrivateBus &bus, const FakeSpotify &player, Scheduler &scheduler)
    {
        workspace.spotifyPid = player.pid();
        consent.record(Workspace::spotifyBundleIdentifier, true);
        root = std::make_unique<AppRoot>(
            AppRoot::Outside{scheduler, defaults, widgets, workspace, login, announcer,
                std::make_shared<SpotifyBridge>(std::make_shared<MprisAppleEventTransport>(bus.connection()),
                    AutomationPermission(consent), scheduler),
                [this] { return SharedStore(dir.filePath("group"), dir.filePath("support")); },
                [] { return false; }, nullptr, false, [] {}});
    }
    ~AppOverBus() { root->coordinator().flush(); }
    PlaybackCoordinator &coordinator() { return root->coordinator(); }

    QTemporaryDir dir;
    AutomationConsentRecord consent{dir.filePath("automation.json")};
    FakeWorkspace workspace;
    Defaults defaults{dir.filePath("defaults.json")};
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    RecordingAnnouncer announcer;
    std::unique_ptr<AppRoot> root;
};
} // namespace

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

    ManualScheduler clock;
    AppOverBus app(bus, player, clock);
    PlaybackCoordinator &coordinator = app.coordinator();

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
}

// With the bus answering nothing, a refresh and a command wait on the bridge's
// thread: the main thread keeps turning, so no panel freezes.
TEST(CoordinatorEndToEnd, ASilentBusNeverHoldsUpTheMainThread)
{
    PrivateBus bus;
    FakeSpotify player(bus);
    player.setMetadata(
        FakeSpotify::track(QStringLiteral("4uLU6hMCjMI75M1A2tKUQC"), "Song", 212'000'000, QString()));
    AppOverBus app(bus, player, Scheduler::current());
    PlaybackCoordinator &coordinator = app.coordinator();

    FrozenBus frozen(bus);
    ASSERT_TRUE(frozen.isFrozen());
    QElapsedTimer elapsed;
    elapsed.start();
    const auto refresh = start(coordinator.refresh());
    const auto command = start(coordinator.perform(PlaybackCommand::next()));
    // Generous bounds: a blocked main thread waits the bus's whole time-out
    // (2 s at least), while a loaded test machine may stall a turn for a few
    // scheduler slices.
    EXPECT_LT(elapsed.elapsed(), 1000);

    // The event loop keeps its pace while both wait.
    qint64 longestTurn = 0;
    elapsed.restart();
    for (qint64 last = 0; elapsed.elapsed() < 600;) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        longestTurn = std::max(longestTurn, elapsed.elapsed() - last);
        last = elapsed.elapsed();
    }
    EXPECT_LT(longestTurn, 1000);
    EXPECT_FALSE(refresh.done());

    frozen.thaw();
    for (QDeadlineTimer guard(10000); !(refresh.done() && command.done()) && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_TRUE(refresh.done());
    EXPECT_TRUE(command.done());
}
