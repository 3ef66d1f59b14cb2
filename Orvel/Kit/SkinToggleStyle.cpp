#include "SkinToggleStyle.h"

#include "Localization.h"
#include "MotionSpring.h"

#include <algorithm>

namespace {
double mix(double a, double b, double t)
{
    return a + (b - a) * t;
}

// Mixed with premultiplied components, so a fading colour does not grey.
SRGBColor mix(const SRGBColor &a, const SRGBColor &b, double t)
{
    if (t <= 0)
        return a;
    if (t >= 1)
        return b;
    const double opacity = mix(a.opacity, b.opacity, t);
    if (opacity <= 0)
        return {0, 0, 0, 0};
    const auto component
        = [&](double ca, double cb) { return mix(ca * a.opacity, cb * b.opacity, t) / opacity; };
    return {component(a.red, b.red), component(a.green, b.green), component(a.blue, b.blue), opacity};
}
} // namespace

SkinToggleStyle::Shape SkinToggleStyle::shape(Skin skin)
{
    // Classico is the size of a small platform switch, its knob nearly as high as the track.
    return skin == Skin::classico ? Shape{32, 18, 16, 1, 1} : Shape{36, 20, 16, 2, 0};
}

SkinToggleStyle::Look SkinToggleStyle::look(const SkinPalette &palette, double position)
{
    const Shape s = shape(palette.skin);
    const double offX = s.knobInset;
    const double onX = s.trackWidth - s.knobInset - s.knobSize;
    Look off, on;
    if (palette.skin == Skin::classico) {
        // On is the accent, the one highlighted state; off a faint outlined track.
        off = {offX, palette.fillStrong, palette.stroke, palette.text};
        on = {onX, palette.accent, palette.accent, palette.text};
    } else {
        const SRGBColor clear{0, 0, 0, 0};
        off = {offX, palette.text.withOpacity(palette.text.opacity * offTrackOpacity), clear, palette.text};
        on = {onX, palette.text, clear, palette.onAccent};
    }
    // The spring may overshoot a little: the knob follows, the colours stop at the ends.
    const double t = std::clamp(position, 0.0, 1.0);
    return {mix(off.knobX, on.knobX, position), mix(off.track, on.track, t),
        mix(off.trackBorder, on.trackBorder, t), mix(off.knob, on.knob, t)};
}

KitAnimation SkinToggleStyle::animation(bool motionAllowed)
{
    return motionAllowed ? motionSpring(springResponse).animation() : KitAnimation::none();
}

KitAnimation SkinToggleStyle::animation(Skin skin, bool motionAllowed, bool reduceMotion)
{
    if (skin == Skin::classico)
        return reduceMotion ? KitAnimation::none() : KitAnimation::easeInOut(classicoSlideSeconds);
    return animation(motionAllowed);
}

QString SkinToggleStyle::accessibilityValue(bool on)
{
    return localized(on ? QStringLiteral("On") : QStringLiteral("Off"));
}

SkinToggleStyle::SkinToggleStyle(QObject *parent)
    : QObject(parent)
{
}

void SkinToggleStyle::setPalette(const SkinPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    emit changed();
}

void SkinToggleStyle::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    emit changed();
}

void SkinToggleStyle::setPosition(qreal position)
{
    if (position == m_position)
        return;
    m_position = position;
    emit changed();
}

void SkinToggleStyle::setMotionAllowed(bool allowed)
{
    if (allowed == m_motionAllowed)
        return;
    m_motionAllowed = allowed;
    emit changed();
}

void SkinToggleStyle::setReduceMotion(bool reduce)
{
    if (reduce == m_reduceMotion)
        return;
    m_reduceMotion = reduce;
    emit changed();
}
