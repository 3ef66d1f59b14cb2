#pragma once

#include <QList>
#include <QRectF>
#include <QRegion>

// The shape a window draws, as rounded rectangles in the window's logical
// pixels: what a window system without a compositor must clip the window to,
// since it shows every clear pixel black there.
struct WindowOutline {
    struct Piece {
        QRectF rect;
        // Circular corners; each is limited to half the piece's shorter side.
        double topRadius = 0;
        double bottomRadius = 0;

        friend bool operator==(const Piece &, const Piece &) = default;
    };
    QList<Piece> pieces;

    static WindowOutline rounded(const QRectF &rect, double radius) { return {{{rect, radius, radius}}}; }

    // The pixels the outline covers at this pixel ratio, in device pixels: a
    // pixel belongs when its centre lies inside, so a corner's edge pixels
    // count where the drawing covers them at least half. One rectangle per
    // run of equal rows.
    QRegion region(qreal devicePixelRatio) const;

    friend bool operator==(const WindowOutline &, const WindowOutline &) = default;
};
