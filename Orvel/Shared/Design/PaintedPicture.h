#pragma once

#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

class QPainter;

// An item drawn with QPainter into one picture that the scene shows as it is.
// QQuickPaintedItem keeps two pictures of its size under the software
// renderer (its node's and a blank one made for a texture nobody asks for),
// which doubled the memory of every window-sized background and card. For
// items that change now and then, not for those drawn many times a second.
class PaintedPicture : public QQuickItem {
    Q_OBJECT
    QML_ANONYMOUS
public:
    explicit PaintedPicture(QQuickItem *parent = nullptr);

    // Draws the item in its own coordinates, (0, 0) to (width, height).
    virtual void paint(QPainter *painter) = 0;

protected:
    QSGNode *updatePaintNode(QSGNode *node, UpdatePaintNodeData *data) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;
};
