#pragma once

#include "RawEnum.h"

#include <QFont>
#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <algorithm>
#include <optional>

// Corner radii of the design system, in points (Qt logical pixels).
class Radius : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(qreal tiny READ tinyValue CONSTANT)
    Q_PROPERTY(qreal small READ smallValue CONSTANT)
    Q_PROPERTY(qreal medium READ mediumValue CONSTANT)
    Q_PROPERTY(qreal large READ largeValue CONSTANT)
    Q_PROPERTY(qreal xLarge READ xLargeValue CONSTANT)
    Q_PROPERTY(qreal xxLarge READ xxLargeValue CONSTANT)

public:
    static constexpr double tiny = 6;
    static constexpr double small = 9;
    static constexpr double medium = 12;
    static constexpr double large = 18;
    static constexpr double xLarge = 24;
    static constexpr double xxLarge = 28;

    using QObject::QObject;
    qreal tinyValue() const { return tiny; }
    qreal smallValue() const { return small; }
    qreal mediumValue() const { return medium; }
    qreal largeValue() const { return large; }
    qreal xLargeValue() const { return xLarge; }
    qreal xxLargeValue() const { return xxLarge; }
};

// Weights by their usual names; the numbers are the OpenType weight classes.
// Ultra-light is the lightest and thin the next one up, as the system font
// orders them (the reverse of OpenType's names for 100 and 200).
enum class FontWeight {
    ultraLight = 100,
    thin = 200,
    light = 300,
    regular = 400,
    medium = 500,
    semibold = 600,
    bold = 700,
    heavy = 800,
    black = 900,
};

enum class FontDesign { standard, monospaced, rounded };

// A font as the design system names it: the system font (Inter), the
// monospaced design (JetBrains Mono) or the rounded one (Quicksand), its size
// in points and weight.
struct FontDescription {
    static inline const QString systemFamily = QStringLiteral("Inter");
    static inline const QString monospacedFamily = QStringLiteral("JetBrains Mono");
    static inline const QString roundedFamily = QStringLiteral("Quicksand");

    double size = 13;
    std::optional<FontWeight> weight; // none: the family's default weight
    FontDesign design = FontDesign::standard;
    bool monospacedDigits = false;

    // A point of the design is a logical pixel here.
    QFont toQFont() const;

    friend bool operator==(const FontDescription &, const FontDescription &) = default;
};

enum class TextRole { hero, title, titleSmall, headline, subhead, body, callout, caption, footnote, micro };

template<>
struct RawEnumCases<TextRole> {
    using R = TextRole;
    static constexpr std::array<std::pair<R, std::string_view>, 10> cases{{
        {R::hero, "hero"},
        {R::title, "title"},
        {R::titleSmall, "titleSmall"},
        {R::headline, "headline"},
        {R::subhead, "subhead"},
        {R::body, "body"},
        {R::callout, "callout"},
        {R::caption, "caption"},
        {R::footnote, "footnote"},
        {R::micro, "micro"},
    }};
};

FontDescription font(TextRole role);
// Extra letter spacing in points; negative tightens.
double tracking(TextRole role);
// The role's font with its tracking applied to it (the font first, so the
// tracking acts on the role's font).
QFont textRole(TextRole role);

// Font builders for titles, readouts and monospaced text.
struct Font {
    static constexpr double blackFrom = 36;
    static constexpr double displayTrackingFactor = -0.03;

    // Black from 36 points up, heavy below.
    static FontDescription display(double size);
    static double displayTracking(double size);
    // Thin, with digits of equal width.
    static FontDescription numeric(double size);
    static FontDescription mono(double size);
};

// Text roles and fonts for QML.
class Typography : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;
    // The role's font with its tracking; the body font for an unknown role.
    Q_INVOKABLE QFont role(const QString &name) const;
    Q_INVOKABLE qreal tracking(const QString &name) const;
    // The display font with its tracking applied, as titles use it.
    Q_INVOKABLE QFont display(qreal size, bool tracked = true) const;
    Q_INVOKABLE qreal displayTracking(qreal size) const { return Font::displayTracking(size); }
    Q_INVOKABLE QFont numeric(qreal size) const { return Font::numeric(size).toQFont(); }
    Q_INVOKABLE QFont mono(qreal size) const { return Font::mono(size).toQFont(); }
    // The system font at a size and weight (the numbers of Font.Normal, Font.Medium, ...).
    Q_INVOKABLE QFont system(qreal size, int weight = 400) const
    {
        return FontDescription{size, FontWeight(std::clamp(weight, 100, 900) / 100 * 100)}.toQFont();
    }
    // The same in the rounded design.
    Q_INVOKABLE QFont rounded(qreal size, int weight = 400) const
    {
        return FontDescription{
            size, FontWeight(std::clamp(weight, 100, 900) / 100 * 100), FontDesign::rounded}
            .toQFont();
    }
};
