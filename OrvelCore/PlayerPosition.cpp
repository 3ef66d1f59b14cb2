#include "PlayerPosition.h"
#include "Json.h"
#include "ScreenGeometry.h"

#include <algorithm>
#include <cmath>

PlayerPosition::PlayerPosition(double centerX_, double topY_)
    : centerX(clampedCenterX(centerX_))
    , topY(clampedTopY(topY_))
{
}

PlayerPosition::PlayerPosition(const Rect &panelFrame, const Rect &visibleFrame)
    : PlayerPosition((panelFrame.midX() - visibleFrame.minX()) / std::max(visibleFrame.width(), 1.0),
        (visibleFrame.maxY() - panelFrame.maxY()) / std::max(visibleFrame.height(), 1.0))
{
}

double PlayerPosition::clampedCenterX(double value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.5;
}

double PlayerPosition::clampedTopY(double value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
}

QJsonValue PlayerPosition::toJson() const
{
    return QJsonObject{
        {QStringLiteral("centerX"), json::finite(centerX)}, {QStringLiteral("topY"), json::finite(topY)}};
}

PlayerPosition PlayerPosition::fromJson(const QJsonValue &value)
{
    const QJsonObject object = json::asObject(value);
    PlayerPosition result(0.5, 0);
    // Kept as stored: a hand-edited value outside 0 … 1 still says which half it is in.
    result.centerX = json::number(object, QStringLiteral("centerX"));
    result.topY = json::number(object, QStringLiteral("topY"));
    return result;
}

namespace {
// How far a placed player keeps from the sides and from the top and bottom of the visible frame.
constexpr double placedMarginX = 12;
constexpr double placedMarginY = 6;

bool inLowerHalf(const PlayerPosition &position)
{
    return position.topY > 0.5;
}
} // namespace

ScreenGeometry ScreenGeometry::detached() const
{
    return ScreenGeometry{frame, visibleFrame, 0, 0, std::nullopt};
}

bool ScreenGeometry::snapsHome(const PlayerPosition &position) const
{
    const ScreenGeometry g = sanitized();
    const Rect &v = g.visibleFrame;
    const double x = v.minX() + position.centerX * v.width();
    const double drop = position.topY * v.height();
    // Home is centred on the full frame, which may differ from the visible one.
    return drop <= homeSnapDistance.height && std::abs(x - g.frame.midX()) <= homeSnapDistance.width;
}

std::optional<PlayerPosition> ScreenGeometry::anchored(const std::optional<PlayerPosition> &position) const
{
    if (!position || snapsHome(*position))
        return std::nullopt;
    return position;
}

bool ScreenGeometry::opensUpward(const std::optional<PlayerPosition> &position) const
{
    return position && inLowerHalf(*position);
}

Rect ScreenGeometry::playerFrame(
    bool expanded, const std::optional<PlayerPosition> &position, SkillChrome skills, bool announcement) const
{
    if (!position)
        return notchFrame(expanded, skills, announcement);

    const ScreenGeometry away = sanitized().detached();
    const Rect &v = away.visibleFrame;
    const double cx = PlayerPosition::clampedCenterX(position->centerX);
    const double ty = PlayerPosition::clampedTopY(position->topY);
    const Rect allowed = v.insetBy(placedMarginX, placedMarginY);

    // A placed player never grows an announcement strip.
    const Size size = away.panelSize(expanded, skills, false);
    const double width = std::min(size.width, std::max(allowed.width(), 1.0));
    const double height = std::min(size.height, std::max(allowed.height(), 1.0));

    double x = v.minX() + cx * v.width() - width / 2;
    const double top = v.maxY() - ty * v.height();
    // In the lower half the header stays where the folded player was and the body opens above it.
    double y = inLowerHalf(*position) ? top - away.headerHeight() : top - height;

    x = std::min(std::max(x, allowed.minX()), allowed.maxX() - width);
    y = std::min(std::max(y, allowed.minY()), allowed.maxY() - height);
    return Rect(x, y, width, height);
}
