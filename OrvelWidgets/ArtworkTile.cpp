#include "ArtworkTile.h"

#include "Assets.h"
#include "GlyphView.h"

#include <QPainter>
#include <QPainterPath>

ArtworkTile::ArtworkTile(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void ArtworkTile::draw(QPainter &painter, QSizeF size, const Look &look)
{
    if (size.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF frame(QPointF(0, 0), size);
    QPainterPath clip;
    clip.addRoundedRect(frame, look.radius, look.radius);
    painter.setClipPath(clip);
    if (!look.image.isNull()) {
        const QSizeF fitted = QSizeF(look.image.size()).scaled(size, Qt::KeepAspectRatio);
        const QRectF target(
            QPointF((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2), fitted);
        painter.setOpacity(look.imageOpacity);
        painter.drawImage(target, look.image);
        return;
    }
    QPainterPath tile;
    tile.addRoundedRect(frame, placeholderRadius, placeholderRadius);
    painter.fillPath(tile, look.placeholderFill);
    if (look.illustrated) {
        const double side = std::min(size.width(), size.height()) * illustrationScale;
        const qreal dpr = painter.device()->devicePixelRatioF();
        QImage illustration = Assets::image(QStringLiteral("ArtworkPlaceholder"),
            QSize(int(std::ceil(side * dpr)), int(std::ceil(side * dpr))));
        illustration.setDevicePixelRatio(dpr);
        painter.drawImage(
            QRectF(frame.center() - QPointF(side / 2, side / 2), QSizeF(side, side)), illustration);
        return;
    }
    const double side = std::min(size.width(), size.height()) * glyphScale;
    GlyphView::draw(painter, OrvelGlyph::note,
        QRectF(frame.center() - QPointF(side / 2, side / 2), QSizeF(side, side)), look.glyphColor);
}

template<class T>
void ArtworkTile::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
    update();
}

void ArtworkTile::setImage(const QImage &image)
{
    assign(m_look.image, image);
}

void ArtworkTile::setImageOpacity(double opacity)
{
    assign(m_look.imageOpacity, opacity);
}

void ArtworkTile::setRadius(double radius)
{
    assign(m_look.radius, radius);
}

void ArtworkTile::setIllustrated(bool illustrated)
{
    assign(m_look.illustrated, illustrated);
}

void ArtworkTile::setPlaceholderFill(const QColor &color)
{
    assign(m_look.placeholderFill, color);
}

void ArtworkTile::setGlyphColor(const QColor &color)
{
    assign(m_look.glyphColor, color);
}

void ArtworkTile::paint(QPainter *painter)
{
    draw(*painter, size(), m_look);
}
