#pragma once

#include "ScrubberState.h"
#include "SkinEnvironment.h"

#include <QColor>
#include <QImage>
#include <QQuickPaintedItem>
#include <QRectF>
#include <QtQml/qqmlregistration.h>

// What the track shows: the scrubber's state of the moment.
struct ScrubberTrackInput {
    ScrubberStyle style = ScrubberStyle::progress;
    double fraction = 0; // 0...1
    // How far the scrubber is active (hovered, dragged or focused): 0 or 1, in
    // between while the change springs.
    double active = 0;
    bool enabled = true;
    double swell = 0; // the swell's height, 0 at rest; may overshoot 1 a little
    bool swellShape = true; // the swell may change sizes

    friend bool operator==(const ScrubberTrackInput &, const ScrubberTrackInput &) = default;
};

// One filled shape of the track, in the scrubber's frame (y downwards).
struct ScrubberTrackLayer {
    QRectF rect;
    double radius = 0;
    QColor color;
    double opacity = 1; // of the layer as a whole
    bool visible = true;

    friend bool operator==(const ScrubberTrackLayer &, const ScrubberTrackLayer &) = default;
};

// The track, the filled part and the knob in the look of the skin, with the
// swell applied to sizes (only when it may change shape), colour and brightness.
struct ScrubberTrackLayout {
    ScrubberTrackLayer track;
    ScrubberTrackLayer fill;
    ScrubberTrackLayer knob;
    bool knobShadow = false; // classico's soft shadow under the white knob
    double scaleX = 1; // about the frame's centre
    double opacity = 1;

    static constexpr double disabledOpacity = 0.5;
    static constexpr double swellStretch = 0.04;
    static constexpr double swellBrightness = 0.2;
    static constexpr double rivistaKnob = 8;

    static ScrubberTrackLayout make(
        const SkinPalette &palette, const ScrubberTrackInput &input, QSizeF frame);

    // Draws it into a frame placed at `origin`; the knob may stand outside it.
    void draw(QPainter &painter, QPointF origin, QSizeF frame) const;
};

// The painted track of OrvelScrubber. The item is larger than the scrubber's
// frame by `bleed` on every side, so the knob at either end and the swell's
// overshoot are never clipped. Hidden from accessibility: the scrubber speaks.
class ScrubberTrack : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString style READ styleName WRITE setStyleName NOTIFY changed)
    Q_PROPERTY(double fraction READ fraction WRITE setFraction NOTIFY changed)
    Q_PROPERTY(double active READ active WRITE setActive NOTIFY changed)
    Q_PROPERTY(bool live READ live WRITE setLive NOTIFY changed)
    Q_PROPERTY(double swell READ swell WRITE setSwell NOTIFY changed)
    Q_PROPERTY(bool swellShape READ swellShape WRITE setSwellShape NOTIFY changed)
    Q_PROPERTY(double bleed READ bleed CONSTANT)

public:
    static constexpr double bleedMargin = 10;

    explicit ScrubberTrack(QQuickItem *parent = nullptr);

    QString styleName() const { return toRawValue(m_input.style); }
    void setStyleName(const QString &name);
    double fraction() const { return m_input.fraction; }
    void setFraction(double fraction);
    double active() const { return m_input.active; }
    void setActive(double active);
    // The scrubber's enabled flag (the item's own stays on, so it keeps painting normally).
    bool live() const { return m_input.enabled; }
    void setLive(bool enabled);
    double swell() const { return m_input.swell; }
    void setSwell(double swell);
    bool swellShape() const { return m_input.swellShape; }
    void setSwellShape(bool shape);
    double bleed() const { return bleedMargin; }

    const ScrubberTrackInput &input() const { return m_input; }
    // The scrubber's frame inside the item.
    QSizeF frame() const;
    ScrubberTrackLayout layout() const;

    void paint(QPainter *painter) override;
    void componentComplete() override;
    // The track alone in a frame of that size, with the bleed around it.
    static QImage render(const SkinPalette &palette, const ScrubberTrackInput &input, QSizeF frame);

signals:
    void changed();

private:
    template<class T>
    void assign(T &field, const T &value);
    SkinnedAttached *environment();

    ScrubberTrackInput m_input;
    EnvironmentLink m_environment;
};
