#include "QtPrinters.h"
#include "Typography.h"

#include <QFontInfo>
#include <gtest/gtest.h>

TEST(TextRole, SizesWeightsAndTracking)
{
    using R = TextRole;
    using W = FontWeight;
    struct Row {
        TextRole role;
        double size;
        std::optional<FontWeight> weight;
        double tracking;
    };
    const std::vector<Row> rows = {
        {R::hero, 34, W::semibold, -1.1},
        {R::title, 28, W::semibold, -0.8},
        {R::titleSmall, 22, W::semibold, -0.5},
        {R::headline, 17, W::semibold, -0.2},
        {R::subhead, 14, W::semibold, 0},
        {R::body, 13, {}, 0},
        {R::callout, 12, {}, 0},
        {R::caption, 11, {}, 0},
        {R::footnote, 10, {}, 0},
        {R::micro, 9, {}, 0},
    };
    ASSERT_EQ(rows.size(), allCases<TextRole>().size());
    for (const auto &row : rows) {
        SCOPED_TRACE(toRawValue(row.role).toStdString());
        const FontDescription description = font(row.role);
        EXPECT_EQ(description.size, row.size);
        EXPECT_EQ(description.weight, row.weight);
        EXPECT_EQ(description.design, FontDesign::standard);
        EXPECT_EQ(tracking(row.role), row.tracking);

        const QFont applied = textRole(row.role);
        EXPECT_EQ(applied.pixelSize(), int(row.size));
        EXPECT_EQ(applied.weight(), int(row.weight.value_or(W::regular)));
        EXPECT_EQ(applied.letterSpacingType(), QFont::AbsoluteSpacing);
        EXPECT_NEAR(applied.letterSpacing(), row.tracking, 1.0 / 64); // QFont keeps 1/64 px
        EXPECT_EQ(applied.family(), "Inter");
    }
}

TEST(Font, DisplayWeightAndTrackingFollowTheSize)
{
    EXPECT_EQ(Font::display(36).weight, FontWeight::black);
    EXPECT_EQ(Font::display(80).weight, FontWeight::black);
    EXPECT_EQ(Font::display(35.9).weight, FontWeight::heavy);
    EXPECT_EQ(Font::display(12).weight, FontWeight::heavy);
    EXPECT_EQ(Font::display(36).toQFont().weight(), QFont::Black);
    EXPECT_EQ(Font::display(35.9).toQFont().weight(), QFont::ExtraBold);

    EXPECT_EQ(Font::displayTracking(0), 0);
    EXPECT_DOUBLE_EQ(Font::displayTracking(40), -1.2);
    EXPECT_DOUBLE_EQ(Font::displayTracking(20), -0.6);
    EXPECT_NEAR(Typography().display(40).letterSpacing(), -1.2, 1.0 / 64);
    EXPECT_EQ(Typography().display(40, false).letterSpacing(), 0);
}

TEST(Font, NumericAndMonospacedFonts)
{
    const FontDescription numeric = Font::numeric(24);
    EXPECT_EQ(numeric.weight, FontWeight::thin);
    EXPECT_TRUE(numeric.monospacedDigits);
    // Thin is the second-lightest weight: 200, one step above ultra-light.
    EXPECT_EQ(numeric.toQFont().weight(), QFont::ExtraLight);
    EXPECT_LT(int(FontWeight::ultraLight), int(FontWeight::thin));

    const FontDescription mono = Font::mono(11);
    EXPECT_EQ(mono.design, FontDesign::monospaced);
    EXPECT_FALSE(mono.weight.has_value());
    EXPECT_EQ(mono.toQFont().family(), "JetBrains Mono");
    EXPECT_TRUE(QFontInfo(mono.toQFont()).fixedPitch());
    EXPECT_EQ(QFontInfo(Font::display(30).toQFont()).family(), "Inter");
}
