#pragma once

#include "AppRoot.h"
#include "ArtworkPalette.h"
#include "FakeLoginItem.h"
#include "FakeWorkspace.h"
#include "ManualScheduler.h"
#include "Motion.h"
#include "MusicShortcut.h"
#include "Playback.h"
#include "QmlHarness.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "ScriptedSpotify.h"
#include "SkinPalette.h"
#include "TemporaryHome.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

class Defaults;

// What a scene's views see instead of a running app: the app's own owners
// (preferences, coordinator, dashboard state) built by the composition root
// from fakes, over a temporary home, a manual clock, a fixed wall clock and
// system appearance, with whatever playback the scene scripts. Never a real Spotify.
class ScriptedState {
public:
    ScriptedState();
    ~ScriptedState();
    ScriptedState(const ScriptedState &) = delete;
    ScriptedState &operator=(const ScriptedState &) = delete;

    TemporaryHome home;
    ManualScheduler scheduler;
    ScopedScheduler installed{scheduler};

    // Scripted before the views load; apply() hands them to the owners.
    std::optional<PlaybackSnapshot> playback;
    QList<MusicShortcut> shortcuts;
    QImage cover; // with the palette below, the coordinator's artwork
    // The artwork's colours; they make the environment's aura.
    std::optional<ArtworkPalette> palette;
    // The rest of the skinned environment at the scene's root.
    bool lightEffects = false;
    AnimationSettings animations;

    Aura aura() const;
    // The owners, made on first use.
    AppRoot &root();
    // Publishes the scripted playback, cover and shortcuts, and hands the
    // owners and the artwork provider to the harness's engine.
    void apply(QmlHarness &harness);

private:
    std::unique_ptr<Defaults> m_defaults;
    RecordingWidgetCenter m_widgets;
    FakeWorkspace m_workspace;
    FakeLoginItem m_login;
    RecordingAnnouncer m_announcer;
    std::shared_ptr<ScriptedSpotify> m_spotify;
    std::unique_ptr<AppRoot> m_root;
};

// One picture: a view in one skin and state. The skin is the name's middle part.
struct Scene {
    QString name; // <View>.<skin>.<state>
    QmlSource qml; // qrc:/gallery/scenes/<File>.qml or inline text
    QSize size; // empty: the root's implicit size
    QVariantMap properties = {}; // the root's initial properties
    // Scripts the state; the gallery then applies it and loads the view.
    std::function<void(ScriptedState &, QmlHarness &)> setup = {};
    // What happens once the view is shown and skinned, before the picture:
    // a key press, a new track, virtual time passing.
    std::function<void(ScriptedState &, QQuickItem *root)> act = {};
};

// A scene file compiled into the gallery.
QUrl sceneFile(const QString &name);

// The scenes of each subsystem, one file each.
QList<Scene> designScenes();
QList<Scene> noticeAndArtworkScenes();
QList<Scene> kitScenes();
QList<Scene> controlsScenes();
QList<Scene> skillScenes();
QList<Scene> dashboardScenes();
QList<Scene> surfaceScenes();
QList<Scene> panelScenes();
