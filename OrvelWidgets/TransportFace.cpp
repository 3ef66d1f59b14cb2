#include "TransportFace.h"

#include "GlyphView.h"

#include <QPainter>
#include <QPainterPath>

TransportFace::TransportFace(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    resize();
}

void TransportFace::draw(QPainter &painter, QSizeF size, const Look &look)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(QPointF(0, 0), size);
    if (!look.primary) {
        QPainterPath tile;
        tile.addRoundedRect(frame, secondaryRadius, secondaryRadius);
        painter.fillPath(tile, look.fill);
        const QRectF square(frame.center() - QPointF(secondaryGlyph / 2, secondaryGlyph / 2),
            QSizeF(secondaryGlyph, secondaryGlyph));
        GlyphView::draw(painter, look.glyph, square, look.glyphColor);
        return;
    }
    const QRectF square(frame.center() - QPointF(primaryGlyph / 2 - glyphShift(look.glyph), primaryGlyph / 2),
        QSizeF(primaryGlyph, primaryGlyph));
    if (!look.cutout) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look.fill);
        painter.drawEllipse(frame);
        GlyphView::draw(painter, look.glyph, square, look.glyphColor);
        return;
    }
    // Circle and glyph as one group: the glyph clears the circle where it lies.
    const qreal dpr = painter.device()->devicePixelRatioF();
    QImage layer((size * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(dpr);
    layer.fill(Qt::transparent);
    {
        QPainter group(&layer);
        group.setRenderHint(QPainter::Antialiasing);
        group.setPen(Qt::NoPen);
        group.setBrush(QColor::fromRgbF(1, 1, 1, cutoutOpacity));
        group.drawEllipse(frame);
        group.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        GlyphView::draw(group, look.glyph, square, Qt::black);
    }
    painter.drawImage(frame, layer);
}

void TransportFace::resize()
{
    const QSizeF size = m_look.primary ? primarySize : secondarySize;
    setImplicitSize(size.width(), size.height());
}

void TransportFace::setGlyphName(const QString &name)
{
    const auto glyph = fromRawValue<OrvelGlyph>(name);
    if (!glyph || *glyph == m_look.glyph)
        return;
    m_look.glyph = *glyph;
    emit changed();
    update();
}

void TransportFace::setPrimary(bool primary)
{
    if (primary == m_look.primary)
        return;
    m_look.primary = primary;
    resize();
    emit changed();
    update();
}

void TransportFace::setCutout(bool cutout)
{
    if (cutout == m_look.cutout)
        return;
    m_look.cutout = cutout;
    emit changed();
    update();
}

void TransportFace::setFill(const QColor &color)
{
    if (color == m_look.fill)
        return;
    m_look.fill = color;
    emit changed();
    update();
}

void TransportFace::setGlyphColor(const QColor &color)
{
    if (color == m_look.glyphColor)
        return;
    m_look.glyphColor = color;
    emit changed();
    update();
}

void TransportFace::paint(QPainter *painter)
{
    draw(*painter, size(), m_look);
}
