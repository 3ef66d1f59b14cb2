#include "WidgetHostCommand.h"

#include "LoginItem.h"
#include "PrivateFiles.h"
#include "WidgetPlacements.h"
#include "WidgetRenderer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>
#include <QQmlEngine>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace {
QString shortName(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::systemSmall:
        return QStringLiteral("small");
    case WidgetFamily::systemMedium:
        return QStringLiteral("medium");
    case WidgetFamily::systemLarge:
        return QStringLiteral("large");
    }
    return {};
}

QString familyList(const QList<WidgetFamily> &families)
{
    QStringList names;
    for (const WidgetFamily family : families)
        names.append(shortName(family));
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

const WidgetConfiguration *findKind(const QList<WidgetConfiguration> &widgets, const QString &kind)
{
    const auto found = std::find_if(widgets.begin(), widgets.end(),
        [&](const WidgetConfiguration &configuration) { return configuration.kind == kind; });
    return found != widgets.end() ? &*found : nullptr;
}

QString knownKinds(const QList<WidgetConfiguration> &widgets)
{
    QStringList kinds;
    for (const WidgetConfiguration &configuration : widgets)
        kinds.append(configuration.kind);
    return kinds.join(QStringLiteral(", "));
}

std::optional<QPoint> pointNamed(const QString &text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    bool xOk = false;
    bool yOk = false;
    const int x = parts[0].trimmed().toInt(&xOk);
    const int y = parts[1].trimmed().toInt(&yOk);
    const auto within = [](int v) { return std::abs(v) <= WidgetPlacementFile::coordinateLimit; };
    if (!xOk || !yOk || !within(x) || !within(y))
        return std::nullopt;
    return QPoint(x, y);
}

// Changes the list with its lock held throughout. `edit` changes the
// placements and gives what to say once they are kept, or nothing (having
// said why) to leave the file as it is. The exit status: the list is the
// command's result, so 0 once it is saved, whatever becomes of the autostart entry.
int changePlacements(const WidgetHostCommand &command, QTextStream &out, QTextStream &err,
    const std::function<std::optional<QString>(QList<WidgetPlacement> &)> &edit)
{
    const QString &path = command.placementPath;
    std::optional<WidgetListLock> lock;
    WidgetList list;
    try {
        lock.emplace(path);
        QString report;
        list = WidgetPlacementFile::check(path, &report, WidgetPlacementFile::quietSeconds);
        if (!report.isEmpty())
            err << report << '\n';
    } catch (const FileError &error) {
        err << QStringLiteral("Could not save the widget list %1: %2\n").arg(path, error.description);
        return 1;
    }
    // Never written over: the user may get it back.
    if (list.status == KeptRead::Status::unopenable)
        return 1;
    const std::optional<QString> done = edit(list.placements);
    if (!done)
        return 1;
    try {
        WidgetPlacementFile::write(path, list.placements, list);
    } catch (const FileError &error) {
        err << QStringLiteral("Could not save the widget list %1: %2\n").arg(path, error.description);
        return 1;
    }
    out << *done;
    try {
        const QString warning
            = WidgetHostAutostart::follow(list.placements, command.program, command.autostartPath);
        if (!warning.isEmpty())
            err << QStringLiteral("Warning: the autostart entry %1\n").arg(warning);
    } catch (const std::exception &error) {
        err << QStringLiteral("Warning: the widget list is saved, but the autostart entry could not be "
                              "changed: %1\n")
                   .arg(QString::fromUtf8(error.what()));
    }
    return 0;
}

// The kind's configuration when it comes in that family; otherwise says why and gives none.
const WidgetConfiguration *findKindInFamily(
    const QList<WidgetConfiguration> &widgets, const QString &kind, WidgetFamily family, QTextStream &err)
{
    const WidgetConfiguration *configuration = findKind(widgets, kind);
    if (!configuration) {
        err << QStringLiteral("No widget of kind %1; the kinds are %2.\n").arg(kind, knownKinds(widgets));
        return nullptr;
    }
    if (!configuration->supports(family)) {
        err << QStringLiteral("%1 (%2) comes in %3, not %4.\n")
                   .arg(configuration->displayName, kind, familyList(configuration->families),
                       shortName(family));
        return nullptr;
    }
    return configuration;
}
} // namespace

QStringList WidgetPluginLoader::candidates(const QString &programDirectory)
{
    return {programDirectory + u'/' + fileName,
        QDir::cleanPath(
            programDirectory + QStringLiteral("/" ORVEL_WIDGET_PLUGIN_DIR_FROM_PROGRAM "/") + fileName)};
}

WidgetBundle *WidgetPluginLoader::load(const QStringList &paths, QString *error)
{
    QStringList reasons;
    for (const QString &path : paths) {
        if (!QFileInfo::exists(path)) {
            reasons.append(path + QStringLiteral(": not there"));
            continue;
        }
        QPluginLoader loader(path);
        if (auto *bundle = qobject_cast<WidgetBundle *>(loader.instance()))
            return bundle;
        reasons.append(path + QStringLiteral(": ")
            + (loader.errorString().isEmpty() ? QStringLiteral("not a widget bundle")
                                              : loader.errorString()));
    }
    if (error)
        *error = reasons.join(QStringLiteral("; "));
    return nullptr;
}

