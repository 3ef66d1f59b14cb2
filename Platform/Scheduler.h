#pragma once

#include <QObject>
#include <QPointer>
#include <coroutine>
#include <cstdint>
#include <functional>
#include <memory>
#include <qcoro/qcorotask.h>

class Scheduler;

// A started unit of work that can be cancelled, like a detached task: cancelling
// wakes its pending sleep at once (the sleep then reports false) and later
// sleeps return false without waiting.
class TaskHandle {
public:
    struct State;

    TaskHandle() = default;
    void cancel() const;
    bool isCancelled() const;
    bool isFinished() const;
    bool isValid() const { return bool(m_state); }

    struct JoinAwaiter {
        std::shared_ptr<State> state;
        bool await_ready() const noexcept;
        void await_suspend(std::coroutine_handle<> handle);
        void await_resume() const noexcept { }
    };
    // Resumes once the task's work has returned; at once when there is none.
    JoinAwaiter join() const { return JoinAwaiter{m_state}; }

    friend bool operator==(const TaskHandle &, const TaskHandle &) = default;

private:
    friend class Scheduler;
    explicit TaskHandle(std::shared_ptr<State> state)
        : m_state(std::move(state))
    {
    }
    std::shared_ptr<State> m_state;
};

// Every pause of the program goes through a Scheduler, so tests can run on a
// manual clock. now() is the continuous (monotonic, counting suspend) clock in seconds.
class Scheduler {
public:
    virtual ~Scheduler();

    // The process-wide scheduler (real timers unless a test installed another).
    static Scheduler &current();
    static void setCurrent(Scheduler *scheduler);

    virtual double now() const = 0;

    struct SleepAwaiter {
        Scheduler *scheduler;
        double seconds;
        std::shared_ptr<TaskHandle::State> task;
        std::shared_ptr<struct Sleeper> sleeper;
        bool await_ready();
        bool await_suspend(std::coroutine_handle<> handle);
        bool await_resume() const;
    };
    // co_await sleep(s, task): true after the full pause, false when the task was
    // (or gets) cancelled or no timer could be started for the pause; the caller
    // then ends its work quietly.
    SleepAwaiter sleep(double seconds, const TaskHandle &task = {});

    // Starts work on the next turn of the current thread's event loop.
    TaskHandle spawn(std::function<QCoro::Task<void>(TaskHandle)> body);

protected:
    // False when the sleep cannot be kept (no timer could start): it then ends
    // at once, reporting false.
    virtual bool arm(const std::shared_ptr<Sleeper> &sleeper) = 0;
    virtual void disarm(const std::shared_ptr<Sleeper> &sleeper) = 0;
    // Work spawned but not started yet will never run; for a scheduler going away.
    void dropUnstartedWork() { m_alive.reset(); }
    // Wakes a sleeper with the given outcome, on the thread where it went to sleep.
    static void wake(const std::shared_ptr<Sleeper> &sleeper, bool completed, bool queued);
    friend class TaskHandle;

private:
    // Expires with the scheduler, so posted work can tell it is gone.
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
};

struct Sleeper {
    std::coroutine_handle<> handle;
    QPointer<QObject> threadContext;
    double deadline = 0;
    std::uint64_t sequence = 0;
    bool woken = false;
    bool completed = false;
    Scheduler *scheduler = nullptr;
    std::weak_ptr<TaskHandle::State> task;
    std::function<void()> cancelTimer;
};

// Real timers on the continuous clock.
class SystemScheduler final : public Scheduler {
public:
    double now() const override;

protected:
    bool arm(const std::shared_ptr<Sleeper> &sleeper) override;
    void disarm(const std::shared_ptr<Sleeper> &sleeper) override;
};

// Installs a scheduler as current for the lifetime of the guard.
class ScopedScheduler {
public:
    explicit ScopedScheduler(Scheduler &scheduler);
    ~ScopedScheduler();
    ScopedScheduler(const ScopedScheduler &) = delete;
    ScopedScheduler &operator=(const ScopedScheduler &) = delete;

private:
    Scheduler *m_previous;
};
