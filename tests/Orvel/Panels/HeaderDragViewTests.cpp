#include "HeaderDragView.h"
#include "PanelModel.h"
#include "PanelTestSupport.h"
#include "QmlHarness.h"
#include "QtPrinters.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class HeaderDragViewTest : public ::testing::Test {
protected:
    HeaderDragViewTest()
    {
        harness.provide(world.preferences);
        view = harness.view(
            "import QtQuick\nimport Orvel\nPlayerDragHandle { dragEnabled: Preferences.dragEnabled }\n");
        handle = qobject_cast<HeaderDragView *>(view ? view->item() : nullptr);
        if (!handle)
            return;
        handle->setModel(&model);
        model.onDragStart = [this](Point point) { log << QStringLiteral("start %1").arg(point.x); };
        model.onDragMove = [this](Point point) { log << QStringLiteral("move %1").arg(point.x); };
        model.onDragEnd = [this] { log << "end"; };
        model.onResetPosition = [this] { log << "reset"; };
        model.onNudge
            = [this](double dx, double dy) { log << QStringLiteral("nudge %1 %2").arg(dx).arg(dy); };
    }

    void send(QEvent::Type type, QPointF local, Qt::MouseButtons buttons = Qt::LeftButton)
    {
        QQuickWindow *window = view->window();
        const QPointF global = window->mapToGlobal(local);
        QMouseEvent event(type, local, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &event);
    }
    void press(QPointF at = {20, 10}) { send(QEvent::MouseButtonPress, at); }
    void move(QPointF to) { send(QEvent::MouseMove, to); }
    void release(QPointF at) { send(QEvent::MouseButtonRelease, at, Qt::NoButton); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view->window(), key, modifiers);
    }

    PanelWorld world;
    PanelModel model{SurfaceKind::notch, laptop().geometry(), world.clock};
    QmlHarness harness;
    std::unique_ptr<QmlHarness::View> view;
    HeaderDragView *handle = nullptr;
    QStringList log;
};
} // namespace

TEST_F(HeaderDragViewTest, IsTheHeadersSizeAndFollowsTheDragSettingWithItsCursor)
{
    ASSERT_TRUE(handle) << harness.errors().toStdString();
    EXPECT_EQ(handle->width(), 178);
    EXPECT_EQ(handle->height(), 38);
    EXPECT_EQ(handle->cursor().shape(), Qt::OpenHandCursor);
    world.preferences.setDragEnabled(false);
    EXPECT_EQ(handle->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(HeaderDragViewTest, APressThatMovesLessThanThreePointsIsAClick)
{
    ASSERT_TRUE(handle);
    EXPECT_FALSE(HeaderDragView::isDrag({0, 0}, {2.9, 0}));
    EXPECT_TRUE(HeaderDragView::isDrag({0, 0}, {0, 3.0}));

    press({20, 10});
    EXPECT_TRUE(model.isDragging());
    move({22.9, 10});
    release({22.9, 10});
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(model.isDragging());
    EXPECT_TRUE(model.isExpanded());
}

TEST_F(HeaderDragViewTest, ADragStartsAtThePressAndStoresItsPlaceAtRelease)
{
    ASSERT_TRUE(handle);
    press({20, 10});
    move({23, 10});
    move({60, 10});
    release({60, 10});
    const double start = view->window()->mapToGlobal(QPointF(20, 10)).x();
    EXPECT_EQ(log,
        (QStringList{QStringLiteral("start %1").arg(start), QStringLiteral("move %1").arg(start + 3),
            QStringLiteral("move %1").arg(start + 40), "end"}));
    EXPECT_FALSE(model.isDragging());
    EXPECT_FALSE(model.isExpanded());
}

TEST_F(HeaderDragViewTest, EscapeDuringADragStillStoresThePlaceAtRelease)
{
    ASSERT_TRUE(handle);
    press({20, 10});
    move({60, 10});
    key(Qt::Key_Escape);
    EXPECT_FALSE(model.isDragging());
    move({90, 10});
    release({90, 10});
    EXPECT_EQ(log.last(), "end");
    EXPECT_EQ(log.count("end"), 1);
    EXPECT_FALSE(model.isExpanded());
}

TEST_F(HeaderDragViewTest, WithDraggingOffAPressStillOpensAndMovesNothing)
{
    ASSERT_TRUE(handle);
    world.preferences.setDragEnabled(false);
    press({20, 10});
    move({80, 10});
    release({80, 10});
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(model.isExpanded());
    key(Qt::Key_Left);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(HeaderDragViewTest, ADoubleClickSendsThePlayerHome)
{
    ASSERT_TRUE(handle);
    QTest::mouseDClick(view->window(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(log, QStringList{"reset"});
    EXPECT_FALSE(model.isDragging());
    EXPECT_EQ(model.interactionCount(), 0);
}

TEST_F(HeaderDragViewTest, KeysOpenDismissAndNudgeUpwardPositive)
{
    ASSERT_TRUE(handle);
    handle->forceActiveFocus();
    key(Qt::Key_Return);
    EXPECT_TRUE(model.isExpanded());
    key(Qt::Key_Escape);
    EXPECT_FALSE(model.isExpanded());
    key(Qt::Key_Space);
    EXPECT_TRUE(model.isExpanded());
    key(Qt::Key_Up);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Left);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(log, (QStringList{"nudge 0 12", "nudge 0 -40", "nudge -12 0", "nudge 40 0"}));
}

TEST_F(HeaderDragViewTest, ALostGrabFinishesThePress)
{
    ASSERT_TRUE(handle);
    press({20, 10});
    move({60, 10});
    handle->ungrabMouse();
    EXPECT_EQ(log.last(), "end");
    EXPECT_FALSE(model.isDragging());
}
