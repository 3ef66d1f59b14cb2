#include "PlayerOutline.h"
#include "ScrubberTrack.h"

#include <gtest/gtest.h>

namespace {
const SkinPalette classico(Skin::classico, Aura::brand());
const SkinPalette rivista(Skin::rivista, Aura::brand());
const QSizeF frame(200, 14);

ScrubberTrackLayout progress(const SkinPalette &palette, double fraction, double swell = 0, bool shape = true,
    bool enabled = true, double active = 0)
{
    return ScrubberTrackLayout::make(
        palette, {ScrubberStyle::progress, fraction, active, enabled, swell, shape}, frame);
}
} // namespace

TEST(ScrubberTrack, ClassicoAtRestIsADotAndAKnobOnTheFillsEnd)
{
    const ScrubberTrackLayout empty = progress(classico, 0);
    EXPECT_EQ(empty.track.rect, QRectF(0, 5, 200, 4));
    EXPECT_EQ(empty.fill.rect, QRectF(0, 5, 4, 4)); // a dot of diameter T
    EXPECT_EQ(empty.knob.rect, QRectF(-6, 1, 12, 12)); // half of it outside the frame
    EXPECT_TRUE(empty.knobShadow);
    EXPECT_EQ(empty.fill.color, classico.accent.toQColor());
    EXPECT_NEAR(empty.track.color.alphaF(), 0.2 * classico.text.opacity, 1e-3);

    const ScrubberTrackLayout full = progress(classico, 1);
    EXPECT_EQ(full.fill.rect.width(), 200);
    EXPECT_EQ(full.knob.rect.center().x(), 200);

    const ScrubberTrackLayout volume
        = ScrubberTrackLayout::make(classico, {ScrubberStyle::volume, 0.5, 0, true, 0, true}, frame);
    EXPECT_EQ(volume.track.rect.height(), 3);
    EXPECT_EQ(volume.knob.rect, QRectF(95, 2, 10, 10));
    EXPECT_NEAR(volume.fill.color.alphaF(), 0.7 * classico.text.opacity, 1e-3);
}

TEST(ScrubberTrack, RivistaShowsTheProgressKnobOnlyWhileActive)
{
    EXPECT_FALSE(progress(rivista, 0.5).knob.visible);
    const ScrubberTrackLayout active = progress(rivista, 0.5, 0, true, true, 1);
    EXPECT_TRUE(active.knob.visible);
    EXPECT_EQ(active.knob.rect, QRectF(96, 3, 8, 8));
    EXPECT_EQ(active.fill.rect, QRectF(0, 5.5, 100, 3));
    EXPECT_EQ(active.fill.radius, 0); // square ends at rest
    EXPECT_FALSE(progress(rivista, 0).fill.rect.width() > 0);

    const ScrubberTrackLayout volume
        = ScrubberTrackLayout::make(rivista, {ScrubberStyle::volume, 0.5, 0, true, 0, true}, frame);
    EXPECT_TRUE(volume.knob.visible);
    EXPECT_EQ(volume.fill.rect.height(), 1);
}

TEST(ScrubberTrack, DisabledIsHalfOpaqueAndRivistasBaseFades)
{
    const ScrubberTrackLayout off = progress(rivista, 0.5, 0, true, false, 0);
    EXPECT_EQ(off.opacity, 0.5);
    EXPECT_NEAR(off.track.color.alphaF(), 0.15 * rivista.text.opacity, 1e-3);
    EXPECT_NEAR(progress(rivista, 0.5).track.color.alphaF(), 0.28 * rivista.text.opacity, 1e-3);
    EXPECT_EQ(progress(classico, 0.5, 0, true, false).opacity, 0.5);
}

