#pragma once

#include "SkinPalette.h"

#include "SkinEnvironment.h"
#include <QImage>

#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The brand mark: the "BrandMark" image at large sizes, the glyph `mark` in
// the palette's accent at small ones. Decorative.
class MarkView : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal size READ size WRITE setSize NOTIFY changed)
    // "full", "compact", or empty to choose by size.
    Q_PROPERTY(QString variant READ variantName WRITE setVariantName NOTIFY changed)

public:
    enum class Variant { full, compact };
    static constexpr qreal defaultSize = 34;
    static constexpr qreal fullFrom = 44;

    explicit MarkView(QQuickItem *parent = nullptr);

    // The full image from 44 points up, the compact glyph below, unless a variant is given.
    static Variant chosen(qreal size, std::optional<Variant> variant);
    // The mark in a size x size square of device pixels.
    static QImage render(int side, std::optional<Variant> variant, const SkinPalette &palette);
    static void draw(QPainter &painter, const QRectF &square, Variant variant, const SkinPalette &palette);

    qreal size() const { return m_size; }
    void setSize(qreal size);
    std::optional<Variant> variant() const { return m_variant; }
    QString variantName() const;
    void setVariantName(const QString &name);

    void componentComplete() override;
    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    qreal m_size = defaultSize;
    std::optional<Variant> m_variant;
    SkinnedAttached *environment() const;
    mutable EnvironmentLink m_environment;
};

// A soft radial glow in an aura's colours: the primary at the centre, a smaller
// bloom of the secondary down and to the right. Decorative and never hit by the pointer.
class AuraGlow : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Aura aura READ aura WRITE setAura NOTIFY changed)
    // The main glow's centre as fractions of the view's size.
    Q_PROPERTY(QPointF center READ center WRITE setCenter NOTIFY changed)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY changed)
    Q_PROPERTY(qreal intensity READ intensity WRITE setIntensity NOTIFY changed)

public:
    static constexpr double defaultIntensity = 0.3;
    static constexpr double middleStop = 0.3;
    static constexpr double secondaryStrength = 0.65;
    static constexpr double secondaryRadius = 0.75;
    static constexpr QPointF secondaryOffset{0.22, 0.16};

    explicit AuraGlow(QQuickItem *parent = nullptr);

    static void draw(
        QPainter &painter, QSizeF size, const Aura &aura, QPointF center, qreal radius, qreal intensity);
    static QImage render(QSize size, const Aura &aura, QPointF center, qreal radius, qreal intensity);

    Aura aura() const { return m_aura; }
    void setAura(const Aura &aura);
    QPointF center() const { return m_center; }
    void setCenter(QPointF center);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal intensity() const { return m_intensity; }
    void setIntensity(qreal intensity);

    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    Aura m_aura;
    QPointF m_center{0.5, 0.5};
    qreal m_radius = 0;
    qreal m_intensity = defaultIntensity;
};
