#include "Assets.h"
#include "PlaybackCoordinator.h"
#include "Scene.h"

// The cover, Spotify's marks, the buttons that lead back to Spotify and the
// availability notice.
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

QVariantMap sample(int width, int height, int radius, bool cover, bool thumbnail = false)
{
    return {
        {"width", width}, {"height", height}, {"radius", radius}, {"cover", cover}, {"thumbnail", thumbnail}};
}

// A track with a link, playing, and its cover with warm colours.
void playingWithCover(ScriptedState &state, QmlHarness &)
{
    state.playback = PlaybackSnapshot(PlayerAvailability::ready,
        Track("spotify:track:4fbvXwMTXPWaFyaMWUm9CR", "Holocene", "Bon Iver", "Bon Iver", 337, std::nullopt,
            QUrl("https://open.spotify.com/track/4fbvXwMTXPWaFyaMWUm9CR")),
        true, 64, 60, false, false, PlaybackCapabilities{true, true, true}, Date::now(), std::nullopt,
        std::nullopt, std::nullopt);
    state.cover = Assets::image(QStringLiteral("PreviewArtwork"), QSize(300, 300));
    state.palette = ArtworkPalette{{0.93, 0.33, 0.55}, {0.98, 0.66, 0.25}, {0.16, 0.06, 0.14}};
}

Scene artwork(const QVariantList &samples)
{
    return {{}, sceneFile("ArtworkSheet"), {}, {{"samples", samples}}};
}
} // namespace

QList<Scene> noticeAndArtworkScenes()
{
    QList<Scene> scenes;
    scenes << bothSkins("ArtworkView", "cover",
        artwork({sample(120, 120, 8, true), sample(160, 100, 8, true), sample(44, 44, 8, true)}));
    scenes << bothSkins("ArtworkView", "placeholder",
        artwork({sample(120, 120, 8, false), sample(160, 100, 8, false), sample(44, 44, 8, false)}));
    scenes << bothSkins("ArtworkView", "thumbnail",
        artwork({sample(30, 20, 8, false, true), sample(40, 40, 6, false, true),
            sample(96, 96, 8, false, true)}));
    scenes << bothSkins("ArtworkView", "radius",
        artwork({sample(96, 96, 18, true), sample(96, 96, 6, true), sample(96, 96, 18, false),
            sample(96, 96, 6, false)}));
    scenes << bothSkins("SpotifyAttribution", "marks", {{}, sceneFile("AttributionSheet"), {}});
    scenes << bothSkins(
        "ArtworkButton", "cover", {{}, sceneFile("ArtworkButtonSheet"), {}, {}, playingWithCover});
    scenes << bothSkins("ArtworkButton", "placeholder", {{}, sceneFile("ArtworkButtonSheet"), {}});
    scenes << bothSkins(
        "Attribution", "track", {{}, sceneFile("AttributionButtonSheet"), {}, {}, playingWithCover});
    for (const PlayerAvailability availability : allCases<PlayerAvailability>()) {
        const auto setup = [availability](ScriptedState &state, QmlHarness &) {
            state.playback = PlaybackCoordinator::placeholder(availability);
        };
        for (const bool compact : {false, true})
            scenes << bothSkins("AvailabilityView",
                toRawValue(availability) + (compact ? QStringLiteral("-compact") : QStringLiteral("-full")),
                {{}, sceneFile("AvailabilitySheet"), {}, {{"compact", compact}}, setup});
    }
    return scenes;
}
