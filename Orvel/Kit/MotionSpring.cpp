#include "MotionSpring.h"

#include "SkinEnvironment.h"

#include <QLoggingCategory>
#include <QQuickItem>
#include <cmath>
#include <numbers>

Q_LOGGING_CATEGORY(lcMotion, "com.velbrandtoro.Orvel.motion")

namespace {
constexpr double zeta = MotionSpring::dampingFraction;

// Settling time in periods of the undamped spring: the envelope of the
// underdamped response, e^(-zeta w t) / sqrt(1 - zeta^2), reaches `settled`.
double settlingPeriods()
{
    const double root = std::sqrt(1 - zeta * zeta);
    return std::log(1 / (MotionSpring::settled * root)) / (zeta * 2 * std::numbers::pi);
}

// The underdamped response from rest, with time in periods of the undamped spring.
double response(double periods)
{
    if (periods <= 0)
        return 0;
    const double w = 2 * std::numbers::pi;
    const double root = std::sqrt(1 - zeta * zeta);
    const double wd = w * root;
    return 1
        - std::exp(-zeta * w * periods) * (std::cos(wd * periods) + zeta / root * std::sin(wd * periods));
}

// The same curve over the animation's length, for every response: only the
// time scale depends on the response, so one function serves them all.
qreal springCurve(qreal progress)
{
    if (progress >= 1)
        return 1;
    return response(progress * settlingPeriods());
}
} // namespace

double MotionSpring::position(double t) const
{
    if (!(response > 0) || !std::isfinite(t))
        return t > 0 ? 1 : 0;
    return ::response(t / response);
}

double MotionSpring::duration() const
{
    return std::isfinite(response) && response > 0 ? settlingPeriods() * response : 0;
}

KitAnimation MotionSpring::animation() const
{
    QEasingCurve curve;
    curve.setCustomType(springCurve);
    return {duration(), curve};
}

MotionSpring motionSpring(double response)
{
    return {response};
}

MotionPolicy motionEnvironmentValue(const QQuickItem *view)
{
    if (!view || !view->window()) {
        qCCritical(lcMotion) << "MotionPolicy read outside an installed view; the default policy is used and "
                                "will not update";
        return MotionPolicy{};
    }
    // The attached object only reads the environment; creating it changes nothing.
    return Skinned::of(const_cast<QQuickItem *>(view))->values().motion;
}
