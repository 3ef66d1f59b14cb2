#pragma once

#include "RawEnum.h"

#include <QJsonValue>
#include <optional>
#include <set>

// The animation features a user can switch off, in the order the settings list them.
enum class AnimationFeature { trackSwell, trackChange, titleScroll, panels, controls, skillCast };

template<>
struct RawEnumCases<AnimationFeature> {
    using F = AnimationFeature;
    static constexpr std::array<std::pair<F, std::string_view>, 6> cases{
        {{F::trackSwell, "trackSwell"}, {F::trackChange, "trackChange"}, {F::titleScroll, "titleScroll"},
            {F::panels, "panels"}, {F::controls, "controls"}, {F::skillCast, "skillCast"}}};
};

// A way to set all features at once; never stored.
enum class AnimationPreset { all, essential, none };

template<>
struct RawEnumCases<AnimationPreset> {
    using P = AnimationPreset;
    static constexpr std::array<std::pair<P, std::string_view>, 3> cases{
        {{P::all, "all"}, {P::essential, "essential"}, {P::none, "none"}}};
};

// Which animation features are switched off; empty means everything plays.
// JSON form: {"off": [raw values, sorted]}.
struct AnimationSettings {
    std::set<AnimationFeature> disabled;

    // True when the feature is enabled.
    bool operator[](AnimationFeature feature) const { return !disabled.contains(feature); }
    void setEnabled(AnimationFeature feature, bool enabled);

    // The preset these settings match, or nothing for the user's own mix.
    std::optional<AnimationPreset> preset() const;

    QJsonValue toJson() const;
    // A missing or null "off" gives nothing disabled; unknown names are skipped,
    // but anything other than an array of strings fails.
    static AnimationSettings fromJson(const QJsonValue &value);

    friend bool operator==(const AnimationSettings &, const AnimationSettings &) = default;
};

// The settings a preset stands for.
AnimationSettings settings(AnimationPreset preset);

// How much of an animation is left: as designed, a short fade instead of
// movement, or none at all.
enum class MotionLevel { full, reduced, still };

template<>
struct RawEnumCases<MotionLevel> {
    static constexpr std::array<std::pair<MotionLevel, std::string_view>, 3> cases{
        {{MotionLevel::full, "full"}, {MotionLevel::reduced, "reduced"}, {MotionLevel::still, "still"}}};
};

// What every animated view asks before it animates: the user's settings,
// light effects mode and the system's Reduce Motion.
struct MotionPolicy {
    AnimationSettings settings;
    bool light = false;
    bool reduceMotion = false;

    MotionLevel level(AnimationFeature feature) const;
    bool allows(AnimationFeature feature) const { return level(feature) == MotionLevel::full; }

    friend bool operator==(const MotionPolicy &, const MotionPolicy &) = default;
};

// The progress bar's pulse when the track changes: a quick rise with a slight
// overshoot to full height at peakTime, then a smoothstep back to rest.
struct SwellMotion {
    static constexpr double duration = 0.9;
    static constexpr double peakTime = 0.22;

    // Height of the pulse `elapsed` seconds after the track changed; 0 outside the pulse.
    static double envelope(double elapsed);
};

// Timing of a title that scrolls because it is wider than its viewport: each
// cycle rests for `delay`, then moves at `speed` until the title and `gap` have passed.
struct MarqueeMotion {
    static constexpr double speed = 18;
    static constexpr double delay = 2.2;
    static constexpr double gap = 34;

    // Horizontal offset in points, from 0 up to contentWidth + gap.
    static double offset(double contentWidth, double viewportWidth, double elapsed, bool reducedMotion);
    // How long a surface should show the title: one scroll, the rest before it
    // and a moment after, within minimum … maximum.
    static double readingTime(
        double contentWidth, double viewportWidth, bool reducedMotion, double minimum, double maximum);

    // A title overflowing by at most this much is left still.
    static constexpr double overflowTolerance = 1;
    static constexpr double readingPause = 1.2;
};
