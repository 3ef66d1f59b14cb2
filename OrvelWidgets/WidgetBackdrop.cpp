#include "WidgetBackdrop.h"

#include "MarkView.h"
#include "WidgetKit.h"

#include <QPainter>

WidgetBackdrop::WidgetBackdrop(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
}

void WidgetBackdrop::draw(QPainter &painter, QSizeF size, Skin skin, const Aura &aura, double intensity)
{
    const QRectF frame(QPointF(0, 0), size);
    if (skin == Skin::classico) {
        painter.fillRect(frame, classicoGround.toQColor());
        // To clear through the same colour, so the fade does not darken on the way.
        QRadialGradient glow(QPointF(size.width(), 0), classicoRadius);
        glow.setColorAt(0, classicoGlow.withOpacity(classicoGlowOpacity(intensity)).toQColor());
        glow.setColorAt(1, classicoGlow.withOpacity(0).toQColor());
        painter.fillRect(frame, glow);
        return;
    }
    QLinearGradient ground(QPointF(0, 0), QPointF(0, size.height()));
    ground.setColorAt(0, aura.field.toQColor());
    ground.setColorAt(1, aura.fieldDeep.toQColor());
    painter.fillRect(frame, ground);
    AuraGlow::draw(painter, size, aura, rivistaGlowCenter, rivistaRadius, rivistaGlowIntensity(intensity));
}

QImage WidgetBackdrop::render(QSize size, Skin skin, const Aura &aura, double intensity)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    draw(painter, QSizeF(size), skin, aura, intensity);
    return image;
}

void WidgetBackdrop::setSkinName(const QString &name)
{
    const Skin skin = skinFromStoredValue(name);
    if (skin == m_skin)
        return;
    m_skin = skin;
    emit changed();
    update();
}

void WidgetBackdrop::setAura(const Aura &aura)
{
    if (aura == m_aura)
        return;
    m_aura = aura;
    emit changed();
    update();
}

void WidgetBackdrop::setIntensity(double intensity)
{
    if (intensity == m_intensity)
        return;
    m_intensity = intensity;
    emit changed();
    update();
}

void WidgetBackdrop::paint(QPainter *painter)
{
    // As the desktop shows a container background: inside the widget's outline.
    WidgetMetrics::clipToOutline(*painter, size());
    draw(*painter, size(), m_skin, m_aura, m_intensity);
}
