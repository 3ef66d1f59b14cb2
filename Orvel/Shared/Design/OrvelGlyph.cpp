#include "OrvelGlyph.h"

#include <cmath>
#include <optional>

namespace {
// Codes are truncated toward zero; anything that does not fit an integer is
// not a code at all and ends the program.
std::optional<long long> codeOf(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 9.0e18)
        return std::nullopt;
    return static_cast<long long>(std::trunc(value));
}
} // namespace

int GlyphLayerShape::operandCount(double code)
{
    switch (codeOf(code).value_or(-1)) {
    case 0:
    case 1:
        return 3;
    case 2:
        return 5;
    case 3:
        return 7;
    default:
        return 1;
    }
}

QPainterPath GlyphLayerShape::path(const QRectF &rect) const
{
    const double side = std::min(rect.width(), rect.height());
    const double scale = side / 24.0;
    const double originX = rect.center().x() - side / 2;
    const double originY = rect.center().y() - side / 2;
    const auto &ops = layer.ops;
    const auto point
        = [&](std::size_t at) { return QPointF(originX + ops[at] * scale, originY + ops[at + 1] * scale); };

    QPainterPath path;
    bool hasCurrent = false; // a subpath has been started
    bool reopen = false; // the last subpath was closed
    QPointF subpathStart;
    std::size_t i = 0;
    while (i < ops.size()) {
        const auto code = codeOf(ops[i]);
        if (!code)
            break;
        const int count = operandCount(ops[i]);
        if (count > 1) {
            // A stored program never ends inside an operation; a damaged one
            // stops here rather than reading past its end or drawing NaNs.
            if (ops.size() - i < std::size_t(count))
                break;
            bool finite = true;
            for (int k = 1; k < count; ++k)
                finite = finite && std::isfinite(ops[i + k]);
            if (!finite)
                break;
        }
        if (*code == 0) {
            subpathStart = point(i + 1);
            path.moveTo(subpathStart);
            hasCurrent = true;
            reopen = false;
        } else if (*code >= 1 && *code <= 3) {
            const QPointF end = point(i + std::size_t(count) - 2);
            // After a close the next segment starts where that subpath began
            // (Qt would start it at the origin); with no current point at all
            // the segment only moves to its end.
            if (!hasCurrent) {
                subpathStart = end;
                path.moveTo(end);
                hasCurrent = true;
                i += std::size_t(count);
                continue;
            }
            if (reopen)
                path.moveTo(subpathStart);
            reopen = false;
            if (*code == 1)
                path.lineTo(end);
            else if (*code == 2)
                path.quadTo(point(i + 1), end);
            else
                path.cubicTo(point(i + 1), point(i + 3), end);
        } else if (hasCurrent && !reopen) {
            path.closeSubpath();
            reopen = true;
        }
        i += std::size_t(count);
    }
    return path;
}
