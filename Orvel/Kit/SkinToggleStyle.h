#pragma once

#include "KitAnimation.h"
#include "SkinPalette.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The on/off switch of every boolean setting, drawn by us in both skins so
// that no Qt Quick Controls style leaks in: classico is a small platform-like
// switch with the accent track when on, rivista a capsule whose knob springs
// across when controls may animate.
class SkinToggleStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)
    Q_PROPERTY(bool on READ on WRITE setOn NOTIFY changed)
    // Where the switch stands between off (0) and on (1); the view animates it
    // when `on` changes, so a new palette never animates.
    Q_PROPERTY(qreal position READ position WRITE setPosition NOTIFY changed)
    // The environment's allows("controls").
    Q_PROPERTY(bool motionAllowed READ motionAllowed WRITE setMotionAllowed NOTIFY changed)
    // The system's reduce motion, which alone stills the classico switch.
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY changed)

    Q_PROPERTY(bool platformSwitch READ platformSwitch NOTIFY changed)
    Q_PROPERTY(qreal trackWidth READ trackWidth NOTIFY changed)
    Q_PROPERTY(qreal trackHeight READ trackHeight NOTIFY changed)
    Q_PROPERTY(qreal knobSize READ knobSize NOTIFY changed)
    Q_PROPERTY(qreal knobX READ knobX NOTIFY changed)
    Q_PROPERTY(qreal knobY READ knobY NOTIFY changed)
    Q_PROPERTY(QColor track READ trackColor NOTIFY changed)
    Q_PROPERTY(QColor trackBorder READ trackBorderColor NOTIFY changed)
    Q_PROPERTY(qreal trackBorderWidth READ trackBorderWidth NOTIFY changed)
    Q_PROPERTY(QColor knob READ knobColor NOTIFY changed)
    Q_PROPERTY(qreal disabledOpacity READ disabledOpacity NOTIFY changed)
    Q_PROPERTY(KitAnimation animation READ currentAnimation NOTIFY changed)
    Q_PROPERTY(QString accessibilityValue READ accessibilityValue NOTIFY changed)

public:
    static constexpr double offTrackOpacity = 0.25;
    static constexpr double springResponse = 0.18;
    static constexpr double classicoSlideSeconds = 0.15;
    static constexpr double classicoDisabledOpacity = 0.4;

    struct Shape {
        double trackWidth = 0;
        double trackHeight = 0;
        double knobSize = 0;
        double knobInset = 0; // the knob's gap to the track's edges
        double borderWidth = 0; // the track's edge, inside it
        friend bool operator==(const Shape &, const Shape &) = default;
    };
    static Shape shape(Skin skin);

    struct Look {
        double knobX = 0; // from the track's leading edge
        SRGBColor track;
        SRGBColor trackBorder;
        SRGBColor knob;
        friend bool operator==(const Look &, const Look &) = default;
    };
    // The switch in the palette's skin, off at 0 and on at 1, mixed in between.
    static Look look(const SkinPalette &palette, double position);
    // Rivista's spring, when controls may animate.
    static KitAnimation animation(bool motionAllowed);
    // The animation for the palette's skin: classico slides as a platform
    // switch does, stilled only by the system's reduce motion.
    static KitAnimation animation(Skin skin, bool motionAllowed, bool reduceMotion);
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
    bool reduceMotion() const { return m_reduceMotion; }
    void setReduceMotion(bool reduce);

    bool platformSwitch() const { return m_palette.skin == Skin::classico; }
    qreal trackWidth() const { return shape(m_palette.skin).trackWidth; }
    qreal trackHeight() const { return shape(m_palette.skin).trackHeight; }
    qreal knobSize() const { return shape(m_palette.skin).knobSize; }
    qreal knobX() const { return look(m_palette, m_position).knobX; }
    qreal knobY() const { return shape(m_palette.skin).knobInset; }
    QColor trackColor() const { return look(m_palette, m_position).track.toQColor(); }
    QColor trackBorderColor() const { return look(m_palette, m_position).trackBorder.toQColor(); }
    qreal trackBorderWidth() const { return shape(m_palette.skin).borderWidth; }
    QColor knobColor() const { return look(m_palette, m_position).knob.toQColor(); }
    qreal disabledOpacity() const { return platformSwitch() ? classicoDisabledOpacity : 1; }
    KitAnimation currentAnimation() const
    {
        return animation(m_palette.skin, m_motionAllowed, m_reduceMotion);
    }
    QString accessibilityValue() const { return accessibilityValue(m_on); }

signals:
    void changed();

private:
    SkinPalette m_palette;
    bool m_on = false;
    qreal m_position = 0;
    bool m_motionAllowed = true;
    bool m_reduceMotion = false;
};
