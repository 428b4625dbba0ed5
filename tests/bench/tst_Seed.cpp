#include <QCryptographicHash>
#include <QDateTime>
#include <QTest>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "bench/seed/Seeder.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

// The generated database must look like one the program wrote, so that speed measured on it means
// something: links that resolve, one row per kind, only values the dialogs write.
class SeedTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::Fixture> f;
    bench::SeedReport report;

    static bench::SeedOptions options(quint64 seed = 7) {
        bench::SeedOptions o;
        o.contacts = 200;
        o.items = 2000;
        o.today = QDate(2026, 12, 8);
        o.seed = seed;
        return o;
    }

    int count(const QString& sql) { return f->scalar(sql).toInt(); }

    // Every value of a few tables in key order, hashed.
    QByteArray digest() {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (const char* sql :
             {"SELECT * FROM Contacts ORDER BY ContID", "SELECT * FROM CPhone ORDER BY rowid",
              "SELECT * FROM RelateCont ORDER BY rowid", "SELECT * FROM Projects ORDER BY ProjID",
              "SELECT * FROM ToDo ORDER BY RefNum", "SELECT * FROM Attach ORDER BY RefNum",
              "SELECT * FROM Remind ORDER BY RefNum"}) {
            const db::Database::Rows rows = f->db().Query(QString::fromLatin1(sql), {});
            for (const QVariantList& row : rows.rows) {
                for (const QVariant& v : row)
                    hash.addData(v.toString().toUtf8() + (v.isNull() ? "\x01" : "\x02"));
            }
        }
        return hash.result();
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<testsupport::Fixture>();
        report = bench::seed(f->db(), options());
    }
    void cleanup() { f.reset(); }

    void countsAsAskedAndAsReported() {
        QCOMPARE(f->rowCount("Contacts"), 200);
        QCOMPARE(f->rowCount("ToDo") + f->rowCount("Appts") + f->rowCount("Attach"), 2000);
        QCOMPARE(f->rowCount("Projects"), 4);
        for (const auto& [table, rows] : report.rows) QCOMPARE(f->rowCount(table), int(rows));
        for (const char* kind : {"GRP", "PRE", "SUFF", "TITLE", "PSTAT", "PTYPE"}) {
            QVERIFY2(f->rowCount("Lookup", "ItemID = ?", {kind}) > 0, kind);
        }
        // The vocabulary's 20 fields and the 40 more the busy contact fills.
        QCOMPARE(f->rowCount("CUserFields"), 60);

        // The contact the benchmark opens: listed, a person, with a long history.
        QVERIFY(report.busyContact > 0);
        QCOMPARE(f->rowCount("Contacts", "ContID = ? AND Setting = 'Default' AND CTYPE = 'I'",
                             {report.busyContact}),
                 1);
        const int history = f->rowCount("ToDo", "fkContID = ?", {report.busyContact}) +
                            f->rowCount("Appts", "fkContID = ?", {report.busyContact}) +
                            f->rowCount("Attach", "fkContID = ?", {report.busyContact});
        QCOMPARE(history, report.busyContactItems);
        QVERIFY2(history >= 50, qPrintable(QString::number(history)));
        // Its printed report runs onto a second page: a value for every field, and 30 linked contacts.
        QCOMPARE(
            f->rowCount("CUFldValues", "fkContID = ? AND fkUserFld IN (SELECT Description FROM CUserFields)",
                        {report.busyContact}),
            60);
        QCOMPARE(f->scalar("SELECT COUNT(DISTINCT SubContID) FROM RelateCont WHERE MasterContID = ?",
                           {report.busyContact})
                     .toInt(),
                 30);

        // And the project it opens, listed too.
        QCOMPARE(f->rowCount("Projects", "ProjID = ? AND Setting = 'Default'", {report.busyProject}), 1);
        const int projectHistory = f->rowCount("ToDo", "fkProjID = ?", {report.busyProject}) +
                                   f->rowCount("Appts", "fkProjID = ?", {report.busyProject}) +
                                   f->rowCount("Attach", "fkProjID = ?", {report.busyProject});
        QCOMPARE(projectHistory, report.busyProjectItems);
        QVERIFY2(projectHistory >= 50, qPrintable(QString::number(projectHistory)));
    }

    void sameSeedSameDatabase() {
        const QByteArray first = digest();
        f = std::make_unique<testsupport::Fixture>();
        bench::seed(f->db(), options());
        QCOMPARE(digest(), first);
        f = std::make_unique<testsupport::Fixture>();
        bench::seed(f->db(), options(8));
        QVERIFY(digest() != first);
    }

    void refusesADatabaseWithData() {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, bench::seed(f->db(), options()));
    }

    void childRowsPointAtParents_data() {
        QTest::addColumn<QString>("child");
        QTest::addColumn<QString>("parent");
        QTest::newRow("phone") << "CPhone.fkContID"
                               << "Contacts.ContID";
        QTest::newRow("e-mail") << "CEMail.fkContID"
                                << "Contacts.ContID";
        QTest::newRow("address") << "CAddress.fkContID"
                                 << "Contacts.ContID";
        QTest::newRow("comment") << "CComments.fkContID"
                                 << "Contacts.ContID";
        QTest::newRow("contact value") << "CUFldValues.fkContID"
                                       << "Contacts.ContID";
        QTest::newRow("contact field") << "CUFldValues.fkUserFld"
                                       << "CUserFields.Description";
        QTest::newRow("link master") << "RelateCont.MasterContID"
                                     << "Contacts.ContID";
        QTest::newRow("link sub") << "RelateCont.SubContID"
                                  << "Contacts.ContID";
        QTest::newRow("project comment") << "PComments.fkProjID"
                                         << "Projects.ProjID";
        QTest::newRow("project value") << "PUFldValues.fkProjID"
                                       << "Projects.ProjID";
        QTest::newRow("project field") << "PUFldValues.fkUserFld"
                                       << "PUserFields.Description";
        QTest::newRow("project contact") << "RelateProject.fkContID"
                                         << "Contacts.ContID";
        QTest::newRow("project link") << "RelateProject.fkProjID"
                                      << "Projects.ProjID";
        QTest::newRow("to-do contact") << "ToDo.fkContID"
                                       << "Contacts.ContID";
        QTest::newRow("to-do project") << "ToDo.fkProjID"
                                       << "Projects.ProjID";
        QTest::newRow("appointment contact") << "Appts.fkContID"
                                             << "Contacts.ContID";
        QTest::newRow("appointment project") << "Appts.fkProjID"
                                             << "Projects.ProjID";
        QTest::newRow("note contact") << "Attach.fkContID"
                                      << "Contacts.ContID";
        QTest::newRow("note project") << "Attach.fkProjID"
                                      << "Projects.ProjID";
        QTest::newRow("to-do reminder") << "Remind.fkToDoID"
                                        << "ToDo.RefNum";
        QTest::newRow("appointment reminder") << "Remind.fkApptID"
                                              << "Appts.RefNum";
    }
    void childRowsPointAtParents() {
        QFETCH(QString, child);
        QFETCH(QString, parent);
        const QString table = child.section('.', 0, 0), column = child.section('.', 1);
        const QString parentTable = parent.section('.', 0, 0), key = parent.section('.', 1);
        // Attach marks "none" with 0, the other tables with Null.
        QCOMPARE(
            f->rowCount(table, QStringLiteral("%1 IS NOT NULL AND %1 <> 0 AND %1 NOT IN (SELECT %2 FROM %3)")
                                   .arg(column, key, parentTable)),
            0);
        QVERIFY(f->rowCount(table, column + " IS NOT NULL AND " + column + " <> 0") > 0);
    }

    void oneRowPerContactAndKind_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("kindColumn");
        QTest::addColumn<QStringList>("kinds");
        QTest::newRow("phone") << "CPhone"
                               << "fkLookup" << QStringList{"Home", "Work", "Mobile", "Other", "Fax"};
        QTest::newRow("e-mail") << "CEMail"
                                << "fkLookup" << QStringList{"Personal", "Work", "Other"};
        QTest::newRow("address") << "CAddress"
                                 << "fkLookup" << QStringList{"Home", "Work", "Bill To", "Ship To"};
        QTest::newRow("user value") << "CUFldValues"
                                    << "fkUserFld" << QStringList{};
        QTest::newRow("comment") << "CComments"
                                 << "'one'" << QStringList{};
    }
    void oneRowPerContactAndKind() {
        QFETCH(QString, table);
        QFETCH(QString, kindColumn);
        QFETCH(QStringList, kinds);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM (SELECT fkContID FROM %1 GROUP BY fkContID, %2 "
                                      "HAVING COUNT(*) > 1)")
                           .arg(table, kindColumn)),
                 0);
        if (kinds.isEmpty()) return;
        // Kind words are compared exactly by the loaders, so the letter case must be right too.
        const db::Database::Rows rows =
            f->db().Query(QStringLiteral("SELECT DISTINCT fkLookup FROM %1").arg(table), {});
        QCOMPARE(rows.rows.size(), kinds.size());
        for (const QVariantList& row : rows.rows)
            QVERIFY2(kinds.contains(row.at(0).toString()), qPrintable(row.at(0).toString()));
    }

    void valuesAsTheProgramWritesThem() {
        const QString settings = "Setting NOT IN ('Default', 'Hidden', 'Private')";
        QCOMPARE(f->rowCount("Contacts", settings), 0);
        QCOMPARE(f->rowCount("Projects", settings), 0);
        QVERIFY(f->rowCount("Contacts", "Setting = 'Hidden'") > 0);
        QCOMPARE(f->rowCount("Contacts", "CTYPE NOT IN ('I', 'C')"), 0);
        QCOMPARE(f->rowCount("Attach", "NType NOT IN ('N', 'C')"), 0);

        db::Recordset rs = f->db().OpenRecordset(
            "SELECT CTYPE, ShownName, FullName, Prefix, FName, Middle, LName, Suffix, CompName, [Group] FROM "
            "Contacts");
        const db::Database::Rows groups =
            f->db().Query("SELECT Description FROM Lookup WHERE ItemID = 'GRP'", {});
        QStringList groupNames;
        for (const QVariantList& g : groups.rows) groupNames << g.at(0).toString();
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString shown = rs.Value("ShownName").toString();
            if (rs.Value("CTYPE").toString() == "I") {
                QString expected = rs.Value("LName").toString() + ", " + rs.Value("FName").toString();
                if (!rs.Value("Middle").isNull()) expected += " " + rs.Value("Middle").toString();
                QCOMPARE(shown, expected);
                QStringList full;
                for (const char* part : {"Prefix", "FName", "Middle", "LName", "Suffix"}) {
                    if (!rs.Value(part).isNull()) full << rs.Value(part).toString();
                }
                QCOMPARE(rs.Value("FullName").toString(), full.join(' '));
            } else {
                QCOMPARE(shown, rs.Value("CompName").toString());
                QVERIFY(rs.Value("FullName").isNull());
            }
            const QStringList parts = rs.Value("Group").toString().split(',', Qt::SkipEmptyParts);
            for (const QString& g : parts) QVERIFY2(groupNames.contains(g), qPrintable(g));
            QVERIFY(std::is_sorted(parts.begin(), parts.end()));
        }
    }

    void aFewToDosOpenMostlyAhead() {
        const int all = f->rowCount("ToDo");
        const int open = f->rowCount("ToDo", "Completed = False");
        QVERIFY2(open * 100 >= all * 2 && open * 100 <= all * 9,
                 qPrintable(QString("%1 of %2").arg(open).arg(all)));
        const int ahead = f->rowCount("ToDo", "DueDate >= #12/08/2026#");
        const int openAhead = f->rowCount("ToDo", "DueDate >= #12/08/2026# AND Completed = False");
        QVERIFY(openAhead * all > open * ahead);  // a larger share among those still due
    }

    // Each reminder belongs to an item marked for one and fires the item's interval before it.
    void remindersMatchTheirItems() {
        QVERIFY(f->rowCount("Remind") > 0);
        QCOMPARE(f->rowCount("Remind"),
                 f->rowCount("ToDo", "Remind = True") + f->rowCount("Appts", "Remind = True"));
        const QHash<QString, int> minutes{
            {"5 Min", 5},    {"10 Min", 10},   {"15 Min", 15},   {"20 Min", 20},    {"30 Min", 30},
            {"1 Hr", 60},    {"2 Hr", 120},    {"3 Hr", 180},    {"6 Hr", 360},     {"12 Hr", 720},
            {"1 Day", 1440}, {"2 Days", 2880}, {"3 Days", 4320}, {"1 Week", 10080}, {"2 Weeks", 20160}};
        db::Recordset rs = f->db().OpenRecordset(
            "SELECT R.RemDate, R.RemTime, R.Completed, R.Type, T.DueDate AS D, T.DueTime AS H, T.RemAmt AS A "
            "FROM Remind AS R INNER JOIN ToDo AS T ON T.RefNum = R.fkToDoID WHERE R.fkApptID IS NULL "
            "UNION ALL "
            "SELECT R.RemDate, R.RemTime, R.Completed, R.Type, P.DateFrom, P.TimeFrom, P.RemAmt "
            "FROM Remind AS R INNER JOIN Appts AS P ON P.RefNum = R.fkApptID WHERE R.fkToDoID IS NULL");
        QCOMPARE(rs.RecordCount(), f->rowCount("Remind"));
        for (; !rs.Eof(); rs.MoveNext()) {
            QVERIFY(minutes.contains(rs.Value("A").toString()));
            // Wall-clock arithmetic, free of any time zone.
            const QTime due = rs.Value("H").isNull() ? QTime(0, 0) : rs.Value("H").toTime();
            const QDateTime fires = QDateTime(rs.Value("D").toDate(), due, Qt::UTC)
                                        .addSecs(-60LL * minutes.value(rs.Value("A").toString()));
            QCOMPARE(rs.Value("RemDate").toDate(), fires.date());
            QCOMPARE(rs.Value("RemTime").toTime(), fires.time());
            QCOMPARE(rs.Value("Completed").toBool(), fires.date() < QDate(2026, 12, 8));
        }
        QCOMPARE(f->rowCount("Remind", "(Type = 'TD') = (fkToDoID IS NULL)"), 0);
    }
};

POMARET_TEST(SeedTest)
#include "tst_Seed.moc"
