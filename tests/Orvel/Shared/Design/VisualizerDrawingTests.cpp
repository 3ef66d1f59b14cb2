#include "QtPrinters.h"
#include "SkinEnvironment.h"
#include "VisualizerDrawing.h"

#include <QJsonObject>
#include <cmath>
#include <gtest/gtest.h>

namespace {
using Frame = VisualizerDrawing::Frame;

SRGBColor rgb(int r, int g, int b, double opacity = 1)
{
    return {r / 255.0, g / 255.0, b / 255.0, opacity};
}

Frame frameOf(VisualizerStyle style, bool playing, bool compact = false)
{
    Frame frame;
    frame.settings.style = style;
    frame.playing = playing;
    frame.compact = compact;
    frame.time = 1234.5;
    return frame;
}

// Rows of one pixel column that are drawn at all.
std::pair<int, int> coveredRows(const QImage &image, int x)
{
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (qAlpha(image.pixel(x, y)) > 127) {
            if (first < 0)
                first = y;
            last = y;
        }
    }
    return {first, last};
}
} // namespace

TEST(VisualizerColors, HexTextReadsAsOneUnsignedNumber)
{
    const SRGBColor fallback = rgb(0xC4, 0xF0, 0x8F);
    const std::vector<std::pair<QString, SRGBColor>> cases = {
        {"C4F08F", fallback},
        {"ff0000", rgb(255, 0, 0)},
        {"+00FF00", rgb(0, 255, 0)},
        {"-0", rgb(0, 0, 0)},
        {"-000", rgb(0, 0, 0)},
        {"-1", fallback},
        {"12345678", rgb(0x34, 0x56, 0x78)}, // only the last six digits count
        {"FFFFFFFFFFFFFFFF", rgb(255, 255, 255)},
        {"000000000000000000000000FF", rgb(0, 0, 255)},
        {"10000000000000000", fallback}, // beyond 64 bits
        {"", fallback},
        {"+", fallback},
        {"0x12", fallback},
        {" 123456", fallback},
        {"12345G", fallback},
        {"１２３", fallback},
    };
    for (const auto &[text, color] : cases)
        EXPECT_EQ(colorFromHex(text), color) << text.toStdString();
}

TEST(VisualizerColors, PalettesAndWhatIsDrawn)
{
    VisualizerSettings settings;
    settings.palette = VisualizerPalette::spectrum;
    EXPECT_EQ(visualizerColors(settings).size(), 5);
    settings.palette = VisualizerPalette::aurora;
    EXPECT_EQ(visualizerColors(settings),
        (QList<SRGBColor>{rgb(0x41, 0xD9, 0xDB), rgb(0x85, 0x80, 0xF4), rgb(0xED, 0x63, 0xBA)}));
    settings.palette = VisualizerPalette::orvel;
    EXPECT_EQ(visualizerColors(settings), (QList<SRGBColor>{Brand::green(), Brand::cyan()}));

    // An unreadable stored custom colour draws as C4F08F.
    settings.palette = VisualizerPalette::custom;
    settings.customHex = "C4F08";
    EXPECT_EQ(
        visualizerColors(settings), (QList<SRGBColor>{rgb(0xC4, 0xF0, 0x8F, 0.65), rgb(0xC4, 0xF0, 0x8F)}));
    settings.customHex = "00ff00";
    EXPECT_EQ(visualizerColors(settings).back(), rgb(0, 255, 0));

    Frame frame;
    frame.settings = settings;
    frame.monochrome = true;
    EXPECT_EQ(
        VisualizerDrawing::colors(frame), (QList<SRGBColor>{SRGBColor::white(0.65), SRGBColor::white(1)}));
    frame.settings.palette = VisualizerPalette::artwork;
    EXPECT_EQ(VisualizerDrawing::colors(frame).back(), SRGBColor::white(1));
    frame.monochrome = false;
    // With no artwork the aura is the brand's.
    EXPECT_EQ(
        VisualizerDrawing::colors(frame), (QList<SRGBColor>{Aura::brand().primary, Aura::brand().secondary}));
    frame.aura = Aura(ArtworkPalette{{1, 0, 0}, {0, 0, 1}, {0, 0, 0}}, std::nullopt);
    EXPECT_EQ(
        VisualizerDrawing::colors(frame), (QList<SRGBColor>{SRGBColor{1, 0, 0, 1}, SRGBColor{0, 0, 1, 1}}));
}

