#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <memory>

#include "core/DataRoot.h"
#include "platform/db/Database.h"
#include "platform/shell/SingleInstance.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;
using Result = frmMain::LoadResult;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whether the process has the file open, as Linux lists its descriptors.
bool HoldsOpen(qint64 pid, const QString& path) {
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (fd.symLinkTarget() == path) return true;
    }
    return false;
}

// Every file of the data root with its content.
QMap<QString, QByteArray> Snapshot(const QString& root) {
    QMap<QString, QByteArray> files;
    for (const QFileInfo& file : QDir(root).entryInfoList(QDir::Files | QDir::Hidden)) {
        files.insert(file.fileName(), ReadAll(file.filePath()));
    }
    for (const QFileInfo& file : QDir(root + "/Data").entryInfoList(QDir::Files | QDir::Hidden)) {
        files.insert("Data/" + file.fileName(), QByteArray::number(file.size()));
    }
    return files;
}

}  // namespace

// The program started as a user starts it, a real process on the fixture's data root, beside the
// start-up of the main window in this process.
class RunningCopiesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;
    QProcess copy;

    // Returns once the copy holds its lock and has the database open.
    void startCopy() {
        QString program = qEnvironmentVariable("POMARET_BUILD_DIR");
        if (program.isEmpty()) program = QCoreApplication::applicationDirPath() + "/..";
        copy.setProgram(program + "/pomaret");
        copy.setArguments({"--data-dir", f->root()});
        copy.setStandardOutputFile(QProcess::nullDevice());
        copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        copy.start();
        QVERIFY2(copy.waitForStarted(), qPrintable(copy.errorString()));
        const QByteArray named = QByteArray::number(copy.processId()) + '\n';
        QTRY_VERIFY_WITH_TIMEOUT(copy.state() != QProcess::Running ||
                                     (ReadAll(core::DataRoot::LockPath()).startsWith(named) &&
                                      HoldsOpen(copy.processId(), f->databasePath() + "-wal")),
                                 120000);
        QCOMPARE(copy.state(), QProcess::Running);
    }
    void killCopy() {
        copy.kill();
        QVERIFY(copy.waitForFinished());
    }
    Result start() {
        w = std::make_unique<frmMain>();
        return w->MDIForm_Load();
    }
    // The data as it was before: sound, the one contact, nothing logged.
    void checkData() {
        QCOMPARE(f->db().Query("PRAGMA integrity_check", {}).rows.value(0).value(0).toString(), QString("ok"));
        QCOMPARE(f->rowCount("Contacts"), 1);
        QCOMPARE(f->rowCount("Company"), 1);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        f->db().Execute("INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (7, 'C', 'Default', 'Ames')");
    }
    void cleanup() {
        w.reset();
        shell::SingleInstance::release();
        if (copy.state() != QProcess::NotRunning) killCopy();
        db::SetAccessCheck({});
        f.reset();
    }

    // Whatever becomes of the lock file under a running copy, a second start refuses, saying which
    // file names no copy; once the first has ended, a start takes over whatever the file holds.
    void lockFileChangedUnderARunningCopy_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("replaced by rename") << "rename";
        QTest::newRow("deleted") << "delete";
        QTest::newRow("made unreadable") << "unreadable";
        QTest::newRow("garbled and read-only") << "garbled";
    }
    void lockFileChangedUnderARunningCopy() {
        QFETCH(QString, change);
        const QString lockPath = core::DataRoot::LockPath();
        startCopy();
        if (QTest::currentTestFailed()) return;

        if (change == "rename") {
            // A sync tool putting back the file of an earlier run, written beside it, then renamed.
            QProcess gone;
            gone.start("true", {});
            QVERIFY(gone.waitForStarted() && gone.waitForFinished());
            QFile synced(lockPath + ".sync");
            QVERIFY(synced.open(QIODevice::WriteOnly));
            synced.write(QByteArray::number(gone.processId()) + "\npomaret\n" +
                         QSysInfo::machineHostName().toUtf8() + "\n");
            synced.close();
            QCOMPARE(::rename(QFile::encodeName(synced.fileName()), QFile::encodeName(lockPath)), 0);
        } else if (change == "delete") {
            QVERIFY(QFile::remove(lockPath));
        } else if (change == "unreadable") {
            QVERIFY(QFile::setPermissions(lockPath, {}));
            // As root the file stays readable: the check is told what a user would meet.
            db::SetAccessCheck([lockPath](const QString& p, db::Access a) {
                return !(p == lockPath && a == db::Access::Read);
            });
        } else {
            QFile lock(lockPath);
            QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
            lock.write("\x01\xfe not a pid\n");
            lock.close();
            QVERIFY(QFile::setPermissions(lockPath, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        const QByteArray changed = ReadAll(lockPath);

        f->prompts().answer(ui::Answer::OK);
        QCOMPARE(start(), Result::End);
        QCOMPARE(f->prompts().lastText(),
                 QString("Pomaret - Contact Manager is already running.\nA copy holds the data in '%1', though "
                         "the lock file '%2' does not name it: end that copy before starting Pomaret again.")
                     .arg(f->root(), lockPath));
        QVERIFY(!shell::SingleInstance::held());
        QCOMPARE(QFileInfo::exists(lockPath), change != "delete");
        QCOMPARE(ReadAll(lockPath), changed);
        db::SetAccessCheck({});

        killCopy();
        QCOMPARE(start(), Result::Running);
        QVERIFY(shell::SingleInstance::held());
        QVERIFY(ReadAll(lockPath).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
        checkData();
    }

    // A full disk under the data root is said as the database's open says it, before any lock is
    // taken: nothing in the root changes, and the start after room was made goes ahead.
    void fullDiskBeforeTheLock_data() {
        QTest::addColumn<bool>("killedCopy");
        QTest::newRow("clean root") << false;
        QTest::newRow("left by a killed copy") << true;
    }
    void fullDiskBeforeTheLock() {
        QFETCH(bool, killedCopy);
        const QString root = f->root();
        if (killedCopy) {
            startCopy();
            killCopy();
            QVERIFY(QFileInfo::exists(core::DataRoot::LockPath()));
        }
        const QMap<QString, QByteArray> before = Snapshot(root);
        db::SetAccessCheck(
            [root](const QString& p, db::Access a) { return !(p == root && a == db::Access::Space); });

        f->prompts().answer(ui::Answer::OK);
        QCOMPARE(start(), Result::End);
        QCOMPARE(f->prompts().lastText(),
                 QString("The following Error occurred:\n\nDescription : The disk that holds the folder '%1' "
                         "is full: free some space on it for the database and its working files.\nNumber : "
                         "3019")
                     .arg(root));
        QCOMPARE(w->ExitCode(), 1);
        QVERIFY(!shell::SingleInstance::held());
        QCOMPARE(Snapshot(root), before);
        db::SetAccessCheck({});

        QCOMPARE(start(), Result::Running);
        checkData();
    }
};

POMARET_TEST(RunningCopiesTest)
#include "tst_RunningCopies.moc"
