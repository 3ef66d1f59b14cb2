#pragma once

#include "ManualScheduler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMutex>
#include <QStringList>
#include <cmath>
#include <exception>
#include <optional>
#include <qcoro/qcorotask.h>
#include <stdexcept>
#include <vector>

// Awaits a task from the test's (main) thread while the bridge works on its own:
// runs the main event loop and moves the manual clock to each pause's end as
// soon as the bridge sleeps, keeping the pauses it let pass.
template<typename T>
struct Driven {
    std::optional<T> value;
    std::exception_ptr error;
    std::vector<double> pauses;

    T get()
    {
        if (error)
            std::rethrow_exception(error);
        return *value;
    }
};

template<typename T>
QCoro::Task<void> collect(QCoro::Task<T> task, Driven<T> &out, bool &done)
{
    try {
        out.value = co_await std::move(task);
    } catch (...) {
        out.error = std::current_exception();
    }
    done = true;
}

template<typename T>
Driven<T> drive(ManualScheduler &clock, QCoro::Task<T> task)
{
    Driven<T> out;
    bool done = false;
    auto runner = collect(std::move(task), out, done);
    // A guard against a hung bridge, not a pause: it only bounds a failing test.
    for (QDeadlineTimer guard(20000); !done;) {
        if (guard.hasExpired())
            throw std::runtime_error("the bridge did not answer");
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (done)
            break;
        if (const auto next = clock.nextDeadline()) {
            out.pauses.push_back(std::round(*next * 1e6) / 1e6); // the clock runs on 1000 + x
            clock.advance(*next);
        } else {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
        }
    }
    return out;
}

// Collects the bridge's log lines.
class LogCapture {
public:
    LogCapture()
    {
        instance() = this;
        m_previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context,
                                                const QString &text) {
            if (auto *self = instance(); self && type == QtCriticalMsg
                && QLatin1String(context.category) == QLatin1String("com.velbrandtoro.Orvel.SpotifyBridge")) {
                QMutexLocker lock(&self->m_mutex);
                self->m_lines << text;
            }
        });
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        instance() = nullptr;
    }
    QStringList lines()
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }

private:
    static LogCapture *&instance()
    {
        static LogCapture *capture = nullptr;
        return capture;
    }
    QtMessageHandler m_previous;
    QMutex m_mutex;
    QStringList m_lines;
};
