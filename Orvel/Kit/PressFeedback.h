#pragma once

#include "KitAnimation.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The rules of the one button style of the program's own buttons: a disabled
// button is dimmed and never brightened, a hovered one brightened, a pressed
// one shrunk a little, and only the shrinking needs the controls animation.
class PressFeedback : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled NOTIFY changed)
    Q_PROPERTY(bool hovered READ hovered WRITE setHovered NOTIFY changed)
    Q_PROPERTY(bool pressed READ pressed WRITE setPressed NOTIFY changed)
    // The environment's allows("controls").
    Q_PROPERTY(bool motionAllowed READ motionAllowed WRITE setMotionAllowed NOTIFY changed)

    Q_PROPERTY(qreal brightness READ brightness NOTIFY changed)
    Q_PROPERTY(qreal opacity READ opacity NOTIFY changed)
    Q_PROPERTY(qreal scale READ scale NOTIFY changed)
    // For both the press and the hover change; none without motion.
    Q_PROPERTY(KitAnimation animation READ animation NOTIFY changed)

public:
    static constexpr double hoverBrightness = 0.06;
    static constexpr double disabledOpacity = 0.4;
    static constexpr double pressedScale = 0.975;
    static constexpr double duration = 0.14;

    struct Look {
        double brightness = 0;
        double opacity = 1;
        double scale = 1;
        bool animated = false;
        friend bool operator==(const Look &, const Look &) = default;
    };
    static Look look(bool enabled, bool hovered, bool pressed, bool motionAllowed);
    // Adds the amount to each colour component (as a brightness filter does), opacity kept.
    static QColor brightened(const QColor &color, double amount);
    // The same for every pixel of a picture.
    static QImage brightened(const QImage &image, double amount);

    explicit PressFeedback(QObject *parent = nullptr);

    bool enabled() const { return m_enabled; }
    void setEnabled(bool value);
    bool hovered() const { return m_hovered; }
    void setHovered(bool value);
    bool pressed() const { return m_pressed; }
    void setPressed(bool value);
    bool motionAllowed() const { return m_motionAllowed; }
    void setMotionAllowed(bool value);

    Look current() const { return look(m_enabled, m_hovered, m_pressed, m_motionAllowed); }
    qreal brightness() const { return current().brightness; }
    qreal opacity() const { return current().opacity; }
    qreal scale() const { return current().scale; }
    KitAnimation animation() const;

    Q_INVOKABLE QColor lit(const QColor &color, qreal amount) const { return brightened(color, amount); }

signals:
    void changed();

private:
    void set(bool &field, bool value);

    bool m_enabled = true;
    bool m_hovered = false;
    bool m_pressed = false;
    bool m_motionAllowed = true;
};
