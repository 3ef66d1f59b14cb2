#pragma once

#include <QColor>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// A skill slot's shape (a circle, or a square of the given corner radius),
// filled and stroked inside its edge, the stroke solid or dashed 2 on, 3 off.
// Decorative.
class SlotOutline : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool circle MEMBER m_circle NOTIFY changed)
    Q_PROPERTY(qreal radius MEMBER m_radius NOTIFY changed)
    Q_PROPERTY(QColor fill MEMBER m_fill NOTIFY changed)
    Q_PROPERTY(QColor stroke MEMBER m_stroke NOTIFY changed)
    Q_PROPERTY(qreal strokeWidth MEMBER m_strokeWidth NOTIFY changed)
    Q_PROPERTY(bool dashed MEMBER m_dashed NOTIFY changed)

public:
    explicit SlotOutline(QQuickItem *parent = nullptr);
    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    bool m_circle = false;
    qreal m_radius = 8;
    QColor m_fill = Qt::transparent;
    QColor m_stroke = Qt::transparent;
    qreal m_strokeWidth = 0;
    bool m_dashed = false;
};
