#include "WindowOutline.h"

#include <QVector>
#include <algorithm>
#include <cmath>

namespace {
// How far a circular corner of radius r cuts into a row `depth` pixels (from
// the row's centre) from the corner's straight edge.
double cut(double radius, double depth)
{
    if (radius <= 0 || depth >= radius)
        return 0;
    const double dy = radius - depth;
    return radius - std::sqrt(std::max(radius * radius - dy * dy, 0.0));
}

QRegion pieceRegion(const WindowOutline::Piece &piece, qreal ratio)
{
    const int left = qRound(piece.rect.left() * ratio);
    const int top = qRound(piece.rect.top() * ratio);
    const int right = qRound(piece.rect.right() * ratio);
    const int bottom = qRound(piece.rect.bottom() * ratio);
    if (right <= left || bottom <= top)
        return {};
    const double limit = std::min(right - left, bottom - top) / 2.0;
    const double topRadius = std::clamp(piece.topRadius * ratio, 0.0, limit);
    const double bottomRadius = std::clamp(piece.bottomRadius * ratio, 0.0, limit);

    QVector<QRect> rows;
    for (int y = top; y < bottom; ++y) {
        const double centre = y + 0.5;
        const double inset = std::max(cut(topRadius, centre - top), cut(bottomRadius, bottom - centre));
        // Pixels whose centres lie between the two edges of the row.
        const int first = int(std::ceil(left + inset - 0.5));
        const int last = int(std::floor(right - inset - 0.5));
        if (last < first)
            continue;
        if (!rows.isEmpty() && rows.last().left() == first && rows.last().right() == last
            && rows.last().bottom() == y - 1)
            rows.last().setBottom(y);
        else
            rows.append(QRect(first, y, last - first + 1, 1));
    }
    QRegion region;
    region.setRects(rows.constData(), int(rows.size()));
    return region;
}
} // namespace

QRegion WindowOutline::region(qreal devicePixelRatio) const
{
    QRegion all;
    for (const Piece &piece : pieces)
        all |= pieceRegion(piece, devicePixelRatio);
    return all;
}
