#include <QTest>

#include "core/Clock.h"
#include "support/TestRegistry.h"

class ClockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { core::Clock::Reset(); }

    void setClockStandsStillUntilAdvanced() {
        core::Clock::SetNow(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 30, 750)));
        // Whole seconds, like every time the program stores.
        QCOMPARE(core::Clock::Now(), QDateTime(QDate(2026, 12, 31), QTime(23, 59, 30)));
        QCOMPARE(core::Clock::Now(), core::Clock::Now());

        core::Clock::Advance(45);
        QCOMPARE(core::Clock::Today(), QDate(2027, 1, 1));
        QCOMPARE(core::Clock::Time(), QTime(0, 0, 15));
        core::Clock::Advance(-86400);
        QCOMPARE(core::Clock::Today(), QDate(2026, 12, 31));

        core::Clock::Reset();
        QVERIFY(!core::Clock::IsSet());
        QCOMPARE(core::Clock::Now().time().msec(), 0);
        QVERIFY(core::Clock::Today().year() >= 2025);
    }
};

POMARET_TEST(ClockTest)
#include "tst_Clock.moc"
