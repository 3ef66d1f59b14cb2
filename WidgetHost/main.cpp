#include "Assets.h"
#include "KeptFiles.h"
#include "Localization.h"
#include "Scheduler.h"
#include "SystemAppearance.h"
#include "TerminationSignals.h"
#include "WidgetGallery.h"
#include "WidgetHost.h"
#include "WidgetHostCommand.h"
#include "XdgBaseDirectories.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QQuickWindow>
#include <QScreen>
#include <QTextStream>
#include <cstdio>

namespace {
// The value after `name` (or after `name=`) on the raw command line, or nothing.
std::optional<QByteArray> rawOption(int argc, char **argv, const char *name)
{
    const QByteArray prefix = QByteArray(name) + '=';
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == name)
            return i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
        if (argument.startsWith(prefix))
            return argument.mid(prefix.size());
    }
    return std::nullopt;
}
} // namespace

int main(int argc, char **argv)
{
    // Past a file-size limit, write() then fails with EFBIG and the save is
    // reported, as on a full disk, instead of the signal killing us half way.
    KeptFiles::ignoreFileSizeSignal();
    // Before anything asks where the files it keeps live.
    XdgBaseDirectories::ignoreRelative();
    // Only running the host shows windows: the commands draw and edit files,
    // without a display. Running takes X11 as the app does (XWayland on a
    // Wayland session), since a Wayland client cannot place its own windows.
    bool runs = true;
    for (const char *command : {"--add", "--remove", "--list", "--render", "--help", "-h"})
        runs = runs && !rawOption(argc, argv, command);
    // Placing a widget asks the screen for its size when there is one.
    const bool adds = rawOption(argc, argv, "--add").has_value();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const bool display = !qEnvironmentVariableIsEmpty("DISPLAY");
        if (adds && display)
            qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
        else if (!runs)
            qputenv("QT_QPA_PLATFORM", "offscreen");
        else if (display)
            qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // Checked before anything is drawn at that scale.
    if (const auto scale = rawOption(argc, argv, "--scale")) {
        if (!WidgetHostCommand::scaleNamed(QString::fromLocal8Bit(*scale))) {
            std::fprintf(stderr, "%s\n", qPrintable(WidgetHostCommand::scaleRefusal()));
            return 2;
        }
        qputenv("QT_SCALE_FACTOR", *scale);
    }
    // Widgets are a few flat shapes: the software renderer needs no GPU or GL.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);

    // The widget application, for the widgets' menus.
    QApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("orvel-widget-host"));
    QGuiApplication::setWindowIcon(Assets::applicationIcon());
    QGuiApplication::setQuitOnLastWindowClosed(false);
    installLinuxWording();
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString error;
    const auto command = WidgetHostCommand::parse(QGuiApplication::arguments(), &error);
    if (!command) {
        err << error << " (--help lists the commands)\n";
        return 2;
    }
    if (command->action == WidgetHostCommand::Action::help) {
        out << WidgetHostCommand::usage();
        return 0;
    }
    const QStringList paths = command->plugin.isEmpty()
        ? WidgetPluginLoader::candidates(QGuiApplication::applicationDirPath())
        : QStringList{command->plugin};
    const WidgetBundle *bundle = WidgetPluginLoader::load(paths, &error);
    if (!bundle) {
        err << "The widgets cannot be loaded: " << error << "\n";
        return 1;
    }
    const QList<WidgetConfiguration> widgets = bundle->body();
    const bool gallery = command->action == WidgetHostCommand::Action::gallery;
    if (command->action != WidgetHostCommand::Action::run && !gallery) {
        WidgetHostCommand adding = *command;
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            const QScreen *screen = QGuiApplication::primaryScreen();
            for (const QScreen *named : QGuiApplication::screens())
                screen = named->name() == command->screen ? named : screen;
            if (screen)
                adding.area = QRect(QPoint(0, 0), screen->geometry().size());
        }
        return adding.execute(widgets, out, err);
    }

    SystemScheduler scheduler;
    ScopedScheduler installed(scheduler);
    SystemAppearance *appearance = SystemAppearance::shared();
    WidgetHost host(widgets,
        {scheduler, QDBusConnection::sessionBus(), {}, appearance->reduceMotion(), command->program});
    // The lock stands for the host without a bus too; the name lets others call it.
    WidgetHostInstance instance(WidgetHostInstance::standardPath());
    if (!instance.claim() || !host.claim()) {
        if (!gallery) {
            err << "Another orvel-widget-host is already showing the widgets.\n";
            return 0;
        }
        if (!QDBusConnection::sessionBus().isConnected()) {
            err << "Another orvel-widget-host is showing the widgets; without a session bus it cannot be "
                   "asked to show its gallery.\n";
            return 1;
        }
        // The running host shows its gallery.
        const QDBusMessage reply
            = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(WidgetHost::serviceName,
                WidgetHost::objectPath, WidgetHost::interface, QStringLiteral("ShowGallery")));
        if (reply.type() == QDBusMessage::ErrorMessage) {
            err << "The running orvel-widget-host did not show its gallery: " << reply.errorMessage() << "\n";
            return 1;
        }
        return 0;
    }
    host.listen();
    QObject::connect(appearance, &SystemAppearance::changed, &host,
        [&host, appearance] { host.setReduceMotion(appearance->reduceMotion()); });
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, &QGuiApplication::quit);
    host.follow(command->placementPath);
    if (gallery) {
        // Started for the gallery alone: closing it without a widget ends the host.
        QObject::connect(&host.gallery(), &WidgetGallery::closed, &app, [&host] {
            if (host.placed().empty())
                QGuiApplication::quit();
        });
        host.gallery().show();
    }
    return app.exec();
}
