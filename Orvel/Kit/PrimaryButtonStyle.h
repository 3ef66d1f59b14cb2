#pragma once

#include "KitShape.h"
#include "SkinPalette.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The filled capsule of a screen's main action: classico a diagonal accent
// gradient, rivista a plain light capsule, both with a faint white border;
// the title in onAccent with the glyph after it.
class PrimaryButtonStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)

    Q_PROPERTY(QColor foreground READ foregroundColor NOTIFY changed)
    Q_PROPERTY(QColor fill READ fillColor NOTIFY changed)
    // The fill's second colour, from the top-leading to the bottom-trailing corner.
    Q_PROPERTY(QColor fillEnd READ fillEndColor NOTIFY changed)
    Q_PROPERTY(QColor border READ borderColor CONSTANT)
    Q_PROPERTY(qreal horizontalPadding READ horizontalPadding CONSTANT)
    Q_PROPERTY(qreal verticalPadding READ verticalPadding CONSTANT)
    Q_PROPERTY(qreal spacing READ spacing CONSTANT)
    Q_PROPERTY(qreal glyphSize READ glyphSize CONSTANT)
    Q_PROPERTY(QFont font READ font CONSTANT)

public:
    static constexpr double horizontalPaddingValue = 18;
    static constexpr double verticalPaddingValue = 11;
    static constexpr double spacingValue = 8;
    static constexpr double glyphSizeValue = 14;
    static constexpr double titleSize = 13;
    static constexpr SRGBColor classicoGradientEnd{0.67, 0.86, 0.45, 1};
    static constexpr double borderOpacity = 0.15;

    static KitGradient fill(const SkinPalette &palette);

    explicit PrimaryButtonStyle(QObject *parent = nullptr);

    SkinPalette palette() const { return m_palette; }
    void setPalette(const SkinPalette &palette);

    QColor foregroundColor() const { return m_palette.onAccent.toQColor(); }
    QColor fillColor() const { return fill(m_palette).from; }
    QColor fillEndColor() const { return fill(m_palette).to; }
    QColor borderColor() const { return SRGBColor::white(borderOpacity).toQColor(); }
    qreal horizontalPadding() const { return horizontalPaddingValue; }
    qreal verticalPadding() const { return verticalPaddingValue; }
    qreal spacing() const { return spacingValue; }
    qreal glyphSize() const { return glyphSizeValue; }
    QFont font() const;

signals:
    void changed();

private:
    SkinPalette m_palette;
};
