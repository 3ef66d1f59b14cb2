#include "ArtworkPalette.h"
#include "Json.h"
#include "QtPrinters.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <gtest/gtest.h>
#include <limits>

namespace {
using Swatch = ArtworkPalette::Swatch;
using Pixel = std::array<std::uint8_t, 4>;
constexpr Pixel RED{255, 0, 0, 255}, GREEN{0, 255, 0, 255}, BLUE{0, 0, 255, 255}, CLEAR{0, 0, 0, 0};

// A side × side buffer: the listed pixels in order, the rest transparent.
std::optional<ArtworkPalette> analyze(int side, std::vector<std::pair<Pixel, int>> runs)
{
    std::vector<std::uint8_t> bytes;
    for (const auto &[pixel, count] : runs) {
        for (int i = 0; i < count; ++i)
            bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    }
    bytes.resize(std::size_t(side * side * 4), 0);
    return ArtworkPalette::analyzePixels(bytes, side);
}

void expectNear(const Swatch &actual, const Swatch &expected, const char *what)
{
    EXPECT_NEAR(actual.red, expected.red, 1e-9) << what;
    EXPECT_NEAR(actual.green, expected.green, 1e-9) << what;
    EXPECT_NEAR(actual.blue, expected.blue, 1e-9) << what;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return data;
}
} // namespace

TEST(ArtworkPalette, SwatchColourModels)
{
    EXPECT_EQ(Swatch::fromHSV(-30, 0.5, 0.9), Swatch::fromHSV(330, 0.5, 0.9));
    EXPECT_EQ(Swatch::fromHSV(400, 0.5, 0.9), Swatch::fromHSV(40, 0.5, 0.9));
    EXPECT_EQ((Swatch{0, 0, 0}.hsv()), (Swatch::HSV{0, 0, 0}));
    EXPECT_EQ((Swatch{0.4, 0.4, 0.4}.hsv()), (Swatch::HSV{0, 0, 0.4}));
    const std::pair<Swatch, Swatch::HSV> pairs[]
        = {{{0, 0, 1}, {240, 1, 1}}, {{1, 0, 0.5}, {330, 1, 1}}, {{0.5, 0.25, 0}, {30, 1, 0.5}}};
    for (const auto &[rgb, hsv] : pairs) {
        EXPECT_NEAR(rgb.hsv().hue, hsv.hue, 1e-9);
        EXPECT_NEAR(rgb.hsv().saturation, hsv.saturation, 1e-9);
        expectNear(Swatch::fromHSV(hsv.hue, hsv.saturation, hsv.value), rgb, "from HSV");
    }
}

TEST(ArtworkPalette, ColourlessImagesGiveNoPalette)
{
    // Each colourless case beside one that just passes: {pixel, count of 100, palette expected}.
    const std::tuple<Pixel, int, bool> cases[]
        = {{CLEAR, 100, false}, {{0, 0, 0, 255}, 100, false}, {{255, 255, 255, 255}, 100, false},
            {{128, 128, 128, 255}, 100, false}, {{127, 0, 0, 127}, 100, false}, {{128, 0, 0, 128}, 100, true},
            {{30, 0, 0, 255}, 100, false}, {{31, 0, 0, 255}, 100, true}, {{255, 230, 230, 255}, 100, false},
            {{255, 229, 229, 255}, 100, true}, {RED, 1, false}, {RED, 2, true}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto &[pixel, count, palette] = cases[i];
        EXPECT_EQ(analyze(10, {{pixel, count}}).has_value(), palette) << "case " << i;
    }
    EXPECT_FALSE(ArtworkPalette::analyzePixels(std::vector<std::uint8_t>(15, 255), 2)) << "short buffer";
    EXPECT_FALSE(ArtworkPalette::analyzePixels({}, 0));
}

