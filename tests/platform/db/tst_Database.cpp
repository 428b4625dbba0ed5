// The database layer as the screens use it: SQL in the program's dialect, recordsets, storage forms.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "platform/db/Database.h"
#include "support/TestRegistry.h"

using db::Database;
using db::DbError;
using db::Recordset;

namespace {

const char* kSchema = R"(
CREATE TABLE People (
    ID INTEGER PRIMARY KEY,
    Name VARCHAR(10) COLLATE NOCASE,
    Notes TEXT COLLATE NOCASE,
    Active BOOLEAN NOT NULL DEFAULT 0,
    Born DATETIME,
    AtTime DATETIME,
    Stamp DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')),
    Kind VARCHAR(5) COLLATE NOCASE DEFAULT 'x'
);
CREATE TABLE Items (
    RefNum INTEGER PRIMARY KEY AUTOINCREMENT,
    Subject VARCHAR(255) COLLATE NOCASE,
    Done BOOLEAN NOT NULL DEFAULT 0
);
CREATE TABLE Phones (
    fkContID INTEGER,
    fkLookup VARCHAR(50) COLLATE NOCASE,
    PhoneNum VARCHAR(25) COLLATE NOCASE
);
CREATE TABLE Contacts (ContID INTEGER PRIMARY KEY);
)";

}  // namespace

class TestDatabase : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;

    QString path() const { return m_dir.filePath(QStringLiteral("test.db")); }

    QVariant scalar(const QString& sql, const QVariantList& params = {}) {
        Recordset rs = m_db->OpenRecordset(sql, params);
        return rs.Eof() ? QVariant() : rs.Value(0);
    }

    // What SQLite itself holds, without the layer's conversions.
    QVariant raw(const QString& sql) {
        SQLite::Database conn(path().toStdString(), SQLite::OPEN_READONLY);
        SQLite::Statement st(conn, sql.toStdString());
        if (!st.executeStep()) return {};
        const SQLite::Column c = st.getColumn(0);
        if (c.isNull()) return {};
        if (c.isInteger()) return QVariant(static_cast<qlonglong>(c.getInt64()));
        return QString::fromUtf8(c.getText());
    }

    void addPerson(int id, const QString& name, const QVariant& born = {}) {
        Recordset rs = m_db->OpenRecordset(QStringLiteral("People"));
        rs.AddNew();
        rs.Fields(QStringLiteral("ID")) = id;
        rs.Fields(QStringLiteral("Name")) = name;
        if (!born.isNull()) rs.Fields(QStringLiteral("Born")) = born;
        rs.Update();
    }

