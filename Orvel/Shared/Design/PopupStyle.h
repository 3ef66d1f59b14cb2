#pragma once

#include "SkinPalette.h"
#include "Typography.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The one look of every popup, whether Qt Quick draws it (menus, the combo
// box's list, popovers) or a top-level widget does (context menus, help
// tips): the skin's panel lifted by its fill, a hairline, the skin's text.
// The colours are opaque, so a popup reads the same over any window.
class PopupStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(qreal radius READ radius CONSTANT)
    Q_PROPERTY(qreal menuRadius READ menuRadius CONSTANT)
    Q_PROPERTY(qreal itemRadius READ itemRadius CONSTANT)
    Q_PROPERTY(qreal menuPadding READ menuPadding CONSTANT)
    Q_PROPERTY(qreal itemHeight READ itemHeight CONSTANT)
    Q_PROPERTY(qreal itemPadding READ itemPadding CONSTANT)

public:
    static constexpr double popoverRadius = Radius::medium;
    static constexpr double menuCornerRadius = 10;
    static constexpr double itemCornerRadius = Radius::tiny;
    static constexpr double menuInset = 5;
    static constexpr double menuItemHeight = 26;
    static constexpr double menuItemPadding = 12;
    static constexpr double menuTextSize = 13;
    static constexpr double tipTextSize = 12;
    static constexpr double disabledTextOpacity = 0.72;

    struct Look {
        SRGBColor ground; // the panel under the skin's fill
        SRGBColor stroke;
        SRGBColor text;
        SRGBColor highlight; // the item under the pointer or the keys
        SRGBColor disabledText;
        friend bool operator==(const Look &, const Look &) = default;
    };
    static Look look(const SkinPalette &palette);
    static FontDescription menuFont() { return sized(menuTextSize); }
    static FontDescription tipFont() { return sized(tipTextSize); }
    // The same look as style sheets for a QMenu and a help tip's label.
    static QString menuStyleSheet(const SkinPalette &palette);
    static QString tipStyleSheet(const SkinPalette &palette);
    // A small dialog of widgets (the consent question) on the same panel, in
    // the menus' type.
    static QString dialogStyleSheet(const SkinPalette &palette);

    using QObject::QObject;
    qreal radius() const { return popoverRadius; }
    qreal menuRadius() const { return menuCornerRadius; }
    qreal itemRadius() const { return itemCornerRadius; }
    qreal menuPadding() const { return menuInset; }
    qreal itemHeight() const { return menuItemHeight; }
    qreal itemPadding() const { return menuItemPadding; }
    Q_INVOKABLE QColor ground(const SkinPalette &palette) const;
    Q_INVOKABLE QColor stroke(const SkinPalette &palette) const;
    Q_INVOKABLE QColor highlight(const SkinPalette &palette) const;
    Q_INVOKABLE QColor text(const SkinPalette &palette, bool enabled) const;
    Q_INVOKABLE QFont menuFont(bool emphasized) const;

private:
    static FontDescription sized(double size)
    {
        FontDescription font;
        font.size = size;
        return font;
    }
};
