#include "Scheduler.h"

#include <QLoggingCategory>
#include <QThread>
#include <QTimerEvent>
#include <cmath>
#include <ctime>
#include <functional>
#include <unordered_map>
#include <vector>

Q_LOGGING_CATEGORY(lcScheduler, "com.velbrandtoro.Orvel.scheduler")

struct TaskHandle::State {
    bool cancelled = false;
    bool finished = false;
    std::weak_ptr<Sleeper> sleeper;
    std::vector<std::pair<std::coroutine_handle<>, QPointer<QObject>>> joiners;
};

namespace {

// One object per thread to post resumptions to, so a coroutine always
// continues on the thread where it paused. It also runs that thread's sleep
// timers itself: a timer object per sleep would cost an allocation and a
// posted deletion (a wake-up of the event loop) on every tick of a clock.
class ThreadContext final : public QObject {
public:
    int start(int milliseconds, std::function<void()> expired)
    {
        const int id = startTimer(milliseconds, Qt::PreciseTimer);
        if (id != 0)
            m_timers.emplace(id, std::move(expired));
        return id;
    }

    void stop(int id)
    {
        if (m_timers.erase(id) != 0)
            killTimer(id);
    }

protected:
    void timerEvent(QTimerEvent *event) override
    {
        const int id = event->timerId();
        const auto found = m_timers.find(id);
        if (found == m_timers.end())
            return;
        killTimer(id);
        const std::function<void()> expired = std::move(found->second);
        m_timers.erase(found);
        expired();
    }

private:
    std::unordered_map<int, std::function<void()>> m_timers;
};

ThreadContext *threadContext()
{
    thread_local std::unique_ptr<ThreadContext> context = std::make_unique<ThreadContext>();
    return context.get();
}

void resumeOn(const QPointer<QObject> &context, std::coroutine_handle<> handle, bool queued)
{
    if (!context)
        return; // its thread is gone; nothing can run there any more
    if (!queued && context->thread() == QThread::currentThread()) {
        handle.resume();
        return;
    }
    QMetaObject::invokeMethod(
        context.data(), [handle] { handle.resume(); }, Qt::QueuedConnection);
}

Scheduler *&currentScheduler()
{
    static Scheduler *scheduler = nullptr;
    return scheduler;
}

QCoro::Task<void> runSpawned(std::function<QCoro::Task<void>(TaskHandle)> body, TaskHandle handle,
    std::shared_ptr<TaskHandle::State> state)
{
    try {
        co_await body(handle);
    } catch (const std::exception &error) {
        qCWarning(lcScheduler) << "A task ended with an uncaught error:" << error.what();
    } catch (...) {
        qCWarning(lcScheduler) << "A task ended with an uncaught error";
    }
    state->finished = true;
    auto joiners = std::move(state->joiners);
    for (auto &[joiner, context] : joiners)
        resumeOn(context, joiner, false);
}

} // namespace

void TaskHandle::cancel() const
{
    if (!m_state || m_state->cancelled)
        return;
    m_state->cancelled = true;
    if (auto sleeper = m_state->sleeper.lock(); sleeper && !sleeper->woken) {
        sleeper->scheduler->disarm(sleeper);
        Scheduler::wake(sleeper, false, true);
    }
}

bool TaskHandle::isCancelled() const
{
    return m_state && m_state->cancelled;
}

bool TaskHandle::isFinished() const
{
    return !m_state || m_state->finished;
}

bool TaskHandle::JoinAwaiter::await_ready() const noexcept
{
    return !state || state->finished;
}

void TaskHandle::JoinAwaiter::await_suspend(std::coroutine_handle<> handle)
{
    state->joiners.emplace_back(handle, QPointer<QObject>(threadContext()));
}

Scheduler::~Scheduler()
{
    if (currentScheduler() == this)
        currentScheduler() = nullptr;
}

Scheduler &Scheduler::current()
{
    if (!currentScheduler()) {
        static SystemScheduler system;
        currentScheduler() = &system;
    }
    return *currentScheduler();
}

void Scheduler::setCurrent(Scheduler *scheduler)
{
    currentScheduler() = scheduler;
}

Scheduler::SleepAwaiter Scheduler::sleep(double seconds, const TaskHandle &task)
{
    return SleepAwaiter{this, seconds, task.m_state, nullptr};
}

bool Scheduler::SleepAwaiter::await_ready()
{
    return task && task->cancelled;
}

bool Scheduler::SleepAwaiter::await_suspend(std::coroutine_handle<> handle)
{
    sleeper = std::make_shared<Sleeper>();
    sleeper->handle = handle;
    sleeper->threadContext = threadContext();
    // A NaN or negative pause is no pause at all.
    const double pause = std::isfinite(seconds) ? std::max(seconds, 0.0) : (seconds > 0 ? 1e12 : 0.0);
    sleeper->deadline = scheduler->now() + pause;
    sleeper->scheduler = scheduler;
    if (task) {
        sleeper->task = task;
        task->sleeper = sleeper;
    }
    if (scheduler->arm(sleeper))
        return true;
    // Resumed at once: a sleep nothing would ever wake must not hang its task.
    sleeper->woken = true;
    sleeper->completed = false;
    return false;
}

bool Scheduler::SleepAwaiter::await_resume() const
{
    if (!sleeper)
        return false; // cancelled before it began
    return sleeper->completed && !(task && task->cancelled);
}

void Scheduler::wake(const std::shared_ptr<Sleeper> &sleeper, bool completed, bool queued)
{
    if (sleeper->woken)
        return;
    sleeper->woken = true;
    sleeper->completed = completed;
    resumeOn(sleeper->threadContext, sleeper->handle, queued);
}

TaskHandle Scheduler::spawn(std::function<QCoro::Task<void>(TaskHandle)> body)
{
    auto state = std::make_shared<TaskHandle::State>();
    TaskHandle handle(state);
    QMetaObject::invokeMethod(
        threadContext(),
        [alive = std::weak_ptr<const bool>(m_alive), body = std::move(body), handle, state]() mutable {
            // Work spawned on a scheduler that is gone before it started never runs.
            if (!alive.expired())
                runSpawned(std::move(body), handle, state);
        },
        Qt::QueuedConnection);
    return handle;
}

// MARK: - System

double SystemScheduler::now() const
{
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

bool SystemScheduler::arm(const std::shared_ptr<Sleeper> &sleeper)
{
    auto *context = static_cast<ThreadContext *>(sleeper->threadContext.data());
    if (!context)
        return false; // its thread is going; no timer can run there any more
    const double remaining = std::max(sleeper->deadline - now(), 0.0);
    const int id = context->start(
        int(std::min(std::ceil(remaining * 1000.0), 2147483647.0)), [weak = std::weak_ptr<Sleeper>(sleeper)] {
            if (auto woken = weak.lock())
                Scheduler::wake(woken, true, false);
        });
    if (id == 0) {
        qCWarning(lcScheduler) << "A sleep could not start a timer on its thread";
        return false;
    }
    sleeper->cancelTimer = [context = QPointer<ThreadContext>(context), id] {
        if (context)
            context->stop(id);
    };
    return true;
}

void SystemScheduler::disarm(const std::shared_ptr<Sleeper> &sleeper)
{
    if (sleeper->cancelTimer)
        sleeper->cancelTimer();
}

ScopedScheduler::ScopedScheduler(Scheduler &scheduler)
    : m_previous(currentScheduler())
{
    Scheduler::setCurrent(&scheduler);
}

ScopedScheduler::~ScopedScheduler()
{
    Scheduler::setCurrent(m_previous);
}
