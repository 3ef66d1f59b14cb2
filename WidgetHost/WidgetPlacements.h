#pragma once

#include "WidgetKit.h"

#include <QJsonValue>
#include <QList>
#include <QPoint>
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
// $XDG_CONFIG_HOME/com.velbrandtoro.Orvel/widgets.json as {"widgets": [...]}.
struct WidgetPlacementFile {
    static constexpr int gap = 16;
    static constexpr QPoint origin{24, 24};

    static QString standardPath();
    // A missing or unreadable file gives no widgets; bad elements are skipped.
    static QList<WidgetPlacement> load(const QString &path);
    // Replaces the file whole. Throws FileError.
    static void save(const QString &path, const QList<WidgetPlacement> &placements);

    // Where a widget goes when no position is given: under the lowest one on
    // the same screen, or at the origin.
    static QPoint nextPosition(const QList<WidgetPlacement> &placements, const QString &screen);
};

// The autostart entry that starts the host at login while widgets are placed.
struct WidgetHostAutostart {
    static QString standardPath();
    // Writes the entry for the program when there are placements, removes it
    // when there are none. Throws LoginItemError.
    static void follow(const QList<WidgetPlacement> &placements, const QString &program,
        const QString &path = standardPath());
};
