#include "PressFeedback.h"

#include <algorithm>
#include <cmath>

PressFeedback::Look PressFeedback::look(bool enabled, bool hovered, bool pressed, bool motionAllowed)
{
    return {enabled && hovered ? hoverBrightness : 0, enabled ? 1 : disabledOpacity,
        motionAllowed && pressed ? pressedScale : 1, motionAllowed};
}

QColor PressFeedback::brightened(const QColor &color, double amount)
{
    if (amount == 0)
        return color;
    const auto add = [amount](float component) { return std::clamp(double(component) + amount, 0.0, 1.0); };
    const QColor rgb = color.toRgb();
    return QColor::fromRgbF(add(rgb.redF()), add(rgb.greenF()), add(rgb.blueF()), rgb.alphaF());
}

QImage PressFeedback::brightened(const QImage &image, double amount)
{
    if (amount == 0 || image.isNull())
        return image;
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            // Premultiplied: the amount scales with the pixel's coverage.
            const int alpha = qAlpha(line[x]);
            const int add = int(std::lround(amount * alpha));
            const auto lift = [&](int component) { return std::clamp(component + add, 0, alpha); };
            line[x] = qRgba(lift(qRed(line[x])), lift(qGreen(line[x])), lift(qBlue(line[x])), alpha);
        }
    }
    return result;
}

PressFeedback::PressFeedback(QObject *parent)
    : QObject(parent)
{
}

void PressFeedback::set(bool &field, bool value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void PressFeedback::setEnabled(bool value)
{
    set(m_enabled, value);
}

void PressFeedback::setHovered(bool value)
{
    set(m_hovered, value);
}

void PressFeedback::setPressed(bool value)
{
    set(m_pressed, value);
}

void PressFeedback::setMotionAllowed(bool value)
{
    set(m_motionAllowed, value);
}

KitAnimation PressFeedback::animation() const
{
    return m_motionAllowed ? KitAnimation::easeOut(duration) : KitAnimation::none();
}
