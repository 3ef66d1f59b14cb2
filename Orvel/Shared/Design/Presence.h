#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/qqmlregistration.h>

class PresenceAttached;

// Whether an item can be seen: it and every item above it are visible, and
// its window is shown and not reported unexposed (minimised, unmapped). Clocks that only move a picture run
// while it holds, so a closed window or a hidden view costs nothing:
//     PlayingIndicatorState { onScreen: root.Presence.onScreen }
class Presence : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Presence is an attached property")
    QML_ATTACHED(PresenceAttached)

public:
    static PresenceAttached *qmlAttachedProperties(QObject *object);
    // The attached object of an item, created when needed; null for a non-item.
    static PresenceAttached *of(QObject *object);
    // The rule; `exposed` is what the window's expose events said last.
    static bool onScreen(const QQuickItem *item, bool exposed);
};

class PresenceAttached : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool onScreen READ onScreen NOTIFY onScreenChanged)

public:
    explicit PresenceAttached(QObject *attachee);

    bool onScreen() const { return m_onScreen; }

signals:
    void onScreenChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QQuickWindow *window);
    void reevaluate();

    QPointer<QQuickItem> m_item;
    QPointer<QQuickWindow> m_window;
    QMetaObject::Connection m_windowVisibility;
    // A shown window counts as exposed until an expose event says otherwise.
    bool m_exposed = true;
    bool m_onScreen = false;
};
