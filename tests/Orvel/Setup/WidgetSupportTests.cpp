#include "PlatformFeatures.h"
#include "WidgetSupport.h"

#include <gtest/gtest.h>

namespace {
struct FeaturesGuard {
    PlatformFeatures before = PlatformFeatures::current();
    ~FeaturesGuard() { PlatformFeatures::setCurrent(before); }
};
} // namespace

TEST(WidgetSupport, WithoutWidgetsEveryTextIsTheFallback)
{
    FeaturesGuard guard;
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(13));
    EXPECT_FALSE(WidgetSupport::isSupported());
    EXPECT_EQ(WidgetSupport::title(), "Widgets on macOS 14");
    EXPECT_EQ(WidgetSupport::subtitle(), "Orvel widgets require macOS 14 or later.");
    EXPECT_EQ(WidgetSupport::guideButtonTitle(), "Details");
    EXPECT_EQ(WidgetSupport::guideTitle(), "Widgets on macOS 14");
    EXPECT_EQ(WidgetSupport::setupTitle(), "Your player is ready.");
    EXPECT_EQ(WidgetSupport::guideSubtitle(), WidgetSupport::setupSubtitle());
}

TEST(WidgetSupport, WithWidgetsTheTextsSayHowToAddThemAskedAfreshEachTime)
{
    FeaturesGuard guard;
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(14));
    EXPECT_TRUE(WidgetSupport::isSupported());
    EXPECT_EQ(WidgetSupport::title(), "There are widgets, too.");
    EXPECT_EQ(WidgetSupport::subtitle(), "Now Playing and your shortcuts, right on your desktop.");
    EXPECT_EQ(WidgetSupport::guideButtonTitle(), "How to add them");
    EXPECT_EQ(WidgetSupport::setupTitle(), WidgetSupport::title());
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(13));
    EXPECT_EQ(WidgetSupport::guideButtonTitle(), "Details");
}

TEST(WidgetSupport, TheSetupTextsHaveBothBranchesWordForWord)
{
    FeaturesGuard guard;
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(14));
    EXPECT_EQ(WidgetSupport::guideTitle(), "Make room on your desktop.");
    EXPECT_EQ(WidgetSupport::guideSubtitle(),
        "Orvel also has native widgets for your desktop and Notification Center.");
    EXPECT_EQ(WidgetSupport::setupSubtitle(),
        "Add Now Playing and your favorite shortcuts to the desktop or Notification Center.");
    EXPECT_EQ(WidgetSupport::surfacesSubtitle(),
        "Choose the panels you want. Keep both, pick one, or use only macOS widgets.");
    EXPECT_EQ(WidgetSupport::noPanelsHint(),
        "Just widgets. You can enable the floating panels later in Preferences.");

    PlatformFeatures::setCurrent(PlatformFeatures::macOS(13));
    EXPECT_EQ(WidgetSupport::subtitle(), "Orvel widgets require macOS 14 or later.");
    EXPECT_EQ(WidgetSupport::setupSubtitle(), "Your top player and sidebar are ready on macOS 13.");
    EXPECT_EQ(WidgetSupport::surfacesSubtitle(),
        "Choose the top player, the right sidebar, or both. You can change this later.");
    EXPECT_EQ(WidgetSupport::noPanelsHint(),
        "Open Orvel from the menu bar. You can enable the floating panels later in Preferences.");
}
