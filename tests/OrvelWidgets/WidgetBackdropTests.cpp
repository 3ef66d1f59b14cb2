#include "QtPrinters.h"
#include "WidgetBackdrop.h"

#include <gtest/gtest.h>

namespace {
const Aura otherAura({0.9, 0.1, 0.4}, {0.2, 0.8, 0.3}, std::nullopt, QStringLiteral("other"));

// Within two steps of 255 per channel.
void expectNear(QRgb actual, QColor expected, const char *where)
{
    EXPECT_NEAR(qRed(actual), expected.red(), 2) << where;
    EXPECT_NEAR(qGreen(actual), expected.green(), 2) << where;
    EXPECT_NEAR(qBlue(actual), expected.blue(), 2) << where;
}
} // namespace

TEST(WidgetBackdropTest, TheGlowStrengthFollowsTheCallersIntensityUnclamped)
{
    EXPECT_NEAR(WidgetBackdrop::classicoGlowOpacity(0.08), 0.0596, 1e-12);
    EXPECT_NEAR(WidgetBackdrop::classicoGlowOpacity(0.14), 0.0668, 1e-12);
    EXPECT_NEAR(WidgetBackdrop::classicoGlowOpacity(0.3), 0.086, 1e-12);
    EXPECT_NEAR(WidgetBackdrop::classicoGlowOpacity(0), 0.05, 1e-12);
    EXPECT_NEAR(WidgetBackdrop::classicoGlowOpacity(2), 0.29, 1e-12);
    EXPECT_NEAR(WidgetBackdrop::rivistaGlowIntensity(0.08), 0.04, 1e-12);
    EXPECT_NEAR(WidgetBackdrop::rivistaGlowIntensity(0.3), 0.15, 1e-12);
    EXPECT_NEAR(WidgetBackdrop::rivistaGlowIntensity(3), 1.5, 1e-12);
}

TEST(WidgetBackdropTest, ClassicoGlowsFromTheTopRightWhateverTheAura)
{
    const QSize size(364, 170);
    const QImage brand = WidgetBackdrop::render(size, Skin::classico, Aura::brand(), 0.3);
    EXPECT_EQ(brand, WidgetBackdrop::render(size, Skin::classico, otherAura, 0.3));
    // Far from the corner: the bare ground.
    expectNear(brand.pixel(0, 169), WidgetBackdrop::classicoGround.toQColor(), "bottom left");
    // At the corner the green lies over the ground at 0.086.
    const SRGBColor ground = WidgetBackdrop::classicoGround;
    const SRGBColor glow = WidgetBackdrop::classicoGlow;
    const double a = WidgetBackdrop::classicoGlowOpacity(0.3);
    const QColor corner = QColor::fromRgbF(float(ground.red * (1 - a) + glow.red * a),
        float(ground.green * (1 - a) + glow.green * a), float(ground.blue * (1 - a) + glow.blue * a));
    expectNear(brand.pixel(363, 0), corner, "top right");
    EXPECT_NE(brand, WidgetBackdrop::render(size, Skin::classico, Aura::brand(), 0.08));
}

TEST(WidgetBackdropTest, RivistaFadesTheAurasFieldDownwardsWithTheGlowLowOnTheRight)
{
    const QSize size(364, 382);
    const QImage plain = WidgetBackdrop::render(size, Skin::rivista, otherAura, 0);
    expectNear(plain.pixel(0, 0), otherAura.field.toQColor(), "top");
    expectNear(plain.pixel(0, 381), otherAura.fieldDeep.toQColor(), "bottom");

    const QImage glowing = WidgetBackdrop::render(size, Skin::rivista, otherAura, 0.3);
    const QPoint centre(int(364 * 0.85), int(382 * 0.95));
    EXPECT_NE(glowing.pixel(centre), plain.pixel(centre));
    expectNear(glowing.pixel(0, 0), otherAura.field.toQColor(), "top, out of the glow's reach");
}
