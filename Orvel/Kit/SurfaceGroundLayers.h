#pragma once

#include "KitAnimation.h"
#include "KitShape.h"
#include "PaintedPicture.h"
#include "SkinEnvironment.h"

#include <QtQml/qqmlregistration.h>
#include <optional>
#include <vector>

// The full-bleed ground of panels, the dashboard and the setup, painted into
// its shape. Classico: the ground colour lit by two faint radial glows.
// Rivista: the aura's field gradient, over glass with a sheen when glass is
// allowed. A new aura key cross-fades the field: the item sets `fade` to 0
// and asks for it to be animated linearly to 1 over fadeAnimation's length
// (fadeStarted); the curve is applied here. A key arriving mid-fade lets
// every field on its way out finish its own fade.
// Decorative: no pointer hits, hidden from accessibility.
class SurfaceGroundLayers : public PaintedPicture {
    Q_OBJECT
    QML_ELEMENT
    // Never translucent, whatever the skin.
    Q_PROPERTY(bool solid READ solid WRITE setSolid NOTIFY changed)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY changed)
    // The top or bottom pair of corners rounded otherwise (the player's
    // outline); negative: `radius`.
    Q_PROPERTY(qreal topRadius READ topRadius WRITE setTopRadius NOTIFY changed)
    Q_PROPERTY(qreal bottomRadius READ bottomRadius WRITE setBottomRadius NOTIFY changed)
    // The share of the newest fade's time that has run, 0...1.
    Q_PROPERTY(qreal fade READ fade WRITE setFade NOTIFY fadeChanged)
    Q_PROPERTY(bool showsGlass READ showsGlass NOTIFY changed)
    Q_PROPERTY(KitAnimation fadeAnimation READ fadeAnimation NOTIFY changed)

public:
    static constexpr double accentGlowOpacity = 0.065;
    static constexpr double accentGlowRadius = 520;
    static constexpr double tealGlowOpacity = 0.035;
    static constexpr double tealGlowRadius = 450;
    static constexpr double glassFieldOpacity = 0.66;
    static constexpr double glassFieldDeepOpacity = 0.82;
    static constexpr double sheenOpacity = 0.09;
    static constexpr double sheenDepth = 0.25;
    static constexpr double fadeSeconds = 0.7;

    // Glass only in rivista, never for a solid ground, in light effects or
    // under Reduce Transparency.
    static bool showsGlass(Skin skin, bool solid, bool light, bool reduceTransparency);
    // The field's top and bottom opacities.
    static std::pair<double, double> fieldOpacities(bool glass);
    // Ease-in-out over 0.7 s unless track changes are still.
    static KitAnimation fadeAnimation(const MotionPolicy &motion);

    struct FadingField {
        Aura aura;
        double opacity = 0;
        friend bool operator==(const FadingField &, const FadingField &) = default;
    };
    struct Layers {
        SkinPalette palette;
        Aura field;
        std::vector<FadingField> fading; // earlier auras on their way out, oldest first
        double fade = 1; // the field's opacity while others fade out
        bool glass = false;
    };
    static void draw(QPainter &painter, const QRectF &rect, const QPainterPath &shape, const Layers &layers);

    explicit SurfaceGroundLayers(QQuickItem *parent = nullptr);

    bool solid() const { return m_solid; }
    void setSolid(bool solid);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal topRadius() const { return m_topRadius; }
    void setTopRadius(qreal radius);
    qreal bottomRadius() const { return m_bottomRadius; }
    void setBottomRadius(qreal radius);
    // Another shape than the rounded rectangle (the player outline); null for the radii.
    void setCorners(const std::optional<Corners> &corners);
    qreal fade() const { return m_fade; }
    void setFade(qreal fade);
    bool showsGlass() const;
    KitAnimation fadeAnimation() const;
    Layers layers() const;

    void componentComplete() override;
    void paint(QPainter *painter) override;

signals:
    void changed();
    void fadeChanged();
    void fadeStarted();

private:
    SkinnedAttached *environment() const;
    void environmentChanged();

    bool m_solid = false;
    qreal m_radius = 0;
    qreal m_topRadius = -1;
    qreal m_bottomRadius = -1;
    std::optional<Corners> m_corners;
    qreal m_fade = 1;
    bool m_painted = false;
    std::optional<Aura> m_field;
    // A field on its way out: its opacity when it began to leave, and the
    // share of its fade's time that had run when the newest fade began.
    struct Outgoing {
        Aura aura;
        double from = 1;
        double done = 0;
    };
    std::vector<Outgoing> m_outgoing;
    QEasingCurve m_easing;
    mutable EnvironmentLink m_environment;
};
