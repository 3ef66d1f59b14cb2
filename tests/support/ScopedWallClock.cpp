#include "ScopedWallClock.h"

#include "ManualScheduler.h"

ScopedWallClock::ScopedWallClock(const ManualScheduler &clock)
    : m_previous(Date::setNowProvider([&clock] { return Date{clock.now()}; }))
{
}

ScopedWallClock::~ScopedWallClock()
{
    Date::setNowProvider(std::move(m_previous));
}
