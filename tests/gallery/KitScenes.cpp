#include "Scene.h"

// The UI kit's views: grounds and cards, buttons, texts, toggles and pickers.
namespace {
// The scene in both skins, named <view>.<skin>.<state>.
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

// A cool cover: a deep blue and a violet.
void coolArtwork(ScriptedState &state, QmlHarness &)
{
    state.palette = ArtworkPalette{{0.18, 0.42, 0.93}, {0.62, 0.38, 0.95}, {0.05, 0.08, 0.2}};
}

Scene sheet(const QString &file, QVariantMap properties = {})
{
    return {{}, sceneFile(file), {}, properties, coolArtwork};
}
} // namespace

QList<Scene> kitScenes()
{
    QList<Scene> scenes;
    scenes << bothSkins("PressFeedbackStyle", "states", sheet("PressFeedbackSheet"));
    Scene still = sheet("PressFeedbackSheet");
    still.setup = [](ScriptedState &state, QmlHarness &harness) {
        coolArtwork(state, harness);
        state.lightEffects = true;
    };
    scenes << bothSkins("PressFeedbackStyle", "light", still);
    scenes << bothSkins("TitleText", "sizes", sheet("TitleTextSheet"));
    scenes << bothSkins("TimeText", "readouts", sheet("TimeTextSheet"));
    scenes << bothSkins("Eyebrow", "captions", sheet("EyebrowSheet"));
    scenes << bothSkins("GlyphButton", "states", sheet("GlyphButtonSheet"));
    scenes << bothSkins("PrimaryButton", "states", sheet("PrimaryButtonSheet"));
    scenes << bothSkins("TextLink", "plain", sheet("TextLinkSheet"));
    scenes << bothSkins("SelectionDot", "states", sheet("SelectionDotSheet"));
    return scenes;
}
