#pragma once

#include "Scheduler.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

// Virtual time: nothing happens until advance() moves the clock.
// Work on other threads (the Spotify bridge's) may sleep on it too.
class ManualScheduler final : public Scheduler {
public:
    ManualScheduler();
    ~ManualScheduler() override;

    double now() const override { return m_now.load(); }
    // Moves the clock forward, waking every sleeper that comes due in order and
    // running the event loop between them.
    void advance(double seconds);
    // Runs posted work (spawned tasks, woken sleepers) without moving the clock.
    void runUntilIdle();
    std::size_t pendingSleepers() const
    {
        const std::lock_guard lock(m_mutex);
        return m_sleepers.size();
    }
    // Seconds until the next sleeper comes due, or nothing.
    std::optional<double> nextDeadline() const;

protected:
    bool arm(const std::shared_ptr<Sleeper> &sleeper) override;
    void disarm(const std::shared_ptr<Sleeper> &sleeper) override;

private:
    mutable std::recursive_mutex m_mutex;
    std::atomic<double> m_now = 1000.0;
    std::uint64_t m_sequence = 0;
    std::multimap<std::pair<double, std::uint64_t>, std::shared_ptr<Sleeper>> m_sleepers;
};
