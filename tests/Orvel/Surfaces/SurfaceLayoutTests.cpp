#include "SurfaceLayout.h"

#include <gtest/gtest.h>

// The surface's rules: sizes beside a notch and away from it, the header's
// corners and ground, what shows in which state and how long a title is announced.
namespace {

ScreenGeometry notched(double topInset = 32)
{
    return ScreenGeometry(Rect(0, 0, 1512, 982), Rect(0, 0, 1512, 950), 200, topInset);
}

ScreenGeometry plain()
{
    return ScreenGeometry(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1050), 0, 0);
}

SurfaceLayout layout(const ScreenGeometry &geometry, bool expanded = false)
{
    SurfaceLayout result;
    result.geometry = geometry;
    if (expanded)
        result.interaction.open();
    return result;
}

using Base = CompactGroundLook::Base;
using Tint = CompactGroundLook::Tint;

void expectLook(const CompactGroundLook &look, Base base, Tint tint, double opacity)
{
    EXPECT_EQ(look.base, base);
    EXPECT_EQ(look.tint, tint);
    EXPECT_NEAR(look.tintOpacity, opacity, 1e-12);
}

} // namespace

TEST(SurfaceLayout, HeaderSizesBesideTheNotchAndAwayFromIt)
{
    EXPECT_EQ(layout(notched()).headerWidth(), 304);
    EXPECT_EQ(layout(notched().detached()).headerWidth(), 284);
    EXPECT_EQ(layout(notched()).headerHeight(), 32);
    EXPECT_EQ(layout(plain()).headerHeight(), 38);

    // The wings stand outside the header's own width.
    SurfaceLayout wings = layout(notched(), true);
    wings.skills = SkillPlacement::wings;
    EXPECT_TRUE(wings.showsWings());
    EXPECT_EQ(wings.headerWidth(), 304);
    EXPECT_EQ(wings.wingSlot(), 26);
    EXPECT_EQ(wings.wingHeight(), 32);
    wings.geometry = plain();
    EXPECT_EQ(wings.wingSlot(), 28);
    EXPECT_EQ(wings.wingHeight(), 38);
}

TEST(SurfaceLayout, AThinMenuBarGivesEmptyWingSlotsNotNegativeOnes)
{
    for (const double inset : {0.5, 4.0, 6.0}) {
        SurfaceLayout thin = layout(notched(inset), true);
        EXPECT_EQ(thin.wingSlot(), 0) << inset;
    }
    EXPECT_EQ(layout(notched(7)).wingSlot(), 1);
    EXPECT_EQ(layout(notched(60)).wingSlot(), 28);
}

TEST(SurfaceLayout, AnnouncementLastsTheTitlesReadingTime)
{
    SurfaceLayout home = layout(notched());
    EXPECT_EQ(home.announcementRoom(), 280);
    EXPECT_EQ(home.announcementDuration(150), 4);
    EXPECT_NEAR(home.announcementDuration(400), 120.0 / 18 + 3.4, 1e-9);
    EXPECT_NEAR(home.announcementDuration(400), 10.07, 0.01);
    EXPECT_EQ(home.announcementDuration(500), 15);

    // Where the title may not scroll, the shortest time whatever its length.
    SurfaceLayout still = home;
    still.motion.settings.disabled.insert(AnimationFeature::titleScroll);
    EXPECT_EQ(still.announcementDuration(500), 4);
    still = home;
    still.motion.light = true;
    EXPECT_EQ(still.announcementDuration(500), 4);
    EXPECT_FALSE(still.animatesPanels()); // and the body comes without its spring
    still = home;
    still.motion.reduceMotion = true;
    EXPECT_EQ(still.announcementDuration(500), 4);

    // Without a notch the time is still asked for, over the pill's room.
    SurfaceLayout away = layout(notched().detached());
    EXPECT_EQ(away.announcementRoom(), 260);
    EXPECT_NEAR(away.announcementDuration(400), 140.0 / 18 + 3.4, 1e-9);
    EXPECT_FALSE(away.showsBanner());
}

TEST(SurfaceLayout, TheBannerShowsOnlyFoldedUnderANotch)
{
    SurfaceLayout state = layout(notched());
    state.announcing = true;
    EXPECT_TRUE(state.showsBanner());
    state.interaction.open();
    EXPECT_FALSE(state.showsBanner());
    state = layout(plain());
    state.announcing = true;
    EXPECT_FALSE(state.showsBanner());
}

TEST(SurfaceLayout, IdleGroundsFollowSkinTranslucencyAndLight)
{
    SurfaceLayout idle = layout(plain());
    idle.skin = Skin::rivista;
    idle.idleOpacity = 0.3;
    ASSERT_TRUE(idle.idleTranslucent());
    expectLook(idle.ground(), Base::glass, Tint::field, 0.45);

    idle.motion.light = true;
    expectLook(idle.ground(), Base::none, Tint::field, 0.62);
    idle.idleOpacity = 0.8;
    EXPECT_EQ(idle.ground().tintOpacity, 0.8);

    // Classico: glass under black at the idle opacity, or denser black in light mode.
    idle.skin = Skin::classico;
    expectLook(idle.ground(), Base::none, Tint::black, 0.8);
    idle.motion.light = false;
    idle.idleOpacity = 0.3;
    expectLook(idle.ground(), Base::glass, Tint::black, 0.3);
}

