#include "MarkView.h"

#include "Assets.h"
#include "GlyphView.h"
#include "SkinEnvironment.h"

#include <QPainter>
#include <QQuickWindow>
#include <QRadialGradient>
#include <cmath>

MarkView::MarkView(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setImplicitSize(m_size, m_size);
    connect(this, &MarkView::changed, this, [this] { update(); });
}

MarkView::Variant MarkView::chosen(qreal size, std::optional<Variant> variant)
{
    if (variant)
        return *variant;
    return size < fullFrom ? Variant::compact : Variant::full;
}

void MarkView::draw(QPainter &painter, const QRectF &square, Variant variant, const SkinPalette &palette)
{
    if (variant == Variant::compact) {
        GlyphView::draw(painter, OrvelGlyph::mark, square, palette.accentColor());
        return;
    }
    // Rendered at the target's pixel size so it stays sharp; aspect ratio kept.
    const QRectF device = painter.transform().mapRect(square);
    const QImage image = Assets::image(QStringLiteral("BrandMark"), device.size().toSize());
    if (image.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(square, image);
    painter.restore();
}

QImage MarkView::render(int side, std::optional<Variant> variant, const SkinPalette &palette)
{
    QImage image(std::max(side, 0), std::max(side, 0), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (side > 0) {
        QPainter painter(&image);
        draw(painter, QRectF(0, 0, side, side), chosen(side, variant), palette);
    }
    return image;
}

void MarkView::setSize(qreal size)
{
    if (size == m_size || !std::isfinite(size))
        return;
    m_size = std::max<qreal>(size, 0);
    setImplicitSize(m_size, m_size);
    emit changed();
}

QString MarkView::variantName() const
{
    if (!m_variant)
        return {};
    return *m_variant == Variant::full ? QStringLiteral("full") : QStringLiteral("compact");
}

void MarkView::setVariantName(const QString &name)
{
    std::optional<Variant> variant;
    if (name == QLatin1String("full"))
        variant = Variant::full;
    else if (name == QLatin1String("compact"))
        variant = Variant::compact;
    if (variant == m_variant)
        return;
    m_variant = variant;
    emit changed();
}

void MarkView::paint(QPainter *painter)
{
    const QRectF square(width() / 2 - m_size / 2, height() / 2 - m_size / 2, m_size, m_size);
    draw(*painter, square, chosen(m_size, m_variant), environment()->palette());
}

AuraGlow::AuraGlow(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    setAcceptedMouseButtons(Qt::NoButton);
    setAcceptHoverEvents(false);
    connect(this, &AuraGlow::changed, this, [this] { update(); });
}

void AuraGlow::draw(
    QPainter &painter, QSizeF size, const Aura &aura, QPointF center, qreal radius, qreal intensity)
{
    if (!(radius > 0) || !std::isfinite(radius) || !std::isfinite(intensity) || size.isEmpty())
        return;
    const auto colour = [](const SRGBColor &color, double opacity) {
        return color.withOpacity(std::clamp(opacity, 0.0, 1.0)).toQColor();
    };
    // "Clear" ends are the same colour at opacity 0, so the fade does not darken on the way.
    const QPointF main(center.x() * size.width(), center.y() * size.height());
    QRadialGradient primary(main, radius);
    primary.setColorAt(0, colour(aura.primary, intensity));
    primary.setColorAt(0.5, colour(aura.primary, intensity * middleStop));
    primary.setColorAt(1, colour(aura.primary, 0));
    painter.fillRect(QRectF(QPointF(0, 0), size), primary);

    const QPointF bloom((center.x() + secondaryOffset.x()) * size.width(),
        (center.y() + secondaryOffset.y()) * size.height());
    QRadialGradient secondary(bloom, radius * secondaryRadius);
    secondary.setColorAt(0, colour(aura.secondary, intensity * secondaryStrength));
    secondary.setColorAt(1, colour(aura.secondary, 0));
    painter.fillRect(QRectF(QPointF(0, 0), size), secondary);
}

QImage AuraGlow::render(QSize size, const Aura &aura, QPointF center, qreal radius, qreal intensity)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!size.isEmpty()) {
        QPainter painter(&image);
        draw(painter, QSizeF(size), aura, center, radius, intensity);
    }
    return image;
}

void AuraGlow::setAura(const Aura &aura)
{
    if (aura == m_aura)
        return;
    m_aura = aura;
    emit changed();
}

void AuraGlow::setCenter(QPointF center)
{
    if (center == m_center)
        return;
    m_center = center;
    emit changed();
}

void AuraGlow::setRadius(qreal radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    emit changed();
}

void AuraGlow::setIntensity(qreal intensity)
{
    if (intensity == m_intensity)
        return;
    m_intensity = intensity;
    emit changed();
}

void AuraGlow::paint(QPainter *painter)
{
    draw(*painter, size(), m_aura, m_center, m_radius, m_intensity);
}

SkinnedAttached *MarkView::environment() const
{
    auto *self = const_cast<MarkView *>(this);
    return m_environment.get(self, [self] { self->update(); });
}

void MarkView::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    environment();
}
