#include "SurfaceGroundLayers.h"

#include "Assets.h"
#include "PlayerGlass.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

namespace {
void glow(QPainter &painter, QPointF center, double radius, QColor color)
{
    // To the same colour at no opacity, so the glow fades without greying.
    QRadialGradient gradient(center, radius);
    gradient.setColorAt(0, color);
    color.setAlphaF(0);
    gradient.setColorAt(1, color);
    painter.fillRect(painter.clipBoundingRect(), gradient);
}

void field(QPainter &painter, const QRectF &rect, const Aura &aura, double top, double bottom, double opacity)
{
    if (opacity <= 0)
        return;
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, aura.field.withOpacity(top * opacity).toQColor());
    gradient.setColorAt(1, aura.fieldDeep.withOpacity(bottom * opacity).toQColor());
    painter.fillRect(rect, gradient);
}
} // namespace

bool SurfaceGroundLayers::showsGlass(Skin skin, bool solid, bool light, bool reduceTransparency)
{
    return skin == Skin::rivista && !solid && !light && !reduceTransparency;
}

std::pair<double, double> SurfaceGroundLayers::fieldOpacities(bool glass)
{
    return glass ? std::pair{glassFieldOpacity, glassFieldDeepOpacity} : std::pair{1.0, 1.0};
}

KitAnimation SurfaceGroundLayers::fadeAnimation(const MotionPolicy &motion)
{
    return motion.level(AnimationFeature::trackChange) == MotionLevel::still
        ? KitAnimation::none()
        : KitAnimation::easeInOut(fadeSeconds);
}

void SurfaceGroundLayers::draw(
    QPainter &painter, const QRectF &rect, const QPainterPath &shape, const Layers &layers)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipPath(shape, Qt::IntersectClip);
    const SkinPalette &palette = layers.palette;
    if (palette.skin == Skin::classico) {
        painter.fillRect(rect, palette.ground.toQColor());
        glow(painter, rect.topRight(), accentGlowRadius,
            palette.accent.withOpacity(accentGlowOpacity).toQColor());
        const QColor teal = Assets::color(QStringLiteral("SystemTeal")).value_or(Qt::transparent);
        glow(painter, rect.bottomLeft(), tealGlowRadius,
            SRGBColor::of(teal).withOpacity(tealGlowOpacity).toQColor());
    } else {
        if (layers.glass)
            PlayerGlass::draw(painter, shape);
        const auto [top, bottom] = fieldOpacities(layers.glass);
        for (const FadingField &leaving : layers.fading)
            field(painter, rect, leaving.aura, top, bottom, std::clamp(leaving.opacity, 0.0, 1.0));
        field(painter, rect, layers.field, top, bottom,
            layers.fading.empty() ? 1 : std::clamp(layers.fade, 0.0, 1.0));
        if (layers.glass) {
            QLinearGradient sheen(
                rect.topLeft(), QPointF(rect.left(), rect.top() + rect.height() * sheenDepth));
            sheen.setColorAt(0, SRGBColor::white(sheenOpacity).toQColor());
            sheen.setColorAt(1, SRGBColor::white(0).toQColor());
            painter.fillRect(rect, sheen);
        }
    }
    painter.restore();
}

SurfaceGroundLayers::SurfaceGroundLayers(QQuickItem *parent)
    : PaintedPicture(parent)
{
    setAntialiasing(true);
}

SkinnedAttached *SurfaceGroundLayers::environment() const
{
    auto *self = const_cast<SurfaceGroundLayers *>(this);
    return m_environment.get(self, [self] { self->environmentChanged(); });
}

void SurfaceGroundLayers::componentComplete()
{
    PaintedPicture::componentComplete();
    environmentChanged();
}

void SurfaceGroundLayers::environmentChanged()
{
    const SkinEnvironment::Values &values = environment()->values();
    const Aura &aura = values.aura;
    if (!m_field || !m_painted) {
        // Nothing shown yet, so nothing to fade from.
        m_field = aura;
    } else if (aura.key != m_field->key) {
        // A new identity: the old field fades out under the new one.
        const KitAnimation animation = fadeAnimation(values.motion);
        if (animation.enabled()) {
            // Fields already leaving go on from where their fades are; the one
            // that was coming in leaves from the opacity it had reached.
            const double ran = std::clamp(m_fade, 0.0, 1.0);
            std::vector<Outgoing> outgoing;
            for (const Outgoing &leaving : m_outgoing) {
                if (leaving.done + ran < 1)
                    outgoing.push_back({leaving.aura, leaving.from, leaving.done + ran});
            }
            outgoing.push_back({*m_field, m_outgoing.empty() ? 1.0 : m_easing.valueForProgress(ran), 0});
            m_outgoing = std::move(outgoing);
            m_easing = animation.easing;
            m_fade = 1; // so setFade(0) below always announces the restart
        } else {
            m_outgoing.clear();
        }
        m_field = aura;
        setFade(animation.enabled() ? 0 : 1);
        if (animation.enabled())
            emit fadeStarted();
    } else {
        // The same identity recolours in place.
        m_field = aura;
    }
    emit changed();
    update();
}

void SurfaceGroundLayers::setSolid(bool solid)
{
    if (solid == m_solid)
        return;
    m_solid = solid;
    emit changed();
    update();
}

void SurfaceGroundLayers::setRadius(qreal radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    emit changed();
    update();
}

void SurfaceGroundLayers::setTopRadius(qreal radius)
{
    if (radius == m_topRadius)
        return;
    m_topRadius = radius;
    emit changed();
    update();
}

void SurfaceGroundLayers::setBottomRadius(qreal radius)
{
    if (radius == m_bottomRadius)
        return;
    m_bottomRadius = radius;
    emit changed();
    update();
}

void SurfaceGroundLayers::setCorners(const std::optional<Corners> &corners)
{
    m_corners = corners;
    update();
}

void SurfaceGroundLayers::setFade(qreal fade)
{
    if (fade == m_fade)
        return;
    m_fade = fade;
    if (m_fade >= 1)
        m_outgoing.clear();
    emit fadeChanged();
    update();
}

bool SurfaceGroundLayers::showsGlass() const
{
    const SkinEnvironment::Values &values = environment()->values();
    return showsGlass(values.skin, m_solid, values.lightEffects, values.reduceTransparency);
}

KitAnimation SurfaceGroundLayers::fadeAnimation() const
{
    return fadeAnimation(environment()->values().motion);
}

SurfaceGroundLayers::Layers SurfaceGroundLayers::layers() const
{
    const SkinEnvironment::Values &values = environment()->values();
    Layers layers{values.palette, m_field.value_or(values.aura), {}, 1, showsGlass()};
    if (m_outgoing.empty())
        return layers;
    const double ran = std::clamp(m_fade, 0.0, 1.0);
    layers.fade = m_easing.valueForProgress(ran);
    for (const Outgoing &leaving : m_outgoing) {
        if (leaving.done + ran < 1)
            layers.fading.push_back(
                {leaving.aura, leaving.from * (1 - m_easing.valueForProgress(leaving.done + ran))});
    }
    return layers;
}

void SurfaceGroundLayers::paint(QPainter *painter)
{
    m_painted = true;
    const QRectF rect(0, 0, width(), height());
    const double top = m_topRadius < 0 ? m_radius : m_topRadius;
    const double bottom = m_bottomRadius < 0 ? m_radius : m_bottomRadius;
    draw(*painter, rect, m_corners.value_or(Corners{top, top, bottom, bottom}).path(rect), layers());
}
