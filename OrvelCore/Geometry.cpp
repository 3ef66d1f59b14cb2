#include "Geometry.h"

#include <algorithm>
#include <cmath>

double Rect::minX() const
{
    return std::min(origin.x, origin.x + size.width);
}

double Rect::midX() const
{
    return origin.x + size.width / 2;
}

double Rect::maxX() const
{
    return std::max(origin.x, origin.x + size.width);
}

double Rect::minY() const
{
    return std::min(origin.y, origin.y + size.height);
}

double Rect::midY() const
{
    return origin.y + size.height / 2;
}

double Rect::maxY() const
{
    return std::max(origin.y, origin.y + size.height);
}

double Rect::width() const
{
    return std::abs(size.width);
}

double Rect::height() const
{
    return std::abs(size.height);
}

Rect Rect::standardized() const
{
    return Rect(minX(), minY(), width(), height());
}

Rect Rect::insetBy(double dx, double dy) const
{
    const Rect r = standardized();
    const auto axis = [](double min, double length, double inset, double &newMin, double &newLength) {
        if (length - 2 * inset >= 0) {
            newMin = min + inset;
            newLength = length - 2 * inset;
        } else {
            newMin = min + length / 2;
            newLength = 0;
        }
    };
    Rect result;
    axis(r.origin.x, r.size.width, dx, result.origin.x, result.size.width);
    axis(r.origin.y, r.size.height, dy, result.origin.y, result.size.height);
    return result;
}

Rect Rect::offsetBy(double dx, double dy) const
{
    return Rect(origin.x + dx, origin.y + dy, size.width, size.height);
}

bool Rect::intersects(const Rect &other) const
{
    if (isEmpty() || other.isEmpty())
        return false;
    return std::max(minX(), other.minX()) < std::min(maxX(), other.maxX())
        && std::max(minY(), other.minY()) < std::min(maxY(), other.maxY());
}

bool Rect::contains(Point point) const
{
    return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
}

bool Rect::contains(const Rect &other) const
{
    if (isEmpty() || other.isEmpty())
        return false;
    return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY()
        && other.maxY() <= maxY();
}
