// How long one state read of a cached track (six round trips) takes against the
// fake Spotify client over a private bus, through the bridge's thread and the MPRIS backend.
#include "MprisAppleEventTransport.h"
#include "Scheduler.h"
#include "SpotifyBridge.h"
#include "fixtures/FakeSpotify.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <benchmark/benchmark.h>
#include <optional>

namespace {

QCoro::Task<void> readOnce(SpotifyBridge &bridge, qint32 pid, QEventLoop &loop, bool &ok)
{
    try {
        const PlaybackSnapshot state = co_await bridge.readState(pid);
        ok = state.availability == PlayerAvailability::ready;
    } catch (...) {
        ok = false;
    }
    loop.quit();
}

bool readState(SpotifyBridge &bridge, qint32 pid)
{
    QEventLoop loop;
    bool ok = false;
    auto task = readOnce(bridge, pid, loop, ok);
    if (!task.isReady())
        loop.exec();
    return ok;
}

struct Setup {
    PrivateBus bus;
    FakeSpotify spotify{bus};
    std::shared_ptr<MprisAppleEventTransport> transport
        = std::make_shared<MprisAppleEventTransport>(bus.connection());
    SpotifyBridge bridge{transport, AutomationPermission(), Scheduler::current()};

    Setup() { spotify.setMetadata(FakeSpotify::track("4uLU6hMCjMI75M1A2tKUQC", "Song", 212'000'000)); }
};

void BM_CachedReadState(benchmark::State &state)
{
    Setup setup;
    if (!readState(setup.bridge, setup.spotify.pid())) { // fills the track cache
        state.SkipWithError("the fake Spotify did not answer");
        return;
    }
    for (auto _ : state) {
        if (!readState(setup.bridge, setup.spotify.pid())) {
            state.SkipWithError("a read failed");
            break;
        }
    }
}
BENCHMARK(BM_CachedReadState)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_SixPropertyReadsWithoutTheBridge(benchmark::State &state)
{
    Setup setup;
    AppleEvent event;
    event.eventClass = fourCharCode("core");
    event.eventID = fourCharCode("getd");
    event.targetProcess = setup.spotify.pid();
    event.setParameter(AEKeyword::directObject, SpotifyBridge::specifier("pVol"));
    for (auto _ : state) {
        for (int i = 0; i < 6; ++i)
            benchmark::DoNotOptimize(setup.transport->send(event, 2));
    }
}
BENCHMARK(BM_SixPropertyReadsWithoutTheBridge)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
