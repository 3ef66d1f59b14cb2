#include "Typography.h"

#include <cmath>

QFont FontDescription::toQFont() const
{
    QFont result(design == FontDesign::monospaced ? monospacedFamily : systemFamily);
    result.setStyleHint(design == FontDesign::monospaced ? QFont::Monospace : QFont::SansSerif);
    if (design == FontDesign::rounded) {
        // The rounded family ships its lighter and middle weights as families of their own;
        // without it the system font stands in.
        QStringList families;
        const FontWeight w = weight.value_or(FontWeight::regular);
        if (w <= FontWeight::light)
            families << roundedFamily + QStringLiteral(" Light");
        else if (w == FontWeight::medium)
            families << roundedFamily + QStringLiteral(" Medium");
        families << roundedFamily << systemFamily;
        result.setFamilies(families);
    }
    // QFont takes whole pixels; fractional sizes round to the nearest.
    result.setPixelSize(std::max(1, int(std::lround(std::isfinite(size) ? size : 13))));
    result.setWeight(QFont::Weight(int(weight.value_or(FontWeight::regular))));
    // Tabular figures need font features, which this Qt cannot select; the
    // flag stays in the description so readouts can be told apart.
    return result;
}

FontDescription font(TextRole role)
{
    using R = TextRole;
    switch (role) {
    case R::hero:
        return {34, FontWeight::semibold};
    case R::title:
        return {28, FontWeight::semibold};
    case R::titleSmall:
        return {22, FontWeight::semibold};
    case R::headline:
        return {17, FontWeight::semibold};
    case R::subhead:
        return {14, FontWeight::semibold};
    case R::body:
        return {13, std::nullopt};
    case R::callout:
        return {12, std::nullopt};
    case R::caption:
        return {11, std::nullopt};
    case R::footnote:
        return {10, std::nullopt};
    case R::micro:
        return {9, std::nullopt};
    }
    return {};
}

double tracking(TextRole role)
{
    switch (role) {
    case TextRole::hero:
        return -1.1;
    case TextRole::title:
        return -0.8;
    case TextRole::titleSmall:
        return -0.5;
    case TextRole::headline:
        return -0.2;
    default:
        return 0;
    }
}

QFont textRole(TextRole role)
{
    QFont result = font(role).toQFont();
    result.setLetterSpacing(QFont::AbsoluteSpacing, tracking(role));
    return result;
}

FontDescription Font::display(double size)
{
    return {size, size >= blackFrom ? FontWeight::black : FontWeight::heavy};
}

double Font::displayTracking(double size)
{
    return size * displayTrackingFactor;
}

FontDescription Font::numeric(double size)
{
    return {size, FontWeight::thin, FontDesign::standard, true};
}

FontDescription Font::mono(double size)
{
    return {size, std::nullopt, FontDesign::monospaced};
}

QFont Typography::role(const QString &name) const
{
    return textRole(fromRawValue<TextRole>(name).value_or(TextRole::body));
}

qreal Typography::tracking(const QString &name) const
{
    return ::tracking(fromRawValue<TextRole>(name).value_or(TextRole::body));
}

QFont Typography::display(qreal size, bool tracked) const
{
    QFont result = Font::display(size).toQFont();
    if (tracked)
        result.setLetterSpacing(QFont::AbsoluteSpacing, Font::displayTracking(size));
    return result;
}
