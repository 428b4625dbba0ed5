#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <SQLiteCpp/SQLiteCpp.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMoveEvent>
#include <QProcess>
#include <QProgressBar>
#include <QSaveFile>
#include <QScreen>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <functional>
#include <memory>

#include "core/DataRoot.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/settings/Settings.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/Activation.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmBackRest.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/FocusMoves.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;
using Result = frmMain::LoadResult;

namespace {

const QString kAbsent = QStringLiteral("<absent>");
// Contacts enough for a long step to take a good part of a second.
constexpr int kSeeded = 100000;

void Store(const QString& key, const QString& value) {
    settings::SaveSetting(QStringLiteral("Application"), QStringLiteral("Pomaret"), key, value);
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Stored(const QString& key) {
    return modAPI::GetRegSetting(key, kAbsent);
}

// A screen that counts its activations.
class ActivationCounter : public QWidget, public ui::ActivatableScreen {
public:
    void Form_Activate() override { ++activations; }
    int activations = 0;
};

// A window that the window manager frames only after it was shown, as on a real desktop: no frame
// at first, then the frame's margins with the move that framing brings.
class LateFrame : public frmMain {
public:
    void frame(const QMargins& margins) {
        m_margins = margins;
        QMoveEvent framed(pos(), pos());
        QCoreApplication::sendEvent(this, &framed);
    }

protected:
    QMargins FrameMargins() const override { return m_margins; }

private:
    QMargins m_margins;
};

// A log-on that the user abandons.
class AbandonedLogOn : public frmMain {
protected:
    bool RunLogOn() override {
        m_blnEmerShutdown = true;
        return false;
    }
};

}  // namespace

// The main window driven offscreen: start-up, placement, close and its one working command. The
// window opens the fixture's data root itself; the fixture's own connection reads what it wrote.
// A long step as the user sees it: what the status line and the Backup/Restore window showed at
// each of their paints (text or bar value, and whether under the hourglass), and a timer ticking
// every 10 ms through the step; `during` runs at the first tick that sees `status`.
class StepLog : public QObject {
public:
    struct Paint {
        QString label;
        int bar = -1;
        bool busy = false;
    };
    QList<Paint> paints;
    QList<qint64> ticks;     // when each tick came
    QList<qsizetype> shown;  // which of them saw the status
    std::function<void()> during;

    StepLog(const QLabel* statusLabel, const QString& status) {
        qApp->installEventFilter(this);
        connect(&m_timer, &QTimer::timeout, this, [this, statusLabel, status] {
            if (statusLabel->text() == status) {
                if (shown.isEmpty() && during) during();
                shown << ticks.size();
            }
            ticks << m_clock.elapsed();
        });
        m_clock.start();
        m_timer.start(10);
    }
    bool painted(const std::function<bool(const Paint&)>& what) const {
        return std::any_of(paints.begin(), paints.end(), what);
    }
    // The longest time without a tick from the first tick that saw the status to the last.
    qint64 longestGap() const {
        qint64 gap = 0;
        for (qsizetype i = shown.value(0); i < shown.value(shown.size() - 1); ++i)
            gap = std::max(gap, ticks[i + 1] - ticks[i]);
        return gap;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        const QString name = watched->objectName();
        if (name == "lblStatus" || name == "lblProgress")
            paints.append({static_cast<QLabel*>(watched)->text(), -1, ui::IsBusy()});
        if (name == "StatusProgress")
            paints.append({{}, static_cast<QProgressBar*>(watched)->value(), ui::IsBusy()});
        return false;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
};

class frmMainTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    // Loads a fresh main window; the load must leave the program running.
    frmMain& start() {
        w = std::make_unique<frmMain>();
        const Result result = w->MDIForm_Load();
        if (result != Result::Running) qFatal("the start-up ended the program");
        return *w;
    }
    QRectF frameTwips() const { return w->OuterFrameTwips(); }
    QAction* action(const char* name) const { return w->findChild<QAction*>(QString::fromLatin1(name)); }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        frmBackRest::SetTickInterval(700);
        w.reset();
        shell::SingleInstance::release();
        shell::SingleInstance::SetFolderLocksRefused(false);
        db::SetAccessCheck({});
        f.reset();
    }

    void secondInstanceEndsAtOnce() {
        // Another copy holds the data root; the lock file names it.
        const int other = ::open(QFile::encodeName(f->root()), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QCOMPARE(::flock(other, LOCK_EX | LOCK_NB), 0);
        QFile lock(core::DataRoot::LockPath());
        QVERIFY(lock.open(QIODevice::WriteOnly) && lock.write(QByteArray::number(getpid()) + "\n") > 0);
        lock.close();
        f->prompts().answer(ui::Answer::OK);

        w = std::make_unique<frmMain>();
        QCOMPARE(w->MDIForm_Load(), Result::End);

        QCOMPARE(f->prompts().lastText(), QStringLiteral("Pomaret - Contact Manager is already running."));
        QCOMPARE(f->prompts().lastTitle(), QStringLiteral("Pomaret - Contact Manager"));
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Critical);
        QVERIFY(!w->isVisible());
        QCOMPARE(Stored("WindowState"), kAbsent);
        ::close(other);
    }

