#include "ShortcutListModel.h"

#include "Uuid.h"

#include <QSet>

namespace {
bool repeatsAnId(const QList<MusicShortcut> &shortcuts)
{
    QSet<QUuid> seen;
    for (const MusicShortcut &shortcut : shortcuts) {
        if (seen.contains(shortcut.id))
            return true;
        seen.insert(shortcut.id);
    }
    return false;
}

qsizetype indexOf(const QList<MusicShortcut> &rows, const QUuid &id)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows.at(i).id == id)
            return i;
    }
    return -1;
}
} // namespace

ShortcutListModel::ShortcutListModel(std::function<SkillBar()> readSkills, QObject *parent)
    : QAbstractListModel(parent)
    , m_readSkills(std::move(readSkills))
{
}

void ShortcutListModel::setShortcuts(const QList<MusicShortcut> &next)
{
    // Rows are followed by id; a list that repeats one (only a hand-edited file
    // can) is taken whole.
    if (repeatsAnId(m_rows) || repeatsAnId(next)) {
        beginResetModel();
        m_rows = next;
        endResetModel();
        return;
    }
    QSet<QUuid> wanted;
    for (const MusicShortcut &shortcut : next)
        wanted.insert(shortcut.id);

    // Removals, from the end so the rows before keep their indexes.
    for (qsizetype last = m_rows.size() - 1; last >= 0; --last) {
        if (wanted.contains(m_rows.at(last).id))
            continue;
        qsizetype first = last;
        while (first > 0 && !wanted.contains(m_rows.at(first - 1).id))
            --first;
        beginRemoveRows({}, int(first), int(last));
        m_rows.remove(first, last - first + 1);
        endRemoveRows();
        last = first;
    }

    // Moves: the rows that stay take the new list's order. A row that went down
    // is carried to its place, so a single move is one step either way.
    QSet<QUuid> kept;
    QList<QUuid> order;
    for (const MusicShortcut &shortcut : std::as_const(m_rows))
        kept.insert(shortcut.id);
    for (const MusicShortcut &shortcut : next) {
        if (kept.contains(shortcut.id))
            order.append(shortcut.id);
    }
    for (qsizetype i = 0; i < order.size();) {
        if (m_rows.at(i).id == order.at(i)) {
            ++i;
            continue;
        }
        if (m_rows.at(i + 1).id == order.at(i)) {
            const qsizetype to = order.indexOf(m_rows.at(i).id);
            beginMoveRows({}, int(i), int(i), {}, int(to + 1));
            m_rows.move(i, to);
        } else {
            const qsizetype from = indexOf(m_rows, order.at(i));
            beginMoveRows({}, int(from), int(from), {}, int(i));
            m_rows.move(from, i);
        }
        endMoveRows();
    }

    // Insertions, each run of new rows at once.
    for (qsizetype first = 0; first < next.size(); ++first) {
        if (kept.contains(next.at(first).id))
            continue;
        qsizetype last = first;
        while (last + 1 < next.size() && !kept.contains(next.at(last + 1).id))
            ++last;
        beginInsertRows({}, int(first), int(last));
        for (qsizetype i = first; i <= last; ++i)
            m_rows.insert(i, next.at(i));
        endInsertRows();
        first = last;
    }

    // Edits of rows that stayed.
    for (qsizetype i = 0; i < next.size(); ++i) {
        const MusicShortcut &old = m_rows.at(i);
        const MusicShortcut &now = next.at(i);
        if (old == now)
            continue;
        QList<int> roles;
        if (old.title != now.title)
            roles << TitleRole;
        if (old.link != now.link)
            roles << LinkRole << KindRole;
        // A new link changes the glyph of a shortcut that has none of its own.
        if (old.resolvedGlyph() != now.resolvedGlyph())
            roles << GlyphRole;
        m_rows[i] = now;
        if (!roles.isEmpty())
            emit dataChanged(index(int(i)), index(int(i)), roles);
    }
}

void ShortcutListModel::refreshSlots()
{
    if (!m_skills)
        return; // no slot was shown yet: the next read takes the new bar
    const SkillBar before = *m_skills;
    m_skills = m_readSkills();
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const QUuid &id = m_rows.at(i).id;
        if (before.slot(id) != m_skills->slot(id))
            emit dataChanged(index(int(i)), index(int(i)), {SlotRole});
    }
}

const SkillBar &ShortcutListModel::skills() const
{
    if (!m_skills)
        m_skills = m_readSkills ? m_readSkills() : SkillBar();
    return *m_skills;
}

int ShortcutListModel::slotOf(const MusicShortcut &shortcut) const
{
    return skills().slot(shortcut.id).value_or(-1);
}

int ShortcutListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ShortcutListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const MusicShortcut &shortcut = m_rows.at(index.row());
    switch (role) {
    case ShortcutIDRole:
        return uuidString(shortcut.id);
    case Qt::DisplayRole:
    case TitleRole:
        return shortcut.title;
    case LinkRole:
        return shortcut.link.uriString();
    case KindRole:
        return toRawValue(shortcut.link.kind());
    case GlyphRole:
        return toRawValue(shortcut.resolvedGlyph());
    case SlotRole:
        return slotOf(shortcut);
    default:
        return {};
    }
}

QHash<int, QByteArray> ShortcutListModel::roleNames() const
{
    return {
        {ShortcutIDRole, "shortcutID"},
        {TitleRole, "title"},
        {LinkRole, "link"},
        {KindRole, "kind"},
        {GlyphRole, "glyph"},
        {SlotRole, "slot"},
    };
}
