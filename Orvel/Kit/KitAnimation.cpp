#include "KitAnimation.h"

#include "MotionSpring.h"

#include <cmath>

namespace {
QEasingCurve cubic(QPointF c1, QPointF c2)
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(c1, c2, QPointF(1, 1));
    return curve;
}
} // namespace

KitAnimation KitAnimation::linear(double seconds)
{
    return {seconds, QEasingCurve(QEasingCurve::Linear)};
}

KitAnimation KitAnimation::easeOut(double seconds)
{
    return {seconds, cubic({0, 0}, {0.58, 1})};
}

KitAnimation KitAnimation::easeInOut(double seconds)
{
    return {seconds, cubic({0.42, 0}, {0.58, 1})};
}

int KitAnimation::durationMs() const
{
    return std::isfinite(seconds) && seconds > 0 ? int(std::lround(seconds * 1000)) : 0;
}

KitAnimation KitMotion::spring(qreal response) const
{
    return motionSpring(response).animation();
}
