#include "PaintedPicture.h"

#include <QImage>
#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGTexture>

PaintedPicture::PaintedPicture(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

QSGNode *PaintedPicture::updatePaintNode(QSGNode *node, UpdatePaintNodeData *)
{
    QQuickWindow *window = this->window();
    const qreal ratio = window ? window->effectiveDevicePixelRatio() : 1;
    // Whole points, as QQuickPaintedItem draws them, so both kinds line up.
    const QSize points(qRound(width()), qRound(height()));
    const QSize pixels = (QSizeF(points) * ratio).toSize();
    if (!window || pixels.isEmpty()) {
        delete node;
        return nullptr;
    }
    QSGTexture *texture = nullptr;
    {
        // The scene's texture shares this picture; once it goes out of scope
        // the texture holds the only copy.
        QImage picture(pixels, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        picture.setDevicePixelRatio(ratio);
        QPainter painter(&picture);
        if (antialiasing())
            painter.setRenderHints(
                QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        paint(&painter);
        painter.end();
        texture = window->createTextureFromImage(picture);
    }
    auto *image = static_cast<QSGImageNode *>(node);
    if (!image)
        image = window->createImageNode();
    image->setOwnsTexture(true);
    image->setTexture(texture);
    image->setSourceRect(QRectF(QPointF(0, 0), texture->textureSize()));
    image->setRect(QRectF(QPointF(0, 0), QSizeF(points)));
    image->setFiltering(smooth() ? QSGTexture::Linear : QSGTexture::Nearest);
    return image;
}

void PaintedPicture::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        update();
}

void PaintedPicture::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemDevicePixelRatioHasChanged || change == ItemSceneChange)
        update();
}
