#include "GlyphView.h"

#include "SkinEnvironment.h"

#include <QPainter>
#include <cmath>

namespace {
double signedArea(const QPolygonF &polygon)
{
    double area = 0;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF &a = polygon[i];
        const QPointF &b = polygon[(i + 1) % polygon.size()];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area / 2;
}

// The subpaths of a path, each as its own path.
std::vector<QPainterPath> subpaths(const QPainterPath &path)
{
    std::vector<QPainterPath> result;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            result.emplace_back(QPointF(e));
        } else if (result.empty()) {
            continue;
        } else if (e.isLineTo()) {
            result.back().lineTo(e);
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            result.back().cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
            i += 2;
        }
    }
    return result;
}
} // namespace

GlyphView::GlyphView(QQuickItem *parent)
    : TintedGlyphItem(1, parent)
{
}

void GlyphView::setGlyph(OrvelGlyph glyph)
{
    if (glyph == m_glyph)
        return;
    m_glyph = glyph;
    emit glyphChanged();
    update();
}

void GlyphView::setGlyphName(const QString &name)
{
    // A name that is not a glyph leaves the view as it was.
    if (const auto glyph = fromRawValue<OrvelGlyph>(name))
        setGlyph(*glyph);
}

void GlyphView::paint(QPainter *painter)
{
    const QRectF square(width() / 2 - size() / 2, height() / 2 - size() / 2, size(), size());
    draw(*painter, m_glyph, square, color());
}

void GlyphView::draw(QPainter &painter, OrvelGlyph glyph, const QRectF &square, const QColor &color)
{
    drawLayers(painter, layers(glyph), square, color);
}

void GlyphView::drawLayers(
    QPainter &painter, const std::vector<GlyphLayer> &layers, const QRectF &square, const QColor &color)
{
    if (square.isEmpty() || color.alpha() == 0)
        return;
    // The non-zero layers go into one path with every subpath turned the same
    // way, so touching layers (the heart's halves) show no antialiasing seam
    // and overlapping ones add up instead of cancelling.
    QPainterPath winding;
    winding.setFillRule(Qt::WindingFill);
    std::vector<QPainterPath> evenOdd;
    for (const GlyphLayer &layer : layers) {
        const QPainterPath path = GlyphLayerShape{layer}.path(square);
        if (layer.evenOdd) {
            evenOdd.push_back(path);
            evenOdd.back().setFillRule(Qt::OddEvenFill);
            continue;
        }
        for (QPainterPath part : subpaths(path)) {
            part.closeSubpath();
            if (signedArea(part.toFillPolygon()) < 0)
                part = part.toReversed();
            winding.addPath(part);
        }
    }

    const qreal opacity = color.alphaF();
    const QColor solid = QColor::fromRgbF(color.redF(), color.greenF(), color.blueF());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    if (opacity < 1 && !evenOdd.empty()) {
        // Draw solid offscreen first so overlaps do not darken a translucent glyph.
        const QRect bounds = painter.transform().mapRect(square).toAlignedRect();
        QImage layer(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        {
            QPainter p(&layer);
            p.translate(-bounds.topLeft());
            p.setTransform(painter.transform(), true);
            drawLayers(p, layers, square, solid);
        }
        painter.resetTransform();
        painter.setOpacity(painter.opacity() * opacity);
        painter.drawImage(bounds.topLeft(), layer);
        painter.restore();
        return;
    }
    painter.setBrush(color);
    painter.drawPath(winding);
    for (const QPainterPath &path : evenOdd)
        painter.drawPath(path);
    painter.restore();
}

QImage GlyphView::render(OrvelGlyph glyph, int side, const QColor &color)
{
    QImage image(std::max(side, 0), std::max(side, 0), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (side > 0) {
        QPainter painter(&image);
        draw(painter, glyph, QRectF(0, 0, side, side), color);
    }
    return image;
}
