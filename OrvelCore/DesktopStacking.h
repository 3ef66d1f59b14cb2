#pragma once

#include <QList>
#include <QRect>
#include <QSet>
#include <cstdint>
#include <optional>
#include <vector>

// What the floating panels decide from the desktop's stacking: which displays
// a full-screen window has to itself, where a panel is raised to, and who gets
// the keyboard back. Windows are X window ids (0 is none); rectangles are the
// root window's device pixels unless said otherwise.

// One window the window manager manages, as it stacks it.
struct StackedWindow {
    std::uint32_t id = 0;
    // Its ancestor among the root's children (the window manager's frame, or itself).
    std::uint32_t frame = 0;
    QRect area;
    // Mapped with all its ancestors: on the current workspace and not minimised away.
    bool viewable = false;
    // Minimised (_NET_WM_STATE_HIDDEN).
    bool hidden = false;
    bool fullScreen = false;
    // A dock or the desktop: part of the desktop, not a window one looks at.
    bool furniture = false;
    // On the desktop being shown (onShownDesktop()); a window on another one
    // may still be mapped (XWayland under KWin keeps it so).
    bool onShownDesktop = true;

    friend bool operator==(const StackedWindow &, const StackedWindow &) = default;
};

// A display in Qt's coordinates and its device pixel ratio. Qt keeps a
// display's origin in device pixels and scales only what lies beyond it.
struct DisplayPixels {
    QRect geometry;
    double ratio = 1;

    QRect native() const;
    // A rectangle of device pixels on this display, in Qt's coordinates.
    QRect toLogical(const QRect &pixels) const;
};

// A child of the root window, bottom to top, as the raise sees it.
struct TopLevel {
    std::uint32_t id = 0;
    bool viewable = false;
    bool overrideRedirect = false;
};

// Where a window is restacked: right above or below the sibling; sibling 0 is above all.
struct Restack {
    std::uint32_t sibling = 0;
    bool above = true;

    friend bool operator==(const Restack &, const Restack &) = default;
};

namespace DesktopStacking {

// _NET_WM_DESKTOP of a window on every desktop.
constexpr std::uint32_t everyDesktop = 0xFFFFFFFF;

// Whether a window on `desktop` (its _NET_WM_DESKTOP; none when it names
// none) is on the desktop being shown (_NET_CURRENT_DESKTOP). Where the
// window manager publishes no desktops, or the window names none, every
// window is: whether it is viewable decides alone.
bool onShownDesktop(std::optional<std::uint32_t> desktop, std::optional<std::uint32_t> shown);

// The window one sees on top of that display: the topmost viewable, shown
// window of the shown desktop that meets it, docks and the desktop aside.
// `stack` runs bottom to top.
const StackedWindow *topmostOn(const std::vector<StackedWindow> &stack, const QRect &display);

// The part of the display a full-screen window has to itself: none unless
// its topmost window is full screen. Whatever is active does not matter.
std::optional<QRect> fullScreenOn(const std::vector<StackedWindow> &stack, const QRect &display);

// Those parts for every display, in Qt's coordinates, each by its own ratio.
QList<QRect> fullScreenAreas(const std::vector<StackedWindow> &stack, const QList<DisplayPixels> &displays);

// A viewable managed window lies above `window` among the root's children.
bool managedAbove(
    const std::vector<TopLevel> &children, const QSet<std::uint32_t> &frames, std::uint32_t window);

// Where a panel goes when raised: right above the topmost viewable managed
// window, so other programs' menus, tooltips, notifications and lockers mapped
// above it stay above; with no managed window below the lowest of those; on
// top when there is neither. `own` are this program's windows.
Restack raise(const std::vector<TopLevel> &children, const QSet<std::uint32_t> &frames,
    const QSet<std::uint32_t> &own, std::uint32_t window);

// Who gets the keyboard back from a panel: the window that had it, while it
// is still a viewable, shown managed window; else the topmost such window
// (what a window manager falls back to); 0 when there is none.
std::uint32_t focusTarget(const std::vector<StackedWindow> &stack, std::uint32_t previous);

} // namespace DesktopStacking
