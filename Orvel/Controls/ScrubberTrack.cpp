#include "ScrubberTrack.h"

#include "KitShape.h"
#include "PressFeedback.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace {
QColor withOpacity(const SRGBColor &color, double opacity)
{
    return color.withOpacity(color.opacity * std::clamp(opacity, 0.0, 1.0)).toQColor();
}

// A shape of that height, vertically centred in the frame, from the leading edge.
QRectF centred(double x, double width, double height, double frameHeight)
{
    return QRectF(x, (frameHeight - height) / 2, width, height);
}

double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}
} // namespace

ScrubberTrackLayout ScrubberTrackLayout::make(
    const SkinPalette &palette, const ScrubberTrackInput &input, QSizeF frame)
{
    const bool progress = input.style == ScrubberStyle::progress;
    const double swell = std::max(finiteOr(input.swell, 0), 0.0);
    const double e = input.swellShape ? swell : 0;
    const double width = std::max(frame.width(), 0.0);
    const double height = frame.height();
    const double fillWidth = width * std::clamp(finiteOr(input.fraction, 0), 0.0, 1.0);
    const double lift = swellBrightness * swell;

    ScrubberTrackLayout layout;
    layout.scaleX = 1 + swellStretch * e;
    layout.opacity = input.enabled ? 1 : disabledOpacity;

    if (palette.skin == Skin::classico) {
        const double t = (progress ? 4 : 3) + 8 * e;
        const double k = (progress ? 12 : 10) + 2 * e;
        layout.track = {centred(0, width, t, height), t / 2, withOpacity(palette.text, 0.2 + 0.15 * swell)};
        const QColor fill = progress ? palette.accent.toQColor() : withOpacity(palette.text, 0.7);
        layout.fill
            = {centred(0, std::max(fillWidth, t), t, height), t / 2, PressFeedback::brightened(fill, lift)};
        layout.knob = {centred(fillWidth - k / 2, k, k, height), k / 2, Qt::white};
        layout.knobShadow = true;
        return layout;
    }

    const double t = 1 + 8 * e;
    const double f = (progress ? 3 : 1) + 9 * e;
    // Square ends at rest, fully rounded from a third of the swell on.
    const double rounding = std::min(3 * swell, 1.0);
    const double base = input.enabled ? 0.28 : 0.15;
    layout.track
        = {centred(0, width, t, height), t / 2 * rounding, withOpacity(palette.text, base + 0.22 * swell)};
    layout.fill = {centred(0, std::max(fillWidth, 0.0), f, height), f / 2 * rounding,
        PressFeedback::brightened(palette.text.toQColor(), lift)};
    const double presence = progress ? std::clamp(finiteOr(input.active, 0), 0.0, 1.0) : 1;
    layout.knob = {centred(fillWidth - rivistaKnob / 2, rivistaKnob, rivistaKnob, height), rivistaKnob / 2,
        palette.text.toQColor(), presence, presence > 0};
    return layout;
}

void ScrubberTrackLayout::draw(QPainter &painter, QPointF origin, QSizeF frame) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setOpacity(painter.opacity() * opacity);
    painter.translate(origin.x() + frame.width() / 2, origin.y());
    painter.scale(scaleX, 1);
    painter.translate(-frame.width() / 2, 0);

    const auto fillLayer = [&painter](const ScrubberTrackLayer &layer) {
        if (!layer.visible || layer.rect.isEmpty())
            return;
        painter.save();
        painter.setOpacity(painter.opacity() * layer.opacity);
        painter.fillPath(Corners::all(layer.radius).path(layer.rect), layer.color);
        painter.restore();
    };
    fillLayer(track);
    fillLayer(fill);
    if (knob.visible && knobShadow) {
        // Black at half opacity, blurred by 1.5 points, one point down.
        const double r = knob.rect.width() / 2;
        const QPointF centre = knob.rect.center() + QPointF(0, 1);
        const double outer = r + 1.5;
        QRadialGradient shadow(centre, outer);
        shadow.setColorAt(std::max(r - 1.5, 0.0) / outer, QColor(0, 0, 0, 128));
        shadow.setColorAt(r / outer, QColor(0, 0, 0, 64));
        shadow.setColorAt(1, QColor(0, 0, 0, 0));
        painter.save();
        painter.setOpacity(painter.opacity() * knob.opacity);
        painter.setBrush(shadow);
        painter.drawEllipse(centre, outer, outer);
        painter.restore();
    }
    fillLayer(knob);
    painter.restore();
}

ScrubberTrack::ScrubberTrack(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

template<class T>
void ScrubberTrack::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
    update();
}

void ScrubberTrack::setStyleName(const QString &name)
{
    assign(m_input.style, fromRawValue<ScrubberStyle>(name).value_or(ScrubberStyle::progress));
}

void ScrubberTrack::setFraction(double fraction)
{
    assign(m_input.fraction, fraction);
}

void ScrubberTrack::setActive(double active)
{
    assign(m_input.active, active);
}

void ScrubberTrack::setLive(bool enabled)
{
    assign(m_input.enabled, enabled);
}

void ScrubberTrack::setSwell(double swell)
{
    assign(m_input.swell, swell);
}

void ScrubberTrack::setSwellShape(bool shape)
{
    assign(m_input.swellShape, shape);
}

QSizeF ScrubberTrack::frame() const
{
    return QSizeF(std::max(width() - 2 * bleedMargin, 0.0), std::max(height() - 2 * bleedMargin, 0.0));
}

SkinnedAttached *ScrubberTrack::environment()
{
    return m_environment.get(this, [this] { update(); });
}

ScrubberTrackLayout ScrubberTrack::layout() const
{
    auto *self = const_cast<ScrubberTrack *>(this);
    return ScrubberTrackLayout::make(self->environment()->palette(), m_input, frame());
}

void ScrubberTrack::paint(QPainter *painter)
{
    layout().draw(*painter, QPointF(bleedMargin, bleedMargin), frame());
}

void ScrubberTrack::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    environment();
}

QImage ScrubberTrack::render(const SkinPalette &palette, const ScrubberTrackInput &input, QSizeF frame)
{
    const QSize size(qCeil(frame.width() + 2 * bleedMargin), qCeil(frame.height() + 2 * bleedMargin));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    ScrubberTrackLayout::make(palette, input, frame).draw(painter, QPointF(bleedMargin, bleedMargin), frame);
    return image;
}
