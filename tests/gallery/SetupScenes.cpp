#include "PlatformFeatures.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Scene.h"

#include <QQuickItem>

// The guided setup at each step and in each situation, the widget guide, the
// surface cards, the effects picker and the moving player.
namespace {
const QSize window(960, 750);

using Setup = std::function<void(ScriptedState &)>;
using Act = std::function<void(ScriptedState &, QQuickItem *)>;

QList<Scene> bothSkins(const QString &view, const QString &stateName, const QmlSource &qml, QSize size,
    const Setup &setup = {}, const Act &act = {})
{
    QList<Scene> result;
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        const QString name = QStringList{view, toRawValue(skin), stateName}.join(QLatin1Char('.'));
        result << Scene{name, qml, size, {},
            [skin, setup](ScriptedState &state, QmlHarness &) {
                state.root().preferences().setSkin(skin);
                state.root().preferences().restartSetup();
                if (setup)
                    setup(state);
            },
            act};
    }
    return result;
}

void availability(ScriptedState &state, PlayerAvailability value)
{
    state.playback = PlaybackCoordinator::placeholder(value);
}

void widgets(bool supported)
{
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(supported ? 14 : 13));
}

// Presses the guide's footer buttons through its flow.
Act steps(int count, bool connect = false)
{
    return [count, connect](ScriptedState &, QQuickItem *root) {
        QObject *flow = qvariant_cast<QObject *>(root->property("flow"));
        for (int i = 0; i < count; ++i)
            QMetaObject::invokeMethod(flow, "advance");
        if (connect)
            QMetaObject::invokeMethod(flow, "connect");
    };
}

QList<Scene> guide(const QString &stateName, const Setup &setup, const Act &act = {}, QSize size = window)
{
    // The picture is taken at once: a step change must not fade the page in.
    const Setup still = [setup](ScriptedState &state) {
        state.animations.setEnabled(AnimationFeature::panels, false);
        setup(state);
    };
    return bothSkins(QStringLiteral("OnboardingView"), stateName,
        QmlSource(QUrl(QStringLiteral("qrc:/Orvel/Setup/OnboardingView.qml"))), size, still, act);
}

// A view on the skin's ground, inset 24; `height` is the view's, as the
// picture's size is fixed before the view has laid itself out.
struct OnGround {
    QmlSource qml;
    QSize size;
};
OnGround onGround(const QString &content, int width, int height)
{
    return {QmlSource(QStringLiteral("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                                     "Rectangle { color: Skinned.palette.ground;\n"
                                     "Item { x: 24; y: 24; width: %1;\n%2 } }")
                          .arg(width)
                          .arg(content)
                          .toUtf8()),
        QSize(width + 48, height + 48)};
}

QList<Scene> groundScenes(
    const QString &view, const QString &stateName, const OnGround &ground, const Setup &setup = {})
{
    return bothSkins(view, stateName, ground.qml, ground.size, setup);
}

// The sidebar's card hovered when `hovered`: its picture lights up with the rest.
QList<Scene> cards(const QString &stateName, bool compact, bool on, bool hovered = false)
{
    const QString card = QStringLiteral("SurfaceChoiceCard { width: %1; compact: %2; kind: '%3'; isOn: %4 }");
    const QString hoveredCard
        = hovered ? card.left(card.size() - 1) + QStringLiteral("; shownHovered: true }") : card;
    const int width = compact ? 260 : 320;
    const QString flag = compact ? QStringLiteral("true") : QStringLiteral("false");
    const QString state = on ? QStringLiteral("true") : QStringLiteral("false");
    const QString row = QStringLiteral("Row { spacing: 16; %1\n%2 }")
                            .arg(card.arg(width).arg(flag, QStringLiteral("notch"), state),
                                hoveredCard.arg(width).arg(flag, QStringLiteral("sidebar"), state));
    return groundScenes(
        QStringLiteral("SurfaceChoiceCard"), stateName, onGround(row, 2 * width + 16, compact ? 172 : 246));
}
} // namespace

QList<Scene> setupScenes()
{
    QList<Scene> scenes;
    const QSize tall(960, 1320);
    scenes << guide(
        "surfaces", [](ScriptedState &) { widgets(true); }, {}, tall);
    scenes << guide(
        "surfaces-no-panels",
        [](ScriptedState &state) {
            widgets(false);
            state.root().preferences().setNotchEnabled(false);
            state.root().preferences().setSidebarEnabled(false);
        },
        {}, tall);
    scenes << guide(
        "spotify-not-installed",
        [](ScriptedState &state) {
            state.workspace().spotifyInstalled = false;
            availability(state, PlayerAvailability::notInstalled);
        },
        steps(1));
    scenes << guide(
        "spotify-refused",
        [](ScriptedState &state) { availability(state, PlayerAvailability::permissionDenied); }, steps(1));
    // "Connect Spotify" after a refusal puts the question again; this user allows it.
    scenes << guide(
        "spotify-refused-allowed-again",
        [](ScriptedState &state) {
            availability(state, PlayerAvailability::permissionDenied);
            state.spotify().permissionStatus = PlaybackCoordinator::notPermittedStatus;
            state.spotify().reconsidered = true;
        },
        [](ScriptedState &state, QQuickItem *root) {
            state.spotify().state = PlaybackCoordinator::placeholder(PlayerAvailability::noTrack);
            steps(1, true)(state, root);
        });
    scenes << guide(
        "spotify-connecting",
        [](ScriptedState &state) {
            // Spotify launches and is still settling when the picture is taken.
            state.workspace().spotifyPid.reset();
            state.workspace().launchPid = 4242;
            availability(state, PlayerAvailability::notRunning);
        },
        steps(1, true));
    scenes << guide(
        "spotify-connected", [](ScriptedState &state) { availability(state, PlayerAvailability::noTrack); },
        steps(1));
    scenes << guide(
        "widgets",
        [](ScriptedState &state) {
            widgets(true);
            availability(state, PlayerAvailability::noTrack);
        },
        steps(2), QSize(960, 900));
    scenes << guide(
        "widgets-unsupported",
        [](ScriptedState &state) {
            widgets(false);
            availability(state, PlayerAvailability::noTrack);
        },
        steps(2));

    const QmlSource guideSheet("import QtQuick\nimport Orvel\nWidgetGuideView {}");
    scenes << bothSkins(
        "WidgetGuideView", "supported", guideSheet, {}, [](ScriptedState &) { widgets(true); });
    scenes << bothSkins(
        "WidgetGuideView", "unsupported", guideSheet, {}, [](ScriptedState &) { widgets(false); });

    scenes << cards("full-on", false, true);
    scenes << cards("full-off", false, false);
    scenes << cards("full-on-sidebar-hovered", false, true, true);
    scenes << cards("compact-on", true, true);
    scenes << cards("compact-off", true, false);

    scenes << groundScenes(
        "EffectsModePicker", "standard", onGround("EffectsModePicker { width: 600 }", 600, 70));
    scenes << groundScenes("EffectsModePicker", "light-compact",
        onGround("EffectsModePicker { width: 480; compact: true }", 480, 62),
        [](ScriptedState &state) { state.root().preferences().setEffects(EffectsMode::light); });

    scenes << groundScenes("MovePlayerIllustration", "moving",
        onGround("MovePlayerIllustration { width: 220; height: 136 }", 220, 136));
    return scenes;
}
