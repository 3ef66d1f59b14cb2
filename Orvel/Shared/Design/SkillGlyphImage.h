#pragma once

#include "GlyphView.h"
#include "SkillGlyph.h"

// The glyph a shortcut glyph is drawn with: the one of the same name, note
// when there is none.
OrvelGlyph glyph(SkillGlyph skillGlyph);
// The spoken, localised name of a shortcut glyph.
QString accessibilityName(SkillGlyph skillGlyph);

// A shortcut's glyph: the glyph drawn 1.3 x size in a square of 1.4 x size.
class SkillGlyphImage : public TintedGlyphItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString glyph READ glyphName WRITE setGlyphName NOTIFY glyphChanged)

public:
    static constexpr qreal glyphScale = 1.3;
    static constexpr qreal frameScale = 1.4;

    explicit SkillGlyphImage(QQuickItem *parent = nullptr);

    SkillGlyph glyph() const { return m_glyph; }
    void setGlyph(SkillGlyph glyph);
    QString glyphName() const { return toRawValue(m_glyph); }
    void setGlyphName(const QString &name);

    // The square the glyph fills inside a frame centred on `center`.
    static QRectF glyphRect(QPointF center, qreal size);
    void paint(QPainter *painter) override;

signals:
    void glyphChanged();

private:
    SkillGlyph m_glyph = SkillGlyph::note;
};