TEST(ArtworkPalette, ChoosesPrimarySecondaryAndDeep)
{
    const auto red = analyze(4, {{RED, 16}});
    ASSERT_TRUE(red);
    EXPECT_EQ(red->primary, Swatch::fromHSV(0, 0.95, 1.0));
    expectNear(red->secondary, Swatch::fromHSV(40, 0.95, 1.0), "turned by 40");
    expectNear(red->deep, Swatch::fromHSV(0, 0.6, 0.16), "deep");

    // Equal scores: the lower sector wins, for the primary and among the candidates.
    const auto tie = analyze(2, {{BLUE, 1}, {GREEN, 1}, {RED, 1}});
    ASSERT_TRUE(tie);
    EXPECT_EQ(tie->primary, Swatch::fromHSV(0, 0.95, 1.0));
    EXPECT_EQ(tie->secondary, Swatch::fromHSV(120, 0.95, 1.0));

    // Colour only next to the primary's sector gives the turned secondary.
    const auto neighbours = analyze(4, {{RED, 8}, {{255, 191, 0, 255}, 8}});
    ASSERT_TRUE(neighbours);
    const auto hsv = neighbours->primary.hsv();
    EXPECT_GT(hsv.hue, 0);
    EXPECT_LT(hsv.hue, 45);
    EXPECT_EQ(neighbours->secondary, Swatch::fromHSV(hsv.hue + 40, hsv.saturation, hsv.value));

    // A score of exactly a fifth of the primary's qualifies; a hair less does not.
    const double w = (1.0 + ArtworkPalette::weightOffset) * 1.0;
    ASSERT_EQ(0.2 * (w + w + w + w + w), w);
    EXPECT_EQ(analyze(3, {{RED, 5}, {GREEN, 1}})->secondary, Swatch::fromHSV(120, 0.95, 1.0));
    EXPECT_EQ(analyze(3, {{RED, 5}, {{0, 254, 0, 255}, 1}})->secondary, red->secondary);

    // Just below 360 degrees: sector 11, whose turned secondary wraps past 0.
    const auto wrapped = analyze(4, {{{255, 0, 1, 255}, 16}});
    ASSERT_TRUE(wrapped);
    EXPECT_GT(wrapped->primary.hsv().hue, 359);
    EXPECT_NEAR(wrapped->secondary.hsv().hue, wrapped->primary.hsv().hue + 40 - 360, 1e-9);
}

TEST(ArtworkPalette, ExtractsFromImagesAndEncodedData)
{
    // Red over blue: drawn on a single pixel it would blend to purple; a 4 × 4 square keeps both.
    QImage halves(40, 40, QImage::Format_RGB32);
    halves.fill(Qt::red);
    QPainter(&halves).fillRect(0, 20, 40, 20, Qt::blue);
    const auto fromOne = ArtworkPalette::extract(halves, 1);
    ASSERT_TRUE(fromOne);
    EXPECT_EQ(fromOne, ArtworkPalette::extract(halves, 4));
    EXPECT_EQ(fromOne->primary, Swatch::fromHSV(0, 0.95, 1.0));
    EXPECT_EQ(fromOne->secondary, Swatch::fromHSV(240, 0.95, 1.0));
    EXPECT_FALSE(ArtworkPalette::extract(QImage(), 24));

    QImage wide(900, 300, QImage::Format_ARGB32);
    wide.fill(Qt::red);
    for (const char *format : {"png", "jpeg"}) {
        const auto palette = ArtworkPalette::extract(encoded(wide, format), 48);
        ASSERT_TRUE(palette) << format;
        const double hue = palette->primary.hsv().hue;
        EXPECT_LT(std::min(hue, 360 - hue), 1) << format;
    }
    EXPECT_FALSE(ArtworkPalette::extract(QByteArray("not an image"), 48));
    EXPECT_FALSE(ArtworkPalette::extract(QByteArray(), 48));
    EXPECT_FALSE(ArtworkPalette::extract(encoded(wide, "png"), 0));
}

TEST(ArtworkPalette, JsonForm)
{
    ArtworkPalette palette{{1.5, -0.25, 0.1}, {0, 0.30000000000000004, 1}, {0.2, 0.2, 0.2}};
    EXPECT_EQ(json::decodeData<ArtworkPalette>(json::encodeData(palette)), palette); // out of range kept
    EXPECT_FALSE(json::decodeData<ArtworkPalette>(R"({"primary":{"red":1,"green":1,"blue":1}})"));
    EXPECT_FALSE(json::decodeData<Swatch>(R"({"red":1,"green":1})"));
    palette.secondary.green = std::numeric_limits<double>::infinity();
    EXPECT_THROW(json::encodeData(palette), json::EncodingError);
}