TEST(SurfaceLayout, NotchedIsBlackAndReduceTransparencyOpaque)
{
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        SurfaceLayout home = layout(notched());
        home.skin = skin;
        home.motion.light = true;
        expectLook(home.ground(), Base::none, Tint::black, 1);

        SurfaceLayout clear = layout(plain());
        clear.skin = skin;
        clear.reducedTransparency = true;
        EXPECT_FALSE(clear.idleTranslucent());
        EXPECT_EQ(clear.contentOpacity(), 1);
        EXPECT_FALSE(clear.showsIdleBorder());
        EXPECT_EQ(clear.ground().base,
            skin == Skin::rivista ? CompactGroundLook::Base::surfaceGround : CompactGroundLook::Base::none);
        EXPECT_EQ(clear.ground().tintOpacity, skin == Skin::rivista ? 0 : 1);
    }
    // Hovered, translucency off: opaque too.
    SurfaceLayout hovered = layout(plain());
    hovered.interaction.pointer(true);
    EXPECT_FALSE(hovered.idle());
    SurfaceLayout off = layout(plain());
    off.compactTranslucency = false;
    EXPECT_FALSE(off.idle());
    EXPECT_EQ(layout(plain()).contentOpacity(), 0.8);
}

TEST(SurfaceLayout, HeaderCornersSquareWhereTheyMeetTheNotchOrTheBody)
{
    EXPECT_EQ(layout(notched()).headerTopRadius(), 0);
    EXPECT_EQ(layout(notched()).headerBottomRadius(), 13);
    EXPECT_EQ(layout(notched(), true).headerBottomRadius(), 13);

    SurfaceLayout up = layout(plain(), true);
    up.opensUpward = true;
    EXPECT_EQ(up.headerTopRadius(), 0);
    EXPECT_EQ(up.headerBottomRadius(), 13);
    EXPECT_EQ(up.bodyTopRadius(), 28);
    EXPECT_EQ(up.bodyBottomRadius(), 18);

    SurfaceLayout down = layout(plain(), true);
    EXPECT_EQ(down.headerTopRadius(), 12);
    EXPECT_EQ(down.headerBottomRadius(), 0);
    EXPECT_EQ(down.bodyTopRadius(), 18);
    EXPECT_EQ(down.bodyBottomRadius(), 28);

    EXPECT_EQ(layout(plain()).headerTopRadius(), 12);
    EXPECT_EQ(layout(plain()).headerBottomRadius(), 13);
}

TEST(SurfaceLayout, SkillKeysShowWhereTheirPlacementAndStateAgree)
{
    SurfaceLayout state = layout(notched());
    state.skills = SkillPlacement::row;
    EXPECT_FALSE(state.showsSkillRow());
    // As high as the window's body: nothing of it is cut.
    EXPECT_EQ(state.bodyHeight(), state.geometry.bodyHeight({SkillPlacement::row, false}));
    state.interaction.open();
    EXPECT_TRUE(state.showsSkillRow());
    EXPECT_FALSE(state.showsWings());
    EXPECT_EQ(state.bodyGap(), 6);

    state.skills = SkillPlacement::peek;
    state.peeking = true;
    EXPECT_FALSE(state.showsPeekRow());
    EXPECT_FALSE(state.showsSkillRow());
    EXPECT_EQ(state.bodyHeight(), 184);
    state.interaction.fold();
    EXPECT_TRUE(state.showsPeekRow());
    EXPECT_EQ(state.bodyGap(), 0);
}

TEST(SurfaceLayout, ContentByKindStateAndAvailability)
{
    SurfaceLayout side = layout(plain());
    side.kind = SurfaceKind::sidebar;
    EXPECT_EQ(side.content(), SurfaceLayout::Content::sidebarTab);
    side.interaction.open();
    EXPECT_EQ(side.content(), SurfaceLayout::Content::sidebar);

    SurfaceLayout top = layout(plain(), true);
    EXPECT_EQ(top.content(), SurfaceLayout::Content::topPlayer);
    EXPECT_EQ(top.expandedContent(), SurfaceLayout::ExpandedContent::classicoPlayer);
    top.skin = Skin::rivista;
    EXPECT_EQ(top.expandedContent(), SurfaceLayout::ExpandedContent::rivistaPlayer);
    top.availability = PlayerAvailability::noTrack;
    EXPECT_EQ(top.expandedContent(), SurfaceLayout::ExpandedContent::availabilityRow);
}

TEST(PanelKey, OrderWithAndWithoutClose)
{
    const auto actions = [](bool close) {
        QList<PanelKey::Action> result;
        for (const PanelKey &key : PanelKey::keys(close))
            result << key.action;
        return result;
    };
    using A = PanelKey::Action;
    EXPECT_EQ(actions(true), (QList<A>{A::settings, A::keepOpen, A::close}));
    EXPECT_EQ(actions(false), (QList<A>{A::keepOpen, A::settings}));
    EXPECT_EQ(PanelKey::keys(true).at(2).label, "Close sidebar");
}

TEST(SidebarTab, GripBrightensWhilePlaying)
{
    const SkinPalette rivista(Skin::rivista, Aura::brand());
    const SkinPalette classico(Skin::classico, Aura::brand());
    EXPECT_DOUBLE_EQ(sidebarGripColor(rivista, true).opacity, rivista.text.opacity * 0.9);
    EXPECT_DOUBLE_EQ(sidebarGripColor(rivista, false).opacity, rivista.text.opacity * 0.5);
    EXPECT_DOUBLE_EQ(sidebarGripColor(classico, false).opacity, classico.accent.opacity * 0.6);
    EXPECT_EQ(sidebarGripColor(classico, true).red, classico.accent.red);
}
