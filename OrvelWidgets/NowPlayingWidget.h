#pragma once

#include "WidgetKit.h"

// "Now playing": the current track with its controls, small and medium.
struct NowPlayingWidget {
    // The kind the app reloads; equal, byte for byte, to the app's.
    QString kind = QStringLiteral("OrvelNowPlaying");

    WidgetConfiguration body() const;
};
