#include "DesktopStacking.h"

#include <gtest/gtest.h>

namespace {
// Two displays of 1920 × 1080 device pixels side by side.
const QRect leftPixels(0, 0, 1920, 1080);
const QRect rightPixels(1920, 0, 1920, 1080);
const QList<DisplayPixels> twoDisplays{{leftPixels, 1}, {rightPixels, 1}};

StackedWindow window(std::uint32_t id, const QRect &area, bool fullScreen = false)
{
    StackedWindow w;
    w.id = id;
    w.frame = id + 1000;
    w.area = area;
    w.viewable = true;
    w.fullScreen = fullScreen;
    return w;
}
} // namespace

TEST(DesktopStacking, AFullScreenWindowCoversOnlyTheDisplayWhereItIsTopmost)
{
    const StackedWindow video = window(1, rightPixels, true);
    const StackedWindow editor = window(2, QRect(100, 100, 800, 600));
    // Whatever is active: the editor on the other display is above the video in the stack.
    EXPECT_EQ(DesktopStacking::fullScreenAreas({video, editor}, twoDisplays), QList<QRect>{rightPixels});

    // A window on the video's display stacked above it frees that display.
    const StackedWindow dialog = window(3, QRect(2000, 100, 400, 300));
    EXPECT_TRUE(DesktopStacking::fullScreenAreas({video, dialog}, twoDisplays).isEmpty());
    // One that reaches over from the other display frees it too.
    const StackedWindow wide = window(4, QRect(1500, 100, 600, 300));
    EXPECT_TRUE(DesktopStacking::fullScreenAreas({video, wide}, twoDisplays).isEmpty());

    // A full-screen window on each display covers both.
    EXPECT_EQ(DesktopStacking::fullScreenAreas({video, window(5, leftPixels, true)}, twoDisplays),
        (QList<QRect>{leftPixels, rightPixels}));
}

TEST(DesktopStacking, MinimisedUnmappedDocksAndTheDesktopDoNotCountAsTopmost)
{
    const StackedWindow video = window(1, leftPixels, true);
    StackedWindow minimised = window(2, QRect(10, 10, 300, 200));
    minimised.hidden = true;
    StackedWindow elsewhere = window(3, QRect(10, 10, 300, 200));
    elsewhere.viewable = false;
    StackedWindow dock = window(4, QRect(0, 1040, 1920, 40));
    dock.furniture = true;
    EXPECT_EQ(DesktopStacking::fullScreenAreas({video, minimised, elsewhere, dock}, twoDisplays),
        QList<QRect>{leftPixels});

    // The video itself minimised or unmapped covers nothing.
    StackedWindow gone = video;
    gone.hidden = true;
    EXPECT_TRUE(DesktopStacking::fullScreenAreas({gone}, twoDisplays).isEmpty());
    gone = video;
    gone.viewable = false;
    EXPECT_TRUE(DesktopStacking::fullScreenAreas({gone}, twoDisplays).isEmpty());
    // Leaving full screen frees it.
    EXPECT_TRUE(DesktopStacking::fullScreenAreas({window(1, leftPixels)}, twoDisplays).isEmpty());
}

TEST(DesktopStacking, EachDisplayConvertsByItsOwnPixelRatio)
{
    // A display at ratio 2 (3840 × 2160 device pixels) left of one at ratio 1; Qt keeps their origins.
    const DisplayPixels sharp{QRect(0, 0, 1920, 1080), 2};
    const DisplayPixels plain{QRect(3840, 0, 1920, 1080), 1};
    EXPECT_EQ(sharp.native(), QRect(0, 0, 3840, 2160));
    EXPECT_EQ(plain.native(), QRect(3840, 0, 1920, 1080));

    const QList<QRect> onPlain
        = DesktopStacking::fullScreenAreas({window(1, QRect(3840, 0, 1920, 1080), true)}, {sharp, plain});
    EXPECT_EQ(onPlain, QList<QRect>{QRect(3840, 0, 1920, 1080)});
    const QList<QRect> onSharp
        = DesktopStacking::fullScreenAreas({window(1, QRect(0, 0, 3840, 2160), true)}, {sharp, plain});
    EXPECT_EQ(onSharp, QList<QRect>{QRect(0, 0, 1920, 1080)});
    // Scaled around the display's own origin, not the root's.
    const DisplayPixels right{QRect(1920, 0, 1280, 720), 1.5};
    EXPECT_EQ(right.toLogical(QRect(1920 + 300, 150, 600, 300)), QRect(1920 + 200, 100, 400, 200));
}

