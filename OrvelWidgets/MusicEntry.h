#pragma once

#include "MusicShortcut.h"
#include "Playback.h"
#include "Skin.h"
#include "VisualizerSettings.h"

#include <QList>
#include <QMetaType>

// What every widget view is drawn from: the App Group files as they were read
// at `date`.
struct MusicEntry {
    Date date;
    PlaybackSnapshot snapshot;
    QList<MusicShortcut> shortcuts;
    VisualizerSettings visualizer;
    Skin skin = standardSkin;

    // The placeholder, the same whatever the files hold: nothing playing yet.
    static MusicEntry sample();

    friend bool operator==(const MusicEntry &, const MusicEntry &) = default;
};

Q_DECLARE_METATYPE(MusicEntry)
