#pragma once

#include <QList>
#include <functional>

class QQuickItem;

// The items of a tree from root down, root first, that match; breadth first.
QList<QQuickItem *> itemsUnder(QQuickItem *root, const std::function<bool(QQuickItem *)> &matches);
