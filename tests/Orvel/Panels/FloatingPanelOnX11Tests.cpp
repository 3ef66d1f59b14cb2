#include "FloatingPanel.h"
#include "ManualScheduler.h"
#include "QmlModules.h"
#include "Screens.h"
#include "X11Desktop.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// A real X server places the panel: run under Xvfb with QT_QPA_PLATFORM=xcb
// (the ctest "Panels.PlacedOnX11" does, with openbox); elsewhere these skip.
namespace {
class FloatingPanelOnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb)";
        registerOrvelModules(engine);
        desktop = X11Desktop::instance();
        ASSERT_TRUE(desktop);
    }

    ManualScheduler clock;
    SystemScreens screens;
    X11Desktop *desktop = nullptr;
    QQmlEngine engine;
};
} // namespace

TEST_F(FloatingPanelOnX11, APanelPlacedAtAnUpwardFrameGetsTheMatchingQtGeometryAndNoFocus)
{
    const int height = QGuiApplication::primaryScreen()->geometry().height();
    FloatingPanel panel(
        screens, *desktop, clock, engine, "import QtQuick\nRectangle { color: \"tomato\"; radius: 12 }\n");
    ASSERT_TRUE(panel.contentErrors().isEmpty()) << panel.contentErrors().toStdString();
    panel.setFrame(Rect(100, height - 150, 284, 38));
    panel.orderFront();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel.window()));
    QCoreApplication::processEvents();

    EXPECT_EQ(panel.window().geometry(), QRect(100, 112, 284, 38));
    EXPECT_EQ(panel.content()->size(), QSizeF(284, 38));

    // Even asked, it takes no focus; another window that asks gets it.
    QSignalSpy activated(&panel.window(), &QWindow::activeChanged);
    panel.window().requestActivate();
    QWindow other;
    other.setGeometry(600, 300, 100, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.requestActivate();
    QTRY_VERIFY(other.isActive());
    EXPECT_FALSE(panel.window().isActive());
    EXPECT_EQ(activated.count(), 0);

    // Moving it keeps the conversion: the top edge 300 points above the bottom.
    panel.setFrame(Rect(40, 300 - 38, 284, 38));
    QTRY_COMPARE(panel.window().geometry(), QRect(40, height - 300, 284, 38));
    panel.close();
}

TEST_F(FloatingPanelOnX11, APressMakesThePanelTheKeyWindowAndLosingItRefusesTheFocusAgain)
{
    FloatingPanel panel(
        screens, *desktop, clock, engine, "import QtQuick\nRectangle { color: \"tomato\" }\n");
    panel.setFrame(Rect(200, 400, 284, 38));
    panel.orderFront();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel.window()));
    QTest::mousePress(&panel.window(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(&panel.window(), Qt::LeftButton, {}, QPoint(20, 20));
    QTRY_VERIFY(panel.window().isActive());

    QWindow other;
    other.setGeometry(600, 300, 100, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.requestActivate();
    QTRY_VERIFY(!panel.window().isActive());
    EXPECT_TRUE(panel.window().flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    panel.close();
}