TEST(VisualizerDrawing, GlowOnlyWhilePlayingInColourAndFullEffects)
{
    Frame frame = frameOf(VisualizerStyle::bars, true);
    frame.settings.palette = VisualizerPalette::custom;
    frame.settings.customHex = "FF0000";
    const SRGBColor glow = VisualizerDrawing::glowColor(frame);
    EXPECT_EQ(glow.red, 1);
    EXPECT_NEAR(glow.opacity, 0.65 * 0.28, 1e-12);
    EXPECT_EQ(VisualizerDrawing::glowRadius(frame), 7);
    frame.compact = true;
    EXPECT_EQ(VisualizerDrawing::glowRadius(frame), 2);

    struct Case {
        const char *what;
        void (*change)(Frame &);
    };
    const std::vector<Case> off = {
        {"paused", [](Frame &f) { f.playing = false; }},
        {"glow switched off", [](Frame &f) { f.settings.glow = false; }},
        {"monochrome", [](Frame &f) { f.monochrome = true; }},
        {"light effects", [](Frame &f) { f.light = true; }},
    };
    for (const auto &c : off) {
        Frame changed = frame;
        c.change(changed);
        EXPECT_EQ(VisualizerDrawing::glowColor(changed).opacity, 0) << c.what;
    }

    // The glow is a soft halo around the shapes, in the first colour.
    Frame bars = frameOf(VisualizerStyle::bars, true);
    bars.settings.glow = false;
    const QImage plain = VisualizerDrawing::render(bars, QSizeF(360, 60));
    bars.settings.glow = true;
    const QImage glowing = VisualizerDrawing::render(bars, QSizeF(360, 60));
    const auto [top, bottom] = coveredRows(plain, 5);
    ASSERT_GT(top, 4);
    EXPECT_EQ(qAlpha(plain.pixel(5, top - 3)), 0);
    EXPECT_GT(qAlpha(glowing.pixel(5, top - 3)), 0);
    EXPECT_LT(qAlpha(glowing.pixel(5, top - 3)), 0.28 * 255);

    // Light mode only takes the glow away; the drawing stays the same.
    Frame light = frameOf(VisualizerStyle::wave, true), noGlow = light;
    light.light = true;
    noGlow.settings.glow = false;
    EXPECT_EQ(VisualizerDrawing::render(light, QSizeF(120, 38)),
        VisualizerDrawing::render(noGlow, QSizeF(120, 38)));
    EXPECT_NE(VisualizerDrawing::render(light, QSizeF(120, 38)),
        VisualizerDrawing::render(frameOf(VisualizerStyle::wave, true), QSizeF(120, 38)));
}

TEST(VisualizerDrawing, BarsAndDotsFollowTheLevels)
{
    // Compact draws 9 bars, full size 36.
    EXPECT_EQ(
        VisualizerDrawing::shapes(frameOf(VisualizerStyle::bars, true, true), QSizeF(27, 20)).size(), 9u);
    EXPECT_EQ(VisualizerDrawing::shapes(frameOf(VisualizerStyle::bars, true), QSizeF(300, 38)).size(), 36u);

    for (const double height : {38.0, 10.0}) {
        const auto bars
            = VisualizerDrawing::shapes(frameOf(VisualizerStyle::bars, false), QSizeF(300, height));
        for (const auto &bar : bars)
            EXPECT_DOUBLE_EQ(bar.path.boundingRect().height(), std::max(height * 0.1104, 2.0));
    }

    // Too narrow for 0.64 of a step: bars stay 1.2 wide.
    const auto narrow = VisualizerDrawing::shapes(frameOf(VisualizerStyle::bars, true), QSizeF(20, 38));
    EXPECT_DOUBLE_EQ(narrow.front().path.boundingRect().width(), 1.2);

    // The picture itself: each column is as high as its level says, centred.
    Frame playing = frameOf(VisualizerStyle::bars, true);
    playing.settings.glow = false;
    const QSizeF size(360, 40);
    const QImage image = VisualizerDrawing::render(playing, size);
    const auto levels = playing.settings.samples(36, playing.time, true, false);
    for (int i = 0; i < 36; i += 5) {
        const double h = std::max(40 * levels[i] * 0.92, 2.0);
        const int x = int(10 * 0.18 + 10 * i + 3.2);
        const auto [top, bottom] = coveredRows(image, x);
        EXPECT_NEAR(top, (40 - h) / 2, 1.0) << i;
        EXPECT_NEAR(bottom + 1, (40 + h) / 2, 1.0) << i;
    }

    // Dots: as many as fit the bar's height at a pitch of size + 2, at least one.
    const auto dots = VisualizerDrawing::shapes(frameOf(VisualizerStyle::dots, false), QSizeF(300, 38));
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots.front().path.toSubpathPolygons().size(), 36u); // 38 x 0.1104 < 5: one dot each
    const auto tall = VisualizerDrawing::shapes(frameOf(VisualizerStyle::dots, false), QSizeF(300, 200));
    EXPECT_EQ(
        tall.front().path.toSubpathPolygons().size(), 36u * 4); // 200 x 0.1104 = 22.08 → 4 dots of pitch 5

    // Too narrow for the dots to stay apart: where two columns overlap the canvas is still filled.
    // Step 20 / 36, dots 1.2 wide at x 0.1 and 0.656, one dot per column centred on y 18.
    const auto crowded = VisualizerDrawing::shapes(frameOf(VisualizerStyle::dots, false), QSizeF(20, 38));
    ASSERT_EQ(crowded.size(), 1u);
    EXPECT_TRUE(crowded.front().path.contains(QPointF(0.978, 18)));
    EXPECT_TRUE(crowded.front().path.contains(QPointF(0.4, 18)));
}

