#pragma once

#include "SkinPalette.h"
#include "VisualizerSettings.h"

#include "SkinEnvironment.h"
#include <QImage>
#include <QPainterPath>

#include <QQuickPaintedItem>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// The colour of a hexadecimal text: one unsigned 64-bit number whose last six
// digits are red, green and blue. Anything unreadable is C4F08F.
SRGBColor colorFromHex(const QString &text);
// Settings from QML: their JSON form as a map or a JavaScript object; anything
// that does not decode gives the defaults.
VisualizerSettings visualizerSettingsFromVariant(const QVariant &json);
// The colour list of the settings' palette, in gradient order.
QList<SRGBColor> visualizerColors(const VisualizerSettings &settings);

// The visualizer: bar levels computed from time and the playing state (no
// audio), drawn as bars, wave, dots or orbit. The aura and the light-effects
// flag come from the environment.
class VisualizerDrawing : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    // The settings in their JSON form (as stored); unreadable settings draw as the defaults.
    Q_PROPERTY(QVariant settings READ settingsJson WRITE setSettingsJson NOTIFY changed)
    Q_PROPERTY(bool playing READ playing WRITE setPlaying NOTIFY changed)
    Q_PROPERTY(double time READ time WRITE setTime NOTIFY changed)
    Q_PROPERTY(bool reducedMotion READ reducedMotion WRITE setReducedMotion NOTIFY changed)
    Q_PROPERTY(bool monochrome READ monochrome WRITE setMonochrome NOTIFY changed)
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY changed)

public:
    static constexpr int compactCount = 9;
    static constexpr int fullCount = 36;
    static constexpr double compactGlowRadius = 2;
    static constexpr double fullGlowRadius = 7;
    static constexpr double glowOpacity = 0.28;

    // Everything one picture depends on.
    struct Frame {
        VisualizerSettings settings;
        bool playing = false;
        double time = 0;
        bool reducedMotion = false;
        bool monochrome = false;
        bool compact = false;
        Aura aura;
        bool light = false;
    };

    // One stroked or filled shape of a picture, all drawn with the same shading.
    struct Shape {
        QPainterPath path;
        bool stroked = false;
        double lineWidth = 0;
        bool round = false; // round caps and joins
        double opacity = 1;
    };

    explicit VisualizerDrawing(QQuickItem *parent = nullptr);

    static QList<SRGBColor> colors(const Frame &frame);
    // The glow's colour; fully clear when there is no glow.
    static SRGBColor glowColor(const Frame &frame);
    static double glowRadius(const Frame &frame)
    {
        return frame.compact ? compactGlowRadius : fullGlowRadius;
    }
    static int count(const Frame &frame) { return frame.compact ? compactCount : fullCount; }
    // The shading: the colours evenly spaced from (0, 0) to (W, 0.3 H).
    static QLinearGradient shading(const Frame &frame, QSizeF size);
    // The shapes of the picture in the order they are drawn.
    static std::vector<Shape> shapes(const Frame &frame, QSizeF size);
    // The picture with its glow; size in points, device pixels = size x dpr.
    static QImage render(const Frame &frame, QSizeF size, qreal devicePixelRatio = 1);
    // The shapes alone, with the shading, onto an antialiasing painter.
    static void drawShapes(QPainter &painter, const Frame &frame, QSizeF size);

    const VisualizerSettings &settings() const { return m_frame.settings; }
    void setSettings(const VisualizerSettings &settings);
    QVariant settingsJson() const;
    void setSettingsJson(const QVariant &json);
    bool playing() const { return m_frame.playing; }
    void setPlaying(bool playing);
    double time() const { return m_frame.time; }
    void setTime(double time);
    bool reducedMotion() const { return m_frame.reducedMotion; }
    void setReducedMotion(bool reducedMotion);
    bool monochrome() const { return m_frame.monochrome; }
    void setMonochrome(bool monochrome);
    bool compact() const { return m_frame.compact; }
    void setCompact(bool compact);
    // The frame with the environment's aura and light flag.
    Frame frame() const;

    void componentComplete() override;
    void paint(QPainter *painter) override;

signals:
    void changed();

private:
    template<class T>
    void assign(T &field, const T &value);
    Frame m_frame;
    // The shapes of the last frame painted with a glow, kept to draw the next one into.
    QImage m_drawing;
    SkinnedAttached *environment() const;
    mutable EnvironmentLink m_environment;
};

// Palette colours for QML (the settings page's swatches and custom preview).
class VisualizerColors : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;
    Q_INVOKABLE QList<QColor> palette(const QString &palette, const QString &customHex = {}) const;
    Q_INVOKABLE QColor fromHex(const QString &text) const { return colorFromHex(text).toQColor(); }
};
