#pragma once

#include "PaintedPicture.h"

#include <QColor>
#include <QPainterPath>
#include <QtQml/qqmlregistration.h>

// Corner radii of a rounded rectangle in points; circular corners stand in
// for continuous ones.
struct Corners {
    double topLeading = 0;
    double topTrailing = 0;
    double bottomTrailing = 0;
    double bottomLeading = 0;

    static Corners all(double radius) { return {radius, radius, radius, radius}; }
    // The outline in the rectangle; radii are limited to half the shorter side.
    QPainterPath path(const QRectF &rect) const;
    // The same shape moved inwards by the amount, radii shrinking with it.
    Corners inset(double amount) const;

    friend bool operator==(const Corners &, const Corners &) = default;
};

// Two colours across a shape: top to bottom, or from the top-leading to the
// bottom-trailing corner of its bounds. A single colour when both are equal.
struct KitGradient {
    enum class Direction { vertical, diagonal };
    QColor from;
    QColor to;
    Direction direction = Direction::vertical;

    static KitGradient solid(const QColor &color) { return {color, color, Direction::vertical}; }
    bool isVisible() const { return from.alpha() > 0 || to.alpha() > 0; }
    // The brush over a shape of these bounds.
    QBrush brush(const QRectF &bounds) const;

    friend bool operator==(const KitGradient &, const KitGradient &) = default;
};

// A rounded shape filled and stroked inside its edge, painted: what the kit
// draws where a Rectangle cannot (diagonal gradients, gradient borders).
// Decorative: no pointer hits, hidden from accessibility.
class KitShape : public PaintedPicture {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY changed)
    // Half the shorter side, whatever the radius.
    Q_PROPERTY(bool capsule READ capsule WRITE setCapsule NOTIFY changed)
    Q_PROPERTY(QColor fill READ fill WRITE setFill NOTIFY changed)
    // A second colour makes the fill a gradient; transparent by default (none).
    Q_PROPERTY(QColor fillEnd READ fillEnd WRITE setFillEnd NOTIFY changed)
    Q_PROPERTY(bool fillDiagonal READ fillDiagonal WRITE setFillDiagonal NOTIFY changed)
    Q_PROPERTY(QColor stroke READ stroke WRITE setStroke NOTIFY changed)
    Q_PROPERTY(QColor strokeEnd READ strokeEnd WRITE setStrokeEnd NOTIFY changed)
    Q_PROPERTY(bool strokeDiagonal READ strokeDiagonal WRITE setStrokeDiagonal NOTIFY changed)
    Q_PROPERTY(qreal strokeWidth READ strokeWidth WRITE setStrokeWidth NOTIFY changed)
    // Added to every colour, as the press feedback brightens a label.
    Q_PROPERTY(qreal brightness READ brightness WRITE setBrightness NOTIFY changed)
    // A named image drawn over the fill, scaled to fit and clipped to the shape.
    Q_PROPERTY(QString image READ image WRITE setImage NOTIFY changed)

public:
    struct Style {
        Corners corners;
        bool capsule = false;
        KitGradient fill = KitGradient::solid(Qt::transparent);
        KitGradient stroke = KitGradient::solid(Qt::transparent);
        double strokeWidth = 0;
        QString image;
        double brightness = 0;
    };

    explicit KitShape(QQuickItem *parent = nullptr);

    // Fills the shape, draws the image into it, then strokes it inside its edge.
    static void draw(QPainter &painter, const QRectF &rect, const Style &style);
    static QImage render(QSize size, const Style &style);
    Style style() const;

    qreal radius() const { return m_radius; }
    void setRadius(qreal value);
    bool capsule() const { return m_capsule; }
    void setCapsule(bool value);
    QColor fill() const { return m_fill; }
    void setFill(const QColor &value);
    QColor fillEnd() const { return m_fillEnd; }
    void setFillEnd(const QColor &value);
    bool fillDiagonal() const { return m_fillDiagonal; }
    void setFillDiagonal(bool value);
    QColor stroke() const { return m_stroke; }
    void setStroke(const QColor &value);
    QColor strokeEnd() const { return m_strokeEnd; }
    void setStrokeEnd(const QColor &value);
    bool strokeDiagonal() const { return m_strokeDiagonal; }
    void setStrokeDiagonal(bool value);
    qreal strokeWidth() const { return m_strokeWidth; }
    void setStrokeWidth(qreal value);
    qreal brightness() const { return m_brightness; }
    void setBrightness(qreal value);
    QString image() const { return m_image; }
    void setImage(const QString &value);

    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    template<class T>
    void assign(T &field, const T &value);

    qreal m_radius = 0;
    bool m_capsule = false;
    QColor m_fill = Qt::transparent;
    QColor m_fillEnd;
    bool m_fillDiagonal = false;
    QColor m_stroke = Qt::transparent;
    QColor m_strokeEnd;
    bool m_strokeDiagonal = false;
    qreal m_strokeWidth = 1;
    QString m_image;
    qreal m_brightness = 0;
};
