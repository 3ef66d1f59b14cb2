#include "VisualizerSwatch.h"

#include <QPainter>
#include <QPainterPath>

VisualizerSwatch::VisualizerSwatch(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void VisualizerSwatch::setColors(const QVariantList &colors)
{
    if (colors == m_colors)
        return;
    m_colors = colors;
    emit changed();
    update();
}

void VisualizerSwatch::setRadius(qreal radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    emit changed();
    update();
}

QLinearGradient VisualizerSwatch::gradient(const QList<QColor> &colors, qreal width)
{
    QLinearGradient gradient(QPointF(0, 0), QPointF(width, 0));
    if (colors.size() == 1)
        gradient.setColorAt(0, colors.first());
    for (qsizetype i = 0; colors.size() > 1 && i < colors.size(); ++i)
        gradient.setColorAt(double(i) / double(colors.size() - 1), colors[i]);
    return gradient;
}

void VisualizerSwatch::paint(QPainter *painter)
{
    QList<QColor> colors;
    for (const QVariant &color : m_colors)
        colors << color.value<QColor>();
    if (colors.isEmpty() || width() <= 0 || height() <= 0)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, width(), height()), m_radius, m_radius);
    painter->fillPath(shape, gradient(colors, width()));
}
