#pragma once

#include "ArtworkPalette.h"
#include "Skin.h"

#include <QColor>
#include <QLinearGradient>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// A colour in sRGB with an opacity, each 0...1, kept in doubles so that the
// derived colours compare exactly; QColor only where something is drawn.
struct SRGBColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double opacity = 1;

    static SRGBColor of(const ArtworkPalette::Swatch &swatch)
    {
        return {swatch.red, swatch.green, swatch.blue, 1};
    }
    static SRGBColor white(double opacity) { return {1, 1, 1, opacity}; }
    static SRGBColor black() { return {0, 0, 0, 1}; }
    static SRGBColor of(const QColor &color);

    SRGBColor withOpacity(double value) const { return {red, green, blue, value}; }
    ArtworkPalette::Swatch swatch() const { return {red, green, blue}; }
    QColor toQColor() const;

    friend bool operator==(const SRGBColor &, const SRGBColor &) = default;
};

// The brand's two colours and their gradients, from the named assets.
struct Brand {
    static const SRGBColor &green();
    static const SRGBColor &cyan();
    // [green, cyan] from the top-leading to the bottom-trailing corner of the filled shape.
    static const QLinearGradient &gradient();
    // The same colours from the leading to the trailing edge.
    static const QLinearGradient &horizontalGradient();
};

// The glow colours of the current artwork, or the brand's.
struct Aura {
    Q_GADGET
    QML_VALUE_TYPE(aura)
    Q_PROPERTY(QColor primary READ primaryColor CONSTANT)
    Q_PROPERTY(QColor secondary READ secondaryColor CONSTANT)
    Q_PROPERTY(QColor field READ fieldColor CONSTANT)
    Q_PROPERTY(QColor fieldDeep READ fieldDeepColor CONSTANT)
    Q_PROPERTY(QColor ink READ inkColor CONSTANT)
    Q_PROPERTY(QString key MEMBER key CONSTANT)

public:
    static constexpr double fieldValue = 0.27;
    static constexpr double fieldDeepValue = 0.17;
    static constexpr double fieldSaturationLift = 0.1;
    static constexpr double fieldSaturationCap = 0.8;
    static constexpr double inkSaturationCap = 0.45;
    static constexpr double inkValue = 0.94;
    static inline const QString brandKey = QStringLiteral("brand");

    SRGBColor primary;
    SRGBColor secondary;
    SRGBColor field;
    SRGBColor fieldDeep;
    SRGBColor ink;
    QString key;

    // The brand aura, so that a value nobody set draws like the default environment.
    Aura();
    Aura(const ArtworkPalette::Swatch &primary, const ArtworkPalette::Swatch &secondary,
        const std::optional<ArtworkPalette::Swatch> &field, const QString &key);
    // The aura of an artwork palette; the brand aura when there is none.
    Aura(const std::optional<ArtworkPalette> &palette, const std::optional<QString> &key);

    static const Aura &brand();

    QColor primaryColor() const { return primary.toQColor(); }
    QColor secondaryColor() const { return secondary.toQColor(); }
    QColor fieldColor() const { return field.toQColor(); }
    QColor fieldDeepColor() const { return fieldDeep.toQColor(); }
    QColor inkColor() const { return ink.toQColor(); }

    friend bool operator==(const Aura &, const Aura &) = default;
};

// The twelve colours every view draws with, for one skin over one aura.
struct SkinPalette {
    Q_GADGET
    QML_VALUE_TYPE(skinPalette)
    Q_PROPERTY(QString skin READ skinName CONSTANT)
    Q_PROPERTY(QColor text READ textColor CONSTANT)
    Q_PROPERTY(QColor muted READ mutedColor CONSTANT)
    Q_PROPERTY(QColor faint READ faintColor CONSTANT)
    Q_PROPERTY(QColor accent READ accentColor CONSTANT)
    Q_PROPERTY(QColor onAccent READ onAccentColor CONSTANT)
    Q_PROPERTY(QColor ground READ groundColor CONSTANT)
    Q_PROPERTY(QColor groundDeep READ groundDeepColor CONSTANT)
    Q_PROPERTY(QColor panel READ panelColor CONSTANT)
    Q_PROPERTY(QColor fill READ fillColor CONSTANT)
    Q_PROPERTY(QColor fillStrong READ fillStrongColor CONSTANT)
    Q_PROPERTY(QColor stroke READ strokeColor CONSTANT)
    Q_PROPERTY(QColor rule READ ruleColor CONSTANT)

public:
    Skin skin = Skin::classico;
    SRGBColor text, muted, faint, accent, onAccent, ground, groundDeep, panel, fill, fillStrong, stroke, rule;

    // The classico palette over the brand aura.
    SkinPalette();
    SkinPalette(Skin skin, const Aura &aura);

    QString skinName() const { return toRawValue(skin); }
    QColor textColor() const { return text.toQColor(); }
    QColor mutedColor() const { return muted.toQColor(); }
    QColor faintColor() const { return faint.toQColor(); }
    QColor accentColor() const { return accent.toQColor(); }
    QColor onAccentColor() const { return onAccent.toQColor(); }
    QColor groundColor() const { return ground.toQColor(); }
    QColor groundDeepColor() const { return groundDeep.toQColor(); }
    QColor panelColor() const { return panel.toQColor(); }
    QColor fillColor() const { return fill.toQColor(); }
    QColor fillStrongColor() const { return fillStrong.toQColor(); }
    QColor strokeColor() const { return stroke.toQColor(); }
    QColor ruleColor() const { return rule.toQColor(); }

    friend bool operator==(const SkinPalette &, const SkinPalette &) = default;
};
