#pragma once

#include <QColor>
#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The cover of the Now playing widget, fitted into a rounded square; without a
// cover, the placeholder: the illustration on the tile colour in full colour,
// else a note glyph on a faint white square. Decorative.
class ArtworkTile : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY changed)
    Q_PROPERTY(double imageOpacity READ imageOpacity WRITE setImageOpacity NOTIFY changed)
    Q_PROPERTY(double radius READ radius WRITE setRadius NOTIFY changed)
    Q_PROPERTY(bool illustrated READ illustrated WRITE setIllustrated NOTIFY changed)
    Q_PROPERTY(QColor placeholderFill READ placeholderFill WRITE setPlaceholderFill NOTIFY changed)
    Q_PROPERTY(QColor glyphColor READ glyphColor WRITE setGlyphColor NOTIFY changed)

public:
    static constexpr double placeholderRadius = 10;
    static constexpr double illustrationScale = 0.86;
    static constexpr double glyphScale = 0.4;

    explicit ArtworkTile(QQuickItem *parent = nullptr);

    struct Look {
        QImage image;
        double imageOpacity = 1;
        double radius = 4;
        bool illustrated = true;
        QColor placeholderFill;
        QColor glyphColor;
    };
    static void draw(QPainter &painter, QSizeF size, const Look &look);

    QImage image() const { return m_look.image; }
    void setImage(const QImage &image);
    double imageOpacity() const { return m_look.imageOpacity; }
    void setImageOpacity(double opacity);
    double radius() const { return m_look.radius; }
    void setRadius(double radius);
    bool illustrated() const { return m_look.illustrated; }
    void setIllustrated(bool illustrated);
    QColor placeholderFill() const { return m_look.placeholderFill; }
    void setPlaceholderFill(const QColor &color);
    QColor glyphColor() const { return m_look.glyphColor; }
    void setGlyphColor(const QColor &color);

    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    template<class T>
    void assign(T &field, const T &value);
    Look m_look;
};
