#pragma once

#include "KitAnimation.h"
#include "Motion.h"

class QQuickItem;

// The app-wide spring: a damped spring that starts at rest and settles on its
// target, with the given response (the period of the undamped spring, in
// seconds), damping fraction 0.85 and no blend. QML gets it as a duration (the
// time to settle within a thousandth) and an easing curve of that duration.
struct MotionSpring {
    static constexpr double dampingFraction = 0.85;
    static constexpr double blendDuration = 0;
    // The remaining distance at which the spring counts as settled.
    static constexpr double settled = 0.001;

    double response = 0;

    // The distance covered, 0 at the start and 1 at the target, after `t` seconds.
    double position(double t) const;
    double duration() const;
    KitAnimation animation() const;
};

MotionSpring motionSpring(double response);

// The motion policy a view draws with: that of the nearest skinned root at or
// above it. A view not yet in a window has no environment to read: it gets
// the default policy (everything may animate), which never updates, and the
// misuse is logged as critical.
MotionPolicy motionEnvironmentValue(const QQuickItem *view);
