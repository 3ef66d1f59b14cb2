#include "Presence.h"

#include <QEvent>

PresenceAttached *Presence::qmlAttachedProperties(QObject *object)
{
    return new PresenceAttached(object);
}

PresenceAttached *Presence::of(QObject *object)
{
    if (!qobject_cast<QQuickItem *>(object))
        return nullptr;
    return qobject_cast<PresenceAttached *>(qmlAttachedPropertiesObject(
        object, reinterpret_cast<QQmlAttachedPropertiesFunc>(&Presence::qmlAttachedProperties), true));
}

bool Presence::onScreen(const QQuickItem *item, bool exposed)
{
    // isVisible() is the item's effective visibility: its own and its ancestors'.
    const QQuickWindow *window = item ? item->window() : nullptr;
    return window && item->isVisible() && window->isVisible() && exposed;
}

PresenceAttached::PresenceAttached(QObject *attachee)
    : QObject(attachee)
    , m_item(qobject_cast<QQuickItem *>(attachee))
{
    if (!m_item)
        return;
    connect(m_item, &QQuickItem::visibleChanged, this, &PresenceAttached::reevaluate);
    connect(m_item, &QQuickItem::windowChanged, this, [this](QQuickWindow *window) {
        watch(window);
        reevaluate();
    });
    watch(m_item->window());
    m_onScreen = Presence::onScreen(m_item, m_exposed);
}

void PresenceAttached::watch(QQuickWindow *window)
{
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    disconnect(m_windowVisibility);
    m_window = window;
    m_exposed = true;
    if (!window)
        return;
    // Exposure has no signal of its own: it changes with the window's expose events.
    window->installEventFilter(this);
    m_windowVisibility = connect(window, &QWindow::visibleChanged, this, [this](bool visible) {
        // Shown again: exposed until told otherwise, as at the start.
        if (visible)
            m_exposed = true;
        reevaluate();
    });
}

bool PresenceAttached::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Expose) {
        // The window reads as exposed (or not) once it has handled the event.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_window)
                    m_exposed = m_window->isExposed();
                reevaluate();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void PresenceAttached::reevaluate()
{
    const bool now = Presence::onScreen(m_item, m_exposed);
    if (now == m_onScreen)
        return;
    m_onScreen = now;
    emit onScreenChanged();
}
