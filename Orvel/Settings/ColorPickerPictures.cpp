#include "ColorPickerPictures.h"

#include "ColorPickerModel.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

void ColorPlanePicture::setRadius(qreal radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    emit changed();
    update();
}

void ColorPlanePicture::paint(QPainter *painter)
{
    // One image pixel per device pixel, each coloured at its centre.
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QSize pixels = (QSizeF(width(), height()) * ratio).toSize();
    if (pixels.isEmpty())
        return;
    QImage plane(pixels, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(plane.scanLine(y));
        const double down = (y + 0.5) / pixels.height();
        for (int x = 0; x < pixels.width(); ++x)
            line[x] = colorAt((x + 0.5) / pixels.width(), down).rgb();
    }
    // Filled as a brush, not clipped: the rounded corners keep soft edges.
    QBrush brush(plane);
    brush.setTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, width(), height()), m_radius, m_radius);
    painter->fillPath(outline, brush);
}

void SaturationValueField::setHue(double hue)
{
    if (hue == m_hue)
        return;
    m_hue = hue;
    emit hueChanged();
    update();
}

QColor SaturationValueField::colorAt(double across, double down) const
{
    return ColorPickerModel::colorAt(m_hue, across, 1 - down);
}

QColor HueStrip::colorAt(double across, double) const
{
    return ColorPickerModel::colorAt(across, 1, 1);
}