private slots:
    void init() {
        QFile::remove(path());
        Database::CreateFromScript(path(), QString::fromUtf8(kSchema));
        m_db = Database::Open(path());
    }
    void cleanup() { m_db.reset(); }

    void opensInWalWithFullSync() {
        QCOMPARE(scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        QCOMPARE(scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2);
    }

    void openNeverCreatesAFile() {
        const QString missing = m_dir.filePath(QStringLiteral("none.db"));
        try {
            Database::Open(missing);
            QFAIL("opened a missing file");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), int(db::kErrFileNotFound));
        }
        QVERIFY(!QFile::exists(missing));
    }

    void booleansAreStoredAsMinusOne_data() {
        QTest::addColumn<QVariant>("assigned");
        QTest::addColumn<qlonglong>("stored");
        QTest::newRow("true") << QVariant(true) << -1LL;
        QTest::newRow("false") << QVariant(false) << 0LL;
        QTest::newRow("one") << QVariant(1) << -1LL;
        QTest::newRow("five") << QVariant(5) << -1LL;
        QTest::newRow("zero") << QVariant(0) << 0LL;
        QTest::newRow("text True") << QVariant(QStringLiteral("True")) << -1LL;
        QTest::newRow("text -1") << QVariant(QStringLiteral("-1")) << -1LL;
        QTest::newRow("text no") << QVariant(QStringLiteral("no")) << 0LL;
    }
    void booleansAreStoredAsMinusOne() {
        QFETCH(QVariant, assigned);
        QFETCH(qlonglong, stored);
        Recordset rs = m_db->OpenRecordset(QStringLiteral("Items"));
        rs.AddNew();
        rs.Fields(QStringLiteral("Done")) = assigned;
        rs.Update();
        QCOMPARE(raw(QStringLiteral("SELECT Done FROM Items")).toLongLong(), stored);
        // Reading gives a bool, and True/False in SQL find it.
        QCOMPARE(scalar(QStringLiteral("SELECT Done FROM Items")).typeId(), int(QMetaType::Bool));
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Items WHERE Done = True")).toInt(),
                 stored ? 1 : 0);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Items WHERE Done = False")).toInt(),
                 stored ? 0 : 1);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Items WHERE Done = ?"), {true}).toInt(),
                 stored ? 1 : 0);
    }

    void dateAndTimeStorageForms_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("assigned");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QVariant>("readBack");
        const QDate d(2026, 12, 8);
        QTest::newRow("QDate") << "Born" << QVariant(d) << "2026-12-08" << QVariant(d);
        QTest::newRow("us date") << "Born" << QVariant("12/08/2026") << "2026-12-08" << QVariant(d);
        QTest::newRow("short us date")
            << "Born" << QVariant("1/5/2027") << "2027-01-05" << QVariant(QDate(2027, 1, 5));
        QTest::newRow("QTime") << "AtTime" << QVariant(QTime(21, 5)) << "21:05:00" << QVariant(QTime(21, 5));
        QTest::newRow("9:05 AM") << "AtTime" << QVariant("9:05 AM") << "09:05:00" << QVariant(QTime(9, 5));
        QTest::newRow("09:05 PM") << "AtTime" << QVariant("09:05 PM") << "21:05:00" << QVariant(QTime(21, 5));
        QTest::newRow("12:00 AM") << "AtTime" << QVariant("12:00 AM") << "00:00:00" << QVariant(QTime(0, 0));
        QTest::newRow("12:30 PM") << "AtTime" << QVariant("12:30 PM") << "12:30:00"
                                  << QVariant(QTime(12, 30));
        QTest::newRow("QDateTime") << "Born" << QVariant(QDateTime(d, QTime(13, 45, 10)))
                                   << "2026-12-08 13:45:10" << QVariant(QDateTime(d, QTime(13, 45, 10)));
        QTest::newRow("date and time text") << "Born" << QVariant("12/08/2026 1:45 PM")
                                            << "2026-12-08 13:45:00" << QVariant(QDateTime(d, QTime(13, 45)));
    }
    void dateAndTimeStorageForms() {
        QFETCH(QString, column);
        QFETCH(QVariant, assigned);
        QFETCH(QString, stored);
        QFETCH(QVariant, readBack);
        Recordset rs = m_db->OpenRecordset(QStringLiteral("People"));
        rs.AddNew();
        rs.Fields(QStringLiteral("ID")) = 1;
        rs.Fields(column) = assigned;
        rs.Update();
        QCOMPARE(raw(QStringLiteral("SELECT %1 FROM People").arg(column)).toString(), stored);
        QCOMPARE(scalar(QStringLiteral("SELECT %1 FROM People").arg(column)), readBack);
    }

    void unreadableDateIsRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("word") << "tomorrow";
        QTest::newRow("month 13") << "13/01/2026";
        QTest::newRow("25 o'clock") << "25:00";
        QTest::newRow("13 PM") << "13:00 PM";
        QTest::newRow("empty") << "";
    }
    void unreadableDateIsRefused() {
        QFETCH(QString, text);
        Recordset rs = m_db->OpenRecordset(QStringLiteral("People"));
        rs.AddNew();
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Fields(QStringLiteral("Born")) = text);
    }

    void timeLiteralsMatchStoredTimes() {
        Recordset rs = m_db->OpenRecordset(QStringLiteral("People"));
        rs.AddNew();
        rs.Fields(QStringLiteral("ID")) = 1;
        rs.Fields(QStringLiteral("AtTime")) = QStringLiteral("9:05 AM");
        rs.Fields(QStringLiteral("Born")) = QStringLiteral("12/08/2026");
        rs.Update();
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People WHERE AtTime = #9:05 AM#")).toInt(), 1);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People WHERE AtTime = #09:05 AM#")).toInt(), 1);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People WHERE AtTime = #9:05 PM#")).toInt(), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People WHERE Born = #12/08/2026#")).toInt(), 1);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People WHERE Born = ?"), {QDate(2026, 12, 8)})
                     .toInt(),
                 1);
        QCOMPARE(
            scalar(QStringLiteral("SELECT count(*) FROM People WHERE AtTime = ?"), {QTime(9, 5)}).toInt(), 1);
    }

    void datesSortAndCompareInTimeOrder() {
        addPerson(1, QStringLiteral("c"), QStringLiteral("1/2/2027"));
        addPerson(2, QStringLiteral("a"), QStringLiteral("12/31/2026"));
        addPerson(3, QStringLiteral("b"), QStringLiteral("2/1/2026"));
        addPerson(4, QStringLiteral("d"), QStringLiteral("12/31/2026 11:30 PM"));
        Recordset rs = m_db->OpenRecordset(QStringLiteral("SELECT ID FROM People ORDER BY Born"));
        QList<int> order;
        for (; !rs.Eof(); rs.MoveNext()) order << rs.Value(QStringLiteral("ID")).toInt();
        QCOMPARE(order, (QList<int>{3, 2, 4, 1}));
        // A date literal is that day's midnight: the 11:30 PM entry lies after it.
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People WHERE Born BETWEEN #12/01/2026# AND "
                                       "#12/31/2026#"))
                     .toInt(),
                 1);
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People WHERE Born >= #12/31/2026#")).toInt(), 3);
    }

    void textComparesWithoutCase() {
        addPerson(1, QStringLiteral("smith"));
        addPerson(2, QStringLiteral("Adams"));
        addPerson(3, QStringLiteral("Émile"));
        addPerson(4, QStringLiteral("baker"));
        QCOMPARE(scalar(QStringLiteral("SELECT ID FROM People WHERE Name = 'SMITH'")).toInt(), 1);
        QCOMPARE(
            scalar(QStringLiteral("SELECT ID FROM People WHERE Name = ?"), {QStringLiteral("sMiTh")}).toInt(),
            1);
        Recordset rs =
            m_db->OpenRecordset(QStringLiteral("SELECT Name FROM People WHERE ID <> 3 ORDER BY Name"));
        QStringList names;
        for (; !rs.Eof(); rs.MoveNext()) names << rs.Value(QStringLiteral("Name")).toString();
        QCOMPARE(names, (QStringList{"Adams", "baker", "smith"}));
    }

    void likeUsesTheProgramsWildcards_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("bound");
        QTest::addColumn<QList<int>>("ids");
        for (const bool bound : {false, true}) {
            const char* how = bound ? "bound" : "literal";
            QTest::addRow("prefix, %s", how) << "sm*" << bound << QList<int>{1, 5};
            QTest::addRow("one character, %s", how) << "sm?th" << bound << QList<int>{1};
            QTest::addRow("upper case, %s", how) << "SMI*" << bound << QList<int>{1};
            QTest::addRow("accented, %s", how) << "é*" << bound << QList<int>{3};
            QTest::addRow("accented capital, %s", how) << "ÉMILE" << bound << QList<int>{3};
            QTest::addRow("plain e finds no é, %s", how) << "emile" << bound << QList<int>{};
            QTest::addRow("percent is literal, %s", how) << "50%*" << bound << QList<int>{4};
            QTest::addRow("underscore is literal, %s", how) << "s_*" << bound << QList<int>{};
            QTest::addRow("apostrophe, %s", how) << "o'b*" << bound << QList<int>{6};
        }
    }
    void likeUsesTheProgramsWildcards() {
        QFETCH(QString, pattern);
        QFETCH(bool, bound);
        QFETCH(QList<int>, ids);
        addPerson(1, QStringLiteral("Smith"));
        addPerson(2, QStringLiteral("Adams"));
        addPerson(3, QStringLiteral("Émile"));
        addPerson(4, QStringLiteral("50% off"));
        addPerson(5, QStringLiteral("Smörgås"));
        addPerson(6, QStringLiteral("O'Brien"));
        Recordset rs;
        if (bound) {
            rs = m_db->OpenRecordset(QStringLiteral("SELECT ID FROM People WHERE Name LIKE ? ORDER BY ID"),
                                     {pattern});
        } else {
            QString quoted = pattern;
            quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
            rs = m_db->OpenRecordset(
                QStringLiteral("SELECT ID FROM People WHERE Name LIKE '%1' ORDER BY ID").arg(quoted));
        }
        QList<int> found;
        for (; !rs.Eof(); rs.MoveNext()) found << rs.Value(QStringLiteral("ID")).toInt();
        QCOMPARE(found, ids);
    }

    void overLongTextIsRefusedNotCut() {
        Recordset rs = m_db->OpenRecordset(QStringLiteral("People"));
        rs.AddNew();
        rs.Fields(QStringLiteral("ID")) = 1;
        rs.Fields(QStringLiteral("Name")) = QStringLiteral("0123456789");        // exactly the size
        rs.Fields(QStringLiteral("Notes")) = QString(100000, QLatin1Char('n'));  // memo: no limit
        try {
            rs.Fields(QStringLiteral("Name")) = QStringLiteral("0123456789A");
            QFAIL("an over-long text was accepted");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), int(db::kErrFieldTooLong));
            QVERIFY(e.description().contains(QLatin1String("Name")));
        }
        // Characters as Qt counts them: ten accented letters fit.
        rs.Fields(QStringLiteral("Name")) = QStringLiteral("éééééééééé");
        rs.Update();
        QCOMPARE(scalar(QStringLiteral("SELECT Name FROM People")).toString(), QStringLiteral("éééééééééé"));
    }

    void autoNumberIsNeverReused() {
        Recordset rs = m_db->OpenRecordset(QStringLiteral("Items"));
        for (int i = 0; i < 3; ++i) {
            rs.AddNew();
            rs.Fields(QStringLiteral("Subject")) = QStringLiteral("item %1").arg(i);
            rs.Update();
        }
        QCOMPARE(rs.LastAddedKey(), 3);
        m_db->Execute(QStringLiteral("DELETE * FROM Items WHERE RefNum = 3"));
        QCOMPARE(m_db->RecordsAffected(), 1);
        rs.AddNew();
        rs.Fields(QStringLiteral("Subject")) = QStringLiteral("after delete");
        rs.Update();
        QCOMPARE(rs.LastAddedKey(), 4);
        QCOMPARE(scalar(QStringLiteral("SELECT MAX(RefNum) AS RefID FROM Items")).toInt(), 4);
    }

    void seekAndNoMatchOnTableRecordset() {
        addPerson(7, QStringLiteral("seven"));
        addPerson(3, QStringLiteral("three"));
        Recordset rs = m_db->OpenRecordset(QStringLiteral("People"));
        QVERIFY(rs.IsTable());
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Seek(QStringLiteral("="), 7));  // no index set yet
        rs.setIndex(QStringLiteral("PrimaryKey"));
        rs.Seek(QStringLiteral("="), 7);
        QVERIFY(!rs.NoMatch());
        QCOMPARE(rs.Fields(QStringLiteral("Name")).toString(), QStringLiteral("seven"));
        rs.Seek(QStringLiteral("="), 5);
        QVERIFY(rs.NoMatch());
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Value(QStringLiteral("Name")));
        rs.Seek(QStringLiteral(">="), 5);
        QVERIFY(!rs.NoMatch());
        QCOMPARE(rs.Fields(QStringLiteral("ID")).toInt(), 7);
        rs.Seek(QStringLiteral("<"), 7);
        QCOMPARE(rs.Fields(QStringLiteral("ID")).toInt(), 3);
        QCOMPARE(rs.RecordCount(), 2);
        // Edit the sought row in place.
        rs.Seek(QStringLiteral("="), 3);
        rs.Edit();
        rs.Fields(QStringLiteral("Name")) = QStringLiteral("THREE");
        rs.Update();
        QCOMPARE(rs.Fields(QStringLiteral("Name")).toString(), QStringLiteral("THREE"));
        QCOMPARE(scalar(QStringLiteral("SELECT Name FROM People WHERE ID = 3")).toString(),
                 QStringLiteral("THREE"));
    }

    void tableRecordsetWalksAndDeletes() {
        for (int id : {1, 2, 3}) addPerson(id, QStringLiteral("p%1").arg(id));
        Recordset rs = m_db->OpenRecordset(QStringLiteral("People"));
        QVERIFY(!rs.Eof());
        QCOMPARE(rs.Fields(QStringLiteral("ID")).toInt(), 1);
        rs.MoveNext();
        rs.Delete();  // p2
        rs.MoveNext();
        QCOMPARE(rs.Fields(QStringLiteral("ID")).toInt(), 3);
        rs.MoveNext();
        QVERIFY(rs.Eof());
        rs.MoveLast();
        rs.MovePrevious();
        QCOMPARE(rs.Fields(QStringLiteral("ID")).toInt(), 1);
        rs.MovePrevious();
        QVERIFY(rs.Bof());
        QCOMPARE(rs.RecordCount(), 2);
    }

    void sqlRecordsetEditsAKeylessTable() {
        m_db->Execute(
            QStringLiteral("INSERT INTO Phones VALUES (5, 'Home', '111'), (5, 'Work', '222'), "
                           "(6, 'Home', '333')"));
        Recordset rs = m_db->OpenRecordset(
            QStringLiteral(
                "SELECT fkContID, fkLookup, PhoneNum FROM CPhone WHERE fkContID = 5 AND fkLookup = 'Work' ")
                .replace(QLatin1String("CPhone"), QLatin1String("Phones")));
        QVERIFY(rs.Updatable());
        QCOMPARE(rs.RecordCount(), 1);
        rs.Edit();
        rs.Fields(QStringLiteral("PhoneNum")) = QStringLiteral("999");
        rs.Update();
        QCOMPARE(rs.Fields(QStringLiteral("PhoneNum")).toString(), QStringLiteral("999"));
        QCOMPARE(raw(QStringLiteral("SELECT group_concat(PhoneNum, ',') FROM (SELECT PhoneNum FROM Phones "
                                    "ORDER BY rowid)"))
                     .toString(),
                 QStringLiteral("111,999,333"));
        // Adding through it appends the row, with the table's defaults for what was not assigned.
        rs.AddNew();
        rs.Fields(QStringLiteral("fkContID")) = 5;
        rs.Fields(QStringLiteral("fkLookup")) = QStringLiteral("Fax");
        rs.Update();
        QCOMPARE(rs.RecordCount(), 2);
        rs.MoveLast();
        QCOMPARE(rs.Fields(QStringLiteral("fkLookup")).toString(), QStringLiteral("Fax"));
        QVERIFY(rs.Fields(QStringLiteral("PhoneNum")).isNull());
        rs.MoveFirst();
        rs.Delete();
        QCOMPARE(raw(QStringLiteral("SELECT group_concat(fkLookup, ',') FROM (SELECT fkLookup FROM Phones "
                                    "WHERE fkContID = 5 ORDER BY rowid)"))
                     .toString(),
                 QStringLiteral("Home,Fax"));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Value(QStringLiteral("fkLookup")));  // no current row
        rs.MoveNext();
        QCOMPARE(rs.Fields(QStringLiteral("fkLookup")).toString(), QStringLiteral("Fax"));
    }

    void updateWritesOnlyAssignedFields() {
        Recordset add = m_db->OpenRecordset(QStringLiteral("People"));
        add.AddNew();
        add.Fields(QStringLiteral("ID")) = 1;
        add.Fields(QStringLiteral("Name")) = QStringLiteral("first");
        add.Update();
        // Unassigned columns keep their defaults.
        QCOMPARE(raw(QStringLiteral("SELECT Kind FROM People")).toString(), QStringLiteral("x"));
        QVERIFY(!raw(QStringLiteral("SELECT Stamp FROM People")).isNull());
        QVERIFY(raw(QStringLiteral("SELECT Notes FROM People")).isNull());

        // Two recordsets on the row: each Update writes only what it assigned.
        Recordset a = m_db->OpenRecordset(QStringLiteral("SELECT * FROM People WHERE ID = 1"));
        Recordset b = m_db->OpenRecordset(QStringLiteral("SELECT * FROM People WHERE ID = 1"));
        a.Edit();
        a.Fields(QStringLiteral("Notes")) = QStringLiteral("from a");
        a.Update();
        b.Edit();
        b.Fields(QStringLiteral("Kind")) = QStringLiteral("y");
        b.Update();
        QCOMPARE(raw(QStringLiteral("SELECT Notes || '/' || Kind || '/' || Name FROM People")).toString(),
                 QStringLiteral("from a/y/first"));
        // CancelUpdate writes nothing.
        a.Edit();
        a.Fields(QStringLiteral("Name")) = QStringLiteral("never");
        a.CancelUpdate();
        QCOMPARE(raw(QStringLiteral("SELECT Name FROM People")).toString(), QStringLiteral("first"));
    }

    void recordsetMisuseGivesClearErrors() {
        addPerson(1, QStringLiteral("one"));
        Recordset joined = m_db->OpenRecordset(QStringLiteral("SELECT p.ID, q.ID FROM People p, People q"));
        QVERIFY(!joined.Updatable());
        QVERIFY_THROWS_EXCEPTION(DbError, joined.Edit());
        Recordset rs = m_db->OpenRecordset(QStringLiteral("SELECT ID, Name FROM People"));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Fields(QStringLiteral("Nope")).value());
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 rs.Fields(QStringLiteral("Name")) = QStringLiteral("x"));  // no Edit
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Update());
        Recordset empty = m_db->OpenRecordset(QStringLiteral("SELECT ID FROM People WHERE ID = 99"));
        QVERIFY(empty.Eof() && empty.Bof());
        QVERIFY_THROWS_EXCEPTION(DbError, empty.Value(QStringLiteral("ID")));
        QVERIFY_THROWS_EXCEPTION(DbError, empty.MoveNext());
    }

    // A recordset that outlives its database (a dialog left open while the file is replaced) fails
    // with "not open" on every use, an edit under way included, and never reaches the gone connection.
    void recordsetOutlivingItsDatabase_data() {
        QTest::addColumn<bool>("table");      // else a query's recordset
        QTest::addColumn<bool>("destroyed");  // else only closed
        QTest::newRow("table, closed") << true << false;
        QTest::newRow("table, destroyed") << true << true;
        QTest::newRow("query, closed") << false << false;
        QTest::newRow("query, destroyed") << false << true;
    }
    void recordsetOutlivingItsDatabase() {
        QFETCH(bool, table);
        QFETCH(bool, destroyed);
        addPerson(1, QStringLiteral("one"));
        addPerson(2, QStringLiteral("two"));
        const QString source = table ? QStringLiteral("People") : QStringLiteral("SELECT * FROM People");
        Recordset rs = m_db->OpenRecordset(source);
        Recordset editing = m_db->OpenRecordset(source);
        editing.Edit();
        editing.Fields(QStringLiteral("Name")) = QStringLiteral("late");
        if (table) rs.setIndex(QStringLiteral("PrimaryKey"));
        if (destroyed) {
            m_db.reset();
        } else {
            m_db->Close();
        }

        const QList<QPair<const char*, std::function<void()>>> uses = {
            {"Update", [&] { editing.Update(); }},
            {"Eof", [&] { rs.Eof(); }},
            {"RecordCount", [&] { rs.RecordCount(); }},
            {"MoveNext", [&] { rs.MoveNext(); }},
            {"Value by name", [&] { rs.Value(QStringLiteral("Name")); }},
            {"Value by number", [&] { rs.Value(1); }},
            {"Seek", [&] { rs.Seek(QStringLiteral("="), 2); }},
            {"AddNew", [&] { rs.AddNew(); }},
            {"Delete", [&] { rs.Delete(); }},
        };
        for (const auto& [name, use] : uses) {
            try {
                use();
                QFAIL(qPrintable(QStringLiteral("%1 worked without its database").arg(name)));
            } catch (const DbError& e) {
                QVERIFY2(e.number() == db::kErrNotOpen, name);
            }
        }
        QVERIFY(!rs.IsOpen());
        rs.Close();  // closing needs no database
    }

    // A row deleted behind a recordset's back is an error, never a silent "saved".
    void vanishedRowIsReported() {
        addPerson(1, QStringLiteral("one"));
        Recordset rs = m_db->OpenRecordset(QStringLiteral("SELECT * FROM People WHERE ID = 1"));
        m_db->Execute(QStringLiteral("DELETE * FROM People WHERE ID = 1"));
        rs.Edit();
        rs.Fields(QStringLiteral("Name")) = QStringLiteral("ghost");
        try {
            rs.Update();
            QFAIL("an update of a deleted row succeeded");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), int(db::kErrNoCurrentRecord));
        }
        QVERIFY_THROWS_EXCEPTION(DbError, rs.Delete());
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People")).toInt(), 0);
    }

    // Streamed rows are the query's rows; an error thrown by the receiver stops the stream cleanly.
    void streamedRowsMatchTheQuery() {
        addPerson(1, QStringLiteral("b"), QStringLiteral("12/31/2026 11:30 PM"));
        addPerson(2, QStringLiteral("a"), QStringLiteral("1/2/2027"));
        addPerson(3, QStringLiteral("c"));
        QStringList seen;
        m_db->ForEachRow(QStringLiteral("SELECT ID, Name, Born FROM People WHERE ID <> ? ORDER BY Name"), {3},
                         [&](const Database::RowView& r) {
                             seen << QStringLiteral("%1 %2 %3")
                                         .arg(r.integer(0))
                                         .arg(r.text(1), r.date(2).toString(Qt::ISODate));
                         });
        QCOMPARE(seen, (QStringList{"2 a 2027-01-02", "1 b 2026-12-31"}));

        int rows = 0;
        QVERIFY_THROWS_EXCEPTION(DbError, m_db->ForEachRow(QStringLiteral("SELECT ID FROM People"), {},
                                                           [&](const Database::RowView&) {
                                                               if (++rows == 2) throw DbError(1, "stop");
                                                           }));
        QCOMPARE(rows, 2);
        // The statement was reset: writing goes on (no read left open on the file).
        m_db->Execute(QStringLiteral("DELETE * FROM People WHERE ID = 3"));
        QVector<QPair<QString, qint64>> names;
        m_db->ReadNumberedTexts(QStringLiteral("SELECT ID, Name FROM People ORDER BY ID"), {},
                                QStringLiteral("ID"), QStringLiteral("Name"), names);
        QCOMPARE(names.size(), 2);
        QCOMPARE(names.first().first, QStringLiteral("b"));
    }

    // A streamed date is the date the recordset reads for the same stored value: a date, or the
    // date of a date and time, only for the storage forms exactly; nothing for anything else.
    void streamedDateReadsTheStorageForms_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QDate>("date");
        const QDate d(2026, 12, 8);
        QTest::newRow("date") << QVariant("2026-12-08") << d;
        QTest::newRow("date and time") << QVariant("2026-12-08 23:59:59") << d;
        QTest::newRow("no such day") << QVariant("2026-02-30") << QDate();
        QTest::newRow("no such hour") << QVariant("2026-12-08 24:00:00") << QDate();
        QTest::newRow("T between") << QVariant("2026-12-08T10:00:00") << QDate();
        QTest::newRow("time only") << QVariant("09:30:00") << QDate();
        QTest::newRow("program form") << QVariant("12/08/2026") << QDate();
        QTest::newRow("leading blank") << QVariant(" 2026-12-08") << QDate();
        QTest::newRow("wide digits") << QVariant(QString::fromUtf8("２０２６-12-08")) << QDate();
        QTest::newRow("number") << QVariant(20261208) << QDate();
        QTest::newRow("null") << QVariant() << QDate();
    }
    void streamedDateReadsTheStorageForms() {
        QFETCH(QVariant, stored);
        QFETCH(QDate, date);
        m_db->Execute(QStringLiteral("INSERT INTO People (ID, Born) VALUES (1, ?)"), {stored});
        QDate streamed(1900, 1, 1);
        m_db->ForEachRow(QStringLiteral("SELECT Born FROM People"), {},
                         [&](const Database::RowView& r) { streamed = r.date(0); });
        QCOMPARE(streamed, date);
        const QVariant read = scalar(QStringLiteral("SELECT Born FROM People"));
        QCOMPARE(read.typeId() == QMetaType::QDateTime ? read.toDateTime().date()
                 : read.typeId() == QMetaType::QDate   ? read.toDate()
                                                       : QDate(),
                 date);
    }

    void unsupportedSqlIsAClearError() {
        try {
            m_db->OpenRecordset(QStringLiteral("SELECT IIf(ID = 1, 'a', 'b') FROM People"));
            QFAIL("unsupported SQL was run");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), int(db::kErrUnsupportedSql));
            QVERIFY(!e.description().isEmpty());
        }
        // A `?` inside a literal is text, not a parameter.
        addPerson(1, QStringLiteral("who?"));
        QCOMPARE(scalar(QStringLiteral("SELECT ID FROM People WHERE Name = 'who?'")).toInt(), 1);
        QVERIFY_THROWS_EXCEPTION(DbError, m_db->Execute(QStringLiteral("DELETE * FROM People WHERE ID = ?")));
    }

    void failedTransactionLeavesNothing() {
        try {
            db::Transaction t(*m_db);
            addPerson(1, QStringLiteral("one"));
            addPerson(2, QStringLiteral("two"));
            addPerson(1, QStringLiteral("dup"));  // key taken: throws
            t.commit();
            QFAIL("a duplicate key was accepted");
        } catch (const DbError&) {
        }
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People")).toInt(), 0);
        QCOMPARE(m_db->TransactionDepth(), 0);

        // Nested: an inner rollback keeps the outer work.
        m_db->BeginTrans();
        addPerson(1, QStringLiteral("outer"));
        m_db->BeginTrans();
        addPerson(2, QStringLiteral("inner"));
        m_db->Rollback();
        m_db->CommitTrans();
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM People")).toInt(), 1);
    }

    void tableDefinitionsCreateTablesAndIndexes() {
        db::TableDef def;
        def.name = QStringLiteral("Security");
        def.fields << db::Field::make(QStringLiteral("RefNum"), db::FieldType::AutoNumber)
                   << db::Field::make(QStringLiteral("UserName"), db::FieldType::Text, 50)
                   << db::Field::make(QStringLiteral("Password"), db::FieldType::Text, 50);
        m_db->CreateTable(def);
        m_db->CreateIndex(QStringLiteral("Security"),
                          {QStringLiteral("PrimaryKey"), {QStringLiteral("RefNum")}, true});
        m_db->CreateIndex(QStringLiteral("Security"), {QStringLiteral("RefNum"), {QStringLiteral("RefNum")}});
        QVERIFY_THROWS_EXCEPTION(DbError, m_db->CreateTable(def));

        bool found = false;
        for (const db::TableDef& t : m_db->TableDefs()) {
            QVERIFY(!t.name.startsWith(QLatin1String("sqlite_")));
            if (t.name != QLatin1String("Security")) continue;
            found = true;
            QCOMPARE(t.fields.size(), 3);
            QCOMPARE(t.fields.at(0).type, db::FieldType::AutoNumber);
            QCOMPARE(t.fields.at(1).size, 50);
            QStringList indexes;
            for (const db::Index& i : t.indexes) indexes << i.name;
            QCOMPARE(indexes, (QStringList{"PrimaryKey", "RefNum"}));
        }
        QVERIFY(found);
        Recordset rs = m_db->OpenRecordset(QStringLiteral("Security"));
        rs.AddNew();
        rs.Fields(QStringLiteral("UserName")) = QStringLiteral("me");
        rs.Update();
        QCOMPARE(rs.LastAddedKey(), 1);
    }

    // A writer killed between commits loses nothing it had committed, and leaves a sound file.
    void killedWriterKeepsEveryCommittedRow() {
        m_db.reset();
        int pipeFds[2];
        QVERIFY(pipe(pipeFds) == 0);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            try {
                auto conn = Database::Open(path());
                for (int i = 1;; ++i) {
                    db::Transaction t(*conn);
                    Recordset rs = conn->OpenRecordset(QStringLiteral("Items"));
                    for (int j = 0; j < 5; ++j) {
                        rs.AddNew();
                        rs.Fields(QStringLiteral("Subject")) = QStringLiteral("batch %1").arg(i);
                        rs.Update();
                    }
                    t.commit();
                    const int done = i;
                    if (write(pipeFds[1], &done, sizeof done) != sizeof done) _exit(2);
                }
            } catch (...) {
                _exit(3);
            }
        }
        ::close(pipeFds[1]);
        int committed = 0;
        while (committed < 200) {
            int n = 0;
            if (read(pipeFds[0], &n, sizeof n) != sizeof n) break;
            committed = n;
        }
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ::close(pipeFds[0]);
        QVERIFY2(committed >= 200, "the writer stopped early");

        m_db = Database::Open(path());
        QCOMPARE(scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        const int rows = scalar(QStringLiteral("SELECT count(*) FROM Items")).toInt();
        QVERIFY2(rows >= committed * 5,
                 qPrintable(QStringLiteral("%1 rows for %2 commits").arg(rows).arg(committed)));
        QCOMPARE(rows % 5, 0);  // whole transactions only
    }
};

POMARET_TEST(TestDatabase)
#include "tst_Database.moc"