std::optional<WidgetFamily> WidgetHostCommand::familyNamed(const QString &name)
{
    for (const WidgetFamily family :
        {WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge}) {
        if (name == shortName(family) || name == toRawValue(family))
            return family;
    }
    return std::nullopt;
}

std::optional<double> WidgetHostCommand::scaleNamed(const QString &text)
{
    bool ok = false;
    const double scale = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(scale) || scale < minScale || scale > maxScale)
        return std::nullopt;
    return scale;
}

QString WidgetHostCommand::scaleRefusal()
{
    return QStringLiteral("--scale takes a number from %1 to %2").arg(minScale).arg(maxScale);
}

QString WidgetHostCommand::usage()
{
    return QStringLiteral(
        "Usage: orvel-widget-host [command]\n"
        "Without a command, shows the placed widgets on the desktop.\n"
        "\n"
        "  --gallery                           shows the widgets there are, to add them\n"
        "  --list                              the placed widgets and the kinds of widgets\n"
        "  --add KIND --family F [--at X,Y] [--screen NAME]\n"
        "                                      places a widget (F: small, medium or large)\n"
        "  --remove N                          removes the widget numbered N by --list\n"
        "  --render KIND --family F --mode M [--placeholder] --out FILE.png\n"
        "                                      draws a widget (M: fullColor, accented or vibrant)\n"
        "  --scale S                           draws pictures S times larger\n"
        "  --plugin PATH                       loads the widgets from PATH\n");
}

