#pragma once

#include "SkinPalette.h"

#include <QPainterPath>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The translucent material behind the rivista player: a dark tint over
// whatever lies behind the window. Linux gives an application no blur of
// the desktop behind it, so the tint stands in for the frosted glass.
// Decorative: no pointer hits, hidden from accessibility.
class PlayerGlass : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT

public:
    static constexpr SRGBColor tint{0.08, 0.085, 0.095, 0.6};

    explicit PlayerGlass(QQuickItem *parent = nullptr);

    static void draw(QPainter &painter, const QPainterPath &shape);
    void paint(QPainter *painter) override;
};
