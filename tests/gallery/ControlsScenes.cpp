#include "PlaybackCoordinator.h"
#include "Scene.h"
#include "SystemAppearance.h"

#include <QQuickItem>

// The player controls: the position and volume bars, the transport row and
// the function toggles, over scripted playback.
namespace {
QList<Scene> bothSkins(const QString &view, const QString &state, const Scene &scene)
{
    QList<Scene> result;
    for (const QString &skin : {QStringLiteral("classico"), QStringLiteral("rivista")}) {
        Scene copy = scene;
        copy.name = QStringList{view, skin, state}.join(QLatin1Char('.'));
        result << copy;
    }
    return result;
}

// A cool cover's colours, so rivista's ground has an aura.
const ArtworkPalette coolPalette{{0.18, 0.42, 0.93}, {0.62, 0.38, 0.95}, {0.05, 0.08, 0.2}};

// A track of 3:25 at `position`, at `volume`.
PlaybackSnapshot track(const QString &id, double position, bool playing, double volume, bool canSeek = true)
{
    return PlaybackSnapshot(PlayerAvailability::ready,
        Track("spotify:track:" + id, "Title " + id, "Artist", "Album", 205, std::nullopt, std::nullopt),
        playing, position, volume, false, false, PlaybackCapabilities{canSeek, true, true}, Date::now(),
        std::nullopt, std::nullopt, std::nullopt);
}

std::function<void(ScriptedState &, QmlHarness &)> scripted(
    PlaybackSnapshot snapshot, bool controlsStill = false)
{
    return [snapshot, controlsStill](ScriptedState &state, QmlHarness &) {
        // Read now, on the scene's wall clock.
        state.playback = snapshot;
        state.playback->updatedAt = Date::now();
        state.palette = coolPalette;
        // The focus ring and the knob appear at once, not on a spring the picture would catch midway.
        if (controlsStill)
            state.animations.disabled.insert(AnimationFeature::controls);
    };
}

// The bar has grown in.
void revealed(ScriptedState &state, QQuickItem *)
{
    state.scheduler.advance(1);
}

void focused(ScriptedState &state, QQuickItem *root)
{
    revealed(state, root);
    if (auto *scrubber = root->findChild<QQuickItem *>(QStringLiteral("scrubber")))
        scrubber->forceActiveFocus();
}

// A drag held halfway along: the value being edited shows before it is sent.
void dragging(ScriptedState &state, QQuickItem *root)
{
    revealed(state, root);
    auto *scrubber = root->findChild<QQuickItem *>(QStringLiteral("scrubber"));
    if (!scrubber)
        return;
    QObject *model = scrubber->property("model").value<QObject *>();
    QMetaObject::invokeMethod(
        model, "dragChanged", Q_ARG(double, scrubber->width() * 0.6), Q_ARG(double, scrubber->width()));
}

// A new track at the swell's peak, 0.1344 s after it began.
void swelling(ScriptedState &state, QQuickItem *root)
{
    revealed(state, root);
    state.root().coordinator().publish(track("next", 3, true, 60), true);
    state.scheduler.advance(0.1344);
}

Scene progress(const QString &caption, std::function<void(ScriptedState &, QmlHarness &)> setup,
    std::function<void(ScriptedState &, QQuickItem *)> act = revealed)
{
    return {{}, sceneFile("ProgressSheet"), {}, {{"caption", caption}}, std::move(setup), std::move(act)};
}

Scene volume(const QString &caption, std::function<void(ScriptedState &, QmlHarness &)> setup,
    std::function<void(ScriptedState &, QQuickItem *)> act = revealed)
{
    return {{}, sceneFile("VolumeSheet"), {}, {{"caption", caption}}, std::move(setup), std::move(act)};
}

Scene transport(const QString &caption, const PlaybackSnapshot &snapshot)
{
    return {{}, sceneFile("TransportSheet"), {}, {{"caption", caption}}, scripted(snapshot)};
}
} // namespace

QList<Scene> controlsScenes()
{
    const PlaybackSnapshot notRunning = PlaybackCoordinator::placeholder(PlayerAvailability::notRunning);
    QList<Scene> scenes;
    scenes << bothSkins(
        "ProgressControl", "start", progress("0:00 of 3:25, paused", scripted(track("a", 0, false, 0))));
    scenes << bothSkins("ProgressControl", "fraction40",
        progress("1:22 of 3:25, paused", scripted(track("a", 82, false, 40))));
    scenes << bothSkins(
        "ProgressControl", "playing", progress("1:22 of 3:25, playing", scripted(track("a", 81, true, 40))));
    scenes << bothSkins(
        "ProgressControl", "end", progress("3:25 of 3:25", scripted(track("a", 205, false, 100))));
    scenes << bothSkins("ProgressControl", "disabled",
        progress("an advertisement: no seeking", scripted(track("ad", 82, false, 40, false))));
    scenes << bothSkins("ProgressControl", "noTrack", progress("Spotify not running", scripted(notRunning)));
    scenes << bothSkins("ProgressControl", "focused",
        progress("keyboard focus", scripted(track("a", 82, false, 40), true), focused));
    scenes << bothSkins("ProgressControl", "dragging",
        progress("dragged to 2:03, paused", scripted(track("a", 82, false, 40), true), dragging));
    scenes << bothSkins("ProgressControl", "swell",
        progress("a new track, at the swell's peak", scripted(track("a", 82, true, 40)), swelling));
    Scene reduced = progress("the same with Reduce Motion", scripted(track("a", 82, true, 40)), swelling);
    reduced.setup = [inner = reduced.setup](ScriptedState &state, QmlHarness &harness) {
        inner(state, harness);
        SystemAppearance::shared()->setOverrides({true, false, false});
    };
    scenes << bothSkins("ProgressControl", "swellReduced", reduced);

    scenes << bothSkins("VolumeControl", "muted", volume("volume 0", scripted(track("a", 0, false, 0))));
    scenes << bothSkins(
        "VolumeControl", "fraction40", volume("volume 40", scripted(track("a", 0, false, 40))));
    scenes << bothSkins("VolumeControl", "full", volume("volume 100", scripted(track("a", 0, false, 100))));
    scenes << bothSkins("VolumeControl", "disabled", volume("Spotify not running", scripted(notRunning)));
    scenes << bothSkins("VolumeControl", "focused",
        volume("keyboard focus", scripted(track("a", 0, false, 40), true), focused));
    scenes << bothSkins("VolumeControl", "dragging",
        volume("dragged up from 0", scripted(track("a", 0, false, 0), true), dragging));

    scenes << bothSkins("TransportControls", "paused", transport("paused", track("a", 82, false, 40)));
    scenes << bothSkins("TransportControls", "playing", transport("playing", track("a", 82, true, 40)));
    scenes << bothSkins("TransportControls", "disabled", transport("Spotify not running", notRunning));
    scenes << bothSkins("FunctionButton", "states",
        {{}, sceneFile("FunctionButtonSheet"), {}, {}, scripted(track("a", 0, false, 40))});
    return scenes;
}
