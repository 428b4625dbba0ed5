#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <QDir>
#include <QFile>
#include <QRectF>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/BlankDatabase.h"
#include "core/DataRoot.h"
#include "core/MainWindowLink.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/settings/Settings.h"
#include "platform/ui/Cursor.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

namespace {

// What core sees of the main window, with its state and frame set by the test.
class FakeMainWindow : public core::MainWindowLink {
public:
    QWidget* Widget() override { return nullptr; }
    void SetStatusText(const QString& text) override { statusHistory << text; }
    QString StatusText() const override { return statusHistory.value(statusHistory.size() - 1); }
    void SetContextCommandsEnabled(bool enabled) override { contextCommands = enabled; }
    int WindowStateCode() const override { return state; }
    QRectF OuterFrameTwips() const override { return frame; }
    bool PositionKnown() const override { return positionKnown; }

    QStringList statusHistory;
    bool contextCommands = true;
    int state = 0;
    QRectF frame{1500, 1500, 12000, 9000};
    bool positionKnown = true;
};

const QString kApp = QStringLiteral("Application");
const QString kSection = QStringLiteral("Pomaret");

QString stored(const QString& key) {
    return settings::GetSetting(kApp, kSection, key, QStringLiteral("<absent>"));
}

void store(const QString& key, const QString& value) {
    settings::SaveSetting(kApp, kSection, key, value);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void makeWorkspace() {
    g_wsMain = std::make_unique<Workspace>(Workspace{"MainWS", "admin", ""});
}

// What a killed session leaves at `path`: 400 contacts in the file, 10 more only in a -wal beside it;
// `backup` gets a sound copy of the first 400, whose names 100 to 110 the file has changed since (in
// place, so only the indexes tell a mix of the two).
void killedSession(const QString& path, const QString& backup) {
    QTemporaryDir dir;
    const QString live = dir.filePath("live.db");
    core::EnsureDatabase(live);
    auto conn = db::Database::Open(live);
    // Names in key order, so the rows of the -wal touch only the last pages.
    const char* add =
        "WITH RECURSIVE n(i) AS (SELECT ? UNION ALL SELECT i + 1 FROM n WHERE i < ?) INSERT INTO Contacts "
        "(ContID, ShownName) SELECT i, printf('Name %05d %.190c', i, 'x') FROM n";
    conn->Connection().exec("PRAGMA wal_autocheckpoint=0");
    conn->Execute(add, {1, 400});
    conn->Connection().exec("PRAGMA wal_checkpoint(TRUNCATE)");
    QFile::copy(live, backup);
    conn->Execute(
        "UPDATE Contacts SET ShownName = printf('Name %05d %.190c', ContID, 'y') "
        "WHERE ContID BETWEEN 100 AND 110");
    conn->Connection().exec("PRAGMA wal_checkpoint(TRUNCATE)");
    conn->Execute("UPDATE Contacts SET FullName = 'F' WHERE ContID BETWEEN 100 AND 110");
    conn->Execute(add, {401, 410});
    QFile::copy(live, path);
    QFile::copy(live + "-wal", path + "-wal");
}

// A writer in rollback-journal mode killed part-way through adding contacts first + 300 to
// first + 1999 to the first to first + 299 it committed: a small cache has put pages of the
// transaction into the file, and its -journal is hot.
void killedWriter(const QString& path, int first = 1) {
    const QString add =
        "WITH RECURSIVE n(i) AS (SELECT %1 UNION ALL SELECT i + 1 FROM n WHERE i < %2) INSERT "
        "INTO Contacts (ContID, ShownName) SELECT i, printf('Name %05d %.190c', i, 'x') FROM n;";
    core::EnsureDatabase(path);
    if (fork() == 0) {
        try {
            SQLite::Database conn(path.toStdString(), SQLite::OPEN_READWRITE);
            conn.exec(("PRAGMA journal_mode=DELETE;" + add.arg(first).arg(first + 299) +
                       "PRAGMA cache_size=5; BEGIN;" + add.arg(first + 300).arg(first + 1999))
                          .toStdString());
            raise(SIGKILL);
        } catch (...) {
        }
        _exit(1);
    }
    wait(nullptr);
}

}  // namespace

class ProgramStateTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::Fixture> f;
    std::unique_ptr<FakeMainWindow> window;

