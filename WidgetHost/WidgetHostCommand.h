#pragma once

#include "WidgetKit.h"

#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QTextStream>
#include <optional>

// Finds and loads the widget plug-in.
struct WidgetPluginLoader {
    static constexpr QLatin1String fileName{"OrvelWidgets.so"};

    // Beside the program (as the build leaves it), then where installation puts it.
    static QStringList candidates(const QString &programDirectory);
    // The bundle of the first candidate that loads (it stays loaded); null when
    // none does, with the reasons in `error`.
    static WidgetBundle *load(const QStringList &paths, QString *error = nullptr);
};

// The host's command line. Without a command the host runs; the commands
// change or show the list of placed widgets, or draw one widget to a PNG file.
struct WidgetHostCommand {
    enum class Action { run, gallery, add, remove, list, render, help };

    Action action = Action::run;
    QString kind;
    std::optional<WidgetFamily> family;
    WidgetRenderingMode mode = WidgetRenderingMode::fullColor;
    std::optional<QPoint> at;
    QString screen;
    int index = 0; // 1-based, as --list numbers the widgets
    bool placeholder = false;
    QString output;
    QString plugin;
    // Where the list and the autostart entry live, and the program it starts.
    QString placementPath;
    QString autostartPath;
    QString program;
    // Where a widget of --add may lie, in points from its screen's top-left
    // corner; nothing when no screen can be asked.
    std::optional<QRect> area;

    // Reads the arguments (the program name first); nothing with the reason in
    // `error` when they make no sense.
    static std::optional<WidgetHostCommand> parse(const QStringList &arguments, QString *error);
    static QString usage();
    // "small", "medium", "large" or the full raw values.
    static std::optional<WidgetFamily> familyNamed(const QString &name);
    // The factor of --scale: a finite number from minScale to maxScale.
    static constexpr double minScale = 0.25;
    static constexpr double maxScale = 8;
    static std::optional<double> scaleNamed(const QString &text);
    static QString scaleRefusal();
    // Runs every action but `run` with the bundle's widgets; the exit status.
    int execute(const QList<WidgetConfiguration> &widgets, QTextStream &out, QTextStream &err) const;
};
