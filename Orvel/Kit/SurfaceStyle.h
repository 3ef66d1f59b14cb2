#pragma once

#include "KitShape.h"
#include "SkinPalette.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The borders and fills of panels and cards: the panel's hairline, the
// classico card's glassy box (rivista draws only a rule along the top), the
// fill of choice cards, and the one-point rule.
class SurfaceStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(qreal cardRadius READ cardRadius CONSTANT)
    Q_PROPERTY(qreal fillRadius READ fillRadius CONSTANT)
    Q_PROPERTY(qreal ruleHeight READ ruleHeight CONSTANT)

public:
    static constexpr double defaultCardRadius = 20;
    static constexpr double ruleHeightValue = 1;

    // White from the top to the bottom of the panel's inner border.
    static KitGradient panelBorder(Skin skin);
    // Classico's card box, from the top-leading to the bottom-trailing corner.
    static KitGradient cardFill();
    static KitGradient cardBorder();
    // Rivista cards have no box, only a rule along their top.
    static bool cardHasBox(Skin skin) { return skin == Skin::classico; }
    static SRGBColor fillOf(const SkinPalette &palette, bool strong);

    using QObject::QObject;
    qreal cardRadius() const { return defaultCardRadius; }
    qreal fillRadius() const;
    qreal ruleHeight() const { return ruleHeightValue; }

    Q_INVOKABLE QColor panelBorderTop(const QString &skin) const;
    Q_INVOKABLE QColor panelBorderBottom(const QString &skin) const;
    Q_INVOKABLE bool cardHasBox(const QString &skin) const;
    Q_INVOKABLE QVariantList cardFillColors() const;
    Q_INVOKABLE QVariantList cardBorderColors() const;
    Q_INVOKABLE QColor fill(const SkinPalette &palette, bool strong) const;
};
