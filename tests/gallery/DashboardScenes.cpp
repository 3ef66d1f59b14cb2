#include "Assets.h"
#include "DashboardState.h"
#include "PlatformFeatures.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Scene.h"

#include <QDir>
#include <QFile>

// The dashboard window's content in each section and state, and the
// now-playing card alone.
namespace {
const QSize window(960, 750);

void playing(ScriptedState &state)
{
    state.playback = PlaybackSnapshot(PlayerAvailability::ready,
        Track("spotify:track:4fbvXwMTXPWaFyaMWUm9CR", "Holocene", "Bon Iver", "Bon Iver, Bon Iver", 337,
            std::nullopt, QUrl("https://open.spotify.com/track/4fbvXwMTXPWaFyaMWUm9CR")),
        true, 64, 60, true, false, PlaybackCapabilities{true, true, true}, Date::now(), std::nullopt,
        std::nullopt, std::nullopt);
    state.cover = Assets::image(QStringLiteral("PreviewArtwork"), QSize(300, 300));
    state.palette = ArtworkPalette{{0.93, 0.33, 0.55}, {0.98, 0.66, 0.25}, {0.16, 0.06, 0.14}};
}

using Setup = std::function<void(ScriptedState &)>;

QList<Scene> bothSkins(const QString &view, const QString &stateName, const QmlSource &qml, QSize size,
    DashboardSection section, const Setup &setup)
{
    QList<Scene> result;
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        const QString name = QStringList{view, toRawValue(skin), stateName}.join(QLatin1Char('.'));
        result << Scene{name, qml, size, {}, [skin, section, setup](ScriptedState &state, QmlHarness &) {
                            state.root().preferences().completeSetup();
                            state.root().preferences().setSkin(skin);
                            state.root().dashboardState().setSection(section);
                            if (setup)
                                setup(state);
                        }};
    }
    return result;
}

QList<Scene> dashboard(
    const QString &stateName, DashboardSection section, const Setup &setup = {}, QSize size = window)
{
    return bothSkins(QStringLiteral("DashboardView"), stateName,
        QmlSource(QUrl(QStringLiteral("qrc:/Orvel/Dashboard/DashboardView.qml"))), size, section, setup);
}
} // namespace

QList<Scene> dashboardScenes()
{
    QList<Scene> scenes;
    scenes << dashboard("overview-playing", DashboardSection::overview, playing);
    scenes << dashboard("overview-not-connected", DashboardSection::overview, [](ScriptedState &state) {
        state.playback = PlaybackCoordinator::placeholder(PlayerAvailability::notRunning);
    });
    scenes << dashboard("overview-no-track", DashboardSection::overview, [](ScriptedState &state) {
        state.playback = PlaybackCoordinator::placeholder(PlayerAvailability::ready);
    });
    scenes << dashboard(
        "overview-storage-warning", DashboardSection::overview,
        [](ScriptedState &state) {
            playing(state);
            // A file where the group's folder should be: the snapshot cannot be shared.
            QDir(state.home.path("group")).removeRecursively();
            QFile blocker(state.home.path("group"));
            blocker.open(QIODevice::WriteOnly);
        },
        QSize(960, 960));
    scenes << dashboard("shortcuts", DashboardSection::shortcuts);
    scenes << dashboard("preferences", DashboardSection::appearance);
    scenes << dashboard("appearance", DashboardSection::personalization);
    scenes << dashboard("about", DashboardSection::about, playing);
    scenes << dashboard("setup", DashboardSection::overview,
        [](ScriptedState &state) { state.root().preferences().restartSetup(); });
    scenes << bothSkins(QStringLiteral("DashboardView"), QStringLiteral("widget-guide"),
        QmlSource("import QtQuick\nimport Orvel\nDashboardView { Component.onCompleted: screen.widgetGuide = "
                  "true }"),
        window, DashboardSection::overview, {});
    scenes << bothSkins(QStringLiteral("NowPlayingCard"), QStringLiteral("playing"),
        QmlSource(
            "import QtQuick\nimport Orvel\nimport Orvel.Shared\nRectangle { Skinned.skin: Preferences.skin; "
            "color: Skinned.palette.ground; "
            "implicitWidth: 760; implicitHeight: card.height + 48; NowPlayingCard { id: card; x: 24; y: 24; "
            "width: 712 } }"),
        {}, DashboardSection::overview, playing);
    scenes << bothSkins(QStringLiteral("NowPlayingCard"), QStringLiteral("not-connected"),
        QmlSource(
            "import QtQuick\nimport Orvel\nimport Orvel.Shared\nRectangle { Skinned.skin: Preferences.skin; "
            "color: Skinned.palette.ground; "
            "implicitWidth: 760; implicitHeight: card.height + 48; NowPlayingCard { id: card; x: 24; y: 24; "
            "width: 712 } }"),
        {}, DashboardSection::overview, [](ScriptedState &state) {
            state.playback = PlaybackCoordinator::placeholder(PlayerAvailability::notRunning);
        });
    // Last: the features stay switched for the rest of the run.
    scenes << dashboard("overview-no-widgets", DashboardSection::overview, [](ScriptedState &state) {
        playing(state);
        PlatformFeatures::setCurrent(PlatformFeatures::macOS(13));
    });
    return scenes;
}
