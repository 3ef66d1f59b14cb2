#pragma once

// What the running system offers. The core never asks the system itself: the
// platform layer declares the features once at start-up through setCurrent(),
// and tests pass their own values.
struct PlatformFeatures {
    // The system can show the desktop widgets.
    bool desktopWidgets = false;

    // Widgets exist from macOS 14 on; the Linux build stands on that side of the line.
    static PlatformFeatures macOS(int majorVersion) { return PlatformFeatures{majorVersion > 13}; }

    // The process-wide features; until set, those of a system with desktop widgets.
    static PlatformFeatures current();
    static void setCurrent(PlatformFeatures features);

    friend bool operator==(const PlatformFeatures &, const PlatformFeatures &) = default;
};
