#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Today and now for the whole program, in whole seconds of local time. Tests set the clock: once set
// it stands still at that instant until advanced or reset.
namespace core::Clock {

QDate Today();
QDateTime Now();
QTime Time();

// A minute as the reminder rows hold its date and time of day, "YYYY-MM-DD HH:MM". Minutes are
// compared as these texts: an hour that daylight saving skips has no instant, yet its reminders
// are due when the clock has passed it; one it repeats reads the same both times.
QString MinuteText(const QDate& date, const QTime& time);

void SetNow(const QDateTime& now);
// Moves a set clock on (or back, for negative seconds); a running clock is first stopped at the
// real now.
void Advance(qint64 seconds);
// Back to the system clock.
void Reset();
bool IsSet();

}  // namespace core::Clock
