#include "ScopedWallClock.h"

#include "ManualScheduler.h"

ScopedWallClock::ScopedWallClock(const ManualScheduler &clock)
    : m_previous(Date::setNowProvider([&clock] { return Date{clock.now()}; }))
{
}

ScopedWallClock::ScopedWallClock(Date fixed)
    : ScopedWallClock(std::function<Date()>([fixed] { return fixed; }))
{
}

ScopedWallClock::ScopedWallClock(std::function<Date()> provider)
    : m_previous(Date::setNowProvider(std::move(provider)))
{
}

ScopedWallClock::~ScopedWallClock()
{
    Date::setNowProvider(std::move(m_previous));
}
