#include "SkinFonts.h"

namespace {
Skin skinNamed(const QString &name)
{
    return skinFromStoredValue(name);
}
} // namespace

QFont TrackedFont::toQFont() const
{
    QFont result = font.toQFont();
    if (tracking != 0)
        result.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    return result;
}

TrackedFont SkinFonts::title(Skin skin, double size)
{
    if (skin == Skin::classico)
        return {{size, FontWeight::semibold}, size * classicoTitleTracking};
    return {Font::display(size), Font::displayTracking(size)};
}

TrackedFont SkinFonts::time(Skin skin, double size)
{
    return {skin == Skin::classico ? Font::mono(size) : Font::numeric(size), 0};
}

SRGBColor SkinFonts::timeColorOf(const SkinPalette &palette, bool emphasized)
{
    return palette.skin != Skin::classico && emphasized ? palette.accent : palette.muted;
}

TrackedFont SkinFonts::eyebrow(Skin skin)
{
    if (skin == Skin::classico)
        return {{10, FontWeight::semibold, FontDesign::monospaced}, eyebrowTracking};
    return {{11, FontWeight::bold}, 0};
}

QString SkinFonts::eyebrowText(Skin skin, const QString &text)
{
    // QString::toUpper maps ß to "SS" and the other one-to-many cases.
    return skin == Skin::classico ? text.toUpper() : text;
}

TrackedFont SkinFonts::textLink(Skin skin)
{
    return {{12, skin == Skin::classico ? FontWeight::regular : FontWeight::semibold}, 0};
}

QFont SkinFonts::title(const QString &skin, qreal size) const
{
    return title(skinNamed(skin), size).toQFont();
}

QFont SkinFonts::time(const QString &skin, qreal size) const
{
    return time(skinNamed(skin), size).toQFont();
}

QColor SkinFonts::timeColor(const SkinPalette &palette, bool emphasized) const
{
    return timeColorOf(palette, emphasized).toQColor();
}

QFont SkinFonts::eyebrow(const QString &skin) const
{
    return eyebrow(skinNamed(skin)).toQFont();
}

QString SkinFonts::eyebrowText(const QString &skin, const QString &text) const
{
    return eyebrowText(skinNamed(skin), text);
}

QFont SkinFonts::textLink(const QString &skin) const
{
    return textLink(skinNamed(skin)).toQFont();
}

QFont SkinFonts::system(qreal size, const QString &weight) const
{
    static const std::pair<const char *, FontWeight> weights[] = {{"ultraLight", FontWeight::ultraLight},
        {"thin", FontWeight::thin}, {"light", FontWeight::light}, {"regular", FontWeight::regular},
        {"medium", FontWeight::medium}, {"semibold", FontWeight::semibold}, {"bold", FontWeight::bold},
        {"heavy", FontWeight::heavy}, {"black", FontWeight::black}};
    FontDescription description;
    description.size = size;
    for (const auto &[name, value] : weights) {
        if (weight == QLatin1String(name))
            description.weight = value;
    }
    return description.toQFont();
}
