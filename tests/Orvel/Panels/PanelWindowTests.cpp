#include "FakeScreens.h"
#include "FloatingPanel.h"
#include "ManualScheduler.h"
#include "QmlModules.h"
#include "RecordingPanelWindow.h"
#include "ScriptedDesktop.h"

#include <QEnterEvent>
#include <QQmlEngine>
#include <QTest>
#include <gtest/gtest.h>

TEST(PanelWindow, AnAnimatedFrameEasesInAndOutAndIsHalfwayAtHalfTime)
{
    ManualScheduler clock;
    RecordingPanelWindow window(clock);
    window.setFrame(Rect(0, 0, 20, 100));
    window.animateFrame(Rect(0, 0, 220, 100), 0.22);
    clock.advance(0.055);
    // Ease-in: a quarter of the time covers much less than a quarter of the way.
    EXPECT_LT(window.frame().width(), 20 + 200 * 0.2);
    clock.advance(0.055);
    EXPECT_NEAR(window.frame().width(), 120, 200 * 0.06);
    clock.advance(0.11);
    EXPECT_EQ(window.frame(), Rect(0, 0, 220, 100));
    EXPECT_FALSE(window.isAnimating());
}

TEST(PanelWindow, ALaterFrameReplacesAnAnimationInFlight)
{
    ManualScheduler clock;
    RecordingPanelWindow window(clock);
    window.setFrame(Rect(0, 0, 20, 100));
    window.animateFrame(Rect(0, 0, 220, 100), 0.22);
    clock.advance(0.1);
    window.setFrame(Rect(5, 5, 50, 50));
    const auto shown = window.frames.size();
    clock.advance(1);
    EXPECT_EQ(window.frames.size(), shown);
    EXPECT_EQ(window.frame(), Rect(5, 5, 50, 50));
}

TEST(PanelWindow, AWindowGoneMidAnimationIsNotTouched)
{
    ManualScheduler clock;
    auto window = std::make_unique<RecordingPanelWindow>(clock);
    window->animateFrame(Rect(0, 0, 100, 100), 0.22);
    clock.advance(0.05);
    window.reset();
    clock.advance(1);
    SUCCEED();
}

namespace {
class FloatingPanelTest : public ::testing::Test {
protected:
    FloatingPanelTest()
    {
        registerOrvelModules(engine);
        screens.list = {FakeScreens::display("A", 1, Rect(0, 0, 1000, 800), true)};
    }
    ManualScheduler clock;
    FakeScreens screens;
    ScriptedDesktop desktop;
    QQmlEngine engine;
};
} // namespace

TEST_F(FloatingPanelTest, IsAFramelessStayOnTopToolThatRefusesTheFocusUntilPressed)
{
    FloatingPanel panel(screens, desktop, clock, engine, "import QtQuick\nItem {}\n");
    PanelHostingView &window = panel.window();
    EXPECT_TRUE(window.flags().testFlags(
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(window.color(), QColor(Qt::transparent));

    panel.setFrame(Rect(100, 700, 284, 38));
    EXPECT_EQ(window.geometry(), QRect(100, 62, 284, 38));
    panel.orderFront();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(window.flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(10, 10));
    QFocusEvent lost(QEvent::FocusOut);
    QCoreApplication::sendEvent(&window, &lost);
    EXPECT_TRUE(window.flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    panel.close();
}

TEST_F(FloatingPanelTest, ReportsThePointerAndAnEscapeNoViewTook)
{
    FloatingPanel panel(screens, desktop, clock, engine, "import QtQuick\nItem {}\n");
    std::vector<bool> pointer;
    int escapes = 0;
    panel.pointerChanged = [&](bool inside) { pointer.push_back(inside); };
    panel.escape = [&] { ++escapes; };

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&panel.window(), &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&panel.window(), &leave);
    EXPECT_EQ(pointer, (std::vector<bool>{true, false}));

    QTest::keyClick(&panel.window(), Qt::Key_Escape);
    QTest::keyClick(&panel.window(), Qt::Key_A);
    EXPECT_EQ(escapes, 1);
}

TEST_F(FloatingPanelTest, ClicksPassThroughWhenAskedAndTheViewFillsTheWindow)
{
    FloatingPanel panel(screens, desktop, clock, engine, "import QtQuick\nRectangle { color: \"red\" }\n");
    ASSERT_TRUE(panel.content());
    panel.setIgnoresMouseEvents(true);
    EXPECT_TRUE(panel.window().flags().testFlag(Qt::WindowTransparentForInput));
    panel.setFrame(Rect(0, 0, 280, 210));
    EXPECT_EQ(panel.content()->size(), QSizeF(280, 210));
}
