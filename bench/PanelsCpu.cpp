// CPU time and memory of the app with the folded top player on screen,
// against the fake Spotify client: paused, then playing (the player's
// indicator running). Run it on a real X server, for example
//     xvfb-run -a -s "-screen 0 1920x1080x24" bench/PanelsCpu [seconds per phase, default 60]
// Built with the rest in Release for figures worth quoting.

#include "AppRoot.h"
#include "AutomationPermission.h"
#include "Defaults.h"
#include "FakeLoginItem.h"
#include "FakeWorkspace.h"
#include "MprisAppleEventTransport.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "SpotifyBridge.h"
#include "fixtures/FakeSpotify.h"

#include <QApplication>
#include <QFile>
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

// Resident and peak resident memory in MB, from the kernel's account.
std::pair<double, double> residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    double resident = 0;
    double peak = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            const auto kilobytes = [&line] { return line.simplified().split(' ').value(1).toDouble(); };
            if (line.startsWith("VmRSS:"))
                resident = kilobytes() / 1024;
            else if (line.startsWith("VmHWM:"))
                peak = kilobytes() / 1024;
        }
    }
    return {resident, peak};
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const double phase = argc > 1 ? std::atof(argv[1]) : 60.0;
    std::printf("platform %s, Qt Quick backend %s\n", qPrintable(QGuiApplication::platformName()),
        qPrintable(qEnvironmentVariable("QT_QUICK_BACKEND", QStringLiteral("default"))));

    PrivateBus bus;
    FakeSpotify player(bus);
    player.setMetadata(FakeSpotify::track(QStringLiteral("4uLU6hMCjMI75M1A2tKUQC"), "Song", 212'000'000, {}));
    player.setProperty("PlaybackStatus", QStringLiteral("Paused"));

    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    const AutomationConsentRecord consent(dir.filePath("automation.json"));
    consent.record(Workspace::spotifyBundleIdentifier, true);
    FakeWorkspace workspace;
    workspace.spotifyPid = player.pid();
    Defaults defaults(dir.filePath("defaults.json"));
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    RecordingAnnouncer announcer;
    Scheduler &scheduler = Scheduler::current();
    auto bridge
        = std::make_shared<SpotifyBridge>(std::make_shared<MprisAppleEventTransport>(bus.connection()),
            AutomationPermission(consent), scheduler);

    AppRoot root(AppRoot::Outside{scheduler, defaults, widgets, workspace, login, announcer, bridge,
        [&dir] { return SharedStore(dir.filePath("group"), dir.filePath("support")); }, [] { return false; },
        nullptr, false, [] {}});
    Preferences &preferences = root.preferences();
    preferences.completeSetup();
    preferences.setSidebarEnabled(false);
    preferences.setDisplayScope(DisplayScope::primary);
    root.coordinator().start();
    root.panels().start();
    runFor(2); // the first refresh and the windows' first frames are not the steady state

    int shown = 0;
    for (const auto &[number, windows] : root.panels().surfaces())
        for (const auto &window : windows)
            shown += window->panel().isVisible();
    std::printf("%d panel(s) on screen\n", shown);

    for (const bool playing : {false, true}) {
        player.setProperty("PlaybackStatus", playing ? QStringLiteral("Playing") : QStringLiteral("Paused"));
        runFor(playing ? 5.5 : 15.5); // let the pace follow the new state
        const double before = cpuSeconds();
        runFor(phase);
        const double used = cpuSeconds() - before;
        std::printf("%s, folded player: %.3f s CPU over %.0f s (%.3f %% of one core)\n",
            playing ? "playing" : "paused", used, phase, used / phase * 100.0);
    }
    const auto [resident, peak] = residentMegabytes();
    std::printf("resident memory %.1f MB (peak %.1f MB)\n", resident, peak);

    root.panels().stop();
    root.coordinator().flush();
    return 0;
}
