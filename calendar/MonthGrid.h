#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The day arithmetic of the month grid: six week rows by seven weekday columns, Sunday first. No
// widgets: the month view, its tests and the fuzzer share it.
namespace calendar::grid {

inline constexpr int kRows = 6;
inline constexpr int kColumns = 7;

// "January" ... "December": the month view's lists and its shown month go by these English names,
// whatever the user's locale.
const QStringList& MonthNames();
// 1 for "January" ... 12 for "December"; 0 for any other text.
int MonthNumber(QStringView name);

bool IsLeapYear(int year);  // the Gregorian rule
// The days of the month of that name in that year; 0 for a name that is no month.
int DaysPerMonth(QStringView name, int year);

// The weekday of the first of the month as a column: Sunday 0 ... Saturday 6. From the date alone
// (the Gregorian calendar), never from the locale's first day of the week.
int FirstColumn(int year, int month);

// The day number the cell at (row, column) shows in a month of `days` days whose first falls in
// column `firstColumn`; 0 for a cell outside the month.
int DayInCell(int row, int column, int firstColumn, int days);

}  // namespace calendar::grid
