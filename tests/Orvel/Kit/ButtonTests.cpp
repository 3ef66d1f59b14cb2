#include "GlyphButtonStyle.h"
#include "HelpTip.h"
#include "KitShape.h"
#include "ManualScheduler.h"
#include "PressFeedback.h"
#include "PrimaryButtonStyle.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "SelectionDotStyle.h"
#include "SkinEnvironment.h"
#include "SystemSymbol.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {
const SkinPalette classico(Skin::classico, Aura::brand());
const SkinPalette rivista(Skin::rivista, Aura::brand());
} // namespace

TEST(GlyphButtonStyle, DefaultSquareGlyphAndSymbolSizes)
{
    GlyphButtonStyle style;
    EXPECT_EQ(style.size(), 30);
    EXPECT_DOUBLE_EQ(style.iconSize(), 18);
    style.setSymbol(true);
    EXPECT_DOUBLE_EQ(style.iconSize(), 13.2);
}

TEST(GlyphButtonStyle, OnlyClassicoFillsAndSelectionTintsIt)
{
    EXPECT_EQ(GlyphButtonStyle::background(classico, false), classico.fill);
    EXPECT_EQ(GlyphButtonStyle::background(classico, true), classico.accent.withOpacity(0.1));
    EXPECT_EQ(GlyphButtonStyle::background(rivista, true).opacity, 0);
    EXPECT_EQ(GlyphButtonStyle::background(rivista, false).opacity, 0);
    EXPECT_EQ(GlyphButtonStyle::foreground(rivista, true), rivista.accent);
    EXPECT_EQ(GlyphButtonStyle::foreground(classico, false), classico.text.withOpacity(0.72));
    EXPECT_EQ(GlyphButtonStyle::accessibilityValue(false), "");
    EXPECT_EQ(GlyphButtonStyle::accessibilityValue(true), "Selected");
}

