#include <QLocale>
#include <QTest>

#include "calendar/DisplayFormat.h"
#include "calendar/MonthGrid.h"
#include "support/TestRegistry.h"

// The calendar's pure units: the month lengths and the display patterns.
class CalendarUnitsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void daysPerMonth_data() {
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("days");
        QTest::newRow("2000, by 400") << "February" << 2000 << 29;
        QTest::newRow("2028, by 4") << "February" << 2028 << 29;
        QTest::newRow("2400, by 400") << "February" << 2400 << 29;
        QTest::newRow("2027") << "February" << 2027 << 28;
        QTest::newRow("2100, by 100") << "February" << 2100 << 28;
        QTest::newRow("April") << "April" << 2028 << 30;
        QTest::newRow("December") << "December" << 2100 << 31;
        QTest::newRow("not a month") << "Febuary" << 2028 << 0;
        QTest::newRow("letter case") << "february" << 2028 << 0;
    }
    void daysPerMonth() {
        QFETCH(QString, month);
        QFETCH(int, year);
        QFETCH(int, days);
        QCOMPARE(calendar::grid::DaysPerMonth(month, year), days);
    }

    void displayPatterns_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        const QDate day(2026, 12, 8);
        QTest::newRow("long date") << day << QTime() << "dddd - mmmm dd, yyyy"
                                   << "Tuesday - December 08, 2026";
        QTest::newRow("short names, no zeros") << QDate(2027, 3, 5) << QTime() << "ddd d mmm m/yyyy"
                                               << "Fri 5 Mar 3/2027";
        QTest::newRow("morning") << QDate() << QTime(9, 5) << "h:nn AMPM"
                                 << "9:05 AM";
        QTest::newRow("midnight") << QDate() << QTime(0, 30) << "h:nn AMPM"
                                  << "12:30 AM";
        QTest::newRow("noon") << QDate() << QTime(12, 0) << "hh:nn AMPM"
                              << "12:00 PM";
        QTest::newRow("hour only, lower marker") << QDate() << QTime(14, 45) << "h:00a/p"
                                                 << "2:00p";
        QTest::newRow("no marker: 24 hours") << QDate() << QTime(14, 5) << "hh:nn"
                                             << "14:05";
        QTest::newRow("other characters copied") << day << QTime() << "\\#mm\\/dd\\/yy#"
                                                 << "\\#12\\/08\\/yy#";
        QTest::newRow("no date given") << QDate() << QTime(8, 0) << "mm/dd h"
                                       << "/ 8";
    }
    void displayPatterns() {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QCOMPARE(
            calendar::FormatDisplay(date, time, pattern, QLocale(QLocale::English, QLocale::UnitedStates)),
            text);
    }
};

POMARET_TEST(CalendarUnitsTest)
#include "tst_CalendarUnits.moc"