TEST(VisualizerDrawing, WaveAndOrbitRestWhenPaused)
{
    const QSizeF size(300, 38);
    const auto waves = VisualizerDrawing::shapes(frameOf(VisualizerStyle::wave, false), size);
    ASSERT_EQ(waves.size(), 4u);
    EXPECT_EQ(VisualizerDrawing::shapes(frameOf(VisualizerStyle::wave, false, true), size).size(), 2u);
    for (std::size_t j = 0; j < waves.size(); ++j) {
        EXPECT_NEAR(waves[j].opacity, 1 - 0.2 * j, 1e-12);
        const QRectF bounds = waves[j].path.boundingRect();
        EXPECT_LE(bounds.bottom(), 19 + 38 * 0.12 * 0.43 + 1e-9);
        EXPECT_GE(bounds.top(), 19 - 38 * 0.12 * 0.43 - 1e-9);
    }
    // Paused waves do not move with time.
    Frame later = frameOf(VisualizerStyle::wave, false);
    later.time += 10;
    EXPECT_EQ(VisualizerDrawing::shapes(later, size)[1].path, waves[1].path);

    const auto rings = VisualizerDrawing::shapes(frameOf(VisualizerStyle::orbit, false), size);
    ASSERT_EQ(rings.size(), 5u);
    const double r0 = 38 * 0.76 * 0.5;
    for (std::size_t i = 0; i < rings.size(); ++i) {
        const QRectF bounds = rings[i].path.boundingRect();
        EXPECT_NEAR(bounds.width() / 2, r0 * (1 - 0.12 * i), 1e-9);
        EXPECT_NEAR(bounds.center().x(), 150, 1e-9);
    }
    // With reduced motion a playing orbit keeps its lobes but stands still.
    Frame still = frameOf(VisualizerStyle::orbit, true);
    still.reducedMotion = true;
    Frame stillLater = still;
    stillLater.time += 3;
    EXPECT_EQ(
        VisualizerDrawing::shapes(still, size)[0].path, VisualizerDrawing::shapes(stillLater, size)[0].path);
    EXPECT_NE(VisualizerDrawing::shapes(still, size)[0].path.boundingRect().width() / 2, r0);
}

TEST(VisualizerDrawing, OddInputsDrawNothingBroken)
{
    for (const auto style : allCases<VisualizerStyle>()) {
        Frame frame = frameOf(style, true);
        frame.time = std::numeric_limits<double>::quiet_NaN();
        for (const auto &shape : VisualizerDrawing::shapes(frame, QSizeF(100, 20))) {
            const QRectF bounds = shape.path.boundingRect();
            EXPECT_TRUE(std::isfinite(bounds.width()) && std::isfinite(bounds.height()));
            EXPECT_FALSE(shape.path.isEmpty());
        }
        EXPECT_TRUE(VisualizerDrawing::shapes(frame, QSizeF(0, 20)).empty());
        EXPECT_TRUE(VisualizerDrawing::render(frame, QSizeF(0, 0)).isNull());
    }
}

TEST(VisualizerDrawing, ItemTakesAuraAndLightFromTheEnvironment)
{
    QQuickItem root;
    VisualizerDrawing drawing;
    drawing.setParentItem(&root);
    EXPECT_EQ(drawing.frame().aura, Aura::brand());
    const Aura art(ArtworkPalette{{1, 0, 0}, {0, 0, 1}, {0, 0, 0}}, std::nullopt);
    Skinned::of(&root)->apply(Skin::rivista, art, true, {});
    EXPECT_EQ(drawing.frame().aura, art);
    EXPECT_TRUE(drawing.frame().light);

    QJsonObject json = VisualizerSettings().toJson().toObject();
    json["style"] = "orbit";
    drawing.setSettingsJson(json.toVariantMap());
    EXPECT_EQ(drawing.settings().style, VisualizerStyle::orbit);
    json["style"] = "spiral";
    drawing.setSettingsJson(json.toVariantMap());
    EXPECT_EQ(drawing.settings(), VisualizerSettings());
}
