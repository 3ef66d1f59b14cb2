#include "PlayerOutline.h"

#include "KitShape.h"

QPainterPath PlayerOutline::path(const QRectF &rect) const
{
    const QRectF inner = rect.adjusted(insetAmount, insetAmount, -insetAmount, -insetAmount);
    if (!(inner.width() > 0) || !(inner.height() > 0))
        return {};
    // The kit's rounded rectangle limits each radius to 0...half the shorter side.
    return Corners{topLeadingRadius, topTrailingRadius, bottomTrailingRadius, bottomLeadingRadius}
        .inset(insetAmount)
        .path(inner);
}

PlayerOutline PlayerOutline::inset(double amount) const
{
    PlayerOutline copy = *this;
    copy.insetAmount += amount;
    return copy;
}
