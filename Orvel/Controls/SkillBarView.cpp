#include "SkillBarView.h"

#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Uuid.h"

SkillChrome SkillBarView::chrome(
    bool peeking, SkillPlacement placement, const SkillBar &skills, const QList<MusicShortcut> &shortcuts)
{
    if (placement == SkillPlacement::hidden || !skills.hasSkills(shortcuts))
        return SkillChrome::none;
    return SkillChrome{placement, peeking};
}

SkillChrome SkillBarView::chrome(
    bool peeking, const Preferences &preferences, const PlaybackCoordinator &player)
{
    return chrome(peeking, preferences.skillPlacement(), preferences.skills(), player.shortcuts());
}

std::pair<int, int> SkillBarModel::range(const QString &style)
{
    if (style == QLatin1String("wingLeading"))
        return {0, 3};
    if (style == QLatin1String("wingTrailing"))
        return {3, 6};
    return {0, SkillBar::capacity};
}

QString SkillBarModel::caption(std::optional<int> hovered,
    const std::array<std::optional<MusicShortcut>, SkillBar::capacity> &resolved,
    const std::optional<QUuid> &casting, const QList<MusicShortcut> &shortcuts)
{
    if (hovered && *hovered >= 0 && *hovered < SkillBar::capacity && resolved[*hovered])
        return resolved[*hovered]->title;
    if (casting) {
        for (const MusicShortcut &shortcut : shortcuts)
            if (shortcut.id == *casting)
                return shortcut.title;
    }
    return {};
}

SkillBarModel::SkillBarModel(QObject *parent)
    : QObject(parent)
{
}

template<class Owner>
void SkillBarModel::watch(QPointer<Owner> &field, Owner *owner)
{
    if (field == owner)
        return;
    if (field)
        disconnect(field, nullptr, this, nullptr);
    field = owner;
    emit changed();
}

void SkillBarModel::setPlayer(PlaybackCoordinator *player)
{
    watch(m_player, player);
    if (m_player) {
        connect(m_player, &PlaybackCoordinator::shortcutsChanged, this, &SkillBarModel::changed);
        connect(m_player, &PlaybackCoordinator::castingChanged, this, &SkillBarModel::changed);
    }
}

void SkillBarModel::setPreferences(Preferences *preferences)
{
    watch(m_preferences, preferences);
    if (m_preferences)
        connect(m_preferences, &Preferences::skillsChanged, this, &SkillBarModel::changed);
}

void SkillBarModel::setStyle(const QString &style)
{
    if (style == m_style)
        return;
    m_style = style;
    emit changed();
}

std::array<std::optional<MusicShortcut>, SkillBar::capacity> SkillBarModel::resolved() const
{
    if (!m_player || !m_preferences)
        return {};
    return m_preferences->skills().resolve(m_player->shortcuts());
}

QVariantList SkillBarModel::cells() const
{
    const auto shortcuts = resolved();
    const auto [first, end] = range(m_style);
    QVariantList items;
    for (int i = first; i < end; ++i) {
        QVariantMap item{{"index", i}, {"shortcutID", QString()}, {"title", QString()}, {"kind", QString()},
            {"glyph", QString()}};
        if (const auto &shortcut = shortcuts[i]) {
            item["shortcutID"] = uuidString(shortcut->id);
            item["title"] = shortcut->title;
            item["kind"] = toRawValue(shortcut->link.kind());
            item["glyph"] = toRawValue(shortcut->resolvedGlyph());
        }
        items << item;
    }
    return items;
}

QString SkillBarModel::caption() const
{
    return caption(m_hovered, resolved(), m_player ? m_player->casting() : std::nullopt,
        m_player ? m_player->shortcuts() : QList<MusicShortcut>{});
}

void SkillBarModel::enter(int index)
{
    if (m_hovered == index)
        return;
    m_hovered = index;
    emit changed();
}

void SkillBarModel::leave(int index)
{
    if (m_hovered != index)
        return;
    m_hovered.reset();
    emit changed();
}
