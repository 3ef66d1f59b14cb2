#pragma once

#include "AppRoot.h"
#include "ArtworkPalette.h"
#include "FakeLoginItem.h"
#include "FakeScreens.h"
#include "FakeWorkspace.h"
#include "ManualScheduler.h"
#include "Motion.h"
#include "MusicShortcut.h"
#include "PlatformFeatures.h"
#include "Playback.h"
#include "QmlHarness.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "ScriptedSpotify.h"
#include "SharedStore.h"
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
class QWidget;

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
    // The connected displays, scripted before root() is first used; Qt's own when none.
    std::optional<QList<ScreenInfo>> displays;

    Aura aura() const;
    // The files the app shares with the widgets, in the temporary home.
    SharedStore store() const;
    // The login item the preferences register with; a scene may make it refuse.
    FakeLoginItem &login() { return m_login; }
    // The owners, made on first use.
    AppRoot &root();
    // What the owners see of the desktop (Spotify installed, running, launched);
    // script it after root().
    FakeWorkspace &workspace() { return m_workspace; }
    // The Spotify the owners reach: its permission and the question put again.
    ScriptedSpotify &spotify()
    {
        root();
        return *m_spotify;
    }
    // Publishes the scripted playback, cover and shortcuts, and hands the
    // owners and the artwork provider to the harness's engine.
    void apply(QmlHarness &harness);

private:
    // A scene may switch the platform's features; the next one gets them back.
    PlatformFeatures m_features = PlatformFeatures::current();
    std::unique_ptr<Defaults> m_defaults;
    RecordingWidgetCenter m_widgets;
    FakeWorkspace m_workspace;
    FakeLoginItem m_login;
    RecordingAnnouncer m_announcer;
    FakeScreens m_screens;
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
    // A top-level widget (a dialog) drawn instead of the view, made in the
    // scene's skin once the state is set up; its picture is the widget alone.
    std::function<std::unique_ptr<QWidget>(ScriptedState &, const SkinPalette &)> widget = {};
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
QList<Scene> setupScenes();
QList<Scene> settingsScenesA();
QList<Scene> panelScenes();
QList<Scene> settingsScenesB();
QList<Scene> popupScenes();

// What a scene's act does to open a popup as a person would: the context
// menu of an item (a ContextMenuModel in its `menu` property) with the
// pointer over the item, or the help tip once the pointer has rested on it.
void openContextMenu(QQuickItem *item);
void restPointerOn(ScriptedState &state, QQuickItem *item);

// Every scene, in the order the gallery renders them.
QList<Scene> allScenes();
std::optional<Scene> sceneNamed(const QString &name);

// One scene drawn as the gallery draws it. `problem` is empty when it drew
// cleanly; `later` is a second picture taken after the caller's step (virtual
// time passing, a key), for checks that compare two frames. Top-level
// widgets the scene opened (a context menu, a help tip) are drawn in where
// they stand over the window; `popups` holds their rectangles in the first picture.
// A widget scene's steps get a null root: its widget is the shown top-level one.
struct RenderedScene {
    QImage image;
    QImage later;
    QString problem;
    QList<QRect> popups;
};
RenderedScene renderScene(
    const Scene &scene, const std::function<void(ScriptedState &, QQuickItem *root)> &later = {});
