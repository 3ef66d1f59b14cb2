#include "SkinPalette.h"

#include "Assets.h"

#include <algorithm>
#include <cmath>

using Swatch = ArtworkPalette::Swatch;

SRGBColor SRGBColor::of(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return {rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()};
}

QColor SRGBColor::toQColor() const
{
    const auto unit = [](double v) { return float(std::clamp(std::isnan(v) ? 0.0 : v, 0.0, 1.0)); };
    return QColor::fromRgbF(unit(red), unit(green), unit(blue), unit(opacity));
}

namespace {
// A colour the catalogue lacks draws nothing.
SRGBColor assetColor(const char *name)
{
    const auto color = Assets::color(QString::fromLatin1(name));
    return color ? SRGBColor::of(*color) : SRGBColor{0, 0, 0, 0};
}

QLinearGradient brandGradient(QPointF end)
{
    QLinearGradient gradient(QPointF(0, 0), end);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, Brand::green().toQColor());
    gradient.setColorAt(1, Brand::cyan().toQColor());
    return gradient;
}
} // namespace

const SRGBColor &Brand::green()
{
    static const SRGBColor color = assetColor("OrvelGreen");
    return color;
}

const SRGBColor &Brand::cyan()
{
    static const SRGBColor color = assetColor("OrvelCyan");
    return color;
}

const QLinearGradient &Brand::gradient()
{
    static const QLinearGradient gradient = brandGradient(QPointF(1, 1));
    return gradient;
}

const QLinearGradient &Brand::horizontalGradient()
{
    static const QLinearGradient gradient = brandGradient(QPointF(1, 0));
    return gradient;
}

Aura::Aura()
    : Aura(brand())
{
}

Aura::Aura(const Swatch &p, const Swatch &s, const std::optional<Swatch> &f, const QString &key)
    : primary(SRGBColor::of(p))
    , secondary(SRGBColor::of(s))
    , key(key)
{
    const auto hsv1 = p.hsv();
    const auto hsv2 = s.hsv();
    const Swatch fieldSwatch = f.value_or(Swatch::fromHSV(
        hsv1.hue, std::min(hsv1.saturation + fieldSaturationLift, fieldSaturationCap), fieldValue));
    field = SRGBColor::of(fieldSwatch);
    const auto hsvField = fieldSwatch.hsv();
    fieldDeep = SRGBColor::of(Swatch::fromHSV(hsvField.hue, hsvField.saturation, fieldDeepValue));
    ink = SRGBColor::of(Swatch::fromHSV(hsv2.hue, std::min(hsv2.saturation, inkSaturationCap), inkValue));
}

Aura::Aura(const std::optional<ArtworkPalette> &palette, const std::optional<QString> &key)
    : Aura(palette ? Aura(palette->primary, palette->secondary, std::nullopt,
               key.value_or(QString::asprintf(
                   "%.3f-%.3f-%.3f", palette->primary.red, palette->primary.green, palette->primary.blue)))
                   : brand())
{
}

const Aura &Aura::brand()
{
    static const Aura aura(Swatch::fromHSV(136, 0.8, 1.0), Swatch::fromHSV(187, 1.0, 0.96),
        Swatch::fromHSV(165, 0.7, 0.27), brandKey);
    return aura;
}

SkinPalette::SkinPalette()
    : SkinPalette(Skin::classico, Aura::brand())
{
}

SkinPalette::SkinPalette(Skin skin, const Aura &aura)
    : skin(skin)
    , muted(SRGBColor::white(0.62))
    , faint(SRGBColor::white(0.42))
{
    if (skin == Skin::classico) {
        const SRGBColor ink{0.047, 0.058, 0.055, 1};
        text = {0.96, 0.97, 0.93, 1};
        accent = {0.77, 0.94, 0.56, 1};
        onAccent = ground = groundDeep = ink;
        panel = SRGBColor::black();
        fill = SRGBColor::white(0.035);
        fillStrong = SRGBColor::white(0.07);
        stroke = rule = SRGBColor::white(0.085);
        return;
    }
    text = SRGBColor::white(1);
    accent = aura.ink;
    onAccent = groundDeep = aura.fieldDeep;
    ground = panel = aura.field;
    fill = SRGBColor::white(0.1);
    fillStrong = SRGBColor::white(0.18);
    stroke = rule = SRGBColor::white(0.2);
}
