#include "KitShape.h"

#include "Assets.h"
#include "PressFeedback.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

QPainterPath Corners::path(const QRectF &rect) const
{
    QPainterPath path;
    if (rect.width() <= 0 || rect.height() <= 0)
        return path;
    const double limit = std::min(rect.width(), rect.height()) / 2;
    const auto clamp = [limit](double r) { return std::clamp(std::isfinite(r) ? r : 0.0, 0.0, limit); };
    const double tl = clamp(topLeading), tr = clamp(topTrailing), br = clamp(bottomTrailing),
                 bl = clamp(bottomLeading);
    path.moveTo(rect.left() + tl, rect.top());
    path.lineTo(rect.right() - tr, rect.top());
    path.arcTo(QRectF(rect.right() - 2 * tr, rect.top(), 2 * tr, 2 * tr), 90, -90);
    path.lineTo(rect.right(), rect.bottom() - br);
    path.arcTo(QRectF(rect.right() - 2 * br, rect.bottom() - 2 * br, 2 * br, 2 * br), 0, -90);
    path.lineTo(rect.left() + bl, rect.bottom());
    path.arcTo(QRectF(rect.left(), rect.bottom() - 2 * bl, 2 * bl, 2 * bl), 270, -90);
    path.lineTo(rect.left(), rect.top() + tl);
    path.arcTo(QRectF(rect.left(), rect.top(), 2 * tl, 2 * tl), 180, -90);
    path.closeSubpath();
    return path;
}

Corners Corners::inset(double amount) const
{
    const auto shrink = [amount](double r) { return std::max(0.0, r - amount); };
    return {shrink(topLeading), shrink(topTrailing), shrink(bottomTrailing), shrink(bottomLeading)};
}

QBrush KitGradient::brush(const QRectF &bounds) const
{
    if (from == to)
        return from;
    // Defined on the bounds' unit square, as the gradients are specified: on a
    // wide shape the diagonal's bands run parallel to the other diagonal.
    QLinearGradient gradient(QPointF(0, 0), direction == Direction::diagonal ? QPointF(1, 1) : QPointF(0, 1));
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    QBrush brush(gradient);
    brush.setTransform(
        QTransform::fromTranslate(bounds.left(), bounds.top()).scale(bounds.width(), bounds.height()));
    return brush;
}

KitShape::KitShape(QQuickItem *parent)
    : PaintedPicture(parent)
{
    setAntialiasing(true);
}

void KitShape::draw(QPainter &painter, const QRectF &rect, const Style &given)
{
    if (rect.isEmpty())
        return;
    Style style = given;
    if (style.brightness != 0) {
        for (QColor *color : {&style.fill.from, &style.fill.to, &style.stroke.from, &style.stroke.to})
            *color = PressFeedback::brightened(*color, style.brightness);
    }
    const Corners corners
        = style.capsule ? Corners::all(std::min(rect.width(), rect.height()) / 2) : style.corners;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (style.fill.isVisible()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(style.fill.brush(rect));
        painter.drawPath(corners.path(rect));
    }
    if (!style.image.isEmpty()) {
        // Rendered at the device's pixel size so it stays sharp.
        const QRectF device = painter.transform().mapRect(rect);
        const QImage image
            = PressFeedback::brightened(Assets::image(style.image, device.size().toSize()), style.brightness);
        if (!image.isNull()) {
            painter.save();
            painter.setClipPath(corners.path(rect), Qt::IntersectClip);
            const QSizeF size = QSizeF(image.size()).scaled(rect.size(), Qt::KeepAspectRatio);
            const QRectF target(rect.center() - QPointF(size.width() / 2, size.height() / 2), size);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(target, image);
            painter.restore();
        }
    }
    if (style.stroke.isVisible() && style.strokeWidth > 0) {
        // Inside the edge: the pen runs along the shape inset by half its width.
        const double half = style.strokeWidth / 2;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(style.stroke.brush(rect), style.strokeWidth));
        painter.drawPath(corners.inset(half).path(rect.adjusted(half, half, -half, -half)));
    }
    painter.restore();
}

QImage KitShape::render(QSize size, const Style &style)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    draw(painter, QRectF(QPointF(0, 0), size), style);
    return image;
}

KitShape::Style KitShape::style() const
{
    const auto gradient = [](const QColor &from, const QColor &end, bool diagonal) {
        return KitGradient{from, end.isValid() ? end : from,
            diagonal ? KitGradient::Direction::diagonal : KitGradient::Direction::vertical};
    };
    return {Corners::all(m_radius), m_capsule, gradient(m_fill, m_fillEnd, m_fillDiagonal),
        gradient(m_stroke, m_strokeEnd, m_strokeDiagonal), m_strokeWidth, m_image, m_brightness};
}

void KitShape::paint(QPainter *painter)
{
    draw(*painter, QRectF(0, 0, width(), height()), style());
}

template<class T>
void KitShape::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
    update();
}

void KitShape::setRadius(qreal value)
{
    assign(m_radius, value);
}

void KitShape::setCapsule(bool value)
{
    assign(m_capsule, value);
}

void KitShape::setFill(const QColor &value)
{
    assign(m_fill, value);
}

void KitShape::setFillEnd(const QColor &value)
{
    assign(m_fillEnd, value);
}

void KitShape::setFillDiagonal(bool value)
{
    assign(m_fillDiagonal, value);
}

void KitShape::setStroke(const QColor &value)
{
    assign(m_stroke, value);
}

void KitShape::setStrokeEnd(const QColor &value)
{
    assign(m_strokeEnd, value);
}

void KitShape::setStrokeDiagonal(bool value)
{
    assign(m_strokeDiagonal, value);
}

void KitShape::setStrokeWidth(qreal value)
{
    assign(m_strokeWidth, value);
}

void KitShape::setImage(const QString &value)
{
    assign(m_image, value);
}

void KitShape::setBrightness(qreal value)
{
    assign(m_brightness, value);
}
