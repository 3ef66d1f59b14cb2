#include "WidgetRenderer.h"

#include "OrvelSharedModule.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickRenderTarget>
#include <QQuickWindow>

void WidgetRenderer::registerModules(QQmlEngine &engine)
{
    // Orvel.WidgetKit and the bundle's own module register themselves when
    // their libraries load; all of them live under the resource root.
    registerOrvelShared(engine);
}

std::unique_ptr<WidgetContainer> WidgetRenderer::create(QQmlEngine &engine,
    const WidgetConfiguration &configuration, const WidgetEntry &entry,
    const WidgetContainer::Environment &environment, WidgetActions *actions, Scheduler *scheduler,
    QString *error)
{
    QQmlComponent component(&engine, configuration.view);
    if (component.isError() || !component.isReady()) {
        if (error)
            *error = component.errorString();
        return nullptr;
    }
    auto container = std::make_unique<WidgetContainer>(environment, actions, scheduler);
    QObject *object = component.beginCreate(engine.rootContext());
    auto *view = qobject_cast<QQuickItem *>(object);
    if (!view) {
        delete object;
        if (error)
            *error
                = component.isError() ? component.errorString() : QStringLiteral("the view is not an item");
        return nullptr;
    }
    component.setInitialProperties(view, {{QStringLiteral("entry"), entry.value}});
    // In its container before its bindings run, so they read the widget's environment.
    view->setParentItem(container.get());
    component.completeCreate();
    if (component.isError()) {
        if (error)
            *error = component.errorString();
        delete view;
        return nullptr;
    }
    container->setView(view);
    return container;
}

void WidgetRenderer::update(WidgetContainer &container, const WidgetEntry &entry)
{
    if (QQuickItem *view = container.view())
        view->setProperty("entry", entry.value);
}

QImage WidgetRenderer::render(QQmlEngine &engine, const WidgetConfiguration &configuration,
    const WidgetEntry &entry, const WidgetContainer::Environment &environment, QString *error)
{
    auto container = create(engine, configuration, entry, environment, nullptr, nullptr, error);
    if (!container)
        return {};
    const QSize size = WidgetMetrics::size(environment.family);
    // Drawn by the software renderer (the program chooses it before its first
    // window) straight into an image with an alpha channel rather than the
    // window's backing store, which has none off screen: what the widget
    // leaves clear stays clear.
    QQuickWindow window;
    window.setColor(Qt::transparent);
    window.resize(size);
    container->setParentItem(window.contentItem());
    const qreal scale = window.devicePixelRatio();
    QImage frame((QSizeF(size) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(scale);
    frame.fill(Qt::transparent);
    window.setRenderTarget(QQuickRenderTarget::fromPaintDevice(&frame));
    bool drawn = false;
    QObject::connect(&window, &QQuickWindow::afterRendering, &window, [&drawn] { drawn = true; });
    window.show();
    // A guard against a platform that never shows the window, not a pause.
    for (QDeadlineTimer guard(5000); !drawn && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    container.reset();
    if (!drawn) {
        if (error)
            *error = QStringLiteral("the view could not be drawn");
        return {};
    }
    // Not cut again here: the layers that fill the widget keep to its outline
    // themselves, as in the window, and a second cut would darken the soft edge.
    return frame;
}
