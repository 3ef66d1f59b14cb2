#include "PlayerGlass.h"

#include <QPainter>

PlayerGlass::PlayerGlass(QQuickItem *parent)
    : PaintedPicture(parent)
{
    setAntialiasing(true);
}

void PlayerGlass::draw(QPainter &painter, const QPainterPath &shape)
{
    painter.fillPath(shape, tint.toQColor());
}

void PlayerGlass::drawCompact(QPainter &painter, const QPainterPath &shape)
{
    painter.fillPath(shape, compactTint.toQColor());
}

void PlayerGlass::paint(QPainter *painter)
{
    QPainterPath all;
    all.addRect(QRectF(0, 0, width(), height()));
    draw(*painter, all);
}
