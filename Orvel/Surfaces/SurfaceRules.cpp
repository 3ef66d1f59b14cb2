#include "SurfaceRules.h"

#include "Localization.h"
#include "SurfaceLayout.h"

QVariantList SurfaceRules::panelKeys(bool includesClose) const
{
    QVariantList result;
    for (const PanelKey &key : PanelKey::keys(includesClose))
        result << QVariantMap{
            {"action", toRawValue(key.action)}, {"glyph", key.glyph}, {"label", localized(key.label)}};
    return result;
}

QVariantMap SurfaceRules::compactGround(bool translucent, qreal idleOpacity, bool notch, const QString &skin,
    bool light, bool reduceTransparency) const
{
    const CompactGroundLook look = CompactGroundLook::of(
        translucent, idleOpacity, notch, skinFromStoredValue(skin), light, reduceTransparency);
    return {
        {"base", toRawValue(look.base)}, {"tint", toRawValue(look.tint)}, {"tintOpacity", look.tintOpacity}};
}

QColor SurfaceRules::gripColor(const SkinPalette &palette, bool playing) const
{
    return sidebarGripColor(palette, playing).toQColor();
}
