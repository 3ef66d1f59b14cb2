#pragma once

#include "PanelModel.h"

#include <QPointF>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// The transparent handle over the top player's header: a click without
// movement opens the player, a double click returns it to the top. Its
// cursor is the open hand while dragging is enabled, else the pointing hand.
class HeaderDragView : public QQuickItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(PlayerDragHandle)
    Q_PROPERTY(PanelModel *model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(bool dragEnabled READ dragEnabled WRITE setDragEnabled NOTIFY dragEnabledChanged)

public:
    // A press that moves less than this, in points, is a click.
    static constexpr double clickSlop = 3;

    explicit HeaderDragView(QQuickItem *parent = nullptr);

    PanelModel *model() const { return m_model; }
    void setModel(PanelModel *model);
    bool dragEnabled() const { return m_dragEnabled; }
    void setDragEnabled(bool enabled);

signals:
    void modelChanged();
    void dragEnabledChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void updateCursor();

    QPointer<PanelModel> m_model;
    bool m_dragEnabled = true;
    QPointF m_pressedAt;
    bool m_moved = false;
};
