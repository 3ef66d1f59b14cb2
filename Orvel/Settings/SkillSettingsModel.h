#pragma once

#include "MusicShortcut.h"
#include "SkillBar.h"
#include "SkinPalette.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <array>
#include <optional>

class DashboardState;
class PlaybackCoordinator;
class Preferences;

// The skill-bar page's rules: the four placement cards, the six tiles of the
// resolved slots, which slot's editor is open, and the hand-over of a slot
// the dashboard was asked to open.
class SkillSettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(PlaybackCoordinator *player READ player WRITE setPlayer NOTIFY changed)
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY changed)
    Q_PROPERTY(DashboardState *state READ state WRITE setState NOTIFY changed)
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)
    // Four maps in reading order, two rows of two: {placement, title, detail, selected}.
    Q_PROPERTY(QVariantList placements READ placements NOTIFY changed)
    // Six maps: {index, filled, caption, glyph, accessibleName, circle, fill, stroke,
    // strokeWidth, dashed, glyphColor, captionColor, captionWeight}.
    Q_PROPERTY(QVariantList tiles READ tiles NOTIFY changed)
    Q_PROPERTY(qreal slotRowOpacity READ slotRowOpacity NOTIFY changed)
    // The slot whose editor is open, or null.
    Q_PROPERTY(QVariant openSlot READ openSlotValue NOTIFY openSlotChanged)

public:
    struct Placement {
        SkillPlacement placement;
        const char *title;
        const char *detail;
    };
    // In reading order: two rows of two.
    static const std::array<Placement, 4> placementTable;

    static constexpr double dimmedOpacity = 0.55;
    static constexpr double badgeRadius = 12;

    // How a tile's badge and caption look in a skin, filled or empty.
    struct TileLook {
        bool circle = false;
        QColor fill;
        QColor stroke;
        double strokeWidth = 0;
        bool dashed = false;
        QColor glyphColor;
        QColor captionColor;
        bool mediumCaption = false;
    };
    static TileLook tileLook(const SkinPalette &palette, bool filled);
    static QString caption(int index, const std::optional<MusicShortcut> &shortcut);
    static QString accessibleName(int index, const std::optional<MusicShortcut> &shortcut);

    explicit SkillSettingsModel(QObject *parent = nullptr);

    PlaybackCoordinator *player() const { return m_player; }
    void setPlayer(PlaybackCoordinator *player);
    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);
    DashboardState *state() const { return m_state; }
    void setState(DashboardState *state);
    SkinPalette palette() const { return m_palette; }
    void setPalette(const SkinPalette &palette);

    // Entry i is the saved shortcut in slot i; none when empty or no longer saved.
    std::array<std::optional<MusicShortcut>, SkillBar::capacity> resolved() const;
    QVariantList placements() const;
    QVariantList tiles() const;
    qreal slotRowOpacity() const;
    const std::optional<int> &openSlot() const { return m_openSlot; }
    QVariant openSlotValue() const { return m_openSlot ? QVariant(*m_openSlot) : QVariant(); }

    // A placement's raw value.
    Q_INVOKABLE void choosePlacement(const QString &placement);
    // A tile was clicked: its editor opens, replacing any other.
    Q_INVOKABLE void open(int slot);
    // A popover was dismissed: only its own slot is closed.
    Q_INVOKABLE void dismissed(int slot);
    // "New from a link…" in the slot's editor: the editor closes first.
    Q_INVOKABLE void startNewShortcut(int slot);
    // The page came on screen: a pending slot is taken over.
    Q_INVOKABLE void appear();

signals:
    void changed();
    void openSlotChanged();
    void newShortcut(int slot);

private:
    void setOpenSlot(std::optional<int> slot);
    // Takes the dashboard's pending slot once and opens it a turn later.
    void openPendingSlot();

    QPointer<PlaybackCoordinator> m_player;
    QPointer<Preferences> m_preferences;
    QPointer<DashboardState> m_state;
    SkinPalette m_palette;
    std::optional<int> m_openSlot;
    bool m_appeared = false;
};
