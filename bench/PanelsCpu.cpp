// CPU time and resident memory of the app against the fake Spotify client,
// phase by phase: the folded top player paused, playing, and playing under
// light effects; playing after the dashboard was opened on its Appearance page
// and closed; the sidebar open; the top player unfolded. It draws with the
// app's renderer (software unless QT_QUICK_BACKEND names another). Run it on
// a real X server, for example
//     xvfb-run -a -s "-screen 0 1920x1080x24" bench/PanelsCpu [seconds per phase, default 30]
// Built in Release for figures worth quoting (docs/PERFORMANCE.md).

#include "AppDelegate.h"
#include "AppRoot.h"
#include "AutomationPermission.h"
#include "DashboardWindow.h"
#include "Defaults.h"
#include "FakeLoginItem.h"
#include "FakeWorkspace.h"
#include "MprisAppleEventTransport.h"
#include "OrvelMain.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "SpotifyBridge.h"
#include "X11Desktop.h"
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

// Runs one phase after letting the new state settle, and prints its share of a core and the memory.
void measure(const char *phase, double seconds, double settle = 5.5)
{
    runFor(settle);
    const double before = cpuSeconds();
    runFor(seconds);
    const double used = cpuSeconds() - before;
    const auto [resident, peak] = residentMegabytes();
    std::printf("%-46s %6.3f %% of one core (%.3f s over %.0f s), resident %.1f MB (peak %.1f MB)\n", phase,
        used / seconds * 100.0, used, seconds, resident, peak);
    std::fflush(stdout);
}

SurfaceWindow *firstPanel(AppRoot &root, SurfaceKind kind)
{
    for (const auto &[number, windows] : root.panels().surfaces())
        for (const auto &window : windows)
            if (window->model().kind() == kind)
                return window.get();
    return nullptr;
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    OrvelMain::chooseRenderer();
    QApplication app(argc, argv);
    const double phase = argc > 1 ? std::atof(argv[1]) : 30.0;
    std::printf("platform %s, Qt Quick backend %s\n", qPrintable(QGuiApplication::platformName()),
        qPrintable(qEnvironmentVariable("QT_QUICK_BACKEND", QStringLiteral("software (the app's choice)"))));

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

    AppRoot::Outside outside{scheduler, defaults, widgets, workspace, login, announcer, bridge,
        [&dir] { return SharedStore(dir.filePath("group"), dir.filePath("support")); }, [] { return false; },
        nullptr, false, [] {}};
    // The desktop the app's panels follow, as in the app.
    outside.desktop = X11Desktop::instance();
    AppRoot root(outside);
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

    // Until the app has seen the new state (its pace while paused is slow), at most a minute.
    const auto play = [&player, &root](bool playing) {
        player.setProperty("PlaybackStatus", playing ? QStringLiteral("Playing") : QStringLiteral("Paused"));
        for (int waited = 0; root.coordinator().snapshot().isPlaying != playing && waited < 600; ++waited)
            runFor(0.1);
        if (root.coordinator().snapshot().isPlaying != playing)
            std::printf("the app did not see the player %s\n", playing ? "play" : "pause");
    };
    play(false);
    measure("folded player, paused", phase, 15.5);
    play(true);
    measure("folded player, playing", phase);
    preferences.setEffects(EffectsMode::light);
    measure("folded player, playing, light effects", phase);
    preferences.setEffects(EffectsMode::standard);

    // The dashboard on its Appearance page (the visualizer's live preview), then closed.
    root.delegate().openDashboard(DashboardSection::personalization);
    runFor(3);
    if (DashboardWindow *dashboard = root.delegate().dashboard(); dashboard && dashboard->window())
        dashboard->window()->close();
    measure("folded player, playing, dashboard closed", phase);

    preferences.setSidebarEnabled(true);
    runFor(2);
    if (SurfaceWindow *sidebar = firstPanel(root, SurfaceKind::sidebar)) {
        sidebar->model().open();
        measure("sidebar open, playing", phase);
        sidebar->model().dismiss();
    } else {
        std::printf("no sidebar on screen\n");
    }
    preferences.setSidebarEnabled(false);

    if (SurfaceWindow *top = firstPanel(root, SurfaceKind::notch)) {
        top->model().open();
        measure("top player expanded, playing", phase);
        top->model().dismiss();
    }

    root.panels().stop();
    root.coordinator().flush();
    return 0;
}
