#pragma once

#include "Geometry.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// What a connected display says about itself: the output it hangs on and
// what its monitor reports (the EDID's maker, model and serial number).
struct DisplayFacts {
    // "HDMI-1"; empty when the system names none.
    QString output;
    QString manufacturer;
    QString model;
    QString serialNumber;
    // The session's number of the screen; the last resort of an id.
    std::uint32_t number = 0;

    friend bool operator==(const DisplayFacts &, const DisplayFacts &) = default;
};

// The ids of the displays connected together, in their order, all different.
// A display is known by its monitor ("edid:maker/model/serial"), so the id
// follows the monitor from one output to another; a monitor that reports
// nothing is known by its output, and one without output by "display-" and
// its number. Monitors that cannot be told apart (twins without a serial
// number) add their output: "edid:maker/model/@HDMI-1".
QStringList displayIdentifiers(const QList<DisplayFacts> &displays);

// The monitor part of an id; empty when the monitor reports nothing.
QString monitorIdentifier(const DisplayFacts &display);

// An EDID text (model, serial number) without what Qt 6.4 leaves of its end.
// Qt reads the 13-byte field whole, turns the line feed that ends a shorter
// text (and any other unprintable byte) into '-' and trims the padding
// spaces: "U2720Q\n      " reads "U2720Q-". So one trailing '-' goes, with
// the spaces before it, when the text fits the field; a longer text is not
// such a reading and stays. A name's own dash before the line feed stays too.
QString edidText(const QString &text);

// Earlier ids kept those dashes. For each connected display whose id lost
// one: the id it had, and its id now.
QHash<QString, QString> edidCarryOvers(const QList<DisplayFacts> &displays);

// Displays of the same place and size show one picture (mirrors): they are
// one display, the first of them. For each display of the list, the index
// of that first one (its own index when it mirrors none before it).
QList<qsizetype> mirrorLeaders(const QList<Rect> &frames);

// Earlier ids were output names. For each connected display whose id is no
// longer its output's name: that name and the id it became.
QHash<QString, QString> outputCarryOvers(const QList<DisplayFacts> &displays, const QStringList &ids);

// A stored choice of display under its current id.
std::optional<QString> carriedOver(
    const std::optional<QString> &id, const QHash<QString, QString> &carryOvers);

// Moves entries stored under an output's name to the display's id. An entry
// already under the id is newer and stays; the old one goes either way, so
// another monitor on that output later finds nothing. True when anything moved.
template<class T>
bool carryOver(QMap<QString, T> &stored, const QHash<QString, QString> &carryOvers)
{
    bool changed = false;
    for (auto it = carryOvers.cbegin(); it != carryOvers.cend(); ++it) {
        const auto found = stored.constFind(it.key());
        if (found == stored.cend())
            continue;
        const T value = found.value();
        stored.remove(it.key());
        if (!stored.contains(it.value()))
            stored.insert(it.value(), value);
        changed = true;
    }
    return changed;
}
