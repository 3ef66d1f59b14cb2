#pragma once

#include "SkinPalette.h"
#include "Typography.h"

#include <QFont>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// A font with the letter spacing it is drawn with.
struct TrackedFont {
    FontDescription font;
    double tracking = 0;

    QFont toQFont() const;
    friend bool operator==(const TrackedFont &, const TrackedFont &) = default;
};

// The kit's texts per skin: titles, time readouts, eyebrows and the small
// button texts. Rivista draws display type, classico the plain system face.
class SkinFonts : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static constexpr double classicoTitleTracking = -0.02;
    static constexpr double eyebrowTracking = 1.8;

    static TrackedFont title(Skin skin, double size);
    static TrackedFont time(Skin skin, double size);
    static SRGBColor timeColorOf(const SkinPalette &palette, bool emphasized);
    static TrackedFont eyebrow(Skin skin);
    // Classico capitalises the whole caption (full Unicode upper-casing).
    static QString eyebrowText(Skin skin, const QString &text);
    static TrackedFont textLink(Skin skin);

    using QObject::QObject;
    Q_INVOKABLE QFont title(const QString &skin, qreal size) const;
    Q_INVOKABLE QFont time(const QString &skin, qreal size) const;
    Q_INVOKABLE QColor timeColor(const SkinPalette &palette, bool emphasized) const;
    Q_INVOKABLE QFont eyebrow(const QString &skin) const;
    Q_INVOKABLE QString eyebrowText(const QString &skin, const QString &text) const;
    Q_INVOKABLE QFont textLink(const QString &skin) const;
    // The system font of a size and weight ("semibold", …; empty for the default).
    Q_INVOKABLE QFont system(qreal size, const QString &weight = {}) const;
};
