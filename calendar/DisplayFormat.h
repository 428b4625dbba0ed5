#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTime>

namespace calendar {

// Writes a date and a time of day through a display pattern:
//   d dd        day of the month, without and with a leading zero
//   ddd dddd    weekday name, abbreviated and full
//   m mm        month number, without and with a leading zero
//   mmm mmmm    month name, abbreviated and full
//   yyyy        four-digit year
//   h hh        hour, without and with a leading zero; on a 12-hour clock when a/p or AMPM follows
//   nn          minutes, two digits
//   a/p         "a" or "p"
//   AMPM        "AM" or "PM"
// Every other character is copied as it stands ("h:00a/p" gives "9:00a"). Names come from `locale`.
// A part the pattern asks for but the value lacks (an invalid date or time) is written as nothing.
QString FormatDisplay(const QDate& date, const QTime& time, QStringView pattern,
                      const QLocale& locale = QLocale());

inline QString FormatDisplay(const QDate& date, QStringView pattern, const QLocale& locale = QLocale()) {
    return FormatDisplay(date, QTime(), pattern, locale);
}

inline QString FormatDisplay(const QTime& time, QStringView pattern, const QLocale& locale = QLocale()) {
    return FormatDisplay(QDate(), time, pattern, locale);
}

}  // namespace calendar