    void dropSecurity() { f->db().Execute("DROP TABLE Security"); }

private Q_SLOTS:
    void init() {
        f = std::make_unique<testsupport::Fixture>();
        window = std::make_unique<FakeMainWindow>();
        core::SetMainWindow(window.get());
    }
    void cleanup() {
        core::SetMainWindow(nullptr);
        window.reset();
        f.reset();
        ui::SetArrow();
        db::SetAccessCheck({});
    }

    void settingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("blanks first") << "   12" << 12.0;
        QTest::newRow("tab first") << "\t7" << 7.0;
        QTest::newRow("trailing text") << "12abc" << 12.0;
        QTest::newRow("negative") << "-1" << -1.0;
        QTest::newRow("plus") << "+5" << 5.0;
        QTest::newRow("fraction") << "1234.5" << 1234.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("second point") << "1.2.3" << 1.2;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("signed exponent") << "-2.5E-1x" << -0.25;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("exponent sign only") << "1e+" << 1.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("blank after sign") << "- 1" << 0.0;
        QTest::newRow("inner blank ends it") << "1 2" << 1.0;
        QTest::newRow("comma ends it") << "1,5" << 1.0;
        QTest::newRow("overflow") << "1e999" << 0.0;
    }
    void settingNumber() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(modGeneral::SettingNumber(text), number);
    }

    void flags_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");  // "<absent>": no such key in the store
        QTest::addColumn<bool>("on");
        const QStringList keys{"AltColors", "GridLines", "Security"};
        for (const QString& key : keys) {
            for (const char* v : {"1", "5", "-1", " 2", "0.5"}) {
                QTest::addRow("%s %s", qPrintable(key), v) << key << QString(v) << true;
            }
            for (const char* v : {"0", "abc", "", "-0", "0.0"}) {
                QTest::addRow("%s '%s'", qPrintable(key), v) << key << QString(v) << false;
            }
        }
        // First start: striped lists, no grid lines, no log-on.
        QTest::newRow("AltColors absent") << "AltColors"
                                          << "<absent>" << true;
        QTest::newRow("GridLines absent") << "GridLines"
                                          << "<absent>" << false;
        QTest::newRow("Security absent") << "Security"
                                         << "<absent>" << false;
    }
    void flags() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, on);
        if (value != "<absent>") store(key, value);
        bool* flag = key == "AltColors"   ? &g_blnAltColors
                     : key == "GridLines" ? &g_blnGridLines
                                          : &g_blnSecurity;
        *flag = !on;
        modGeneral::LoadRegistrySettings();
        QCOMPARE(*flag, on);
        // Reading never rewrites what the user's file holds.
        QCOMPARE(stored(key), value);
    }

    void getRegSettingReadsOnlyTheDataRootsFile() {
        QCOMPARE(modAPI::GetRegSetting("WindowLeft", "1500"), QString("1500"));
        store("WindowLeft", "");
        QCOMPARE(modAPI::GetRegSetting("WindowLeft", "1500"), QString(""));

        // Whatever the store was pointed at last, the program follows its data root.
        QTemporaryDir elsewhere;
        settings::SetFile(elsewhere.filePath("Application.ini"));
        store("WindowTop", "77");
        QCOMPARE(modAPI::GetRegSetting("WindowTop", "1500"), QString("1500"));
        QCOMPARE(settings::File(), f->settingsPath());
    }

    // A folder where the settings file should be: the defaults, said once, and left as it is.
    void settingsFolderGivesDefaults() {
        QVERIFY(QDir().mkpath(f->settingsPath()));
        g_blnSecurity = true;
        modGeneral::LoadRegistrySettings();
        QVERIFY(g_blnAltColors && !g_blnSecurity);
        f->prompts().answer(ui::Answer::OK);
        modGeneral::ReportSettingsSetAside();
        modGeneral::ReportSettingsSetAside();
        QCOMPARE(f->prompts().lastText(), "The settings file '" + f->settingsPath() +
                                              "' is a folder, not a file; Pomaret started with its default "
                                              "settings.\nNothing was renamed, and settings are not saved "
                                              "this session.");
        QCOMPARE(f->rowCount("ErrLog", "ErrNum = 3101"), 1);
        modGeneral::ShutDown();
        QVERIFY(QFileInfo(f->settingsPath()).isDir());
    }

    void saveWindowSettings_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QRectF>("frame");
        QTest::addColumn<bool>("positionKnown");
        QTest::addColumn<QStringList>("expected");  // WindowState, Left, Top, Width, Height
        const QRectF frame(1500, 1500, 12000, 9000);
        QTest::newRow("normal") << 0 << frame << true << QStringList{"0", "1500", "1500", "12000", "9000"};
        QTest::newRow("normal, fractions") << 0 << QRectF(-30, 1234.5, 13500.75, 9000.25) << true
                                           << QStringList{"0", "-30", "1234.5", "13500.75", "9000.25"};
        // Single precision: a third of 40000 is written with the digits a float holds.
        QTest::newRow("normal, thirds") << 0 << QRectF(100, 200, 40000.0 / 3, 9000) << true
                                        << QStringList{"0", "100", "200", "13333.333", "9000"};
        QTest::newRow("maximised") << 2 << frame << true << QStringList{"2", "11", "22", "33", "44"};
        QTest::newRow("minimised") << 1 << frame << true << QStringList{"1", "11", "22", "33", "44"};
        QTest::newRow("normal, position unknown")
            << 0 << QRectF(0, 0, 14000, 10000) << false << QStringList{"0", "11", "22", "14000", "10000"};
    }
    void saveWindowSettings() {
        QFETCH(int, state);
        QFETCH(QRectF, frame);
        QFETCH(bool, positionKnown);
        QFETCH(QStringList, expected);
        // The placement of an earlier close in the normal state.
        store("WindowState", "0");
        store("WindowLeft", "11");
        store("WindowTop", "22");
        store("WindowWidth", "33");
        store("WindowHeight", "44");
        window->state = state;
        window->frame = frame;
        window->positionKnown = positionKnown;

        modGeneral::SaveWindowSettings();

        const QStringList keys{"WindowState", "WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"};
        for (int i = 0; i < keys.size(); ++i) QCOMPARE(stored(keys.at(i)), expected.at(i));
        // Only the data root's own file, in the program's section.
        const QByteArray text = readAll(f->settingsPath());
        QVERIFY(text.contains("[Pomaret]"));
        for (const QString& key : keys) QVERIFY(text.contains(key.toLatin1() + '='));
        QCOMPARE(QDir(f->root()).entryList(QStringList{"*.ini"}, QDir::Files),
                 QStringList{"Application.ini"});
    }

    void saveWindowSettingsWithoutWindowWritesNothing() {
        core::SetMainWindow(nullptr);
        modGeneral::SaveWindowSettings();
        QVERIFY(!QFile::exists(f->settingsPath()));
    }

    void checkDatabaseVersion_data() {
        QTest::addColumn<QString>("existing");  // how the database stands before the check
        QTest::newRow("current") << "";
        QTest::newRow("capitals") << "CREATE TABLE SECURITY (RefNum INTEGER)";
    }
    void checkDatabaseVersion() {
        QFETCH(QString, existing);
        if (!existing.isEmpty()) {
            dropSecurity();
            f->db().Execute(existing);
        }
        modGeneral::CheckDatabaseVersion();  // any box would fail the test
        QCOMPARE(f->prompts().count(), 0);
    }

    void checkDatabaseVersionAddsSecurity() {
        dropSecurity();
        f->prompts().answer(ui::Answer::OK).answer(ui::Answer::OK);
        modGeneral::CheckDatabaseVersion();

        const auto& shown = f->prompts().shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).text,
                 QString("The database is not current.\nIt will be updated for you automatically"));
        QCOMPARE(shown.at(0).title, QString("Updating Database"));
        QCOMPARE(shown.at(0).style, ui::OKOnly);
        QCOMPARE(shown.at(1).text, QString("Update Complete."));
        QCOMPARE(shown.at(1).title, QString("Pomaret - Contact Manager"));
        QCOMPARE(shown.at(1).style, ui::OKOnly);

        f->reopen();  // what reached the file
        const db::TableDef& def = f->db().Table("Security");
        QCOMPARE(def.fields.size(), 3);
        QCOMPARE(def.fields.at(0).name, QString("RefNum"));
        QCOMPARE(def.fields.at(0).type, db::FieldType::AutoNumber);
        QCOMPARE(def.fields.at(1).name, QString("UserName"));
        QCOMPARE(def.fields.at(1).type, db::FieldType::Text);
        QCOMPARE(def.fields.at(1).size, 50);
        QCOMPARE(def.fields.at(2).name, QString("Password"));
        QCOMPARE(def.fields.at(2).type, db::FieldType::Text);
        QCOMPARE(def.fields.at(2).size, 50);
        QCOMPARE(def.indexes.size(), 2);
        for (const db::Index& index : def.indexes) {
            QCOMPARE(index.fields, QStringList{"RefNum"});
            QVERIFY(index.name == "PrimaryKey" ? index.primary : index.name == "RefNum" && !index.unique);
        }
        // Zero-length names and passwords are allowed; numbers come from the database.
        f->db().Execute("INSERT INTO Security (UserName, Password) VALUES ('', '')");
        f->db().Execute("INSERT INTO Security (UserName, Password) VALUES ('a', 'b')");
        QCOMPARE(f->scalar("SELECT MAX(RefNum) FROM Security").toInt(), 2);

        f->prompts().clear();
        modGeneral::CheckDatabaseVersion();
        QCOMPARE(f->prompts().count(), 0);
    }

    void failedCreationLeavesNothing() {
        dropSecurity();
        // A table holding the name the "RefNum" index needs: the table is made, its index is not.
        f->db().Execute("CREATE TABLE Security_RefNum (x INTEGER)");
        f->prompts().answer(ui::Answer::OK).answer(ui::Answer::OK);
        modGeneral::CheckDatabaseVersion();

        const auto& shown = f->prompts().shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).title, QString("Updating Database"));
        QVERIFY(shown.at(1).text.startsWith("The following Error occurred:\n\nDescription : "));
        QVERIFY(shown.at(1).text.contains("Security_RefNum"));
        QVERIFY(!f->db().TableExists("Security"));
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'modGeneral.CreateSecurityTable'"), 1);
        QCOMPARE(f->db().TransactionDepth(), 0);
    }

    void checkDatabaseVersionWithoutDatabaseThrows() {
        g_dbLocal.close();
        QVERIFY_THROWS_EXCEPTION(db::DbError, modGeneral::CheckDatabaseVersion());
    }

    void openLocalDbBuildsAMissingDatabase() {
        QTemporaryDir root;
        core::DataRoot::Set(root.path());
        makeWorkspace();
        modGeneral::OpenLocalDB();
        QCOMPARE(g_strDBPath, root.filePath("Data/PomaretData.db"));
        QVERIFY(g_dbLocal);
        QCOMPARE(g_dbLocal->Path(), g_strDBPath);
        QVERIFY(g_dbLocal->TableExists("Contacts"));
        QCOMPARE(window->statusHistory, (QStringList{"Opening Database, please wait...", "Ready ..."}));
        QVERIFY(!ui::IsBusy());
        g_dbLocal.close();
        core::DataRoot::Set(f->root());
    }

    void openLocalDbRefusal_data() {
        QTest::addColumn<QByteArray>("content");  // of the database file
        QTest::addColumn<bool>("workspace");
        QTest::addColumn<QString>("fault");  // what the access check refuses, or what is in the way
        QTest::addColumn<bool>("backup");    // a backup lies in Backup/
        QTest::addColumn<QString>("number");
        // %1 the file, %2 the backup, %3 its folder, %4 the root, %5 the folder a link to it leads to
        QTest::addColumn<QString>("description");
        QByteArray blank;
        QByteArray walBlank;  // as the program leaves it: in WAL mode, whose readers make working files
        {
            QTemporaryDir built;
            const QString path = built.filePath("PomaretData.db");
            core::EnsureDatabase(path);
            blank = readAll(path);
            db::Database::Open(path)->Close();
            walBlank = readAll(path);
        }
        const QByteArray truncated = blank.left(blank.size() / 2);
        // In WAL mode, so the look at it makes a -wal and -shm that must go again.
        auto changed = [](const char* sql) {
            QTemporaryDir dir;
            core::EnsureDatabase(dir.filePath("PomaretData.db"));
            SQLite::Database(dir.filePath("PomaretData.db").toStdString(), SQLite::OPEN_READWRITE)
                .exec(std::string("PRAGMA journal_mode=WAL; ") + sql);
            return readAll(dir.filePath("PomaretData.db"));
        };
        const QString notOurs = "'%1' is not a Pomaret database: ";
        QTest::newRow("another program's Contacts")
            << changed("DROP TABLE Contacts; CREATE TABLE Contacts (Id INTEGER); DROP TABLE ErrLog") << true
            << "" << false << "3003" << notOurs + "it has no table ErrLog.";
        QTest::newRow("column renamed")
            << changed("ALTER TABLE Contacts RENAME ShownName TO ShowName") << true << "" << false << "3003"
            << notOurs + "its table Contacts has no column ShownName.";
        const QString damaged =
            "The database file '%1' is damaged and has been set aside, with its working files, as "
            "'%1.damaged'. Delete '%1.damaged' to start with an empty database instead.";
        QTest::newRow("not a database") << QByteArray("just some text\n") << true << "" << true << "3003"
                                        << "'%1' is not a Pomaret database.";
        QTest::newRow("no workspace") << QByteArray() << false << "" << false << "3001"
                                      << "The database workspace has not been created.";
        QTest::newRow("file not readable") << blank << true << "read file" << false << "3017"
                                           << "The database file '%1' cannot be read: you have no "
                                              "permission to read it.";
        for (const char* suffix : {"-wal", "-shm", "-journal"}) {
            QTest::newRow(qPrintable(QString(suffix) + " not readable"))
                << walBlank << true << QString("read ") + suffix << false << "3017"
                << QString(
                       "The database's working file '%1%2' cannot be read: you have no permission to "
                       "read it.")
                       .replace("%2", suffix);
        }
        QTest::newRow("file read-only") << blank << true << "write file" << true << "3018"
                                        << "The database file '%1' cannot be written: you have no "
                                           "permission to change it.";
        QTest::newRow("folder read-only, no database yet")
            << QByteArray() << true << "write folder" << false << "3018"
            << "The folder '%3' cannot be written: you have no permission to create the database's "
               "working files there.";
        QTest::newRow("folder read-only, database in WAL mode")
            << walBlank << true << "write folder" << false << "3018"
            << "The folder '%3' cannot be written: you have no permission to create the database's "
               "working files there.";
        QTest::newRow("disk full") << walBlank << true << "space" << false << "3019"
                                   << "The disk that holds the folder '%3' is full: free some space on "
                                      "it for the database and its working files.";
        QTest::newRow("folder behind a link read-only")
            << walBlank << true << "link, write folder" << false << "3018"
            << "The folder '%5' cannot be written: you have no permission to create the database's "
               "working files there.";
        QTest::newRow("disk behind a link full") << walBlank << true << "link, space" << false << "3019"
                                                 << "The disk that holds the folder '%5' is full: free some "
                                                    "space on it for the database and its working files.";
        QTest::newRow("disk behind a dangling link full")
            << QByteArray() << true << "link, space" << false << "3019"
            << "The disk that holds the folder '%5' is full: free some space on it for the database and its "
               "working files.";
        QTest::newRow("data root is a file") << QByteArray() << true << "root is a file" << false << "3020"
                                             << "The data root '%4' is a file, not a folder.";
        QTest::newRow("database path is a folder")
            << QByteArray() << true << "path is a folder" << false << "3020"
            << "The database path '%1' is a folder, not a file.";
        QTest::newRow("damaged, no backup") << truncated << true << "" << false << "3016" << damaged;
        QTest::newRow("damaged, with backup")
            << truncated << true << "" << true << "3016"
            << damaged + " A backup of it is '%2': copy it to '%1' to go on with the data of that backup.";
    }
    void openLocalDbRefusal() {
        QFETCH(QByteArray, content);
        QFETCH(bool, workspace);
        QFETCH(QString, fault);
        QFETCH(bool, backup);
        QFETCH(QString, number);
        QFETCH(QString, description);
        QTemporaryDir dir;
        const QString root = fault == "root is a file" ? dir.filePath("Pomaret") : dir.path();
        core::DataRoot::Set(root);
        const QString path = core::DataRoot::DatabasePath();
        const QString folder = QFileInfo(path).absolutePath();
        if (fault == "root is a file") {
            QFile file(root);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(folder));
        }
        if (fault == "path is a folder") QVERIFY(QDir().mkpath(path));
        const QString elsewhere = dir.filePath("elsewhere");
        const QString target = fault.startsWith("link") ? elsewhere + "/PomaretData.db" : path;
        if (fault.startsWith("link")) QVERIFY(QDir().mkpath(elsewhere) && QFile::link(target, path));
        if (!content.isEmpty()) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const QString working = fault.startsWith("read -") ? path + fault.mid(5) : QString();
        if (!working.isEmpty()) QVERIFY(QFile(working).open(QIODevice::WriteOnly));
        if (backup) {
            QVERIFY(QDir().mkpath(QFileInfo(core::DataRoot::BackupPath()).absolutePath()));
            QVERIFY(QFile::copy(f->databasePath(), core::DataRoot::BackupPath()));
        }
        db::SetAccessCheck([&](const QString& p, db::Access access) {
            if (fault == "read file") return !(p == path && access == db::Access::Read);
            if (!working.isEmpty()) return !(p == working && access == db::Access::Read);
            if (fault == "link, write folder") return !(p == elsewhere && access == db::Access::Write);
            if (fault == "link, space") return !(p == elsewhere && access == db::Access::Space);
            if (fault == "write file") return !(p == path && access == db::Access::Write);
            if (fault == "write folder") return !(p == folder && access == db::Access::Write);
            if (fault == "space") return !(p == folder && access == db::Access::Space);
            return true;
        });
        if (workspace) makeWorkspace();

        f->prompts().answer(ui::Answer::OK);
        modGeneral::OpenLocalDB();
        db::SetAccessCheck({});
        core::DataRoot::Set(f->root());

        const QString expected = "The following Error occurred:\n\nDescription : " +
                                 description.replace("%1", path)
                                     .replace("%2", dir.filePath("Backup/PomaretData.db"))
                                     .replace("%3", folder)
                                     .replace("%4", root)
                                     .replace("%5", elsewhere) +
                                 "\nNumber : " + number;
        QCOMPARE(f->prompts().lastText(), expected);
        QCOMPARE(f->prompts().beeps(), 1);
        QCOMPARE(g_dbLocal.pointer(), &f->db());  // unchanged
        QCOMPARE(f->rowCount("ErrLog"), 0);
        // A damaged file is kept under its set-aside name, byte for byte.
        if (!content.isEmpty()) QCOMPARE(readAll(number == "3016" ? path + ".damaged" : path), content);
        // Left exactly as found: no journal, no blank database beside or instead of it.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(),
                 (content.isEmpty() ? 0 : 1) + (working.isEmpty() ? 0 : 1));
        if (fault.startsWith("link"))
            QCOMPARE(QDir(elsewhere).entryList(QDir::Files | QDir::Hidden).size(), content.isEmpty() ? 0 : 1);
        QCOMPARE(window->StatusText(), QString("Ready ..."));
        QVERIFY(!ui::IsBusy());
    }

    // A -wal left by a killed session belongs to its own file only: never played into a blank
    // database, nor into the backup copied where a damaged file stood, nor missed behind a link. A
    // -journal is played back, then the whole file checked: its own keeps every committed row, the
    // backup copied in over another's is refused.
    void filesLeftBesideAtStartUp_data() {
        QTest::addColumn<QString>("damage");
        // Opened in the end with: 0, a blank database built; 400, the backup copied in where the file
        // refused as damaged stood; 300, the killed writer's committed ones.
        QTest::addColumn<int>("contacts");
        QTest::newRow("empty database, -wal of another") << "empty" << 0;
        QTest::newRow("no database, -wal of another") << "missing" << 0;
        QTest::newRow("database truncated to a half") << "truncated" << 400;
        QTest::newRow("page torn, found by the check") << "torn" << 400;
        QTest::newRow("page torn, database reached by a link") << "linked" << 400;
        QTest::newRow("backup copied in over the -wal") << "backup" << 400;
        QTest::newRow("hot -journal of a killed writer") << "journal" << 300;
        QTest::newRow("-journal of zeros, nothing to play back") << "zeros" << 300;
        QTest::newRow("-journal of zeros, backup copied in over the -wal") << "zeros, backup" << 400;
        QTest::newRow("backup copied in over a hot -journal") << "journal, backup" << 400;
    }
    void filesLeftBesideAtStartUp() {
        QFETCH(QString, damage);
        QFETCH(int, contacts);
        QTemporaryDir root;
        core::DataRoot::Set(root.path());
        const QString path = core::DataRoot::DatabasePath();
        QVERIFY(QDir(root.path()).mkpath("Data") && QDir(root.path()).mkpath("Backup"));
        const QString real = damage == "linked" ? root.filePath("live.db") : path;
        if (damage == "linked") QVERIFY(QFile::link(real, path));
        if (damage == "journal" || damage == "zeros") {
            killedWriter(path);
            if (damage == "zeros") db::Database::Open(path)->Close();  // played back
        } else if (damage == "journal, backup") {
            // The writer worked on the data of the backup, and added to it since.
            killedSession(root.filePath("other.db"), core::DataRoot::BackupPath());
            QVERIFY(QFile::copy(core::DataRoot::BackupPath(), path));
            killedWriter(path, 1001);
        } else {
            killedSession(real, core::DataRoot::BackupPath());
        }
        const QByteArray wal = readAll(real + "-wal");
        const qint64 size = QFileInfo(real).size();
        QFile file(real);
        QVERIFY(file.open(QIODevice::ReadWrite));
        if (damage == "torn" || damage == "linked") {
            QVERIFY(file.seek(size / 2 / 4096 * 4096) && file.write(QByteArray(4096, 'Z')));
        }
        if (damage == "empty" || damage == "truncated") file.resize(damage == "empty" ? 0 : size / 2);
        file.close();
        // A journal that SQLite finds nothing in.
        if (damage.startsWith("zeros"))
            QVERIFY(QFile(path + "-journal").open(QIODevice::WriteOnly) &&
                    QFile::resize(path + "-journal", 4096));
        if (damage == "missing") QVERIFY(file.remove());
        if (damage.endsWith("backup"))
            QVERIFY(file.remove() && QFile::copy(core::DataRoot::BackupPath(), path));
        makeWorkspace();

        if (contacts == 400) {
            f->prompts().answer(ui::Answer::OK).answer(ui::Answer::OK);
            modGeneral::OpenLocalDB();
            const QString refused = f->prompts().lastText();
            QVERIFY2(refused.contains("as '" + real + ".damaged'") && refused.endsWith("Number : 3016"),
                     qPrintable(refused));
            QVERIFY(window->statusHistory.contains("Checking Database, please wait..."));
            QCOMPARE(readAll(real + ".damaged-wal"), wal);
            // The file played back has left rollback mode: it has no -shm.
            QCOMPARE(QFile::exists(real + ".damaged-shm"), damage != "journal, backup");
            modGeneral::OpenLocalDB();  // the next start says it again and builds nothing
            QCOMPARE(f->prompts().lastText(), refused);
            QVERIFY(!QFile::exists(path));
            QVERIFY(QFile::copy(core::DataRoot::BackupPath(), real));
        }
        if (contacts == 0) f->prompts().answer(ui::Answer::OK);
        modGeneral::OpenLocalDB();
        QCOMPARE(g_dbLocal->IntegrityCheck(), QStringList{"ok"});
        QCOMPARE(g_dbLocal->TableDefs().size(), 21);
        QCOMPARE(g_dbLocal->OpenRecordset("SELECT COUNT(*) FROM Contacts").Value(0).toInt(), contacts);
        // One with nothing to play back SQLite leaves where it is, and the start is a clean one.
        QCOMPARE(QFile::exists(real + "-journal"), damage == "zeros");
        QCOMPARE(window->statusHistory.contains("Checking Database, please wait..."),
                 contacts != 0 && damage != "zeros");
        if (contacts == 0) {
            QCOMPARE(readAll(path + ".stale-wal"), wal);
            QCOMPARE(f->prompts().lastText(),
                     "The database file '" + path + "' was " + damage +
                         ", so a new, empty database was made in its place.\nThe last backup is '" +
                         core::DataRoot::BackupPath() +
                         "': to go on with its data, use File > Database Utilities > Restore Data ...\nFiles "
                         "set aside from before are in '" +
                         root.filePath("Data") + "': PomaretData.db.stale-wal.");
        }
        g_dbLocal.close();
        core::DataRoot::Set(f->root());
    }

    void shutDown_data() {
        QTest::addColumn<bool>("storeWritable");
        QTest::newRow("store writable") << true;
        QTest::newRow("store not writable") << false;
    }
    void shutDown() {
        QFETCH(bool, storeWritable);
        if (!storeWritable) QVERIFY(QDir().mkpath(f->settingsPath()));
        window->state = 0;
        window->frame = QRectF(900, 600, 12500, 9100);
        modGeneral::DisableContextCommands();
        QVERIFY(!window->contextCommands);

        modGeneral::ShutDown();  // no box, no throw, whatever fails

        QVERIFY(!g_dbLocal);
        QVERIFY(g_dbLocal.pointer() == nullptr);
        QVERIFY(!f->db().IsOpen());
        if (storeWritable) {
            QCOMPARE(stored("WindowWidth"), QString("12500"));
            QCOMPARE(stored("WindowLeft"), QString("900"));
        }
    }
};

POMARET_TEST(ProgramStateTest)
#include "tst_ProgramState.moc"
