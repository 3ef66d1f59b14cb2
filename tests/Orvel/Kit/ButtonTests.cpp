#include "GlyphButtonStyle.h"
#include "HelpTip.h"
#include "KitShape.h"
#include "ManualScheduler.h"
#include "PrimaryButtonStyle.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "SelectionDotStyle.h"
#include "SkinEnvironment.h"

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
    HelpTip::setDisplay({[&](const QPoint &, const QString &text) { shown << text; }, [&] { ++hidden; }});
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
