#pragma once

#include "Geometry.h"
#include "Scheduler.h"

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

#include "PanelModel.h"

// The top player's header as a handle, laid over the header's view: a click
// opens the player, a press that moves 3 points drags it, a double click sends
// it home, Return or Space open it, Escape dismisses it and the arrow keys
// nudge it. Whether it may be dragged is the user's setting, bound by the view
// and read at each event.
class HeaderDragView : public QQuickItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(PlayerDragHandle)
    Q_PROPERTY(PanelModel *model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(bool dragEnabled READ dragEnabled WRITE setDragEnabled NOTIFY dragEnabledChanged)
    // A drag is moving the player: from its first step until the pointer has
    // rested for restDelay. The header's help waits for it, so it is not left
    // behind where the press began.
    Q_PROPERTY(bool moving READ moving NOTIFY movingChanged)

public:
    static constexpr double dragThreshold = 3.0;
    static constexpr double nudgeStep = 12;
    static constexpr double largeNudgeStep = 40;
    static constexpr double defaultWidth = 178;
    static constexpr double defaultHeight = 38;
    static constexpr double restDelay = 0.1;

    explicit HeaderDragView(QQuickItem *parent = nullptr);
    ~HeaderDragView() override;

    PanelModel *model() const { return m_model; }
    void setModel(PanelModel *model);
    bool dragEnabled() const { return m_dragEnabled; }
    void setDragEnabled(bool enabled);
    bool moving() const { return m_moving; }

    // A press becomes a drag once the pointer is this far from where it went down.
    static bool isDrag(Point start, Point now);

signals:
    void modelChanged();
    void dragEnabledChanged();
    void movingChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseUngrabEvent() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void finish();
    void updateCursor();
    // A drag step: moving until the pointer rests again.
    void stepped();
    void setMoving(bool moving);
    static QCoro::Task<void> restLater(Scheduler &scheduler, QPointer<HeaderDragView> view, TaskHandle self);

    QPointer<PanelModel> m_model;
    bool m_dragEnabled = true;
    bool m_pressed = false;
    bool m_moved = false;
    Point m_start;
    bool m_moving = false;
    TaskHandle m_rest;
};
