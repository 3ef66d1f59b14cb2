#pragma once

#include "SharedStore.h"
#include "SkinPalette.h"

#include <QMenu>
#include <functional>
#include <memory>

// A placed widget's menu, "Edit Widgets…" and "Remove Widget", drawn as the
// app draws its menus. Needs no more than the design layer and Qt Widgets, so
// the gallery program draws this very menu.
struct WidgetMenu {
    // The skin the widgets show, as the app last wrote it, over the brand aura.
    static SkinPalette palette(const SharedStore &store = SharedStore());
    static std::unique_ptr<QMenu> make(
        const SkinPalette &palette, std::function<void()> edit, std::function<void()> remove);
};
