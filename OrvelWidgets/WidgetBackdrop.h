#pragma once

#include "SkinPalette.h"

#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The container background of both widgets: a dark ground with a soft glow,
// classico's fixed green from the top-right corner or rivista's aura field
// with its glow low on the right; `intensity` sets the glow's strength.
class WidgetBackdrop : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString skin READ skinName WRITE setSkinName NOTIFY changed)
    Q_PROPERTY(Aura aura READ aura WRITE setAura NOTIFY changed)
    Q_PROPERTY(double intensity READ intensity WRITE setIntensity NOTIFY changed)

public:
    static constexpr SRGBColor classicoGround{0.047, 0.058, 0.055, 1};
    static constexpr SRGBColor classicoGlow{0.77, 0.94, 0.56, 1};
    static constexpr double classicoRadius = 240;
    static constexpr QPointF rivistaGlowCenter{0.85, 0.95};
    static constexpr double rivistaRadius = 220;

    explicit WidgetBackdrop(QQuickItem *parent = nullptr);

    // Not clamped: the caller's intensity goes straight in.
    static double classicoGlowOpacity(double intensity) { return 0.05 + 0.12 * intensity; }
    static double rivistaGlowIntensity(double intensity) { return intensity * 0.5; }

    static void draw(QPainter &painter, QSizeF size, Skin skin, const Aura &aura, double intensity);
    static QImage render(QSize size, Skin skin, const Aura &aura, double intensity);

    QString skinName() const { return toRawValue(m_skin); }
    void setSkinName(const QString &name);
    Aura aura() const { return m_aura; }
    void setAura(const Aura &aura);
    double intensity() const { return m_intensity; }
    void setIntensity(double intensity);

    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    Skin m_skin = Skin::classico;
    Aura m_aura;
    double m_intensity = 0;
};
