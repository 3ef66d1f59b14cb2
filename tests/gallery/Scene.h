#pragma once

#include "ArtworkPalette.h"
#include "Motion.h"
#include "MusicShortcut.h"
#include "Playback.h"
#include "QmlHarness.h"
#include "Scheduler.h"
#include "SkinPalette.h"
#include "TemporaryHome.h"

#include <QList>
#include <QSize>
#include <QVariantMap>
#include <functional>
#include <optional>

// What a scene's views see instead of a running app: a temporary home for
// preferences and the store, a manual clock, a fixed wall clock and system
// appearance, and whatever playback the scene scripts. Never a real Spotify.
class ScriptedState {
public:
    ScriptedState();
    ~ScriptedState();
    ScriptedState(const ScriptedState &) = delete;
    ScriptedState &operator=(const ScriptedState &) = delete;

    TemporaryHome home;
    ManualScheduler scheduler;
    ScopedScheduler installed{scheduler};

    // The engine's published state, for scenes whose views read the owners.
    std::optional<PlaybackSnapshot> playback;
    QList<MusicShortcut> shortcuts;
    // The artwork's colours; they make the environment's aura.
    std::optional<ArtworkPalette> palette;
    // The rest of the skinned environment at the scene's root.
    bool lightEffects = false;
    AnimationSettings animations;

    Aura aura() const;
};

// One picture: a view in one skin and state. The skin is the name's middle part.
struct Scene {
    QString name; // <View>.<skin>.<state>
    QmlSource qml; // qrc:/gallery/scenes/<File>.qml or inline text
    QSize size; // empty: the root's implicit size
    QVariantMap properties = {}; // the root's initial properties
    // Scripts the state and hands the harness the owners the views need.
    std::function<void(ScriptedState &, QmlHarness &)> setup = {};
};

// A scene file compiled into the gallery.
QUrl sceneFile(const QString &name);

// The scenes of each subsystem, one file each.
QList<Scene> designScenes();
QList<Scene> kitScenes();
