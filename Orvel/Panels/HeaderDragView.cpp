#include "HeaderDragView.h"

#include "PanelModel.h"
#include "Screens.h"

#include <QCursor>
#include <QMouseEvent>
#include <cmath>

namespace {
Point screenLocation(const QMouseEvent *event)
{
    return Screens::fromQtGlobal(event->globalPosition());
}
} // namespace

HeaderDragView::HeaderDragView(QQuickItem *parent)
    : QQuickItem(parent)
{
    setImplicitSize(defaultWidth, defaultHeight);
    setAcceptedMouseButtons(Qt::LeftButton);
    setActiveFocusOnTab(true);
    setFlag(ItemIsFocusScope, false);
    updateCursor();
}

HeaderDragView::~HeaderDragView()
{
    m_rest.cancel();
}

void HeaderDragView::setModel(PanelModel *model)
{
    // Every assignment looks at the cursor again, as the setting may have changed meanwhile.
    const bool changed = m_model != model;
    m_model = model;
    updateCursor();
    if (changed)
        emit modelChanged();
}

void HeaderDragView::setDragEnabled(bool enabled)
{
    if (m_dragEnabled == enabled)
        return;
    m_dragEnabled = enabled;
    updateCursor();
    emit dragEnabledChanged();
}

bool HeaderDragView::isDrag(Point start, Point now)
{
    return std::hypot(now.x - start.x, now.y - start.y) >= dragThreshold;
}

void HeaderDragView::updateCursor()
{
    setCursor(m_dragEnabled ? Qt::OpenHandCursor : Qt::PointingHandCursor);
}

void HeaderDragView::stepped()
{
    m_rest.cancel();
    setMoving(true);
    Scheduler &scheduler = Scheduler::current();
    m_rest = scheduler.spawn([&scheduler, view = QPointer<HeaderDragView>(this)](
                                 TaskHandle self) { return restLater(scheduler, view, self); });
}

QCoro::Task<void> HeaderDragView::restLater(
    Scheduler &scheduler, QPointer<HeaderDragView> view, TaskHandle self)
{
    const bool rested = co_await scheduler.sleep(restDelay, self);
    if (rested && view)
        view->setMoving(false);
}

void HeaderDragView::setMoving(bool moving)
{
    if (moving == m_moving)
        return;
    m_moving = moving;
    emit movingChanged();
}

void HeaderDragView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    // The panel became the key window with this press; the keys come here now.
    forceActiveFocus(Qt::MouseFocusReason);
    m_pressed = true;
    m_moved = false;
    m_start = screenLocation(event);
    if (m_model)
        m_model->beginDrag();
}

void HeaderDragView::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (!m_model)
        return;
    m_model->endDrag(false);
    if (m_model->onResetPosition)
        m_model->onResetPosition();
}

void HeaderDragView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (!dragEnabled() || !m_model || !m_model->isDragging())
        return;
    const Point point = screenLocation(event);
    if (!m_moved) {
        if (!isDrag(m_start, point))
            return;
        m_moved = true;
        if (m_model->onDragStart)
            m_model->onDragStart(m_start);
    }
    stepped();
    if (m_model && m_model->onDragMove)
        m_model->onDragMove(point);
}

void HeaderDragView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    finish();
}

void HeaderDragView::mouseUngrabEvent()
{
    // The press ends here too when another item or a popup takes the pointer.
    finish();
}

void HeaderDragView::finish()
{
    if (!m_pressed)
        return;
    m_pressed = false;
    if (!m_model)
        return;
    // A press that moved the player keeps its place, even when Escape ended the drag first.
    if (m_moved && m_model->onDragEnd)
        m_model->onDragEnd();
    if (m_model && m_model->isDragging()) {
        m_model->endDrag(m_moved);
        if (!m_moved)
            m_model->open();
    }
}

void HeaderDragView::keyPressEvent(QKeyEvent *event)
{
    const double step = event->modifiers().testFlag(Qt::ShiftModifier) ? largeNudgeStep : nudgeStep;
    double dx = 0;
    double dy = 0;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_model)
            m_model->open();
        return;
    case Qt::Key_Escape:
        if (m_model)
            m_model->dismiss();
        return;
    case Qt::Key_Left:
        dx = -step;
        break;
    case Qt::Key_Right:
        dx = step;
        break;
    case Qt::Key_Down:
        dy = -step;
        break;
    case Qt::Key_Up:
        dy = step;
        break;
    default:
        QQuickItem::keyPressEvent(event);
        return;
    }
    // Arrows are taken even while dragging is off, so they never scroll anything behind.
    if (dragEnabled() && m_model && m_model->onNudge)
        m_model->onNudge(dx, dy);
}
