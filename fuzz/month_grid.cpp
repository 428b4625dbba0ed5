// The month grid's day arithmetic (calendar::grid) on any month name and year.
//
// Invariants: only the twelve names are months; a month has 28 to 31 days, Qt's count for that year
// (astronomical years: year 0 is Qt's 1 BC); the grid shows each day 1 ... days exactly once, one
// after another, each in the column of its weekday (Sunday first), and nothing else.
#include <fuzzer/FuzzedDataProvider.h>

#include <QDate>
#include <array>
#include <limits>

#include "FuzzCommon.h"
#include "calendar/MonthGrid.h"

namespace grid = calendar::grid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int year = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(-9999, 9999) : in.ConsumeIntegral<int>();
    const QStringList& names = grid::MonthNames();
    const QString name = in.ConsumeBool() ? names[in.ConsumeIntegralInRange<qsizetype>(0, names.size() - 1)]
                                          : QString::fromStdString(in.ConsumeRemainingBytesAsString());
    const QString input = QStringLiteral("%1 %2").arg(fuzz::Shown(name)).arg(year);

    const int month = grid::MonthNumber(name);
    const int days = grid::DaysPerMonth(name, year);
    FUZZ_CHECK(month == names.indexOf(name) + 1, input, QString::number(month));
    if (month == 0) {
        FUZZ_CHECK(days == 0, input, QString::number(days));
        return 0;
    }
    FUZZ_CHECK(days >= 28 && days <= 31, input, QString::number(days));
    const int first = grid::FirstColumn(year, month);
    FUZZ_CHECK(first >= 0 && first < grid::kColumns, input, QString::number(first));

    // Qt has no year 0; its years before 1 are one lower than the grid's.
    const QDate qtFirst = year > std::numeric_limits<int>::min()
                              ? QDate(year > 0 ? year : year - 1, month, 1)
                              : QDate();
    if (qtFirst.isValid()) {
        FUZZ_CHECK(days == qtFirst.daysInMonth(), input, QString::number(days));
        FUZZ_CHECK(first == qtFirst.dayOfWeek() % 7, input, QString::number(first));
    }

    std::array<int, 32> seen{};
    int previous = 0;
    for (int r = 0; r < grid::kRows; ++r) {
        for (int c = 0; c < grid::kColumns; ++c) {
            const int day = grid::DayInCell(r, c, first, days);
            const QString cell = QStringLiteral("row %1 column %2: %3").arg(r).arg(c).arg(day);
            if (day == 0) continue;
            FUZZ_CHECK(day >= 1 && day <= days, input, cell);
            FUZZ_CHECK(day == previous + 1, input, cell);
            FUZZ_CHECK((first + day - 1) % 7 == c, input, cell);
            previous = day;
            ++seen[day];
        }
    }
    for (int day = 1; day <= 31; ++day)
        FUZZ_CHECK(seen[day] == (day <= days ? 1 : 0), input, QStringLiteral("day %1 shown %2 times").arg(day).arg(seen[day]));
    return 0;
}
