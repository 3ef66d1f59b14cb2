#include "Motion.h"

#include <QJsonArray>
#include <QStringList>
#include <algorithm>
#include <cmath>

void AnimationSettings::setEnabled(AnimationFeature feature, bool enabled)
{
    if (enabled)
        disabled.erase(feature);
    else
        disabled.insert(feature);
}

std::optional<AnimationPreset> AnimationSettings::preset() const
{
    for (AnimationPreset candidate : allCases<AnimationPreset>()) {
        if (settings(candidate) == *this)
            return candidate;
    }
    return std::nullopt;
}

QJsonValue AnimationSettings::toJson() const
{
    QStringList names;
    for (AnimationFeature feature : disabled)
        names.append(toRawValue(feature));
    names.sort();
    return QJsonObject{{QStringLiteral("off"), QJsonArray::fromStringList(names)}};
}

AnimationSettings AnimationSettings::fromJson(const QJsonValue &value)
{
    const QString key = QStringLiteral("off");
    const QJsonObject object = json::asObject(value);
    AnimationSettings result;
    const auto off = json::optional(object, key);
    if (!off)
        return result;
    for (const QJsonValue &element : json::asArray(*off, key)) {
        // Names from a newer or older build are skipped; a wrong type is a broken document.
        if (auto feature = fromRawValue<AnimationFeature>(json::asString(element, key)))
            result.disabled.insert(*feature);
    }
    return result;
}

AnimationSettings settings(AnimationPreset preset)
{
    using F = AnimationFeature;
    switch (preset) {
    case AnimationPreset::all:
        return {};
    case AnimationPreset::essential:
        return {{F::trackSwell, F::titleScroll}};
    case AnimationPreset::none:
        break;
    }
    const auto every = allCases<AnimationFeature>();
    return {{every.begin(), every.end()}};
}

MotionLevel MotionPolicy::level(AnimationFeature feature) const
{
    if (light || settings.disabled.contains(feature))
        return MotionLevel::still;
    if (reduceMotion) {
        switch (feature) {
        case AnimationFeature::titleScroll:
        case AnimationFeature::panels:
        case AnimationFeature::controls:
            return MotionLevel::still;
        case AnimationFeature::trackSwell:
        case AnimationFeature::trackChange:
        case AnimationFeature::skillCast:
            return MotionLevel::reduced;
        }
    }
    return MotionLevel::full;
}

double SwellMotion::envelope(double elapsed)
{
    // The negated comparison also turns NaN away.
    if (!(elapsed > 0) || elapsed >= duration)
        return 0;
    if (elapsed <= peakTime) {
        // A cubic through 0 at the start and 1 at the peak, flat there.
        const double x = elapsed / peakTime - 1;
        return 1 + 1.4 * x * x + 2.4 * x * x * x;
    }
    const double t = (elapsed - peakTime) / (duration - peakTime);
    return 1 - t * t * (3 - 2 * t);
}

namespace {
bool overflows(double contentWidth, double viewportWidth)
{
    return contentWidth > viewportWidth + MarqueeMotion::overflowTolerance;
}
} // namespace

double MarqueeMotion::offset(double contentWidth, double viewportWidth, double elapsed, bool reducedMotion)
{
    if (reducedMotion || !std::isfinite(contentWidth) || !std::isfinite(viewportWidth)
        || !std::isfinite(elapsed) || !(viewportWidth > 0) || !overflows(contentWidth, viewportWidth))
        return 0;
    const double travel = contentWidth + gap;
    const double cycle = travel / speed + delay;
    const double phase = std::fmod(std::max(elapsed, 0.0), cycle);
    return std::clamp((phase - delay) * speed, 0.0, travel);
}

double MarqueeMotion::readingTime(
    double contentWidth, double viewportWidth, bool reducedMotion, double minimum, double maximum)
{
    if (reducedMotion || !std::isfinite(contentWidth) || !std::isfinite(viewportWidth) || !(viewportWidth > 0)
        || !overflows(contentWidth, viewportWidth))
        return minimum;
    const double time = (contentWidth - viewportWidth) / speed + delay + readingPause;
    return std::min(std::max(time, minimum), maximum);
}
