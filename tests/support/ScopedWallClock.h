#pragma once

#include "Date.h"

#include <functional>

class ManualScheduler;

// Makes the wall clock (Date::now()) follow a manual scheduler's clock for the guard's
// lifetime, so timestamps move with the manual time a test advances.
class ScopedWallClock {
public:
    explicit ScopedWallClock(const ManualScheduler &clock);
    // A wall clock of the test's own: a fixed moment, or any function of time.
    explicit ScopedWallClock(Date fixed);
    explicit ScopedWallClock(std::function<Date()> provider);
    ~ScopedWallClock();
    ScopedWallClock(const ScopedWallClock &) = delete;
    ScopedWallClock &operator=(const ScopedWallClock &) = delete;

private:
    std::function<Date()> m_previous;
};
