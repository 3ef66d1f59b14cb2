#include "SkinSwatchStyle.h"

SkinSwatchStyle::Look SkinSwatchStyle::look(Skin skin, const Aura &aura)
{
    const SkinPalette q(skin, aura);
    if (skin == Skin::classico)
        return {q, SRGBColor::black(), SRGBColor::black(), SRGBColor::white(0.1), 5, {70, 4}, 3, q.accent,
            q.accent};
    return {q, aura.field, aura.fieldDeep, SRGBColor::white(0.28), 2, {86, 7}, 1, q.text, q.text};
}

SkinSwatchStyle::SkinSwatchStyle(QObject *parent)
    : QObject(parent)
{
}

void SkinSwatchStyle::setSkinName(const QString &name)
{
    const Skin skin = skinFromStoredValue(name);
    if (skin == m_skin)
        return;
    m_skin = skin;
    emit changed();
}

void SkinSwatchStyle::setAura(const Aura &aura)
{
    if (aura == m_aura)
        return;
    m_aura = aura;
    emit changed();
}
