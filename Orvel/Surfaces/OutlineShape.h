#pragma once

#include "PaintedPicture.h"

#include <QColor>
#include <QtQml/qqmlregistration.h>

// A rectangle whose top and bottom pairs of corners round differently (the
// top player's header and body): optionally the idle header's light glass, then a fill, then a
// stroke inside the edge, top to bottom in two colours. Decorative: no
// pointer hits, hidden from accessibility.
class OutlineShape : public PaintedPicture {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal topRadius READ topRadius WRITE setTopRadius NOTIFY changed)
    Q_PROPERTY(qreal bottomRadius READ bottomRadius WRITE setBottomRadius NOTIFY changed)
    Q_PROPERTY(bool glass READ glass WRITE setGlass NOTIFY changed)
    Q_PROPERTY(QColor fill READ fill WRITE setFill NOTIFY changed)
    Q_PROPERTY(QColor stroke READ stroke WRITE setStroke NOTIFY changed)
    // Invalid: the stroke is one colour.
    Q_PROPERTY(QColor strokeEnd READ strokeEnd WRITE setStrokeEnd NOTIFY changed)
    Q_PROPERTY(qreal strokeWidth READ strokeWidth WRITE setStrokeWidth NOTIFY changed)

public:
    explicit OutlineShape(QQuickItem *parent = nullptr);

    qreal topRadius() const { return m_topRadius; }
    void setTopRadius(qreal value) { assign(m_topRadius, value); }
    qreal bottomRadius() const { return m_bottomRadius; }
    void setBottomRadius(qreal value) { assign(m_bottomRadius, value); }
    bool glass() const { return m_glass; }
    void setGlass(bool value) { assign(m_glass, value); }
    QColor fill() const { return m_fill; }
    void setFill(const QColor &value) { assign(m_fill, value); }
    QColor stroke() const { return m_stroke; }
    void setStroke(const QColor &value) { assign(m_stroke, value); }
    QColor strokeEnd() const { return m_strokeEnd; }
    void setStrokeEnd(const QColor &value) { assign(m_strokeEnd, value); }
    qreal strokeWidth() const { return m_strokeWidth; }
    void setStrokeWidth(qreal value) { assign(m_strokeWidth, value); }

    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    template<class T>
    void assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        emit changed();
        update();
    }

    qreal m_topRadius = 0;
    qreal m_bottomRadius = 0;
    bool m_glass = false;
    QColor m_fill = Qt::transparent;
    QColor m_stroke = Qt::transparent;
    QColor m_strokeEnd;
    qreal m_strokeWidth = 1;
};
