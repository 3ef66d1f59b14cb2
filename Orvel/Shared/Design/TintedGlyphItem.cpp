#include "TintedGlyphItem.h"

#include <cmath>

TintedGlyphItem::TintedGlyphItem(qreal frameScale, QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_frameScale(frameScale)
{
    setAntialiasing(true);
    setImplicitSize(m_size * m_frameScale, m_size * m_frameScale);
}

void TintedGlyphItem::setSize(qreal size)
{
    if (size == m_size || !std::isfinite(size))
        return;
    m_size = std::max<qreal>(size, 0);
    setImplicitSize(m_size * m_frameScale, m_size * m_frameScale);
    emit sizeChanged();
    update();
}

QColor TintedGlyphItem::color() const
{
    return m_color.value_or(environment()->palette().textColor());
}

void TintedGlyphItem::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    emit colorChanged();
    update();
}

void TintedGlyphItem::resetColor()
{
    if (!m_color)
        return;
    m_color.reset();
    emit colorChanged();
    update();
}

SkinnedAttached *TintedGlyphItem::environment() const
{
    auto *self = const_cast<TintedGlyphItem *>(this);
    return m_environment.get(self, [self] {
        if (!self->m_color)
            emit self->colorChanged();
        self->update();
    });
}

void TintedGlyphItem::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    environment();
}
