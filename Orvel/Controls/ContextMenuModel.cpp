#include "ContextMenuModel.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPointer>

ContextMenuModel::ContextMenuModel(QObject *parent)
    : QObject(parent)
{
}

void ContextMenuModel::setItems(const QVariantList &items)
{
    if (items == m_items)
        return;
    m_items = items;
    emit itemsChanged();
}

void ContextMenuModel::trigger(int index)
{
    if (index < 0 || index >= m_items.size())
        return;
    const QVariantMap item = m_items.at(index).toMap();
    if (!item.value(QStringLiteral("enabled"), true).toBool())
        return;
    emit triggered(item.value(QStringLiteral("action")).toString());
}

void ContextMenuModel::popup()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()) || m_items.isEmpty())
        return;
    auto *menu = new QMenu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int i = 0; i < m_items.size(); ++i) {
        const QVariantMap item = m_items.at(i).toMap();
        QAction *action = menu->addAction(item.value(QStringLiteral("text")).toString());
        action->setEnabled(item.value(QStringLiteral("enabled"), true).toBool());
        connect(action, &QAction::triggered, this, [model = QPointer<ContextMenuModel>(this), i] {
            if (model)
                model->trigger(i);
        });
    }
    menu->popup(QCursor::pos());
}
