#include "CooldownWedge.h"

#include <QPainter>
#include <cmath>

QPainterPath CooldownWedge::path(const QRectF &rect, double remaining)
{
    QPainterPath wedge;
    if (std::isnan(remaining) || remaining <= emptyBelow)
        return wedge;
    const double f = std::min(remaining, 1.0);
    const QPointF center = rect.center();
    const double radius = std::hypot(rect.width(), rect.height()) * 0.5;
    // From (1 - f) * 360 - 90 degrees to 270, turning clockwise on screen;
    // Qt counts its angles the other way round.
    const double start = (1 - f) * 360 - 90;
    wedge.moveTo(center);
    wedge.arcTo(QRectF(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius), -start, -f * 360);
    wedge.closeSubpath();
    return wedge;
}

QPainterPath CooldownWedge::clip(const QRectF &rect, bool circle, double radius)
{
    QPainterPath shape;
    if (circle)
        shape.addEllipse(rect);
    else
        shape.addRoundedRect(rect, radius, radius);
    return shape;
}

CooldownWedge::CooldownWedge(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(this, &CooldownWedge::changed, this, [this] { update(); });
}

void CooldownWedge::setRemaining(qreal remaining)
{
    if (remaining == m_remaining)
        return;
    m_remaining = remaining;
    emit changed();
}

void CooldownWedge::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    emit changed();
}

void CooldownWedge::setCircle(bool circle)
{
    if (circle == m_circle)
        return;
    m_circle = circle;
    emit changed();
}

void CooldownWedge::setRadius(qreal radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    emit changed();
}

void CooldownWedge::paint(QPainter *painter)
{
    const QRectF rect(0, 0, width(), height());
    const QPainterPath wedge = path(rect, m_remaining);
    if (wedge.isEmpty())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setClipPath(clip(rect, m_circle, m_radius));
    painter->fillPath(wedge, m_color);
}
