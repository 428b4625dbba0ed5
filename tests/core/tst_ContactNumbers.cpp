#include <QTest>
#include <memory>

#include "core/ContactNumbers.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

class ContactNumbersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::Fixture> f;

private Q_SLOTS:
    void init() { f = std::make_unique<testsupport::Fixture>(); }
    void cleanup() { f.reset(); }

    void newContactID_data() {
        QTest::addColumn<QList<int>>("present");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty table") << QList<int>{} << 1;
        QTest::newRow("after 7") << QList<int>{1, 2, 3, 4, 5, 6, 7} << 8;
        QTest::newRow("gaps: largest, not count") << QList<int>{2, 7} << 8;
    }
    void newContactID() {
        QFETCH(QList<int>, present);
        QFETCH(int, expected);
        for (int id : present)
            f->db().Execute(QStringLiteral("INSERT INTO Contacts (ContID, ShownName) VALUES (?, ?)"),
                            {id, QStringLiteral("Name %1").arg(id)});
        QCOMPARE(core::NewContactID(f->db()), expected);
    }
};

POMARET_TEST(ContactNumbersTest)

#include "tst_ContactNumbers.moc"