std::optional<WidgetHostCommand> WidgetHostCommand::parse(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    const QCommandLineOption add(QStringLiteral("add"), QString(), QStringLiteral("KIND"));
    const QCommandLineOption remove(QStringLiteral("remove"), QString(), QStringLiteral("N"));
    const QCommandLineOption list(QStringLiteral("list"));
    const QCommandLineOption gallery(QStringLiteral("gallery"));
    const QCommandLineOption render(QStringLiteral("render"), QString(), QStringLiteral("KIND"));
    const QCommandLineOption family(QStringLiteral("family"), QString(), QStringLiteral("F"));
    const QCommandLineOption mode(QStringLiteral("mode"), QString(), QStringLiteral("M"));
    const QCommandLineOption at(QStringLiteral("at"), QString(), QStringLiteral("X,Y"));
    const QCommandLineOption screen(QStringLiteral("screen"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption placeholder(QStringLiteral("placeholder"));
    const QCommandLineOption out(QStringLiteral("out"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption plugin(QStringLiteral("plugin"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption scale(QStringLiteral("scale"), QString(), QStringLiteral("S"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({add, remove, list, gallery, render, family, mode, at, screen, placeholder, out, plugin,
        scale, help});
    const auto fail = [error](const QString &reason) -> std::optional<WidgetHostCommand> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument: ") + parser.positionalArguments().first());

    WidgetHostCommand command;
    command.plugin = parser.value(plugin);
    command.placementPath = WidgetPlacementFile::standardPath();
    command.autostartPath = WidgetHostAutostart::standardPath();
    command.program = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    const int actions = int(parser.isSet(add)) + int(parser.isSet(remove)) + int(parser.isSet(list))
        + int(parser.isSet(render)) + int(parser.isSet(help)) + int(parser.isSet(gallery));
    if (actions > 1)
        return fail(QStringLiteral("give one of --gallery, --add, --remove, --list, --render"));
    if (parser.isSet(help)) {
        command.action = Action::help;
        return command;
    }
    if (parser.isSet(scale) && !scaleNamed(parser.value(scale)))
        return fail(scaleRefusal());
    if (parser.isSet(family)) {
        command.family = familyNamed(parser.value(family));
        if (!command.family)
            return fail(QStringLiteral("no family \"%1\": small, medium or large").arg(parser.value(family)));
    }
    if (parser.isSet(gallery)) {
        command.action = Action::gallery;
    } else if (parser.isSet(list)) {
        command.action = Action::list;
    } else if (parser.isSet(remove)) {
        command.action = Action::remove;
        bool ok = false;
        command.index = parser.value(remove).toInt(&ok);
        if (!ok || command.index < 1)
            return fail(QStringLiteral("--remove takes the number --list shows"));
    } else if (parser.isSet(add)) {
        command.action = Action::add;
        command.kind = parser.value(add);
        if (!command.family)
            return fail(QStringLiteral("--add needs --family small, medium or large"));
        if (parser.isSet(at)) {
            command.at = pointNamed(parser.value(at));
            if (!command.at)
                return fail(QStringLiteral("--at takes X,Y in points, each from -%1 to %1")
                                .arg(WidgetPlacementFile::coordinateLimit));
        }
        command.screen = parser.value(screen);
    } else if (parser.isSet(render)) {
        command.action = Action::render;
        command.kind = parser.value(render);
        if (!command.family)
            return fail(QStringLiteral("--render needs --family small, medium or large"));
        const auto parsedMode = fromRawValue<WidgetRenderingMode>(parser.value(mode));
        if (!parsedMode)
            return fail(QStringLiteral("--render needs --mode fullColor, accented or vibrant"));
        command.mode = *parsedMode;
        command.placeholder = parser.isSet(placeholder);
        command.output = parser.value(out);
        if (command.output.isEmpty())
            return fail(QStringLiteral("--render needs --out FILE.png"));
    }
    return command;
}

int WidgetHostCommand::execute(
    const QList<WidgetConfiguration> &widgets, QTextStream &out, QTextStream &err) const
{
    // What saves killed midway left beside the autostart entry; the list's
    // own go when it is checked (or, for --list, just below).
    if (action == Action::list || action == Action::add || action == Action::remove)
        PrivateFiles::removeLeftovers(autostartPath);
    switch (action) {
    case Action::run:
    case Action::gallery:
        return 0;
    case Action::help:
        out << usage();
        return 0;
    case Action::list: {
        PrivateFiles::removeLeftovers(placementPath);
        WidgetList list = WidgetPlacementFile::read(placementPath);
        if (!list.usable()) {
            try {
                // Set aside with the lock held, so that two commands do not both move it.
                std::optional<WidgetListLock> lock;
                if (list.status != KeptRead::Status::unopenable)
                    lock.emplace(placementPath);
                QString report;
                list = WidgetPlacementFile::check(placementPath, &report, WidgetPlacementFile::quietSeconds);
                if (!report.isEmpty())
                    err << report << '\n';
            } catch (const FileError &error) {
                err << QStringLiteral("Could not read the widget list %1: %2\n")
                           .arg(placementPath, error.description);
                return 1;
            }
            if (list.status == KeptRead::Status::unopenable)
                return 1;
        }
        const QList<WidgetPlacement> &placements = list.placements;
        out << (placements.isEmpty() ? QStringLiteral("No widgets placed.\n")
                                     : QStringLiteral("Placed widgets:\n"));
        for (qsizetype i = 0; i < placements.size(); ++i) {
            const WidgetPlacement &placement = placements[i];
            const WidgetConfiguration *configuration = findKind(widgets, placement.kind);
            out << QStringLiteral("  %1. %2 (%3), %4, %5 at %6,%7\n")
                       .arg(i + 1)
                       .arg(configuration ? configuration->displayName : QStringLiteral("unknown"),
                           placement.kind, shortName(placement.family),
                           placement.screen.isEmpty() ? QStringLiteral("primary screen")
                                                      : QStringLiteral("screen ") + placement.screen)
                       .arg(placement.position.x())
                       .arg(placement.position.y());
        }
        out << "Widgets:\n";
        for (const WidgetConfiguration &configuration : widgets) {
            out << QStringLiteral("  %1: %2 %3 Families: %4.\n")
                       .arg(configuration.kind, configuration.displayName + u'.', configuration.description,
                           familyList(configuration.families));
        }
        return 0;
    }
    case Action::add: {
        const WidgetConfiguration *configuration = findKindInFamily(widgets, kind, *family, err);
        if (!configuration)
            return 1;
        return changePlacements(*this, out, err, [&](QList<WidgetPlacement> &placements) {
            const QSize size = WidgetMetrics::size(*family);
            const QPoint position = at ? (area ? WidgetPlacementFile::clamped(*at, size, *area) : *at)
                                       : WidgetPlacementFile::nextPosition(placements, screen, *family, area);
            placements.append(WidgetPlacement{kind, *family, screen, position});
            return std::optional(QStringLiteral("Placed %1 (%2) as widget %3 at %4,%5.\n")
                                     .arg(configuration->displayName, shortName(*family))
                                     .arg(placements.size())
                                     .arg(position.x())
                                     .arg(position.y()));
        });
    }
    case Action::remove:
        return changePlacements(
            *this, out, err, [&](QList<WidgetPlacement> &placements) -> std::optional<QString> {
                if (index > placements.size()) {
                    err << QStringLiteral("There is no widget %1; --list shows %2.\n")
                               .arg(index)
                               .arg(placements.size());
                    return std::nullopt;
                }
                const WidgetPlacement removed = placements.takeAt(index - 1);
                return QStringLiteral("Removed widget %1 (%2).\n").arg(index).arg(removed.kind);
            });
    case Action::render: {
        const WidgetConfiguration *configuration = findKindInFamily(widgets, kind, *family, err);
        if (!configuration)
            return 1;
        const WidgetEntry entry = placeholder ? configuration->placeholder() : configuration->snapshot();
        QQmlEngine engine;
        WidgetRenderer::registerModules(engine);
        QString error;
        const QImage picture
            = WidgetRenderer::render(engine, *configuration, entry, {*family, mode, false}, &error);
        if (picture.isNull()) {
            err << QStringLiteral("The widget could not be drawn: %1\n").arg(error);
            return 1;
        }
        if (!picture.save(output, "PNG")) {
            err << QStringLiteral("Cannot write %1\n").arg(output);
            return 1;
        }
        return 0;
    }
    }
    return 0;
}
