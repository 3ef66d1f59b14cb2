#pragma once

#include "MusicShortcut.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "SkillBar.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

// The Shortcuts page's list: one row per position of the coordinator's
// shortcuts (a hand-edited file may repeat an id, and every entry still
// shows), with the skill-bar star and the moves each row offers.
class ShortcutsPageModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        PlaybackCoordinator *coordinator READ coordinator WRITE setCoordinator NOTIFY coordinatorChanged)
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY preferencesChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        ShortcutIDRole = Qt::UserRole + 1,
        TitleRole,
        KindRole,
        GlyphRole, // the glyph it is drawn with, its own or its kind's
        HoldsSlotRole,
        StarLabelRole,
        StarEnabledRole,
        CanMoveUpRole,
        CanMoveDownRole,
        IsLastRole,
    };

    explicit ShortcutsPageModel(QObject *parent = nullptr);

    PlaybackCoordinator *coordinator() const { return m_coordinator; }
    void setCoordinator(PlaybackCoordinator *coordinator);
    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);
    int count() const { return int(m_rows.size()); }

    // "Remove from skill bar" while the shortcut holds a slot, else "Add to skill bar".
    static QString starLabel(bool holdsSlot);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The row actions; a row that is no longer there does nothing.
    Q_INVOKABLE void open(int row);
    // Decided by the skill bar as it is now, not as the row was drawn: a
    // slot read earlier may meanwhile hold another shortcut.
    Q_INVOKABLE void toggleSkill(int row);
    Q_INVOKABLE void move(int row, int offset);
    Q_INVOKABLE void remove(int row);
    // What the editor is given to edit; null for no row.
    Q_INVOKABLE QVariant shortcut(int row) const;

signals:
    void coordinatorChanged();
    void preferencesChanged();
    void countChanged();

private:
    void sync();
    void refreshStars();
    SkillBar skills() const;
    const MusicShortcut *at(int row) const;

    QPointer<PlaybackCoordinator> m_coordinator;
    QPointer<Preferences> m_preferences;
    QMetaObject::Connection m_shortcutsWatch;
    QMetaObject::Connection m_skillsWatch;
    QList<MusicShortcut> m_rows;
};
