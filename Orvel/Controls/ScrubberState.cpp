#include "ScrubberState.h"

#include "KitAnimation.h"
#include "Motion.h"
#include "SkinEnvironment.h"

#include <algorithm>
#include <cmath>

namespace {
// Into lower...upper, whichever way round they are given.
double clampInto(double value, double lower, double upper)
{
    return std::max(std::min(lower, upper), std::min(value, std::max(lower, upper)));
}
} // namespace

QCoro::Task<void> scrubberCommitLater(Scheduler &scheduler, QPointer<ScrubberState> state, TaskHandle self)
{
    const bool slept = co_await scheduler.sleep(ScrubberState::commitDelay, self);
    if (!slept || !state || !state->m_draft)
        co_return;
    state->commit(*state->m_draft);
}

QCoro::Task<void> scrubberConfirm(
    QPointer<ScrubberState> state, ScrubberState::Commit onCommit, double value, TaskHandle self)
{
    // The owner's closure may refer to the owner, which outlives only a live scrubber.
    if (!state)
        co_return;
    if (onCommit)
        co_await onCommit(value);
    if (!state || self.isCancelled())
        co_return;
    state->confirmed();
}

QCoro::Task<void> scrubberSwell(
    Scheduler &scheduler, QPointer<ScrubberState> state, double start, TaskHandle self)
{
    for (;;) {
        const double left = SwellMotion::duration - (scheduler.now() - start);
        // A frame's worth of rounding is no frame.
        if (left <= 1e-9)
            break;
        const bool slept = co_await scheduler.sleep(std::min(ScrubberState::swellFrame, left), self);
        if (!slept || !state)
            co_return;
        state->setSwell(SwellMotion::envelope(scheduler.now() - start));
    }
    if (state)
        state->endSwell();
}

QCoro::Task<void> scrubberReveal(
    Scheduler &scheduler, QPointer<ScrubberState> state, double start, TaskHandle self)
{
    const QEasingCurve curve = KitAnimation::easeOut(ScrubberState::revealDuration).easing;
    for (;;) {
        const double left = ScrubberState::revealDuration - (scheduler.now() - start);
        if (left <= 1e-9)
            break;
        const bool slept = co_await scheduler.sleep(std::min(ScrubberState::swellFrame, left), self);
        if (!slept || !state)
            co_return;
        state->setReveal(curve.valueForProgress((scheduler.now() - start) / ScrubberState::revealDuration));
    }
    if (state)
        state->setReveal(1);
}

ScrubberState::ScrubberState(QObject *parent)
    : QObject(parent)
{
    connect(this, &ScrubberState::shownChanged, this, &ScrubberState::trackFractionChanged);
    connect(this, &ScrubberState::revealChanged, this, &ScrubberState::trackFractionChanged);
}

ScrubberState::~ScrubberState()
{
    m_commitTask.cancel();
    m_confirmationTask.cancel();
    m_swellTask.cancel();
    m_revealTask.cancel();
}

