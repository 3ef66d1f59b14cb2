#include "SkillSettingsModel.h"

#include "DashboardState.h"
#include "Localization.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Scheduler.h"

const std::array<SkillSettingsModel::Placement, 4> SkillSettingsModel::placementTable{{
    {SkillPlacement::row, "In the player", "A row under the open player."},
    {SkillPlacement::wings, "Beside the notch",
        "Next to the notch while the player is open. On other screens, beside the header."},
    {SkillPlacement::peek, "On hover",
        "Under the compact player as soon as you hover. Click or rest to open the player."},
    {SkillPlacement::hidden, "Hidden", "No skill bar in the top player."},
}};

namespace {
QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}
} // namespace

SkillSettingsModel::TileLook SkillSettingsModel::tileLook(const SkinPalette &palette, bool filled)
{
    TileLook look;
    look.captionColor = filled ? palette.textColor() : palette.mutedColor();
    look.mediumCaption = filled;
    if (palette.skin == Skin::classico) {
        look.fill = palette.fillColor();
        look.stroke = Qt::transparent;
        look.glyphColor = filled ? palette.accentColor() : palette.mutedColor();
        return look;
    }
    look.circle = true;
    look.fill = Qt::transparent;
    look.stroke = withOpacity(palette.textColor(), filled ? 0.35 : 0.2);
    look.strokeWidth = 1;
    look.dashed = !filled;
    look.glyphColor = filled ? palette.textColor() : palette.mutedColor();
    return look;
}

QString SkillSettingsModel::caption(int index, const std::optional<MusicShortcut> &shortcut)
{
    // A user's title is shown as it is.
    return shortcut ? shortcut->title : localized(QStringLiteral("Slot %d"), {index + 1});
}

QString SkillSettingsModel::accessibleName(int index, const std::optional<MusicShortcut> &shortcut)
{
    if (shortcut)
        return localized(QStringLiteral("Skill slot %d"), {index + 1}) + QStringLiteral(", ")
            + shortcut->title;
    return localized(QStringLiteral("Empty skill slot %d"), {index + 1});
}

SkillSettingsModel::SkillSettingsModel(QObject *parent)
    : QObject(parent)
{
}

void SkillSettingsModel::setPlayer(PlaybackCoordinator *player)
{
    if (player == m_player)
        return;
    if (m_player)
        disconnect(m_player, nullptr, this, nullptr);
    m_player = player;
    if (m_player)
        connect(m_player, &PlaybackCoordinator::shortcutsChanged, this, &SkillSettingsModel::changed);
    emit changed();
}

void SkillSettingsModel::setPreferences(Preferences *preferences)
{
    if (preferences == m_preferences)
        return;
    if (m_preferences)
        disconnect(m_preferences, nullptr, this, nullptr);
    m_preferences = preferences;
    if (m_preferences) {
        connect(m_preferences, &Preferences::skillsChanged, this, &SkillSettingsModel::changed);
        connect(m_preferences, &Preferences::skillPlacementChanged, this, &SkillSettingsModel::changed);
    }
    emit changed();
}

void SkillSettingsModel::setState(DashboardState *state)
{
    if (state == m_state)
        return;
    if (m_state)
        disconnect(m_state, nullptr, this, nullptr);
    m_state = state;
    if (m_state)
        connect(m_state, &DashboardState::skillSlotChanged, this, [this] {
            if (m_appeared)
                openPendingSlot();
        });
    emit changed();
    if (m_appeared)
        openPendingSlot();
}

void SkillSettingsModel::setPalette(const SkinPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    emit changed();
}

std::array<std::optional<MusicShortcut>, SkillBar::capacity> SkillSettingsModel::resolved() const
{
    if (!m_player || !m_preferences)
        return {};
    return m_preferences->skills().resolve(m_player->shortcuts());
}

QVariantList SkillSettingsModel::placements() const
{
    const bool known = m_preferences;
    const SkillPlacement current = known ? m_preferences->skillPlacement() : SkillPlacement::hidden;
    QVariantList cards;
    for (const Placement &card : placementTable) {
        cards << QVariantMap{{"placement", toRawValue(card.placement)}, {"title", localized(card.title)},
            {"detail", localized(card.detail)}, {"selected", known && current == card.placement}};
    }
    return cards;
}

QVariantList SkillSettingsModel::tiles() const
{
    const auto shortcuts = resolved();
    QVariantList tiles;
    for (int i = 0; i < SkillBar::capacity; ++i) {
        const std::optional<MusicShortcut> &shortcut = shortcuts[std::size_t(i)];
        const TileLook look = tileLook(m_palette, shortcut.has_value());
        tiles << QVariantMap{{"index", i}, {"filled", shortcut.has_value()},
            {"caption", caption(i, shortcut)},
            {"glyph", shortcut ? toRawValue(shortcut->resolvedGlyph()) : QString()},
            {"accessibleName", accessibleName(i, shortcut)}, {"circle", look.circle}, {"fill", look.fill},
            {"stroke", look.stroke}, {"strokeWidth", look.strokeWidth}, {"dashed", look.dashed},
            {"glyphColor", look.glyphColor}, {"captionColor", look.captionColor},
            {"captionWeight", look.mediumCaption ? QStringLiteral("medium") : QString()}};
    }
    return tiles;
}

qreal SkillSettingsModel::slotRowOpacity() const
{
    return m_preferences && m_preferences->skillPlacement() == SkillPlacement::hidden ? dimmedOpacity : 1;
}

void SkillSettingsModel::choosePlacement(const QString &placement)
{
    const auto parsed = fromRawValue<SkillPlacement>(placement);
    if (parsed && m_preferences)
        m_preferences->setSkillPlacement(*parsed);
}

void SkillSettingsModel::setOpenSlot(std::optional<int> slot)
{
    if (slot == m_openSlot)
        return;
    m_openSlot = slot;
    emit openSlotChanged();
}

void SkillSettingsModel::open(int slot)
{
    setOpenSlot(slot);
}

void SkillSettingsModel::dismissed(int slot)
{
    if (m_openSlot == slot)
        setOpenSlot(std::nullopt);
}

void SkillSettingsModel::startNewShortcut(int slot)
{
    setOpenSlot(std::nullopt);
    emit newShortcut(slot);
}

void SkillSettingsModel::appear()
{
    m_appeared = true;
    openPendingSlot();
}

void SkillSettingsModel::openPendingSlot()
{
    if (!m_state)
        return;
    const std::optional<int> pending = m_state->skillSlot();
    if (!pending)
        return;
    // Consumed once; clearing it runs this hook again, which then finds nothing.
    m_state->setSkillSlot(std::nullopt);
    // Opened a turn later, when the page may already be gone.
    Scheduler::current().spawn([page = QPointer(this), slot = *pending](TaskHandle) -> QCoro::Task<void> {
        if (page)
            page->setOpenSlot(slot);
        co_return;
    });
}
