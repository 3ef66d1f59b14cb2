#pragma once

#include <QPainterPath>
#include <QRectF>

// The top player's outline: a rectangle with four independent corner radii,
// small next to the header and large away from it. Circular corners; the
// surfaces clip and paint with its path.
struct PlayerOutline {
    double topLeadingRadius = 0;
    double bottomLeadingRadius = 0;
    double bottomTrailingRadius = 0;
    double topTrailingRadius = 0;
    // How far the shape stands inside the rectangle it is drawn in.
    double insetAmount = 0;

    // The outline in a y-down rectangle: the rectangle inset by insetAmount,
    // each radius less the inset and limited to 0...half the shorter side;
    // empty when nothing is left of the rectangle.
    QPainterPath path(const QRectF &rect) const;
    // A copy inset further, so that a border can be stroked inside the outline.
    PlayerOutline inset(double amount) const;

    friend bool operator==(const PlayerOutline &, const PlayerOutline &) = default;
};
