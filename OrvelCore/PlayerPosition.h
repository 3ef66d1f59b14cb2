#pragma once

#include "Geometry.h"

#include <QJsonValue>

// Where the user left the dragged top player, as fractions of the display's
// visible frame so it survives changes of resolution and arrangement.
// JSON form: {"centerX": number, "topY": number}, read as stored (unclamped).
struct PlayerPosition {
    // Horizontal centre: 0 at the visible frame's left edge, 1 at its right edge.
    double centerX;
    // Top edge of the folded player: 0 at the visible top, 1 at the bottom.
    double topY;

    // Both values clamped.
    PlayerPosition(double centerX, double topY);
    // The position of a player frame on a visible frame.
    PlayerPosition(const Rect &panelFrame, const Rect &visibleFrame);

    // Finite values clamp to 0 … 1; anything else falls back to the centre / the top.
    static double clampedCenterX(double value);
    static double clampedTopY(double value);

    QJsonValue toJson() const;
    static PlayerPosition fromJson(const QJsonValue &value);

    friend bool operator==(const PlayerPosition &, const PlayerPosition &) = default;
};
