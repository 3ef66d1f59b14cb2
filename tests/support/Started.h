#pragma once

#include "ManualScheduler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <cmath>
#include <exception>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <qcoro/qcorotask.h>
#include <stdexcept>
#include <type_traits>
#include <vector>

// What a started coroutine gives: its value, or true for one that has none.
template<typename T>
using StartedValue = std::conditional_t<std::is_void_v<T>, bool, T>;

template<typename T>
class Started;

template<typename U>
Started<StartedValue<U>> drive(ManualScheduler &clock, QCoro::Task<U> task);

// A coroutine a test started, and what it gave (or threw) once it has ended.
// Copies share the one outcome, so a test can keep them while the clock moves.
template<typename T>
class Started {
public:
    Started() = default;
    // Starts the coroutine; it runs up to its first pause at once.
    template<typename U>
    explicit Started(QCoro::Task<U> task)
    {
        keep(std::move(task), m_outcome);
    }

    bool done() const { return m_outcome->value || m_outcome->error; }
    // The value; rethrows what the coroutine threw.
    T get() const
    {
        if (m_outcome->error)
            std::rethrow_exception(m_outcome->error);
        return *m_outcome->value;
    }
    const std::optional<T> &value() const { return m_outcome->value; }
    std::exception_ptr error() const { return m_outcome->error; }
    // The pauses drive() let pass, in seconds.
    const std::vector<double> &pauses() const { return m_outcome->pauses; }

private:
    struct Outcome {
        std::optional<T> value;
        std::exception_ptr error;
        std::vector<double> pauses;
    };

    template<typename U>
    static QCoro::Task<void> keep(QCoro::Task<U> task, std::shared_ptr<Outcome> into)
    {
        try {
            if constexpr (std::is_void_v<U>) {
                co_await std::move(task);
                into->value = true;
            } else {
                into->value = co_await std::move(task);
            }
        } catch (...) {
            into->error = std::current_exception();
        }
    }

    template<typename U>
    friend Started<StartedValue<U>> drive(ManualScheduler &clock, QCoro::Task<U> task);

    std::shared_ptr<Outcome> m_outcome = std::make_shared<Outcome>();
};

template<typename U>
Started(QCoro::Task<U>) -> Started<StartedValue<U>>;

// Starts a coroutine without moving the clock.
template<typename U>
Started<StartedValue<U>> start(QCoro::Task<U> task)
{
    return Started<StartedValue<U>>(std::move(task));
}

// Runs a coroutine on the main thread to its end, moving the clock in steps of
// a tenth of a second as far as its pauses need; gives its value.
template<typename U>
auto run(ManualScheduler &clock, QCoro::Task<U> task)
{
    const auto started = start(std::move(task));
    clock.runUntilIdle();
    for (int step = 0; step < 200 && !started.done(); ++step)
        clock.advance(0.1);
    EXPECT_TRUE(started.done());
    if constexpr (std::is_void_v<U>)
        return;
    else
        return started.get();
}

// Runs a coroutine whose work goes on on other threads too (the Spotify
// bridge's) to its end: runs the main event loop and moves the clock to each
// pause's end as soon as something sleeps, keeping the pauses it let pass.
template<typename U>
Started<StartedValue<U>> drive(ManualScheduler &clock, QCoro::Task<U> task)
{
    const auto started = start(std::move(task));
    // A guard against hung work, not a pause: it only bounds a failing test.
    for (QDeadlineTimer guard(20000); !started.done();) {
        if (guard.hasExpired())
            throw std::runtime_error("the coroutine did not end");
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (started.done())
            break;
        if (const auto next = clock.nextDeadline()) {
            started.m_outcome->pauses.push_back(std::round(*next * 1e6) / 1e6); // the clock runs on 1000 + x
            clock.advance(*next);
        } else {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
        }
    }
    return started;
}
