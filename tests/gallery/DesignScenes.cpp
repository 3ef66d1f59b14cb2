#include "OrvelGlyph.h"
#include "Scene.h"
#include "SkillGlyph.h"
#include "Typography.h"
#include "VisualizerSettings.h"

// The design system's views: glyphs, visualizer, mark, glow, indicator and text.
namespace {
template<class E>
QStringList names()
{
    QStringList result;
    for (const E value : allCases<E>())
        result << toRawValue(value);
    return result;
}

// A warm cover: pink, orange and a dark plum.
void warmArtwork(ScriptedState &state, QmlHarness &)
{
    state.palette = ArtworkPalette{{0.93, 0.33, 0.55}, {0.98, 0.66, 0.25}, {0.16, 0.06, 0.14}};
}

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

Scene visualizer(const QStringList &styles, const QStringList &palettes, QVariantMap extra = {})
{
    extra.insert({{"styles", styles}, {"palettes", palettes}});
    return {{}, sceneFile("VisualizerSheet"), {}, extra, warmArtwork};
}
} // namespace

QList<Scene> designScenes()
{
    const QStringList styles = names<VisualizerStyle>();
    const QStringList palettes = names<VisualizerPalette>();
    QList<Scene> scenes;

    scenes << bothSkins(
        "GlyphSheet", "all", {{}, sceneFile("GlyphSheet"), {}, {{"names", names<OrvelGlyph>()}}});
    scenes << bothSkins(
        "SkillGlyphImage", "all", {{}, sceneFile("SkillGlyphSheet"), {}, {{"names", names<SkillGlyph>()}}});

    // One scene per style with the seven palettes, then the other forms of all four styles.
    for (const QString &style : styles)
        scenes << bothSkins("VisualizerDrawing", style + "-full", visualizer({style}, palettes));
    scenes << bothSkins("VisualizerDrawing", "compact", visualizer(styles, palettes, {{"compact", true}}));
    scenes << bothSkins("VisualizerDrawing", "paused",
        visualizer(styles, {"orvel", "artwork", "spectrum"}, {{"playing", false}}));
    scenes << bothSkins(
        "VisualizerDrawing", "monochrome", visualizer(styles, {"orvel"}, {{"monochrome", true}}));
    Scene light = visualizer(styles, {"orvel", "spectrum"});
    light.setup = [](ScriptedState &state, QmlHarness &harness) {
        warmArtwork(state, harness);
        state.lightEffects = true;
    };
    scenes << bothSkins("VisualizerDrawing", "light", light);

    scenes << bothSkins("MarkView", "sizes", {{}, sceneFile("MarkSheet"), {}});
    scenes << Scene{"AuraGlow.classico.auras", sceneFile("AuraGlowSheet"), {}, {}, warmArtwork};
    scenes << bothSkins(
        "PlayingIndicator", "playing", {{}, sceneFile("IndicatorSheet"), {}, {}, warmArtwork});
    scenes << bothSkins("PlayingIndicator", "paused",
        {{}, sceneFile("IndicatorSheet"), {}, {{"playing", false}}, warmArtwork});
    scenes << bothSkins(
        "Typography", "roles", {{}, sceneFile("TextRoles"), {}, {{"roles", names<TextRole>()}}});
    return scenes;
}
