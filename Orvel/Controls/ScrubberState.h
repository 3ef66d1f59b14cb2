#pragma once

#include "RawEnum.h"
#include "Scheduler.h"

#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <algorithm>
#include <functional>
#include <optional>
#include <qcoro/qcorotask.h>

#include "SkinEnvironment.h"

// Which look the scrubber's track takes, and whether a new pulse may swell it.
enum class ScrubberStyle { progress, volume };

template<>
struct RawEnumCases<ScrubberStyle> {
    static constexpr std::array<std::pair<ScrubberStyle, std::string_view>, 2> cases{
        {{ScrubberStyle::progress, "progress"}, {ScrubberStyle::volume, "volume"}}};
};

// The edit cycle of our slider. It shows the owner's committed `value` until
// the user edits; a drag, an arrow key or the accessibility slider moves a
// pending draft, which is handed once to the owner's awaited `onCommit`.
// While that runs all input is dropped and the draft stays, so the bar never
// jumps back while the player confirms; only when it returns does the draft go
// and the edit end. It also runs the swell, the pulse of a track change.
//
// Owners set the inputs; OrvelScrubber.qml forwards pointer, key and hover
// events to it and draws what it says. All pauses go through the scheduler.
class ScrubberState : public QObject, public QQmlParserStatus {
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)

    // Inputs.
    Q_PROPERTY(double value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(double minimum READ minimum WRITE setMinimum NOTIFY rangeChanged)
    Q_PROPERTY(double maximum READ maximum WRITE setMaximum NOTIFY rangeChanged)
    Q_PROPERTY(double step READ step WRITE setStep NOTIFY stepChanged)
    // The grid drag values snap to; 0 (or anything not above 0) snaps nothing.
    Q_PROPERTY(double dragStep READ dragStep WRITE setDragStep NOTIFY dragStepChanged)
    Q_PROPERTY(QString style READ styleName WRITE setStyleName NOTIFY styleChanged)
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY labelChanged)
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled NOTIFY enabledChanged)
    // An identity (the current track's); its change to a new non-null value may swell.
    Q_PROPERTY(QVariant pulse READ pulse WRITE setPulse NOTIFY pulseChanged)
    // Where the motion policy comes from; the default environment when null.
    Q_PROPERTY(SkinEnvironment *environment READ environment WRITE setEnvironment NOTIFY environmentChanged)
    Q_PROPERTY(bool hovering READ hovering WRITE setHovering NOTIFY activeChanged)
    Q_PROPERTY(bool focused READ focused WRITE setFocused NOTIFY activeChanged)

    // The cycle.
    Q_PROPERTY(QVariant draft READ draftValue NOTIFY draftChanged)
    Q_PROPERTY(bool editing READ editing NOTIFY editingChanged)
    Q_PROPERTY(bool dragging READ dragging NOTIFY draggingChanged)
    Q_PROPERTY(bool committing READ committing NOTIFY committingChanged)
    Q_PROPERTY(bool active READ active NOTIFY activeChanged)

    // What is drawn and spoken.
    Q_PROPERTY(double shownValue READ shownValue NOTIFY shownChanged)
    Q_PROPERTY(double fraction READ fraction NOTIFY shownChanged)
    // 0 until the first appearance, then growing to 1: caps the drawn fraction.
    Q_PROPERTY(double reveal READ reveal NOTIFY revealChanged)
    Q_PROPERTY(double trackFraction READ trackFraction NOTIFY trackFractionChanged)
    Q_PROPERTY(QString valueText READ valueText NOTIFY shownChanged)
    Q_PROPERTY(double swell READ swell NOTIFY swellChanged)
    Q_PROPERTY(bool swelling READ swelling NOTIFY swellChanged)
    Q_PROPERTY(bool swellShape READ swellShape NOTIFY swellShapeChanged)