TEST(ScrubberTrack, TheSwellChangesShapeOnlyWithFullMotion)
{
    const ScrubberTrackLayout full = progress(classico, 0.5, 1);
    EXPECT_EQ(full.track.rect.height(), 12);
    EXPECT_EQ(full.knob.rect.height(), 14);
    EXPECT_DOUBLE_EQ(full.scaleX, 1.04);

    // Reduce Motion: sizes and scale at rest; colour and brightness follow.
    const ScrubberTrackLayout reduced = progress(classico, 0.5, 1, false);
    const ScrubberTrackLayout rest = progress(classico, 0.5);
    EXPECT_EQ(reduced.track.rect, rest.track.rect);
    EXPECT_EQ(reduced.knob.rect, rest.knob.rect);
    EXPECT_EQ(reduced.scaleX, 1);
    EXPECT_NEAR(reduced.track.color.alphaF(), 0.35 * classico.text.opacity, 1e-3);
    EXPECT_NEAR(reduced.fill.color.redF(), std::min(rest.fill.color.redF() + 0.2, 1.0), 1e-3);

    // Rivista's ends round as the swell rises, fully from a third of it on.
    EXPECT_DOUBLE_EQ(progress(rivista, 0.5, 0.1, false).fill.radius, 3.0 / 2 * 0.3);
    EXPECT_DOUBLE_EQ(progress(rivista, 0.5, 0.5, false).fill.radius, 1.5);
}

TEST(ScrubberTrack, TheKnobAtTheLeadingEdgeIsNotClipped)
{
    const QImage image
        = ScrubberTrack::render(classico, {ScrubberStyle::progress, 0, 0, true, 0, true}, frame);
    const double bleed = ScrubberTrack::bleedMargin;
    // Left of the frame, where half of the white knob stands.
    const QColor knob = image.pixelColor(int(bleed - 3), int(bleed + 7));
    EXPECT_GT(knob.alphaF(), 0.9);
    EXPECT_GT(knob.redF(), 0.9);
}

TEST(PlayerOutline, InsetsAddUp)
{
    const PlayerOutline outline{4, 20, 20, 4};
    const QRectF rect(0, 0, 300, 120);
    EXPECT_EQ(outline.inset(2).inset(3), outline.inset(5));
    EXPECT_EQ(outline.inset(2).inset(3).path(rect), outline.inset(5).path(rect));
    EXPECT_EQ(outline.inset(5).path(rect).boundingRect(), QRectF(5, 5, 290, 110));
}

TEST(PlayerOutline, ZeroRadiiDrawTheRectangleAndTooMuchInsetNothing)
{
    const QRectF rect(10, 10, 100, 40);
    const QPainterPath square = PlayerOutline{}.path(rect);
    EXPECT_EQ(square.boundingRect(), rect);
    EXPECT_TRUE(square.contains(QPointF(10.2, 10.2)));
    EXPECT_TRUE(square.contains(QPointF(109.8, 49.8)));

    EXPECT_TRUE((PlayerOutline{5, 5, 5, 5}.inset(20).path(rect).isEmpty()));
    EXPECT_TRUE(PlayerOutline{}.path(QRectF(0, 0, 0, 10)).isEmpty());
}

TEST(PlayerOutline, CornersLoseTheInsetAndStayWithinHalfTheShorterSide)
{
    const QRectF rect(0, 0, 100, 40);
    // Top leading 12 inset by 5: a radius of 7 from (5, 5).
    const QPainterPath inset = PlayerOutline{12, 0, 0, 0}.inset(5).path(rect);
    EXPECT_FALSE(inset.contains(QPointF(5 + 7 - 7 * 0.75, 5 + 7 - 7 * 0.75)));
    EXPECT_TRUE(inset.contains(QPointF(5 + 7 - 7 * 0.65, 5 + 7 - 7 * 0.65)));
    // Bottom trailing 0: the square corner stays.
    EXPECT_TRUE(inset.contains(QPointF(94.8, 34.8)));

    // A radius of 100 on a 40-point-high rectangle rounds by 20.
    const QPainterPath big = PlayerOutline{0, 0, 100, 0}.path(rect);
    EXPECT_TRUE(big.contains(QPointF(80, 39)));
    EXPECT_FALSE(big.contains(QPointF(99, 39)));
    EXPECT_TRUE(big.contains(QPointF(99.5, 20)));
}
