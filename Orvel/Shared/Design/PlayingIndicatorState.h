#pragma once

#include "Scheduler.h"
#include "VisualizerSettings.h"

#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// What the playing indicator shows and when it redraws: a visualizer driven by
// time and the playing flag, hidden when the visualizer is off, ticking at 15
// (compact) or 30 frames a second only while playing and free to move.
// The user's visualizer settings and effects mode are bound in by the caller.
class PlayingIndicatorState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool playing READ playing WRITE setPlaying NOTIFY changed)
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY changed)
    Q_PROPERTY(qreal regularHeight READ regularHeight WRITE setRegularHeight NOTIFY changed)
    Q_PROPERTY(qreal compactWidth READ compactWidth WRITE setCompactWidth NOTIFY changed)
    // The user's visualizer settings in their JSON form; unreadable ones are the defaults.
    Q_PROPERTY(QVariant settings READ settingsJson WRITE setSettingsJson NOTIFY changed)
    Q_PROPERTY(bool lightEffects READ lightEffects WRITE setLightEffects NOTIFY changed)
    // Whether the view can be seen (Presence.onScreen); nothing ticks while it cannot.
    Q_PROPERTY(bool onScreen READ onScreen WRITE setOnScreen NOTIFY changed)

    Q_PROPERTY(bool shown READ shown NOTIFY changed)
    Q_PROPERTY(bool still READ still NOTIFY changed)
    Q_PROPERTY(bool ticking READ ticking NOTIFY changed)
    Q_PROPERTY(qreal frameWidth READ frameWidth NOTIFY changed)
    Q_PROPERTY(qreal frameHeight READ frameHeight NOTIFY changed)
    Q_PROPERTY(QString accessibleLabel READ accessibleLabel NOTIFY changed)
    // Seconds since 2001-01-01 of the last tick.
    Q_PROPERTY(double time READ time NOTIFY timeChanged)

public:
    static constexpr double defaultHeight = 38;
    static constexpr double defaultWidth = 27;
    static constexpr double compactHeight = 20;
    static constexpr double compactInterval = 1.0 / 15;
    static constexpr double regularInterval = 1.0 / 30;

    explicit PlayingIndicatorState(QObject *parent = nullptr);
    ~PlayingIndicatorState() override;

    bool playing() const { return m_playing; }
    void setPlaying(bool playing);
    bool compact() const { return m_compact; }
    void setCompact(bool compact);
    qreal regularHeight() const { return m_regularHeight; }
    void setRegularHeight(qreal height);
    qreal compactWidth() const { return m_compactWidth; }
    void setCompactWidth(qreal width);
    const VisualizerSettings &settings() const { return m_settings; }
    void setSettings(const VisualizerSettings &settings);
    QVariant settingsJson() const;
    void setSettingsJson(const QVariant &json);
    bool lightEffects() const { return m_lightEffects; }
    void setLightEffects(bool light);
    bool onScreen() const { return m_onScreen; }
    void setOnScreen(bool onScreen);

    bool shown() const { return m_settings.enabled; }
    // Reduce Motion, a dimmed display or light effects: the drawing holds its resting levels.
    bool still() const;
    bool ticking() const { return shown() && m_playing && !still() && m_onScreen; }
    double interval() const { return m_compact ? compactInterval : regularInterval; }
    // The compact form is a fixed compactWidth x 20; the regular form is
    // regularHeight high and as wide as it is offered (frameWidth is then 0).
    qreal frameWidth() const { return m_compact ? m_compactWidth : 0; }
    qreal frameHeight() const { return m_compact ? compactHeight : m_regularHeight; }
    QString accessibleLabel() const;
    double time() const { return m_time; }

signals:
    void changed();
    void timeChanged();

private:
    friend QCoro::Task<void> runIndicatorClock(Scheduler &, QPointer<PlayingIndicatorState>, TaskHandle);
    void tick();
    void update();
    template<class T>
    void assign(T &field, const T &value);

    bool m_playing = false;
    bool m_compact = false;
    qreal m_regularHeight = defaultHeight;
    qreal m_compactWidth = defaultWidth;
    VisualizerSettings m_settings;
    bool m_lightEffects = false;
    bool m_onScreen = true;
    double m_time = 0;
    TaskHandle m_clock;
    double m_clockInterval = 0;
};
