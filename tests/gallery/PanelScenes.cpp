#include "PanelModel.h"
#include "Preferences.h"
#include "Scene.h"

#include <QCursor>
#include <QQmlContext>
#include <QQuickItem>

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
// The folded player on a display without a notch, dragging allowed or not;
// the picture outlines what the handle covers and names its cursor.
QList<Scene> dragHandle(const QString &state, bool dragEnabled)
{
    QList<Scene> result;
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        Scene scene{
            QStringList{QStringLiteral("PlayerDragHandle"), toRawValue(skin), state}.join(QLatin1Char('.')),
            sceneFile(QStringLiteral("DragHandleSheet")), {}};
        scene.setup = [skin, dragEnabled](ScriptedState &state, QmlHarness &harness) {
            state.root().preferences().setSkin(skin);
            state.root().preferences().setDragEnabled(dragEnabled);
            const ScreenGeometry display(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1050), 0, 0);
            auto *model = new PanelModel(SurfaceKind::notch, display, state.scheduler, &harness.engine());
            harness.engine().rootContext()->setContextProperty(QStringLiteral("panelModel"), model);
        };
        scene.act = [](ScriptedState &state, QQuickItem *root) {
            state.scheduler.advance(1);
            auto *handle = root->findChild<QQuickItem *>(QStringLiteral("dragHandle"));
            if (!handle)
                return;
            root->setProperty("handleArea", handle->mapRectToItem(root, handle->boundingRect()));
            root->setProperty("cursorName",
                handle->cursor().shape() == Qt::OpenHandCursor ? QStringLiteral("open hand")
                                                               : QStringLiteral("pointing hand"));
        };
        result << scene;
    }
    return result;
}
} // namespace

QList<Scene> panelScenes()
{
    QList<Scene> scenes;
    scenes << bothSkins("DisplayIdentificationView", "primary", identification(1, "Built-in Display", true));
    scenes << bothSkins("DisplayIdentificationView", "connected",
        identification(2, "A Very Long Display Name That Does Not Fit On One Line", false));
    scenes << dragHandle("dragEnabled", true);
    scenes << dragHandle("dragDisabled", false);
    return scenes;
}
