#include "PopupStyle.h"

namespace {
// `top` laid over the opaque `bottom`.
SRGBColor over(const SRGBColor &top, const SRGBColor &bottom)
{
    const auto mix = [&](double t, double b) { return t * top.opacity + b * (1 - top.opacity); };
    return {mix(top.red, bottom.red), mix(top.green, bottom.green), mix(top.blue, bottom.blue), 1};
}

QString css(const SRGBColor &color)
{
    const QColor c = color.toQColor();
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}
} // namespace

PopupStyle::Look PopupStyle::look(const SkinPalette &palette)
{
    const SRGBColor panel = palette.panel.withOpacity(1);
    const SRGBColor ground = over(palette.fill, panel);
    // Disabled lines still say something ("No shortcuts yet"): the skin's
    // text, dimmed less than its muted colour, so they stay readable.
    return {ground, over(palette.stroke, ground), over(palette.text, ground),
        over(palette.fillStrong, ground), over(palette.text.withOpacity(disabledTextOpacity), ground)};
}

QString PopupStyle::menuStyleSheet(const SkinPalette &palette)
{
    const Look l = look(palette);
    return QStringLiteral("QMenu { background-color: %1; color: %2; border: 1px solid %3; padding: %4px; }"
                          "QMenu::item { padding: 5px %5px; border-radius: %6px; background: transparent; }"
                          "QMenu::item:selected { background-color: %7; color: %2; }"
                          "QMenu::item:disabled { color: %8; }"
                          "QMenu::separator { height: 1px; background: %3; margin: 4px 8px; }")
        .arg(css(l.ground), css(l.text), css(l.stroke))
        .arg(menuInset)
        .arg(menuItemPadding)
        .arg(itemCornerRadius)
        .arg(css(l.highlight), css(l.disabledText));
}

QString PopupStyle::tipStyleSheet(const SkinPalette &palette)
{
    const Look l = look(palette);
    return QStringLiteral(
        "QLabel { background-color: %1; color: %2; border: 1px solid %3; padding: 4px 8px; }")
        .arg(css(l.ground), css(l.text), css(l.stroke));
}

QString PopupStyle::dialogStyleSheet(const SkinPalette &palette)
{
    const Look l = look(palette);
    // Under a style sheet a child never inherits its parent's setFont(): the
    // type goes to every part through the sheet itself.
    const QFont type = menuFont().toQFont();
    return QStringLiteral("* { font-family: \"%1\"; font-size: %2px; }")
               .arg(type.family())
               .arg(type.pixelSize())
        + QStringLiteral("QDialog { background-color: %1; }"
                         "QLabel { color: %2; background: transparent; }"
                         "QPushButton { color: %2; background-color: %4; border: 1px solid %3; "
                         "border-radius: %5px; padding: 5px %6px; }"
                         "QPushButton:focus { border-color: %2; }"
                         "QPushButton:pressed { background-color: %1; }")
              .arg(css(l.ground), css(l.text), css(l.stroke), css(l.highlight))
              .arg(menuCornerRadius)
              .arg(menuItemPadding + 4);
}

QColor PopupStyle::ground(const SkinPalette &palette) const
{
    return look(palette).ground.toQColor();
}

QColor PopupStyle::stroke(const SkinPalette &palette) const
{
    return look(palette).stroke.toQColor();
}

QColor PopupStyle::highlight(const SkinPalette &palette) const
{
    return look(palette).highlight.toQColor();
}

QColor PopupStyle::text(const SkinPalette &palette, bool enabled) const
{
    const Look l = look(palette);
    return (enabled ? l.text : l.disabledText).toQColor();
}

QFont PopupStyle::menuFont(bool emphasized) const
{
    FontDescription font = menuFont();
    if (emphasized)
        font.weight = FontWeight::semibold;
    return font.toQFont();
}
