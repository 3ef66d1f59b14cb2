#pragma once

#include "PaintedPicture.h"

#include <QtQml/qqmlregistration.h>

// The custom colour dialog's two pictures, drawn pixel by pixel with the
// colours ColorPickerModel::colorAt gives, so that a pick reads the colour
// drawn under it. Painted, not shaded: the software renderer draws them.

// Rounds the picture's corners; the subclasses give each pixel's colour.
class ColorPlanePicture : public PaintedPicture {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY changed)

public:
    using PaintedPicture::PaintedPicture;

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    void paint(QPainter *painter) override;

signals:
    void changed();

protected:
    // The colour at a point given as fractions of the width and the height.
    virtual QColor colorAt(double across, double down) const = 0;

private:
    qreal m_radius = 0;
};

// Saturation from the leading edge (none) to the trailing one (full), value
// from the top (full) to the bottom (black), for one hue.
class SaturationValueField : public ColorPlanePicture {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double hue READ hue WRITE setHue NOTIFY hueChanged)

public:
    using ColorPlanePicture::ColorPlanePicture;

    double hue() const { return m_hue; }
    void setHue(double hue);

signals:
    void hueChanged();

protected:
    QColor colorAt(double across, double down) const override;

private:
    double m_hue = 0;
};

// Every hue at full saturation and value, red to red along the width.
class HueStrip : public ColorPlanePicture {
    Q_OBJECT
    QML_ELEMENT

public:
    using ColorPlanePicture::ColorPlanePicture;

protected:
    QColor colorAt(double across, double down) const override;
};
