#pragma once

#include "MusicEntry.h"
#include "WidgetKit.h"

// The timeline provider of both widgets. It keeps nothing between calls: every
// entry is read afresh from the App Group files, and nothing is ever written.
struct MusicProvider {
    // A timeline asks again this long after its entry was made.
    static constexpr double reloadInterval = 900;

    MusicEntry placeholder() const { return MusicEntry::sample(); }
    MusicEntry snapshot() const { return currentEntry(); }
    Timeline<MusicEntry> timeline() const;

    static MusicEntry currentEntry();
};
