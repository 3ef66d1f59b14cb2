#include "GeometryTesting.h"
#include "PlatformFeatures.h"
#include "ScreenGeometry.h"

#include <limits>

namespace {
using P = SkillPlacement;
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// Housing 200 wide beside a 32-point menu bar; span 304.
ScreenGeometry notched(double visibleWidth = 1512, double notch = 200, double inset = 32)
{
    return {Rect(0, 0, 1512, 982), Rect(0, 0, visibleWidth, 950), notch, inset};
}

ScreenGeometry plain(double visibleWidth = 1440)
{
    return {Rect(0, 0, 1440, 900), Rect(0, 0, visibleWidth, 875), 0, 0};
}

const SkillChrome none = SkillChrome::none;
const SkillChrome row{P::row, false};
const SkillChrome wings{P::wings, false};
const SkillChrome peeking{P::peek, true};
} // namespace

TEST(ScreenGeometry, PanelSizes)
{
    struct Case {
        ScreenGeometry geometry;
        bool expanded;
        SkillChrome skills;
        bool announcement;
        Size size;
    };
    const std::vector<Case> cases = {
        {notched(), false, none, false, {304, 32}},
        {notched(), false, none, true, {304, 66}},
        {notched(), true, row, true, {620, 266}},
        {notched(), true, wings, false, {620, 222}},
        {notched(), false, peeking, true, {304, 70}},
        {notched(), false, {P::peek, false}, false, {304, 32}},
        // A housing without an inset, or the reverse, is no notch.
        {notched(1512, 0, 32), false, none, true, {284, 38}},
        {notched(1512, 200, 0), true, none, false, {620, 222}},
        // Narrower than the housing: no widening.
        {notched(300), true, row, false, {276, 266}},
        // Widening to whole points on both sides may pass the usable width by one.
        {notched(635), true, row, false, {612, 266}},
        {plain(500), true, wings, false, {476, 266}},
        {plain(548), true, wings, false, {524, 222}},
        {plain(), false, peeking, false, {284, 76}},
        {plain(200), false, peeking, false, {176, 76}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto &c = cases[i];
        EXPECT_EQ(c.geometry.panelSize(c.expanded, c.skills, c.announcement), c.size) << "case " << i;
    }
    EXPECT_EQ(notched().headerWidth(true, wings), 544);
}

TEST(ScreenGeometry, HomeAndSidebarFrames)
{
    ScreenGeometry offCentre = notched();
    offCentre.notchMinX = 700.5;
    const std::vector<std::pair<Rect, Rect>> cases = {
        // Pill from floor(656 − 52) = 604, hanging from the top of the display.
        {notched().notchFrame(false, none, false), Rect(604, 950, 304, 32)},
        {notched().notchFrame(false, none, true), Rect(604, 916, 304, 66)},
        {notched().notchFrame(true, row, false), Rect(446, 716, 620, 266)},
        {offCentre.notchFrame(false, none, false), Rect(648, 950, 304, 32)},
        // Without a notch: centred on the full frame, 6 below the visible top.
        {plain().notchFrame(false, none, true), Rect(578, 831, 284, 38)},
        {plain().notchFrame(true, row, false), Rect(410, 603, 620, 266)},
        {plain().sidebarFrame(true), Rect(1084, 73.5, 344, 728)},
        {plain().sidebarFrame(false), Rect(1418, 391.5, 20, 92)},
    };
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_TRUE(rectNear(cases[i].first, cases[i].second)) << "case " << i;
}

TEST(ScreenGeometry, OnlyTheSidebarsTabReachesPastItsOpenFrame)
{
    // 1920 wide: the tab spans x 1898–1918, the open sidebar 1564–1908.
    const ScreenGeometry wide{Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1055), 0, 0};
    const Rect open = wide.sidebarFrame(true);
    const Rect tab = wide.sidebarFrame(false);
    const Rect place = wide.sidebarTabPlace();
    EXPECT_TRUE(rectNear(place, Rect(1908, 481.5, 12, 92)));
    const Point outerHalf{1912, tab.midY()};
    EXPECT_TRUE(tab.contains(outerHalf) && !open.contains(outerHalf) && place.contains(outerHalf));
    EXPECT_FALSE(place.contains(Point{1912, tab.maxY()}));
    for (const Point corner : {Point{tab.minX(), tab.minY()}, Point{tab.maxX() - 0.5, tab.maxY() - 0.5}})
        EXPECT_TRUE(open.contains(corner) || place.contains(corner));
    EXPECT_TRUE(rectNear(plain().sidebarTabPlace(), Rect(1428, 391.5, 12, 92)));

    // The top player folds into its open frame: at home, left anywhere, opening down or up.
    const std::vector<std::optional<PlayerPosition>> positions
        = {std::nullopt, PlayerPosition(0.5, 0.2), PlayerPosition(0, 0), PlayerPosition(1, 1),
            PlayerPosition(0.02, 0.7), PlayerPosition(0.98, 0.45), PlayerPosition(0.5, 0.51)};
    for (const auto &g : {notched(), notched(300), plain(), plain(500)}) {
        for (const auto &skills : {none, row, wings, peeking}) {
            for (std::size_t p = 0; p < positions.size(); ++p) {
                for (bool announcement : {false, true}) {
                    const Rect folded = g.playerFrame(false, positions[p], skills, announcement);
                    EXPECT_TRUE(g.playerFrame(true, positions[p], skills, announcement).contains(folded))
                        << "position " << p;
                }
            }
        }
    }
}

