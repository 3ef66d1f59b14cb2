#include "ManualScheduler.h"
#include "Scheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QThread>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

namespace {
QCoro::Task<void> pauseAndRecord(
    Scheduler &scheduler, TaskHandle self, double seconds, std::vector<int> &log, int tag)
{
    const bool slept = co_await scheduler.sleep(seconds, self);
    log.push_back(slept ? tag : -tag);
}
} // namespace

TEST(ManualScheduler, WakesSleepersInDeadlineOrderOnlyWhenTimeAdvances)
{
    ManualScheduler scheduler;
    std::vector<int> log;
    scheduler.spawn([&](TaskHandle self) { return pauseAndRecord(scheduler, self, 2.0, log, 2); });
    scheduler.spawn([&](TaskHandle self) { return pauseAndRecord(scheduler, self, 1.0, log, 1); });
    scheduler.spawn([&](TaskHandle self) { return pauseAndRecord(scheduler, self, 1.0, log, 3); });
    scheduler.runUntilIdle();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(scheduler.pendingSleepers(), 3u);
    scheduler.advance(0.999);
    EXPECT_TRUE(log.empty());
    scheduler.advance(0.001);
    EXPECT_EQ(log, (std::vector<int>{1, 3}));
    scheduler.advance(5);
    EXPECT_EQ(log, (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(scheduler.pendingSleepers(), 0u);
}

TEST(ManualScheduler, SpawnedWorkStartsOnTheNextTurnNotInline)
{
    ManualScheduler scheduler;
    bool ran = false;
    const auto handle = scheduler.spawn([&](TaskHandle) -> QCoro::Task<void> {
        ran = true;
        co_return;
    });
    EXPECT_FALSE(ran);
    EXPECT_FALSE(handle.isFinished());
    scheduler.runUntilIdle();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(handle.isFinished());
}

TEST(ManualScheduler, CancellingWakesTheSleepAtOnceWithFalse)
{
    ManualScheduler scheduler;
    std::vector<int> log;
    const auto handle = scheduler.spawn([&](TaskHandle self) -> QCoro::Task<void> {
        co_await pauseAndRecord(scheduler, self, 30, log, 1);
        // Later sleeps of a cancelled task do not wait either.
        co_await pauseAndRecord(scheduler, self, 30, log, 2);
    });
    scheduler.runUntilIdle();
    handle.cancel();
    scheduler.runUntilIdle();
    EXPECT_EQ(log, (std::vector<int>{-1, -2}));
    EXPECT_TRUE(handle.isCancelled());
    EXPECT_TRUE(handle.isFinished());
    EXPECT_EQ(scheduler.pendingSleepers(), 0u);
}

TEST(ManualScheduler, JoinResumesEveryWaiterWhenTheTaskEnds)
{
    ManualScheduler scheduler;
    std::vector<int> log;
    const auto work
        = scheduler.spawn([&](TaskHandle self) { return pauseAndRecord(scheduler, self, 1, log, 1); });
    for (int i = 10; i < 13; ++i) {
        scheduler.spawn([&, i](TaskHandle) -> QCoro::Task<void> {
            co_await work.join();
            log.push_back(i);
        });
    }
    scheduler.advance(0.5);
    EXPECT_TRUE(log.empty());
    scheduler.advance(0.5);
    EXPECT_EQ(log, (std::vector<int>{1, 10, 11, 12}));
}

TEST(ManualScheduler, OddPausesAndDestructionEndTasksQuietly)
{
    std::vector<int> log;
    {
        ManualScheduler scheduler;
        scheduler.spawn([&](TaskHandle self) { return pauseAndRecord(scheduler, self, -3, log, 1); });
        scheduler.spawn(
            [&](TaskHandle self) { return pauseAndRecord(scheduler, self, std::nan(""), log, 2); });
        scheduler.spawn([&](TaskHandle self) { return pauseAndRecord(scheduler, self, 1e9, log, 3); });
        scheduler.advance(0);
        EXPECT_EQ(log, (std::vector<int>{1, 2}));
    }
    EXPECT_EQ(log, (std::vector<int>{1, 2, -3}));
}

TEST(ManualScheduler, CurrentCanBeReplacedAndRestored)
{
    Scheduler &before = Scheduler::current();
    {
        ManualScheduler manual;
        ScopedScheduler scope(manual);
        EXPECT_EQ(&Scheduler::current(), &manual);
    }
    EXPECT_EQ(&Scheduler::current(), &before);
}

TEST(SystemScheduler, ShortRealPauseResumesOnItsOwnThread)
{
    SystemScheduler scheduler;
    QThread worker;
    QObject inWorker;
    inWorker.moveToThread(&worker);
    worker.start();
    QThread *resumedOn = nullptr;
    bool done = false;
    QMetaObject::invokeMethod(
        &inWorker,
        [&] {
            scheduler.spawn([&](TaskHandle self) -> QCoro::Task<void> {
                co_await scheduler.sleep(0.01, self);
                resumedOn = QThread::currentThread();
                done = true;
            });
        },
        Qt::QueuedConnection);
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 5000)
        QThread::msleep(1);
    worker.quit();
    worker.wait();
    EXPECT_TRUE(done);
    EXPECT_EQ(resumedOn, &worker);
}

TEST(ManualScheduler, WorkSpawnedOnASchedulerThatIsGoneNeverStarts)
{
    bool ran = false;
    {
        ManualScheduler scheduler;
        scheduler.spawn([&](TaskHandle) -> QCoro::Task<void> {
            ran = true;
            co_return;
        });
    }
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(ran);
}

namespace {
// Counts the events the application hands out while it exists.
class EventCounter : public QObject {
public:
    EventCounter() { QCoreApplication::instance()->installEventFilter(this); }
    int count(QEvent::Type type) const { return m_counts.value(type); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        ++m_counts[event->type()];
        return false;
    }

private:
    QHash<QEvent::Type, int> m_counts;
};

void runUntil(const bool &done, int milliseconds = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}
} // namespace

// A clock ticking many times a second must cost one timer event per tick and
// nothing else: no objects to delete later, no resumption posted through the queue.
TEST(SystemScheduler, ATickingClockCostsOneTimerEventPerTick)
{
    SystemScheduler scheduler;
    int ticks = 0;
    bool done = false;
    EventCounter events;
    scheduler.spawn([&](TaskHandle self) -> QCoro::Task<void> {
        for (; ticks < 5; ++ticks)
            co_await scheduler.sleep(0.002, self);
        done = true;
    });
    runUntil(done);
    ASSERT_TRUE(done);
    EXPECT_EQ(events.count(QEvent::Timer), 5);
    EXPECT_EQ(events.count(QEvent::DeferredDelete), 0);
    EXPECT_EQ(events.count(QEvent::MetaCall), 1); // the spawn itself
}

TEST(SystemScheduler, ACancelledSleepEndsAtOnceAndItsTimerNeverFires)
{
    SystemScheduler scheduler;
    std::optional<bool> slept;
    TaskHandle task = scheduler.spawn(
        [&](TaskHandle self) -> QCoro::Task<void> { slept = co_await scheduler.sleep(3600, self); });
    QCoreApplication::processEvents();
    ASSERT_FALSE(slept.has_value());
    EventCounter events;
    task.cancel();
    QCoreApplication::processEvents();
    EXPECT_EQ(slept, std::optional<bool>(false));

    // A later sleep on the same thread still wakes, and only once.
    bool done = false;
    scheduler.spawn([&](TaskHandle self) -> QCoro::Task<void> {
        co_await scheduler.sleep(0.001, self);
        done = true;
    });
    runUntil(done);
    EXPECT_TRUE(done);
    EXPECT_EQ(events.count(QEvent::Timer), 1);
}

TEST(SystemScheduler, ASleepWhoseTimerCannotStartEndsAtOnceWithFalse)
{
    // A thread without an event loop cannot start a timer.
    SystemScheduler scheduler;
    std::optional<bool> slept;
    const auto sleepOnce = [&]() -> QCoro::Task<void> { slept = co_await scheduler.sleep(0.01); };
    std::thread bare([&] { const QCoro::Task<void> task = sleepOnce(); });
    bare.join();
    EXPECT_EQ(slept, std::optional<bool>(false));
}
