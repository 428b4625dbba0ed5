// The reminder rule (items::GetRemindTimes) on any date, time of day and interval text.
//
// Invariants: an interval that is not on the list, a missing date, or a reminder that would fall
// before the first date QDate holds, raises and nothing else does;
// the reminder is a valid date and a whole minute; it lies exactly the interval (read from its own
// text: a count and a unit) before the item's minute, so never after the item's start.
#include <fuzzer/FuzzedDataProvider.h>

#include <optional>

#include "FuzzCommon.h"
#include "items/ReminderRule.h"
#include "platform/db/DbError.h"

namespace {

constexpr qint64 kMinutesPerDay = 24 * 60;

// "2 Days" as 2 x 1440 minutes, from the words alone.
qint64 IntervalMinutes(const QString& text) {
    const QStringList words = text.split(u' ');
    if (words.size() != 2) return -1;
    bool ok = false;
    const qint64 count = words[0].toLongLong(&ok);
    if (!ok || count < 1) return -1;
    const QString& unit = words[1];
    if (unit == QLatin1String("Min")) return count;
    if (unit == QLatin1String("Hr")) return count * 60;
    if (unit == (count == 1 ? QLatin1String("Day") : QLatin1String("Days"))) return count * kMinutesPerDay;
    if (unit == (count == 1 ? QLatin1String("Week") : QLatin1String("Weeks"))) return count * 7 * kMinutesPerDay;
    return -1;
}

qint64 MinuteOf(const QDate& date, const QTime& time) {
    return date.toJulianDay() * kMinutesPerDay + time.hour() * 60 + time.minute();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    // Mostly the years a user enters; now and then any day number at all, QDate's first and last
    // days included (outside its range the date is invalid).
    const qint64 day = in.ConsumeBool() ? in.ConsumeIntegralInRange<qint64>(QDate(1, 1, 1).toJulianDay(),
                                                                             QDate(9999, 12, 31).toJulianDay())
                                        : in.ConsumeIntegral<qint64>();
    const QDate date = QDate::fromJulianDay(day);
    // Seconds and milliseconds too: a time written by another program is shown as it is.
    const int msecs = in.ConsumeIntegralInRange<int>(-1, 24 * 60 * 60 * 1000 - 1);
    const std::optional<QTime> time =
        msecs < 0 ? std::nullopt : std::optional<QTime>(QTime::fromMSecsSinceStartOfDay(msecs));
    const QStringList& listed = items::IntervalTexts();
    const QString interval = in.ConsumeBool()
                                 ? listed[in.ConsumeIntegralInRange<qsizetype>(0, listed.size() - 1)]
                                 : QString::fromStdString(in.ConsumeRemainingBytesAsString());

    const QString input = QStringLiteral("day %1, time %2, interval \"%3\"")
                              .arg(day)
                              .arg(time ? time->toString(QStringLiteral("HH:mm:ss.zzz")) : QStringLiteral("none"))
                              .arg(fuzz::Shown(interval));
    const qint64 lead = IntervalMinutes(interval);
    const qint64 start = date.isValid() ? MinuteOf(date, time.value_or(QTime(0, 0))) : 0;
    // The reminder's day, rounded down; only the first days of QDate's range have none before them.
    const qint64 remindDay = (start - lead) >= 0 ? (start - lead) / kMinutesPerDay
                                                 : (start - lead - kMinutesPerDay + 1) / kMinutesPerDay;
    const bool accepted =
        date.isValid() && listed.contains(interval) && QDate::fromJulianDay(remindDay).isValid();
    std::optional<items::RemindAt> at;
    try {
        at = items::GetRemindTimes(date, time, interval);
    } catch (const db::DbError& e) {
        FUZZ_CHECK(!accepted, input, e.description());
        return 0;
    }
    FUZZ_CHECK(accepted, input, QStringLiteral("no error"));
    const QString shown =
        at->date.toString(Qt::ISODate) + QLatin1Char(' ') + at->time.toString(QStringLiteral("HH:mm:ss.zzz"));
    FUZZ_CHECK(at->date.isValid() && at->time.isValid(), input, shown);
    FUZZ_CHECK(at->time.second() == 0 && at->time.msec() == 0, input, shown);
    FUZZ_CHECK(lead > 0, input, QStringLiteral("unreadable interval"));
    FUZZ_CHECK(start - MinuteOf(at->date, at->time) == lead, input, shown);
    return 0;
}