    // A lock naming no process is taken over; one naming another computer, or none that can be made,
    // ends the start saying what to do (%1 the root, %2 the lock file).
    void lockFoundAtStart_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");  // empty: the program starts
        const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid());
        QTest::newRow("empty") << QByteArray("") << ""
                               << "";
        QTest::newRow("no valid process") << "0\npomaret\n" + QSysInfo::machineHostName().toUtf8() << ""
                                          << "";
        QTest::newRow("another computer")
            << pid + "\npomaret\nfar\n"
            << ""
            << "Pomaret - Contact Manager is already running on the computer 'far' with the data in "
               "'%1'.\nTwo computers must not use one database at the same time. Once Pomaret has "
               "ended on that computer, delete the lock file '%2' and start Pomaret again.";
        QTest::newRow("root not writable") << QByteArray() << "write"
                                           << "Pomaret cannot create its lock file in the folder '%1'.\n"
                                              "Without the lock a second copy could use the same "
                                              "database, so Pomaret does not start.";
        QTest::newRow("root is a file") << QByteArray() << "file"
                                        << "The data root '%1' is a file, not a folder.";
    }
    void lockFoundAtStart() {
        QFETCH(QByteArray, content);
        QFETCH(QString, fault);
        QFETCH(QString, message);
        const QString root = fault == "file" ? f->root() + "/Pomaret" : f->root();
        core::DataRoot::Set(root);
        const QString lockPath = core::DataRoot::LockPath();
        QFile file(fault == "file" ? root : lockPath);
        if (fault == "file" || !content.isNull())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) >= 0);
        file.close();
        db::SetAccessCheck([&](const QString& p, db::Access a) {
            return !(fault == "write" && p == root && a == db::Access::Write);
        });
        if (!message.isEmpty()) f->prompts().answer(ui::Answer::OK);
        w = std::make_unique<frmMain>();
        const Result result = w->MDIForm_Load();
        db::SetAccessCheck({});
        core::DataRoot::Set(f->root());

        QCOMPARE(result, message.isEmpty() ? Result::Running : Result::End);
        QCOMPARE(shell::SingleInstance::held(), message.isEmpty());
        if (message.isEmpty()) return;
        QCOMPARE(f->prompts().lastText(), message.arg(root, lockPath));
        if (fault.isEmpty()) QCOMPARE(ReadAll(lockPath), content);  // left for the user to delete
    }

    // Beside another copy, the real program, or what a killed one left: a start that finds the lock
    // file changed under a running copy refuses naming the file, one that finds the disk full says so
    // before any lock is taken. Nothing is touched, and once the copy has ended a start goes ahead.
    void startBesideAnotherCopy_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");  // %1 the data root, %2 the lock file
        const QString running =
            "Pomaret - Contact Manager is already running.\nA copy holds the data in '%1', though the lock "
            "file '%2' does not name it: end that copy before starting Pomaret again.";
        for (const char* change :
             {"replaced by rename", "deleted", "made unreadable", "garbled and read-only"})
            QTest::newRow(change) << change << running;
        const QString full =
            "The following Error occurred:\n\nDescription : The disk that holds the folder '%1' is full: "
            "free some space on it for the database and its working files.\nNumber : 3019";
        QTest::newRow("full disk, clean root") << "full disk" << full;
        QTest::newRow("full disk, killed copy") << "full disk, killed copy" << full;
    }
    void startBesideAnotherCopy() {
        QFETCH(QString, change);
        QFETCH(QString, message);
        const QString root = f->root();
        const QString lockPath = core::DataRoot::LockPath();
        f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (7, 'Ames')");
        QProcess copy;
        if (change != "full disk") {
            copy.start(
                qEnvironmentVariable("POMARET_BUILD_DIR", QCoreApplication::applicationDirPath() + "/..") +
                    "/pomaret",
                {"--data-dir", root});
            QVERIFY(copy.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(
                ReadAll(lockPath).startsWith(QByteArray::number(copy.processId()) + '\n'), 120000);
        }
        if (change.endsWith("killed copy")) {
            copy.kill();
            QVERIFY(copy.waitForFinished());
        }
        if (change.endsWith("rename") || change.startsWith("garbled")) {
            QSaveFile replacement(lockPath);  // a new file renamed over it, as a sync tool saves
            QVERIFY(replacement.open(QIODevice::WriteOnly) &&
                    replacement.write(change.startsWith("garbled") ? "\x01\xfe" : "999999999\n") > 0 &&
                    replacement.commit());
        }
        if (change == "deleted") QVERIFY(QFile::remove(lockPath));
        if (change.startsWith("garbled")) QVERIFY(QFile::setPermissions(lockPath, QFile::ReadOwner));
        if (change == "made unreadable") QVERIFY(QFile::setPermissions(lockPath, {}));
        // Root reads an unreadable file all the same: the check is told what a user meets.
        db::SetAccessCheck([&](const QString& p, db::Access a) {
            if (change == "made unreadable") return !(p == lockPath && a == db::Access::Read);
            return !(change.startsWith("full disk") && p == root && a == db::Access::Space);
        });
        const QByteArray changed = ReadAll(lockPath);
        f->prompts().answer(ui::Answer::OK);
        w = std::make_unique<frmMain>();
        QCOMPARE(w->MDIForm_Load(), Result::End);
        QCOMPARE(f->prompts().lastText(), message.replace("%1", root).replace("%2", lockPath));
        QCOMPARE(ReadAll(lockPath), changed);

        db::SetAccessCheck({});
        copy.kill();
        copy.waitForFinished();
        start();
        QCOMPARE(f->db().Query("PRAGMA integrity_check", {}).rows.value(0).value(0), QVariant("ok"));
        QCOMPARE(f->rowCount("Contacts"), 1);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // The real program runs on the database file that this start's root reaches by a link, or runs while
    // this start finds the disk full, the root not writable or no folder lock to take: the start is
    // refused and writes nothing. With no copy it goes ahead, and a half-written lock file goes.
    void oneDatabaseFileOneCopy_data() {
        // The copy's root (- none) and this start's: F the fixture's, A and B linked to its database.
        QTest::addColumn<QString>("roots");
        QTest::addColumn<QString>("fault");
        const auto row = [](const char* name, const char* roots, const char* fault) {
            QTest::newRow(name) << QString(roots) << QString(fault);
        };
        row("two roots linked to one file", "AB", "");
        row("linked to the running root's file", "FB", "");
        row("running root linked to this one's file", "BF", "");
        row("root not writable", "FF", "write");
        row("disk full", "FF", "full disk");
        row("no folder locks, copy running", "FF", "no locks");
        row("lock file half written", "-F", "");
        row("no folder locks, lock file half written", "-F", "no locks");
    }
    void oneDatabaseFileOneCopy() {
        QFETCH(QString, roots);
        QFETCH(QString, fault);
        QTemporaryDir links;
        const auto rootOf = [&](QChar name) { return name == 'F' ? f->root() : links.filePath(name); };
        for (const QChar name : {'A', 'B'}) {
            QVERIFY(QDir().mkpath(rootOf(name) + "/Data"));
            QVERIFY(QFile::link(core::DataRoot::DatabasePath(), rootOf(name) + "/Data/PomaretData.db"));
        }
        f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (7, 'Ames')");
        QProcess copy;
        const bool running = roots[0] != '-';
        if (running) {
            const QString build =
                qEnvironmentVariable("POMARET_BUILD_DIR", QCoreApplication::applicationDirPath() + "/..");
            copy.start(build + "/pomaret", {"--data-dir", rootOf(roots[0])});
            QVERIFY(copy.waitForStarted());
            const QByteArray named = QByteArray::number(copy.processId()) + '\n';
            QTRY_VERIFY_WITH_TIMEOUT(ReadAll(rootOf(roots[0]) + "/Pomaret.lock").startsWith(named), 120000);
        }
        const QString root = rootOf(roots[1]);
        const QString lock = root + "/Pomaret.lock";
        // Only the first is named as the lock file's own temporary files are.
        const QStringList leftovers = {lock + ".Xq7r2Z", lock + ".keep", lock + ".Xq7r2Z.1", lock + ".Xq7r2"};
        for (const QString& path : leftovers) QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        const QByteArray lockBefore = ReadAll(lock);
        db::SetAccessCheck([&](const QString& p, db::Access a) {
            return p != root || !((fault == "write" && a == db::Access::Write) ||
                                  (fault == "full disk" && a == db::Access::Space));
        });
        shell::SingleInstance::SetFolderLocksRefused(fault == "no locks");
        core::DataRoot::Set(root);
        if (running) f->prompts().answer(ui::Answer::OK);
        w = std::make_unique<frmMain>();
        const Result result = w->MDIForm_Load();
        db::SetAccessCheck({});
        core::DataRoot::Set(f->root());

        QCOMPARE(result, running ? Result::End : Result::Running);
        if (running) {
            QCOMPARE(f->prompts().lastText(),
                     QStringLiteral("Pomaret - Contact Manager is already running."));
            QCOMPARE(ReadAll(lock), lockBefore);
        } else {
            QVERIFY(ReadAll(lock).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
        }
        for (const QString& path : leftovers) QCOMPARE(QFile::exists(path), running || path != leftovers[0]);
        w.reset();
        copy.kill();
        copy.waitForFinished();
        QCOMPARE(f->db().Query("PRAGMA integrity_check", {}).rows.value(0).value(0), QVariant("ok"));
        QCOMPARE(f->rowCount("Contacts"), 1);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // After a copy was killed having saved, the start checks the whole file: meanwhile the window is
    // painted with the check's status and a bar that has moved, under the hourglass, and the event
    // loop runs. A close asked for meanwhile waits for the start to end. A clean start paints no bar.
    void startUpCheckIsPainted_data() {
        QTest::addColumn<bool>("killed");
        QTest::newRow("after a copy was killed having saved") << true;
        QTest::newRow("clean start") << false;
    }
    void startUpCheckIsPainted() {
        QFETCH(bool, killed);
        f->seedContacts(kSeeded);
        if (killed) {
            const QString bench =
                qEnvironmentVariable("POMARET_BUILD_DIR", QCoreApplication::applicationDirPath() + "/..") +
                "/bench/pomaret-bench";
            if (!QFile::exists(bench)) QSKIP("the benchmark, whose start saves and is killed, is not built");
            QProcess copy;
            copy.start(bench, {"--one-start", "--unclean", "--data-dir", f->root(), "--today", "2026-12-08"});
            QVERIFY(copy.waitForFinished(120000));
            QCOMPARE(copy.exitStatus(), QProcess::CrashExit);
        }
        QCOMPARE(db::Database::EndedUncleanly(f->databasePath()), killed);
        w = std::make_unique<frmMain>();
        QSignalSpy unloaded(w.get(), &frmMain::Unloaded);
        StepLog log(w->findChild<QLabel*>("lblStatus"), "Checking Database, please wait...");
        log.during = [&] { w->close(); };
        QCOMPARE(w->MDIForm_Load(), Result::Running);
        QVERIFY(w->isVisible());

        QCOMPARE(log.painted(
                     [](const auto& p) { return p.busy && p.label == "Checking Database, please wait..."; }),
                 killed);
        QCOMPARE(log.painted([](const auto& p) { return p.busy && p.bar > 0; }), killed);
        QVERIFY(!log.painted([](const auto& p) { return p.bar >= 0 && !p.busy; }));
        QCOMPARE(log.shown.size() >= 3, killed);
        QCOMPARE_LE(log.longestGap(), 250);
        QVERIFY(w->findChild<QProgressBar*>("StatusProgress")->isHidden());
        QVERIFY(!ui::IsBusy());
        QCOMPARE(g_dbLocal->IntegrityCheck(), QStringList{"ok"});
        QCOMPARE(g_dbLocal->OpenRecordset("SELECT COUNT(*) FROM Contacts").Value(0).toInt(), kSeeded);
        QCOMPARE(f->prompts().count(), 0);
        if (!killed) return;
        f->prompts().answer(ui::Answer::Yes);
        QTRY_COMPARE(unloaded.count(), 1);
        QCOMPARE(f->prompts().lastText(), QStringLiteral("Close Pomaret?"));
    }

    // Backup, restore, compact and repair through the menu on a file of some size, as the start-up
    // check above: the window goes on painting through the step, input made meanwhile is dropped,
    // and a close waits for the step, then asks as usual.
    void longStepKeepsTheWindowLive_data() {
        QTest::addColumn<QString>("status");   // before ", please wait..."; %1 the database
        QTest::addColumn<QString>("caption");  // of the Backup/Restore window
        QTest::addColumn<int>("answer");       // to the command's own box; 0 none
        QTest::newRow("mnuFileBackupDB") << "Backing Up Data Files"
                                         << "Backing Up Current Data ..." << 0;
        QTest::newRow("mnuFileRestoreDB") << "Restoring Data Files"
                                          << "Restoring Program Data ..." << int(ui::Answer::Yes);
        QTest::newRow("mnuFileCompDB") << "Compacting Pomaret - Contact Manager database."
                                       << "" << int(ui::Answer::OK);
        QTest::newRow("mnuFileRepDB") << "Repairing %1"
                                      << "" << int(ui::Answer::OK);
    }
    void longStepKeepsTheWindowLive() {
        const QByteArray command = QTest::currentDataTag();
        QFETCH(QString, status);
        QFETCH(QString, caption);
        QFETCH(int, answer);
        status = QString(status + ", please wait...").replace("%1", core::DataRoot::DatabasePath());
        f->seedContacts(kSeeded);
        QDir().mkpath(QFileInfo(core::DataRoot::BackupPath()).absolutePath());
        f->db().BackupTo(core::DataRoot::BackupPath());
        f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (?, 'Gone again with a restore')",
                        {kSeeded + 1});
        start();
        frmBackRest::SetTickInterval(0);
        auto* search = w->findChild<QLineEdit*>("txtSrch");
        search->setFocus();
        QSignalSpy unloaded(w.get(), &frmMain::Unloaded);
        StepLog log(w->findChild<QLabel*>("lblStatus"), status);
        log.during = [&] {
            QTest::keyClicks(search, "Brandt");
            QTest::mouseClick(w->findChild<QToolBar*>("tbrMain")->widgetForAction(action("Names")),
                              Qt::LeftButton);
            w->close();
        };
        if (answer) f->prompts().answer(ui::Answer(answer));
        action(command.constData())->trigger();
        QVERIFY(w->isVisible());

        QVERIFY(log.painted([&](const auto& p) { return p.busy && p.label == status; }));
        QVERIFY(log.painted([](const auto& p) { return p.busy && p.bar > 0; }));
        if (!caption.isEmpty()) QVERIFY(log.painted([&](const auto& p) { return p.label == caption; }));
        QCOMPARE_GE(log.shown.size(), 3);
        QCOMPARE_LE(log.longestGap(), 250);
        QCOMPARE(search->text(), QString());
        QVERIFY(!ui::ScreenRegistry::instance().find("frmNames"));
        QCOMPARE(f->prompts().count(), answer ? 1 : 0);

        f->prompts().answer(ui::Answer::Yes);
        QTRY_COMPARE(unloaded.count(), 1);
        QCOMPARE(f->prompts().lastText(), QStringLiteral("Close Pomaret?"));
        QCOMPARE(f->db().IntegrityCheck(), QStringList{"ok"});
        QCOMPARE(f->rowCount("Contacts"), command == "mnuFileRestoreDB" ? kSeeded : kSeeded + 1);
    }

    void firstStartLaysOutTheWindow() {
        start();
        QCOMPARE(f->prompts().count(), 0);
        // A maximised screen adds its caption in brackets, as MDI windows do.
        QCOMPARE(w->windowTitle(), QStringLiteral("Pomaret - Contact Management System - [Home Page]"));
        QVERIFY(w->isVisible());
        QCOMPARE(w->WindowStateCode(), 0);
        QVERIFY(w->PositionKnown());
        // The test screen is 800 pixels (12000 twips) wide, as wide as the window's minimum: the
        // default left edge would put its right part off the screen.
        QCOMPARE(frameTwips(), QRectF(0, 1500, 12000, 9000));
        QCOMPARE(w->StartDate(), QStringLiteral("12/08/2026"));
        QCOMPARE(w->StatusText(), QStringLiteral("Ready ..."));
        QVERIFY(g_dbLocal);
        QCOMPARE(g_wsMain->name, QStringLiteral("MainWS"));

        // Record-bound commands wait for an editor.
        QVERIFY(!action("mnuFilePrint")->isEnabled());
        QVERIFY(!action("mnuEditDelete")->isEnabled());
        auto* tbrMain = w->findChild<QToolBar*>(QStringLiteral("tbrMain"));
        QCOMPARE(tbrMain->actions().at(6)->text(), QStringLiteral("Print"));
        QVERIFY(!tbrMain->actions().at(6)->isEnabled());
        QVERIFY(action("mnuFileExit")->isEnabled());

        // The home screen stand-in fills the MDI area; the reminder poll is armed.
        QWidget* home = ui::ScreenRegistry::instance().find(QStringLiteral("frmHome"));
        QVERIFY(home);
        QCOMPARE(home->windowTitle(), QStringLiteral("Home Page"));
        QCOMPARE(w->MdiArea()->subWindowList().size(), 1);
        QVERIFY(w->MdiArea()->subWindowList().first()->isMaximized());
        auto* timer = w->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 60000);
    }

    void storedPlacementReopensNormal_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QRectF>("frame");
        QTest::newRow("closed maximised") << "2"
                                          << "12000"
                                          << "9750" << QRectF(0, 2250, 12000, 9750);
        QTest::newRow("closed minimised") << "1"
                                          << "12000"
                                          << "9750" << QRectF(0, 2250, 12000, 9750);
        QTest::newRow("bogus state") << "7"
                                     << "12000"
                                     << "9750" << QRectF(0, 2250, 12000, 9750);
        QTest::newRow("below the minimum") << "0"
                                           << "6000"
                                           << "3000" << QRectF(0, 2250, 12000, 9000);
    }
    void storedPlacementReopensNormal() {
        QFETCH(QString, state);
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QRectF, frame);
        Store("WindowState", state);
        Store("WindowLeft", "0");
        Store("WindowTop", "2250");
        Store("WindowWidth", width);
        Store("WindowHeight", height);

        start();
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(w->WindowStateCode(), 0);
        QCOMPARE(frameTwips(), frame);
    }

    void placementOffEveryScreenComesBack() {
        Store("WindowLeft", "1000000");
        Store("WindowTop", "-500000");
        start();
        const QRect frame = w->frameGeometry();
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().intersects(frame));
        QCOMPARE(frameTwips().size(), QSizeF(12000, 9000));
    }

    // Whatever the file says, the frame lands whole on a screen: 1920 x 1048 under a panel, and 1280 x
    // 1024 to its right (pixels; 15 twips each).
    void placedFrame_data() {
        QTest::addColumn<QRectF>("stored");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("huge") << QRectF(1500, 1500, 99999999, 99999999) << QRect(0, 32, 1920, 1048);
        QTest::newRow("beyond any number") << QRectF(1e300, -1e300, 1e300, 1e300) << QRect(0, 32, 1920, 1048);
        QTest::newRow("negative size") << QRectF(1500, 1500, -300000, -5) << QRect(100, 100, 800, 600);
        QTest::newRow("out left and up") << QRectF(-3000, -3000, 15000, 10500) << QRect(0, 32, 1000, 700);
        QTest::newRow("second screen, too tall")
            << QRectF(30000, 1500, 15000, 30000) << QRect(2000, 0, 1000, 1024);
        QTest::newRow("off every screen")
            << QRectF(-1000000, 1500, 15000, 10500) << QRect(100, 132, 1000, 700);
    }
    void placedFrame() {
        QFETCH(QRectF, stored);
        QFETCH(QRect, placed);
        QCOMPARE(frmMain::PlacedFrame(stored, {QRect(0, 32, 1920, 1048), QRect(1920, 0, 1280, 1024)}),
                 placed);
    }

    // A huge size written by hand opens at the screen's size, and what the close saves opens the same.
    void hugeStoredSizeStaysOnTheScreen() {
        Store("WindowWidth", "99999999");
        Store("WindowHeight", "300000");
        Store("WindowTop", "-50000");
        for (int run = 1; run <= 5; ++run) {
            w.reset();
            shell::SingleInstance::release();
            start();
            QCOMPARE(w->frameGeometry(), QGuiApplication::primaryScreen()->availableGeometry());
            f->prompts().answer(ui::Answer::Yes);
            QVERIFY(w->close());
            QCOMPARE(QStringList({Stored("WindowWidth"), Stored("WindowHeight"), Stored("WindowTop")}),
                     QStringList({"12000", "12000", "0"}));
        }
    }

    // The frame arrives after show(): the stored outer frame is applied once it is known, so start
    // and close again and again leave the placement where it was.
    void placementSurvivesLateFrame() {
        Store("WindowLeft", "0");
        Store("WindowTop", "2250");
        Store("WindowWidth", "12000");
        Store("WindowHeight", "9750");
        for (int run = 1; run <= 5; ++run) {
            w.reset();
            shell::SingleInstance::release();
            auto* window = new LateFrame;
            w.reset(window);
            QCOMPARE(w->MDIForm_Load(), Result::Running);
            window->frame(QMargins(4, 24, 4, 4));
            QCOMPARE(frameTwips(), QRectF(0, 2250, 12000, 9750));

            f->prompts().answer(ui::Answer::Yes);
            QVERIFY(w->close());
            QCOMPARE(Stored("WindowLeft"), QStringLiteral("0"));
            QCOMPARE(Stored("WindowTop"), QStringLiteral("2250"));
            QCOMPARE(Stored("WindowWidth"), QStringLiteral("12000"));
            QCOMPARE(Stored("WindowHeight"), QStringLiteral("9750"));
        }
    }

    // The status text stays readable on whatever colour a screen gives the strip: white on a dark
    // one, black on a light one.
    void statusTextReadableOnTheStrip_data() {
        QTest::addColumn<QColor>("strip");
        QTest::addColumn<QColor>("text");
        QTest::newRow("home screen's own") << QColor() << QColor(Qt::white);
        QTest::newRow("teal") << QColor(51, 102, 102) << QColor(Qt::white);
        QTest::newRow("navy") << QColor(0, 0, 128) << QColor(Qt::white);
        QTest::newRow("mid grey") << QColor(128, 128, 128) << QColor(Qt::black);
        QTest::newRow("yellow") << QColor(255, 255, 0) << QColor(Qt::black);
    }
    void statusTextReadableOnTheStrip() {
        QFETCH(QColor, strip);
        QFETCH(QColor, text);
        start();
        if (strip.isValid()) w->SetStatusColor(strip);
        auto* picStatus = w->findChild<QWidget*>(QStringLiteral("picStatus"));
        auto* lblStatus = w->findChild<QLabel*>(QStringLiteral("lblStatus"));
        if (strip.isValid()) QCOMPARE(picStatus->palette().color(picStatus->backgroundRole()), strip);
        QCOMPARE(lblStatus->palette().color(lblStatus->foregroundRole()), text);
    }

    void closeWritesPlacementOnlyWhenNormal_data() {
        QTest::addColumn<int>("how");  // 0 normal, 1 minimised, 2 maximised
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("width");
        QTest::newRow("normal") << 0 << "3000"
                                << "12750";
        QTest::newRow("minimised") << 1 << "4500"
                                   << "14000";
        QTest::newRow("maximised") << 2 << "4500"
                                   << "14000";
    }
    void closeWritesPlacementOnlyWhenNormal() {
        QFETCH(int, how);
        QFETCH(QString, left);
        QFETCH(QString, width);
        Store("WindowLeft", "4500");
        Store("WindowWidth", "14000");
        start();
        w->move(200, 150);
        w->resize(QSize(850, 640) - (w->frameGeometry().size() - w->size()));
        if (how == 1) w->showMinimized();
        if (how == 2) w->showMaximized();
        QCOMPARE(w->WindowStateCode(), how);

        f->prompts().answer(ui::Answer::Yes);
        QVERIFY(w->close());
        QCOMPARE(Stored("WindowState"), QString::number(how));
        QCOMPARE(Stored("WindowLeft"), left);
        QCOMPARE(Stored("WindowWidth"), width);
        if (how == 0) {
            QCOMPARE(Stored("WindowTop"), QStringLiteral("2250"));
            QCOMPARE(Stored("WindowHeight"), QStringLiteral("9600"));
        } else {
            QCOMPARE(Stored("WindowTop"), kAbsent);
        }
    }

    void closeAsksFirst() {
        start();
        QSignalSpy unloaded(w.get(), &frmMain::Unloaded);

        // File > Exit asks exactly as the close box does.
        f->prompts().answer(ui::Answer::No);
        action("mnuFileExit")->trigger();
        QCOMPARE(f->prompts().lastText(), QStringLiteral("Close Pomaret?"));
        QCOMPARE(f->prompts().lastTitle(), QStringLiteral("Confirm Close"));
        QCOMPARE(f->prompts().lastStyle(), ui::YesNo | ui::Question);
        QVERIFY(w->isVisible());
        QVERIFY(g_dbLocal);
        QCOMPARE(unloaded.count(), 0);
        QCOMPARE(Stored("WindowState"), kAbsent);

        f->prompts().answer(ui::Answer::Yes);
        QVERIFY(w->close());
        QCOMPARE(f->prompts().count(), 2);
        QCOMPARE(unloaded.count(), 1);
        QCOMPARE(Stored("WindowState"), QStringLiteral("0"));
        QCOMPARE(Stored("WindowTop"), QStringLiteral("1500"));
        QVERIFY(!g_dbLocal);
        QVERIFY(!ui::ScreenRegistry::instance().find(QStringLiteral("frmHome")));
    }

    void pendingReminderHidesInstead_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<bool>("asks");
        QTest::newRow("open today, time passed") << QDate(2026, 12, 8) << false << false;
        QTest::newRow("completed today") << QDate(2026, 12, 8) << true << true;
        QTest::newRow("open tomorrow") << QDate(2026, 12, 9) << false << true;
    }
    void pendingReminderHidesInstead() {
        QFETCH(QDate, date);
        QFETCH(bool, completed);
        QFETCH(bool, asks);
        // Without a tray the close asks in either case (tray tests).
        f->shell().setTrayAvailable(true);
        f->db().Execute(
            "INSERT INTO Remind (RemDate, RemTime, fkToDoID, Type, Completed) VALUES (?, ?, 1, 'TD', ?)",
            {date, QTime(9, 5), completed});
        start();
        QCOMPARE(w->NoReminders(), asks);

        if (asks) f->prompts().answer(ui::Answer::No);
        QVERIFY(!w->close());
        QCOMPARE(f->prompts().count(), asks ? 1 : 0);
        QCOMPARE(w->isHidden(), !asks);
        QVERIFY(g_dbLocal);
        QCOMPARE(Stored("WindowState"), kAbsent);
    }

    void desktopEndSavesWithoutAsking() {
        start();
        w->showMaximized();
        QMetaObject::invokeMethod(qApp, "aboutToQuit");
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(Stored("WindowState"), QStringLiteral("2"));
        QVERIFY(!g_dbLocal);
        // Once only: a second request finds nothing more to do.
        Store("WindowState", "9");
        QMetaObject::invokeMethod(qApp, "aboutToQuit");
        QCOMPARE(Stored("WindowState"), QStringLiteral("9"));
    }

    void missingSecurityTableIsAddedOnce() {
        f->db().Execute("DROP TABLE Security");
        f->prompts().answer(ui::Answer::OK).answer(ui::Answer::OK);
        start();
        QCOMPARE(f->prompts().count(), 2);
        QCOMPARE(f->prompts().shown().at(0).text,
                 QStringLiteral("The database is not current.\nIt will be updated for you automatically"));
        QCOMPARE(f->prompts().shown().at(0).title, QStringLiteral("Updating Database"));
        QCOMPARE(f->prompts().lastText(), QStringLiteral("Update Complete."));
        QCOMPARE(f->rowCount("Security"), 0);

        f->prompts().answer(ui::Answer::Yes);
        QVERIFY(w->close());
        f->prompts().clear();
        start();
        QCOMPARE(f->prompts().count(), 0);
    }

    void unopenableDatabaseEndsTheProgram() {
        const QString path = core::DataRoot::DatabasePath();
        QVERIFY(QFile::remove(path));
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("These are not the tables you are looking for.\n");
        text.close();

        f->prompts().answer(ui::Answer::OK);
        w = std::make_unique<frmMain>();
        QSignalSpy unloaded(w.get(), &frmMain::Unloaded);
        QCOMPARE(w->MDIForm_Load(), Result::End);
        QCOMPARE(w->ExitCode(), 1);
        QCOMPARE(f->prompts().count(), 1);
        QVERIFY(f->prompts().lastText().startsWith(QStringLiteral("The following Error occurred:")));
        QVERIFY(!w->isVisible());
        QVERIFY(!g_dbLocal);
        QCOMPARE(unloaded.count(), 1);
        QCOMPARE(Stored("WindowState"), kAbsent);
    }

    // A settings file broken by hand: the program starts with the defaults, says so once, keeps the
    // file aside and writes a fresh one at close; a second broken file does not replace the first.
    void brokenSettingsFileStartsWithDefaults() {
        const QString ini = f->settingsPath();
        const QByteArray bad[] = {"[Pomaret\nWindowLeft=4500\nSecurity=-1\n", "[Pomaret]\nWindowTop\n"};
        for (int run = 0; run < 2; ++run) {
            const QString keptAs = ini + (run == 0 ? ".unreadable" : ".unreadable.1");
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bad[run]);
            file.close();

            f->prompts().clear();
            f->prompts().answer(ui::Answer::OK);
            start();
            QCOMPARE(f->prompts().count(), 1);
            QCOMPARE(
                f->prompts().lastText(),
                "The settings file could not be read; Pomaret started with its default settings and kept "
                "the unreadable file as '" +
                    keptAs + "'.\nA new settings file is written when Pomaret closes.");
            QCOMPARE(f->prompts().lastTitle(), QStringLiteral("Pomaret - Contact Manager"));
            QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Exclamation);
            QCOMPARE(f->rowCount("ErrLog", "ModName = 'modGeneral.LoadRegistrySettings' AND ErrNum = 3104"),
                     run + 1);
            QCOMPARE(frameTwips(), QRectF(0, 1500, 12000, 9000));
            QVERIFY(!g_blnSecurity);
            QCOMPARE(ReadAll(ini + ".unreadable"), bad[0]);
            QCOMPARE(ReadAll(keptAs), bad[run]);

            f->prompts().answer(ui::Answer::Yes);
            QVERIFY(w->close());
            QCOMPARE(Stored("WindowState"), QStringLiteral("0"));
            QCOMPARE(Stored("WindowTop"), QStringLiteral("1500"));
        }
        // The fresh file reads without a word.
        f->prompts().clear();
        start();
        QCOMPARE(f->prompts().count(), 0);
    }

    // Killed backups', restores' and first starts' half-written copies go at the next start; the
    // database as it was before a restore is kept and named at each start while it is there.
    void leftoversAtStart() {
        const QString data = core::DataRoot::DatabasePath();
        const QString backups = QFileInfo(core::DataRoot::BackupPath()).absolutePath();
        QVERIFY(QDir().mkpath(backups));
        for (const QString& name : {backups + "/PomaretData.db", backups + "/.PomaretData.db.a1B2c3",
                                    backups + "/.PomaretData.db.a1B2c3-journal", data + ".pre-restore",
                                    QFileInfo(data).absolutePath() + "/.PomaretData.db.pre-restore.x9Y8z7",
                                    data.chopped(14) + ".PomaretData.db.k7L8m9",
                                    data.chopped(14) + ".PomaretData.db.k7L8m9-journal"}) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        for (int run = 0; run < 3; ++run) {
            if (run == 2) QVERIFY(QFile::remove(data + ".pre-restore"));
            f->prompts().clear();
            if (run < 2) f->prompts().answer(ui::Answer::OK);
            start();
            QCOMPARE(f->prompts().count(), run < 2 ? 1 : 0);
            if (run < 2) QVERIFY(f->prompts().lastText().contains("is kept as '" + data + ".pre-restore'"));
            QCOMPARE(QDir(backups).entryList(QDir::Files | QDir::Hidden), QStringList{"PomaretData.db"});
            QCOMPARE(QDir(QFileInfo(data).absolutePath()).entryList({".*"}, QDir::Files | QDir::Hidden),
                     QStringList{});
            QCOMPARE(QDir(QFileInfo(data).absolutePath())
                         .entryList({"*pre-restore*"}, QDir::Files | QDir::Hidden)
                         .size(),
                     run < 2 ? 1 : 0);
            w.reset();
            shell::SingleInstance::release();
        }
    }

    void abandonedLogOnClosesSilently() {
        w = std::make_unique<AbandonedLogOn>();
        QSignalSpy unloaded(w.get(), &frmMain::Unloaded);
        QCOMPARE(w->MDIForm_Load(), Result::End);
        QCOMPARE(f->prompts().count(), 0);
        QVERIFY(!w->isVisible());
        QCOMPARE(unloaded.count(), 1);
        QVERIFY(!ui::ScreenRegistry::instance().find(QStringLiteral("frmHome")));
        QVERIFY(!w->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QCOMPARE(Stored("WindowState"), kAbsent);
        // Nor does the desktop's end save anything after it.
        QMetaObject::invokeMethod(qApp, "aboutToQuit");
        QCOMPARE(Stored("WindowState"), kAbsent);
    }

    void errorLogCommand() {
        start();
        core::InjectFault("frmMain.mnuHelpErrLog_Click", 3021, "Injected failure");
        f->prompts().answer(ui::Answer::OK);
        action("mnuHelpErrLog")->trigger();
        QCOMPARE(f->rowCount("ErrLog"), 1);
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmMain.mnuHelpErrLog_Click' AND ErrNum = 3021"), 1);
        QVERIFY(f->prompts().lastText().contains(QStringLiteral("Injected failure")));
        QCOMPARE(w->StatusText(), QStringLiteral("Ready ..."));

        // The window goes on working: the viewer opens modally, without an owner, listing the row.
        QString title;
        int rows = -1;
        bool ownerless = false;
        QTimer::singleShot(0, [&] {
            QWidget* viewer = QApplication::activeModalWidget();
            if (!viewer || viewer->objectName() != QStringLiteral("frmErrLog")) return;
            title = viewer->windowTitle();
            ownerless = viewer->parentWidget() == nullptr;
            if (auto* list = viewer->findChild<ui::ListView*>(QStringLiteral("lvError")))
                rows = list->rowCount();
            viewer->close();
        });
        action("mnuHelpErrLog")->trigger();
        QCOMPARE(title, QStringLiteral("Program Error Log"));
        QVERIFY(ownerless);
        QCOMPARE(rows, 1);
        QCOMPARE(f->rowCount("ErrLog"), 1);
    }

    // The screen on view hears of the main window's activation only when the focus comes back from
    // another window of the program.
    void screenActivatedOnlyFromTheProgram_data() {
        QTest::addColumn<testsupport::FocusMove>("move");
        QTest::addColumn<int>("activations");
        QTest::newRow("a dialog closed") << testsupport::FocusMove::OtherWindow << 1;
        QTest::newRow("another application") << testsupport::FocusMove::OtherApplication << 0;
        QTest::newRow("a message box") << testsupport::FocusMove::MessageBox << 0;
    }
    void screenActivatedOnlyFromTheProgram() {
        QFETCH(testsupport::FocusMove, move);
        QFETCH(int, activations);
        start();
        auto* screen = new ActivationCounter;
        ui::ScreenRegistry::instance().showScreen(screen);
        QVERIFY(testsupport::Activate(w.get()));
        screen->activations = 0;
        QVERIFY(testsupport::LeaveAndReturn(w.get(), move));
        QCOMPARE(screen->activations, activations);
    }

    void menuShortcutWinsOverTheSearchBox() {
        start();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* search = w->findChild<QLineEdit*>(QStringLiteral("txtSrch"));
        search->setFocus();
        QTest::keyClicks(search, QStringLiteral("smi"));
        QSignalSpy appointment(action("mnuEditNewAppt"), &QAction::triggered);
        QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(appointment.count(), 1);
        QVERIFY(!search->hasSelectedText());
        // A key that is no menu shortcut still reaches the box.
        QTest::keyClick(search, Qt::Key_Z);
        QCOMPARE(search->text(), QStringLiteral("smiz"));
    }
};

POMARET_TEST(frmMainTest)
#include "tst_frmMain.moc"
