// CPU time and resident memory of the app against the fake Spotify client,
// phase by phase: the folded top player paused, playing, and playing under
// light effects; playing after the dashboard was opened on its Appearance page
// and closed; the sidebar open; the top player unfolded. It draws with the
// app's renderer (software unless QT_QUICK_BACKEND names another). Run it on
// a real X server, for example
//     xvfb-run -a -s "-screen 0 1920x1080x24" bench/PanelsCpu [seconds per phase, default 30]
// Built in Release for figures worth quoting (docs/PERFORMANCE.md).

#include "AppDelegate.h"
#include "BenchApp.h"
#include "DashboardWindow.h"

#include <QApplication>
#include <QFile>
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
} // namespace

int main(int argc, char **argv)
{
    chooseAppsPlatform();
    QApplication app(argc, argv);
    const double phase = argc > 1 ? std::atof(argv[1]) : 30.0;
    std::printf("platform %s, Qt Quick backend %s\n", qPrintable(QGuiApplication::platformName()),
        qPrintable(qEnvironmentVariable("QT_QUICK_BACKEND", QStringLiteral("software (the app's choice)"))));

    BenchApp bench;
    AppRoot &root = *bench.root;
    Preferences &preferences = root.preferences();

    int shown = 0;
    for (const auto &[number, windows] : root.panels().surfaces())
        for (const auto &window : windows)
            shown += window->panel().isVisible();
    std::printf("%d panel(s) on screen\n", shown);

    const auto play = [&bench](bool playing) { bench.play(playing); };
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
    if (SurfaceWindow *sidebar = bench.firstPanel(SurfaceKind::sidebar)) {
        sidebar->model().open();
        measure("sidebar open, playing", phase);
        sidebar->model().dismiss();
    } else {
        std::printf("no sidebar on screen\n");
    }
    preferences.setSidebarEnabled(false);

    if (SurfaceWindow *top = bench.firstPanel(SurfaceKind::notch)) {
        top->model().open();
        measure("top player expanded, playing", phase);
        top->model().dismiss();
    }
    return 0;
}
