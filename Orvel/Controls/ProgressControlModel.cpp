#include "ProgressControlModel.h"

#include "Localization.h"

#include <cmath>

QCoro::Task<void> progressTicks(Scheduler &scheduler, QPointer<ProgressControlModel> model, TaskHandle self)
{
    for (;;) {
        const bool slept = co_await scheduler.sleep(ProgressControlModel::tick, self);
        if (!slept || !model)
            co_return;
        model->refresh();
    }
}

ProgressControlModel::ProgressControlModel(QObject *parent)
    : PlaybackScrubberModel(parent)
{
    m_scrubber.setStyle(ScrubberStyle::progress);
    m_scrubber.setStep(keyStep);
    m_scrubber.setLabel(localized(QStringLiteral("Playback position")));
    m_scrubber.setValueTextFormat([this](double value) {
        return localized(QStringLiteral("%@ of %@"),
            {PlaybackSnapshot::displayTime(value), PlaybackSnapshot::displayTime(m_duration)});
    });
    refresh();
}

ProgressControlModel::~ProgressControlModel()
{
    m_ticks.cancel();
}

double ProgressControlModel::duration(const PlaybackSnapshot &snapshot)
{
    const double seconds = snapshot.track ? snapshot.track->duration : 0;
    return std::isfinite(seconds) ? std::max(seconds, 1.0) : 1;
}

QString ProgressControlModel::remainingText(double duration, double shown)
{
    const double left = duration - shown;
    // A NaN difference reads as nothing left.
    return QStringLiteral("\u2212") + PlaybackSnapshot::displayTime(left >= 0 ? left : 0);
}

QString ProgressControlModel::elapsedText() const
{
    return PlaybackSnapshot::displayTime(shownPosition());
}

void ProgressControlModel::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    m_ticks.cancel();
    m_ticks = {};
    if (shown) {
        // Anchored here: the readouts move a second after being shown, and every second on.
        refresh();
        Scheduler &scheduler = Scheduler::current();
        m_ticks = scheduler.spawn([&scheduler, model = QPointer<ProgressControlModel>(this)](
                                      TaskHandle self) { return progressTicks(scheduler, model, self); });
    }
    emit shownChanged();
}

void ProgressControlModel::setSkinName(const QString &name)
{
    const Skin skin = fromRawValue<Skin>(name).value_or(Skin::classico);
    if (skin == m_skin)
        return;
    m_skin = skin;
    emit layoutChanged();
}

void ProgressControlModel::setReadoutSize(double size)
{
    if (size == m_readoutSize)
        return;
    m_readoutSize = size;
    emit layoutChanged();
}

void ProgressControlModel::refresh()
{
    const PlaybackSnapshot &now = snapshot();
    m_duration = duration(now);
    m_estimated = now.estimatedPosition(Date::now());
    m_seekable = now.capabilities.canSeek && now.availability == PlayerAvailability::ready;
    m_playing = now.isPlaying;
    m_scrubber.setRange(0, m_duration);
    m_scrubber.setValue(m_estimated);
    m_scrubber.setEnabled(m_seekable);
    // The track the bar first shows is where the pulse starts, not a change.
    if (coordinator())
        m_scrubber.setPulse(now.track ? QVariant(now.track->id) : QVariant());
    emit changed();
}
