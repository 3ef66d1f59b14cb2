#include "HeaderDragView.h"

#include "PanelModel.h"

#include <QCursor>
#include <QLineF>
#include <QMouseEvent>

HeaderDragView::HeaderDragView(QQuickItem *parent)
    : QQuickItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    updateCursor();
}

void HeaderDragView::setModel(PanelModel *model)
{
    if (model == m_model)
        return;
    m_model = model;
    emit modelChanged();
}

void HeaderDragView::setDragEnabled(bool enabled)
{
    if (enabled == m_dragEnabled)
        return;
    m_dragEnabled = enabled;
    updateCursor();
    emit dragEnabledChanged();
}

void HeaderDragView::updateCursor()
{
    setCursor(m_dragEnabled ? Qt::OpenHandCursor : Qt::PointingHandCursor);
}

void HeaderDragView::mousePressEvent(QMouseEvent *event)
{
    m_pressedAt = event->scenePosition();
    m_moved = false;
    event->accept();
}

void HeaderDragView::mouseMoveEvent(QMouseEvent *event)
{
    if (QLineF(m_pressedAt, event->scenePosition()).length() >= clickSlop)
        m_moved = true;
    event->accept();
}

void HeaderDragView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (!m_moved && m_model)
        m_model->open();
}

void HeaderDragView::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (m_model)
        m_model->resetPosition();
}
