#include "PlayingIndicatorState.h"

#include "Date.h"
#include "Localization.h"
#include "SystemAppearance.h"
#include "VisualizerDrawing.h"

#include <QJsonValue>

QCoro::Task<void> runIndicatorClock(
    Scheduler &scheduler, QPointer<PlayingIndicatorState> state, TaskHandle self)
{
    while (state && !self.isCancelled()) {
        state->tick();
        const bool slept = co_await scheduler.sleep(state->interval(), self);
        if (!slept)
            break;
    }
}

PlayingIndicatorState::PlayingIndicatorState(QObject *parent)
    : QObject(parent)
    , m_time(Date::now().secondsSinceReferenceDate)
{
    connect(SystemAppearance::shared(), &SystemAppearance::changed, this, [this] {
        emit changed();
        update();
    });
}

PlayingIndicatorState::~PlayingIndicatorState()
{
    m_clock.cancel();
}

template<class T>
void PlayingIndicatorState::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
    update();
}

void PlayingIndicatorState::setPlaying(bool playing)
{
    assign(m_playing, playing);
}

void PlayingIndicatorState::setCompact(bool compact)
{
    assign(m_compact, compact);
}

void PlayingIndicatorState::setRegularHeight(qreal height)
{
    assign(m_regularHeight, height);
}

void PlayingIndicatorState::setCompactWidth(qreal width)
{
    assign(m_compactWidth, width);
}

void PlayingIndicatorState::setSettings(const VisualizerSettings &settings)
{
    assign(m_settings, settings);
}

QVariant PlayingIndicatorState::settingsJson() const
{
    return m_settings.toJson().toVariant();
}

void PlayingIndicatorState::setSettingsJson(const QVariant &json)
{
    setSettings(visualizerSettingsFromVariant(json));
}

void PlayingIndicatorState::setLightEffects(bool light)
{
    assign(m_lightEffects, light);
}

void PlayingIndicatorState::setOnScreen(bool onScreen)
{
    if (onScreen == m_onScreen)
        return;
    // Back on screen the drawing shows the present moment at once, not the last one seen.
    if (onScreen)
        tick();
    assign(m_onScreen, onScreen);
}

bool PlayingIndicatorState::still() const
{
    const SystemAppearance *system = SystemAppearance::shared();
    return system->reduceMotion() || system->reducedLuminance() || m_lightEffects;
}

QString PlayingIndicatorState::accessibleLabel() const
{
    return localized(m_playing ? QStringLiteral("Playing") : QStringLiteral("Paused"));
}

void PlayingIndicatorState::tick()
{
    const double now = Date::now().secondsSinceReferenceDate;
    if (now == m_time)
        return;
    m_time = now;
    emit timeChanged();
}

void PlayingIndicatorState::update()
{
    // One clock at a time, at the current form's rate; none while there is nothing to move.
    if (ticking() && m_clock.isValid() && !m_clock.isCancelled() && !m_clock.isFinished()
        && m_clockInterval == interval())
        return;
    m_clock.cancel();
    m_clock = {};
    if (!ticking())
        return;
    m_clockInterval = interval();
    Scheduler &scheduler = Scheduler::current();
    m_clock = scheduler.spawn([&scheduler, state = QPointer<PlayingIndicatorState>(this)](
                                  TaskHandle self) { return runIndicatorClock(scheduler, state, self); });
}