template<class T>
bool ScrubberState::assign(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

void ScrubberState::setValue(double value)
{
    if (!assign(m_value, value))
        return;
    emit valueChanged();
    if (!m_draft)
        emit shownChanged();
}

void ScrubberState::setMinimum(double minimum)
{
    setRange(minimum, m_maximum);
}

void ScrubberState::setMaximum(double maximum)
{
    setRange(m_minimum, maximum);
}

void ScrubberState::setRange(double minimum, double maximum)
{
    const bool changed = assign(m_minimum, minimum) | assign(m_maximum, maximum);
    if (!changed)
        return;
    emit rangeChanged();
    emit shownChanged();
}

void ScrubberState::setStep(double step)
{
    if (assign(m_step, step))
        emit stepChanged();
}

void ScrubberState::setDragStep(double step)
{
    if (assign(m_dragStep, step))
        emit dragStepChanged();
}

void ScrubberState::setStyle(ScrubberStyle style)
{
    if (assign(m_style, style))
        emit styleChanged();
}

void ScrubberState::setStyleName(const QString &name)
{
    setStyle(fromRawValue<ScrubberStyle>(name).value_or(ScrubberStyle::progress));
}

void ScrubberState::setLabel(const QString &label)
{
    if (assign(m_label, label))
        emit labelChanged();
}

void ScrubberState::setEnabled(bool enabled)
{
    if (!assign(m_enabled, enabled))
        return;
    emit enabledChanged();
    emit activeChanged();
}

void ScrubberState::setPulse(const QVariant &pulse)
{
    const bool first = !m_pulseKnown || m_building;
    m_pulseKnown = true;
    if (!first && pulse == m_pulse)
        return;
    m_pulse = pulse;
    emit pulseChanged();
    if (!first)
        startSwell();
}

SkinEnvironment *ScrubberState::environment() const
{
    return m_environment ? m_environment.data() : SkinEnvironment::defaultEnvironment();
}

void ScrubberState::setEnvironment(SkinEnvironment *environment)
{
    if (environment == m_environment)
        return;
    disconnect(m_environmentLink);
    m_environment = environment;
    if (environment)
        m_environmentLink
            = connect(environment, &SkinEnvironment::changed, this, &ScrubberState::swellShapeChanged);
    emit environmentChanged();
    emit swellShapeChanged();
}

void ScrubberState::setHovering(bool hovering)
{
    if (assign(m_hovering, hovering))
        emit activeChanged();
}

void ScrubberState::setFocused(bool focused)
{
    if (assign(m_focused, focused))
        emit activeChanged();
}

void ScrubberState::setValueTextFormat(ValueText format)
{
    m_valueText = std::move(format);
    emit shownChanged();
}

double ScrubberState::fraction() const
{
    if (!(m_minimum < m_maximum))
        return 0;
    const double f = (clampInto(shownValue(), m_minimum, m_maximum) - m_minimum) / (m_maximum - m_minimum);
    return std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0;
}

QString ScrubberState::textFor(double value) const
{
    return m_valueText ? m_valueText(value) : QString::number(value);
}

bool ScrubberState::swellShape() const
{
    return environment()->motion().level(AnimationFeature::trackSwell) == MotionLevel::full;
}

double ScrubberState::valueAt(double x, double width) const
{
    // The position's share of the width, clamped; multiplied out before
    // dividing, so a drag to a whole second of a track lands on it exactly.
    const double span = std::max(width, 1.0);
    const double along = std::isnan(x) ? 0 : std::clamp(x, 0.0, span);
    const double v = m_minimum + along * (m_maximum - m_minimum) / span;
    if (!(m_dragStep > 0) || !std::isfinite(m_dragStep))
        return v;
    // std::round takes halves away from zero.
    return clampInto(m_dragStep * std::round(v / m_dragStep), m_minimum, m_maximum);
}

void ScrubberState::dragChanged(double x, double width)
{
    if (!m_enabled || m_committing)
        return;
    m_commitTask.cancel();
    setDragging(true);
    beginEdit();
    const double v = valueAt(x, width);
    if (std::isfinite(v))
        setDraft(v);
}

void ScrubberState::dragEnded(double x, double width)
{
    if (!m_dragging)
        return;
    const double v = valueAt(x, width);
    setDragging(false);
    commit(v);
}

void ScrubberState::stepTo(double target)
{
    if (!m_enabled || m_committing || !std::isfinite(target))
        return;
    beginEdit();
    setDraft(clampInto(target, m_minimum, m_maximum));
    m_commitTask.cancel();
    Scheduler &scheduler = Scheduler::current();
    m_commitTask = scheduler.spawn([&scheduler, state = QPointer<ScrubberState>(this)](TaskHandle self) {
        return scrubberCommitLater(scheduler, state, self);
    });
}

void ScrubberState::commit(double value)
{
    // Disabled meanwhile (an ad began, Spotify went away), or nothing sane to
    // send: the edit ends without a command.
    if (!m_enabled || !std::isfinite(value)) {
        abandon();
        return;
    }
    setDraft(value);
    setCommitting(true);
    m_confirmationTask = Scheduler::current().spawn(
        [state = QPointer<ScrubberState>(this), onCommit = m_onCommit, value](
            TaskHandle self) { return scrubberConfirm(state, onCommit, value, self); });
}

void ScrubberState::confirmed()
{
    setDraft(std::nullopt);
    setCommitting(false);
    setEditing(false);
}

void ScrubberState::abandon()
{
    m_commitTask.cancel();
    setDraft(std::nullopt);
    setDragging(false);
    setEditing(false);
}

void ScrubberState::reset()
{
    m_commitTask.cancel();
    m_confirmationTask.cancel();
    setDraft(std::nullopt);
    setDragging(false);
    setCommitting(false);
    setEditing(false);
    m_swellTask.cancel();
    endSwell();
    // A reveal cut short ends where it was going.
    if (m_revealTask.isValid() && !m_revealTask.isFinished()) {
        m_revealTask.cancel();
        setReveal(1);
    }
}

void ScrubberState::startSwell()
{
    if (m_style != ScrubberStyle::progress || m_pulse.isNull() || m_draft
        || environment()->motion().level(AnimationFeature::trackSwell) == MotionLevel::still)
        return;
    m_swellTask.cancel();
    Scheduler &scheduler = Scheduler::current();
    const double start = scheduler.now();
    m_swellStart = start;
    setSwell(0);
    emit swellChanged();
    m_swellTask
        = scheduler.spawn([&scheduler, state = QPointer<ScrubberState>(this), start](
                              TaskHandle self) { return scrubberSwell(scheduler, state, start, self); });
}

void ScrubberState::appear()
{
    if (m_appeared)
        return;
    m_appeared = true;
    if (!environment()->motion().allows(AnimationFeature::panels)) {
        setReveal(1);
        return;
    }
    Scheduler &scheduler = Scheduler::current();
    m_revealTask
        = scheduler.spawn([&scheduler, state = QPointer<ScrubberState>(this), start = scheduler.now()](
                              TaskHandle self) { return scrubberReveal(scheduler, state, start, self); });
}

void ScrubberState::setReveal(double reveal)
{
    if (assign(m_reveal, reveal))
        emit revealChanged();
}

void ScrubberState::setSwell(double swell)
{
    if (assign(m_swell, swell))
        emit swellChanged();
}

void ScrubberState::endSwell()
{
    const bool wasSwelling = m_swellStart.has_value();
    m_swellStart.reset();
    if (assign(m_swell, 0.0) || wasSwelling)
        emit swellChanged();
}

void ScrubberState::setDraft(std::optional<double> draft)
{
    if (!assign(m_draft, draft))
        return;
    emit draftChanged();
    emit shownChanged();
}

void ScrubberState::beginEdit()
{
    setEditing(true);
}

void ScrubberState::setEditing(bool editing)
{
    if (assign(m_editing, editing))
        emit editingChanged(editing);
}

void ScrubberState::setDragging(bool dragging)
{
    if (!assign(m_dragging, dragging))
        return;
    emit draggingChanged();
    emit activeChanged();
}

void ScrubberState::setCommitting(bool committing)
{
    if (assign(m_committing, committing))
        emit committingChanged();
}
