#include "ContextMenuModel.h"

#include "PopupStyle.h"
#include "SkinEnvironment.h"

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
    QMenu *menu = makeMenu().release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(QCursor::pos());
}

std::unique_ptr<QMenu> ContextMenuModel::makeMenu()
{
    auto menu = std::make_unique<QMenu>();
    // In the skin of the view that declares the model.
    QObject *view = parent();
    while (view && !qobject_cast<QQuickItem *>(view))
        view = view->parent();
    const SkinPalette palette
        = view ? Skinned::of(view)->palette() : SkinEnvironment::defaultEnvironment()->palette();
    menu->setStyleSheet(PopupStyle::menuStyleSheet(palette));
    menu->setFont(PopupStyle::menuFont().toQFont());
    for (int i = 0; i < m_items.size(); ++i) {
        const QVariantMap item = m_items.at(i).toMap();
        QAction *action = menu->addAction(item.value(QStringLiteral("text")).toString());
        action->setEnabled(item.value(QStringLiteral("enabled"), true).toBool());
        connect(action, &QAction::triggered, this, [model = QPointer<ContextMenuModel>(this), i] {
            if (model)
                model->trigger(i);
        });
    }
    return menu;
}