TEST(GlyphButton, SymbolsAreSemiboldInRivistaAndMediumInClassico)
{
    const auto ink = [](int weight) {
        const QImage image = SymbolView::render("trash", 24, Qt::white, weight);
        double total = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                total += image.pixelColor(x, y).alphaF();
        return total;
    };
    EXPECT_GT(ink(500), ink(400) * 1.05);
    EXPECT_GT(ink(600), ink(500) * 1.05);
    // A translucent colour stays as translucent: the grown copies do not add up.
    const QImage faint = SymbolView::render("trash", 24, QColor::fromRgbF(1, 1, 1, 0.5), 600);
    int maximum = 0;
    for (int y = 0; y < faint.height(); ++y)
        for (int x = 0; x < faint.width(); ++x)
            maximum = std::max(maximum, faint.pixelColor(x, y).alpha());
    EXPECT_NEAR(maximum, 128, 2);

    QmlHarness harness;
    for (const auto &[skin, weight] : {std::pair{"rivista", 600}, std::pair{"classico", 500}}) {
        const auto view = harness.view(QByteArray("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                                                  "GlyphButton { symbol: 'trash'; label: 'Remove'; size: 24;"
                                                  " Skinned.skin: '")
            + skin + "' }");
        ASSERT_TRUE(view) << harness.errors().toStdString();
        SymbolView *symbol = view->item()->findChild<SymbolView *>();
        ASSERT_TRUE(symbol) << skin;
        EXPECT_EQ(symbol->weight(), weight) << skin;
    }
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}

TEST(PrimaryButtonStyle, ClassicoGradientRivistaPlainCapsule)
{
    const KitGradient classicoFill = PrimaryButtonStyle::fill(classico);
    EXPECT_EQ(classicoFill.from, classico.accent.toQColor());
    EXPECT_EQ(classicoFill.to, (SRGBColor{0.67, 0.86, 0.45, 1}).toQColor());
    EXPECT_EQ(classicoFill.direction, KitGradient::Direction::diagonal);
    EXPECT_EQ(PrimaryButtonStyle::fill(rivista), KitGradient::solid(rivista.text.toQColor()));
}

TEST(PrimaryButton, HoldsItsTitleThenTheGlyphAndGrowsWithTheTitle)
{
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        Column {
            PrimaryButton { objectName: "plain"; title: "Open" }
            PrimaryButton { objectName: "longer"; title: "Open Spotify now" }
            PrimaryButton { objectName: "glyph"; title: "Open"; glyph: "external" }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *plain = view->item()->findChild<QQuickItem *>("plain");
    auto *longer = view->item()->findChild<QQuickItem *>("longer");
    auto *glyph = view->item()->findChild<QQuickItem *>("glyph");
    auto *title = plain->property("contentItem").value<QQuickItem *>()->childItems().at(0);
    EXPECT_DOUBLE_EQ(plain->implicitWidth(), title->implicitWidth() + 36);
    EXPECT_DOUBLE_EQ(plain->implicitHeight(), title->implicitHeight() + 22);
    EXPECT_GT(longer->implicitWidth(), plain->implicitWidth());
    // The glyph sits after the title: 8 apart, 14 wide.
    EXPECT_DOUBLE_EQ(glyph->implicitWidth(), plain->implicitWidth() + 8 + 14);
    view->grab(); // lays the row out
    auto *glyphView = glyph->property("contentItem").value<QQuickItem *>()->childItems().at(1);
    EXPECT_GT(glyphView->x(), title->implicitWidth());

    QSignalSpy clicked(plain, SIGNAL(clicked()));
    QTest::mouseClick(view->window(), Qt::LeftButton, {}, plain->mapToScene({10, 10}).toPoint());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}

TEST(SelectionDotStyle, ClassicoSymbolsAtSizePlusNineRivistaDots)
{
    using Look = SelectionDotStyle::Look;
    EXPECT_EQ(
        SelectionDotStyle::look(classico, true, 6), (Look{"checkmark.circle.fill", 15, classico.accent}));
    EXPECT_EQ(
        SelectionDotStyle::look(classico, false, 6), (Look{"circle", 15, classico.muted.withOpacity(0.31)}));
    EXPECT_EQ(SelectionDotStyle::look(rivista, true, 6), (Look{"", 6, rivista.text}));
    // Off is still visible.
    EXPECT_EQ(SelectionDotStyle::look(rivista, false, 6), (Look{"", 6, rivista.text.withOpacity(0.3)}));
}

TEST(KitShape, BrightnessLiftsThePictureAsItLiftsTheColours)
{
    KitShape::Style style;
    style.image = "PreviewArtwork";
    const QImage plain = KitShape::render({40, 40}, style);
    style.brightness = 0.06;
    const QImage lit = KitShape::render({40, 40}, style);
    const QColor before = plain.pixelColor(20, 20), after = lit.pixelColor(20, 20);
    ASSERT_EQ(before.alpha(), 255);
    EXPECT_NEAR(after.red() - before.red(), std::min(15, 255 - before.red()), 1);
    EXPECT_NEAR(after.blue() - before.blue(), std::min(15, 255 - before.blue()), 1);
    // Coverage stays: a half-covered pixel is lifted by half as much.
    QImage half(1, 1, QImage::Format_ARGB32_Premultiplied);
    half.setPixel(0, 0, qRgba(10, 10, 10, 128));
    EXPECT_EQ(qRed(PressFeedback::brightened(half, 0.5).pixel(0, 0)), 74);
    EXPECT_EQ(qAlpha(PressFeedback::brightened(half, 0.5).pixel(0, 0)), 128);
}

TEST(KitShape, DiagonalFillAndBorderInsideTheEdge)
{
    KitShape::Style style;
    style.fill = {Qt::red, Qt::blue, KitGradient::Direction::diagonal};
    style.stroke = KitGradient::solid(Qt::white);
    style.strokeWidth = 1;
    const QImage image = KitShape::render({60, 20}, style);
    // The border is one pixel inside the edge all round.
    EXPECT_EQ(image.pixelColor(0, 10), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(30, 19), QColor(Qt::white));
    EXPECT_GT(image.pixelColor(1, 1).red(), 230); // red at the top-leading corner
    EXPECT_GT(image.pixelColor(58, 18).blue(), 230);
    // Bands run parallel to the other diagonal: these two lie on the middle band.
    const QColor a = image.pixelColor(7, 17), b = image.pixelColor(52, 2);
    EXPECT_NEAR(a.red(), 128, 3);
    EXPECT_NEAR(b.red(), 128, 3);

    style.capsule = true;
    const QImage capsule = KitShape::render({60, 20}, style);
    EXPECT_EQ(capsule.pixelColor(0, 0).alpha(), 0);
    EXPECT_GT(capsule.pixelColor(0, 10).green(), 200);
}

TEST(HelpTip, ShowsAfterTheRestingDelayAndHidesOnLeave)
{
    ManualScheduler scheduler;
    ScopedScheduler installed(scheduler);
    QStringList shown;
    int hidden = 0;
    HelpTip::setDisplay({[&](const QPoint &, const QString &text, const SkinPalette &) { shown << text; },
        [&] { ++hidden; }});
    const std::shared_ptr<void> restore(nullptr, [](void *) { HelpTip::setDisplay({}); });

    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        GlyphButton { glyph: "pin"; label: "Pin the player" })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *tip = view->item()->findChild<HelpTip *>();
    ASSERT_TRUE(tip);

    tip->setActive(true);
    scheduler.advance(0.5);
    tip->setActive(false); // left before the delay: nothing shows
    scheduler.advance(1);
    EXPECT_TRUE(shown.isEmpty());

    tip->setActive(true);
    scheduler.advance(0.69);
    EXPECT_TRUE(shown.isEmpty());
    scheduler.advance(0.02);
    EXPECT_EQ(shown, QStringList{"Pin the player"});
    EXPECT_TRUE(tip->shown());
    tip->setActive(false);
    EXPECT_EQ(hidden, 1);
    EXPECT_FALSE(tip->shown());
}

TEST(HelpTip, TheSystemTipDrawsMarkupAsTyped)
{
    // QToolTip takes anything that looks like markup as rich text.
    const QString typed = R"(<img src="http://127.0.0.1:1/t.png"><b>Bold</b> & more)";
    QTextDocument drawn;
    drawn.setHtml(HelpTip::systemText(typed));
    EXPECT_EQ(drawn.toPlainText(), typed);
    EXPECT_EQ(drawn.toHtml().count("<img"), 0);
}

// The shape's one picture is made again whenever its size or look changes,
// and an empty shape draws nothing.
TEST(KitShape, ItsPictureFollowsItsSizeAndLook)
{
    QmlHarness harness;
    auto view = harness.view(
        QmlSource("import QtQuick\nimport Orvel\n"
                  "Rectangle { width: 60; height: 30; color: 'black'\n"
                  "    KitShape { objectName: 'shape'; width: 20.4; height: 30; fill: 'red' }\n"
                  "}"));
    ASSERT_TRUE(view);
    auto *shape = view->item()->findChild<QQuickItem *>(QStringLiteral("shape"));
    ASSERT_TRUE(shape);
    QImage frame = view->grab();
    EXPECT_EQ(frame.pixelColor(10, 15), QColor(Qt::red));
    EXPECT_EQ(frame.pixelColor(19, 15), QColor(Qt::red)); // whole points, as painted items draw
    EXPECT_EQ(frame.pixelColor(40, 15), QColor(Qt::black));

    shape->setWidth(50);
    frame = view->grab();
    EXPECT_EQ(frame.pixelColor(40, 15), QColor(Qt::red));
    shape->setProperty("fill", QColor(Qt::blue));
    frame = view->grab();
    EXPECT_EQ(frame.pixelColor(10, 15), QColor(Qt::blue));
    EXPECT_EQ(frame.pixelColor(40, 15), QColor(Qt::blue));
    shape->setWidth(0);
    frame = view->grab();
    EXPECT_EQ(frame.pixelColor(10, 15), QColor(Qt::black));
}
