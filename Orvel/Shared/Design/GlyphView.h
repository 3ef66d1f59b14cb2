#pragma once

#include "OrvelGlyph.h"

#include "SkinEnvironment.h"
#include <QColor>
#include <QImage>

#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// A glyph filled with one colour (the caller's foreground), drawn size x size
// and centred in the item. Decorative: no pointer hits, hidden from accessibility.
class GlyphView : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString glyph READ glyphName WRITE setGlyphName NOTIFY glyphChanged)
    Q_PROPERTY(qreal size READ size WRITE setSize NOTIFY sizeChanged)
    // The foreground: the environment palette's text colour unless set.
    Q_PROPERTY(QColor color READ color WRITE setColor RESET resetColor NOTIFY colorChanged)

public:
    static constexpr qreal defaultSize = 16;

    explicit GlyphView(QQuickItem *parent = nullptr);

    OrvelGlyph glyph() const { return m_glyph; }
    void setGlyph(OrvelGlyph glyph);
    QString glyphName() const { return toRawValue(m_glyph); }
    void setGlyphName(const QString &name);
    qreal size() const { return m_size; }
    void setSize(qreal size);
    QColor color() const;
    void setColor(const QColor &color);
    void resetColor();

    void componentComplete() override;
    void paint(QPainter *painter) override;

    // Fills the glyph's layers into the square. Layers add up: overlapping
    // layers never cancel, holes exist only inside an even-odd layer, and the
    // colour's opacity applies to the glyph as a whole.
    static void draw(QPainter &painter, OrvelGlyph glyph, const QRectF &square, const QColor &color);
    // The glyph alone, side x side device pixels, on a transparent ground.
    static QImage render(OrvelGlyph glyph, int side, const QColor &color);

signals:
    void glyphChanged();
    void sizeChanged();
    void colorChanged();

private:
    OrvelGlyph m_glyph = OrvelGlyph::mark;
    qreal m_size = defaultSize;
    std::optional<QColor> m_color;
    SkinnedAttached *environment() const;
    mutable EnvironmentLink m_environment;
};
