#include "AnimationPresetModel.h"

#include "Localization.h"
#include "Preferences.h"

const std::array<AnimationPresetModel::Card, 3> AnimationPresetModel::cardTable{{
    {AnimationPreset::all, "All", "Every animation, including the progress swell."},
    {AnimationPreset::essential, "Essential", "Smooth transitions, nothing decorative."},
    {AnimationPreset::none, "None", "Everything appears instantly."},
}};

AnimationPresetModel::Note AnimationPresetModel::note(bool light, std::optional<AnimationPreset> preset)
{
    if (light)
        return Note::light;
    return preset ? Note::none : Note::custom;
}

QString AnimationPresetModel::noteText(Note note)
{
    switch (note) {
    case Note::light:
        return localized(QStringLiteral("In Light mode animations are off."));
    case Note::custom:
        return localized(QStringLiteral("Custom mix"));
    case Note::none:
        break;
    }
    return {};
}

AnimationPresetModel::AnimationPresetModel(QObject *parent)
    : QObject(parent)
{
}

void AnimationPresetModel::setPreferences(Preferences *preferences)
{
    if (preferences == m_preferences)
        return;
    if (m_preferences)
        disconnect(m_preferences, nullptr, this, nullptr);
    m_preferences = preferences;
    if (m_preferences) {
        connect(m_preferences, &Preferences::animationsChanged, this, &AnimationPresetModel::changed);
        connect(m_preferences, &Preferences::effectsChanged, this, &AnimationPresetModel::changed);
    }
    emit changed();
}

void AnimationPresetModel::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    emit changed();
}

bool AnimationPresetModel::light() const
{
    return m_preferences && m_preferences->lightEffects();
}

std::optional<AnimationPreset> AnimationPresetModel::preset() const
{
    return m_preferences ? m_preferences->animations().preset() : AnimationSettings{}.preset();
}

AnimationPresetModel::Note AnimationPresetModel::note() const
{
    return note(light(), preset());
}

QVariantList AnimationPresetModel::cards() const
{
    const std::optional<AnimationPreset> current = preset();
    QVariantList cards;
    for (const Card &card : cardTable) {
        cards << QVariantMap{{"preset", toRawValue(card.preset)}, {"title", localized(card.title)},
            {"detail", localized(card.detail)}, {"selected", current == card.preset}};
    }
    return cards;
}

void AnimationPresetModel::select(const QString &preset)
{
    const auto parsed = fromRawValue<AnimationPreset>(preset);
    if (parsed && m_preferences)
        m_preferences->applyAnimationPreset(*parsed);
}
