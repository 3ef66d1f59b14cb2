#include "Json.h"
#include "Motion.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
using F = AnimationFeature;
using L = MotionLevel;
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

AnimationSettings off(std::set<F> features)
{
    return AnimationSettings{std::move(features)};
}
} // namespace

TEST(AnimationSettings, PresetsMatchOnlyTheirExactSetsAndSwitchesAreIdempotent)
{
    const std::vector<std::pair<std::set<F>, std::optional<AnimationPreset>>> cases
        = {{{}, AnimationPreset::all}, {{F::trackSwell, F::titleScroll}, AnimationPreset::essential},
            {{F::trackSwell}, std::nullopt}, {{F::trackSwell, F::titleScroll, F::panels}, std::nullopt}};
    for (const auto &[features, preset] : cases)
        EXPECT_EQ(off(features).preset(), preset) << features.size();
    for (AnimationPreset preset : allCases<AnimationPreset>())
        EXPECT_EQ(settings(preset).preset(), preset) << toRawValue(preset).toStdString();

    AnimationSettings s = off({F::panels});
    s.setEnabled(F::controls, true);
    s.setEnabled(F::panels, false);
    EXPECT_EQ(s, off({F::panels}));
    EXPECT_FALSE(s[F::panels]);
}

TEST(AnimationSettings, JsonWritesSortedNamesAndReadsLeniently)
{
    EXPECT_EQ(json::encodeData(off({F::titleScroll, F::controls})), R"({"off":["controls","titleScroll"]})");
    EXPECT_EQ(json::encodeData(settings(AnimationPreset::none)),
        R"({"off":["controls","panels","skillCast","titleScroll","trackChange","trackSwell"]})");
    const std::vector<std::pair<QByteArray, std::optional<AnimationSettings>>> cases = {{"{}", off({})},
        {R"({"off":null})", off({})}, {R"({"off":["panels","sparkles","panels"],"x":1})", off({F::panels})},
        {R"({"off":"panels"})", std::nullopt}, {R"({"off":["panels",1]})", std::nullopt},
        {R"(["panels"])", std::nullopt}};
    for (const auto &[data, expected] : cases)
        EXPECT_EQ(json::decodeData<AnimationSettings>(data), expected) << data.toStdString();
}

TEST(MotionPolicy, LevelsFollowLightThenSwitchesThenReduceMotion)
{
    // Levels in the order trackSwell, trackChange, titleScroll, panels, controls, skillCast.
    const std::vector<std::pair<MotionPolicy, std::array<L, 6>>> cases = {
        {{off({}), false, false}, {L::full, L::full, L::full, L::full, L::full, L::full}},
        {{off({}), true, true}, {L::still, L::still, L::still, L::still, L::still, L::still}},
        {{off({}), false, true}, {L::reduced, L::reduced, L::still, L::still, L::still, L::reduced}},
        {{off({F::trackChange}), false, true},
            {L::reduced, L::still, L::still, L::still, L::still, L::reduced}},
        {{off({F::controls}), false, false}, {L::full, L::full, L::full, L::full, L::still, L::full}},
    };
    const auto features = allCases<AnimationFeature>();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        for (std::size_t f = 0; f < features.size(); ++f) {
            EXPECT_EQ(cases[i].first.level(features[f]), cases[i].second[f])
                << "case " << i << ", feature " << f;
            EXPECT_EQ(cases[i].first.allows(features[f]), cases[i].second[f] == L::full) << i << ", " << f;
        }
    }
}

TEST(SwellMotion, EnvelopeRisesOvershootsAndFallsBackToRest)
{
    const std::vector<std::pair<double, double>> cases = {{0, 0}, {-1, 0}, {notANumber, 0}, {infinity, 0},
        {1e-9, 0}, {0.134, 1.0706}, {0.22, 1}, {0.56, 0.5}, {0.9, 0}, {2, 0}};
    for (const auto &[elapsed, height] : cases)
        EXPECT_NEAR(SwellMotion::envelope(elapsed), height, 1e-4) << elapsed;
}

TEST(MarqueeMotion, OffsetRestsThenTravelsAndReadingTimeCoversOneScroll)
{
    struct Case {
        double content, viewport, elapsed;
        bool reduced;
        double result;
    };
    const double cycle = 334.0 / 18 + 2.2;
    const std::vector<Case> offsets = {{300, 200, 3.2, false, 18}, {300, 200, 1, false, 0},
        {300, 200, -5, false, 0}, {300, 200, cycle - 0.5, false, 334 - 9}, {300, 200, cycle + 3.2, false, 18},
        {300, 200, 3.2, true, 0}, {201, 200, 10, false, 0}, {202, 200, 3.2, false, 18},
        {300, 0, 3.2, false, 0}, {notANumber, 200, 3.2, false, 0}, {300, infinity, 3.2, false, 0},
        {300, 200, notANumber, false, 0}};
    for (const auto &c : offsets)
        EXPECT_NEAR(MarqueeMotion::offset(c.content, c.viewport, c.elapsed, c.reduced), c.result, 1e-9)
            << c.content << " in " << c.viewport << " at " << c.elapsed;

    // Reading time with minimum 4 and maximum 12; `elapsed` plays no part.
    const std::vector<Case> times = {{290, 200, 0, false, 8.4}, {500, 200, 0, false, 12},
        {290, 200, 0, true, 4}, {201, 200, 0, false, 4}, {210, 200, 0, false, 4},
        {290, notANumber, 0, false, 4}, {290, 0, 0, false, 4}, {infinity, 200, 0, false, 4}};
    for (const auto &c : times)
        EXPECT_NEAR(MarqueeMotion::readingTime(c.content, c.viewport, c.reduced, 4, 12), c.result, 1e-9)
            << c.content << " in " << c.viewport;
}
