#pragma once

#include "SkinPalette.h"
#include "Typography.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The square icon button's look: the icon's size and colour, the classico
// fill (an accent tint when selected), and the accessibility value.
class GlyphButtonStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)
    Q_PROPERTY(bool selected READ selected WRITE setSelected NOTIFY changed)
    Q_PROPERTY(qreal size READ size WRITE setSize NOTIFY changed)
    // True for a system symbol, false for one of our glyphs.
    Q_PROPERTY(bool symbol READ symbol WRITE setSymbol NOTIFY changed)

    Q_PROPERTY(qreal iconSize READ iconSize NOTIFY changed)
    Q_PROPERTY(int symbolWeight READ symbolWeightValue NOTIFY changed)
    Q_PROPERTY(QColor foreground READ foregroundColor NOTIFY changed)
    Q_PROPERTY(QColor background READ backgroundColor NOTIFY changed)
    Q_PROPERTY(qreal radius READ radius CONSTANT)
    Q_PROPERTY(QString accessibilityValue READ accessibilityValue NOTIFY changed)

public:
    static constexpr double defaultSize = 30;
    static constexpr double glyphScale = 0.6;
    static constexpr double symbolScale = 0.44;
    static constexpr double restingOpacity = 0.72;
    static constexpr double selectedTint = 0.1;

    static double iconSize(double size, bool symbol);
    // Semibold in rivista, medium in classico; the symbol table draws one weight.
    static FontWeight symbolWeight(Skin skin);
    static SRGBColor foreground(const SkinPalette &palette, bool selected);
    // Clear in rivista whether selected or not.
    static SRGBColor background(const SkinPalette &palette, bool selected);
    static QString accessibilityValue(bool selected);

    explicit GlyphButtonStyle(QObject *parent = nullptr);

    SkinPalette palette() const { return m_palette; }
    void setPalette(const SkinPalette &palette);
    bool selected() const { return m_selected; }
    void setSelected(bool selected);
    qreal size() const { return m_size; }
    void setSize(qreal size);
    bool symbol() const { return m_symbol; }
    void setSymbol(bool symbol);

    qreal iconSize() const { return iconSize(m_size, m_symbol); }
    int symbolWeightValue() const { return int(symbolWeight(m_palette.skin)); }
    QColor foregroundColor() const { return foreground(m_palette, m_selected).toQColor(); }
    QColor backgroundColor() const { return background(m_palette, m_selected).toQColor(); }
    qreal radius() const { return Radius::small; }
    QString accessibilityValue() const { return accessibilityValue(m_selected); }

signals:
    void changed();

private:
    SkinPalette m_palette;
    bool m_selected = false;
    qreal m_size = defaultSize;
    bool m_symbol = false;
};
