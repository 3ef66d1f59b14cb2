#include "SkillSlotEditorModel.h"

#include "ChoiceCardStyle.h"
#include "Localization.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "SkillGlyphImage.h"
#include "Uuid.h"

SkillSlotEditorModel::SkillSlotEditorModel(QObject *parent)
    : QObject(parent)
{
}

void SkillSlotEditorModel::setPlayer(PlaybackCoordinator *player)
{
    if (player == m_player)
        return;
    if (m_player)
        disconnect(m_player, nullptr, this, nullptr);
    m_player = player;
    if (m_player)
        connect(m_player, &PlaybackCoordinator::shortcutsChanged, this, &SkillSlotEditorModel::changed);
    emit changed();
}

void SkillSlotEditorModel::setPreferences(Preferences *preferences)
{
    if (preferences == m_preferences)
        return;
    if (m_preferences)
        disconnect(m_preferences, nullptr, this, nullptr);
    m_preferences = preferences;
    if (m_preferences)
        connect(m_preferences, &Preferences::skillsChanged, this, &SkillSlotEditorModel::changed);
    emit changed();
}

void SkillSlotEditorModel::setIndex(int index)
{
    if (index == m_index)
        return;
    m_index = index;
    emit changed();
}

std::optional<MusicShortcut> SkillSlotEditorModel::current() const
{
    if (!m_player || !m_preferences || m_index < 0 || m_index >= SkillBar::capacity)
        return std::nullopt;
    return m_preferences->skills().resolve(m_player->shortcuts())[std::size_t(m_index)];
}

QString SkillSlotEditorModel::title() const
{
    return localized(QStringLiteral("Skill slot %d"), {m_index + 1});
}

QString SkillSlotEditorModel::menuLabel() const
{
    const auto shortcut = current();
    return shortcut ? shortcut->title : localized(QStringLiteral("Choose a favorite"));
}

QVariantList SkillSlotEditorModel::menuItems() const
{
    QVariantList items;
    const QList<MusicShortcut> shortcuts = m_player ? m_player->shortcuts() : QList<MusicShortcut>{};
    for (const MusicShortcut &shortcut : shortcuts)
        items << QVariantMap{{"id", uuidString(shortcut.id)}, {"title", shortcut.title}, {"enabled", true}};
    if (items.isEmpty())
        items << QVariantMap{
            {"id", QString()}, {"title", localized(QStringLiteral("No shortcuts yet"))}, {"enabled", false}};
    return items;
}

QVariantList SkillSlotEditorModel::glyphs() const
{
    const auto shortcut = current();
    QVariantList glyphs;
    if (!shortcut)
        return glyphs;
    for (const SkillGlyph glyph : allCases<SkillGlyph>()) {
        const bool selected = glyph == shortcut->resolvedGlyph();
        glyphs << QVariantMap{{"glyph", toRawValue(glyph)}, {"name", accessibilityName(glyph)},
            {"selected", selected}, {"value", ChoiceCardStyle::accessibleValue(selected)}};
    }
    return glyphs;
}

void SkillSlotEditorModel::assign(const QString &id)
{
    if (m_preferences)
        m_preferences->assignSkill(m_index, id);
}

void SkillSlotEditorModel::swapWith(int neighbour)
{
    // The buttons at the ends are disabled; swapping past them does nothing.
    if (!m_preferences || neighbour < 0 || neighbour >= SkillBar::capacity)
        return;
    m_preferences->swapSkills(m_index, neighbour);
}

void SkillSlotEditorModel::moveLeft()
{
    swapWith(m_index - 1);
}

void SkillSlotEditorModel::moveRight()
{
    swapWith(m_index + 1);
}

void SkillSlotEditorModel::clear()
{
    if (m_preferences)
        m_preferences->clearSkill(m_index);
}

void SkillSlotEditorModel::setIcon(const QString &glyph)
{
    const auto parsed = fromRawValue<SkillGlyph>(glyph);
    const auto shortcut = current();
    if (parsed && shortcut && m_player)
        m_player->setGlyph(*parsed, shortcut->id);
}
