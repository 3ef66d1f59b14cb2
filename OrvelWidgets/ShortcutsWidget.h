#pragma once

#include "WidgetKit.h"

// "Your shortcuts": tiles that open the user's Spotify shortcuts, medium and large.
struct ShortcutsWidget {
    // The kind the app reloads; equal, byte for byte, to the app's.
    QString kind = QStringLiteral("OrvelShortcuts");

    WidgetConfiguration body() const;
};
