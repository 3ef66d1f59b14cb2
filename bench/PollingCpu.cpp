// CPU time this process spends polling the fake Spotify client, paused and playing.
// Usage: polling-cpu [seconds per phase, default 60]

#include "AutomationPermission.h"
#include "Defaults.h"
#include "FakeLoginItem.h"
#include "FakeWorkspace.h"
#include "MprisAppleEventTransport.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "SpotifyBridge.h"
#include "fixtures/FakeSpotify.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void runFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double phase = argc > 1 ? std::atof(argv[1]) : 60.0;

    PrivateBus bus;
    FakeSpotify player(bus);
    player.setMetadata(FakeSpotify::track(QStringLiteral("4uLU6hMCjMI75M1A2tKUQC"), "Song", 212'000'000, {}));
    player.setProperty("PlaybackStatus", QStringLiteral("Paused"));

    QTemporaryDir dir;
    const AutomationConsentRecord consent(dir.filePath("automation.json"));
    consent.record(Workspace::spotifyBundleIdentifier, true);
    FakeWorkspace workspace;
    workspace.spotifyPid = player.pid();
    Defaults defaults(dir.filePath("defaults.json"));
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    RecordingAnnouncer announcer;
    Preferences preferences(Preferences::Services{&defaults,
        [&dir] { return SharedStore(dir.filePath("group"), dir.filePath("support")); }, &Scheduler::current(),
        &login, &widgets, [] { return false; }});

    PlaybackCoordinator::Services services;
    services.bridge
        = std::make_shared<SpotifyBridge>(std::make_shared<MprisAppleEventTransport>(bus.connection()),
            AutomationPermission(consent), Scheduler::current());
    services.workspace = &workspace;
    services.store = SharedStore(dir.filePath("group"), dir.filePath("support"));
    services.defaults = &defaults;
    services.scheduler = &Scheduler::current();
    services.widgetCenter = &widgets;
    services.preferences = &preferences;
    services.announcer = &announcer;
    PlaybackCoordinator coordinator(std::move(services));

    int publications = 0;
    QObject::connect(&coordinator, &PlaybackCoordinator::snapshotChanged, [&] { ++publications; });
    coordinator.start();
    runFor(1); // the first pass and start-up costs are not the steady state

    for (const bool playing : {false, true}) {
        player.setProperty("PlaybackStatus", playing ? QStringLiteral("Playing") : QStringLiteral("Paused"));
        runFor(playing ? 5.5 : 15.5); // let the pace follow the new state
        publications = 0;
        const double before = cpuSeconds();
        runFor(phase);
        const double used = cpuSeconds() - before;
        std::printf("%s: %.3f s CPU over %.0f s (%.4f %% of one core), %d refreshes\n",
            playing ? "playing (5 s pace)" : "paused (15 s pace)", used, phase, used / phase * 100.0,
            publications);
    }
    coordinator.flush();
    return 0;
}
