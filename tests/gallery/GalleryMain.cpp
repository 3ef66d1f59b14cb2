#include "Localization.h"
#include "Scene.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

// orvel-gallery: renders the views' scenes offscreen to PNG.
//   orvel-gallery --list
//   orvel-gallery --out DIR [PREFIX...]
// Pictures are at device pixel ratio 1; QT_SCALE_FACTOR=2 gives a closer look.
namespace {
void print(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    // Widgets, as in the app: context menus and help tips are top-level widgets.
    QApplication app(argc, argv);
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
        const RenderedScene picture = renderScene(scene);
        QString problem = picture.problem;
        if (!picture.image.isNull() && !picture.image.save(out.filePath(scene.name + QStringLiteral(".png"))))
            problem = QStringLiteral("failed: the PNG could not be written");
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
