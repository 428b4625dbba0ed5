#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// Today and now for the whole program, in whole seconds of local time. Tests set the clock: once set
// it stands still at that instant until advanced or reset.
namespace core::Clock {

QDate Today();
QDateTime Now();
QTime Time();

void SetNow(const QDateTime& now);
// Moves a set clock on (or back, for negative seconds); a running clock is first stopped at the
// real now.
void Advance(qint64 seconds);
// Back to the system clock.
void Reset();
bool IsSet();

}  // namespace core::Clock
