#include "PressFeedback.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "SkinEnvironment.h"

#include <QQuickItem>
#include <gtest/gtest.h>

using Look = PressFeedback::Look;

TEST(PressFeedback, DisabledButtonsAreDimAndNeverBrightened)
{
    EXPECT_EQ(PressFeedback::look(false, true, false, true), (Look{0, 0.4, 1, true}));
    EXPECT_EQ(PressFeedback::look(true, true, false, true), (Look{0.06, 1, 1, true}));
    EXPECT_EQ(PressFeedback::look(true, false, false, true), (Look{0, 1, 1, true}));
}

TEST(PressFeedback, PressesShrinkOnlyWhenControlsMayAnimate)
{
    EXPECT_EQ(PressFeedback::look(true, true, true, true).scale, 0.975);
    // Light effects, Reduce Motion or the feature off: no scale, hover still brightens.
    EXPECT_EQ(PressFeedback::look(true, true, true, false), (Look{0.06, 1, 1, false}));

    PressFeedback feedback;
    EXPECT_EQ(feedback.animation(), KitAnimation::easeOut(0.14));
    EXPECT_EQ(feedback.animation().durationMs(), 140);
    feedback.setMotionAllowed(false);
    EXPECT_FALSE(feedback.animation().enabled());
}

TEST(PressFeedback, BrightnessAddsToEachComponentAndKeepsOpacity)
{
    const QColor lit = PressFeedback::brightened(QColor::fromRgbF(0.5, 0.98, 0, 0.72), 0.06);
    EXPECT_NEAR(lit.redF(), 0.56, 1e-3);
    EXPECT_NEAR(lit.greenF(), 1.0, 1e-3);
    EXPECT_NEAR(lit.blueF(), 0.06, 1e-3);
    EXPECT_NEAR(lit.alphaF(), 0.72, 1e-3);
}

TEST(PressFeedbackStyle, AppliesTheLookAndFollowsTheEnvironment)
{
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        import Orvel.Shared
        PressFeedbackStyle {
            property color label: lit("#808080")
            Skinned.lightEffects: true
            contentItem: Rectangle { implicitWidth: 40; implicitHeight: 20 }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    QQuickItem *button = view->item();
    auto *feedback = button->property("feedback").value<PressFeedback *>();
    ASSERT_TRUE(feedback);
    EXPECT_EQ(button->implicitWidth(), 40);
    const auto red = [button] { return button->property("label").value<QColor>().redF(); };

    // Light effects: nothing animates, so every change shows at once.
    button->setProperty("shownHovered", true);
    EXPECT_NEAR(red(), 128 / 255.0 + 0.06, 1e-3);
    button->setProperty("shownPressed", true);
    EXPECT_EQ(button->scale(), 1);
    button->setEnabled(false);
    EXPECT_EQ(button->opacity(), 0.4);
    EXPECT_NEAR(red(), 128 / 255.0, 1e-3);

    // With motion the press shrinks the button, animated.
    button->setEnabled(true);
    Skinned::of(button)->setLightEffects(false);
    EXPECT_EQ(feedback->scale(), 0.975);
    EXPECT_TRUE(feedback->animation().enabled());
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}

TEST(KitAnimation, ReachesQmlAnimationsWithItsCurve)
{
    QmlHarness harness;
    const auto object = harness.create(R"(
        import QtQuick
        import Orvel
        NumberAnimation {
            readonly property var source: KitMotion.easeInOut(0.7)
            duration: source.duration
            easing: source.easing
        })");
    ASSERT_TRUE(object) << harness.errors().toStdString();
    EXPECT_EQ(object->property("duration").toInt(), 700);
    const auto easing = object->property("easing").value<QEasingCurve>();
    const KitAnimation expected = KitAnimation::easeInOut(0.7);
    for (double t : {0.1, 0.3, 0.5, 0.9})
        EXPECT_NEAR(easing.valueForProgress(t), expected.easing.valueForProgress(t), 1e-9) << t;
    EXPECT_LT(easing.valueForProgress(0.1), 0.05); // eases in
}
