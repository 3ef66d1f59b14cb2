#include "DisplayMapLayout.h"

#include <algorithm>
#include <optional>

namespace {
// The smallest rectangle holding both; the first frame stands alone.
Rect unite(const std::optional<Rect> &sum, const Rect &frame)
{
    const Rect r = frame.standardized();
    if (!sum)
        return r;
    const double minX = std::min(sum->minX(), r.minX());
    const double minY = std::min(sum->minY(), r.minY());
    return Rect(minX, minY, std::max(sum->maxX(), r.maxX()) - minX, std::max(sum->maxY(), r.maxY()) - minY);
}
} // namespace

DisplayMapLayout DisplayMapLayout::make(const std::vector<Rect> &frames, Size map)
{
    DisplayMapLayout layout;
    std::optional<Rect> sum;
    for (const Rect &frame : frames)
        sum = unite(sum, frame);
    layout.bounds = sum.value_or(Rect());

    const Rect &u = layout.bounds;
    // Never negative: a map smaller than its margins (the first layout pass
    // at 0 x 0) would otherwise mirror the arrangement.
    layout.scale = std::max(std::min((map.width - horizontalMargin) / std::max(u.width(), 1.0),
                                (map.height - verticalMargin) / std::max(u.height(), 1.0)),
        0.0);
    const double s = layout.scale;
    layout.offsetX = (map.width - u.width() * s) / 2;
    layout.offsetY = (map.height - u.height() * s) / 2;

    for (const Rect &frame : frames) {
        const Point center{
            layout.offsetX + s * (frame.midX() - u.minX()), layout.offsetY + s * (u.maxY() - frame.midY())};
        const Size size{std::max(s * frame.width() - tileGap, minimumTile),
            std::max(s * frame.height() - tileGap, minimumTile)};
        layout.tiles.push_back({center, size});
    }
    return layout;
}
