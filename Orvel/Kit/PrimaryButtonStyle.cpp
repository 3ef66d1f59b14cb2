#include "PrimaryButtonStyle.h"

#include "Typography.h"

KitGradient PrimaryButtonStyle::fill(const SkinPalette &palette)
{
    if (palette.skin == Skin::classico)
        return {palette.accent.toQColor(), classicoGradientEnd.toQColor(), KitGradient::Direction::diagonal};
    return KitGradient::solid(palette.text.toQColor());
}

PrimaryButtonStyle::PrimaryButtonStyle(QObject *parent)
    : QObject(parent)
{
}

void PrimaryButtonStyle::setPalette(const SkinPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    emit changed();
}

QFont PrimaryButtonStyle::font() const
{
    return FontDescription{titleSize, FontWeight::semibold}.toQFont();
}
