#include "Scene.h"

// The floating panels' own views: the display identification and the header's drag handle.
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

Scene identification(int number, const QString &name, bool primary)
{
    return {{}, sceneFile(QStringLiteral("IdentificationSheet")), {},
        {{QStringLiteral("number"), number}, {QStringLiteral("name"), name},
            {QStringLiteral("primary"), primary}}};
}
} // namespace

QList<Scene> panelScenes()
{
    QList<Scene> scenes;
    scenes << bothSkins("DisplayIdentificationView", "primary", identification(1, "Built-in Display", true));
    scenes << bothSkins("DisplayIdentificationView", "connected",
        identification(2, "A Very Long Display Name That Does Not Fit On One Line", false));
    return scenes;
}
