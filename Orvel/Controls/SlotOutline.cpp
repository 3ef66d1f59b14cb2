#include "SlotOutline.h"

#include "CooldownWedge.h"

#include <QPainter>

SlotOutline::SlotOutline(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(this, &SlotOutline::changed, this, [this] { update(); });
}

void SlotOutline::paint(QPainter *painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF rect(0, 0, width(), height());
    if (m_fill.alpha() > 0)
        painter->fillPath(CooldownWedge::clip(rect, m_circle, m_radius), m_fill);
    if (m_strokeWidth <= 0 || m_stroke.alpha() == 0)
        return;
    const double half = m_strokeWidth / 2;
    QPen pen(m_stroke, m_strokeWidth);
    if (m_dashed)
        pen.setDashPattern({2 / m_strokeWidth, 3 / m_strokeWidth});
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(CooldownWedge::clip(
        rect.adjusted(half, half, -half, -half), m_circle, std::max(0.0, m_radius - half)));
}
