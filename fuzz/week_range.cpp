// The week view's range (calendar::hours::WeekMonday and WeekTitle) on any base date.
//
// Invariants: the Monday is a Monday; it is the base date's own Monday from Monday to Friday, five
// days before a Saturday and the day after a Sunday; the title names the Monday's month and day and
// ends with the Friday's day and year.
#include <fuzzer/FuzzedDataProvider.h>

#include <QLocale>

#include "FuzzCommon.h"
#include "calendar/HourGrid.h"

namespace hours = calendar::hours;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const qint64 day = in.ConsumeBool() ? in.ConsumeIntegralInRange<qint64>(QDate(1, 1, 1).toJulianDay(),
                                                                             QDate(9999, 12, 31).toJulianDay())
                                        : in.ConsumeIntegral<qint64>();
    const QDate base = QDate::fromJulianDay(day);
    const QString input = QStringLiteral("day %1 (%2)").arg(day).arg(base.toString(Qt::ISODate));

    const QDate monday = hours::WeekMonday(base);
    // Only at the very ends of Qt's calendar may the week not be there.
    if (!base.isValid() || !base.addDays(-5).isValid() || !base.addDays(5).isValid()) {
        (void)hours::WeekTitle(monday);
        return 0;
    }
    const QString shown = monday.toString(Qt::ISODate);
    FUZZ_CHECK(monday.isValid() && monday.dayOfWeek() == 1, input, shown);
    const int weekday = base.dayOfWeek();
    const qint64 expected = weekday == 7 ? 1 : weekday == 6 ? -5 : -(weekday - 1);
    FUZZ_CHECK(base.daysTo(monday) == expected, input, shown);

    const QDate friday = monday.addDays(4);
    if (friday.year() < 1 || friday.year() > 9999) return 0;  // four-digit years only
    const QString title = hours::WeekTitle(monday);
    const auto monthDay = [](const QDate& d) {
        return QLocale().monthName(d.month(), QLocale::ShortFormat) + QLatin1Char(' ') + QString::number(d.day());
    };
    const QString year = QStringLiteral("%1").arg(friday.year(), 4, 10, QLatin1Char('0'));
    const QString end = monday.month() == friday.month() ? QString::number(friday.day()) : monthDay(friday);
    FUZZ_CHECK(title == monthDay(monday) + QStringLiteral(" - ") + end + QStringLiteral(", ") + year, input, title);
    return 0;
}
