#include "DesktopStacking.h"

#include <QRectF>
#include <algorithm>
#include <cmath>

namespace {
bool seen(const StackedWindow &window)
{
    return window.viewable && window.onShownDesktop && !window.hidden && !window.furniture;
}
} // namespace

QRect DisplayPixels::native() const
{
    return QRect(geometry.topLeft(),
        QSize(int(std::lround(geometry.width() * ratio)), int(std::lround(geometry.height() * ratio))));
}

QRect DisplayPixels::toLogical(const QRect &pixels) const
{
    if (ratio == 1)
        return pixels;
    const QPointF origin = geometry.topLeft();
    return QRectF(origin + (QPointF(pixels.topLeft()) - origin) / ratio, QSizeF(pixels.size()) / ratio)
        .toAlignedRect();
}

namespace DesktopStacking {

bool onShownDesktop(std::optional<std::uint32_t> desktop, std::optional<std::uint32_t> shown)
{
    return !shown || !desktop || *desktop == everyDesktop || *desktop == *shown;
}

const StackedWindow *topmostOn(const std::vector<StackedWindow> &stack, const QRect &display)
{
    const auto found = std::find_if(stack.rbegin(), stack.rend(),
        [&display](const StackedWindow &window) { return seen(window) && window.area.intersects(display); });
    return found == stack.rend() ? nullptr : &*found;
}

std::optional<QRect> fullScreenOn(const std::vector<StackedWindow> &stack, const QRect &display)
{
    const StackedWindow *top = topmostOn(stack, display);
    if (!top || !top->fullScreen)
        return std::nullopt;
    return top->area.intersected(display);
}

QList<QRect> fullScreenAreas(const std::vector<StackedWindow> &stack, const QList<DisplayPixels> &displays)
{
    QList<QRect> areas;
    for (const DisplayPixels &display : displays) {
        if (const std::optional<QRect> covered = fullScreenOn(stack, display.native()))
            areas.append(display.toLogical(*covered));
    }
    return areas;
}

bool managedAbove(
    const std::vector<TopLevel> &children, const QSet<std::uint32_t> &frames, std::uint32_t window)
{
    const auto at = std::find_if(
        children.begin(), children.end(), [window](const TopLevel &child) { return child.id == window; });
    if (at == children.end())
        return false;
    return std::any_of(std::next(at), children.end(),
        [&frames](const TopLevel &child) { return child.viewable && frames.contains(child.id); });
}

Restack raise(const std::vector<TopLevel> &children, const QSet<std::uint32_t> &frames,
    const QSet<std::uint32_t> &own, std::uint32_t window)
{
    const auto managed = std::find_if(children.rbegin(), children.rend(), [&](const TopLevel &child) {
        return child.id != window && child.viewable && frames.contains(child.id);
    });
    if (managed != children.rend())
        return Restack{managed->id, true};
    const auto foreign = std::find_if(children.begin(), children.end(), [&](const TopLevel &child) {
        return child.id != window && child.viewable && child.overrideRedirect && !own.contains(child.id);
    });
    if (foreign != children.end())
        return Restack{foreign->id, false};
    return Restack{};
}

std::uint32_t focusTarget(const std::vector<StackedWindow> &stack, std::uint32_t previous)
{
    if (previous != 0) {
        const auto found = std::find_if(stack.begin(), stack.end(),
            [previous](const StackedWindow &window) { return window.id == previous; });
        if (found != stack.end() && seen(*found))
            return previous;
    }
    const auto top = std::find_if(stack.rbegin(), stack.rend(), seen);
    return top == stack.rend() ? 0 : top->id;
}

} // namespace DesktopStacking
