#include "Localization.h"
#include "Scene.h"
#include "SkinEnvironment.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

// orvel-gallery: renders the views' scenes offscreen to PNG.
//   orvel-gallery --list
//   orvel-gallery --out DIR [PREFIX...]
// Pictures are at device pixel ratio 1; QT_SCALE_FACTOR=2 gives a closer look.
namespace {
QList<Scene> allScenes()
{
    // The dashboard's scenes switch the platform's features: they come last.
    return designScenes() + kitScenes() + noticeAndArtworkScenes() + controlsScenes() + skillScenes()
        + surfaceScenes() + panelScenes() + settingsScenesA() + settingsScenesB() + dashboardScenes()
        + setupScenes();
}

void print(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Renders one scene to DIR/<name>.png; the empty string when it is fine,
// otherwise what went wrong.
QString render(const Scene &scene, const QDir &out)
{
    const std::optional<Skin> skin = fromRawValue<Skin>(scene.name.section(QLatin1Char('.'), 1, 1));
    if (!skin || scene.name.count(QLatin1Char('.')) != 2)
        return QStringLiteral("failed: not a <View>.<skin>.<state> name");

    ScriptedState state;
    QmlHarness harness;
    if (scene.setup)
        scene.setup(state, harness);
    state.apply(harness);
    const auto view = harness.view(scene.qml, scene.properties, scene.size);
    if (!view)
        return QStringLiteral("failed: ") + harness.errors().trimmed();
    Skinned::of(view->item())->apply(*skin, state.aura(), state.lightEffects, state.animations);
    state.scheduler.runUntilIdle();
    if (scene.act) {
        scene.act(state, view->item());
        state.scheduler.runUntilIdle();
    }
    const QImage image = view->grab();

    QString problem;
    if (!image.isNull() && !image.save(out.filePath(scene.name + QStringLiteral(".png"))))
        problem = QStringLiteral("failed: the PNG could not be written");
    else if (QmlHarness::isBlank(image))
        problem = QStringLiteral("blank");
    if (const QStringList warnings = harness.warnings(); !warnings.isEmpty())
        problem += (problem.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("warning: ")
            + warnings.join(QStringLiteral("; "));
    return problem;
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    installLinuxWording();

    const QStringList arguments = app.arguments().mid(1);
    const QList<Scene> scenes = allScenes();
    if (arguments == QStringList{QStringLiteral("--list")}) {
        for (const Scene &scene : scenes)
            print(scene.name);
        return 0;
    }
    if (arguments.size() < 2 || arguments[0] != QLatin1String("--out")) {
        std::fprintf(stderr, "usage: orvel-gallery --list | --out DIR [PREFIX...]\n");
        return 2;
    }
    QDir out(arguments[1]);
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(out.path()));
        return 2;
    }
    const QStringList prefixes = arguments.mid(2);

    int rendered = 0, failed = 0;
    for (const Scene &scene : scenes) {
        const bool chosen = prefixes.isEmpty()
            || std::any_of(
                prefixes.begin(), prefixes.end(), [&](const QString &p) { return scene.name.startsWith(p); });
        if (!chosen)
            continue;
        const QString problem = render(scene, out);
        ++rendered;
        failed += !problem.isEmpty();
        print(QStringLiteral("%1 %2").arg(scene.name, problem.isEmpty() ? QStringLiteral("ok") : problem));
    }
    if (rendered == 0) {
        std::fprintf(stderr, "no scene matches\n");
        return 1;
    }
    print(QStringLiteral("%1 of %2 scenes rendered cleanly into %3")
              .arg(rendered - failed)
              .arg(rendered)
              .arg(out.absolutePath()));
    return failed ? 1 : 0;
}
