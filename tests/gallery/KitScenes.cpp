#include "Preferences.h"
#include "Scene.h"
#include "SystemAppearance.h"

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

// The sheet under light effects.
Scene light(Scene scene)
{
    scene.setup = [](ScriptedState &state, QmlHarness &harness) {
        coolArtwork(state, harness);
        state.lightEffects = true;
    };
    return scene;
}

// The sheet with the system's Reduce Transparency on.
Scene reducedTransparency(Scene scene)
{
    scene.setup = [](ScriptedState &state, QmlHarness &harness) {
        coolArtwork(state, harness);
        SystemAppearance::shared()->setOverrides({false, true, false});
    };
    return scene;
}
} // namespace

QList<Scene> kitScenes()
{
    QList<Scene> scenes;
    scenes << bothSkins("PressFeedbackStyle", "states", sheet("PressFeedbackSheet"));
    scenes << bothSkins("PressFeedbackStyle", "light", light(sheet("PressFeedbackSheet")));
    scenes << bothSkins("TitleText", "sizes", sheet("TitleTextSheet"));
    scenes << bothSkins("TimeText", "readouts", sheet("TimeTextSheet"));
    scenes << bothSkins("Eyebrow", "captions", sheet("EyebrowSheet"));
    scenes << bothSkins("GlyphButton", "states", sheet("GlyphButtonSheet"));
    scenes << bothSkins("PrimaryButton", "states", sheet("PrimaryButtonSheet"));
    scenes << bothSkins("TextLink", "plain", sheet("TextLinkSheet"));
    scenes << bothSkins("SelectionDot", "states", sheet("SelectionDotSheet"));

    scenes << bothSkins("SurfaceGround", "glass", sheet("GroundSheet"));
    scenes << bothSkins("SurfaceGround", "solid", sheet("GroundSheet", {{"solid", true}}));
    scenes << bothSkins("SurfaceGround", "light", light(sheet("GroundSheet")));
    scenes << bothSkins("SurfaceGround", "reduceTransparency", reducedTransparency(sheet("GroundSheet")));
    scenes << bothSkins("SkinCard", "radii", sheet("CardSheet"));
    scenes << bothSkins("SkinFill", "strengths", sheet("FillSheet"));
    scenes << bothSkins("SectionRule", "widths", sheet("RuleSheet"));

    scenes << bothSkins("SkinToggle", "states", sheet("ToggleSheet"));
    scenes << bothSkins("SkinSwatch", "both", sheet("SwatchSheet"));
    for (const Skin chosen : allCases<Skin>()) {
        // Sized by hand: the cards' heights settle only once the page is laid out.
        Scene picker = sheet("PickerSheet");
        picker.size = {520, 262};
        picker.setup = [chosen](ScriptedState &state, QmlHarness &harness) {
            coolArtwork(state, harness);
            state.root().preferences().setSkin(chosen);
        };
        scenes << bothSkins("SkinPicker", toRawValue(chosen) + "Chosen", picker);
    }
    scenes << bothSkins("ChoiceCard", "states", sheet("ChoiceCardSheet"));
    return scenes;
}
