#pragma once

#include "DesktopStacking.h"

#include <QList>
#include <QRect>
#include <QSet>
#include <QString>
#include <cstdint>
#include <optional>

// What a Wayland compositor tells its clients about its outputs and the
// other programs' windows, and what the panels make of it. X11 (through
// XWayland) sees neither the native windows nor the monitors' names; the two
// are joined by where each display lies and how large it is.

// One output as the compositor describes it.
struct WaylandOutput {
    // The registry's name of the output; unique while the connection lasts.
    std::uint32_t id = 0;
    // The connector ("DP-1", "HDMI-A-1"); empty before the compositor says.
    QString name;
    QString make;
    QString model;
    QString description;
    // Its place and size in the compositor's space (the logical pixels XWayland shows).
    QRect area;

    friend bool operator==(const WaylandOutput &, const WaylandOutput &) = default;
};

// A window of another program as the compositor lists it.
struct WaylandToplevel {
    bool fullScreen = false;
    bool minimized = false;
    // On a virtual desktop not shown now (KWin tells this; wlroots does not).
    bool elsewhere = false;
    // The outputs it is shown on, by id (wlroots tells these).
    QList<std::uint32_t> outputs;
    // Where it lies in the compositor's space (KWin tells this instead).
    std::optional<QRect> area;

    friend bool operator==(const WaylandToplevel &, const WaylandToplevel &) = default;
};

namespace WaylandOutputs {

// The output lies where the display lies, with its size (a pixel of
// rounding aside). `display` is in X's device pixels, as XWayland lays the
// outputs out.
bool samePlace(const QRect &display, const WaylandOutput &output);

// For each display, in order, the first output at its place not taken by an
// earlier display (mirrored outputs pair off in order); null when there is none.
QList<std::optional<WaylandOutput>> match(const QList<QRect> &displays, const QList<WaylandOutput> &outputs);

// The outputs a full-screen window has: one it is on, while it is neither
// minimised nor on another virtual desktop.
// A window that names no output counts on those its area meets.
QSet<std::uint32_t> fullScreenOutputs(
    const QList<WaylandToplevel> &toplevels, const QList<WaylandOutput> &outputs);

// Qt's rectangles of the displays where an output a full-screen window has lies.
QList<QRect> fullScreenAreas(const QList<DisplayPixels> &displays, const QList<WaylandOutput> &outputs,
    const QList<WaylandToplevel> &toplevels);

// What a person calls the output's monitor: maker and model (the model
// alone when it already names the maker), else the compositor's description,
// else the connector; empty when the compositor says nothing.
QString displayName(const WaylandOutput &output);

} // namespace WaylandOutputs
