#pragma once

#include "Motion.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

class Preferences;
class ScrubberState;
class SkinEnvironment;

// The animation page's rules: one switch row per feature, each writing the
// whole settings with that one flag changed; the dimming in light mode; the
// demonstration scrubber that swells at each "Try it"; the Reduce Motion note.
class AnimationSettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY changed)
    // The page's environment: its motion policy and the system's Reduce Motion.
    Q_PROPERTY(SkinEnvironment *environment READ environment WRITE setEnvironment NOTIFY changed)
    // One map per feature in order: {feature, title, caption, enabled, rule}.
    Q_PROPERTY(QVariantList rows READ rows NOTIFY changed)
    Q_PROPERTY(qreal rowOpacity READ rowOpacity NOTIFY changed)
    Q_PROPERTY(bool canTry READ canTry NOTIFY changed)
    Q_PROPERTY(bool showsReduceMotionNote READ showsReduceMotionNote NOTIFY changed)
    Q_PROPERTY(int demo READ demo NOTIFY demoChanged)
    // The demonstration scrubber: 38 of 0…100, pulsing with `demo`.
    Q_PROPERTY(ScrubberState *scrubber READ scrubber CONSTANT)

public:
    struct FeatureTexts {
        const char *title;
        const char *caption;
    };
    static FeatureTexts featureTexts(AnimationFeature feature);

    static constexpr double dimmedOpacity = 0.55;
    static constexpr double demoValue = 38;
    // The demo's value as the scrubber would speak it: the whole number and "%".
    static QString demoValueText(double value);
    // The swell can be tried unless it stays still (light mode, or switched off).
    static bool canTry(const MotionPolicy &motion)
    {
        return motion.level(AnimationFeature::trackSwell) != MotionLevel::still;
    }
    static bool showsReduceMotionNote(bool reduceMotion, bool light) { return reduceMotion && !light; }

    explicit AnimationSettingsModel(QObject *parent = nullptr);

    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);
    // The default environment when none is set.
    SkinEnvironment *environment() const;
    void setEnvironment(SkinEnvironment *environment);

    QVariantList rows() const;
    qreal rowOpacity() const { return light() ? dimmedOpacity : 1; }
    bool canTry() const;
    bool showsReduceMotionNote() const;
    int demo() const { return m_demo; }
    ScrubberState *scrubber() const { return m_scrubber; }

    // A feature's raw value and its new flag: the whole settings are written once.
    Q_INVOKABLE void setFeature(const QString &feature, bool enabled);
    // Plays the swell once more.
    Q_INVOKABLE void tryIt();

signals:
    void changed();
    void demoChanged();

private:
    bool light() const;

    QPointer<Preferences> m_preferences;
    QPointer<SkinEnvironment> m_environment;
    ScrubberState *m_scrubber;
    int m_demo = 0;
};
