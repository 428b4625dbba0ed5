#include <QFileInfo>
#include <QTest>
#include <memory>

#include "core/Clock.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

// Every test must start from a blank database of its own, whatever the test before it wrote.
class FixtureTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::Fixture> f;
    QString previousRoot;

private Q_SLOTS:
    void init() { f = std::make_unique<testsupport::Fixture>(); }
    void cleanup() {
        previousRoot = f->root();
        f.reset();
        QVERIFY(!QFileInfo::exists(previousRoot));
        QVERIFY(!core::Clock::IsSet());
    }

    void freshDatabaseEachTime_data() {
        QTest::addColumn<int>("run");
        QTest::newRow("first") << 1;
        QTest::newRow("second") << 2;
    }
    void freshDatabaseEachTime() {
        QVERIFY(f->root() != previousRoot);
        QVERIFY(f->settingsPath().startsWith(f->root()));
        QCOMPARE(core::Clock::Now(), QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
        QCOMPARE(f->rowCount("Contacts"), 0);

        f->db().Execute("INSERT INTO Contacts (ContID, LName) VALUES (?, ?)", {7, "Berg"});
        f->reopen();
        QCOMPARE(f->rowCount("Contacts", "LName = ?", {"berg"}), 1);
        QCOMPARE(f->scalar("SELECT LName FROM Contacts WHERE ContID = 7"), QVariant("Berg"));
        QVERIFY(f->scalar("SELECT LName FROM Contacts WHERE ContID = 8").isNull());
    }
};

POMARET_TEST(FixtureTest)
#include "tst_Fixture.moc"
