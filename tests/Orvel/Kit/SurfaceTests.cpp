#include "QmlHarness.h"
#include "QtPrinters.h"
#include "ScopedAppearance.h"
#include "SkinEnvironment.h"
#include "SurfaceGroundLayers.h"
#include "SurfaceStyle.h"

#include <QPainter>
#include <QQuickItem>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
const Aura blueAura(
    ArtworkPalette{{0.18, 0.42, 0.93}, {0.62, 0.38, 0.95}, {0.05, 0.08, 0.2}}, QStringLiteral("blue"));
const Aura redAura(
    ArtworkPalette{{0.9, 0.2, 0.1}, {0.9, 0.6, 0.2}, {0.2, 0.05, 0.02}}, QStringLiteral("red"));

QImage paint(const SurfaceGroundLayers::Layers &layers, QSize size = {100, 100})
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QRectF rect(QPointF(0, 0), size);
    QPainterPath shape;
    shape.addRect(rect);
    SurfaceGroundLayers::draw(painter, rect, shape, layers);
    return image;
}

struct Appearance {
    explicit Appearance(SystemAppearance::Overrides overrides)
    {
        SystemAppearance::shared()->setOverrides(overrides);
    }
    ~Appearance() { SystemAppearance::shared()->setOverrides({}); }
};
} // namespace

TEST(SurfaceGround, GlassOnlyInRivistaWithNothingAgainstIt)
{
    EXPECT_TRUE(SurfaceGroundLayers::showsGlass(Skin::rivista, false, false, false));
    EXPECT_FALSE(SurfaceGroundLayers::showsGlass(Skin::rivista, true, false, false));
    EXPECT_FALSE(SurfaceGroundLayers::showsGlass(Skin::rivista, false, true, false));
    EXPECT_FALSE(SurfaceGroundLayers::showsGlass(Skin::rivista, false, false, true));
    EXPECT_FALSE(SurfaceGroundLayers::showsGlass(Skin::classico, false, false, false));
    EXPECT_EQ(SurfaceGroundLayers::fieldOpacities(true), std::pair(0.66, 0.82));
    EXPECT_EQ(SurfaceGroundLayers::fieldOpacities(false), std::pair(1.0, 1.0));
}

TEST(SurfaceGround, FieldFadeKeepsItsLengthUnderReduceMotionButNotWhenStill)
{
    EXPECT_EQ(SurfaceGroundLayers::fadeAnimation({}), KitAnimation::easeInOut(0.7));
    EXPECT_EQ(SurfaceGroundLayers::fadeAnimation({{}, false, true}), KitAnimation::easeInOut(0.7));
    EXPECT_FALSE(SurfaceGroundLayers::fadeAnimation({{}, true, false}).enabled());
    EXPECT_FALSE(
        SurfaceGroundLayers::fadeAnimation({{{AnimationFeature::trackChange}}, false, false}).enabled());
}

TEST(SurfaceGround, RivistaGlassIsTranslucentWithASheenOpaqueWithout)
{
    const SkinPalette rivista(Skin::rivista, blueAura);
    const QImage solid = paint({rivista, blueAura, {}, 1, false});
    EXPECT_EQ(solid.pixelColor(50, 0).alpha(), 255);
    EXPECT_EQ(solid.pixelColor(50, 0).rgb(), blueAura.field.toQColor().rgb());
    EXPECT_EQ(solid.pixelColor(50, 99).rgb(), blueAura.fieldDeep.toQColor().rgb());

    const QImage glass = paint({rivista, blueAura, {}, 1, true});
    EXPECT_LT(glass.pixelColor(50, 0).alpha(), 250);
    EXPECT_GT(glass.pixelColor(50, 0).alpha(), 200);
    // The sheen lights the top quarter.
    const QColor top = glass.pixelColor(50, 1), below = glass.pixelColor(50, 30);
    EXPECT_GT(top.redF() + top.greenF(), below.redF() + below.greenF());
}

