#include "ShortcutMenu.h"

#include "Localization.h"
#include "SkillSlotStyle.h"

QVariantList ShortcutMenu::menuItems()
{
    const auto item = [](const QString &text, const QString &action, bool destructive = false) {
        return QVariantMap{
            {"text", localized(text)}, {"action", action}, {"destructive", destructive}, {"enabled", true}};
    };
    return {item(QStringLiteral("Open in Spotify"), QStringLiteral("open")),
        item(QStringLiteral("Move up"), QStringLiteral("moveUp")),
        item(QStringLiteral("Move down"), QStringLiteral("moveDown")),
        item(QStringLiteral("Edit"), QStringLiteral("edit")),
        item(QStringLiteral("Remove"), QStringLiteral("remove"), true)};
}

QString ShortcutMenu::kindName(const QString &kind) const
{
    return SkillSlotStyle::kindName(kind);
}
