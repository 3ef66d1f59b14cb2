#pragma once

#include "MusicShortcut.h"
#include "SkillBar.h"

#include <QAbstractListModel>
#include <QList>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

// The user's shortcuts as rows for the views, with the skill slot each one holds.
// A new list is applied as the inserts, moves, removals and edits that lead to it,
// so views keep their delegates (and their animations) across a change.
class ShortcutListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The coordinator's shortcutModel is the one list of shortcuts.")

public:
    enum Role {
        ShortcutIDRole = Qt::UserRole + 1,
        TitleRole,
        LinkRole,
        KindRole,
        GlyphRole, // the glyph it is drawn with, its own or its kind's
        SlotRole,
    };

    // readSkills is called only once a view asks for a slot, so a list nobody
    // shows never reaches the settings.
    explicit ShortcutListModel(std::function<SkillBar()> readSkills, QObject *parent = nullptr);

    const QList<MusicShortcut> &shortcuts() const { return m_rows; }
    void setShortcuts(const QList<MusicShortcut> &shortcuts);
    // The skill bar changed: rows whose slot moved announce it.
    void refreshSlots();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    int slotOf(const MusicShortcut &shortcut) const;
    const SkillBar &skills() const;

    QList<MusicShortcut> m_rows;
    std::function<SkillBar()> m_readSkills;
    mutable std::optional<SkillBar> m_skills;
};
