#pragma once

#include <QEasingCurve>
#include <QObject>
#include <QPointF>
#include <QtQml/qqmlregistration.h>

// An animation as the kit's views hand it to QML: a duration and an easing
// curve, or none at all (duration 0), for a Behavior's animation.
struct KitAnimation {
    Q_GADGET
    QML_VALUE_TYPE(kitAnimation)
    Q_PROPERTY(int duration READ durationMs CONSTANT)
    Q_PROPERTY(QEasingCurve easing MEMBER easing CONSTANT)
    Q_PROPERTY(bool enabled READ enabled CONSTANT)

public:
    double seconds = 0;
    QEasingCurve easing;

    static KitAnimation none() { return {}; }
    static KitAnimation linear(double seconds);
    // The usual cubic curves: ease-out (0, 0, 0.58, 1) and ease-in-out (0.42, 0, 0.58, 1).
    static KitAnimation easeOut(double seconds);
    static KitAnimation easeInOut(double seconds);

    // Whole milliseconds, as QML animations take them.
    int durationMs() const;
    bool enabled() const { return durationMs() > 0; }

    friend bool operator==(const KitAnimation &a, const KitAnimation &b)
    {
        return a.seconds == b.seconds && a.easing == b.easing;
    }
};

// The kit's animations for QML.
class KitMotion : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;
    Q_INVOKABLE KitAnimation none() const { return KitAnimation::none(); }
    Q_INVOKABLE KitAnimation linear(qreal seconds) const { return KitAnimation::linear(seconds); }
    Q_INVOKABLE KitAnimation easeOut(qreal seconds) const { return KitAnimation::easeOut(seconds); }
    Q_INVOKABLE KitAnimation easeInOut(qreal seconds) const { return KitAnimation::easeInOut(seconds); }
    // The app-wide spring of that response (motionSpring).
    Q_INVOKABLE KitAnimation spring(qreal response) const;
};
