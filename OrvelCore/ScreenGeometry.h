#pragma once

#include "Geometry.h"
#include "PlayerPosition.h"
#include "SkillBar.h"

#include <optional>

// The measurements of one display and every size and frame of the panels on it,
// so the window code only places what it is given. Screen points, y up.
//
// Unusable measurements (non-finite numbers, negative notch sizes) count as
// absent, and no result is negative or non-finite, however small the display.
struct ScreenGeometry {
    Rect frame;
    // The display without the menu bar and the Dock.
    Rect visibleFrame;
    // Width of the camera housing at the top edge; 0 without one.
    double notchWidth = 0;
    // Height of the menu bar beside the housing; 0 without one.
    double topInset = 0;
    // Left edge of the housing, when the system reports it.
    std::optional<double> notchMinX;

    ScreenGeometry() = default;
    ScreenGeometry(Rect frame_, Rect visibleFrame_, double notchWidth_, double topInset_,
        std::optional<double> notchMinX_ = std::nullopt)
        : frame(frame_)
        , visibleFrame(visibleFrame_)
        , notchWidth(notchWidth_)
        , topInset(topInset_)
        , notchMinX(notchMinX_)
    {
    }

    static constexpr double notchContentHeight = 184;
    static constexpr double compactPlayerWidth = 284;
    static constexpr double detachedHeaderWidth = 284;
    static constexpr double notchCoverWing = 52;
    static constexpr double notchIndicatorWing = 52;
    static constexpr double notchWingWidth = 44;
    static constexpr double announcementHeight = 28;
    static constexpr double announcementGap = 6;
    static constexpr double notchBodyGap = 6;
    static constexpr double expandedWidth = 620;
    // How close to home, sideways and below the visible top, a stored position snaps back.
    static constexpr Size homeSnapDistance{100, 30};

    bool hasNotch() const;
    double notchLeft() const;
    // Left edge of the pill around the housing.
    double pillMinX() const;
    Size compactSize() const;
    double openNotchHeaderWidth() const;
    double bodyGap() const;
    double headerHeight() const;

    // The placement actually used: wings fall back to a row when the display is too narrow.
    SkillPlacement resolvedPlacement(SkillChrome skills) const;
    double headerWidth(bool expanded, SkillChrome skills) const;
    double bodyHeight(SkillChrome skills) const;
    // Size of the top player.
    Size panelSize(bool expanded, SkillChrome skills, bool announcement) const;
    // Frame of the top player at home: under the notch, or at the top centre.
    Rect notchFrame(bool expanded, SkillChrome skills, bool announcement) const;
    // Frame of the right-edge sidebar.
    Rect sidebarFrame(bool expanded) const;
    // The open sidebar stops 12 points short of the edge, the folded tab 2: the
    // strip beside the open sidebar, to the edge at the tab's height, where the
    // pointer that opened the sidebar may still rest.
    Rect sidebarTabPlace() const;

    // This display laid out as if it had no notch, for a player away from home.
    ScreenGeometry detached() const;
    // Whether a stored position is close enough to home to count as home.
    bool snapsHome(const PlayerPosition &position) const;
    // The position to honour: nothing when there is none or it snaps home.
    std::optional<PlayerPosition> anchored(const std::optional<PlayerPosition> &position) const;
    // A player left in the lower half unfolds upward.
    bool opensUpward(const std::optional<PlayerPosition> &position) const;
    // Frame of the top player: at home without a position, otherwise where it
    // was left, kept inside the visible frame.
    Rect playerFrame(bool expanded, const std::optional<PlayerPosition> &position, SkillChrome skills,
        bool announcement) const;

    friend bool operator==(const ScreenGeometry &, const ScreenGeometry &) = default;

private:
    // A copy with unusable measurements replaced: non-finite numbers by 0 (or
    // absent), rectangles standardized.
    ScreenGeometry sanitized() const;
    double span() const;
    double available() const;
};

// The open, pinned and hovered state of one panel, and how many interactions
// inside it (begun and ended in pairs) keep it open.
class PanelInteraction {
public:
    bool expanded() const { return m_expanded; }
    bool pinned() const { return m_pinned; }
    bool hovered() const { return m_hovered; }
    int interactionCount() const { return m_interactionCount; }

    void pointer(bool inside) { m_hovered = inside; }
    void open() { m_expanded = true; }
    void fold() { m_expanded = false; }
    // Pinning also opens; unpinning leaves the panel as it is.
    void togglePin();
    void beginInteraction() { ++m_interactionCount; }
    void endInteraction();
    // Folds unless the pointer, a pin or a running interaction holds the panel open.
    void collapseIfAllowed();
    void dismiss() { *this = PanelInteraction(); }

    friend bool operator==(const PanelInteraction &, const PanelInteraction &) = default;

private:
    bool m_expanded = false;
    bool m_pinned = false;
    bool m_hovered = false;
    int m_interactionCount = 0;
};
