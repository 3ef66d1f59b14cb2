#include "ManualScheduler.h"

#include <QCoreApplication>
#include <algorithm>

ManualScheduler::ManualScheduler() = default;

ManualScheduler::~ManualScheduler()
{
    // Let every paused task end quietly instead of leaking its frame: work not
    // started yet is dropped, tasks cancelled a moment ago finish their turn, and
    // the sleepers left are woken as cancelled.
    dropUnstartedWork();
    QCoreApplication::sendPostedEvents();
    std::unique_lock lock(m_mutex);
    auto sleepers = std::move(m_sleepers);
    lock.unlock();
    for (auto &[key, sleeper] : sleepers)
        wake(sleeper, false, false);
}

bool ManualScheduler::arm(const std::shared_ptr<Sleeper> &sleeper)
{
    const std::lock_guard lock(m_mutex);
    sleeper->sequence = ++m_sequence;
    m_sleepers.emplace(std::make_pair(sleeper->deadline, sleeper->sequence), sleeper);
    return true;
}

void ManualScheduler::disarm(const std::shared_ptr<Sleeper> &sleeper)
{
    const std::lock_guard lock(m_mutex);
    m_sleepers.erase(std::make_pair(sleeper->deadline, sleeper->sequence));
}

void ManualScheduler::runUntilIdle()
{
    // Posted work may post more; a few rounds settle any chain the program makes.
    for (int round = 0; round < 4; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

std::optional<double> ManualScheduler::nextDeadline() const
{
    const std::lock_guard lock(m_mutex);
    if (m_sleepers.empty())
        return std::nullopt;
    return std::max(m_sleepers.begin()->first.first - m_now, 0.0);
}

void ManualScheduler::advance(double seconds)
{
    const double target = m_now + std::max(seconds, 0.0);
    runUntilIdle();
    for (;;) {
        std::unique_lock lock(m_mutex);
        if (m_sleepers.empty() || m_sleepers.begin()->first.first > target)
            break;
        auto it = m_sleepers.begin();
        auto sleeper = it->second;
        m_sleepers.erase(it);
        m_now = std::max(m_now.load(), sleeper->deadline);
        lock.unlock();
        wake(sleeper, true, false);
        runUntilIdle();
    }
    m_now = target;
    runUntilIdle();
}