public:
    static constexpr double commitDelay = 0.35;
    static constexpr double swellFrame = 1.0 / 60;
    static constexpr double revealDuration = 0.8;

    using Commit = std::function<QCoro::Task<void>(double)>;
    using ValueText = std::function<QString(double)>;

    explicit ScrubberState(QObject *parent = nullptr);
    ~ScrubberState() override;

    double value() const { return m_value; }
    void setValue(double value);
    double minimum() const { return m_minimum; }
    void setMinimum(double minimum);
    double maximum() const { return m_maximum; }
    void setMaximum(double maximum);
    void setRange(double minimum, double maximum);
    double step() const { return m_step; }
    void setStep(double step);
    double dragStep() const { return m_dragStep; }
    void setDragStep(double step);
    ScrubberStyle style() const { return m_style; }
    void setStyle(ScrubberStyle style);
    QString styleName() const { return toRawValue(m_style); }
    void setStyleName(const QString &name);
    QString label() const { return m_label; }
    void setLabel(const QString &label);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    QVariant pulse() const { return m_pulse; }
    // The first value set is where the pulse starts, not a change.
    void setPulse(const QVariant &pulse);
    SkinEnvironment *environment() const;
    void setEnvironment(SkinEnvironment *environment);
    bool hovering() const { return m_hovering; }
    void setHovering(bool hovering);
    bool focused() const { return m_focused; }
    void setFocused(bool focused);

    // Performs the chosen value; awaited, so the edit lasts until it returns.
    // An empty one returns at once.
    void setOnCommit(Commit commit) { m_onCommit = std::move(commit); }
    // The spoken value of a number; the number itself when unset.
    void setValueTextFormat(ValueText format);

    const std::optional<double> &draft() const { return m_draft; }
    QVariant draftValue() const { return m_draft ? QVariant(*m_draft) : QVariant(); }
    bool editing() const { return m_editing; }
    bool dragging() const { return m_dragging; }
    bool committing() const { return m_committing; }
    bool active() const { return m_enabled && (m_hovering || m_dragging || m_focused); }

    double shownValue() const { return m_draft.value_or(m_value); }
    // The shown value's place in the range, 0...1; 0 for an empty range.
    double fraction() const;
    double reveal() const { return m_reveal; }
    double trackFraction() const { return std::min(fraction(), m_reveal); }
    QString valueText() const { return textFor(shownValue()); }
    QString textFor(double value) const;
    double swell() const { return m_swell; }
    bool swelling() const { return m_swellStart.has_value(); }
    // Whether the swell may change sizes: full motion for the track swell.
    bool swellShape() const;

    // A position along the track to a value: clamped, snapped to dragStep when set.
    Q_INVOKABLE double valueAt(double x, double width) const;
    // Every change of a drag (its first included) and its end, in the track's space.
    Q_INVOKABLE void dragChanged(double x, double width);
    Q_INVOKABLE void dragEnded(double x, double width);
    // A keyboard or accessibility edit: moves the draft at once and commits it
    // once, commitDelay after the last step.
    Q_INVOKABLE void stepTo(double target);
    Q_INVOKABLE void increment() { stepTo(shownValue() + m_step); }
    Q_INVOKABLE void decrement() { stepTo(shownValue() - m_step); }
    // The view appears: the filled part grows in, eased out, when panels may
    // animate, else shows at once. Only the first appearance reveals.
    Q_INVOKABLE void appear();
    // Drops everything at once, as when the view goes away.
    Q_INVOKABLE void reset();

    void classBegin() override { m_building = true; }
    void componentComplete() override { m_building = false; }

signals:
    void valueChanged();
    void rangeChanged();
    void stepChanged();
    void dragStepChanged();
    void styleChanged();
    void labelChanged();
    void enabledChanged();
    void pulseChanged();
    void environmentChanged();
    void draftChanged();
    // The owner's onEditingChanged: true when an edit begins, false when it ends.
    void editingChanged(bool editing);
    void draggingChanged();
    void committingChanged();
    void activeChanged();
    void shownChanged();
    void swellChanged();
    void swellShapeChanged();
    void revealChanged();
    void trackFractionChanged();

private:
    friend QCoro::Task<void> scrubberCommitLater(Scheduler &, QPointer<ScrubberState>, TaskHandle);
    friend QCoro::Task<void> scrubberConfirm(
        QPointer<ScrubberState>, ScrubberState::Commit, double, TaskHandle);
    friend QCoro::Task<void> scrubberSwell(Scheduler &, QPointer<ScrubberState>, double, TaskHandle);
    friend QCoro::Task<void> scrubberReveal(Scheduler &, QPointer<ScrubberState>, double, TaskHandle);

    void commit(double value);
    // Ends an edit without a commit: the draft goes, then the edit.
    void abandon();
    void confirmed();
    void startSwell();
    void setSwell(double swell);
    void setReveal(double reveal);
    void endSwell();
    void setDraft(std::optional<double> draft);
    void setEditing(bool editing);
    void setDragging(bool dragging);
    void setCommitting(bool committing);
    void beginEdit();
    template<class T>
    bool assign(T &field, const T &value);

    double m_value = 0;
    double m_minimum = 0;
    double m_maximum = 1;
    double m_step = 1;
    double m_dragStep = 0;
    ScrubberStyle m_style = ScrubberStyle::progress;
    QString m_label;
    bool m_enabled = true;
    QVariant m_pulse;
    bool m_pulseKnown = false;
    bool m_building = false;
    QPointer<SkinEnvironment> m_environment;
    QMetaObject::Connection m_environmentLink;
    bool m_hovering = false;
    bool m_focused = false;
    Commit m_onCommit;
    ValueText m_valueText;

    std::optional<double> m_draft;
    bool m_committing = false;
    bool m_editing = false;
    bool m_dragging = false;
    TaskHandle m_commitTask;
    TaskHandle m_confirmationTask;
    std::optional<double> m_swellStart;
    double m_swell = 0;
    TaskHandle m_swellTask;
    double m_reveal = 0;
    bool m_appeared = false;
    TaskHandle m_revealTask;
};
