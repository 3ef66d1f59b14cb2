#pragma once

#include "PaintedPicture.h"
#include "SkinPalette.h"

#include <QPainterPath>
#include <QtQml/qqmlregistration.h>

// The translucent material behind the rivista player: a dark tint over
// whatever lies behind the window, which the panels ask the compositor to
// blur where it can (KWin); elsewhere the tint alone stands in for the
// frosted glass. Decorative: no pointer hits, hidden from accessibility.
class PlayerGlass : public PaintedPicture {
    Q_OBJECT
    QML_ELEMENT

public:
    static constexpr SRGBColor tint{0.08, 0.085, 0.095, 0.6};
    // Behind the idle header, whose own tint carries the user's idle opacity
    // (0.15 … 0.8): only a breath of shade, so that setting shows whole.
    static constexpr SRGBColor compactTint{0.08, 0.085, 0.095, 0.1};

    explicit PlayerGlass(QQuickItem *parent = nullptr);

    static void draw(QPainter &painter, const QPainterPath &shape);
    static void drawCompact(QPainter &painter, const QPainterPath &shape);
    void paint(QPainter *painter) override;
};
