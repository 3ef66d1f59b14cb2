#include "WidgetGuideStyle.h"

#include "Localization.h"
#include "Typography.h"

WidgetGuideStyle::Look WidgetGuideStyle::look(Skin skin)
{
    if (skin == Skin::rivista)
        return {2, 1, true, true};
    return {4, 3, false, false};
}

QFont WidgetGuideStyle::titleFont(Skin skin)
{
    if (look(skin).displayTitle)
        return Font::display(15).toQFont();
    return FontDescription{14, FontWeight::semibold}.toQFont();
}

QStringList WidgetGuideStyle::placeholderKeys()
{
    return {QStringLiteral("Favorites"), QStringLiteral("Focus"), QStringLiteral("A good morning"),
        QStringLiteral("On repeat")};
}

QStringList WidgetGuideStyle::stepKeys()
{
    return {QStringLiteral("Right-click an empty area of your desktop."),
        QStringLiteral("Choose Edit Widgets, then search for Orvel."),
        QStringLiteral("Add Now Playing or Shortcuts in your preferred size.")};
}

WidgetGuideStyle::WidgetGuideStyle(QObject *parent)
    : QObject(parent)
{
}

void WidgetGuideStyle::setPalette(const SkinPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    emit changed();
}

QColor WidgetGuideStyle::fillColor() const
{
    return look(m_palette.skin).fillInText ? m_palette.textColor() : m_palette.accentColor();
}

QFont WidgetGuideStyle::numberFont() const
{
    return FontDescription{13, FontWeight::semibold, FontDesign::standard, true}.toQFont();
}

QStringList WidgetGuideStyle::placeholders() const
{
    QStringList texts;
    for (const QString &key : placeholderKeys())
        texts << localized(key);
    return texts;
}

QStringList WidgetGuideStyle::steps() const
{
    QStringList texts;
    for (const QString &key : stepKeys())
        texts << localized(key);
    return texts;
}
