#include "WidgetEnvironment.h"

#include "Scheduler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QQmlEngine>

WidgetActions::~WidgetActions() = default;

WidgetContainer::WidgetContainer(
    const Environment &environment, WidgetActions *actions, Scheduler *scheduler, QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_environment(environment)
    , m_actions(actions)
    , m_scheduler(scheduler)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    const QSize size = WidgetMetrics::size(environment.family);
    setSize(QSizeF(size));
}

WidgetContainer::~WidgetContainer()
{
    // The view goes first, so nothing in it outlives the environment it reads.
    delete m_view.data();
    delete m_background.data();
}

WidgetContainer *WidgetContainer::of(const QObject *object)
{
    while (object) {
        if (auto *container = qobject_cast<const WidgetContainer *>(object))
            return const_cast<WidgetContainer *>(container);
        const auto *item = qobject_cast<const QQuickItem *>(object);
        object = item && item->parentItem() ? item->parentItem() : object->parent();
    }
    return nullptr;
}

Scheduler &WidgetContainer::scheduler() const
{
    return m_scheduler ? *m_scheduler : Scheduler::current();
}

void WidgetContainer::setView(QQuickItem *view)
{
    if (m_view == view)
        return;
    m_view = view;
    if (view) {
        view->setParentItem(this);
        if (auto *attached = qobject_cast<WidgetAttached *>(qmlAttachedPropertiesObject<Widget>(view, true)))
            connect(attached, &WidgetAttached::backgroundChanged, this, &WidgetContainer::adoptBackground,
                Qt::UniqueConnection);
    }
    adoptBackground();
    layoutChildren();
}

void WidgetContainer::setReduceMotion(bool reduceMotion)
{
    if (reduceMotion == m_environment.reduceMotion)
        return;
    m_environment.reduceMotion = reduceMotion;
    announceEnvironment();
}

void WidgetContainer::setPending(bool pending)
{
    if (pending == m_pending)
        return;
    m_pending = pending;
    announceEnvironment();
}

void WidgetContainer::announceEnvironment()
{
    QList<QQuickItem *> items = childItems();
    while (!items.isEmpty()) {
        QQuickItem *item = items.takeLast();
        if (auto *attached = qobject_cast<WidgetAttached *>(qmlAttachedPropertiesObject<Widget>(item, false)))
            emit attached->environmentChanged();
        items.append(item->childItems());
    }
}

QUrl WidgetContainer::widgetURL() const
{
    if (!m_view)
        return {};
    auto *attached = qobject_cast<WidgetAttached *>(qmlAttachedPropertiesObject<Widget>(m_view, false));
    return attached ? attached->url() : QUrl();
}

void WidgetContainer::adoptBackground()
{
    auto *attached = m_view
        ? qobject_cast<WidgetAttached *>(qmlAttachedPropertiesObject<Widget>(m_view, false))
        : nullptr;
    QQuickItem *background = attached ? attached->background() : nullptr;
    if (background == m_background)
        return;
    if (m_background)
        m_background->setVisible(false);
    m_background = background;
    if (background) {
        background->setParentItem(this);
        background->setZ(-1);
        // The system decides what the accented and vibrant modes show behind the content.
        background->setVisible(m_environment.mode == WidgetRenderingMode::fullColor);
    }
    layoutChildren();
}

void WidgetContainer::layoutChildren()
{
    const double margin = WidgetMetrics::contentMargin;
    if (m_view) {
        m_view->setPosition(QPointF(margin, margin));
        m_view->setSize(QSizeF(std::max(0.0, width() - 2 * margin), std::max(0.0, height() - 2 * margin)));
    }
    if (m_background) {
        m_background->setPosition(QPointF(0, 0));
        m_background->setSize(size());
    }
}

void WidgetContainer::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    layoutChildren();
}

void WidgetContainer::paint(QPainter *painter)
{
    if (m_environment.mode == WidgetRenderingMode::fullColor)
        return;
    WidgetMetrics::clipToOutline(*painter, size());
    painter->fillRect(QRectF(QPointF(0, 0), size()), WidgetMetrics::plainGround(m_environment.mode));
}

void WidgetContainer::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void WidgetContainer::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const QUrl url = widgetURL();
    if (m_actions && !url.isEmpty() && contains(event->position()))
        m_actions->openURL(url);
}

WidgetAttached *Widget::qmlAttachedProperties(QObject *object)
{
    return new WidgetAttached(object);
}

WidgetAttached::WidgetAttached(QObject *attachee)
    : QObject(attachee)
    , m_attachee(attachee)
{
    // A view is placed in its container after it is made; its items look again then.
    if (auto *item = qobject_cast<QQuickItem *>(attachee))
        connect(item, &QQuickItem::parentChanged, this, &WidgetAttached::environmentChanged);
}

WidgetContainer::Environment WidgetAttached::environment() const
{
    if (const WidgetContainer *container = WidgetContainer::of(m_attachee))
        return container->environment();
    return {};
}

void WidgetAttached::setUrl(const QUrl &url)
{
    if (url == m_url)
        return;
    m_url = url;
    emit urlChanged();
}

void WidgetAttached::setBackground(QQuickItem *background)
{
    if (background == m_background)
        return;
    m_background = background;
    emit backgroundChanged();
}

void WidgetAttached::setAccentable(bool accentable)
{
    if (accentable == m_accentable)
        return;
    m_accentable = accentable;
    emit accentableChanged();
}

void WidgetAttached::setInvalidatable(bool invalidatable)
{
    if (invalidatable == m_invalidatable)
        return;
    m_invalidatable = invalidatable;
    emit accentableChanged();
    emit environmentChanged();
}

bool WidgetAttached::pending() const
{
    const WidgetContainer *container = m_invalidatable ? WidgetContainer::of(m_attachee) : nullptr;
    return container && container->pending();
}

QColor WidgetAttached::foreground(const QColor &own) const
{
    if (m_accentable && environment().mode == WidgetRenderingMode::accented)
        return WidgetMetrics::accentTint();
    return own;
}

void WidgetAttached::open(const QUrl &url) const
{
    if (const WidgetContainer *container = WidgetContainer::of(m_attachee); container && container->actions())
        container->actions()->openURL(url);
}

void WidgetAttached::perform(const QString &action) const
{
    if (const WidgetContainer *container = WidgetContainer::of(m_attachee); container && container->actions())
        container->actions()->perform(action);
}
