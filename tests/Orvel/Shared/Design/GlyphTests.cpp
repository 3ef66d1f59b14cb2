#include "GlyphView.h"
#include "OrvelGlyph.h"
#include "QtPrinters.h"
#include "SkillGlyphImage.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <map>

namespace {
using G = OrvelGlyph;

struct LayerFacts {
    OrvelGlyph glyph;
    bool evenOdd;
    int numbers, lines, quads, cubics, subpaths;
    double minX, maxX, minY, maxY; // extent of the end points on the grid
};

// Every layer of the set, in order: what its drawing must amount to.
const std::vector<LayerFacts> &layerFacts()
{
    static const std::vector<LayerFacts> facts = {
        {G::add, false, 13, 3, 0, 0, 1, 10.5, 13.5, 4, 20},
        {G::add, false, 13, 3, 0, 0, 1, 4, 20, 11.45, 12.55},
        {G::bolt, false, 22, 6, 0, 0, 1, 6.8, 16.8, 3, 21.4},
        {G::close, false, 119, 1, 0, 16, 1, 4.96, 19.04, 4.96, 19.04},
        {G::close, false, 13, 3, 0, 0, 1, 5.21, 18.79, 5.21, 18.79},
        {G::coffee, false, 315, 1, 0, 44, 1, 4.27, 19.73, 11.4, 20.7},
        {G::coffee, false, 259, 1, 0, 36, 1, 8.43, 10.77, 3.2, 9.6},
        {G::coffee, false, 259, 1, 0, 36, 1, 13.23, 15.57, 3.2, 9.6},
        {G::disc, true, 78, 0, 0, 10, 2, 3.4, 20.6, 5.6, 18.4},
        {G::external, false, 12, 1, 1, 0, 1, 8.76, 19.6, 4.4, 15.24},
        {G::external, false, 19, 5, 0, 0, 1, 3.6, 15.6, 8.4, 20.4},
        {G::flame, true, 71, 0, 0, 9, 2, 5.6, 18.8, 2.6, 21.2},
        {G::headphones, false, 315, 1, 0, 44, 1, 3.97, 20.03, 3.7, 14},
        {G::headphones, false, 44, 4, 0, 4, 1, 2.8, 7.4, 12.6, 20.6},
        {G::headphones, false, 44, 4, 0, 4, 1, 16.6, 21.2, 12.6, 20.6},
        {G::heart, false, 315, 1, 0, 44, 1, 3.43, 12, 4.5, 19.8},
        {G::heart, false, 315, 1, 0, 44, 1, 12, 20.57, 4.5, 19.8},
        {G::leaf, true, 546, 2, 0, 76, 2, 4.89, 20.1, 3.36, 18.8},
        {G::leaf, false, 13, 3, 0, 0, 1, 3.9, 5.93, 17.84, 20.78},
        {G::list, false, 13, 3, 0, 0, 1, 3.4, 20.6, 5.95, 7.05},
        {G::list, false, 13, 3, 0, 0, 1, 3.4, 20.6, 11.45, 12.55},
        {G::list, false, 13, 3, 0, 0, 1, 3.4, 15.6, 16.95, 18.05},
        {G::list, false, 32, 0, 0, 4, 1, 3.882, 8.518, 4.831, 8.169},
        {G::list, false, 32, 0, 0, 4, 1, 3.882, 8.518, 10.331, 13.669},
        {G::list, false, 32, 0, 0, 4, 1, 3.882, 8.518, 15.831, 19.169},
        {G::loop, false, 32, 0, 0, 4, 1, 5.35, 8.45, 8.05, 11.15},
        {G::loop, false, 32, 0, 0, 4, 1, 5.35, 8.45, 12.85, 15.95},
        {G::loop, false, 13, 3, 0, 0, 1, 10.7, 11.9, 4.5, 19.5},
        {G::loop, false, 13, 3, 0, 0, 1, 14.7, 18.7, 4.5, 19.5},
        {G::mark, false, 315, 1, 0, 44, 1, 3.43, 20.57, 5, 15.2},
        {G::mark, false, 32, 0, 0, 4, 1, 9.6, 14.4, 13.8, 18.6},
        {G::mic, false, 32, 0, 0, 4, 1, 8.3, 15.7, 3, 12.6},
        {G::mic, false, 13, 3, 0, 0, 1, 11.45, 12.55, 12.4, 17.8},
        {G::mic, false, 23, 3, 2, 0, 1, 7.4, 16.6, 17.6, 21},
        {G::moon, false, 39, 0, 0, 5, 1, 3.741, 20.26, 3.48, 20.341},
        {G::mute, false, 21, 4, 1, 0, 1, 3.2, 11.9, 4.9, 19.1},
        {G::mute, false, 119, 1, 0, 16, 1, 14.03, 20.89, 8.27, 15.81},
        {G::mute, false, 13, 3, 0, 0, 1, 13.99, 21.01, 8.23, 15.77},
        {G::next, false, 15, 2, 1, 0, 1, 4.6, 15.6, 5, 19},
        {G::next, false, 13, 3, 0, 0, 1, 17.8, 19.1, 5, 19},
        {G::note, false, 32, 0, 0, 4, 1, 6.305, 12.795, 14.832, 19.468},
        {G::note, false, 13, 3, 0, 0, 1, 11.95, 13.05, 3.35, 17.15},
        {G::note, false, 18, 0, 0, 2, 1, 13.05, 17.75, 3.35, 13.35},
        {G::pause, false, 13, 3, 0, 0, 1, 6, 11.8, 4, 20},
        {G::pause, false, 13, 3, 0, 0, 1, 12.2, 18, 4, 20},
        {G::pin, false, 13, 3, 0, 0, 1, 6.4, 17.6, 3.6, 5.8},
        {G::pin, false, 32, 0, 0, 4, 1, 9, 15, 7.6, 13.6},
        {G::pin, false, 13, 3, 0, 0, 1, 11.4, 12.6, 13.2, 20.8},
        {G::play, false, 15, 2, 1, 0, 1, 6.4, 19.6, 3.8, 20.2},
        {G::previous, false, 15, 2, 1, 0, 1, 8.4, 19.4, 5, 19},
        {G::previous, false, 13, 3, 0, 0, 1, 4.9, 6.2, 5, 19},
        {G::radio, false, 315, 1, 0, 44, 1, 3.5, 20.5, 5.2, 14.4},
        {G::radio, false, 315, 1, 0, 44, 1, 7.7, 16.3, 9.9, 14.4},
        {G::radio, false, 32, 0, 0, 4, 1, 10.15, 13.85, 14.85, 18.55},
        {G::run, false, 15, 2, 1, 0, 1, 3.4, 10.8, 7, 17},
        {G::run, false, 15, 2, 1, 0, 1, 10.6, 20.6, 4, 20},
        {G::settings, false, 13, 3, 0, 0, 1, 3.4, 20.6, 5.95, 7.05},
        {G::settings, false, 13, 3, 0, 0, 1, 3.4, 20.6, 11.45, 12.55},
        {G::settings, false, 13, 3, 0, 0, 1, 3.4, 20.6, 16.95, 18.05},
        {G::settings, false, 32, 0, 0, 4, 1, 5.897, 10.903, 4.692, 8.308},
        {G::settings, false, 32, 0, 0, 4, 1, 13.097, 18.103, 10.192, 13.808},
        {G::settings, false, 32, 0, 0, 4, 1, 8.097, 13.103, 15.692, 19.308},
        {G::shuffle, false, 259, 1, 0, 36, 1, 2.8, 17.6, 6.82, 17.18},
        {G::shuffle, false, 259, 1, 0, 36, 1, 2.8, 17.6, 6.82, 17.18},
        {G::shuffle, false, 15, 2, 1, 0, 1, 16.4, 21.4, 4.4, 9.6},
        {G::shuffle, false, 15, 2, 1, 0, 1, 16.4, 21.4, 14.4, 19.6},
        {G::sparkle, false, 24, 0, 4, 0, 1, 3.5, 15.9, 5, 21.8},
        {G::sparkle, false, 24, 0, 4, 0, 1, 15.5, 20.7, 2, 8.8},
        {G::star, true, 78, 0, 0, 10, 2, 9.7, 14.3, 9.7, 14.3},
        {G::star, false, 21, 1, 0, 2, 1, 10.8, 13.2, 2.4, 8.7},
        {G::star, false, 21, 1, 0, 2, 1, 14.33, 17.37, 6.63, 9.67},
        {G::star, false, 21, 1, 0, 2, 1, 15.3, 21.6, 10.8, 13.2},
        {G::star, false, 21, 1, 0, 2, 1, 14.33, 17.37, 14.33, 17.37},
        {G::star, false, 21, 1, 0, 2, 1, 10.8, 13.2, 15.3, 21.6},
        {G::star, false, 21, 1, 0, 2, 1, 6.63, 9.67, 14.33, 17.37},
        {G::star, false, 21, 1, 0, 2, 1, 2.4, 8.7, 10.8, 13.2},
        {G::star, false, 21, 1, 0, 2, 1, 6.63, 9.67, 6.63, 9.67},
        {G::sun, true, 64, 0, 0, 8, 2, 6, 18, 6, 18},
        {G::sun, false, 32, 0, 0, 4, 1, 10.6, 13.4, 10.6, 13.4},
        {G::sun, false, 10, 2, 0, 0, 1, 10.9, 13.1, 2, 4.7},
        {G::sun, false, 10, 2, 0, 0, 1, 19.3, 22, 10.9, 13.1},
        {G::sun, false, 10, 2, 0, 0, 1, 10.9, 13.1, 19.3, 22},
        {G::sun, false, 10, 2, 0, 0, 1, 2, 4.7, 10.9, 13.1},
        {G::volume, false, 21, 4, 1, 0, 1, 3.2, 11.9, 4.9, 19.1},
        {G::volume, false, 259, 1, 0, 36, 1, 14.15, 16.8, 8.6, 15.4},
        {G::volume, false, 259, 1, 0, 36, 1, 16.75, 20.88, 5.7, 18.3},
    };
    return facts;
}

struct ProgramFacts {
    int numbers = 0, lines = 0, quads = 0, cubics = 0, subpaths = 0;
    double minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
    bool endsWithClose = false, startsWithMove = false;
};

ProgramFacts facts(std::span<const double> ops)
{
    ProgramFacts f;
    f.numbers = int(ops.size());
    f.startsWithMove = !ops.empty() && ops[0] == 0;
    f.endsWithClose = !ops.empty() && ops.back() == 4;
    for (std::size_t i = 0; i < ops.size();) {
        const int code = int(ops[i]);
        const int count = GlyphLayerShape::operandCount(ops[i]);
        if (code >= 0 && code <= 3) {
            const double x = ops[i + count - 2], y = ops[i + count - 1];
            f.minX = std::min(f.minX, x), f.maxX = std::max(f.maxX, x);
            f.minY = std::min(f.minY, y), f.maxY = std::max(f.maxY, y);
        }
        f.subpaths += code == 0;
        f.lines += code == 1;
        f.quads += code == 2;
        f.cubics += code == 3;
        i += std::size_t(count);
    }
    return f;
}

QPainterPath pathOf(std::vector<double> ops, QRectF rect = QRectF(0, 0, 24, 24))
{
    static std::vector<std::vector<double>> keep; // spans must outlive the call
    keep.push_back(std::move(ops));
    return GlyphLayerShape{{false, keep.back()}}.path(rect);
}

int alphaAtGrid(const QImage &image, double x, double y)
{
    const double scale = image.width() / 24.0;
    return qAlpha(image.pixel(int(x * scale), int(y * scale)));
}
} // namespace

