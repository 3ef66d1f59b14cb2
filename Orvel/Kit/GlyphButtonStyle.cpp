#include "GlyphButtonStyle.h"

#include "Localization.h"

double GlyphButtonStyle::iconSize(double size, bool symbol)
{
    return size * (symbol ? symbolScale : glyphScale);
}

FontWeight GlyphButtonStyle::symbolWeight(Skin skin)
{
    return skin == Skin::classico ? FontWeight::medium : FontWeight::semibold;
}

SRGBColor GlyphButtonStyle::foreground(const SkinPalette &palette, bool selected)
{
    return selected ? palette.accent : palette.text.withOpacity(palette.text.opacity * restingOpacity);
}

SRGBColor GlyphButtonStyle::background(const SkinPalette &palette, bool selected)
{
    if (palette.skin != Skin::classico)
        return SRGBColor::white(0);
    return selected ? palette.accent.withOpacity(palette.accent.opacity * selectedTint) : palette.fill;
}

QString GlyphButtonStyle::accessibilityValue(bool selected)
{
    return selected ? localized(QStringLiteral("Selected")) : QString();
}

GlyphButtonStyle::GlyphButtonStyle(QObject *parent)
    : QObject(parent)
{
}

void GlyphButtonStyle::setPalette(const SkinPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    emit changed();
}

void GlyphButtonStyle::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    emit changed();
}

void GlyphButtonStyle::setSize(qreal size)
{
    if (size == m_size)
        return;
    m_size = size;
    emit changed();
}

void GlyphButtonStyle::setSymbol(bool symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    emit changed();
}
