// The blank database built from the schema, what EnsureDatabase leaves alone, and the data root.
// The file is inspected with SQLite itself (and the sqlite3 tool), not only through our layer.
#include <sqlite3.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/BlankDatabase.h"
#include "core/DataRoot.h"
#include "platform/db/Database.h"
#include "support/TestRegistry.h"

namespace {

const QString kNow = QStringLiteral("strftime('%Y-%m-%d %H:%M:%S','now','localtime')");

// One table as it must be: its key ("RefNum+" for an automatic number, a plain column name for a
// key the program assigns, empty for none) and its columns in order as "Name TYPE".
struct ExpectedTable {
    const char* name;
    const char* key;
    QStringList columns;
};

QList<ExpectedTable> expectedTables() {
    return {
        {"Security", "RefNum+", {"RefNum INTEGER", "UserName VARCHAR(50)", "Password VARCHAR(50)"}},
        {"ErrLog", "", {"ModName TEXT", "ErrNum INTEGER", "ErrDesc TEXT", "DateStamp DATETIME"}},
        {"Company",
         "",
         {"CompName VARCHAR(50)", "Address VARCHAR(510)", "Country VARCHAR(50)", "Phone VARCHAR(25)",
          "Fax VARCHAR(25)", "Email VARCHAR(50)", "WebSite VARCHAR(50)"}},
        {"Contacts",
         "ContID",
         {"ContID INTEGER", "CTYPE VARCHAR(1)", "Setting VARCHAR(50)", "FullName VARCHAR(255)",
          "ShownName VARCHAR(255)", "Prefix VARCHAR(100)", "FName VARCHAR(100)", "Middle VARCHAR(100)",
          "LName VARCHAR(100)", "Suffix VARCHAR(100)", "CompName VARCHAR(255)", "Group TEXT",
          "JobTitle VARCHAR(100)"}},
        {"CAddress",
         "",
         {"fkContID INTEGER", "fkLookup VARCHAR(20)", "Street VARCHAR(170)", "City VARCHAR(170)",
          "State VARCHAR(170)", "Zip VARCHAR(170)", "Country VARCHAR(170)"}},
        {"CPhone", "", {"fkContID INTEGER", "fkLookup VARCHAR(20)", "PhoneNum VARCHAR(25)"}},
        {"CEMail", "", {"fkContID INTEGER", "fkLookup VARCHAR(20)", "Email VARCHAR(50)"}},
        {"CComments", "RefNum+", {"RefNum INTEGER", "fkContID INTEGER", "Comments TEXT"}},
        {"Lookup", "", {"ItemID VARCHAR(10)", "Description VARCHAR(100)"}},
        {"CUserFields", "RefNum+", {"RefNum INTEGER", "Description VARCHAR(100)"}},
        {"CUFldValues",
         "RefNum+",
         {"RefNum INTEGER", "fkContID INTEGER", "fkUserFld VARCHAR(100)", "Value VARCHAR(100)"}},
        {"RelateCont",
         "",
         {"MasterContID INTEGER", "SubContID INTEGER", "LinkMemo TEXT", "SubContShowName VARCHAR(255)"}},
        {"Projects",
         "ProjID",
         {"ProjID INTEGER", "PName VARCHAR(255)", "Status VARCHAR(100)", "PrjType VARCHAR(100)",
          "StartDate DATETIME", "EndDate DATETIME", "Budget VARCHAR(15)", "Setting VARCHAR(100)"}},
        {"PComments", "RefNum+", {"RefNum INTEGER", "fkProjID INTEGER", "Comments TEXT"}},
        {"PUserFields", "RefNum+", {"RefNum INTEGER", "Description VARCHAR(100)"}},
        {"PUFldValues",
         "RefNum+",
         {"RefNum INTEGER", "fkProjID INTEGER", "fkUserFld VARCHAR(100)", "Value VARCHAR(100)"}},
        {"RelateProject",
         "RefNum+",
         {"RefNum INTEGER", "fkProjID INTEGER", "fkContID INTEGER", "ContShowName VARCHAR(255)"}},
        {"ToDo",
         "RefNum+",
         {"RefNum INTEGER", "Subject VARCHAR(255)", "TextBody TEXT", "DueDate DATETIME", "DueTime DATETIME",
          "fkContID INTEGER", "fkProjID INTEGER", "Remind BOOLEAN", "RemAmt VARCHAR(20)", "Private BOOLEAN",
          "Urgent BOOLEAN", "Completed BOOLEAN"}},
        {"Remind",
         "RefNum+",
         {"RefNum INTEGER", "RemDate DATETIME", "RemTime DATETIME", "fkToDoID INTEGER", "fkApptID INTEGER",
          "Type VARCHAR(2)", "Completed BOOLEAN"}},
        {"Appts",
         "RefNum+",
         {"RefNum INTEGER", "Subject VARCHAR(255)", "TextBody TEXT", "DateFrom DATETIME", "DateTo DATETIME",
          "TimeFrom DATETIME", "TimeTo DATETIME", "fkContID INTEGER", "fkProjID INTEGER", "Remind BOOLEAN",
          "RemAmt VARCHAR(20)", "Private BOOLEAN", "NoTime BOOLEAN", "AllDay BOOLEAN"}},
        {"Attach",
         "RefNum+",
         {"RefNum INTEGER", "TextBody TEXT", "NType VARCHAR(1)", "fkContID INTEGER", "fkProjID INTEGER",
          "Fav BOOLEAN", "Priv BOOLEAN", "DateStamp DATETIME"}},
    };
}

// Defaults other than the yes/no columns' 0, by "Table.Column".
QHash<QString, QString> expectedDefaults() {
    return {{QStringLiteral("ErrLog.DateStamp"), kNow},
            {QStringLiteral("Attach.DateStamp"), kNow},
            {QStringLiteral("Attach.fkContID"), QStringLiteral("0")},
            {QStringLiteral("Attach.fkProjID"), QStringLiteral("0")}};
}

struct ExpectedIndex {
    const char* name;
    const char* table;
    QStringList columns;
};

QList<ExpectedIndex> expectedIndexes() {
    return {
        {"Security_RefNum", "Security", {"RefNum"}},
        {"Security_UserName", "Security", {"UserName"}},
        {"ErrLog_DateStamp", "ErrLog", {"DateStamp"}},
        {"Contacts_ShownName", "Contacts", {"ShownName"}},
        {"Contacts_SettingShownName", "Contacts", {"Setting", "ShownName"}},
        {"CAddress_fkContID", "CAddress", {"fkContID"}},
        {"CAddress_fkContIDfkLookup", "CAddress", {"fkContID", "fkLookup"}},
        {"CPhone_fkContID", "CPhone", {"fkContID"}},
        {"CPhone_fkContIDfkLookup", "CPhone", {"fkContID", "fkLookup"}},
        {"CEMail_fkContID", "CEMail", {"fkContID"}},
        {"CEMail_fkContIDfkLookup", "CEMail", {"fkContID", "fkLookup"}},
        {"CComments_fkContID", "CComments", {"fkContID"}},
        {"Lookup_ItemIDDescription", "Lookup", {"ItemID", "Description"}},
        {"CUserFields_Description", "CUserFields", {"Description"}},
        {"CUFldValues_fkContID", "CUFldValues", {"fkContID"}},
        {"CUFldValues_fkUserFldValue", "CUFldValues", {"fkUserFld", "Value"}},
        {"RelateCont_MasterContID", "RelateCont", {"MasterContID"}},
        {"RelateCont_SubContID", "RelateCont", {"SubContID"}},
        {"Projects_PName", "Projects", {"PName"}},
        {"Projects_SettingPName", "Projects", {"Setting", "PName"}},
        {"PComments_fkProjID", "PComments", {"fkProjID"}},
        {"PUserFields_Description", "PUserFields", {"Description"}},
        {"PUFldValues_fkProjID", "PUFldValues", {"fkProjID"}},
        {"PUFldValues_fkUserFldValue", "PUFldValues", {"fkUserFld", "Value"}},
        {"RelateProject_fkProjID", "RelateProject", {"fkProjID"}},
        {"RelateProject_fkContID", "RelateProject", {"fkContID"}},
        {"ToDo_fkContID", "ToDo", {"fkContID"}},
        {"ToDo_fkProjID", "ToDo", {"fkProjID"}},
        {"ToDo_DueDateList",
         "ToDo",
         {"DueDate", "RefNum", "Subject", "fkContID", "fkProjID", "Completed", "Private", "Urgent"}},
        {"ToDo_CompletedPrivateDueDateSubject", "ToDo", {"Completed", "Private", "DueDate", "Subject"}},
        {"Remind_RemDateRemTime", "Remind", {"RemDate", "RemTime"}},
        {"Remind_fkToDoID", "Remind", {"fkToDoID"}},
        {"Remind_fkApptID", "Remind", {"fkApptID"}},
        {"Appts_fkContID", "Appts", {"fkContID"}},
        {"Appts_fkProjID", "Appts", {"fkProjID"}},
        {"Appts_DateFromPrivateSubject", "Appts", {"DateFrom", "Private", "Subject"}},
        {"Attach_fkContIDfkProjID", "Attach", {"fkContID", "fkProjID"}},
        {"Attach_fkProjID", "Attach", {"fkProjID"}},
        {"Attach_DateStamp", "Attach", {"DateStamp"}},
    };
}

QString text(SQLite::Statement& st, int column) {
    return QString::fromUtf8(st.getColumn(column).getText());
}

QStringList queryColumn(SQLite::Database& db, const QString& sql) {
    SQLite::Statement st(db, sql.toStdString());
    QStringList out;
    while (st.executeStep()) out << text(st, 0);
    return out;
}

// What a foreign file must keep: its bytes, its time stamp, and no journal files beside it.
struct Snapshot {
    QByteArray bytes;
    QDateTime modified;
    QStringList folder;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const QString& path) {
    QFile f(path);
    Snapshot s;
    if (f.open(QIODevice::ReadOnly)) s.bytes = f.readAll();
    s.modified = QFileInfo(path).lastModified();
    s.folder = QFileInfo(path).dir().entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    return s;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

}  // namespace

class BlankDatabaseTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_path;
    std::unique_ptr<SQLite::Database> m_db;  // read-only view of the blank database

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_root.isValid());
        m_path = m_root.path() + QStringLiteral("/Data/PomaretData.db");
        QVERIFY(core::EnsureDatabase(m_path));
        m_db = std::make_unique<SQLite::Database>(m_path.toStdString(), SQLite::OPEN_READONLY);
    }

    void cleanupTestCase() { m_db.reset(); }

    void leavesOnlyTheDatabaseInRollbackMode() {
        const Snapshot s = snapshot(m_path);
        QCOMPARE(s.folder, QStringList{QStringLiteral("PomaretData.db")});  // no temp or journal file
        QVERIFY(s.bytes.startsWith(QByteArray("SQLite format 3\0", 16)));
        // Header bytes 18 and 19 are 1 in rollback-journal mode, 2 in WAL mode.
        QCOMPARE(int(s.bytes.at(18)), 1);
        QCOMPARE(int(s.bytes.at(19)), 1);
    }

    void holdsExactlyTheTables() {
        QStringList expected;
        for (const ExpectedTable& t : expectedTables()) expected << QString::fromLatin1(t.name);
        QStringList actual = queryColumn(
            *m_db, QStringLiteral(
                       "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
        expected.sort();
        actual.sort();
        QCOMPARE(expected.size(), 21);
        QCOMPARE(actual, expected);
    }

    void columns_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("columns");
        for (const ExpectedTable& t : expectedTables()) {
            QTest::newRow(t.name) << QString::fromLatin1(t.name) << QString::fromLatin1(t.key) << t.columns;
        }
    }

    void columns() {
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QStringList, columns);

        SQLite::Statement info(*m_db, QStringLiteral("PRAGMA table_info(\"%1\")").arg(table).toStdString());
        QStringList actual;
        const QHash<QString, QString> defaults = expectedDefaults();
        while (info.executeStep()) {
            const QString name = text(info, 1);
            const QString type = text(info, 2);
            const bool notNull = info.getColumn(3).getInt() != 0;
            const QString dflt = info.getColumn(4).isNull() ? QString() : text(info, 4);
            actual << name + QLatin1Char(' ') + type;

            // Yes/No columns are never Null and start out False; otherwise only the listed defaults.
            const QString qualified = table + QLatin1Char('.') + name;
            if (type == QLatin1String("BOOLEAN")) {
                QVERIFY2(notNull && dflt == QLatin1String("0"), qPrintable(qualified));
            } else {
                QVERIFY2(!notNull, qPrintable(qualified));
                QCOMPARE(dflt, defaults.value(qualified));
            }

            const char* collation = nullptr;
            int pk = 0;
            int autoIncrement = 0;
            QCOMPARE(sqlite3_table_column_metadata(m_db->getHandle(), "main", table.toUtf8().constData(),
                                                   name.toUtf8().constData(), nullptr, &collation, nullptr,
                                                   &pk, &autoIncrement),
                     SQLITE_OK);
            const bool isText = type.startsWith(QLatin1String("VARCHAR")) || type == QLatin1String("TEXT");
            if (isText) QVERIFY2(qstricmp(collation, "NOCASE") == 0, qPrintable(qualified));
            const bool isKey = !key.isEmpty() && (name == key || name + QLatin1Char('+') == key);
            QCOMPARE(pk != 0, isKey);
            QCOMPARE(autoIncrement != 0, isKey && key.endsWith(QLatin1Char('+')));
        }
        QCOMPARE(actual, columns);
    }

    void indexes_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        for (const ExpectedIndex& i : expectedIndexes()) {
            QTest::newRow(i.name) << QString::fromLatin1(i.table) << i.columns;
        }
    }

    void indexes() {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        SQLite::Statement owner(*m_db,
                                "SELECT tbl_name FROM sqlite_master WHERE type = 'index' AND name = ?");
        owner.bind(1, name.toStdString());
        QVERIFY2(owner.executeStep(), "index missing");
        QCOMPARE(text(owner, 0), table);
        QCOMPARE(
            queryColumn(*m_db,
                        QStringLiteral("SELECT name FROM pragma_index_info('%1') ORDER BY seqno").arg(name)),
            columns);
    }

    void noOtherIndexes() {
        QStringList expected;
        for (const ExpectedIndex& i : expectedIndexes()) expected << QString::fromLatin1(i.name);
        QStringList actual =
            queryColumn(*m_db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"));
        expected.sort();
        actual.sort();
        QCOMPARE(actual, expected);
    }

    void oneEmptyCompanyRow() {
        SQLite::Statement st(*m_db, "SELECT * FROM Company");
        QVERIFY(st.executeStep());
        for (int c = 0; c < st.getColumnCount(); ++c) QVERIFY2(st.getColumn(c).isNull(), st.getColumnName(c));
        QVERIFY(!st.executeStep());
    }

    // What a row gets from the defaults alone, written to a copy so the blank file stays untouched.
    void defaultsFillNewRows() {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.db"));
        QVERIFY(QFile::copy(m_path, copy));
        SQLite::Database db(copy.toStdString(), SQLite::OPEN_READWRITE);
        db.exec("INSERT INTO Attach (TextBody) VALUES ('note')");
        db.exec("INSERT INTO Remind (RemDate, RemTime, Type) VALUES ('2030-01-01', '09:05:00', 'TD')");
        db.exec("INSERT INTO ErrLog (ModName, ErrNum) VALUES ('frmMain.Form_Load', 5)");
        db.exec("INSERT INTO ToDo (Subject) VALUES ('call back')");
        db.exec("INSERT INTO Appts (Subject) VALUES ('meeting')");

        const QDateTime now = QDateTime::currentDateTime();
        auto closeToNow = [&](const QString& stamp) {
            const QDateTime t = QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            return t.isValid() && qAbs(t.secsTo(now)) < 120;
        };

        SQLite::Statement attach(db, "SELECT fkContID, fkProjID, Fav, Priv, DateStamp FROM Attach");
        QVERIFY(attach.executeStep());
        QCOMPARE(attach.getColumn(0).getInt(), 0);
        QCOMPARE(attach.getColumn(1).getInt(), 0);
        QVERIFY(!attach.getColumn(0).isNull() && !attach.getColumn(1).isNull());
        QCOMPARE(attach.getColumn(2).getInt(), 0);
        QCOMPARE(attach.getColumn(3).getInt(), 0);
        QVERIFY2(closeToNow(text(attach, 4)), qPrintable(text(attach, 4)));

        SQLite::Statement errLog(db, "SELECT DateStamp FROM ErrLog");
        QVERIFY(errLog.executeStep());
        QVERIFY2(closeToNow(text(errLog, 0)), qPrintable(text(errLog, 0)));

        QCOMPARE(db.execAndGet("SELECT Completed FROM Remind").getInt(), 0);
        QCOMPARE(db.execAndGet("SELECT Remind + Private + Urgent + Completed FROM ToDo").getInt(), 0);
        QCOMPARE(db.execAndGet("SELECT Remind + Private + NoTime + AllDay FROM Appts").getInt(), 0);
        // Links the dialogs never wrote stay Null outside Attach.
        QVERIFY(db.execAndGet("SELECT fkContID FROM ToDo").isNull());
    }

    // Our own layer must read the declarations as the sizes and kinds they stand for.
    void layerReadsTheDeclarations() {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.db"));
        QVERIFY(QFile::copy(m_path, copy));
        auto database = db::Database::Open(copy, core::ProgramSchema());
        QCOMPARE(database->TableDefs().size(), 21);
        for (const ExpectedTable& t : expectedTables()) {
            const db::TableDef& def = database->Table(QString::fromLatin1(t.name));
            for (const QString& column : t.columns) {
                const QString name = column.section(QLatin1Char(' '), 0, 0);
                const QString type = column.section(QLatin1Char(' '), 1);
                const db::Field* f = def.field(name);
                QVERIFY2(f, qPrintable(column));
                if (type.startsWith(QLatin1String("VARCHAR("))) {
                    QCOMPARE(f->type, db::FieldType::Text);
                    QCOMPARE(f->size, type.mid(8).chopped(1).toInt());
                } else if (type == QLatin1String("TEXT")) {
                    QCOMPARE(f->type, db::FieldType::Memo);
                } else if (type == QLatin1String("BOOLEAN")) {
                    QCOMPARE(f->type, db::FieldType::YesNo);
                } else if (type == QLatin1String("DATETIME")) {
                    QCOMPARE(f->type, db::FieldType::DateTime);
                }
            }
        }
    }

    void secondRunChangesNothing() {
        m_db.reset();  // no connection of ours may touch the file meanwhile
        const Snapshot before = snapshot(m_path);
        QVERIFY(!core::EnsureDatabase(m_path));
        QVERIFY(snapshot(m_path) == before);
        m_db = std::make_unique<SQLite::Database>(m_path.toStdString(), SQLite::OPEN_READONLY);
    }

    void emptyFileIsReplaced() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Data/PomaretData.db"));
        writeFile(path, {});
        QVERIFY(core::EnsureDatabase(path));
        QCOMPARE(snapshot(path).folder, QStringList{QStringLiteral("PomaretData.db")});
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
        QVERIFY(db.tableExists("Contacts"));
        QCOMPARE(db.execAndGet(
                       "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")
                     .getInt(),
                 21);
        QCOMPARE(db.execAndGet("SELECT COUNT(*) FROM Company").getInt(), 1);
    }

    void foreignFileIsLeftAlone_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("text file") << "text";
        QTest::newRow("SQLite header, then garbage") << "header";
        QTest::newRow("SQLite database without Contacts") << "other";
    }

    void foreignFileIsLeftAlone() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Data/PomaretData.db"));
        if (kind == QLatin1String("text")) {
            writeFile(path, "Name,Phone\r\nBerg,555-0100\r\n");
        } else if (kind == QLatin1String("header")) {
            writeFile(path, QByteArray("SQLite format 3\0", 16) + QByteArray(2000, '\x5a'));
        } else {
            QDir().mkpath(QFileInfo(path).absolutePath());
            SQLite::Database other(path.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
            other.exec("CREATE TABLE Customers (Name TEXT); INSERT INTO Customers VALUES ('Berg')");
        }
        if (QTest::currentTestFailed()) return;
        const Snapshot before = snapshot(path);

        QVERIFY(!core::EnsureDatabase(path));
        QVERIFY(snapshot(path) == before);

        try {
            db::Database::Open(path, core::ProgramSchema());
            QFAIL("the file was accepted");
        } catch (const db::DbError& e) {
            QCOMPARE(e.number(), int(db::kErrNotADatabase));
        }
        QVERIFY(snapshot(path) == before);
    }

    // The file must stay readable by the stock sqlite3 tool: no function or collation of ours in it.
    void sqliteToolReadsIt() {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        if (tool.isEmpty()) QSKIP("the sqlite3 command-line tool is not installed");

        QString script = QStringLiteral(".schema\n");
        for (const ExpectedTable& t : expectedTables()) {
            script += QStringLiteral("SELECT '%1', COUNT(*) FROM \"%1\";\n").arg(QString::fromLatin1(t.name));
        }
        script += QStringLiteral("PRAGMA integrity_check;\n");

        QProcess p;
        p.start(tool, {QStringLiteral("-readonly"), QStringLiteral("-bail"), m_path});
        QVERIFY(p.waitForStarted());
        p.write(script.toUtf8());
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()), QString());
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(out.contains(QLatin1String("CREATE TABLE Contacts")));
        QVERIFY(out.contains(QLatin1String("Company|1\n")));
        QVERIFY(out.contains(QLatin1String("Attach|0\n")));
        QVERIFY(out.endsWith(QLatin1String("\nok\n")));
    }
};

