#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

// The time and interval lists of the to-do and appointment dialogs and the rule that turns a due time
// and an interval into the reminder's minute. No database and no widgets: the dialogs, their tests and
// the fuzzer share it.
namespace items {

// The interval lists' texts in list order, "5 Min" to "2 Weeks": how long before an item is due its
// reminder fires.
const QStringList& IntervalTexts();
// The time lists' 48 entries, every half hour from midnight.
const QList<QTime>& HalfHourTimes();
// A time as the lists, the reminder and the item show it: "2:30 PM", "12:00 AM".
QString TimeText(const QTime& time);

// The minute a reminder fires.
struct RemindAt {
    QDate date;
    QTime time;
};

// The reminder time rule: the due (or start) date at its time of day, midnight when there is none,
// less the interval, to the whole minute. An interval that is not one of IntervalTexts(), a missing
// date and a reminder before the first date there is raise.
RemindAt GetRemindTimes(const QDate& date, const std::optional<QTime>& time, const QString& interval);

}  // namespace items
