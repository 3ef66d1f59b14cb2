#pragma once

#include "Motion.h"
#include "PanelModel.h"
#include "Playback.h"
#include "RawEnum.h"
#include "ScreenGeometry.h"
#include "SkillBar.h"
#include "SkinPalette.h"
#include "Typography.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What the header column of the top player lies on: a base (nothing, the
// translucent glass or the skin's ground) under a tint of black or of the
// aura's field.
struct CompactGroundLook {
    enum class Base { none, glass, surfaceGround };
    enum class Tint { black, field };

    Base base = Base::none;
    Tint tint = Tint::black;
    double tintOpacity = 1;

    static constexpr double lightFloor = 0.62;
    static constexpr double fieldLift = 0.15;

    // The first matching rule: beside a notch always black; opaque, the skin's
    // ground (black in classico); translucent, glass under a tint of the idle
    // opacity, or without glass a denser tint where glass may not show.
    static CompactGroundLook of(
        bool translucent, double idleOpacity, bool notch, Skin skin, bool light, bool reduceTransparency);

    friend bool operator==(const CompactGroundLook &, const CompactGroundLook &) = default;
};

template<>
struct RawEnumCases<CompactGroundLook::Base> {
    using B = CompactGroundLook::Base;
    static constexpr std::array<std::pair<B, std::string_view>, 3> cases{
        {{B::none, "none"}, {B::glass, "glass"}, {B::surfaceGround, "surfaceGround"}}};
};

template<>
struct RawEnumCases<CompactGroundLook::Tint> {
    using T = CompactGroundLook::Tint;
    static constexpr std::array<std::pair<T, std::string_view>, 2> cases{
        {{T::black, "black"}, {T::field, "field"}}};
};

// One of the glyph keys every expanded surface carries.
struct PanelKey {
    enum class Action { settings, keepOpen, close };
    Action action;
    QString glyph;
    QString label; // the localisation key

    // Leading to trailing: with close, settings, keep open, close; without,
    // keep open, settings.
    static QList<PanelKey> keys(bool includesClose);
};

template<>
struct RawEnumCases<PanelKey::Action> {
    using A = PanelKey::Action;
    static constexpr std::array<std::pair<A, std::string_view>, 3> cases{
        {{A::settings, "settings"}, {A::keepOpen, "keepOpen"}, {A::close, "close"}}};
};

// The grip of the folded sidebar's tab: brighter while music plays.
SRGBColor sidebarGripColor(const SkinPalette &palette, bool playing);

// Everything a panel's surface decides from the panel's state, the player and
// the settings: which content shows, where the expanded body goes, the header's
// sizes, corners and ground, and how long a new track is announced. Pure; the
// surface evaluates it again on every change.
struct SurfaceLayout {
    enum class Content { topPlayer, sidebar, sidebarTab };
    enum class ExpandedContent { classicoPlayer, rivistaPlayer, availabilityRow };

    // The panel.
    SurfaceKind kind = SurfaceKind::notch;
    // The panel model's effective geometry: no notch away from home.
    ScreenGeometry geometry;
    PanelInteraction interaction;
    bool dragging = false;
    bool opensUpward = false;
    SkillPlacement skills = SkillPlacement::hidden;
    bool peeking = false;
    bool announcing = false;
    // The player and the settings.
    PlayerAvailability availability = PlayerAvailability::ready;
    Skin skin = Skin::classico;
    bool compactTranslucency = true;
    double idleOpacity = 0.3;
    bool visualizerEnabled = true;
    MotionPolicy motion;
    bool reducedTransparency = false;

    static constexpr double bodyContentHeight = ScreenGeometry::notchContentHeight;
    // The row's 4-pt bottom margin is taken from the row the window reserves,
    // so the body never outgrows its window.
    static constexpr double skillRowBottom = 4;
    static constexpr double skillRowBar = SkillLayout::rowHeight - skillRowBottom;
    static constexpr double bodyNearRadius = 18;
    static constexpr double bodyFarRadius = 28;
    static constexpr double bodyScale = 0.97;
    static constexpr double bodySpring = 0.26;
    static constexpr double headerTopCorner = 12;
    static constexpr double headerBottomCorner = 13;
    static constexpr double idleBorderRadius = 13;
    static constexpr double idleBorderOpacity = 0.13;
    static constexpr double idleContentOpacity = 0.8;
    static constexpr double translucencyFade = 0.2;
    static constexpr double detachedHeight = 38;
    static constexpr double detachedWingHeight = 38;
    static constexpr double wingWidth = SkillLayout::wingWidth;
    static constexpr double peekSlot = 26;
    static constexpr double bannerHeight = ScreenGeometry::announcementHeight;
    static constexpr double bannerGap = ScreenGeometry::announcementGap;
    static constexpr double bannerPadding = 12;
    static constexpr double bannerRadius = 10;
    static constexpr double bannerDrop = 6;
    static constexpr double bannerFade = 0.3;
    static constexpr double sidebarRadius = 24;
    static constexpr double shortestAnnouncement = 4;
    static constexpr double longestAnnouncement = 15;
    // The keyboard's nudge of a detached player, in points.
    static constexpr double nudgeStep = 20;

