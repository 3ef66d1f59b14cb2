#include "FunctionButtonStyle.h"

#include "Localization.h"

FunctionButtonStyle::FunctionButtonStyle(QObject *parent)
    : QObject(parent)
{
}

QString FunctionButtonStyle::symbol(const QString &glyph)
{
    if (glyph == QLatin1String("shuffle"))
        return QStringLiteral("shuffle");
    if (glyph == QLatin1String("loop"))
        return QStringLiteral("repeat");
    return {};
}

QString FunctionButtonStyle::accessibilityValue(bool on)
{
    return localized(on ? QStringLiteral("Enabled") : QStringLiteral("Disabled"));
}

void FunctionButtonStyle::setPalette(const SkinPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    emit changed();
}

void FunctionButtonStyle::setGlyph(const QString &glyph)
{
    if (glyph == m_glyph)
        return;
    m_glyph = glyph;
    emit changed();
}

void FunctionButtonStyle::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    emit changed();
}
