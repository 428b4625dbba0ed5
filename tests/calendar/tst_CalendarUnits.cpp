#include <QLocale>
#include <QTest>

#include "calendar/DisplayFormat.h"
#include "calendar/HourGrid.h"
#include "calendar/MonthGrid.h"
#include "support/TestRegistry.h"

// The calendar's pure units: the month lengths, the hour rows' captions and the display patterns.
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
        QTest::newRow("not a month") << "Febuary" << 2028 << 0;
    }
    void daysPerMonth() {
        QFETCH(QString, month);
        QFETCH(int, year);
        QFETCH(int, days);
        QCOMPARE(calendar::grid::DaysPerMonth(month, year), days);
    }

    // A time finds its row by its hour written "h:00a/p": only a caption's exact text matches.
    void findHourRow_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("row");
        QTest::newRow("midnight") << "12:00a" << 0;
        QTest::newRow("8:45 AM as written") << calendar::FormatDisplay(QTime(8, 45), u"h:00a/p") << 8;
        QTest::newRow("noon") << "12:00p" << 12;
        QTest::newRow("last") << "11:00p" << 23;
        QTest::newRow("upper case") << "8:00A" << 0;
        QTest::newRow("with a blank") << "8:00 a" << 0;
    }
    void findHourRow() {
        QFETCH(QString, caption);
        QFETCH(int, row);
        QCOMPARE(calendar::hours::FindHourRow(caption), row);
    }

    void displayPatterns_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        using S = QString;
        const QDate day(2026, 12, 8);
        QTest::newRow("names, no zeros")
            << QDate(2027, 3, 5) << QTime() << S("ddd d mmm m/yyyy") << S("Fri 5 Mar 3/2027");
        QTest::newRow("midnight") << QDate() << QTime(0, 30) << S("h:nn AMPM") << S("12:30 AM");
        QTest::newRow("noon") << QDate() << QTime(12, 0) << S("hh:nn AMPM") << S("12:00 PM");
        QTest::newRow("hour, lower marker") << QDate() << QTime(14, 45) << S("h:00a/p") << S("2:00p");
        QTest::newRow("no marker: 24 hours") << QDate() << QTime(14, 5) << S("hh:nn") << S("14:05");
        QTest::newRow("others copied") << day << QTime() << S("\\#mm\\/dd\\/yy#") << S("\\#12\\/08\\/yy#");
        QTest::newRow("no date given") << QDate() << QTime(8, 0) << S("mm/dd h") << S("/ 8");
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
