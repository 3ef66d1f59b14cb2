#pragma once

#include "KitAnimation.h"
#include "SkinPalette.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The on/off switch of every boolean setting: classico uses the platform's
// switch tinted with the accent, rivista draws a capsule whose knob springs
// across when controls may animate.
class SkinToggleStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)
    Q_PROPERTY(bool on READ on WRITE setOn NOTIFY changed)
    // Where the drawn switch stands between off (0) and on (1); the view
    // animates it when `on` changes, so a new palette never animates.
    Q_PROPERTY(qreal position READ position WRITE setPosition NOTIFY changed)
    // The environment's allows("controls").
    Q_PROPERTY(bool motionAllowed READ motionAllowed WRITE setMotionAllowed NOTIFY changed)

    Q_PROPERTY(bool platformSwitch READ platformSwitch NOTIFY changed)
    Q_PROPERTY(qreal trackWidth READ trackWidth CONSTANT)
    Q_PROPERTY(qreal trackHeight READ trackHeight CONSTANT)
    Q_PROPERTY(qreal knobSize READ knobSize CONSTANT)
    Q_PROPERTY(qreal knobX READ knobX NOTIFY changed)
    Q_PROPERTY(qreal knobY READ knobY CONSTANT)
    Q_PROPERTY(QColor track READ trackColor NOTIFY changed)
    Q_PROPERTY(QColor knob READ knobColor NOTIFY changed)
    Q_PROPERTY(KitAnimation animation READ animation NOTIFY changed)
    Q_PROPERTY(QString accessibilityValue READ accessibilityValue NOTIFY changed)

public:
    static constexpr double trackWidthValue = 36;
    static constexpr double trackHeightValue = 20;
    static constexpr double knobSizeValue = 16;
    static constexpr double knobInset = 2;
    static constexpr double offTrackOpacity = 0.25;
    static constexpr double springResponse = 0.18;

    struct Look {
        double knobX = 0; // from the track's leading edge
        SRGBColor track;
        SRGBColor knob;
        friend bool operator==(const Look &, const Look &) = default;
    };
    // The drawn (rivista) switch, off at 0 and on at 1, mixed in between.
    static Look look(const SkinPalette &palette, double position);
    static KitAnimation animation(bool motionAllowed);
    static QString accessibilityValue(bool on);

    explicit SkinToggleStyle(QObject *parent = nullptr);

    SkinPalette palette() const { return m_palette; }
    void setPalette(const SkinPalette &palette);
    bool on() const { return m_on; }
    void setOn(bool on);
    qreal position() const { return m_position; }
    void setPosition(qreal position);
    bool motionAllowed() const { return m_motionAllowed; }
    void setMotionAllowed(bool allowed);

    bool platformSwitch() const { return m_palette.skin == Skin::classico; }
    qreal trackWidth() const { return trackWidthValue; }
    qreal trackHeight() const { return trackHeightValue; }
    qreal knobSize() const { return knobSizeValue; }
    qreal knobX() const { return look(m_palette, m_position).knobX; }
    qreal knobY() const { return knobInset; }
    QColor trackColor() const { return look(m_palette, m_position).track.toQColor(); }
    QColor knobColor() const { return look(m_palette, m_position).knob.toQColor(); }
    KitAnimation animation() const { return animation(m_motionAllowed); }
    QString accessibilityValue() const { return accessibilityValue(m_on); }

signals:
    void changed();

private:
    SkinPalette m_palette;
    bool m_on = false;
    qreal m_position = 0;
    bool m_motionAllowed = true;
};
