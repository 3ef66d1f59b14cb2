#pragma once

#include "Geometry.h"

#include <vector>

// Where the display map draws each display: the desktop's arrangement (y up)
// scaled to fit the map with a margin, centred, and flipped so the display
// highest on the desktop is drawn at the top. Tile positions are in the map's
// own coordinates (origin top left, y down). Pure.
struct DisplayMapLayout {
    // Free space left and right together, and above and below together.
    static constexpr double horizontalMargin = 24;
    static constexpr double verticalMargin = 12;
    // Each tile is this much smaller than its scaled display, so neighbours stand apart.
    static constexpr double tileGap = 6;
    static constexpr double minimumTile = 22;

    struct Tile {
        Point center;
        Size size;

        double x() const { return center.x - size.width / 2; }
        double y() const { return center.y - size.height / 2; }
        friend bool operator==(const Tile &, const Tile &) = default;
    };

    // The union of the frames; zero-sized for none.
    Rect bounds;
    double scale = 0;
    double offsetX = 0;
    double offsetY = 0;
    // One per frame, in the frames' order.
    std::vector<Tile> tiles;

    static DisplayMapLayout make(const std::vector<Rect> &frames, Size map);
};
