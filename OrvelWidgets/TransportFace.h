#pragma once

#include "OrvelGlyph.h"

#include <QColor>
#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The face of a transport button. Secondary: the glyph on a rounded tile.
// Primary: the glyph on a filled circle, or, when `cutout` is set, cut out of a
// white circle so the ground shows through it.
class TransportFace : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString glyph READ glyphName WRITE setGlyphName NOTIFY changed)
    Q_PROPERTY(bool primary READ primary WRITE setPrimary NOTIFY changed)
    Q_PROPERTY(bool cutout READ cutout WRITE setCutout NOTIFY changed)
    Q_PROPERTY(QColor fill READ fill WRITE setFill NOTIFY changed)
    Q_PROPERTY(QColor glyphColor READ glyphColor WRITE setGlyphColor NOTIFY changed)

public:
    static constexpr QSizeF primarySize{34, 34};
    static constexpr double primaryGlyph = 16;
    static constexpr QSizeF secondarySize{30, 24};
    static constexpr double secondaryGlyph = 14;
    static constexpr double secondaryRadius = 7;
    static constexpr double cutoutOpacity = 0.88;

    explicit TransportFace(QQuickItem *parent = nullptr);

    struct Look {
        OrvelGlyph glyph = OrvelGlyph::play;
        bool primary = false;
        bool cutout = false;
        QColor fill;
        QColor glyphColor;
    };
    // The play glyph sits one point right of centre, where it looks centred.
    static double glyphShift(OrvelGlyph glyph) { return glyph == OrvelGlyph::play ? 1 : 0; }
    static void draw(QPainter &painter, QSizeF size, const Look &look);

    QString glyphName() const { return toRawValue(m_look.glyph); }
    void setGlyphName(const QString &name);
    bool primary() const { return m_look.primary; }
    void setPrimary(bool primary);
    bool cutout() const { return m_look.cutout; }
    void setCutout(bool cutout);
    QColor fill() const { return m_look.fill; }
    void setFill(const QColor &color);
    QColor glyphColor() const { return m_look.glyphColor; }
    void setGlyphColor(const QColor &color);

    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    void resize();
    Look m_look;
};
