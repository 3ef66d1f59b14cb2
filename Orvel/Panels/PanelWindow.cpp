#include "PanelWindow.h"

#include <QEasingCurve>
#include <QPointF>
#include <algorithm>
#include <cmath>

namespace {
// Holds the window only while the task lives: the window cancels it on its
// way out, and a cancelled sleep ends the work before it looks at the window.
QCoro::Task<void> stepFrames(Scheduler &scheduler, std::function<void(const Rect &)> present, Rect from,
    Rect to, double start, double seconds, TaskHandle self)
{
    const int steps = std::max(1, int(std::ceil(seconds * PanelWindow::animationRate)));
    for (int step = 1; step <= steps; ++step) {
        // Due times from the start, so late wake-ups do not stretch the animation; a
        // nanosecond early, so a clock that sums its steps still meets each one.
        const double due = start + seconds * step / steps - 1e-9;
        const bool slept = co_await scheduler.sleep(std::max(due - scheduler.now(), 0.0), self);
        if (!slept)
            co_return;
        present(step == steps
                ? to
                : PanelWindow::interpolated(from, to, PanelWindow::eased(double(step) / steps)));
    }
}
} // namespace

PanelWindow::PanelWindow(Scheduler &scheduler)
    : m_scheduler(scheduler)
{
}

PanelWindow::~PanelWindow()
{
    m_animation.cancel();
}

double PanelWindow::eased(double progress)
{
    static const QEasingCurve curve = [] {
        QEasingCurve c(QEasingCurve::BezierSpline);
        c.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
        return c;
    }();
    return curve.valueForProgress(std::clamp(progress, 0.0, 1.0));
}

Rect PanelWindow::interpolated(const Rect &from, const Rect &to, double progress)
{
    const auto mix = [progress](double a, double b) { return a + (b - a) * progress; };
    return Rect(mix(from.minX(), to.minX()), mix(from.minY(), to.minY()), mix(from.width(), to.width()),
        mix(from.height(), to.height()));
}

void PanelWindow::present(const Rect &frame)
{
    if (frame != m_frame)
        ++m_frameChanges;
    m_frame = frame;
    applyFrame(frame);
}

void PanelWindow::stopAnimation()
{
    m_animation.cancel();
    m_animation = {};
}

void PanelWindow::setFrame(const Rect &frame)
{
    stopAnimation();
    present(frame);
}

void PanelWindow::animateFrame(const Rect &frame, double seconds)
{
    stopAnimation();
    if (!(seconds > 0) || frame == m_frame) {
        present(frame);
        return;
    }
    const double start = m_scheduler.now();
    Scheduler &scheduler = m_scheduler;
    const Rect from = m_frame;
    const auto step = [this](const Rect &next) { present(next); };
    m_animation = scheduler.spawn([&scheduler, step, from, frame, start, seconds](TaskHandle self) {
        return stepFrames(scheduler, step, from, frame, start, seconds, self);
    });
}

void PanelWindow::setLevel(int level)
{
    m_level = level;
    applyLevel(level);
}

void PanelWindow::setCollectionBehavior(std::uint64_t behavior)
{
    m_collectionBehavior = behavior;
    applyCollectionBehavior(behavior);
}

void PanelWindow::setTitle(const QString &title)
{
    m_title = title;
    applyTitle(title);
}

void PanelWindow::setHasShadow(bool shadow)
{
    m_hasShadow = shadow;
    applyShadow(shadow);
}

void PanelWindow::setIgnoresMouseEvents(bool ignores)
{
    m_ignoresMouseEvents = ignores;
    applyIgnoresMouseEvents(ignores);
}

void PanelWindow::orderFront()
{
    if (m_closed)
        return;
    m_visible = true;
    applyVisible(true);
}

void PanelWindow::orderOut()
{
    m_visible = false;
    applyVisible(false);
}

void PanelWindow::setKeptAway(bool keptAway)
{
    if (keptAway == m_keptAway)
        return;
    m_keptAway = keptAway;
    if (m_visible && onScreenChanged)
        onScreenChanged();
}

void PanelWindow::close()
{
    stopAnimation();
    m_visible = false;
    if (m_closed)
        return;
    m_closed = true;
    applyClose();
}
