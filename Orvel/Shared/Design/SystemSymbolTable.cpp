#include "SystemSymbol.h"

// The system symbols' drawings, in the glyph table's path programs (24-unit
// grid, y downwards; 0 move, 1 line, 2 quad, 3 cubic, 4 close). The circle's
// ring and the check are holes of even-odd layers.
namespace {
constexpr double circleRing[] = {0, 24, 12, 3, 24, 18.627, 18.627, 24, 12, 24, 3, 5.373, 24, 0, 18.627, 0, 12,
    3, 0, 5.373, 5.373, 0, 12, 0, 3, 18.627, 0, 24, 5.373, 24, 12, 4, 0, 22.1, 12, 3, 22.1, 6.422, 17.578,
    1.9, 12, 1.9, 3, 6.422, 1.9, 1.9, 6.422, 1.9, 12, 3, 1.9, 17.578, 6.422, 22.1, 12, 22.1, 3, 17.578, 22.1,
    22.1, 17.578, 22.1, 12, 4};
constexpr double checkmarkCircleFill[] = {0, 24, 12, 3, 24, 18.627, 18.627, 24, 12, 24, 3, 5.373, 24, 0,
    18.627, 0, 12, 3, 0, 5.373, 5.373, 0, 12, 0, 3, 18.627, 0, 24, 5.373, 24, 12, 4, 0, 7.984, 11.416, 1,
    10.36, 13.792, 1, 15.978, 7.656, 3, 16.444, 7.147, 17.235, 7.112, 17.744, 7.578, 3, 18.253, 8.044, 18.288,
    8.835, 17.822, 9.344, 1, 10.44, 17.408, 1, 6.216, 13.184, 3, 5.728, 12.696, 5.728, 11.904, 6.216, 11.416,
    3, 6.704, 10.928, 7.496, 10.928, 7.984, 11.416, 4};
} // namespace

std::vector<GlyphLayer> SystemSymbol::layers(const QString &name)
{
    if (name == QLatin1String("circle"))
        return {{true, circleRing}};
    if (name == QLatin1String("checkmark.circle.fill"))
        return {{true, checkmarkCircleFill}};
    return {};
}
