#include "core/clock.h"

namespace orvek {

namespace {
std::function<QDateTime()>& Clock()
{
    static std::function<QDateTime()> clock;
    return clock;
}
} // namespace

QDateTime Now()
{
    return Clock() ? Clock()() : QDateTime::currentDateTime();
}

QDate Today()
{
    return Now().date();
}

void SetClock(std::function<QDateTime()> clock)
{
    Clock() = std::move(clock);
}

} // namespace orvek
