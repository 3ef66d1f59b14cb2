#include "Aura.h"

namespace {
QColor colour(const ArtworkPalette::Swatch &swatch)
{
    const auto hsv = swatch.hsv();
    return QColor::fromHsvF(float(hsv.hue / 360.0), float(std::clamp(hsv.saturation, 0.0, 1.0)),
        float(std::clamp(hsv.value, 0.0, 1.0)));
}
} // namespace

Aura::Aura(QColor primary, QColor secondary, QString key)
    : primary(primary)
    , secondary(secondary)
    , key(std::move(key))
{
}

Aura Aura::brand()
{
    static const Aura aura(QColor::fromRgbF(0.11f, 0.84f, 0.38f), QColor::fromRgbF(0.18f, 0.80f, 0.92f),
        QStringLiteral("brand"));
    return aura;
}

Aura::Aura(const std::optional<ArtworkPalette> &palette, const std::optional<QString> &key)
    : Aura(brand())
{
    if (!palette)
        return;
    primary = colour(palette->primary);
    secondary = colour(palette->secondary);
    this->key = key ? *key
                    : QString::asprintf("%.3f-%.3f-%.3f", palette->primary.red, palette->primary.green,
                        palette->primary.blue);
}
