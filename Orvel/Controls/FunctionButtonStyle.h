#pragma once

#include "SkinPalette.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The toggle button of a function such as shuffle or repeat: shuffle and loop
// show the system's symbols, any other glyph itself; an on function is the
// glyph button's selected look, with a small accent dot under it in rivista.
class FunctionButtonStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)
    Q_PROPERTY(QString glyph READ glyph WRITE setGlyph NOTIFY changed)
    Q_PROPERTY(bool on READ on WRITE setOn NOTIFY changed)

    // Empty for a glyph drawn as itself.
    Q_PROPERTY(QString symbol READ symbol NOTIFY changed)
    Q_PROPERTY(bool showsDot READ showsDot NOTIFY changed)
    Q_PROPERTY(double dotSize READ dotSize CONSTANT)
    Q_PROPERTY(double dotDrop READ dotDrop CONSTANT)
    Q_PROPERTY(QString accessibilityValue READ accessibilityValue NOTIFY changed)
    Q_PROPERTY(double defaultSize READ defaultSizeValue CONSTANT)

public:
    static constexpr double defaultSize = 25;

    explicit FunctionButtonStyle(QObject *parent = nullptr);

    static QString symbol(const QString &glyph);
    static bool showsDot(const SkinPalette &palette, bool on) { return on && palette.skin != Skin::classico; }
    static QString accessibilityValue(bool on);

    SkinPalette palette() const { return m_palette; }
    void setPalette(const SkinPalette &palette);
    QString glyph() const { return m_glyph; }
    void setGlyph(const QString &glyph);
    bool on() const { return m_on; }
    void setOn(bool on);

    QString symbol() const { return symbol(m_glyph); }
    bool showsDot() const { return showsDot(m_palette, m_on); }
    double dotSize() const { return 3; }
    double dotDrop() const { return 1; }
    double defaultSizeValue() const { return defaultSize; }
    QString accessibilityValue() const { return accessibilityValue(m_on); }

signals:
    void changed();

private:
    SkinPalette m_palette;
    QString m_glyph;
    bool m_on = false;
};
