#include "WidgetMenu.h"

#include "Localization.h"
#include "PopupStyle.h"

SkinPalette WidgetMenu::palette(const SharedStore &store)
{
    // Read when the menu opens, as the widgets read it for each entry.
    return SkinPalette(store.loadSkin(), Aura::brand());
}

std::unique_ptr<QMenu> WidgetMenu::make(
    const SkinPalette &palette, std::function<void()> edit, std::function<void()> remove)
{
    auto menu = std::make_unique<QMenu>();
    menu->setStyleSheet(PopupStyle::menuStyleSheet(palette));
    menu->setFont(PopupStyle::menuFont().toQFont());
    menu->addAction(localized(QStringLiteral("Edit Widgets…")), menu.get(), std::move(edit));
    menu->addAction(localized(QStringLiteral("Remove Widget")), menu.get(), std::move(remove));
    return menu;
}
