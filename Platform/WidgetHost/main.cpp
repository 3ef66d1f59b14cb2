#include "Localization.h"
#include "Scheduler.h"
#include "SystemAppearance.h"
#include "TerminationSignals.h"
#include "WidgetHost.h"
#include "WidgetHostCommand.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QTextStream>

namespace {
// The value after `name` on the raw command line, or nothing.
std::optional<QByteArray> rawOption(int argc, char **argv, const char *name)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], name) == 0)
            return i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
    }
    return std::nullopt;
}
} // namespace

int main(int argc, char **argv)
{
    // Only running the host shows windows: the commands draw and edit files,
    // without a display. Running takes X11 as the app does (XWayland on a
    // Wayland session), since a Wayland client cannot place its own windows.
    bool runs = true;
    for (const char *command : {"--add", "--remove", "--list", "--render", "--help", "-h"})
        runs = runs && !rawOption(argc, argv, command);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (!runs)
            qputenv("QT_QPA_PLATFORM", "offscreen");
        else if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "xcb");
    }
    if (const auto scale = rawOption(argc, argv, "--scale"); scale && !scale->isEmpty())
        qputenv("QT_SCALE_FACTOR", *scale);
    // Widgets are a few flat shapes: the software renderer needs no GPU or GL.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);

    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("orvel-widget-host"));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    installLinuxWording();
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString error;
    const auto command = WidgetHostCommand::parse(QGuiApplication::arguments(), &error);
    if (!command) {
        err << error << "\n\n" << WidgetHostCommand::usage();
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
    if (command->action != WidgetHostCommand::Action::run)
        return command->execute(widgets, out, err);

    SystemScheduler scheduler;
    ScopedScheduler installed(scheduler);
    WidgetHost host(
        widgets, {scheduler, QDBusConnection::sessionBus(), {}, SystemAppearance::shared()->reduceMotion()});
    if (!host.claim()) {
        err << "Another orvel-widget-host is already showing the widgets.\n";
        return 0;
    }
    host.listen();
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, &QGuiApplication::quit);
    host.follow(command->placementPath);
    return app.exec();
}