TEST(ScreenGeometry, DegenerateDisplaysStillGiveUsableFrames)
{
    const std::vector<ScreenGeometry> displays = {{}, {Rect(0, 0, 8, 8), Rect(0, 0, 5, 3), 200, 32},
        {Rect(notANumber, 0, infinity, notANumber), Rect(0, notANumber, notANumber, 875), notANumber, 32},
        {Rect(0, 0, 1512, 982), Rect(0, 0, 1512, 950), infinity, infinity, notANumber},
        {Rect(0, 0, 1512, 982), Rect(0, 0, 1512, 950), -200, 32, infinity},
        {Rect(100, 100, -1440, -900), Rect(100, 100, -1440, -875), 200, 32}};
    const std::vector<std::optional<PlayerPosition>> positions = {
        std::nullopt, PlayerPosition(0.5, 0.2), PlayerPosition(0, 1), PlayerPosition(notANumber, infinity)};
    for (std::size_t d = 0; d < displays.size(); ++d) {
        const auto &g = displays[d];
        EXPECT_TRUE(isSound(g.sidebarFrame(true)) && isSound(g.sidebarFrame(false))) << "display " << d;
        for (const auto &skills : {none, row, wings, peeking}) {
            for (bool expanded : {false, true}) {
                for (const auto &position : positions)
                    EXPECT_TRUE(isSound(g.playerFrame(expanded, position, skills, true))) << "display " << d;
            }
        }
    }
}

TEST(PanelInteraction, PinsHoverAndInteractionsHoldThePanelOpen)
{
    PanelInteraction panel;
    panel.togglePin();
    EXPECT_TRUE(panel.pinned() && panel.expanded());
    panel.togglePin();
    EXPECT_TRUE(!panel.pinned() && panel.expanded());
    panel.endInteraction();
    EXPECT_EQ(panel.interactionCount(), 0);
    panel.beginInteraction();
    panel.collapseIfAllowed();
    EXPECT_TRUE(panel.expanded());
    panel.endInteraction();
    panel.collapseIfAllowed();
    EXPECT_FALSE(panel.expanded());
    panel.togglePin();
    panel.beginInteraction();
    panel.dismiss();
    EXPECT_EQ(panel, PanelInteraction());
}

TEST(PanelInteraction, HoverKeepsThePanelOpenButFoldAlwaysCloses)
{
    PanelInteraction panel;
    panel.open();
    panel.pointer(true);
    panel.collapseIfAllowed();
    EXPECT_TRUE(panel.expanded() && panel.hovered());
    panel.pointer(false);
    panel.collapseIfAllowed();
    EXPECT_FALSE(panel.expanded());

    // Folding ignores the pointer, the pin and running interactions, and keeps them.
    panel.pointer(true);
    panel.togglePin();
    panel.beginInteraction();
    panel.fold();
    EXPECT_FALSE(panel.expanded());
    EXPECT_TRUE(panel.pinned() && panel.hovered());
    EXPECT_EQ(panel.interactionCount(), 1);
}

TEST(PlatformFeatures, WidgetsFromVersionFourteenAndAnInjectableCurrent)
{
    EXPECT_FALSE(PlatformFeatures::macOS(13).desktopWidgets);
    EXPECT_TRUE(PlatformFeatures::macOS(14).desktopWidgets);
    const PlatformFeatures before = PlatformFeatures::current();
    PlatformFeatures::setCurrent(PlatformFeatures{!before.desktopWidgets});
    EXPECT_NE(PlatformFeatures::current(), before);
    PlatformFeatures::setCurrent(before);
}
