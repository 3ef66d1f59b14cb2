#pragma once

#include "OrvelGlyph.h"
#include "TintedGlyphItem.h"

#include <QImage>

// A glyph filled with one colour (the caller's foreground), drawn size x size
// and centred in the item. Decorative: no pointer hits, hidden from accessibility.
class GlyphView : public TintedGlyphItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString glyph READ glyphName WRITE setGlyphName NOTIFY glyphChanged)

public:
    explicit GlyphView(QQuickItem *parent = nullptr);

    OrvelGlyph glyph() const { return m_glyph; }
    void setGlyph(OrvelGlyph glyph);
    QString glyphName() const { return toRawValue(m_glyph); }
    void setGlyphName(const QString &name);

    void paint(QPainter *painter) override;

    // Fills the glyph's layers into the square. Layers add up: overlapping
    // layers never cancel, holes exist only inside an even-odd layer, and the
    // colour's opacity applies to the glyph as a whole.
    static void draw(QPainter &painter, OrvelGlyph glyph, const QRectF &square, const QColor &color);
    // The same for any layers on the glyph grid (the system symbols' too).
    static void drawLayers(
        QPainter &painter, const std::vector<GlyphLayer> &layers, const QRectF &square, const QColor &color);
    // The glyph alone, side x side device pixels, on a transparent ground.
    static QImage render(OrvelGlyph glyph, int side, const QColor &color);

signals:
    void glyphChanged();

private:
    OrvelGlyph m_glyph = OrvelGlyph::mark;
};
