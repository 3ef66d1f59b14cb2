#pragma once

#include "MusicShortcut.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Scheduler.h"

#include <QObject>
#include <QPointer>
#include <QUuid>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The add and edit sheet's form: name, link, glyph and skill slot, the
// debounced name look-up from the link, and saving through the coordinator
// and the skill bar. The sheet's view only binds; `dismissed` closes it.
class ShortcutEditorModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(
        PlaybackCoordinator *coordinator READ coordinator WRITE setCoordinator NOTIFY coordinatorChanged)
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY preferencesChanged)
    Q_PROPERTY(bool editing READ editing NOTIFY populated)
    Q_PROPERTY(QString heading READ heading NOTIFY populated)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    // As typed; every change may start a look-up.
    Q_PROPERTY(QString link READ link WRITE setLink NOTIFY linkChanged)
    // A glyph's raw value, or null for the link kind's own.
    Q_PROPERTY(QVariant glyph READ glyphValue WRITE setGlyphValue NOTIFY glyphChanged)
    // The glyph shown as chosen: the set one, else the parsed link's; empty for none.
    Q_PROPERTY(QString effectiveGlyph READ effectiveGlyphName NOTIFY effectiveGlyphChanged)
    // 0…5, or null for "No slot".
    Q_PROPERTY(QVariant skillSlot READ skillSlotValue WRITE setSkillSlotValue NOTIFY skillSlotChanged)
    Q_PROPERTY(bool lookingUp READ lookingUp NOTIFY lookingUpChanged)
    Q_PROPERTY(bool submitted READ submitted NOTIFY submittedChanged)
    Q_PROPERTY(bool canSave READ canSave NOTIFY canSaveChanged)
    // Only after a first Save, and only while the form is invalid.
    Q_PROPERTY(bool showsMessage READ showsMessage NOTIFY canSaveChanged)
    // [{glyph, name}] for the sixteen glyphs in their order.
    Q_PROPERTY(QVariantList glyphChoices READ glyphChoices CONSTANT)
    // [{label, value}]: "No slot" (null), then "1"…"6" (0…5).
    Q_PROPERTY(QVariantList slotChoices READ slotChoices CONSTANT)

public:
    static constexpr double lookupDelay = 0.4;
    static constexpr int glyphColumns = 8;
    static constexpr double glyphCell = 30;
    static constexpr double glyphSpacing = 6;
    static constexpr double slotPickerWidth = 250;
    static constexpr double segmentPadding = 8; // each side of a segment's text

    // No scheduler: the current one.
    explicit ShortcutEditorModel(QObject *parent = nullptr, Scheduler *scheduler = nullptr);
    ~ShortcutEditorModel() override;

    // {id, title, link, glyph}: how a shortcut reaches the sheet through QML.
    static QVariantMap describe(const MusicShortcut &shortcut);
    static std::optional<MusicShortcut> shortcutFrom(const QVariant &value);
    // Text widths to segment widths: each segment holds its whole text and the
    // room left over is shared alike, so the row is `total` wide when it can be.
    static QList<qreal> segmentWidths(const QList<qreal> &textWidths, qreal total = slotPickerWidth);
    Q_INVOKABLE QList<qreal> segmentWidthsFor(const QList<qreal> &textWidths) const
    {
        return segmentWidths(textWidths);
    }

    PlaybackCoordinator *coordinator() const { return m_coordinator; }
    void setCoordinator(PlaybackCoordinator *coordinator);
    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);

    const QUuid &id() const { return m_id; }
    bool editing() const { return m_editing; }
    QString heading() const;
    const QString &title() const { return m_title; }
    void setTitle(const QString &title);
    const QString &link() const { return m_link; }
    void setLink(const QString &link);
    const std::optional<SkillGlyph> &glyph() const { return m_glyph; }
    void setGlyph(const std::optional<SkillGlyph> &glyph);
    std::optional<SkillGlyph> effectiveGlyph() const;
    const std::optional<int> &skillSlot() const { return m_skillSlot; }
    // A slot the bar does not have reads as none.
    void setSkillSlot(std::optional<int> slot);
    bool lookingUp() const { return m_lookingUp; }
    bool submitted() const { return m_submitted; }
    bool canSave() const;
    bool showsMessage() const { return m_submitted && !canSave(); }

    // Seeds the form for a shortcut (none: a new one) and a slot to offer; the
    // slot the edited shortcut holds wins.
    void populate(const std::optional<MusicShortcut> &shortcut, std::optional<int> slot);
    Q_INVOKABLE void populate(const QVariant &shortcut, const QVariant &slot);
    // Waits, then asks for the link's title while the name is blank.
    void scheduleLookup(const QString &text);
    Q_INVOKABLE void cancelLookup();
    // True when saved; the sheet then goes.
    Q_INVOKABLE bool save();
    Q_INVOKABLE void cancel();

signals:
    void coordinatorChanged();
    void preferencesChanged();
    void populated();
    void titleChanged();
    void linkChanged();
    void glyphChanged();
    void effectiveGlyphChanged();
    void skillSlotChanged();
    void lookingUpChanged();
    void submittedChanged();
    void canSaveChanged();
    void dismissed();

private:
    QVariant glyphValue() const;
    void setGlyphValue(const QVariant &value);
    QString effectiveGlyphName() const;
    QVariant skillSlotValue() const;
    void setSkillSlotValue(const QVariant &value);
    QVariantList glyphChoices() const;
    QVariantList slotChoices() const;
    void setLookingUp(bool lookingUp);
    // Runs `change`, then announces the derived values that moved.
    template<class Change>
    void changing(Change change);

    Scheduler *m_scheduler;
    QPointer<PlaybackCoordinator> m_coordinator;
    QPointer<Preferences> m_preferences;
    QUuid m_id = QUuid::createUuid();
    bool m_editing = false;
    QString m_title;
    QString m_link;
    std::optional<SkillGlyph> m_glyph;
    std::optional<int> m_skillSlot;
    bool m_lookingUp = false;
    bool m_submitted = false;
    TaskHandle m_lookup;
};
