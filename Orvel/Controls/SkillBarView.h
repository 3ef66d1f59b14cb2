#pragma once

#include "MusicShortcut.h"
#include "SkillBar.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include "PlaybackCoordinator.h"
#include "Preferences.h"

// Whether the floating panel makes room for the skill bar, and where.
struct SkillBarView {
    // The placement with the caller's peeking flag, unless it is hidden or no
    // slot holds a shortcut that still exists: then no chrome at all.
    static SkillChrome chrome(bool peeking, SkillPlacement placement, const SkillBar &skills,
        const QList<MusicShortcut> &shortcuts);
    static SkillChrome chrome(
        bool peeking, const Preferences &preferences, const PlaybackCoordinator &player);
};

// The bar's state for its QML view: the slots of its style, each with its
// bar index and shortcut, the slot under the pointer and the row's caption.
class SkillBarModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(PlaybackCoordinator *player READ player WRITE setPlayer NOTIFY changed)
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY changed)
    // "row", "peek", "wingLeading" or "wingTrailing".
    Q_PROPERTY(QString style READ style WRITE setStyle NOTIFY changed)
    Q_PROPERTY(QVariant hovered READ hoveredValue NOTIFY changed)
    // One map per slot shown: {index, shortcutID, title, kind, glyph}; an
    // empty slot has an empty id.
    Q_PROPERTY(QVariantList cells READ cells NOTIFY changed)
    Q_PROPERTY(QString caption READ caption NOTIFY changed)

public:
    // The bar indices a style shows, [first, end).
    static std::pair<int, int> range(const QString &style);
    // The hovered slot's title, else the starting shortcut's, else nothing.
    static QString caption(std::optional<int> hovered,
        const std::array<std::optional<MusicShortcut>, SkillBar::capacity> &resolved,
        const std::optional<QUuid> &casting, const QList<MusicShortcut> &shortcuts);

    explicit SkillBarModel(QObject *parent = nullptr);

    PlaybackCoordinator *player() const { return m_player; }
    void setPlayer(PlaybackCoordinator *player);
    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);
    QString style() const { return m_style; }
    void setStyle(const QString &style);
    std::optional<int> hovered() const { return m_hovered; }
    QVariant hoveredValue() const { return m_hovered ? QVariant(*m_hovered) : QVariant(); }
    QVariantList cells() const;
    QString caption() const;

    Q_INVOKABLE void enter(int index);
    // Clears the hover only if it still names this slot.
    Q_INVOKABLE void leave(int index);

signals:
    void changed();

private:
    std::array<std::optional<MusicShortcut>, SkillBar::capacity> resolved() const;
    template<class Owner>
    void watch(QPointer<Owner> &field, Owner *owner);

    QPointer<PlaybackCoordinator> m_player;
    QPointer<Preferences> m_preferences;
    QString m_style = QStringLiteral("row");
    std::optional<int> m_hovered;
};
