#include "MotionSpring.h"
#include "QmlHarness.h"
#include "SkinEnvironment.h"

#include <QQuickItem>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {
QStringList criticalMessages;

void keepCritical(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg)
        criticalMessages << message;
}

// The damped spring integrated step by step (classic Runge-Kutta), from rest
// at 0 towards 1: x'' = -w^2 (x - 1) - 2 zeta w x'.
double integrated(double response, double damping, double t)
{
    const double w = 2 * std::numbers::pi / response;
    const auto acceleration = [&](double x, double v) { return -w * w * (x - 1) - 2 * damping * w * v; };
    double x = 0, v = 0;
    const int steps = 20000;
    const double h = t / steps;
    for (int i = 0; i < steps; ++i) {
        const double k1x = v, k1v = acceleration(x, v);
        const double k2x = v + h / 2 * k1v, k2v = acceleration(x + h / 2 * k1x, v + h / 2 * k1v);
        const double k3x = v + h / 2 * k2v, k3v = acceleration(x + h / 2 * k2x, v + h / 2 * k2v);
        const double k4x = v + h * k3v, k4v = acceleration(x + h * k3x, v + h * k3v);
        x += h / 6 * (k1x + 2 * k2x + 2 * k3x + k4x);
        v += h / 6 * (k1v + 2 * k2v + 2 * k3v + k4v);
    }
    return x;
}
} // namespace

TEST(MotionSpring, FollowsTheDampedSpring)
{
    const MotionSpring spring = motionSpring(0.18);
    EXPECT_EQ(MotionSpring::dampingFraction, 0.85);
    EXPECT_EQ(MotionSpring::blendDuration, 0);
    for (double t : {0.01, 0.05, 0.1, 0.15, 0.2, 0.25})
        EXPECT_NEAR(spring.position(t), integrated(0.18, 0.85, t), 1e-6) << t;
    EXPECT_EQ(spring.position(0), 0);
}

TEST(MotionSpring, LastsUntilSettledAndScalesWithTheResponse)
{
    const MotionSpring spring = motionSpring(0.18);
    EXPECT_NEAR(spring.duration(), 0.2544, 1e-3);
    EXPECT_NEAR(motionSpring(0.36).duration(), 2 * spring.duration(), 1e-12);
    EXPECT_LT(std::abs(1 - spring.position(spring.duration())), 0.001);
    EXPECT_GT(std::abs(1 - spring.position(0.8 * spring.duration())), 0.001);
    // A slight overshoot: 0.85 is just under critical damping.
    double peak = 0;
    for (double t = 0; t < spring.duration(); t += 0.001)
        peak = std::max(peak, spring.position(t));
    EXPECT_NEAR(peak, 1 + std::exp(-std::numbers::pi * 0.85 / std::sqrt(1 - 0.85 * 0.85)), 1e-4);
}

TEST(MotionSpring, ReachesQmlAsADurationAndACurve)
{
    const MotionSpring spring = motionSpring(0.18);
    const KitAnimation animation = spring.animation();
    EXPECT_EQ(animation.durationMs(), 254);
    for (double u : {0.0, 0.1, 0.3, 0.6, 0.9})
        EXPECT_NEAR(animation.easing.valueForProgress(u), spring.position(u * spring.duration()), 1e-9) << u;
    EXPECT_EQ(animation.easing.valueForProgress(1), 1);

    QmlHarness harness;
    const auto object = harness.create(R"(
        import QtQuick
        import Orvel
        NumberAnimation {
            readonly property var spring: KitMotion.spring(0.36)
            duration: spring.duration
            easing: spring.easing
        })");
    ASSERT_TRUE(object) << harness.errors().toStdString();
    EXPECT_EQ(object->property("duration").toInt(), 509);
    const auto easing = object->property("easing").value<QEasingCurve>();
    EXPECT_NEAR(easing.valueForProgress(0.3), animation.easing.valueForProgress(0.3), 1e-9);
}

TEST(MotionEnvironment, AnInstalledViewReadsItsSkinnedRoot)
{
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel.Shared
        Item {
            implicitWidth: 40; implicitHeight: 40
            Skinned.lightEffects: true
            Skinned.animations: ["titleScroll"]
            Item { objectName: "inner"; Item { objectName: "leaf" } }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *leaf = view->item()->findChild<QQuickItem *>("leaf");
    ASSERT_TRUE(leaf);
    const MotionPolicy policy = motionEnvironmentValue(leaf);
    EXPECT_TRUE(policy.light);
    EXPECT_EQ(policy.settings.disabled, std::set{AnimationFeature::titleScroll});
    EXPECT_EQ(policy.level(AnimationFeature::trackSwell), MotionLevel::still);
}

TEST(MotionEnvironment, OutsideAViewIsTheDefaultPolicyAndLogged)
{
    QmlHarness harness;
    const auto root = harness.create(R"(
        import QtQuick
        import Orvel.Shared
        Item {
            Skinned.lightEffects: true
            Item { objectName: "leaf" }
        })");
    ASSERT_TRUE(root) << harness.errors().toStdString();
    auto *leaf = root->findChild<QQuickItem *>("leaf");
    ASSERT_TRUE(leaf);
    criticalMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepCritical);
    const MotionPolicy outside = motionEnvironmentValue(leaf);
    const MotionPolicy none = motionEnvironmentValue(nullptr);
    qInstallMessageHandler(previous);
    // Light mode above it is not seen: everything may animate.
    EXPECT_EQ(outside, MotionPolicy{});
    EXPECT_TRUE(outside.allows(AnimationFeature::trackSwell));
    EXPECT_EQ(none, MotionPolicy{});
    ASSERT_EQ(criticalMessages.size(), 2);
    EXPECT_TRUE(criticalMessages[0].contains("MotionPolicy"));
}
