#pragma once

#include "Motion.h"
#include "RawEnum.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <array>
#include <optional>

class Preferences;

// The one note under the preset cards.
enum class AnimationNote { none, light, custom };

template<>
struct RawEnumCases<AnimationNote> {
    using N = AnimationNote;
    static constexpr std::array<std::pair<N, std::string_view>, 3> cases{
        {{N::none, "none"}, {N::light, "light"}, {N::custom, "custom"}}};
};

// The three preset cards, which of them the current settings match, and the
// one note under them. Choosing a card applies its preset, also when it is
// already the selected one.
class AnimationPresetModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY changed)
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY changed)
    // One map per card in order: {preset, title, detail, selected}.
    Q_PROPERTY(QVariantList cards READ cards NOTIFY changed)
    Q_PROPERTY(qreal spacing READ spacing NOTIFY changed)
    Q_PROPERTY(qreal opacity READ opacity NOTIFY changed)
    // "none", "light" or "custom".
    Q_PROPERTY(QString note READ noteName NOTIFY changed)
    Q_PROPERTY(QString noteText READ noteText NOTIFY changed)

public:
    using Note = AnimationNote;

    struct Card {
        AnimationPreset preset;
        const char *title;
        const char *detail;
    };
    static const std::array<Card, 3> cardTable;

    // The whole picker in light mode, where animations are off anyway.
    static constexpr double dimmedOpacity = 0.55;
    static double spacing(bool compact) { return compact ? 10 : 14; }
    static double opacity(bool light) { return light ? dimmedOpacity : 1; }
    // Light mode says so first; otherwise a mix no preset matches is named.
    static Note note(bool light, std::optional<AnimationPreset> preset);
    static QString noteText(Note note);

    explicit AnimationPresetModel(QObject *parent = nullptr);

    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);
    bool compact() const { return m_compact; }
    void setCompact(bool compact);

    QVariantList cards() const;
    qreal spacing() const { return spacing(m_compact); }
    qreal opacity() const { return opacity(light()); }
    Note note() const;
    QString noteName() const { return toRawValue(note()); }
    QString noteText() const { return noteText(note()); }

    // A preset's raw value; anything else changes nothing.
    Q_INVOKABLE void select(const QString &preset);

signals:
    void changed();

private:
    bool light() const;
    std::optional<AnimationPreset> preset() const;

    QPointer<Preferences> m_preferences;
    bool m_compact = false;
};
