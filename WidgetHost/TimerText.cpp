#include "TimerText.h"

#include "WidgetEnvironment.h"

#include <QPointer>
#include <cmath>

TimerText::TimerText(QObject *parent)
    : QObject(parent)
{
    m_text = format(0, m_showsHours);
}

TimerText::~TimerText()
{
    m_ticking.cancel();
}

double TimerText::value(Date start, Date end, Date now, bool countsDown)
{
    const double length = std::max(0.0, end.timeIntervalSince(start));
    const double elapsed = std::clamp(now.timeIntervalSince(start), 0.0, length);
    return countsDown ? length - elapsed : elapsed;
}

QString TimerText::format(double seconds, bool showsHours)
{
    const qint64 whole = std::isfinite(seconds) && seconds > 0 ? qint64(std::min(seconds, 1e12)) : 0;
    const QLatin1Char zero('0');
    if (showsHours && whole >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(whole / 3600)
            .arg(whole / 60 % 60, 2, 10, zero)
            .arg(whole % 60, 2, 10, zero);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, zero);
}

void TimerText::setStart(double seconds)
{
    if (seconds == m_start.secondsSinceReferenceDate)
        return;
    m_start = Date{seconds};
    emit intervalChanged();
    restart();
}

void TimerText::setEnd(double seconds)
{
    if (seconds == m_end.secondsSinceReferenceDate)
        return;
    m_end = Date{seconds};
    emit intervalChanged();
    restart();
}

void TimerText::setCountsDown(bool countsDown)
{
    if (countsDown == m_countsDown)
        return;
    m_countsDown = countsDown;
    emit intervalChanged();
    restart();
}

void TimerText::setShowsHours(bool showsHours)
{
    if (showsHours == m_showsHours)
        return;
    m_showsHours = showsHours;
    emit intervalChanged();
    restart();
}

void TimerText::componentComplete()
{
    m_complete = true;
    restart();
}

std::optional<double> TimerText::refresh()
{
    const Date now = Date::now();
    const double shown = value(m_start, m_end, now, m_countsDown);
    const QString text = format(shown, m_showsHours);
    if (text != m_text) {
        m_text = text;
        emit textChanged();
    }
    const double elapsed = now.timeIntervalSince(m_start);
    const double length = m_end.timeIntervalSince(m_start);
    if (!std::isfinite(elapsed) || !std::isfinite(length) || elapsed >= length)
        return std::nullopt;
    // Before the start nothing moves until the start; then the next whole second.
    if (elapsed < 0)
        return -elapsed;
    return 1.0 - (elapsed - std::floor(elapsed));
}

void TimerText::restart()
{
    m_ticking.cancel();
    if (!m_complete)
        return;
    const std::optional<double> first = refresh();
    if (!first)
        return;
    Scheduler &scheduler = [this]() -> Scheduler & {
        if (const WidgetContainer *container = WidgetContainer::of(this))
            return container->scheduler();
        return Scheduler::current();
    }();
    QPointer<TimerText> self(this);
    const double firstPause = *first;
    m_ticking = scheduler.spawn([self, &scheduler, firstPause](TaskHandle task) -> QCoro::Task<void> {
        double pause = firstPause;
        while (true) {
            const bool slept = co_await scheduler.sleep(pause, task);
            if (!slept || !self)
                co_return;
            const std::optional<double> next = self->refresh();
            if (!next)
                co_return;
            // Never less than a sliver, so a clock that lands on the edge still moves on.
            pause = std::max(*next, 0.001);
        }
    });
}
