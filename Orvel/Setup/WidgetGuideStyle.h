#pragma once

#include "SkinPalette.h"

#include <QFont>
#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// The looks of the widget guide: the static mock of the two widgets, which
// draws rivista and classico apart, the steps for adding one, and the sheet.
class WidgetGuideStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)

    Q_PROPERTY(qreal artworkRadius READ artworkRadius NOTIFY changed)
    Q_PROPERTY(qreal trackHeight READ trackHeight NOTIFY changed)
    Q_PROPERTY(QFont titleFont READ titleFont NOTIFY changed)
    Q_PROPERTY(QFont numberFont READ numberFont CONSTANT)
    Q_PROPERTY(QColor fillColor READ fillColor NOTIFY changed)
    Q_PROPERTY(QSizeF fillSize READ fillSize CONSTANT)
    Q_PROPERTY(QStringList placeholders READ placeholders CONSTANT)
    Q_PROPERTY(QStringList steps READ steps CONSTANT)
    Q_PROPERTY(qreal sheetWidth READ sheetWidth CONSTANT)
    Q_PROPERTY(qreal sheetPadding READ sheetPadding CONSTANT)

public:
    static constexpr double sheetWidthValue = 650;
    static constexpr double sheetPaddingValue = 32;
    static constexpr double fillWidth = 40;
    static constexpr double fillHeight = 3;

    struct Look {
        double artworkRadius = 4;
        double trackHeight = 3;
        bool displayTitle = false; // the display face at 15, else the system font 14 semibold
        bool fillInText = false; // progress fill and pause disc in text, else in accent
        friend bool operator==(const Look &, const Look &) = default;
    };
    static Look look(Skin skin);
    static QFont titleFont(Skin skin);
    // English keys, in their order.
    static QStringList placeholderKeys();
    static QStringList stepKeys();

    explicit WidgetGuideStyle(QObject *parent = nullptr);

    SkinPalette palette() const { return m_palette; }
    void setPalette(const SkinPalette &palette);

    qreal artworkRadius() const { return look(m_palette.skin).artworkRadius; }
    qreal trackHeight() const { return look(m_palette.skin).trackHeight; }
    QFont titleFont() const { return titleFont(m_palette.skin); }
    // The steps' numbers: 13 semibold with digits of equal width.
    QFont numberFont() const;
    QColor fillColor() const;
    QSizeF fillSize() const { return {fillWidth, fillHeight}; }
    QStringList placeholders() const;
    QStringList steps() const;
    qreal sheetWidth() const { return sheetWidthValue; }
    qreal sheetPadding() const { return sheetPaddingValue; }

signals:
    void changed();

private:
    SkinPalette m_palette;
};
