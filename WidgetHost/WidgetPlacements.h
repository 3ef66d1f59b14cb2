#pragma once

#include "WidgetKit.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

// One widget on the desktop: which kind in which family, on which screen (by
// name; empty for the primary screen) and where, in pixels from the screen's
// top-left corner.
struct WidgetPlacement {
    QString kind;
    WidgetFamily family = WidgetFamily::systemSmall;
    QString screen;
    QPoint position;

    QJsonValue toJson() const;
    // Nothing for an element that lacks a kind, a known family or a position.
    static std::optional<WidgetPlacement> fromJson(const QJsonValue &value);

    friend bool operator==(const WidgetPlacement &, const WidgetPlacement &) = default;
};

// The host's list of placed widgets, kept in
// $XDG_CONFIG_HOME/com.velbrandtoro.Orvel/widgets.json as
// {"version": 1, "widgets": [...]}.
struct WidgetPlacementFile {
    static constexpr int version = 1;
    static constexpr int gap = 16;
    static constexpr QPoint origin{24, 24};

    static QString standardPath();
    // Where a file that cannot be read is set aside.
    static QString setAsidePath(const QString &path) { return path + QStringLiteral(".unreadable"); }
    // A missing file gives no widgets. A file that cannot be read (not JSON, a
    // newer version) is reported and set aside, so that a later save does not
    // overwrite it. Elements this version cannot read are skipped with a warning.
    static QList<WidgetPlacement> load(const QString &path);
    // The elements of the file that load() skips, as they are.
    static QJsonArray unreadableElements(const QString &path);
    // Replaces the file whole, keeping the elements load() skipped. Throws FileError.
    static void save(const QString &path, const QList<WidgetPlacement> &placements);

    // Where a widget of the family goes when no position is given: the first
    // free place, in columns from the top-left, that lies wholly in `area`
    // (pixels from the screen's top-left corner); nothing is free: the origin.
    // Without an area (no screen to ask), under the lowest one on the screen.
    static QPoint nextPosition(const QList<WidgetPlacement> &placements, const QString &screen,
        WidgetFamily family = WidgetFamily::systemMedium, std::optional<QRect> area = std::nullopt);
    // The position moved just far enough for a widget of that size to lie on `area`.
    static QPoint clamped(QPoint position, QSize size, const QRect &area);
};

// The autostart entry that starts the host at login while widgets are placed.
struct WidgetHostAutostart {
    static QString standardPath();
    // Writes the entry for the program when there are placements, removes it
    // when there are none. Throws LoginItemError.
    static void follow(const QList<WidgetPlacement> &placements, const QString &program,
        const QString &path = standardPath());
};
