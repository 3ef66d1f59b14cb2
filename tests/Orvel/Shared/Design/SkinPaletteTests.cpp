#include "QtPrinters.h"
#include "SkinPalette.h"

#include <gtest/gtest.h>

namespace {
using Swatch = ArtworkPalette::Swatch;

void expectColor(const SRGBColor &got, double r, double g, double b, double tolerance, const char *what)
{
    SCOPED_TRACE(what);
    EXPECT_NEAR(got.red, r, tolerance);
    EXPECT_NEAR(got.green, g, tolerance);
    EXPECT_NEAR(got.blue, b, tolerance);
    EXPECT_EQ(got.opacity, 1);
}

ArtworkPalette paletteOf(Swatch primary, Swatch secondary)
{
    return ArtworkPalette{primary, secondary, Swatch{0.1, 0.1, 0.1}};
}
} // namespace

TEST(Aura, BrandAuraHasItsKeyAndColours)
{
    const Aura &brand = Aura::brand();
    EXPECT_EQ(brand.key, "brand");
    expectColor(brand.primary, 0.2, 1.0, 0.4133, 1e-4, "primary");
    expectColor(brand.secondary, 0.0, 0.848, 0.96, 1e-4, "secondary");
    expectColor(brand.field, 0.081, 0.27, 0.2228, 1e-4, "field");
    expectColor(brand.fieldDeep, 0.051, 0.17, 0.1403, 1e-4, "fieldDeep");
    expectColor(brand.ink, 0.517, 0.8906, 0.94, 1e-4, "ink");
    EXPECT_EQ(Aura(), brand);

    // Without a palette the key passed is ignored.
    EXPECT_EQ(Aura(std::nullopt, QStringLiteral("track-art")), brand);
    EXPECT_EQ(Aura(std::nullopt, std::nullopt), brand);
}

TEST(Aura, ArtworkAuraDerivesFieldInkAndKey)
{
    const Aura plain(paletteOf({0.2, 1.0, 0.41333}, {0.0, 0.5, 1.0}), std::nullopt);
    EXPECT_EQ(plain.key, "0.200-1.000-0.413");
    EXPECT_EQ(Aura(paletteOf({0.2, 1.0, 0.41333}, {0, 0.5, 1}), QStringLiteral("cover")).key, "cover");

    struct Case {
        const char *what;
        Swatch primary;
        double fieldHue, fieldSaturation;
    };
    const std::vector<Case> cases = {
        {"saturated primary caps at 0.8", Swatch::fromHSV(200, 0.7, 0.9), 200, 0.8},
        {"fully saturated primary", Swatch::fromHSV(20, 1.0, 1.0), 20, 0.8},
        {"pale primary gains 0.1", Swatch::fromHSV(300, 0.3, 0.9), 300, 0.4},
        {"grey primary", Swatch{0.5, 0.5, 0.5}, 0, 0.1},
        {"black primary", Swatch{0, 0, 0}, 0, 0.1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Aura aura(paletteOf(c.primary, {1, 0, 0}), std::nullopt);
        const auto field = aura.field.swatch().hsv();
        EXPECT_NEAR(field.hue, c.fieldHue, 1e-9);
        EXPECT_NEAR(field.saturation, c.fieldSaturation, 1e-9);
        EXPECT_NEAR(field.value, 0.27, 1e-12);
        const auto deep = aura.fieldDeep.swatch().hsv();
        EXPECT_NEAR(deep.hue, c.fieldHue, 1e-9);
        EXPECT_NEAR(deep.saturation, c.fieldSaturation, 1e-9);
        EXPECT_NEAR(deep.value, 0.17, 1e-12);
    }

    for (double saturation : {0.2, 0.45, 0.46, 1.0}) {
        const Aura aura(paletteOf({1, 0, 0}, Swatch::fromHSV(250, saturation, 0.5)), std::nullopt);
        const auto ink = aura.ink.swatch().hsv();
        EXPECT_NEAR(ink.hue, 250, 1e-9);
        EXPECT_NEAR(ink.saturation, std::min(saturation, 0.45), 1e-9);
        EXPECT_NEAR(ink.value, 0.94, 1e-12);
    }
}

TEST(Aura, EqualityIncludesTheKey)
{
    const auto palette = paletteOf({0.9, 0.3, 0.1}, {0.1, 0.3, 0.9});
    const Aura a(palette, QStringLiteral("a"));
    Aura b(palette, QStringLiteral("b"));
    EXPECT_NE(a, b);
    b.key = "a";
    EXPECT_EQ(a, b);
    b.ink.opacity = 0.5;
    EXPECT_NE(a, b);
}

TEST(SkinPalette, ClassicoIgnoresTheAuraRivistaFollowsIt)
{
    const Aura art(paletteOf({0.9, 0.3, 0.1}, {0.1, 0.3, 0.9}), std::nullopt);
    const SkinPalette classicoBrand(Skin::classico, Aura::brand());
    const SkinPalette classicoArt(Skin::classico, art);
    EXPECT_EQ(classicoBrand, classicoArt);
    EXPECT_EQ(SkinPalette(), classicoBrand);
    EXPECT_EQ(classicoArt.accent, (SRGBColor{0.77, 0.94, 0.56, 1}));
    EXPECT_EQ(classicoArt.panel, SRGBColor::black());
    EXPECT_EQ(classicoArt.fill, SRGBColor::white(0.035));

    const SkinPalette rivista(Skin::rivista, art);
    EXPECT_EQ(rivista.skin, Skin::rivista);
    EXPECT_EQ(rivista.text, SRGBColor::white(1));
    EXPECT_EQ(rivista.accent, art.ink);
    EXPECT_EQ(rivista.ground, art.field);
    EXPECT_EQ(rivista.panel, art.field);
    EXPECT_EQ(rivista.onAccent, art.fieldDeep);
    EXPECT_EQ(rivista.groundDeep, art.fieldDeep);
    EXPECT_EQ(rivista.stroke, SRGBColor::white(0.2));
    EXPECT_NE(rivista, SkinPalette(Skin::rivista, Aura::brand()));
    EXPECT_NE(rivista, classicoArt);
}

TEST(Brand, ColoursComeFromTheCatalogue)
{
    EXPECT_EQ(Brand::green().opacity, 1);
    EXPECT_EQ(Brand::cyan().opacity, 1);
    EXPECT_NE(Brand::green(), Brand::cyan());
    const auto stops = Brand::gradient().stops();
    ASSERT_EQ(stops.size(), 2);
    EXPECT_EQ(stops.front().second, Brand::green().toQColor());
    EXPECT_EQ(Brand::gradient().finalStop(), QPointF(1, 1));
    EXPECT_EQ(Brand::horizontalGradient().finalStop(), QPointF(1, 0));
}
