#pragma once

#include "PrivateFiles.h"
#include "WidgetKit.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QLockFile>
#include <QLoggingCategory>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

// What the widget host and its commands say: com.velbrandtoro.Orvel.WidgetHost.
Q_DECLARE_LOGGING_CATEGORY(lcWidgetHost)

// One widget on the desktop: which kind in which family, on which screen (by
// name; empty for the primary screen) and where, in points (the screen's
// pixels divided by its scale) from the screen's top-left corner.
struct WidgetPlacement {
    QString kind;
    WidgetFamily family = WidgetFamily::systemSmall;
    QString screen;
    QPoint position;
    // Its element as read, with the keys this version does not know (a newer
    // one's): written back as it was while the widget is where it says.
    QJsonObject element{};

    QJsonValue toJson() const;
    // Nothing for an element that lacks a kind, a known family or a position.
    static std::optional<WidgetPlacement> fromJson(const QJsonValue &value);

    // The same widget in the same place: the element as read rides along and is
    // not compared, so a newer version's change to them moves or removes no widget.
    friend bool operator==(const WidgetPlacement &a, const WidgetPlacement &b)
    {
        return a.kind == b.kind && a.family == b.family && a.screen == b.screen && a.position == b.position;
    }
};

// What the list file holds, as read without changing anything.
struct WidgetList {
    // read: placements and skipped hold the file; missing: no widgets;
    // unopenable: left alone and never written over; any other: not a list
    // this version understands, set aside at start.
    KeptRead::Status status = KeptRead::Status::missing;
    QList<WidgetPlacement> placements;
    // The elements this version cannot read, kept as they are when the list
    // is saved, each before the placement it came before in the file.
    QJsonArray skipped;
    QList<qsizetype> skippedBefore;
    // The file's top-level keys this version does not know, kept the same way.
    QJsonObject unknown;
    // Why the file cannot be read.
    QString problem;

    bool usable() const { return status == KeptRead::Status::read || status == KeptRead::Status::missing; }
};

// A connected screen as the host places widgets on it: its area in points on
// the desktop.
struct WidgetScreen {
    QString name;
    QRect geometry;
    bool primary = false;
};

// The host's list of placed widgets, kept in
// $XDG_CONFIG_HOME/com.velbrandtoro.Orvel/widgets.json as
// {"version": 1, "widgets": [...]}.
struct WidgetPlacementFile {
    static constexpr int version = 1;
    static constexpr int gap = 16;
    static constexpr QPoint origin{24, 24};
    // Positions lie within this many points of a screen's corner.
    static constexpr int coordinateLimit = 1000000;
    // A list is read once no program has written it for this long, by the
    // host and the commands alike: an editor may be halfway through saving.
    static constexpr double quietSeconds = 0.3;

    static QString standardPath();
    // Reads the file (capped, never a device or pipe); moves and writes nothing.
    // A file that is not JSON, carries a version that is not a whole number or
    // is newer, or whose widgets are not a list reads as unreadable. Elements
    // this version cannot read are skipped with a warning.
    static WidgetList read(const QString &path);
    // Reads the file before anything writes it (KeptFiles::check): an
    // unreadable one is set aside (as NAME.unreadable, numbered when taken)
    // and reads as missing; an unopenable one stays where it is. With
    // quietSeconds, an unreadable file is judged only once no program has
    // written it for that long. `report` gets the one line that says so for
    // the caller to show, or stays empty. Throws FileError when an unreadable
    // file cannot be moved.
    static WidgetList check(const QString &path, QString *report, double quietSeconds = 0);
    // Replaces the file whole with the placements after the elements `kept`
    // (the file as read) skipped, under the top-level keys it did not know.
    // Throws FileError with the system's reason; the old file is then unchanged.
    static void write(
        const QString &path, const QList<WidgetPlacement> &placements, const WidgetList &kept = {});
    // check() then write(), keeping what the file had that this version does
    // not know. Throws FileError, also when the file cannot be opened.
    static void save(const QString &path, const QList<WidgetPlacement> &placements);

    // Where a widget of the family goes when no position is given: the first
    // free place, in columns from the top-left, that lies wholly in `area`
    // (points from the screen's top-left corner); nothing is free: the origin.
    // Without an area (no screen to ask), under the lowest one on the screen.
    static QPoint nextPosition(const QList<WidgetPlacement> &placements, const QString &screen,
        WidgetFamily family = WidgetFamily::systemMedium, std::optional<QRect> area = std::nullopt);
    // The position moved just far enough for a widget of that size to lie on `area`.
    static QPoint clamped(QPoint position, QSize size, const QRect &area);
    // Which of `screens` shows the widget, and its frame there on the desktop:
    // its own screen, or the primary one while that is missing, with the place
    // moved wholly onto it. The place itself is not changed, so the widget goes
    // back to it once its screen has room again. Nothing without screens.
    struct Shown {
        qsizetype screen = -1;
        QRect frame;
    };
    static std::optional<Shown> shown(const WidgetPlacement &placement, const QList<WidgetScreen> &screens);
};

// Held while the list is read, changed and written back, so that the
// commands and the running host take turns: widgets.json.lock beside it. The
// lock of a process that died is taken over, and so is one that says nothing
// of its holder (empty, or unreadable) once it is staleEmptyMs old: a holder
// writes that in the moment it makes the lock. A link to nothing is taken
// over at once (no holder ever makes a link); a folder, pipe, socket or device
// there is refused at once.
class WidgetListLock {
public:
    static constexpr int waitMs = 5000;
    static constexpr int pollMs = 20;
    // Far longer than any change of the list takes.
    static constexpr int staleMs = 30000;
    static constexpr int staleEmptyMs = 2000;

    // Waits up to waitMs for the lock. Throws FileError when it cannot have it:
    // another program holds it, or why it cannot be made.
    explicit WidgetListLock(const QString &path);
    static QString lockPath(const QString &path) { return path + QStringLiteral(".lock"); }

private:
    QLockFile m_lock;
};

// The autostart entry that starts the host at login while widgets are placed.
struct WidgetHostAutostart {
    static QString standardPath();
    // Makes the entry for the program when there are placements, removes it
    // when there are none. An entry that is there keeps what the user set in
    // it (Hidden, X-GNOME-Autostart-enabled, delays); only a moved program's
    // word is written into its Exec line. Gives what the entry may start
    // nothing for (AutostartLoginItem::warning), empty when all is well.
    // Throws LoginItemError.
    static QString follow(const QList<WidgetPlacement> &placements, const QString &program,
        const QString &path = standardPath());
};
