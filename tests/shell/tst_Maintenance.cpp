#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "core/BlankDatabase.h"
#include "core/DataRoot.h"
#include "core/Trap.h"
#include "core/frmSecurity.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/Maintenance.h"
#include "shell/WindowDouble.h"
#include "shell/frmBackRest.h"
#include "shell/frmHome.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");
const QString kFailure = QStringLiteral("An un-known error occurred while %1!\nSorry for the inconvenience");

// The shown names of a database file, read without changing it.
QStringList NamesIn(const QString& path) {
    SQLite::Database file(path.toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement st(file, "SELECT ShownName FROM Contacts ORDER BY ContID");
    QStringList names;
    while (st.executeStep()) names << QString::fromUtf8(st.getColumn(0).getText());
    return names;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes, qint64 at = 0) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(at));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList FolderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QStringList OpenFormNames() {
    QStringList names;
    for (QWidget* w : ui::ScreenRegistry::instance().openForms()) names << w->objectName();
    return names;
}

// SQLite's own integrity check of a file, on a connection of its own.
QStringList CheckOf(const QString& path) {
    return db::Database::CheckFile(path, core::ProgramSchema());
}

}  // namespace

// Backup, restore, compact and repair end to end on the fixture's real files: the commands as the
// menu calls them, boxes answered through the prompt seam.
class MaintenanceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<WindowDouble> window;

    QString backupPath() const { return core::DataRoot::BackupPath(); }
    QStringList names() {
        QStringList out;
        db::Recordset rs =
            f->db().OpenRecordset(QStringLiteral("SELECT ShownName FROM Contacts ORDER BY ContID"));
        for (; !rs.Eof(); rs.MoveNext()) out << rs.Value(0).toString();
        return out;
    }
    void addContacts(int first, int count, int nameLength = 12) {
        db::Transaction t(f->db());
        for (int id = first; id < first + count; ++id) {
            const QString name = QStringLiteral("Name %1 ").arg(id, 5, 10, QLatin1Char('0'));
            f->db().Execute(QStringLiteral("INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES "
                                           "(?, 'C', 'Default', ?)"),
                            {id, name.leftJustified(nameLength, QLatin1Char('x'))});
        }
        t.commit();
    }
    int logRows(const QString& procName) {
        return f->rowCount(QStringLiteral("ErrLog"), QStringLiteral("ModName = ?"), {procName});
    }
    // A screen the command must close (the home screen is always open beforehand, as in the program).
    QWidget* openScreens() {
        QWidget* home = ui::ScreenRegistry::instance().open(QStringLiteral("frmHome"));
        auto* other = new QWidget;
        other->setObjectName(QStringLiteral("frmNames"));
        other->setAttribute(Qt::WA_DeleteOnClose);
        ui::ScreenRegistry::instance().showScreen(other);
        return home;
    }
    int freePages() { return f->db().Connection().execAndGet("PRAGMA freelist_count").getInt(); }
    void typeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        QTest::keyClicks(box, text);
    }
    // Bytes over a page in the middle of the file, as a failing disk leaves them: SQLite's own check
    // then stops with "malformed". The bulk is in Lookup, so the contacts stay readable.
    void tearMiddlePage() {
        f->db().Connection().exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
            "INSERT INTO Lookup (ItemID, Description) SELECT 'T', printf('%.100c', 'a') FROM n");
        f->db().Connection().exec("PRAGMA wal_checkpoint(TRUNCATE)");
        const qint64 size = QFileInfo(f->databasePath()).size();
        Write(f->databasePath(), QByteArray(4096, '\x5a'), size / 2 / 4096 * 4096);
        f->reopen();
    }
    void backUp() {
        shell::mnuFileBackupDB_Click();
        QCOMPARE(frmBackRest::LastCaption(), QStringLiteral("Data Backup Complete ..."));
    }
    // A sound backup of ours, but with pages of another size than the open file's: a restore from it
    // fails part-way and is rolled back.
    void backUpWithOtherPageSize() {
        QDir().mkpath(QFileInfo(backupPath()).absolutePath());
        SQLite::Database other(backupPath().toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        other.exec("PRAGMA page_size=8192");
        other.exec(core::SchemaScript().toStdString());
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        window = std::make_unique<WindowDouble>();
        g_wsMain = std::make_unique<Workspace>(Workspace{"MainWS", "admin", ""});
        ui::ScreenRegistry::instance().registerScreen(QStringLiteral("frmHome"), &frmHome::Open);
        frmBackRest::SetTickInterval(0);
    }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmBackRest::SetTickInterval(700);
        window.reset();
        f.reset();
    }

    // The first backup makes the folder; a second one replaces the copy; each copy is a checked,
    // closed, single file.
    void backupWritesACheckedCopyAndReplacesIt() {
        addContacts(1, 3);
        backUp();
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
        QCOMPARE(NamesIn(backupPath()), names());
        QCOMPARE(db::Database::CheckFile(backupPath(), core::ProgramSchema()), QStringList{"ok"});
        // Rollback-journal mode in the header (bytes 18 and 19), nothing beside it.
        QCOMPARE(Bytes(backupPath()).mid(18, 2), QByteArray("\x01\x01", 2));
        QCOMPARE(FolderEntries(QFileInfo(backupPath()).absolutePath()), QStringList{"PomaretData.db"});

        addContacts(4, 2);
        backUp();
        QCOMPARE(NamesIn(backupPath()).size(), 5);
        QCOMPARE(FolderEntries(QFileInfo(backupPath()).absolutePath()), QStringList{"PomaretData.db"});
        // The database itself is untouched and still open.
        QVERIFY(g_dbLocal);
        QCOMPARE(names().size(), 5);
    }

    // Another process commits batches of five rows while the backup runs: the copy holds whole
    // batches only, at least those committed before it started.
    void backupWhileAnotherProcessWrites() {
        int pipeFds[2];
        QVERIFY(pipe(pipeFds) == 0);
        const QString path = f->databasePath();
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            try {
                auto conn = db::Database::Open(path);
                for (int i = 1;; ++i) {
                    db::Transaction t(*conn);
                    for (int j = 0; j < 5; ++j) {
                        conn->Execute(
                            QStringLiteral("INSERT INTO Lookup (ItemID, Description) VALUES ('W', ?)"),
                            {QStringLiteral("batch %1").arg(i)});
                    }
                    t.commit();
                    if (write(pipeFds[1], &i, sizeof i) != sizeof i) _exit(2);
                }
            } catch (...) {
                _exit(3);
            }
        }
        ::close(pipeFds[1]);
        auto nextCommit = [&] {
            int n = 0;
            return read(pipeFds[0], &n, sizeof n) == sizeof n ? n : -1;
        };
        int before = 0;
        while (before >= 0 && before < 50) before = nextCommit();

        shell::mnuFileBackupDB_Click();
        const int after = nextCommit();

        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ::close(pipeFds[0]);
        QVERIFY2(before >= 50 && after > before, "the writer stopped early");
        QCOMPARE(frmBackRest::LastCaption(), QStringLiteral("Data Backup Complete ..."));

        QCOMPARE(db::Database::CheckFile(backupPath(), core::ProgramSchema()), QStringList{"ok"});
        SQLite::Database copy(backupPath().toStdString(), SQLite::OPEN_READONLY);
        const int rows = copy.execAndGet("SELECT count(*) FROM Lookup WHERE ItemID = 'W'").getInt();
        QVERIFY2(rows >= before * 5,
                 qPrintable(QStringLiteral("%1 rows, %2 commits before").arg(rows).arg(before)));
        QCOMPARE(rows % 5, 0);
    }

    void failedBackupKeepsTheLastOne_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("earlier");  // a backup was there before and must stay as it was
        QTest::addColumn<QString>("logged");
        QTest::newRow("fault in the copy") << "fault" << true << "modAPI.BackupDataFiles";
        QTest::newRow("transaction left open") << "transaction" << true << "";
        QTest::newRow("Backup is a file") << "file" << false << "modAPI.BackupDataFiles";
        QTest::newRow("copy's place is a folder") << "folder" << false << "modAPI.BackupDataFiles";
        QTest::newRow("database damaged") << "torn" << true << "modAPI.BackupDataFiles";
    }
    void failedBackupKeepsTheLastOne() {
        QFETCH(QString, how);
        QFETCH(bool, earlier);
        QFETCH(QString, logged);
        addContacts(1, 3);
        const QString folder = QFileInfo(backupPath()).absolutePath();
        if (earlier) backUp();
        const QByteArray previous = Bytes(backupPath());
        addContacts(10, 2);

        if (how == QLatin1String("fault")) {
            core::InjectFault(QStringLiteral("modAPI.BackupDataFiles"), 61, QStringLiteral("Disk full"));
        } else if (how == QLatin1String("transaction")) {
            f->db().BeginTrans();
        } else if (how == QLatin1String("torn")) {
            tearMiddlePage();
        } else if (how == QLatin1String("file")) {
            Write(folder, "not a folder");
        } else {
            QVERIFY(QDir().mkpath(backupPath() + QStringLiteral("/inside")));
        }
        f->prompts().answer(ui::Answer::OK);
        shell::mnuFileBackupDB_Click();
        if (how == QLatin1String("transaction")) f->db().Rollback();

        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(),
                 kFailure.arg(QStringLiteral("Backing Up the Database")) +
                     (how == QLatin1String("torn")
                          ? QStringLiteral("\n\nThe database is damaged, so no backup "
                                           "was made; the last backup was kept as it was.")
                          : QString()));
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QVERIFY(frmBackRest::LastCaption() != QStringLiteral("Data Backup Complete ..."));
        if (!logged.isEmpty()) QCOMPARE(logRows(logged), 1);
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
        if (QFileInfo(folder).isDir()) {
            for (const QString& name : FolderEntries(folder))
                QVERIFY2(!name.startsWith(u'.'), qPrintable(name));
        }
        if (earlier) {
            QCOMPARE(Bytes(backupPath()), previous);
            QCOMPARE(NamesIn(backupPath()).size(), 3);
            QCOMPARE(FolderEntries(folder), QStringList{"PomaretData.db"});
        }
        QVERIFY(g_dbLocal);
        QCOMPARE(names().size(), 5);
    }

    void restoreWithoutGoingAhead_data() {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<QString>("text");  // the last box
        QTest::newRow("no backup") << false << "There is no Backup Data to Restore from";
        QTest::newRow("answered No") << true << "Database Restore Canceled";
    }
    void restoreWithoutGoingAhead() {
        QFETCH(bool, backup);
        QFETCH(QString, text);
        addContacts(1, 2);
        if (backup) backUp();
        addContacts(3, 1);
        QWidget* home = openScreens();
        db::Database* before = g_dbLocal.pointer();

        if (backup) f->prompts().answer(ui::Answer::No);
        f->prompts().answer(ui::Answer::OK);
        shell::mnuFileRestoreDB_Click();

        if (backup) {
            const auto& question = f->prompts().shown().at(0);
            QCOMPARE(question.text,
                     QStringLiteral("Restoring the Database from backup files will replace the "
                                    "existing database.\nAre you sure you want to Contunue?"));
            QCOMPARE(question.title, QStringLiteral("Restore From Backup Data"));
            QCOMPARE(question.style, ui::YesNo);
        }
        QCOMPARE(f->prompts().lastText(), text);
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(names().size(), 3);
        QCOMPARE(g_dbLocal.pointer(), before);
        QCOMPARE(OpenFormNames(), (QStringList{"frmHome", "frmNames"}));
        QCOMPARE(ui::ScreenRegistry::instance().find(QStringLiteral("frmHome")), home);
    }

    void restorePutsTheBackupBack() {
        addContacts(1, 3);
        backUp();
        const QStringList saved = names();
        f->db().Execute(QStringLiteral("DELETE * FROM Contacts WHERE ContID = 2"));
        addContacts(7, 4);
        openScreens();

        f->prompts().answer(ui::Answer::Yes);
        shell::mnuFileRestoreDB_Click();

        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(frmBackRest::LastCaption(), QStringLiteral("Data Restore Complete ..."));
        QCOMPARE(names(), saved);
        // The program's own connection is open again and reads the restored rows.
        QVERIFY(g_dbLocal);
        QCOMPARE(g_dbLocal->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM Contacts")).Value(0).toInt(),
                 3);
        QCOMPARE(OpenFormNames(), QStringList{"frmHome"});
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
        QVERIFY(!QFile::exists(shell::PreRestorePath()));
        QCOMPARE(f->db().IntegrityCheck(), QStringList{"ok"});
        // The backup is still there for the next time.
        QCOMPARE(NamesIn(backupPath()), saved);
    }

    // Copies kept by restores that were cut off may hold the only copy of the data: the next restore,
    // whether it works or is rolled back, leaves them as they were, and each start names them all.
    void keptCopiesOutliveTheNextRestore_data() {
        QTest::addColumn<bool>("works");
        QTest::newRow("restore that works") << true;
        QTest::newRow("restore that is rolled back") << false;
    }
    void keptCopiesOutliveTheNextRestore() {
        QFETCH(bool, works);
        const QString kept = shell::PreRestorePath();
        addContacts(1, 20);
        f->db().BackupTo(kept + ".1");
        f->db().Execute(QStringLiteral("DELETE * FROM Contacts WHERE ContID > 10"));
        f->db().BackupTo(kept);
        const QByteArray copies[] = {Bytes(kept + ".1"), Bytes(kept)};
        f->db().Execute(QStringLiteral("DELETE * FROM Contacts WHERE ContID > 5"));
        works ? backUp() : backUpWithOtherPageSize();

        f->prompts().answer(ui::Answer::Yes).answer(ui::Answer::OK);
        if (!works) f->prompts().answer(ui::Answer::OK);  // the failure box
        shell::mnuFileRestoreDB_Click();
        shell::ReportLeftovers();

        QCOMPARE(names().size(), 5);
        QCOMPARE(f->db().IntegrityCheck(), QStringList{"ok"});
        QCOMPARE(Bytes(kept + ".1"), copies[0]);
        QCOMPARE(Bytes(kept + ".2"), copies[1]);
        QVERIFY(!QFile::exists(kept));
        QVERIFY(f->prompts().lastText().contains("kept as '" + kept + ".1', '" + kept + ".2'."));
    }

    void damagedBackupIsRefused_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("bytes overwritten in the middle") << "middle";
        QTest::newRow("not a database") << "text";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("another program's database") << "foreign";
        QTest::newRow("a table missing") << "incomplete";
    }
    void damagedBackupIsRefused() {
        QFETCH(QString, damage);
        addContacts(1, 400, 200);
        backUp();
        const QByteArray good = Bytes(backupPath());
        if (damage == QLatin1String("middle")) {
            const qint64 page = 4096;
            Write(backupPath(), QByteArray(page, '\x5a'), (good.size() / 2 / page) * page);
        } else if (damage == QLatin1String("text")) {
            QFile::remove(backupPath());
            Write(backupPath(), "ContID,ShownName\n1,Smith\n");
        } else if (damage == QLatin1String("empty")) {
            QFile::resize(backupPath(), 0);
        } else if (damage == QLatin1String("incomplete")) {
            SQLite::Database(backupPath().toStdString(), SQLite::OPEN_READWRITE).exec("DROP TABLE Remind");
        } else {
            QFile::remove(backupPath());
            SQLite::Database other(backupPath().toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
            other.exec("CREATE TABLE Notes (Body TEXT)");
        }
        f->db().Execute(QStringLiteral("DELETE * FROM Contacts WHERE ContID > 390"));
        const QStringList live = names();
        QWidget* home = openScreens();

        f->prompts().answer(ui::Answer::Yes).answer(ui::Answer::OK);
        shell::mnuFileRestoreDB_Click();

        QCOMPARE(f->prompts().lastText(),
                 QStringLiteral("The Backup Data is damaged and cannot be restored "
                                "from.\nThe current database has not been changed."));
        QCOMPARE(logRows(QStringLiteral("frmMain.mnuFileRestoreDB_Click")), 1);
        QCOMPARE(names(), live);
        QCOMPARE(f->db().IntegrityCheck(), QStringList{"ok"});
        QVERIFY(g_dbLocal);
        QCOMPARE(ui::ScreenRegistry::instance().find(QStringLiteral("frmHome")), home);
        QCOMPARE(OpenFormNames().size(), 2);
        QVERIFY(!QFile::exists(shell::PreRestorePath()));
    }

    // Failures once the restore has begun: reported, never "complete"; the database as it was is
    // open again, and no copy of it is left beside it, as it was rolled back.
    void failedRestoreKeepsTheDatabase_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("copy of the database cannot be made") << "blocked";
        QTest::newRow("backup the engine cannot copy in") << "pagesize";
    }
    void failedRestoreKeepsTheDatabase() {
        QFETCH(QString, how);
        addContacts(1, 3);
        if (how == QLatin1String("blocked")) {
            backUp();
            QVERIFY(QDir().mkpath(shell::PreRestorePath() + QStringLiteral("/inside")));
        } else {
            backUpWithOtherPageSize();
        }
        const QStringList live = names();
        openScreens();

        f->prompts().answer(ui::Answer::Yes).answer(ui::Answer::OK);
        shell::mnuFileRestoreDB_Click();

        QCOMPARE(f->prompts().lastText(), kFailure.arg(QStringLiteral("Restoring the Database")));
        QVERIFY(frmBackRest::LastCaption() != QStringLiteral("Data Restore Complete ..."));
        QCOMPARE(names(), live);
        QVERIFY(g_dbLocal);
        QCOMPARE(g_dbLocal->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM Contacts")).Value(0).toInt(),
                 3);
        QCOMPARE(logRows(QStringLiteral("modAPI.RestoreDataFiles")), 1);
        QCOMPARE(OpenFormNames(), QStringList{"frmHome"});
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
        QVERIFY(!QFileInfo(shell::PreRestorePath()).isFile());
        QCOMPARE(f->db().IntegrityCheck(), QStringList{"ok"});
    }

    // A dialog that stays open after the screens were closed (the security dialog's save question
    // answered Yes) holds a recordset on the database: compact, repair and restore stop before they
    // touch anything. A command that fails with only a dialog open shows the home screen beside it too.
    void dialogLeftOpen_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("text");  // the last box
        const QString refused = QStringLiteral("Please close every open window before %1 the database.");
        QTest::newRow("compact refused") << "compact" << false << refused.arg("compacting");
        QTest::newRow("repair refused") << "repair" << false << refused.arg("repairing");
        QTest::newRow("restore refused") << "restore" << false << refused.arg("restoring");
        QTest::newRow("compact failed") << "compact" << true << kFailure.arg("Compacting the Database");
        QTest::newRow("repair failed") << "repair" << true << kFailure.arg("Repairing the Database");
        QTest::newRow("restore failed") << "restore" << true << kFailure.arg("Restoring the Database");
    }
    void dialogLeftOpen() {
        QFETCH(QString, command);
        QFETCH(bool, fails);
        QFETCH(QString, text);
        addContacts(1, 300, 200);
        backUp();
        f->db().Execute(QStringLiteral("DELETE * FROM Contacts WHERE ContID > 20"));
        const QStringList live = names();
        const int free = freePages();
        QVERIFY(free > 0);
        db::Database* before = g_dbLocal.pointer();

        if (!fails) openScreens();
        QPointer<frmSecurity> dialog = frmSecurity::Open(nullptr);
        if (fails) {
            const QString proc = command == QLatin1String("compact")  ? "modGeneral.CompactDB"
                                 : command == QLatin1String("repair") ? "frmMain.mnuFileRepDB_Click"
                                                                      : "frmMain.mnuFileRestoreDB_Click";
            core::InjectFault(proc, 3049, QStringLiteral("Cannot open"));
        } else {
            dialog->cmdOpts[0]->click();
            typeInto(dialog->Text1[0], QStringLiteral("anna"));
            if (command == QLatin1String("restore")) f->prompts().answer(ui::Answer::Yes);
            f->prompts().answer(ui::Answer::Yes);  // the dialog's save question: it stays open
        }
        f->prompts().answer(ui::Answer::OK);
        if (command == QLatin1String("compact")) {
            shell::mnuFileCompDB_Click();
        } else if (command == QLatin1String("repair")) {
            shell::mnuFileRepDB_Click();
        } else {
            shell::mnuFileRestoreDB_Click();
        }

        QCOMPARE(f->prompts().lastText(), text);
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(g_dbLocal.pointer(), before);
        QCOMPARE(names(), live);
        QCOMPARE(freePages(), free);
        QVERIFY(!QFile::exists(shell::PreRestorePath()));
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
        QCOMPARE(OpenFormNames(), (QStringList{"frmSecurity", "frmHome"}));
        QVERIFY(dialog && dialog->isVisible());
        if (fails) return;

        // The dialog still saves what the user typed into it.
        typeInto(dialog->Text1[1], QStringLiteral("Secret1"));
        typeInto(dialog->Text1[2], QStringLiteral("Secret1"));
        dialog->cmdOpts[3]->click();
        QCOMPARE(f->rowCount(QStringLiteral("Security"), QStringLiteral("UserName = 'anna'")), 1);
    }

    void compactKeepsEveryRow() {
        addContacts(1, 300, 200);
        f->db().Execute(QStringLiteral("DELETE * FROM Contacts WHERE ContID > 20"));
        const QStringList kept = names();
        QVERIFY(f->db().Connection().execAndGet("PRAGMA freelist_count").getInt() > 0);
        openScreens();

        f->prompts().answer(ui::Answer::OK);
        shell::mnuFileCompDB_Click();

        QCOMPARE(f->prompts().lastText(), QStringLiteral("The database was sucessfully compacted"));
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(names(), kept);
        QCOMPARE(f->db().Connection().execAndGet("PRAGMA freelist_count").getInt(), 0);
        QCOMPARE(f->db().IntegrityCheck(), QStringList{"ok"});
        QCOMPARE(OpenFormNames(), QStringList{"frmHome"});
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
        QVERIFY(g_dbLocal);
    }

    void repair_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("text");
        const QString failed = kFailure.arg(QStringLiteral("Repairing the Database"));
        QTest::newRow("sound") << "sound"
                               << "The Database was sucessfully repaired.";
        const QString restore = QStringLiteral(
            "The database is damaged. Restore it from the last backup with File > Database Utilities > "
            "Restore Data ...");
        QTest::newRow("damaged index, backup there") << "damaged+backup" << restore;
        QTest::newRow("damaged index, no backup")
            << "damaged"
            << "The database is damaged, and there is no backup to restore it from.";
        QTest::newRow("fault") << "fault" << failed;
        QTest::newRow("page torn, check stops, backup there") << "torn+backup" << restore;
    }
    void repair() {
        QFETCH(QString, state);
        QFETCH(QString, text);
        addContacts(1, 50);
        if (state.endsWith(QLatin1String("backup"))) backUp();
        if (state.startsWith(QLatin1String("damaged"))) {
            // The index now claims to hold another column than the one its entries were made from.
            f->db().Connection().exec(
                "PRAGMA writable_schema=ON;"
                "UPDATE sqlite_master SET sql = 'CREATE INDEX Contacts_ShownName ON Contacts (FullName)' "
                "WHERE name = 'Contacts_ShownName';"
                "PRAGMA writable_schema=OFF;");
            f->reopen();
            QVERIFY(f->db().IntegrityCheck() != QStringList{"ok"});
        }
        if (state.startsWith(QLatin1String("torn"))) tearMiddlePage();
        if (state == QLatin1String("fault")) {
            core::InjectFault(QStringLiteral("frmMain.mnuFileRepDB_Click"), 3049,
                              QStringLiteral("Cannot open"));
        }
        const QStringList before = names();
        const QStringList check = CheckOf(f->databasePath());
        openScreens();

        f->prompts().answer(ui::Answer::OK);
        shell::mnuFileRepDB_Click();

        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), text);
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(names(), before);
        QCOMPARE(CheckOf(f->databasePath()), check);  // damage left as found, for the restore
        QCOMPARE(logRows(QStringLiteral("frmMain.mnuFileRepDB_Click")),
                 state == QLatin1String("sound") ? 0 : 1);
        QVERIFY(g_dbLocal);
        QVERIFY(OpenFormNames().contains(QStringLiteral("frmHome")));
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
    }

    // Files a start leaves for the user: a copy set aside beside older ones (the one between them
    // deleted) takes the number after the highest, and the message names it; a blank database made
    // behind a link (or two) whose file is not there yet, or is empty, gets the mode and folder of a
    // plain first start, and the start holds that folder: a second lock on it is refused.
    void filesLeftForTheUser_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("set aside after a deleted copy") << ".damaged.2";
        QTest::newRow("set aside, the highest copy only a -wal") << ".damaged.2-wal";
        QTest::newRow("set aside beside a stray number that has no next") << ".damaged.2147483647";
        QTest::newRow("blank database behind a dangling link") << "store";
        QTest::newRow("blank database behind a dangling link, its folder missing") << "Data";
        QTest::newRow("blank database behind two dangling links") << "links";
        QTest::newRow("blank database behind a link to an empty file") << "store/empty";
    }
    void filesLeftForTheUser() {
        QFETCH(QString, kind);
        QTemporaryDir root;
        core::DataRoot::Set(root.path());
        const QString path = core::DataRoot::DatabasePath();
        QStringList contacts;
        if (!kind.startsWith(QLatin1Char('.'))) {
            QTemporaryDir plainRoot;
            const QString plain = plainRoot.filePath(QStringLiteral("Data/PomaretData.db"));
            QVERIFY(core::EnsureDatabase(plain));
            const QString target = root.filePath(QStringLiteral("store/PomaretData.db"));
            // The link's folder, and the one it leads to when the row has it.
            QVERIFY(QDir(root.path()).mkpath(QStringLiteral("Data")) && QDir(root.path()).mkpath(kind));
            const QString middle = root.filePath(kind + QStringLiteral("/PomaretData.db"));
            QVERIFY(kind == "links" ? QFile::link(target, middle) && QFile::link(middle, path)
                                    : QFile::link(target, path));
            if (kind.endsWith("empty")) Write(target, {});

            QCOMPARE(shell::SingleInstance::tryAcquire(root.filePath("Pomaret.lock"), path),
                     shell::SingleInstance::Outcome::Acquired);
            QVERIFY_THROWS_NO_EXCEPTION(core::OpenProgramDatabase(path).reset());
            const int held = ::open(qPrintable(QFileInfo(target).absolutePath()), O_RDONLY);
            QVERIFY(::flock(held, LOCK_EX | LOCK_NB) != 0 && ::close(held) == 0);
            shell::SingleInstance::release();

            QVERIFY(QFileInfo(path).isSymLink());
            QCOMPARE(QFileInfo(target).permissions(), QFileInfo(plain).permissions());
            QCOMPARE(QFileInfo(QFileInfo(target).absolutePath()).permissions(),
                     QFileInfo(QFileInfo(plain).absolutePath()).permissions());
        } else {
            QVERIFY(core::EnsureDatabase(path));
            Write(path + ".damaged", "oldest");
            Write(path + kind, "older");
            SQLite::Database(path.toStdString(), SQLite::OPEN_READWRITE)
                .exec(
                    "INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (1, 'C', 'Default', "
                    "'Ann')");
            contacts << "Ann";
            QVERIFY(QDir(root.path()).mkpath(QStringLiteral("Backup")));
            QVERIFY(QFile::copy(path, core::DataRoot::BackupPath()));
            // Page 1's tree header over-written: SQLite finds the file corrupt as it reads the schema.
            Write(path, QByteArray(200, '\x5a'), 100);
            for (int start = 0; start < 2; ++start) {  // the start that sets it aside, then the next
                try {
                    core::OpenProgramDatabase(path);
                    QFAIL("a damaged database was opened");
                } catch (const db::DbError& e) {
                    const QString number = kind.contains("2147483647") ? ".1'" : ".3'";
                    QVERIFY2(e.description().contains("as '" + path + ".damaged" + number),
                             qPrintable(e.description()));
                }
            }
            QCOMPARE(Bytes(path + ".damaged"), QByteArray("oldest"));
            // The backup copied in, as the message says.
            QVERIFY(QFile::copy(core::DataRoot::BackupPath(), path));
            core::OpenProgramDatabase(path).reset();
        }
        QCOMPARE(CheckOf(path), QStringList{"ok"});
        QCOMPARE(NamesIn(path), contacts);
        core::DataRoot::Set(f->root());
    }

    void compactFailureLeavesTheDatabaseOpen_data() {
        QTest::addColumn<bool>("transaction");  // else a fault injected into the command
        QTest::newRow("fault") << false;
        QTest::newRow("transaction left open") << true;
    }
    void compactFailureLeavesTheDatabaseOpen() {
        QFETCH(bool, transaction);
        addContacts(1, 5);
        const QStringList before = names();
        if (transaction) {
            f->db().BeginTrans();
        } else {
            core::InjectFault(QStringLiteral("modGeneral.CompactDB"), 3356,
                              QStringLiteral("Opened exclusively"));
        }
        openScreens();

        f->prompts().answer(ui::Answer::OK);
        shell::mnuFileCompDB_Click();
        if (transaction) f->db().Rollback();

        QCOMPARE(f->prompts().lastText(), kFailure.arg(QStringLiteral("Compacting the Database")));
        if (!transaction) QCOMPARE(logRows(QStringLiteral("modGeneral.CompactDB")), 1);
        QCOMPARE(names(), before);
        QVERIFY(g_dbLocal);
        QVERIFY(OpenFormNames().contains(QStringLiteral("frmHome")));
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
    }
};

POMARET_TEST(MaintenanceTest)
#include "tst_Maintenance.moc"
