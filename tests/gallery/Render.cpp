#include "Scene.h"
#include "SkinEnvironment.h"

#include <QApplication>
#include <QPainter>
#include <QQuickWindow>
#include <QWidget>

namespace {
// The window's picture with the shown menus and tips painted over it where
// they stand; the picture grows to the right and down to hold them.
QImage grabWithPopups(QmlHarness::View &view, QList<QRect> *popups = nullptr)
{
    const QImage window = view.grab();
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()) || window.isNull())
        return window;
    const QPoint origin = view.item()->window()->mapToGlobal(QPoint(0, 0));
    QList<std::pair<QRect, QPixmap>> shown;
    QRect canvas = window.rect();
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = widget->windowType();
        if (!widget->isVisible() || (type != Qt::Popup && type != Qt::ToolTip))
            continue;
        shown.append({widget->geometry().translated(-origin), widget->grab()});
        canvas |= shown.last().first;
    }
    if (shown.isEmpty())
        return window;
    QImage image(
        canvas.bottomRight().x() + 1, canvas.bottomRight().y() + 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(0, 0, window);
    for (const auto &[place, picture] : shown) {
        painter.drawPixmap(place.topLeft(), picture);
        if (popups)
            *popups << place;
    }
    return image;
}

// Closes what the scene opened, so the next scene starts without it.
void closePopups()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && (widget->windowType() == Qt::Popup || widget->windowType() == Qt::ToolTip))
            widget->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

QList<Scene> allScenes()
{
    // The dashboard's scenes switch the platform's features: they come last.
    return designScenes() + kitScenes() + noticeAndArtworkScenes() + controlsScenes() + skillScenes()
        + surfaceScenes() + panelScenes() + settingsScenesA() + settingsScenesB() + popupScenes()
        + dashboardScenes() + setupScenes();
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
    if (scene.widget) {
        const std::unique_ptr<QWidget> widget = scene.widget(state, SkinPalette(*skin, state.aura()));
        widget->show();
        state.scheduler.runUntilIdle();
        if (scene.act)
            scene.act(state, nullptr);
        out.image = widget->grab().toImage();
        if (later) {
            later(state, nullptr);
            out.later = widget->grab().toImage();
        }
    } else {
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
        out.image = grabWithPopups(*view, &out.popups);
        if (later) {
            later(state, view->item());
            out.later = grabWithPopups(*view);
        }
    }
    closePopups();

    if (QmlHarness::isBlank(out.image))
        out.problem = QStringLiteral("blank");
    if (const QStringList warnings = harness.warnings(); !warnings.isEmpty())
        out.problem += (out.problem.isEmpty() ? QString() : QStringLiteral(", "))
            + QStringLiteral("warning: ") + warnings.join(QStringLiteral("; "));
    return out;
}
