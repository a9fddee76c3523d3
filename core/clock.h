#pragma once
// The program's one source of the current date and time. Tests set a fixed moment.

#include <QDateTime>
#include <functional>

namespace orvek {

QDateTime Now();
QDate Today();

// Replaces the clock; an empty function restores the system clock.
void SetClock(std::function<QDateTime()> clock);

} // namespace orvek
