#include "SetupIllustration.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace SetupIllustration;

namespace {
void expectNothingNegative(const QRectF &rect, const char *what)
{
    EXPECT_GE(rect.x(), 0) << what;
    EXPECT_GE(rect.y(), 0) << what;
    EXPECT_GE(rect.width(), 0) << what;
    EXPECT_GE(rect.height(), 0) << what;
}

void expectNothingNegative(const SurfaceLayout &layout)
{
    for (const auto &[rect, what] : {std::pair{layout.notch, "notch"}, {layout.body, "body"},
             {layout.artwork, "artwork"}, {layout.lines.title, "title"}, {layout.lines.track, "track"},
             {layout.lines.fill, "fill"}, {layout.playButton, "play"}})
        expectNothingNegative(rect, what);
}

int alphaAt(const QImage &image, QPointF point)
{
    return qAlpha(image.pixel(point.toPoint()));
}
} // namespace

TEST(SurfaceIllustration, TheCardHeightsFallOnEitherSideOfTheRicherVariant)
{
    const SurfaceLayout compactNotch = surfaceLayout(SurfaceKind::notch, 240, 74);
    EXPECT_FALSE(compactNotch.rich);
    EXPECT_EQ(compactNotch.padding, 6);
    EXPECT_EQ(compactNotch.bodyRadius, 8);
    const SurfaceLayout fullNotch = surfaceLayout(SurfaceKind::notch, 320, 132);
    EXPECT_EQ(fullNotch.padding, 10);
    EXPECT_EQ(fullNotch.bodyRadius, 12);

    const SurfaceLayout compactSidebar = surfaceLayout(SurfaceKind::sidebar, 240, 74);
    EXPECT_EQ(compactSidebar.spacing, 4);
    EXPECT_TRUE(compactSidebar.tiles.isEmpty());
    const SurfaceLayout fullSidebar = surfaceLayout(SurfaceKind::sidebar, 320, 132);
    EXPECT_EQ(fullSidebar.spacing, 8);
    EXPECT_EQ(fullSidebar.padding, 10);
    ASSERT_EQ(fullSidebar.tiles.size(), 3);
    EXPECT_DOUBLE_EQ(fullSidebar.tiles[2].right(), fullSidebar.lines.track.right());
    // Strictly above 100.
    EXPECT_FALSE(surfaceLayout(SurfaceKind::sidebar, 320, 100).rich);
}

TEST(SurfaceIllustration, TheMocksStandWhereTheirSurfacesAre)
{
    const SurfaceLayout notch = surfaceLayout(SurfaceKind::notch, 300, 132);
    EXPECT_DOUBLE_EQ(notch.notch.center().x(), 150);
    EXPECT_DOUBLE_EQ(notch.notch.top(), 0);
    EXPECT_DOUBLE_EQ(notch.body.top(), notch.notch.bottom());
    EXPECT_DOUBLE_EQ(notch.body.width(), 0.8 * 300);
    EXPECT_DOUBLE_EQ(notch.artwork.width(), 0.34 * 132);

    const SurfaceLayout sidebar = surfaceLayout(SurfaceKind::sidebar, 300, 132);
    EXPECT_DOUBLE_EQ(sidebar.body.right(), 300 - 5);
    EXPECT_DOUBLE_EQ(sidebar.body.height(), 132 - 10);
    EXPECT_DOUBLE_EQ(sidebar.body.width(), 0.34 * 300);
    // Inside its body, even when the cover has to give up height.
    EXPECT_LE(sidebar.tiles.last().bottom(), sidebar.body.bottom() - sidebar.padding + 1e-9);
}

TEST(SurfaceIllustration, AFlatDrawingKeepsAFivePointNotchAndAnEmptyOneNothingNegative)
{
    EXPECT_DOUBLE_EQ(surfaceLayout(SurfaceKind::notch, 300, 30).notch.height(), 5);
    EXPECT_DOUBLE_EQ(surfaceLayout(SurfaceKind::notch, 300, 132).notch.height(), 0.09 * 132);

    for (const SurfaceKind kind : {SurfaceKind::notch, SurfaceKind::sidebar}) {
        expectNothingNegative(surfaceLayout(kind, 0, 0));
        expectNothingNegative(surfaceLayout(kind, 40, 6));
    }
    EXPECT_EQ(surfaceLayout(SurfaceKind::sidebar, 0, 0).body.height(), 0);
    const MoveLayout move = moveLayout(0, 0);
    for (const QRectF &rect : {move.notch, move.oldPlace, move.card, move.artwork, move.playButton, move.pill,
             move.pillArtwork, move.pillLine, move.lines.track})
        expectNothingNegative(rect, "move");
    EXPECT_TRUE(SurfaceIllustration::render(SurfaceKind::sidebar, true, QSize(0, 0), {}, {}).isNull());
}

TEST(MovePlayerIllustration, TheRouteEndsJustLeftOfTheMovedCard)
{
    const MoveLayout layout = moveLayout(220, 136);
    EXPECT_DOUBLE_EQ(layout.card.left(), 0.38 * 220);
    EXPECT_DOUBLE_EQ(layout.card.right(), 0.94 * 220);
    EXPECT_LT(layout.routeEnd.x(), layout.card.left());
    EXPECT_DOUBLE_EQ(layout.notch.top(), 0);
    EXPECT_DOUBLE_EQ(layout.pill.top(), layout.card.bottom());
    EXPECT_DOUBLE_EQ((layout.card.top() + layout.pill.bottom()) / 2, 0.64 * 136);
    EXPECT_NEAR(layout.pillArtwork.width(), 0.62 * 0.13 * 136, 1e-9);
}

TEST(SurfaceIllustration, SkinsPickTheBodyAndTheAccents)
{
    const Aura aura = Aura::brand();
    const Colors rivista = colors(SkinPalette(Skin::rivista, aura), aura);
    EXPECT_EQ(rivista.panel, aura.fieldColor());
    EXPECT_EQ(rivista.accent, SkinPalette(Skin::rivista, aura).textColor());
    const Colors classico = colors(SkinPalette(Skin::classico, aura), aura);
    EXPECT_EQ(classico.panel, QColor(Qt::black));
    EXPECT_EQ(classico.accent, SkinPalette(Skin::classico, aura).accentColor());
}

TEST(SurfaceIllustration, OffDimsTheMockButNotTheFrame)
{
    const SkinPalette palette(Skin::classico, Aura::brand());
    const QSize size(300, 132);
    const QImage on = SurfaceIllustration::render(SurfaceKind::notch, true, size, palette, Aura::brand());
    const QImage off = SurfaceIllustration::render(SurfaceKind::notch, false, size, palette, Aura::brand());
    const SurfaceLayout layout = surfaceLayout(SurfaceKind::notch, size.width(), size.height());
    // The play button's centre: full accent when on, a third of it when off.
    const QPointF play = layout.playButton.center();
    EXPECT_EQ(on.pixel(play.toPoint()), palette.accentColor().rgba());
    EXPECT_LT(qGreen(off.pixel(play.toPoint())), qGreen(on.pixel(play.toPoint())));
    // The border along the left edge is the same either way.
    EXPECT_EQ(alphaAt(on, QPointF(0.5, 66)), alphaAt(off, QPointF(0.5, 66)));
    EXPECT_EQ(on.pixel(0, 66), off.pixel(0, 66));
}
