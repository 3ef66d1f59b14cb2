#pragma once

#include "MusicShortcut.h"
#include "SkillBar.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

class PlaybackCoordinator;
class Preferences;

// The slot editor's rules. It keeps nothing of its own: the slot's shortcut
// is resolved afresh from the skill bar and the saved shortcuts, and every
// action is one change of the skill bar written back whole, or the icon
// written to the shortcut itself.
class SkillSlotEditorModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(PlaybackCoordinator *player READ player WRITE setPlayer NOTIFY changed)
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY changed)
    Q_PROPERTY(int index READ index WRITE setIndex NOTIFY changed)

    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(bool filled READ filled NOTIFY changed)
    Q_PROPERTY(QString menuLabel READ menuLabel NOTIFY changed)
    // One map per saved shortcut in the user's order, {id, title, enabled};
    // with nothing saved only a disabled "No shortcuts yet".
    Q_PROPERTY(QVariantList menuItems READ menuItems NOTIFY changed)
    // Sixteen maps {glyph, name, selected, value} while the slot holds a shortcut, else none.
    Q_PROPERTY(QVariantList glyphs READ glyphs NOTIFY changed)
    Q_PROPERTY(bool canMoveLeft READ canMoveLeft NOTIFY changed)
    Q_PROPERTY(bool canMoveRight READ canMoveRight NOTIFY changed)
    Q_PROPERTY(qreal panelWidth READ panelWidth CONSTANT)
    Q_PROPERTY(qreal padding READ padding CONSTANT)
    Q_PROPERTY(qreal spacing READ spacing CONSTANT)
    Q_PROPERTY(int glyphColumns READ glyphColumns CONSTANT)
    Q_PROPERTY(qreal glyphCell READ glyphCell CONSTANT)
    Q_PROPERTY(qreal glyphSpacing READ glyphSpacing CONSTANT)

public:
    // The editor's fixed width and the icon grid: eight 30-point columns.
    struct Layout {
        static constexpr double width = 330;
        static constexpr double padding = 18;
        static constexpr double spacing = 14;
        static constexpr int glyphColumns = 8;
        static constexpr double glyphCell = 30;
        static constexpr double glyphSpacing = 6;
    };

    explicit SkillSlotEditorModel(QObject *parent = nullptr);

    PlaybackCoordinator *player() const { return m_player; }
    void setPlayer(PlaybackCoordinator *player);
    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);
    int index() const { return m_index; }
    void setIndex(int index);

    // The saved shortcut in this slot; none when empty or no longer saved.
    std::optional<MusicShortcut> current() const;
    QString title() const;
    bool filled() const { return current().has_value(); }
    QString menuLabel() const;
    QVariantList menuItems() const;
    QVariantList glyphs() const;
    bool canMoveLeft() const { return m_index > 0; }
    bool canMoveRight() const { return m_index < SkillBar::capacity - 1; }
    qreal panelWidth() const { return Layout::width; }
    qreal padding() const { return Layout::padding; }
    qreal spacing() const { return Layout::spacing; }
    int glyphColumns() const { return Layout::glyphColumns; }
    qreal glyphCell() const { return Layout::glyphCell; }
    qreal glyphSpacing() const { return Layout::glyphSpacing; }

    // A saved shortcut's id: it moves here from any other slot.
    Q_INVOKABLE void assign(const QString &id);
    Q_INVOKABLE void moveLeft();
    Q_INVOKABLE void moveRight();
    // Empties the slot; the shortcut stays saved.
    Q_INVOKABLE void clear();
    // Stores the glyph as the shortcut's own, also when it is already shown.
    Q_INVOKABLE void setIcon(const QString &glyph);

signals:
    void changed();

private:
    void swapWith(int neighbour);

    QPointer<PlaybackCoordinator> m_player;
    QPointer<Preferences> m_preferences;
    int m_index = 0;
};
