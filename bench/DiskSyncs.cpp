// Marks the phases in which docs/PERFORMANCE.md counts the app's fsync calls:
// the sidebar open while Spotify plays, then the idle opacity slider and the
// visualizer's intensity slider each dragged for two seconds (a value every
// frame, as a slider's onMoved gives them). Settings are saved as in the app,
// coalesced. Each phase is bracketed by access("/orvel-phase/NAME-start") and
// "-end", which strace shows beside the fsync calls:
//     xvfb-run -a strace -f -y -e trace=fsync,fdatasync,access -o syncs.log bench/DiskSyncs [seconds]

#include "BenchApp.h"

#include <QApplication>
#include <unistd.h>

namespace {
void mark(const char *phase, const char *edge)
{
    ::access(QByteArray("/orvel-phase/").append(phase).append(edge).constData(), F_OK);
}
} // namespace

int main(int argc, char **argv)
{
    chooseAppsPlatform();
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;

    BenchApp bench(true);
    Preferences &preferences = bench.root->preferences();
    preferences.setSidebarEnabled(true);
    bench.play(true);
    runFor(2);
    SurfaceWindow *sidebar = bench.firstPanel(SurfaceKind::sidebar);
    if (!sidebar) {
        std::printf("no sidebar on screen\n");
        return 1;
    }
    sidebar->model().open();
    runFor(5);
    mark("sidebar-open-playing", "-start");
    runFor(seconds);
    mark("sidebar-open-playing", "-end");

    const int frames = 120;
    mark("idle-opacity-drag", "-start");
    for (int frame = 0; frame < frames; ++frame) {
        preferences.setIdleOpacity(0.15 + 0.6 * frame / frames);
        runFor(2.0 / frames);
    }
    runFor(2); // the write that follows the drag
    mark("idle-opacity-drag", "-end");

    mark("visualizer-intensity-drag", "-start");
    for (int frame = 0; frame < frames; ++frame) {
        preferences.setVisualizerField(QStringLiteral("intensity"), 0.2 + 0.6 * frame / frames);
        runFor(2.0 / frames);
    }
    runFor(2);
    mark("visualizer-intensity-drag", "-end");
    sidebar->model().dismiss();
    std::printf("done\n");
    return 0;
}
