#include "ItemTree.h"

#include <QQuickItem>

QList<QQuickItem *> itemsUnder(QQuickItem *root, const std::function<bool(QQuickItem *)> &matches)
{
    QList<QQuickItem *> found;
    QList<QQuickItem *> pending{root};
    while (!pending.isEmpty()) {
        QQuickItem *item = pending.takeFirst();
        if (matches(item))
            found.append(item);
        pending.append(item->childItems());
    }
    return found;
}