TEST(OrvelGlyph, HasThirtyCasesInOrderAndExactNames)
{
    const auto all = allCases<OrvelGlyph>();
    ASSERT_EQ(all.size(), 30u);
    EXPECT_EQ(toRawValue(all.front()), "add");
    EXPECT_EQ(toRawValue(all.back()), "volume");
    for (const auto glyph : all)
        EXPECT_EQ(fromRawValue<OrvelGlyph>(toRawValue(glyph)), glyph);
    EXPECT_EQ(fromRawValue<OrvelGlyph>("play"), G::play);
    for (const char *name : {"Play", " play", "play ", "PLAY", "", "plays"})
        EXPECT_FALSE(fromRawValue<OrvelGlyph>(name).has_value()) << name;
}

TEST(OrvelGlyph, EveryLayerMatchesItsDescription)
{
    std::size_t row = 0;
    int totalNumbers = 0, totalPrograms = 0;
    for (const auto glyph : allCases<OrvelGlyph>()) {
        const auto glyphLayers = layers(glyph);
        for (std::size_t k = 0; k < glyphLayers.size(); ++k, ++row) {
            SCOPED_TRACE(toRawValue(glyph).toStdString() + " layer " + std::to_string(k + 1));
            ASSERT_LT(row, layerFacts().size());
            const LayerFacts &want = layerFacts()[row];
            ASSERT_EQ(want.glyph, glyph);
            const ProgramFacts got = facts(glyphLayers[k].ops);
            EXPECT_EQ(glyphLayers[k].evenOdd, want.evenOdd);
            EXPECT_EQ(got.numbers, want.numbers);
            EXPECT_EQ(got.lines, want.lines);
            EXPECT_EQ(got.quads, want.quads);
            EXPECT_EQ(got.cubics, want.cubics);
            EXPECT_EQ(got.subpaths, want.subpaths);
            EXPECT_TRUE(got.startsWithMove);
            EXPECT_TRUE(got.endsWithClose);
            EXPECT_NEAR(got.minX, want.minX, 1e-9);
            EXPECT_NEAR(got.maxX, want.maxX, 1e-9);
            EXPECT_NEAR(got.minY, want.minY, 1e-9);
            EXPECT_NEAR(got.maxY, want.maxY, 1e-9);
            for (double v : glyphLayers[k].ops)
                EXPECT_TRUE(std::isfinite(v) && v >= 0 && v <= 24) << v;
            totalNumbers += got.numbers;
            ++totalPrograms;
        }
    }
    EXPECT_EQ(row, layerFacts().size());
    EXPECT_EQ(totalPrograms, 86);
    EXPECT_EQ(totalNumbers, 6179);
}

