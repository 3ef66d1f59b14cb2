#include "Date.h"

#include <utility>

namespace {
std::function<Date()> &nowProvider()
{
    static std::function<Date()> provider;
    return provider;
}
} // namespace

Date Date::now()
{
    if (const auto &provider = nowProvider())
        return provider();
    return fromUnixSeconds(double(QDateTime::currentMSecsSinceEpoch()) / 1000.0);
}

std::function<Date()> Date::setNowProvider(std::function<Date()> provider)
{
    return std::exchange(nowProvider(), std::move(provider));
}

QDateTime Date::toDateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(qint64(unixSeconds() * 1000.0), Qt::UTC);
}
