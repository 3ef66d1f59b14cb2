#include "FakeScreens.h"
#include "FloatingPanel.h"
#include "ManualScheduler.h"
#include "QmlModules.h"
#include "ScriptedDesktop.h"
#include "SurfaceWindow.h"

#include <QQmlEngine>
#include <QTest>
#include <gtest/gtest.h>

// The panel's rules about the desktop, over a scripted one: when a full-screen
// window keeps it away, when it is raised, and who gets the keyboard back.
namespace {
// Two displays side by side, 1000 × 800 each, in Qt's coordinates.
const QRect left(0, 0, 1000, 800);
const QRect right(1000, 0, 1000, 800);

class PanelOverScriptedDesktop : public ::testing::Test {
protected:
    PanelOverScriptedDesktop()
    {
        registerOrvelModules(engine);
        screens.list = {FakeScreens::display("A", 1, Rect(0, 0, 1000, 800), true),
            FakeScreens::display("B", 2, Rect(1000, 0, 1000, 800), false)};
        panel.setCollectionBehavior(SurfaceWindow::fullScreenNoneBehavior);
        // On the left display, near its top.
        panel.setFrame(Rect(300, 700, 284, 38));
    }
    ~PanelOverScriptedDesktop() override { panel.close(); }

    bool shown() const { return panel.window().isVisible(); }
    void press()
    {
        QTest::mousePress(&panel.window(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&panel.window(), Qt::LeftButton, {}, QPoint(10, 10));
    }

    ManualScheduler clock;
    FakeScreens screens;
    ScriptedDesktop desktop;
    QQmlEngine engine;
    FloatingPanel panel{screens, desktop, clock, engine, "import QtQuick\nItem {}\n"};
};
} // namespace

TEST_F(PanelOverScriptedDesktop, OnlyAFullScreenWindowOnItsOwnDisplayKeepsItAway)
{
    panel.orderFront();
    ASSERT_TRUE(shown());
    desktop.setFullScreen({right});
    EXPECT_TRUE(shown()) << "a video on the other display";
    EXPECT_TRUE(panel.isOnScreen());

    desktop.setFullScreen({right, left});
    EXPECT_FALSE(shown());
    EXPECT_TRUE(panel.isVisible()) << "still ordered front";
    EXPECT_FALSE(panel.isOnScreen());

    // Moved onto the free display, it shows there.
    panel.setFrame(Rect(1300, 700, 284, 38));
    desktop.setFullScreen({left});
    EXPECT_TRUE(shown());
    panel.setFrame(Rect(300, 700, 284, 38));
    EXPECT_FALSE(shown());

    desktop.setFullScreen({});
    EXPECT_TRUE(shown());
    EXPECT_TRUE(panel.isOnScreen());
}

TEST_F(PanelOverScriptedDesktop, ShowInFullScreenKeepsItOverTheFullScreenWindow)
{
    panel.setCollectionBehavior(SurfaceWindow::fullScreenAuxiliaryBehavior);
    panel.orderFront();
    desktop.setFullScreen({left});
    EXPECT_TRUE(shown());
    EXPECT_TRUE(panel.isOnScreen());
    // The full-screen window raised over it: back above.
    desktop.stackAbove(panel.window());
    EXPECT_EQ(desktop.raised.count(), 2);

    // Turning the choice off takes it away, on again brings it back raised.
    panel.setCollectionBehavior(SurfaceWindow::fullScreenNoneBehavior);
    EXPECT_FALSE(shown());
    panel.setCollectionBehavior(SurfaceWindow::fullScreenAuxiliaryBehavior);
    EXPECT_TRUE(shown());
    EXPECT_EQ(desktop.raised.count(), 3);
}

TEST_F(PanelOverScriptedDesktop, RaisedWhenItComesOnScreenAndWhenAManagedWindowIsStackedOverItOnly)
{
    panel.orderFront();
    EXPECT_EQ(desktop.raised, QList<const QWindow *>{&panel.window()});

    // A rebuild shows it again, a setting changes its behaviour, it moves: none raises it over others' menus.
    panel.orderFront();
    panel.setCollectionBehavior(SurfaceWindow::fullScreenAuxiliaryBehavior);
    panel.setFrame(Rect(320, 700, 284, 38));
    emit desktop.stackingChanged();
    EXPECT_EQ(desktop.raised.count(), 1);

    desktop.stackAbove(panel.window());
    EXPECT_EQ(desktop.raised.count(), 2);

    // Hidden, a window stacked over it does not matter; coming back raises it.
    panel.orderOut();
    desktop.stackAbove(panel.window());
    EXPECT_EQ(desktop.raised.count(), 2);
    panel.orderFront();
    EXPECT_EQ(desktop.raised.count(), 3);

    // Freed by a full-screen window, it comes on screen: raised.
    panel.setCollectionBehavior(SurfaceWindow::fullScreenNoneBehavior);
    desktop.setFullScreen({left});
    desktop.setFullScreen({});
    EXPECT_EQ(desktop.raised.count(), 4);
}

TEST_F(PanelOverScriptedDesktop, APressThatTookTheKeyboardGivesItBackWhenThePanelFoldsOrGoes)
{
    panel.orderFront();
    // Folding a panel that never took the keyboard hands nothing over.
    panel.resignKey();
    EXPECT_TRUE(desktop.focusReturns.isEmpty());

    desktop.active = 77;
    press();
    desktop.active = 0;
    panel.resignKey();
    EXPECT_EQ(desktop.focusReturns, QList<Desktop::WindowId>{77});
    EXPECT_TRUE(panel.window().flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    panel.resignKey();
    EXPECT_EQ(desktop.focusReturns.count(), 1) << "given back once";

    // Nobody known had it (openbox names none while an unmanaged window has it): the desktop chooses.
    press();
    panel.orderOut();
    EXPECT_EQ(desktop.focusReturns, (QList<Desktop::WindowId>{77, 0}));

    // Kept away by a full-screen window while holding it.
    desktop.active = 5;
    panel.orderFront();
    press();
    desktop.setFullScreen({left});
    EXPECT_EQ(desktop.focusReturns.last(), 5u);
}
