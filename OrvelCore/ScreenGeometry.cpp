#include "ScreenGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
// The usable width of a display is its visible width less this side margin.
constexpr double sideMargin = 24;
// Height of the compact bar, of the header without a notch and of the skill peek strip.
constexpr double barHeight = 38;
// The compact bar hangs this far below the visible top of a display without a notch.
constexpr double compactTopGap = 6;
// Room of the skill bar: both wings beside the header, the row under the body,
// which is also the least width of a peeking panel.
constexpr double skillWingsWidth = 2 * SkillLayout::wingWidth;
constexpr double skillRowHeight = SkillLayout::rowHeight;
constexpr double skillRowWidth = SkillLayout::rowWidth;

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0;
}

double positiveOrZero(double value)
{
    return std::isfinite(value) && value > 0 ? value : 0;
}

Rect sanitizedRect(const Rect &rect)
{
    return Rect(finiteOrZero(rect.origin.x), finiteOrZero(rect.origin.y), finiteOrZero(rect.size.width),
        finiteOrZero(rect.size.height))
        .standardized();
}

// Widens w so the panel reaches equally far past both sides of the pill, in whole points.
double centredOnPill(double width, double span)
{
    return span < width ? span + 2 * std::ceil((width - span) / 2) : width;
}
} // namespace

ScreenGeometry ScreenGeometry::sanitized() const
{
    ScreenGeometry result;
    result.frame = sanitizedRect(frame);
    result.visibleFrame = sanitizedRect(visibleFrame);
    result.notchWidth = positiveOrZero(notchWidth);
    result.topInset = positiveOrZero(topInset);
    if (notchMinX && std::isfinite(*notchMinX))
        result.notchMinX = notchMinX;
    return result;
}

double ScreenGeometry::span() const
{
    return positiveOrZero(notchWidth) + 2 * notchCoverWing;
}

double ScreenGeometry::available() const
{
    // Never negative, so nothing derived from it can be.
    return std::max(sanitizedRect(visibleFrame).width() - sideMargin, 0.0);
}

bool ScreenGeometry::hasNotch() const
{
    return positiveOrZero(notchWidth) > 0 && positiveOrZero(topInset) > 0;
}

double ScreenGeometry::notchLeft() const
{
    const ScreenGeometry g = sanitized();
    return g.notchMinX ? *g.notchMinX : g.frame.midX() - g.notchWidth / 2;
}

double ScreenGeometry::pillMinX() const
{
    return std::floor(notchLeft() - notchCoverWing);
}

Size ScreenGeometry::compactSize() const
{
    return hasNotch() ? Size{span(), positiveOrZero(topInset)} : Size{compactPlayerWidth, barHeight};
}

double ScreenGeometry::openNotchHeaderWidth() const
{
    return hasNotch() ? span() : compactPlayerWidth;
}

double ScreenGeometry::bodyGap() const
{
    return hasNotch() ? notchBodyGap : 0;
}

double ScreenGeometry::headerHeight() const
{
    return hasNotch() ? positiveOrZero(topInset) : barHeight;
}

SkillPlacement ScreenGeometry::resolvedPlacement(SkillChrome skills) const
{
    if (skills.placement != SkillPlacement::wings)
        return skills.placement;
    const double withWings = openNotchHeaderWidth() + skillWingsWidth;
    return withWings <= available() ? SkillPlacement::wings : SkillPlacement::row;
}

double ScreenGeometry::headerWidth(bool expanded, SkillChrome skills) const
{
    if (expanded && resolvedPlacement(skills) == SkillPlacement::wings)
        return openNotchHeaderWidth() + skillWingsWidth;
    return openNotchHeaderWidth();
}

double ScreenGeometry::bodyHeight(SkillChrome skills) const
{
    return resolvedPlacement(skills) == SkillPlacement::row ? notchContentHeight + skillRowHeight
                                                            : notchContentHeight;
}

Size ScreenGeometry::panelSize(bool expanded, SkillChrome skills, bool announcement) const
{
    const bool notched = hasNotch();
    const double avail = available();
    if (expanded) {
        double width = std::min(avail, std::max(expandedWidth, headerWidth(true, skills)));
        if (notched)
            width = centredOnPill(width, span());
        return {width, bodyGap() + headerHeight() + bodyHeight(skills)};
    }
    if (skills.placement == SkillPlacement::peek && skills.peeking) {
        const double base = notched ? span() : compactPlayerWidth;
        double width = std::min(avail, std::max(base, skillRowWidth));
        if (notched)
            width = centredOnPill(width, span());
        return {width, headerHeight() + barHeight};
    }
    if (notched) {
        const double strip = announcement ? announcementHeight + announcementGap : 0;
        return {std::min(avail, span()), positiveOrZero(topInset) + strip};
    }
    return {std::min(avail, compactPlayerWidth), barHeight};
}

Rect ScreenGeometry::notchFrame(bool expanded, SkillChrome skills, bool announcement) const
{
    const ScreenGeometry g = sanitized();
    const Size size = g.panelSize(expanded, skills, announcement);
    double x = 0;
    double top = 0;
    if (g.hasNotch()) {
        // Hangs from the very top of the display, centred on the pill.
        top = g.frame.maxY();
        x = g.pillMinX() - (size.width - g.span()) / 2;
    } else {
        top = g.visibleFrame.maxY() - compactTopGap;
        x = g.frame.midX() - size.width / 2;
    }
    return Rect(x, top - size.height, size.width, size.height);
}

Rect ScreenGeometry::sidebarFrame(bool expanded) const
{
    const Rect v = sanitizedRect(visibleFrame);
    const double width = expanded ? std::max(std::min(v.width() - 40, 344.0), 0.0) : 20;
    const double height = std::max(std::min(v.height() - 40, expanded ? 728.0 : 92.0), 0.0);
    const double x = expanded ? v.maxX() - width - 12 : v.maxX() - 20 - 2;
    return Rect(x, v.midY() - height / 2, width, height);
}

Rect ScreenGeometry::sidebarTabPlace() const
{
    const Rect open = sidebarFrame(true);
    const Rect tab = sidebarFrame(false);
    const double right = sanitizedRect(visibleFrame).maxX();
    return Rect(open.maxX(), tab.minY(), std::max(right - open.maxX(), 0.0), tab.height());
}

void PanelInteraction::togglePin()
{
    m_pinned = !m_pinned;
    if (m_pinned)
        m_expanded = true;
}

void PanelInteraction::endInteraction()
{
    m_interactionCount = std::max(m_interactionCount - 1, 0);
}

void PanelInteraction::collapseIfAllowed()
{
    if (!m_hovered && !m_pinned && m_interactionCount == 0)
        m_expanded = false;
}
