#include "SelectionDotStyle.h"

SelectionDotStyle::Look SelectionDotStyle::look(const SkinPalette &palette, bool on, double size)
{
    if (palette.skin == Skin::classico) {
        if (on)
            return {QStringLiteral("checkmark.circle.fill"), size + symbolGrowth, palette.accent};
        return {QStringLiteral("circle"), size + symbolGrowth,
            palette.muted.withOpacity(palette.muted.opacity * 0.5)};
    }
    return {QString(), size, on ? palette.text : palette.text.withOpacity(palette.text.opacity * 0.3)};
}

SelectionDotStyle::SelectionDotStyle(QObject *parent)
    : QObject(parent)
{
}

void SelectionDotStyle::setPalette(const SkinPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    emit changed();
}

void SelectionDotStyle::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    emit changed();
}

void SelectionDotStyle::setSize(qreal size)
{
    if (size == m_size)
        return;
    m_size = size;
    emit changed();
}