    bool hasNotch() const { return geometry.hasNotch(); }
    bool expanded() const { return interaction.expanded(); }
    // Folded and left alone, where the user lets it be see-through.
    bool idle() const;
    bool idleTranslucent() const { return idle() && !hasNotch(); }
    bool flatExpanded() const { return expanded() && !hasNotch(); }
    bool animatesPanels() const { return motion.allows(AnimationFeature::panels); }

    Content content() const;
    ExpandedContent expandedContent() const;

    // The expanded body: above the header only when the player opens upward.
    bool showsBody() const { return expanded(); }
    bool showsSkillRow() const { return expanded() && skills == SkillPlacement::row; }
    double bodyHeight() const;
    double bodyGap() const { return expanded() && hasNotch() ? ScreenGeometry::notchBodyGap : 0; }
    // The smaller corners face the header.
    double bodyTopRadius() const { return opensUpward ? bodyFarRadius : bodyNearRadius; }
    double bodyBottomRadius() const { return opensUpward ? bodyNearRadius : bodyFarRadius; }

    // The header column.
    double headerWidth() const { return geometry.headerWidth(expanded(), SkillChrome::none); }
    double headerHeight() const { return hasNotch() ? geometry.headerHeight() : detachedHeight; }
    double contentOpacity() const { return idleTranslucent() ? idleContentOpacity : 1; }
    double headerTopRadius() const;
    double headerBottomRadius() const;
    bool showsIdleBorder() const { return idleTranslucent(); }
    bool showsWings() const { return expanded() && skills == SkillPlacement::wings; }
    // The wings' slot size and height: the slots fit the menu bar's height
    // beside a notch, never below 0.
    double wingSlot() const;
    double wingHeight() const;
    bool showsPeekRow() const { return skills == SkillPlacement::peek && peeking && !expanded(); }
    // Beside a notch the indicator follows the visualizer; otherwise Spotify's icon.
    bool notchShowsIndicator() const { return visualizerEnabled; }
    CompactGroundLook ground() const;

    // The announcement under the notch.
    bool showsBanner() const { return announcing && !expanded() && hasNotch(); }
    double bannerWidth() const { return geometry.openNotchHeaderWidth(); }
    // The banner's inner width.
    double announcementRoom() const { return geometry.openNotchHeaderWidth() - 2 * bannerPadding; }
    // Long enough to read the title once it has scrolled through, within 4 … 15 s.
    double announcementDuration(double titleWidth) const;

    // The header's named accessibility actions, in order, as localisation keys;
    // its context menu's two items; its help text.
    static QStringList headerActions();
    static inline const QString returnToTop = QStringLiteral("Return to top");
    static inline const QString customize = QStringLiteral("Customize visualizer and player");
    static QString helpText(bool dragEnabled);
    // How far a move action nudges the detached player, y up; nothing for another action.
    static std::optional<Point> nudgeOffset(const QString &action);

    FontWeight titleWeight() const
    {
        return skin == Skin::rivista ? FontWeight::semibold : FontWeight::medium;
    }
};

template<>
struct RawEnumCases<SurfaceLayout::Content> {
    using C = SurfaceLayout::Content;
    static constexpr std::array<std::pair<C, std::string_view>, 3> cases{
        {{C::topPlayer, "topPlayer"}, {C::sidebar, "sidebar"}, {C::sidebarTab, "sidebarTab"}}};
};

template<>
struct RawEnumCases<SurfaceLayout::ExpandedContent> {
    using E = SurfaceLayout::ExpandedContent;
    static constexpr std::array<std::pair<E, std::string_view>, 3> cases{
        {{E::classicoPlayer, "classicoPlayer"}, {E::rivistaPlayer, "rivistaPlayer"},
            {E::availabilityRow, "availabilityRow"}}};
};
