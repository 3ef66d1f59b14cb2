#include "VisualizerSettings.h"

#include <algorithm>
#include <cmath>

double VisualizerSettings::safeIntensity() const
{
    if (!std::isfinite(intensity))
        return defaultIntensity;
    return std::min(std::max(intensity, minimumIntensity), maximumIntensity);
}

double VisualizerSettings::safeSpeed() const
{
    if (!std::isfinite(speed))
        return defaultSpeed;
    return std::min(std::max(speed, minimumSpeed), maximumSpeed);
}

QString VisualizerSettings::safeHex() const
{
    // Upper-case first (full case mapping), then insist on six plain hex digits:
    // no trimming and no "#" stripping.
    const QString upper = customHex.toUpper();
    if (upper.size() != 6)
        return defaultHex;
    for (QChar c : upper) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F')))
            return defaultHex;
    }
    return upper;
}

QList<double> VisualizerSettings::samples(int count, double time, bool playing, bool reducedMotion) const
{
    QList<double> levels;
    if (count < 1)
        return levels;
    if (!playing) {
        levels.fill(pausedLevel, count);
        return levels;
    }
    constexpr double pi = 3.141592653589793;
    const double t = (reducedMotion || !std::isfinite(time)) ? 0 : safeSpeed() * std::fmod(time, phasePeriod);
    const double k = safeIntensity();
    const double d = count == 1 ? 1 : double(count - 1);
    levels.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double p = i / d;
        const double arch = 0.45 + 0.55 * std::sin(pi * p);
        const double wave = 0.5 + 0.3 * std::sin(3.1 * t + 9.2 * p) + 0.2 * std::sin(5.3 * t - 14.7 * p);
        levels.append(std::min(std::max(wave * arch * k + 0.1, minimumLevel), maximumLevel));
    }
    return levels;
}

QJsonValue VisualizerSettings::toJson() const
{
    return QJsonObject{
        {QStringLiteral("enabled"), enabled},
        {QStringLiteral("style"), toRawValue(style)},
        {QStringLiteral("palette"), toRawValue(palette)},
        {QStringLiteral("customHex"), customHex},
        {QStringLiteral("intensity"), json::finite(intensity)},
        {QStringLiteral("speed"), json::finite(speed)},
        {QStringLiteral("glow"), glow},
    };
}

VisualizerSettings VisualizerSettings::fromJson(const QJsonValue &value)
{
    const QJsonObject o = json::asObject(value);
    VisualizerSettings settings;
    settings.enabled = json::boolean(o, QStringLiteral("enabled"));
    settings.style = json::rawEnum<VisualizerStyle>(o, QStringLiteral("style"));
    settings.palette = json::rawEnum<VisualizerPalette>(o, QStringLiteral("palette"));
    settings.customHex = json::string(o, QStringLiteral("customHex"));
    settings.intensity = json::number(o, QStringLiteral("intensity"));
    settings.speed = json::number(o, QStringLiteral("speed"));
    settings.glow = json::boolean(o, QStringLiteral("glow"));
    return settings;
}
