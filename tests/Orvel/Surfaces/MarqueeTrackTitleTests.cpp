#include "ManualScheduler.h"
#include "MarqueeTrackTitle.h"
#include "QmlHarness.h"

#include <QAccessible>
#include <QQuickItem>
#include <gtest/gtest.h>

// The scrolling title: when it fits, when it scrolls and how far, and its clock.
namespace {
using Frame = MarqueeTrackTitle::Frame;
}

TEST(MarqueeTrackTitle, AToleranceOfOnePointDecidesOverflow)
{
    const Frame fits = MarqueeTrackTitle::frame(201, 200, 30, true);
    EXPECT_FALSE(fits.overflow);
    EXPECT_FALSE(fits.secondCopy || fits.leadingFade || fits.trailingFade || fits.ticks);
    EXPECT_EQ(fits.offset, 0);

    const Frame over = MarqueeTrackTitle::frame(202, 200, 0, true);
    EXPECT_TRUE(over.overflow && over.secondCopy && over.trailingFade && over.ticks);
    EXPECT_FALSE(over.leadingFade);
}

TEST(MarqueeTrackTitle, ScrollsAfterThePauseAndWrapsAtTheCycle)
{
    EXPECT_EQ(MarqueeTrackTitle::frame(300, 200, 2.19, true).offset, 0);
    EXPECT_NEAR(MarqueeTrackTitle::frame(300, 200, 2.2 + 10, true).offset, 180, 1e-9);
    EXPECT_TRUE(MarqueeTrackTitle::frame(300, 200, 2.3, true).leadingFade);
    EXPECT_NEAR(MarqueeTrackTitle::frame(300, 200, 334.0 / 18 + 2.2 - 1e-6, true).offset, 334, 1e-3);
    EXPECT_EQ(MarqueeTrackTitle::frame(300, 200, 334.0 / 18 + 2.2 + 1e-6, true).offset, 0);

    // Not allowed to scroll: cut with an ellipsis, still, no fades.
    const Frame still = MarqueeTrackTitle::frame(300, 200, 10, false);
    EXPECT_TRUE(still.still);
    EXPECT_FALSE(still.ticks || still.leadingFade || still.trailingFade || still.secondCopy);
}

TEST(MarqueeTrackTitle, CleansLineBreaksAndSpaces)
{
    EXPECT_EQ(MarqueeTrackTitle::displayTitle("A\nB"), "A B");
    EXPECT_EQ(MarqueeTrackTitle::displayTitle("  a   b  "), "a b");
    EXPECT_EQ(
        MarqueeTrackTitle::displayTitle(QString("x\r\ny") + QChar(0x2028) + "z" + QChar(0x85)), "x y z");
    EXPECT_EQ(MarqueeTrackTitle::displayTitle("a\tb"), "a\tb");
}

TEST(MarqueeTrackTitle, MeasuresWholePointsAtTheWeight)
{
    const double medium = MarqueeTrackTitle::textWidth("Holocene (Live at the Hollywood Bowl)");
    EXPECT_EQ(medium, std::ceil(medium));
    EXPECT_GT(medium, 0);
    EXPECT_GT(
        MarqueeTrackTitle::textWidth("Holocene (Live at the Hollywood Bowl)", FontWeight::black), medium);
    EXPECT_EQ(MarqueeTrackTitle::textWidth("  A\nB "), MarqueeTrackTitle::textWidth("A B"));
}

TEST(MarqueeTrackTitle, TicksOnlyWhileOverflowingAndAllowedToMove)
{
    ManualScheduler clock;
    ScopedScheduler installed(clock);
    QmlHarness harness;
    const auto view = harness.view("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                                   "Item { width: 120; height: 40; property bool light: false\n"
                                   "  Skinned.lightEffects: light\n"
                                   "  property alias title: marquee\n"
                                   "  MarqueeTrackTitle { id: marquee; width: 120; trackID: 'a';"
                                   " title: 'A title much too long\\nto stand in  this frame at all ' } }");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *title = view->item()->property("title").value<MarqueeTrackTitle *>();
    ASSERT_TRUE(title);
    EXPECT_EQ(title->height(), 17);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(title);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->text(QAccessible::Name), "A title much too long to stand in this frame at all");
    EXPECT_TRUE(title->overflowing());
    EXPECT_TRUE(title->ticking());
    clock.advance(2.2 + 5);
    EXPECT_NEAR(title->currentFrame().offset, 90, 1e-6);

    // A new track starts the pause again; a new text alone does not.
    title->setTitle("Another title far too long for a frame this narrow");
    EXPECT_NEAR(title->currentFrame().offset, 90, 1e-6);
    title->setTrackID("b");
    EXPECT_EQ(title->currentFrame().offset, 0);

    title->setTitle("Fits");
    clock.advance(1);
    EXPECT_FALSE(title->overflowing());
    EXPECT_FALSE(title->ticking());

    // Light effects: an overflowing title stands still.
    title->setTitle("A title much too long to stand in this frame at all");
    clock.runUntilIdle();
    EXPECT_TRUE(title->ticking());
    view->item()->setProperty("light", true);
    clock.advance(0.1);
    EXPECT_TRUE(title->currentFrame().still);
    EXPECT_FALSE(title->ticking());
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST(MarqueeTrackTitle, ANewTrackSlidesInForItsDurationOnlyWhereAllowed)
{
    ManualScheduler clock;
    ScopedScheduler installed(clock);
    QmlHarness harness;
    const auto view
        = harness.view("import QtQuick\nimport Orvel\nimport Orvel.Shared\n"
                       "Item { width: 200; height: 40; property var off: []\n"
                       "  Skinned.animations: off\n"
                       "  property alias title: marquee\n"
                       "  MarqueeTrackTitle { id: marquee; width: 200; trackID: 'a'; title: 'Fits' } }");
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *title = view->item()->property("title").value<MarqueeTrackTitle *>();
    ASSERT_TRUE(title);
    EXPECT_FALSE(title->ticking());

    title->setTrackID("b");
    EXPECT_TRUE(title->ticking());
    clock.advance(MarqueeTrackTitle::changeDuration / 2);
    EXPECT_GT(title->changeProgress(), 0);
    EXPECT_LT(title->changeProgress(), 1);
    clock.advance(MarqueeTrackTitle::changeDuration);
    EXPECT_EQ(title->changeProgress(), 1);
    EXPECT_FALSE(title->ticking());

    view->item()->setProperty("off", QStringList{"trackChange"});
    title->setTrackID("c");
    EXPECT_EQ(title->changeProgress(), 1);
    EXPECT_FALSE(title->ticking());
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}
