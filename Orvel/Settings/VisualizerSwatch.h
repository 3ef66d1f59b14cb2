#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QQuickPaintedItem>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// A palette's colours as a small rounded bar, evenly spaced from the leading
// to the trailing edge. Decorative.
class VisualizerSwatch : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariantList colors READ colors WRITE setColors NOTIFY changed)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY changed)

public:
    explicit VisualizerSwatch(QQuickItem *parent = nullptr);

    QVariantList colors() const { return m_colors; }
    void setColors(const QVariantList &colors);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    // The gradient across a bar of that width: one stop per colour, evenly
    // spaced; a single colour fills the bar.
    static QLinearGradient gradient(const QList<QColor> &colors, qreal width);

    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    QVariantList m_colors;
    qreal m_radius = 2;
};
