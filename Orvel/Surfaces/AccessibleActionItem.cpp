#include "AccessibleActionItem.h"

#include "Localization.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleObject>
#include <QPointer>
#include <QQuickWindow>

namespace {

class AccessibleActions : public QAccessibleObject, public QAccessibleActionInterface {
public:
    explicit AccessibleActions(AccessibleActionItem *item)
        : QAccessibleObject(item)
    {
    }

    AccessibleActionItem *item() const { return static_cast<AccessibleActionItem *>(object()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                    : nullptr;
    }

    QAccessibleInterface *parent() const override
    {
        if (QQuickItem *parentItem = item()->parentItem()) {
            // The window's content item is the window itself to accessibility.
            if (item()->window() && parentItem == item()->window()->contentItem())
                return QAccessible::queryAccessibleInterface(item()->window());
            return QAccessible::queryAccessibleInterface(parentItem);
        }
        return item()->window() ? QAccessible::queryAccessibleInterface(item()->window()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QWindow *window() const override { return item()->window(); }

    QAccessible::Role role() const override { return QAccessible::Button; }
    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return item()->name();
        case QAccessible::Value:
            return item()->value();
        default:
            return {};
        }
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.invisible = !item()->isVisible();
        state.disabled = !item()->isEnabled();
        return state;
    }
    QRect rect() const override
    {
        QQuickWindow *w = item()->window();
        if (!w)
            return {};
        const QRectF scene = item()->mapRectToScene(QRectF(0, 0, item()->width(), item()->height()));
        return QRect(w->mapToGlobal(scene.topLeft().toPoint()), scene.size().toSize());
    }

    QStringList actionNames() const override
    {
        QStringList names{pressAction()};
        for (const QString &action : item()->actions())
            names << localized(action);
        return names;
    }
    QString localizedActionDescription(const QString &name) const override { return name; }
    void doAction(const QString &name) override
    {
        // The signal may delete the item; nothing is touched after it.
        if (name == pressAction()) {
            emit item()->pressed();
            return;
        }
        for (const QString &action : item()->actions()) {
            if (localized(action) == name) {
                emit item()->actionTriggered(action);
                return;
            }
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

// Asked with the most derived class first (a QML instance's own type, then
// ours), before Qt Quick's factory answers for the QQuickItem base.
QAccessibleInterface *accessibleActionsFactory(const QString &, QObject *object)
{
    if (auto *item = qobject_cast<AccessibleActionItem *>(object))
        return new AccessibleActions(item);
    return nullptr;
}

} // namespace

AccessibleActionItem::AccessibleActionItem(QQuickItem *parent)
    : QQuickItem(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleActionsFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void AccessibleActionItem::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    emit nameChanged();
}

void AccessibleActionItem::setValue(const QString &value)
{
    if (value == m_value)
        return;
    m_value = value;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, value);
        QAccessible::updateAccessibility(&event);
    }
    emit valueChanged();
}

void AccessibleActionItem::setActions(const QStringList &actions)
{
    if (actions == m_actions)
        return;
    m_actions = actions;
    emit actionsChanged();
}
