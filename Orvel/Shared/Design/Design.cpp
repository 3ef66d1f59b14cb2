#include "Design.h"

#include "Assets.h"
#include "Localization.h"

QString Design::localized(const QString &key, const QVariantList &arguments) const
{
    return arguments.isEmpty() ? ::localized(key) : ::localized(key, arguments);
}

QColor Design::color(const QString &name) const
{
    return Assets::color(name).value_or(QColor(Qt::transparent));
}

QUrl Design::image(const QString &name) const
{
    return Assets::imageUrl(name);
}

SkinPalette Design::palette(const QString &skin, const Aura &aura) const
{
    return SkinPalette(skinFromStoredValue(skin), aura);
}
