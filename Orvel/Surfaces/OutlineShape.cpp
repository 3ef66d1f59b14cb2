#include "OutlineShape.h"

#include "KitShape.h"
#include "PlayerGlass.h"

#include <QPainter>

OutlineShape::OutlineShape(QQuickItem *parent)
    : PaintedPicture(parent)
{
    setAntialiasing(true);
}

void OutlineShape::paint(QPainter *painter)
{
    const QRectF rect(0, 0, width(), height());
    const Corners corners{m_topRadius, m_topRadius, m_bottomRadius, m_bottomRadius};
    if (m_glass) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        PlayerGlass::drawCompact(*painter, corners.path(rect));
        painter->restore();
    }
    KitShape::Style style;
    style.corners = corners;
    style.fill = KitGradient::solid(m_fill);
    style.stroke
        = {m_stroke, m_strokeEnd.isValid() ? m_strokeEnd : m_stroke, KitGradient::Direction::vertical};
    style.strokeWidth = m_strokeWidth;
    KitShape::draw(*painter, rect, style);
}
