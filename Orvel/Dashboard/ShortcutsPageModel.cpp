#include "ShortcutsPageModel.h"

#include "Localization.h"
#include "ShortcutEditorModel.h"
#include "Uuid.h"

ShortcutsPageModel::ShortcutsPageModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void ShortcutsPageModel::setCoordinator(PlaybackCoordinator *coordinator)
{
    if (coordinator == m_coordinator)
        return;
    QObject::disconnect(m_shortcutsWatch);
    m_coordinator = coordinator;
    if (coordinator)
        m_shortcutsWatch
            = connect(coordinator, &PlaybackCoordinator::shortcutsChanged, this, [this] { sync(); });
    sync();
    emit coordinatorChanged();
}

void ShortcutsPageModel::setPreferences(Preferences *preferences)
{
    if (preferences == m_preferences)
        return;
    QObject::disconnect(m_skillsWatch);
    m_preferences = preferences;
    if (preferences)
        m_skillsWatch = connect(preferences, &Preferences::skillsChanged, this, [this] { refreshStars(); });
    refreshStars();
    emit preferencesChanged();
}

QString ShortcutsPageModel::starLabel(bool holdsSlot)
{
    return holdsSlot ? localized(QStringLiteral("Remove from skill bar"))
                     : localized(QStringLiteral("Add to skill bar"));
}

// Rows follow positions: the rows both lists have are refreshed in place,
// the rest added or dropped at the end.
void ShortcutsPageModel::sync()
{
    const QList<MusicShortcut> next = m_coordinator ? m_coordinator->shortcuts() : QList<MusicShortcut>();
    const int before = count();
    const int after = int(next.size());
    if (after < before) {
        beginRemoveRows({}, after, before - 1);
        m_rows = next;
        endRemoveRows();
    } else if (after > before) {
        beginInsertRows({}, before, after - 1);
        m_rows = next;
        endInsertRows();
    } else {
        m_rows = next;
    }
    if (const int kept = std::min(before, after); kept > 0)
        emit dataChanged(index(0), index(kept - 1));
    if (after != before)
        emit countChanged();
}

void ShortcutsPageModel::refreshStars()
{
    if (m_rows.isEmpty())
        return;
    emit dataChanged(index(0), index(count() - 1), {HoldsSlotRole, StarLabelRole, StarEnabledRole});
}

SkillBar ShortcutsPageModel::skills() const
{
    return m_preferences ? m_preferences->skills() : SkillBar();
}

const MusicShortcut *ShortcutsPageModel::at(int row) const
{
    return row >= 0 && row < count() ? &m_rows.at(row) : nullptr;
}

int ShortcutsPageModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ShortcutsPageModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const MusicShortcut &shortcut = m_rows.at(row);
    const SkillBar bar = skills();
    const bool holdsSlot = bar.slot(shortcut.id).has_value();
    switch (role) {
    case ShortcutIDRole:
        return uuidString(shortcut.id);
    case Qt::DisplayRole:
    case TitleRole:
        return shortcut.title;
    case KindRole:
        return toRawValue(shortcut.link.kind());
    case GlyphRole:
        return toRawValue(shortcut.resolvedGlyph());
    case HoldsSlotRole:
        return holdsSlot;
    case StarLabelRole:
        return starLabel(holdsSlot);
    case StarEnabledRole:
        return holdsSlot || bar.firstEmptySlot().has_value();
    case CanMoveUpRole:
        return row > 0;
    case CanMoveDownRole:
    case IsLastRole:
        return (row < count() - 1) == (role == CanMoveDownRole);
    default:
        return {};
    }
}

QHash<int, QByteArray> ShortcutsPageModel::roleNames() const
{
    return {
        {ShortcutIDRole, "shortcutID"},
        {TitleRole, "title"},
        {KindRole, "kind"},
        {GlyphRole, "glyph"},
        {HoldsSlotRole, "holdsSlot"},
        {StarLabelRole, "starLabel"},
        {StarEnabledRole, "starEnabled"},
        {CanMoveUpRole, "canMoveUp"},
        {CanMoveDownRole, "canMoveDown"},
        {IsLastRole, "isLast"},
    };
}

void ShortcutsPageModel::open(int row)
{
    if (const MusicShortcut *shortcut = at(row); shortcut && m_coordinator)
        m_coordinator->openInSpotify(*shortcut);
}

void ShortcutsPageModel::toggleSkill(int row)
{
    const MusicShortcut *shortcut = at(row);
    if (!shortcut || !m_preferences)
        return;
    SkillBar bar = m_preferences->skills();
    if (const std::optional<int> held = bar.slot(shortcut->id)) {
        bar.assign(std::nullopt, *held);
    } else if (const std::optional<int> empty = bar.firstEmptySlot()) {
        bar.assign(shortcut->id, *empty);
    } else {
        return;
    }
    m_preferences->setSkills(bar);
}

void ShortcutsPageModel::move(int row, int offset)
{
    if (const MusicShortcut *shortcut = at(row); shortcut && m_coordinator)
        m_coordinator->moveShortcut(shortcut->id, qsizetype(offset));
}

void ShortcutsPageModel::remove(int row)
{
    if (const MusicShortcut *shortcut = at(row); shortcut && m_coordinator)
        m_coordinator->removeShortcut(shortcut->id);
}

QVariant ShortcutsPageModel::shortcut(int row) const
{
    const MusicShortcut *shortcut = at(row);
    return shortcut ? QVariant(ShortcutEditorModel::describe(*shortcut)) : QVariant::fromValue(nullptr);
}
