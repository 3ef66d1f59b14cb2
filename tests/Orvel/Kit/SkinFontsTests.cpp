#include "QmlHarness.h"
#include "QtPrinters.h"
#include "SkinFonts.h"

#include <QQuickItem>
#include <gtest/gtest.h>

TEST(SkinFonts, TitlesAreTrackedPerSkin)
{
    const TrackedFont rivista = SkinFonts::title(Skin::rivista, 40);
    EXPECT_EQ(rivista.font.weight, FontWeight::black);
    EXPECT_DOUBLE_EQ(rivista.tracking, -1.2);
    EXPECT_EQ(SkinFonts::title(Skin::rivista, 20).font.weight, FontWeight::heavy);

    const TrackedFont classico = SkinFonts::title(Skin::classico, 40);
    EXPECT_EQ(classico.font, (FontDescription{40, FontWeight::semibold}));
    EXPECT_DOUBLE_EQ(classico.tracking, -0.8);
    EXPECT_NEAR(classico.toQFont().letterSpacing(), -0.8, 1.0 / 64);
}

TEST(SkinFonts, TimeReadoutsIgnoreEmphasisInClassico)
{
    const SkinPalette classico(Skin::classico, Aura::brand());
    const SkinPalette rivista(Skin::rivista, Aura::brand());
    EXPECT_EQ(SkinFonts::timeColorOf(classico, true), classico.muted);
    EXPECT_EQ(SkinFonts::timeColorOf(rivista, true), rivista.accent);
    EXPECT_EQ(SkinFonts::timeColorOf(rivista, false), rivista.muted);
    EXPECT_EQ(SkinFonts::time(Skin::classico, 11).font.design, FontDesign::monospaced);
    EXPECT_EQ(SkinFonts::time(Skin::rivista, 11).font.weight, FontWeight::thin);
}

TEST(SkinFonts, ClassicoEyebrowsAreCapitalisedInTheMonospacedFace)
{
    EXPECT_EQ(SkinFonts::eyebrowText(Skin::classico, QStringLiteral("straße")), "STRASSE");
    EXPECT_EQ(SkinFonts::eyebrowText(Skin::rivista, QStringLiteral("Now playing")), "Now playing");
    EXPECT_EQ(SkinFonts::eyebrow(Skin::classico),
        (TrackedFont{{10, FontWeight::semibold, FontDesign::monospaced}, 1.8}));
    EXPECT_EQ(SkinFonts::eyebrow(Skin::rivista), (TrackedFont{{11, FontWeight::bold}, 0}));
}

TEST(SkinFonts, TitleTextKeepsOneLineUnlessToldOtherwise)
{
    QmlHarness harness;
    const auto view = harness.view(R"(
        import QtQuick
        import Orvel
        Column {
            width: 80
            TitleText { objectName: "one"; width: 80; text: "A title far too long for eighty points" }
            TitleText { objectName: "all"; width: 80; lines: null; text: "A title far too long for eighty points" }
        })");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *one = view->item()->findChild<QQuickItem *>("one");
    auto *all = view->item()->findChild<QQuickItem *>("all");
    EXPECT_EQ(one->property("lineCount").toInt(), 1);
    EXPECT_TRUE(one->property("truncated").toBool());
    EXPECT_GT(all->property("lineCount").toInt(), 2);
    EXPECT_FALSE(all->property("truncated").toBool());
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join('\n').toStdString();
}