TEST(DesktopStacking, ARaiseGoesRightAboveTheTopmostManagedWindowBelowOthersFloatingWindows)
{
    const std::uint32_t panel = 10, otherPanel = 11, menu = 20, tooltip = 21, frameA = 1001, frameB = 1002,
                        hiddenFrame = 1003;
    const QSet<std::uint32_t> frames{frameA, frameB, hiddenFrame};
    const QSet<std::uint32_t> own{panel, otherPanel};
    std::vector<TopLevel> children{{frameA, true, false}, {panel, true, true}, {frameB, true, false},
        {hiddenFrame, false, false}, {otherPanel, true, true}, {menu, true, true}, {tooltip, true, true}};

    EXPECT_TRUE(DesktopStacking::managedAbove(children, frames, panel));
    EXPECT_EQ(DesktopStacking::raise(children, frames, own, panel), (Restack{frameB, true}));
    // Above our other panel only a menu and a tooltip: no managed window, only an unmapped frame.
    EXPECT_FALSE(DesktopStacking::managedAbove(children, frames, otherPanel));

    // No managed window mapped: below the lowest of the others' override-redirect windows, ours aside.
    children = {{panel, true, true}, {otherPanel, true, true}, {hiddenFrame, false, false},
        {menu, true, true}, {tooltip, true, true}};
    EXPECT_EQ(DesktopStacking::raise(children, frames, own, panel), (Restack{menu, false}));
    // Nothing at all: on top.
    children = {{panel, true, true}, {otherPanel, true, true}};
    EXPECT_EQ(DesktopStacking::raise(children, frames, own, panel), Restack{});
    EXPECT_FALSE(DesktopStacking::managedAbove({}, frames, panel)) << "a window not among them";
}

TEST(DesktopStacking, TheKeyboardGoesBackToWhoHadItWhileItIsThereElseToTheTopmostWindow)
{
    StackedWindow desktop = window(1, leftPixels);
    desktop.furniture = true;
    const StackedWindow editor = window(2, QRect(10, 10, 500, 400));
    const StackedWindow browser = window(3, QRect(600, 10, 500, 400));
    const std::vector<StackedWindow> stack{desktop, editor, browser};

    EXPECT_EQ(DesktopStacking::focusTarget(stack, 2), 2u);
    // None named (openbox while an unmanaged window had it), the root, a window gone: the topmost.
    EXPECT_EQ(DesktopStacking::focusTarget(stack, 0), 3u);
    EXPECT_EQ(DesktopStacking::focusTarget(stack, 0x1e3), 3u);
    StackedWindow minimised = editor;
    minimised.hidden = true;
    EXPECT_EQ(DesktopStacking::focusTarget({desktop, minimised, browser}, 2), 3u);
    // Only the desktop left: nobody, never the root.
    EXPECT_EQ(DesktopStacking::focusTarget({desktop}, 0), 0u);
}

TEST(DesktopStacking, OnlyWindowsOfTheShownDesktopCoverADisplayOrGetTheKeyboard)
{
    constexpr std::uint32_t every = DesktopStacking::everyDesktop;
    const struct {
        std::optional<std::uint32_t> desktop;
        std::optional<std::uint32_t> shown;
        bool onShown;
    } rules[] = {
        {0, 0, true},
        {0, 1, false},
        {1, 0, false},
        {every, 1, true},
        {every, 0, true},
        // The window names none, or the window manager publishes no desktops: viewable decides.
        {std::nullopt, 1, true},
        {3, std::nullopt, true},
        {std::nullopt, std::nullopt, true},
    };
    for (const auto &rule : rules) {
        SCOPED_TRACE(::testing::Message()
            << "desktop " << rule.desktop.value_or(42) << " shown " << rule.shown.value_or(42));
        EXPECT_EQ(DesktopStacking::onShownDesktop(rule.desktop, rule.shown), rule.onShown);
    }

    // Mapped but on another desktop (XWayland under KWin): it covers nothing,
    // and a window there above a full-screen one of the shown desktop frees nothing.
    StackedWindow video = window(1, leftPixels, true);
    video.onShownDesktop = false;
    EXPECT_TRUE(DesktopStacking::fullScreenAreas({video}, twoDisplays).isEmpty());
    StackedWindow elsewhere = window(2, QRect(10, 10, 300, 200));
    elsewhere.onShownDesktop = false;
    EXPECT_EQ(DesktopStacking::fullScreenAreas({window(1, leftPixels, true), elsewhere}, twoDisplays),
        QList<QRect>{leftPixels});
    // Nor does the keyboard go there: that would switch desktops.
    const StackedWindow editor = window(3, QRect(600, 10, 500, 400));
    EXPECT_EQ(DesktopStacking::focusTarget({editor, elsewhere}, 2), 3u);
    EXPECT_EQ(DesktopStacking::focusTarget({elsewhere}, 0), 0u);
}
