#include "Scene.h"
#include "SkinEnvironment.h"

QList<Scene> allScenes()
{
    // The dashboard's scenes switch the platform's features: they come last.
    return designScenes() + kitScenes() + noticeAndArtworkScenes() + controlsScenes() + skillScenes()
        + surfaceScenes() + panelScenes() + settingsScenesA() + settingsScenesB() + dashboardScenes()
        + setupScenes();
}

std::optional<Scene> sceneNamed(const QString &name)
{
    for (const Scene &scene : allScenes())
        if (scene.name == name)
            return scene;
    return std::nullopt;
}

RenderedScene renderScene(const Scene &scene, const std::function<void(ScriptedState &, QQuickItem *)> &later)
{
    RenderedScene out;
    const std::optional<Skin> skin = fromRawValue<Skin>(scene.name.section(QLatin1Char('.'), 1, 1));
    if (!skin || scene.name.count(QLatin1Char('.')) != 2) {
        out.problem = QStringLiteral("failed: not a <View>.<skin>.<state> name");
        return out;
    }

    ScriptedState state;
    QmlHarness harness;
    if (scene.setup)
        scene.setup(state, harness);
    state.apply(harness);
    const auto view = harness.view(scene.qml, scene.properties, scene.size);
    if (!view) {
        out.problem = QStringLiteral("failed: ") + harness.errors().trimmed();
        return out;
    }
    Skinned::of(view->item())->apply(*skin, state.aura(), state.lightEffects, state.animations);
    state.scheduler.runUntilIdle();
    if (scene.act) {
        scene.act(state, view->item());
        state.scheduler.runUntilIdle();
    }
    out.image = view->grab();
    if (later) {
        later(state, view->item());
        out.later = view->grab();
    }

    if (QmlHarness::isBlank(out.image))
        out.problem = QStringLiteral("blank");
    if (const QStringList warnings = harness.warnings(); !warnings.isEmpty())
        out.problem += (out.problem.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("warning: ")
            + warnings.join(QStringLiteral("; "));
    return out;
}
