#include "ManualScheduler.h"
#include "QtPrinters.h"
#include "TimerText.h"
#include "WidgetFixtures.h"

#include <gtest/gtest.h>

TEST(TimerTextTest, ShowsMinutesAndSecondsWithHoursOnceThereAreAny)
{
    EXPECT_EQ(TimerText::format(0, true), "0:00");
    EXPECT_EQ(TimerText::format(83.9, true), "1:23");
    EXPECT_EQ(TimerText::format(3599.99, true), "59:59");
    EXPECT_EQ(TimerText::format(3600, true), "1:00:00");
    EXPECT_EQ(TimerText::format(3600, false), "60:00");
    EXPECT_EQ(TimerText::format(-5, true), "0:00");
    EXPECT_EQ(TimerText::format(std::nan(""), true), "0:00");
}

TEST(TimerTextTest, StaysWithinItsInterval)
{
    const Date start{1000};
    const Date end{1200};
    EXPECT_EQ(TimerText::value(start, end, Date{900}, false), 0);
    EXPECT_NEAR(TimerText::value(start, end, Date{1083.9}, false), 83.9, 1e-9);
    EXPECT_EQ(TimerText::value(start, end, Date{5000}, false), 200);
    EXPECT_EQ(TimerText::value(start, end, Date{1050}, true), 150);
}

TEST(TimerTextTest, TicksEverySecondOnTheSchedulerUntilTheEnd)
{
    ManualScheduler clock;
    ScopedScheduler installed(clock);
    const double since = clock.now();
    const Date T = fixtures::writtenAt;
    ScopedWallClock wall([&] { return T.addingTimeInterval(clock.now() - since); });

    TimerText timer;
    timer.setStart(T.secondsSinceReferenceDate - 83.5);
    timer.setEnd(T.secondsSinceReferenceDate + 116.5);
    timer.componentComplete();
    EXPECT_EQ(timer.text(), "1:23");

    clock.advance(0.25);
    EXPECT_EQ(timer.text(), "1:23");
    clock.advance(0.25); // 84.0: the next whole second
    EXPECT_EQ(timer.text(), "1:24");
    clock.advance(1);
    EXPECT_EQ(timer.text(), "1:25");
    clock.advance(500);
    EXPECT_EQ(timer.text(), "3:20");
    // At the end it stands still and sleeps no more.
    clock.runUntilIdle();
    EXPECT_EQ(clock.pendingSleepers(), 0u);
}
