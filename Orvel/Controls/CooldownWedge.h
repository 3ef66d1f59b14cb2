#pragma once

#include <QColor>
#include <QPainterPath>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The dark pie over a skill slot while its shortcut starts: the last
// `remaining` of a turn, ending at 12 o'clock, clipped to the slot's shape
// (a circle, or a square of the given corner radius). Decorative.
class CooldownWedge : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal remaining READ remaining WRITE setRemaining NOTIFY changed)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY changed)
    Q_PROPERTY(bool circle READ circle WRITE setCircle NOTIFY changed)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY changed)

public:
    static constexpr double emptyBelow = 0.001;

    // The wedge in the rectangle; empty at 0.001 or less, or NaN.
    static QPainterPath path(const QRectF &rect, double remaining);
    // The slot's shape that clips it.
    static QPainterPath clip(const QRectF &rect, bool circle, double radius);

    explicit CooldownWedge(QQuickItem *parent = nullptr);

    qreal remaining() const { return m_remaining; }
    void setRemaining(qreal remaining);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    bool circle() const { return m_circle; }
    void setCircle(bool circle);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    qreal m_remaining = 0;
    QColor m_color = QColor(0, 0, 0, 115);
    bool m_circle = false;
    qreal m_radius = 8;
};
