#pragma once

#include "RawEnum.h"

#include <QList>
#include <QString>

enum class VisualizerStyle {
    bars,
    wave,
    dots,
    orbit,
};

template<>
struct RawEnumCases<VisualizerStyle> {
    using S = VisualizerStyle;
    static constexpr std::array<std::pair<S, std::string_view>, 4> cases{
        {{S::bars, "bars"}, {S::wave, "wave"}, {S::dots, "dots"}, {S::orbit, "orbit"}}};
};

enum class VisualizerPalette {
    orvel,
    artwork,
    mint,
    aurora,
    sunset,
    spectrum,
    custom,
};

template<>
struct RawEnumCases<VisualizerPalette> {
    using P = VisualizerPalette;
    static constexpr std::array<std::pair<P, std::string_view>, 7> cases{
        {{P::orvel, "orvel"}, {P::artwork, "artwork"}, {P::mint, "mint"}, {P::aurora, "aurora"},
            {P::sunset, "sunset"}, {P::spectrum, "spectrum"}, {P::custom, "custom"}}};
};

// The user's visualizer settings. The fields keep whatever they are given
// (stored files may hold anything); readers go through the safe getters.
struct VisualizerSettings {
    static constexpr double defaultIntensity = 0.7;
    static constexpr double minimumIntensity = 0.15;
    static constexpr double maximumIntensity = 1.0;
    static constexpr double defaultSpeed = 1.0;
    static constexpr double minimumSpeed = 0.4;
    static constexpr double maximumSpeed = 1.8;
    static inline const QString defaultHex = QStringLiteral("C4F08F");
    // Level of every element while nothing plays.
    static constexpr double pausedLevel = 0.12;
    static constexpr double minimumLevel = 0.1;
    static constexpr double maximumLevel = 1.0;
    // The phase starts again after this many seconds, keeping the sines precise.
    static constexpr double phasePeriod = 3600;

    bool enabled = true;
    VisualizerStyle style = VisualizerStyle::bars;
    VisualizerPalette palette = VisualizerPalette::orvel;
    QString customHex = defaultHex;
    double intensity = defaultIntensity;
    double speed = defaultSpeed;
    bool glow = true;

    double safeIntensity() const;
    double safeSpeed() const;
    // Six upper-case hexadecimal digits, or the default colour.
    QString safeHex() const;

    // The level (0.1…1.0) of each of `count` bars or points at `time`. The
    // figure is a fixed function of time: nothing here listens to audio.
    QList<double> samples(int count, double time, bool playing, bool reducedMotion) const;

    // All seven keys are required when decoding; values are kept as stored.
    // Encoding a non-finite intensity or speed throws.
    QJsonValue toJson() const;
    static VisualizerSettings fromJson(const QJsonValue &value);

    friend bool operator==(const VisualizerSettings &, const VisualizerSettings &) = default;
};
