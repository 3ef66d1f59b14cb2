#pragma once

#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <memory>

class QMenu;

// A view's context menu: items in order, each {text, action, enabled,
// destructive}. popup() shows them as a real top-level QMenu at the pointer
// (a small panel window would clip a menu drawn inside it), in the skin of
// the view that declares the model; choosing one, or
// trigger(), emits its action. QMenu has no destructive look: the flag stays
// in the model.
class ContextMenuModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariantList items READ items WRITE setItems NOTIFY itemsChanged)

public:
    explicit ContextMenuModel(QObject *parent = nullptr);

    QVariantList items() const { return m_items; }
    void setItems(const QVariantList &items);

    // The item's action, as if it had been chosen; nothing for a disabled or missing item.
    Q_INVOKABLE void trigger(int index);
    // Only where a widget application runs.
    Q_INVOKABLE void popup();
    // The menu popup() shows, not yet shown.
    std::unique_ptr<QMenu> makeMenu();

signals:
    void itemsChanged();
    void triggered(const QString &action);

private:
    QVariantList m_items;
};