// Where the data root and the settings file lie, by command line and environment.
class DataRootTest : public QObject {
    Q_OBJECT

    QString m_savedDir;
    QString m_savedSettings;
    QByteArray m_savedHome;
    bool m_hadHome = false;

private Q_SLOTS:
    void initTestCase() {
        m_savedDir = core::DataRoot::Dir();
        m_savedSettings = core::DataRoot::SettingsPath();
        m_hadHome = qEnvironmentVariableIsSet("POMARET_HOME");
        m_savedHome = qgetenv("POMARET_HOME");
    }

    void cleanupTestCase() {
        if (m_hadHome) {
            qputenv("POMARET_HOME", m_savedHome);
        } else {
            qunsetenv("POMARET_HOME");
        }
        core::DataRoot::Set(m_savedDir, m_savedSettings == m_savedDir + QStringLiteral("/Application.ini"));
    }

    void resolve_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("home");      // $POMARET_HOME; empty: unset
        QTest::addColumn<QString>("expected");  // empty: the default data root

        const QString p = QStringLiteral("pomaret");
        QTest::newRow("nothing given") << QStringList{p} << QString() << QString();
        QTest::newRow("other options only") << QStringList{p, "-style", "fusion"} << QString() << QString();
        QTest::newRow("environment") << QStringList{p} << "/srv/pm-home"
                                     << "/srv/pm-home";
        QTest::newRow("option and value")
            << QStringList{p, "--data-dir", "/srv/pm-a"} << QString() << "/srv/pm-a";
        QTest::newRow("option=value") << QStringList{p, "--data-dir=/srv/pm-b"} << QString() << "/srv/pm-b";
        QTest::newRow("option beats environment")
            << QStringList{p, "--data-dir", "/srv/pm-a"} << "/srv/pm-home"
            << "/srv/pm-a";
        QTest::newRow("last option wins")
            << QStringList{p, "--data-dir=/srv/pm-a", "--data-dir", "/srv/pm-b"} << QString() << "/srv/pm-b";
        QTest::newRow("option without value") << QStringList{p, "--data-dir"} << "/srv/pm-home"
                                              << "/srv/pm-home";
        QTest::newRow("empty value") << QStringList{p, "--data-dir="} << QString() << QString();
        QTest::newRow("trailing slash")
            << QStringList{p, "--data-dir=/srv/pm-c/"} << QString() << "/srv/pm-c";
        QTest::newRow("relative folder") << QStringList{p, "--data-dir", "pm-rel/x"} << QString()
                                         << QDir::current().absoluteFilePath("pm-rel/x");
    }

    void resolve() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, home);
        QFETCH(QString, expected);
        if (home.isEmpty()) {
            qunsetenv("POMARET_HOME");
        } else {
            qputenv("POMARET_HOME", home.toUtf8());
        }

        core::DataRoot::Resolve(arguments);

        const bool given = !expected.isEmpty();
        const QString root = given ? expected
                                   : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                                         QStringLiteral("/Pomaret");
        const QString settings =
            given ? root + QStringLiteral("/Application.ini")
                  : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                        QStringLiteral("/Pomaret/Application.ini");
        QCOMPARE(core::DataRoot::Dir(), root);
        QCOMPARE(core::DataRoot::SettingsPath(), settings);
        QCOMPARE(core::DataRoot::DatabasePath(), root + QStringLiteral("/Data/PomaretData.db"));
        QCOMPARE(core::DataRoot::BackupPath(), root + QStringLiteral("/Backup/PomaretData.db"));
        QVERIFY(core::DataRoot::LockPath().startsWith(root + QLatin1Char('/')));
    }
};

POMARET_TEST(BlankDatabaseTest)
POMARET_TEST(DataRootTest)

#include "tst_BlankDatabase.moc"
