#include "calendar/MonthGrid.h"

namespace calendar::grid {

namespace {

// Division and remainder rounding towards minus infinity, so that years before 1 still give a
// weekday between 0 and 6.
long long FloorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

const QStringList& MonthNames() {
    static const QStringList names{
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    return names;
}

int MonthNumber(QStringView name) {
    const QStringList& names = MonthNames();
    for (int i = 0; i < names.size(); ++i) {
        if (names[i] == name) return i + 1;
    }
    return 0;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysPerMonth(QStringView name, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int month = MonthNumber(name);
    if (month == 0) return 0;
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

int FirstColumn(int year, int month) {
    // Counted from March, so that a leap day ends the counted year.
    static constexpr int kOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) return 0;
    const long long y = static_cast<long long>(year) - (month < 3 ? 1 : 0);
    const long long n = y + FloorDiv(y, 4) - FloorDiv(y, 100) + FloorDiv(y, 400) + kOffset[month - 1] + 1;
    return static_cast<int>(n - 7 * FloorDiv(n, 7));
}

int DayInCell(int row, int column, int firstColumn, int days) {
    const int day = 7 * row + column - firstColumn + 1;
    return day >= 1 && day <= days ? day : 0;
}

}  // namespace calendar::grid
