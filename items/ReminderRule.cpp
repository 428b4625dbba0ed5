#include "items/ReminderRule.h"

#include <QLocale>

#include "platform/db/DbError.h"

namespace items {

namespace {

struct Interval {
    const char* text;
    int minutes;
};

constexpr Interval kIntervals[] = {
    {"5 Min", 5},
    {"10 Min", 10},
    {"15 Min", 15},
    {"20 Min", 20},
    {"30 Min", 30},
    {"1 Hr", 60},
    {"2 Hr", 2 * 60},
    {"3 Hr", 3 * 60},
    {"6 Hr", 6 * 60},
    {"12 Hr", 12 * 60},
    {"1 Day", 24 * 60},
    {"2 Days", 2 * 24 * 60},
    {"3 Days", 3 * 24 * 60},
    {"1 Week", 7 * 24 * 60},
    {"2 Weeks", 14 * 24 * 60},
};

constexpr qint64 kMinutesPerDay = 24 * 60;

// "Invalid procedure call or argument", as the error log numbers an argument out of its range.
constexpr int kErrInvalidArgument = 5;

}  // namespace

const QStringList& IntervalTexts() {
    static const QStringList texts = [] {
        QStringList list;
        for (const Interval& i : kIntervals) list << QString::fromLatin1(i.text);
        return list;
    }();
    return texts;
}

const QList<QTime>& HalfHourTimes() {
    static const QList<QTime> times = [] {
        QList<QTime> list;
        for (int minutes = 0; minutes < kMinutesPerDay; minutes += 30)
            list << QTime(minutes / 60, minutes % 60);
        return list;
    }();
    return times;
}

QString TimeText(const QTime& time) {
    return QLocale::c().toString(time, QStringLiteral("h:mm AP"));
}

// Counted in whole minutes from a fixed day, so that no clock change of the local time zone moves it.
RemindAt GetRemindTimes(const QDate& date, const std::optional<QTime>& time, const QString& interval) {
    const Interval* lead = nullptr;
    for (const Interval& i : kIntervals) {
        if (interval == QLatin1String(i.text)) lead = &i;
    }
    if (!lead) {
        throw db::DbError(kErrInvalidArgument,
                          QStringLiteral("\"%1\" is not a reminder interval.").arg(interval));
    }
    if (!date.isValid()) throw db::DbError(kErrInvalidArgument, QStringLiteral("The item has no date."));
    const QTime at = time.value_or(QTime(0, 0));
    const qint64 minute = date.toJulianDay() * kMinutesPerDay + at.hour() * 60 + at.minute() - lead->minutes;
    // Floor division: the minute count is positive for every date the program shows.
    const qint64 day = minute >= 0 ? minute / kMinutesPerDay : (minute - kMinutesPerDay + 1) / kMinutesPerDay;
    const qint64 ofDay = minute - day * kMinutesPerDay;
    const QDate remindDate = QDate::fromJulianDay(day);
    // An item on the calendar's very first days has no day left for its reminder: a reminder stored
    // without a date would never fire.
    if (!remindDate.isValid())
        throw db::DbError(kErrInvalidArgument, QStringLiteral("The reminder falls before the first date."));
    return {remindDate, QTime(int(ofDay / 60), int(ofDay % 60))};
}

}  // namespace items