TEST(SurfaceGround, ClassicoGlowsFromTheTopTrailingAndBottomLeadingCorners)
{
    const SkinPalette classico(Skin::classico, blueAura);
    const QImage image = paint({classico, blueAura, {}, 1, true}, {1200, 800});
    const QColor ground = classico.ground.toQColor();
    const QColor topTrailing = image.pixelColor(1199, 0), bottomLeading = image.pixelColor(0, 799);
    EXPECT_EQ(image.pixelColor(600, 400).alpha(), 255); // no glass in classico
    EXPECT_GT(topTrailing.green(), ground.green()); // the accent is green
    EXPECT_GT(bottomLeading.blue(), ground.blue()); // teal
    EXPECT_EQ(image.pixelColor(1199, 799).rgb(), ground.rgb()); // beyond both radii
}

TEST(SurfaceGround, ANewAuraKeyCrossFadesTheFieldUnlessStill)
{
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        import Orvel.Shared
        Item {
            width: 100; height: 100
            Skinned.skin: "rivista"
            SurfaceGround { objectName: "ground"; anchors.fill: parent }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *ground = view->item()->findChild<SurfaceGroundLayers *>("ground");
    SkinnedAttached *root = Skinned::of(view->item());
    root->apply(Skin::rivista, blueAura, false, {});
    EXPECT_EQ(ground->fade(), 1); // nothing shown yet: no fade
    view->grab();

    QSignalSpy started(ground, &SurfaceGroundLayers::fadeStarted);
    root->apply(Skin::rivista, redAura, false, {});
    EXPECT_EQ(started.count(), 1);
    EXPECT_LT(ground->fade(), 0.5);
    ASSERT_EQ(ground->layers().fading.size(), 1u);
    EXPECT_EQ(ground->layers().fading.front().aura, blueAura);
    EXPECT_EQ(ground->layers().field, redAura);

    // Recoloured under the same key: in place.
    Aura recoloured = redAura;
    recoloured.field = blueAura.field;
    ground->setFade(1);
    root->apply(Skin::rivista, recoloured, false, {});
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(ground->layers().field, recoloured);

    // Still track changes swap at once.
    root->apply(Skin::rivista, blueAura, true, {});
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(ground->fade(), 1);
    EXPECT_TRUE(ground->layers().fading.empty());
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}

TEST(SurfaceGround, AnAuraArrivingMidFadeLetsEveryLeavingFieldFinishItsOwnFade)
{
    const Aura greenAura(
        ArtworkPalette{{0.1, 0.8, 0.2}, {0.3, 0.9, 0.4}, {0.02, 0.2, 0.05}}, QStringLiteral("green"));
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        import Orvel.Shared
        Item {
            width: 100; height: 100
            SurfaceGround { objectName: "ground"; anchors.fill: parent }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *ground = view->item()->findChild<SurfaceGroundLayers *>("ground");
    SkinnedAttached *root = Skinned::of(view->item());
    root->apply(Skin::rivista, blueAura, false, {});
    view->grab();
    const QEasingCurve curve = SurfaceGroundLayers::fadeAnimation({}).easing;

    root->apply(Skin::rivista, redAura, false, {});
    ground->setFade(0.4); // blue is 40 % of its way out, red 40 % of its way in
    root->apply(Skin::rivista, greenAura, false, {});
    EXPECT_EQ(ground->fade(), 0);
    auto layers = ground->layers();
    ASSERT_EQ(layers.fading.size(), 2u);
    // Blue keeps the opacity it had, and red leaves from where it had come in.
    EXPECT_EQ(layers.fading[0].aura, blueAura);
    EXPECT_NEAR(layers.fading[0].opacity, 1 - curve.valueForProgress(0.4), 1e-9);
    EXPECT_EQ(layers.fading[1].aura, redAura);
    EXPECT_NEAR(layers.fading[1].opacity, curve.valueForProgress(0.4), 1e-9);
    EXPECT_EQ(layers.field, greenAura);

    // Blue's fade ends on its own time, 60 % into green's; red's goes on.
    ground->setFade(0.6);
    layers = ground->layers();
    ASSERT_EQ(layers.fading.size(), 1u);
    EXPECT_EQ(layers.fading[0].aura, redAura);
    EXPECT_NEAR(layers.fade, curve.valueForProgress(0.6), 1e-9);
    ground->setFade(1);
    EXPECT_TRUE(ground->layers().fading.empty());
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}

TEST(SurfaceGround, HalfwayBothFieldsShowAtHalfStrength)
{
    const SkinPalette rivista(Skin::rivista, redAura);
    const QColor pixel = paint({rivista, redAura, {{blueAura, 0.5}}, 0.5, false}).pixelColor(50, 0);
    EXPECT_NEAR(pixel.alphaF(), 0.75, 0.02); // 1 - 0.5 * 0.5
    EXPECT_GT(pixel.red(), 0);
    EXPECT_GT(pixel.blue(), 0);
}

TEST(SkinEnvironment, ReduceTransparencyComesFromTheSystem)
{
    QQuickItem root;
    Skinned::of(&root)->apply(Skin::rivista, Aura::brand(), false, {});
    EXPECT_FALSE(Skinned::of(&root)->reduceTransparency());
    ScopedAppearance reduced({false, true, false});
    EXPECT_TRUE(Skinned::of(&root)->reduceTransparency());
    EXPECT_FALSE(SkinEnvironment::defaultEnvironment()->reduceTransparency());
}

TEST(SurfaceStyle, BordersPerSkinAndFillsByStrength)
{
    EXPECT_EQ(SurfaceStyle::panelBorder(Skin::classico).from, QColor::fromRgbF(1, 1, 1, 0.14));
    EXPECT_EQ(SurfaceStyle::panelBorder(Skin::classico).to, QColor::fromRgbF(1, 1, 1, 0.06));
    EXPECT_EQ(SurfaceStyle::panelBorder(Skin::rivista).from, QColor::fromRgbF(1, 1, 1, 0.32));
    EXPECT_EQ(SurfaceStyle::panelBorder(Skin::rivista).to, QColor::fromRgbF(1, 1, 1, 0.08));
    const SkinPalette rivista(Skin::rivista, Aura::brand());
    EXPECT_EQ(SurfaceStyle::fillOf(rivista, true), rivista.fillStrong);
    EXPECT_EQ(SurfaceStyle::fillOf(rivista, false), rivista.fill);
}

TEST(SkinCard, BoxedInClassicoOnlyARuleInRivista)
{
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        import Orvel.Shared
        Column {
            SkinCard { objectName: "card"; contentItem: Item { implicitWidth: 120; implicitHeight: 40 } }
            SkinFill { objectName: "fill"; contentItem: Item { implicitWidth: 80; implicitHeight: 30 } }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *card = view->item()->findChild<QQuickItem *>("card");
    EXPECT_EQ(card->property("radius").toDouble(), 20);
    EXPECT_EQ(card->implicitWidth(), 120);
    EXPECT_TRUE(card->property("boxed").toBool());
    EXPECT_EQ(view->item()->findChild<QQuickItem *>("fill")->property("radius").toDouble(), 12);

    Skinned::of(view->item())->setSkin("rivista");
    EXPECT_FALSE(card->property("boxed").toBool());
    QQuickItem *rule = nullptr;
    for (QQuickItem *child : card->childItems()) {
        if (child->isVisible() && child->height() == 1)
            rule = child;
    }
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->width(), 120);
    EXPECT_EQ(rule->y(), 0);
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}

TEST(SurfacePanel, ClipsTheGroundButNotTheContent)
{
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        Rectangle {
            width: 140; height: 100
            color: "white"
            SurfacePanel {
                x: 20; y: 20; width: 100; height: 60
                radius: 20
                contentItem: Item {
                    Rectangle { x: -15; y: 10; width: 10; height: 10; color: "red" }
                }
            }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    const QImage image = view->grab();
    EXPECT_EQ(image.pixelColor(8, 35), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(21, 21), QColor(Qt::white)); // outside the rounded corner
    const QColor ground = SkinPalette().ground.toQColor();
    // The ground, faintly lit by the accent glow.
    EXPECT_GE(image.pixelColor(70, 50).green(), ground.green());
    EXPECT_LT(image.pixelColor(70, 50).green(), ground.green() + 25);
    // The border: a hairline just inside the edge, lighter than the ground.
    EXPECT_GT(image.pixelColor(70, 20).green(), image.pixelColor(70, 22).green());
}
