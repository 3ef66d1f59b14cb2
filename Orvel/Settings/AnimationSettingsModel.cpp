#include "AnimationSettingsModel.h"

#include "Localization.h"
#include "Preferences.h"
#include "ScrubberState.h"
#include "SkinEnvironment.h"

#include <cmath>

AnimationSettingsModel::FeatureTexts AnimationSettingsModel::featureTexts(AnimationFeature feature)
{
    switch (feature) {
    case AnimationFeature::trackSwell:
        return {"Progress swell", "The progress bar swells when the track changes."};
    case AnimationFeature::trackChange:
        return {"Track transitions", "Covers, colors and titles crossfade."};
    case AnimationFeature::titleScroll:
        return {"Scrolling titles", "Long titles scroll slowly in the compact player."};
    case AnimationFeature::panels:
        return {"Panels", "The player unfolds and the progress draws in."};
    case AnimationFeature::controls:
        return {"Controls", "Keys respond to hover and press."};
    case AnimationFeature::skillCast:
        return {"Skill cast", "A cooldown sweep while a skill starts."};
    }
    return {"", ""};
}

QString AnimationSettingsModel::demoValueText(double value)
{
    return QString::number(std::trunc(value), 'f', 0) + QLatin1Char('%');
}

AnimationSettingsModel::AnimationSettingsModel(QObject *parent)
    : QObject(parent)
    , m_scrubber(new ScrubberState(this))
{
    m_scrubber->setRange(0, 100);
    m_scrubber->setStep(1);
    m_scrubber->setStyle(ScrubberStyle::progress);
    m_scrubber->setLabel(localized(QStringLiteral("Progress swell")));
    m_scrubber->setValueTextFormat(demoValueText);
    m_scrubber->setValue(demoValue);
    m_scrubber->setPulse(QString::number(m_demo));
}

void AnimationSettingsModel::setPreferences(Preferences *preferences)
{
    if (preferences == m_preferences)
        return;
    if (m_preferences)
        disconnect(m_preferences, nullptr, this, nullptr);
    m_preferences = preferences;
    if (m_preferences) {
        connect(m_preferences, &Preferences::animationsChanged, this, &AnimationSettingsModel::changed);
        connect(m_preferences, &Preferences::effectsChanged, this, &AnimationSettingsModel::changed);
    }
    emit changed();
}

SkinEnvironment *AnimationSettingsModel::environment() const
{
    return m_environment ? m_environment.data() : SkinEnvironment::defaultEnvironment();
}

void AnimationSettingsModel::setEnvironment(SkinEnvironment *environment)
{
    if (environment == m_environment)
        return;
    if (m_environment)
        disconnect(m_environment, nullptr, this, nullptr);
    m_environment = environment;
    if (m_environment)
        connect(m_environment, &SkinEnvironment::changed, this, &AnimationSettingsModel::changed);
    emit changed();
}

bool AnimationSettingsModel::light() const
{
    return m_preferences && m_preferences->lightEffects();
}

QVariantList AnimationSettingsModel::rows() const
{
    const AnimationSettings settings = m_preferences ? m_preferences->animations() : AnimationSettings{};
    const auto features = allCases<AnimationFeature>();
    QVariantList rows;
    for (const AnimationFeature feature : features) {
        const FeatureTexts texts = featureTexts(feature);
        rows << QVariantMap{{"feature", toRawValue(feature)}, {"title", localized(texts.title)},
            {"caption", localized(texts.caption)}, {"enabled", settings[feature]},
            {"rule", feature != features.back()}};
    }
    return rows;
}

bool AnimationSettingsModel::canTry() const
{
    return canTry(environment()->motion());
}

bool AnimationSettingsModel::showsReduceMotionNote() const
{
    return showsReduceMotionNote(environment()->reduceMotion(), light());
}

void AnimationSettingsModel::setFeature(const QString &feature, bool enabled)
{
    if (m_preferences)
        m_preferences->setAnimationEnabled(feature, enabled);
}

void AnimationSettingsModel::tryIt()
{
    ++m_demo;
    m_scrubber->setPulse(QString::number(m_demo));
    emit demoChanged();
}