TEST(GlyphLayerShape, FitsTheGridIntoTheCentredSquareOfTheShorterSide)
{
    // add's first layer starts at grid (10.5, 4); a 48 x 32 rectangle gives scale 4/3, origin (8, 0).
    const GlyphLayerShape shape{layers(G::add)[0]};
    const QPainterPath path = shape.path(QRectF(0, 0, 48, 32));
    EXPECT_DOUBLE_EQ(path.elementAt(0).x, 8 + 10.5 * 4 / 3);
    EXPECT_DOUBLE_EQ(path.elementAt(0).y, 4 * 4.0 / 3);
    const QRectF square
        = GlyphLayerShape{{false, layers(G::pause)[0].ops}}.path(QRectF(0, 0, 48, 32)).boundingRect();
    EXPECT_GE(square.left(), 8);
    EXPECT_LE(square.right(), 40);

    const QPainterPath collapsed = shape.path(QRectF(10, 20, 0, 0));
    for (int i = 0; i < collapsed.elementCount(); ++i)
        EXPECT_EQ(QPointF(collapsed.elementAt(i)), QPointF(10, 20));
    EXPECT_TRUE(GlyphLayerShape{}.path(QRectF(0, 0, 24, 24)).isEmpty());
}

TEST(GlyphLayerShape, ReadsOddCodesTheWayTheFormatSays)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char *what;
        std::vector<double> ops;
        std::vector<QPointF> points; // element positions of the result
    };
    const std::vector<Case> cases = {
        {"2.9 truncates to a quadratic", {0, 1, 1, 2.9, 5, 1, 5, 5, 4}, {{1, 1}, {5, 1}, {5, 5}, {1, 1}}},
        {"-1 closes and takes one number", {0, 1, 1, 1, 5, 1, -1, 1, 5, 5},
            {{1, 1}, {5, 1}, {1, 1}, {1, 1}, {5, 5}}},
        {"7 closes too", {0, 1, 1, 1, 5, 1, 7}, {{1, 1}, {5, 1}, {1, 1}}},
        {"-0.5 truncates to a move", {-0.5, 3, 3, 1, 4, 4}, {{3, 3}, {4, 4}}},
        {"NaN code stops", {0, 1, 1, nan, 1, 5, 5}, {{1, 1}}},
        {"huge code stops", {0, 1, 1, 1e300, 1, 5, 5}, {{1, 1}}},
        {"infinite code stops", {0, 1, 1, -INFINITY, 1, 5, 5}, {{1, 1}}},
        {"NaN operand stops", {0, 1, 1, 1, nan, 5, 1, 6, 6}, {{1, 1}}},
        {"truncated cubic stops", {0, 1, 1, 3, 2, 2, 3, 3}, {{1, 1}}},
        {"truncated move stops", {0, 1}, {}},
        {"a line without a start only moves", {1, 5, 5, 1, 6, 6}, {{5, 5}, {6, 6}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QPainterPath path = pathOf(c.ops);
        std::vector<QPointF> points;
        for (int i = 0; i < path.elementCount(); ++i)
            points.emplace_back(path.elementAt(i));
        if (std::string_view(c.what).starts_with("2.9")) {
            ASSERT_EQ(path.elementCount(), 5); // move, cubic (3 elements), close line
            EXPECT_TRUE(path.elementAt(1).isCurveTo());
            continue;
        }
        EXPECT_EQ(points, c.points);
    }
}

TEST(GlyphView, PaintsTheGlyphsShapeAndKeepsItsHoles)
{
    const QImage play = GlyphView::render(G::play, 240, Qt::white);
    EXPECT_EQ(alphaAtGrid(play, 7.0, 12), 0) << "the back edge of play is concave";
    EXPECT_EQ(alphaAtGrid(play, 10, 8), 255);
    EXPECT_EQ(alphaAtGrid(play, 12, 12), 255);
    EXPECT_EQ(alphaAtGrid(play, 19.9, 12), 0);

    const QImage disc = GlyphView::render(G::disc, 240, Qt::white);
    EXPECT_EQ(alphaAtGrid(disc, 12, 12), 0) << "the disc has a hole";
    EXPECT_EQ(alphaAtGrid(disc, 12, 8.5), 255);
    EXPECT_EQ(alphaAtGrid(disc, 8, 12), 255);

    // Two layers meeting at x = 12 leave no antialiasing seam.
    const QImage heart = GlyphView::render(G::heart, 240, Qt::white);
    for (double y : {10.0, 14.0, 17.0})
        EXPECT_EQ(qAlpha(heart.pixel(120, int(y * 10))), 255) << y;
    EXPECT_EQ(qAlpha(heart.pixel(119, 140)), 255);
}

TEST(GlyphView, TakesItsColourAndDimsEvenly)
{
    const QColor accent = QColor::fromRgbF(0.77f, 0.94f, 0.56f);
    const QImage pause = GlyphView::render(G::pause, 48, accent);
    EXPECT_EQ(pause.pixel(16, 24), accent.rgba());

    // The leaf's stem overlaps its even-odd blade: at half opacity no pixel is denser than half.
    QColor half = Qt::white;
    half.setAlphaF(0.5f);
    for (const auto glyph : {G::leaf, G::sun, G::star, G::mark}) {
        const QImage image = GlyphView::render(glyph, 96, half);
        int densest = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                densest = std::max(densest, qAlpha(image.pixel(x, y)));
        EXPECT_NEAR(densest, 128, 1) << toRawValue(glyph).toStdString();
    }
}

TEST(SkillGlyph, EveryShortcutGlyphHasItsOwnGlyphAndName)
{
    const std::map<SkillGlyph, QString> spoken = {{SkillGlyph::mic, "Microphone"},
        {SkillGlyph::sparkle, "Sparkles"}, {SkillGlyph::headphones, "Headphones"}};
    for (const auto skillGlyph : allCases<SkillGlyph>()) {
        EXPECT_EQ(toRawValue(glyph(skillGlyph)), toRawValue(skillGlyph));
        const QString name = accessibilityName(skillGlyph);
        EXPECT_FALSE(name.isEmpty());
        if (spoken.contains(skillGlyph)) {
            EXPECT_EQ(name, spoken.at(skillGlyph));
        }
    }
}

TEST(SkillGlyphImage, DrawsTheGlyphLargerInALargerFrame)
{
    SkillGlyphImage image;
    image.setSize(10);
    EXPECT_DOUBLE_EQ(image.implicitWidth(), 14);
    EXPECT_DOUBLE_EQ(image.implicitHeight(), 14);
    EXPECT_EQ(SkillGlyphImage::glyphRect(QPointF(14, 14), 20), QRectF(1, 1, 26, 26));

    image.setGlyphName("Heart"); // not a glyph name: unchanged
    EXPECT_EQ(image.glyph(), SkillGlyph::note);
    image.setGlyphName("heart");
    EXPECT_EQ(image.glyph(), SkillGlyph::heart);
}
