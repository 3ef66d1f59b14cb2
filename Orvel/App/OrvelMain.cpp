#include "OrvelMain.h"

#include "AppBus.h"
#include "AppDelegate.h"
#include "AppRoot.h"
#include "Assets.h"
#include "Bundle.h"
#include "KeptFiles.h"
#include "Localization.h"
#include "TerminationSignals.h"
#include "XdgBaseDirectories.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTextStream>
#include <QTimer>

namespace {
Q_LOGGING_CATEGORY(lcMain, "com.velbrandtoro.Orvel.main")

// Tries a few times: the owner may quit between our failed claim and the hand-over.
constexpr int claimAttempts = 3;
} // namespace

void OrvelMain::chooseRenderer()
{
    // The panels stay on screen all day: Qt Quick's software renderer redraws
    // only what changed and keeps the folded player near idle, where a GL
    // context (software GL on many machines) costs twice the CPU and memory.
    // It is also what every view is tested with. A chosen backend still wins.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // Its frames on X are a few small rectangles: sending them with the
    // request costs less than a shared-memory image, which makes every frame
    // wait for the server and wakes the app again when the server is done.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    // A window asked to update draws on the next turn of the event loop, not
    // after Qt's default 5 ms: each frame of the playing indicator then wakes
    // the app once instead of twice. Updates of one turn still make one frame.
    if (!qEnvironmentVariableIsSet("QT_QPA_UPDATE_IDLE_TIME"))
        qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
}

int OrvelMain::main(int argc, char *argv[])
{
    // Answered before the application starts, so it works without a display.
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--version") == 0) {
            QTextStream(stdout) << "Orvel " << ORVEL_VERSION << '\n';
            return 0;
        }
    }

    // A file-size limit then fails a save, which is logged and retried, instead of killing the app.
    KeptFiles::ignoreFileSizeSignal();
    // Before anything asks where the files it keeps live.
    XdgBaseDirectories::ignoreRelative();

    // Wayland lets no client place its own windows, and the panels must: on a
    // Wayland session Orvel runs through XWayland. A chosen platform still wins.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    chooseRenderer();

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvel"));
    QApplication::setApplicationVersion(QStringLiteral(ORVEL_VERSION));
    QApplication::setDesktopFileName(QString(Bundle::identifier));
    QApplication::setWindowIcon(Assets::applicationIcon());
    installLinuxWording();

    // Caught from here on: a SIGTERM (a logout) while Orvel starts ends it as
    // cleanly as one later, rather than killing it mid-way. One that comes
    // before the event loop runs makes it skip the loop.
    TerminationSignals terminationSignals;
    bool ending = false;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &application, [&ending](int number) {
        qCInfo(lcMain) << "Ending on signal" << number;
        ending = true;
        QCoreApplication::quit();
    });

    QStringList urls = QApplication::arguments().mid(1);

    AppBus bus;
    for (int attempt = 0;; ++attempt) {
        const AppBus::Claim claim = bus.claim();
        if (claim == AppBus::Claim::owned)
            break;
        if (claim == AppBus::Claim::noBus) {
            qCWarning(lcMain) << "No session bus: this copy of Orvel runs without single-instance check.";
            break;
        }
        if (bus.forward(urls))
            return 0;
        if (attempt + 1 == claimAttempts) {
            qCWarning(lcMain) << "Could not reach the running Orvel; leaving it be.";
            return 0;
        }
    }

    const std::unique_ptr<AppRoot> root = AppRoot::production();
    AppDelegate &delegate = root->delegate();
    QObject::connect(&bus, &AppBus::urlsReceived, &delegate, &AppDelegate::open);
    // A later launch without URLs is a reopen: the dashboard comes forward.
    QObject::connect(&bus, &AppBus::showDashboardRequested, &delegate, &AppDelegate::showDashboardRequested);

    QObject::connect(
        &application, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::applicationWillTerminate);
    // Logging out may end the process without a quit: the settings are on disk first.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &delegate,
        [&root] { root->savePendingSettings(); });

    delegate.applicationDidFinishLaunching();
    const QList<QUrl> launchURLs = AppBus::acceptedURLs(urls);
    // As URLs of a launch arrive once launching has finished.
    QTimer::singleShot(0, &delegate, [&delegate, launchURLs] { delegate.open(launchURLs); });

    const int status = ending ? 0 : QApplication::exec();
    delegate.applicationWillTerminate();
    // One more turn, so that the tasks stopped at termination wind down.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return status;
}
