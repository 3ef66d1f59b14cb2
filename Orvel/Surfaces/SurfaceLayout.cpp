#include "SurfaceLayout.h"

#include <algorithm>

CompactGroundLook CompactGroundLook::of(
    bool translucent, double idleOpacity, bool notch, Skin skin, bool light, bool reduceTransparency)
{
    using B = Base;
    using T = Tint;
    if (notch)
        return {B::none, T::black, 1};
    if (skin == Skin::rivista) {
        if (!translucent)
            return {B::surfaceGround, T::field, 0};
        if (light || reduceTransparency)
            return {B::none, T::field, std::max(idleOpacity, lightFloor)};
        return {B::glass, T::field, std::min(idleOpacity + fieldLift, 1.0)};
    }
    if (!translucent)
        return {B::none, T::black, 1};
    if (light)
        return {B::none, T::black, std::max(idleOpacity, lightFloor)};
    return {B::glass, T::black, idleOpacity};
}

QList<PanelKey> PanelKey::keys(bool includesClose)
{
    const PanelKey settings{Action::settings, QStringLiteral("settings"), QStringLiteral("Settings")};
    const PanelKey keepOpen{Action::keepOpen, QStringLiteral("pin"), QStringLiteral("Keep open")};
    const PanelKey close{Action::close, QStringLiteral("close"), QStringLiteral("Close sidebar")};
    if (includesClose)
        return {settings, keepOpen, close};
    return {keepOpen, settings};
}

SRGBColor sidebarGripColor(const SkinPalette &palette, bool playing)
{
    const SRGBColor tint = palette.skin == Skin::classico ? palette.accent : palette.text;
    const double opacity = playing ? 0.9 : palette.skin == Skin::classico ? 0.6 : 0.5;
    return tint.withOpacity(tint.opacity * opacity);
}

bool SurfaceLayout::idle() const
{
    return !expanded() && !interaction.hovered() && !dragging && compactTranslucency && !reducedTransparency;
}

SurfaceLayout::Content SurfaceLayout::content() const
{
    if (kind == SurfaceKind::notch)
        return Content::topPlayer;
    return expanded() ? Content::sidebar : Content::sidebarTab;
}

SurfaceLayout::ExpandedContent SurfaceLayout::expandedContent() const
{
    if (availability != PlayerAvailability::ready)
        return ExpandedContent::availabilityRow;
    return skin == Skin::rivista ? ExpandedContent::rivistaPlayer : ExpandedContent::classicoPlayer;
}

double SurfaceLayout::bodyHeight() const
{
    return bodyContentHeight + (skills == SkillPlacement::row ? SkillLayout::rowHeight : 0);
}

double SurfaceLayout::headerTopRadius() const
{
    return hasNotch() || (flatExpanded() && opensUpward) ? 0 : headerTopCorner;
}

double SurfaceLayout::headerBottomRadius() const
{
    return flatExpanded() && !opensUpward ? 0 : headerBottomCorner;
}

double SurfaceLayout::wingSlot() const
{
    if (!hasNotch())
        return SkillLayout::slot;
    // A menu bar of 6 pt or less leaves no room for a slot at all.
    return std::max(std::min(geometry.topInset - 6, SkillLayout::slot), 0.0);
}

double SurfaceLayout::wingHeight() const
{
    return hasNotch() ? geometry.headerHeight() : detachedWingHeight;
}

CompactGroundLook SurfaceLayout::ground() const
{
    return CompactGroundLook::of(
        idleTranslucent(), idleOpacity, hasNotch(), skin, motion.light, reducedTransparency);
}

double SurfaceLayout::announcementDuration(double titleWidth) const
{
    return MarqueeMotion::readingTime(titleWidth, announcementRoom(),
        !motion.allows(AnimationFeature::titleScroll), shortestAnnouncement, longestAnnouncement);
}

QStringList SurfaceLayout::headerActions()
{
    return {returnToTop, QStringLiteral("Move left"), QStringLiteral("Move right"), QStringLiteral("Move up"),
        QStringLiteral("Move down")};
}

QString SurfaceLayout::helpText(bool dragEnabled)
{
    return dragEnabled ? QStringLiteral("Drag to move. Double-click to return to the top.")
                       : QStringLiteral("Open player");
}

std::optional<Point> SurfaceLayout::nudgeOffset(const QString &action)
{
    if (action == QLatin1String("Move left"))
        return Point{-nudgeStep, 0};
    if (action == QLatin1String("Move right"))
        return Point{nudgeStep, 0};
    if (action == QLatin1String("Move up"))
        return Point{0, nudgeStep};
    if (action == QLatin1String("Move down"))
        return Point{0, -nudgeStep};
    return std::nullopt;
}
