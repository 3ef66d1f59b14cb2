#include "SurfaceStyle.h"

#include "Typography.h"

namespace {
QColor white(double opacity)
{
    return SRGBColor::white(opacity).toQColor();
}
} // namespace

KitGradient SurfaceStyle::panelBorder(Skin skin)
{
    if (skin == Skin::classico)
        return {white(0.14), white(0.06), KitGradient::Direction::vertical};
    return {white(0.32), white(0.08), KitGradient::Direction::vertical};
}

KitGradient SurfaceStyle::cardFill()
{
    return {white(0.047), white(0.022), KitGradient::Direction::diagonal};
}

KitGradient SurfaceStyle::cardBorder()
{
    return {white(0.1), white(0.035), KitGradient::Direction::diagonal};
}

SRGBColor SurfaceStyle::fillOf(const SkinPalette &palette, bool strong)
{
    return strong ? palette.fillStrong : palette.fill;
}

qreal SurfaceStyle::fillRadius() const
{
    return Radius::medium;
}

QColor SurfaceStyle::panelBorderTop(const QString &skin) const
{
    return panelBorder(skinFromStoredValue(skin)).from;
}

QColor SurfaceStyle::panelBorderBottom(const QString &skin) const
{
    return panelBorder(skinFromStoredValue(skin)).to;
}

bool SurfaceStyle::cardHasBox(const QString &skin) const
{
    return cardHasBox(skinFromStoredValue(skin));
}

QVariantList SurfaceStyle::cardFillColors() const
{
    return {cardFill().from, cardFill().to};
}

QVariantList SurfaceStyle::cardBorderColors() const
{
    return {cardBorder().from, cardBorder().to};
}

QColor SurfaceStyle::fill(const SkinPalette &palette, bool strong) const
{
    return fillOf(palette, strong).toQColor();
}
