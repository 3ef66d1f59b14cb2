#include "MenuTracker.h"

#include <QMenu>
#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(MenuTracker, EveryMenuOfTheAppCountsOnceWhenShownAndWhenHidden)
{
    MenuTracker tracker;
    QSignalSpy began(&tracker, &MenuTracker::began);
    QSignalSpy ended(&tracker, &MenuTracker::ended);
    QMenu menu;
    menu.addAction(QStringLiteral("Open"));
    menu.popup(QPoint(10, 10));
    EXPECT_EQ(began.count(), 1);
    EXPECT_EQ(ended.count(), 0);
    menu.hide();
    EXPECT_EQ(ended.count(), 1);

    // Other widgets are not menus.
    QWidget plain;
    plain.show();
    plain.hide();
    EXPECT_EQ(began.count(), 1);
}
