#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <set>

#include "platform/shell/SingleInstance.h"
#include "platform/ui/ScreenRegistry.h"
#include "support/TestRegistry.h"

namespace {

// A screen that records its close and may refuse it, as a screen with unsaved input does.
class Screen : public QWidget {
public:
    Screen(const QString& name, QStringList& log, bool refuse = false) : m_log(log), m_refuse(refuse) {
        setObjectName(name);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        m_log << objectName();
        if (m_refuse) {
            event->ignore();
        } else {
            event->accept();
        }
    }

private:
    QStringList& m_log;
    bool m_refuse;
};

}  // namespace

// The open screens and dialogs, and the one-copy lock.
class ScreenRegistryTest : public QObject {
    Q_OBJECT

    ui::ScreenRegistry& registry() { return ui::ScreenRegistry::instance(); }

private Q_SLOTS:
    void closeAllNewestFirst() {
        QStringList log;
        QMdiArea area;
        auto* first = new Screen("first", log);
        auto* stubborn = new Screen("stubborn", log, true);
        area.addSubWindow(first)->setAttribute(Qt::WA_DeleteOnClose);
        area.addSubWindow(stubborn)->setAttribute(Qt::WA_DeleteOnClose);
        area.show();
        registry().add(first);
        registry().add(stubborn);
        QDialog dialog;
        dialog.setObjectName("dialog");
        dialog.show();
        registry().add(&dialog);
        bool rejected = false;
        connect(&dialog, &QDialog::rejected, this, [&] { rejected = true; });

        registry().closeAll();

        // Close handlers ran before the return, newest first; the refusing screen stays open and
        // listed, and did not stop the older one from closing.
        QCOMPARE(log, QStringList({"stubborn", "first"}));
        QVERIFY(rejected);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(registry().openForms(), QList<QWidget*>{stubborn});
        QVERIFY(registry().find("stubborn"));
        QVERIFY(!registry().find("first"));

        // Deleted forms drop out by themselves.
        delete stubborn->parentWidget();
        QVERIFY(registry().openForms().isEmpty());
    }

    void closeAllEndsAModalDialog() {
        QDialog dialog;
        registry().add(&dialog);
        QTimer::singleShot(0, [this] { registry().closeAll(); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(registry().openForms().isEmpty());
    }

    void openByName() {
        int made = 0;
        registry().registerScreen("scrTest", [&]() -> QWidget* {
            ++made;
            return new QWidget;
        });
        QVERIFY(registry().hasScreen("scrTest"));
        QVERIFY(!registry().open("scrNothing"));
        std::unique_ptr<QWidget> screen(registry().open("scrTest"));
        QCOMPARE(made, 1);
        QCOMPARE(registry().openForms(), QList<QWidget*>{screen.get()});
        screen.reset();
        QVERIFY(registry().openForms().isEmpty());
    }

    // A dialog is made with what its opener hands over; while it is on screen a second opening brings
    // it forward unchanged, and once it has been closed the next opening makes a fresh one.
    void oneDialogOfEachKind() {
        QList<QVariantMap> handed;
        registry().registerScreen("dlgTest", [&](const ui::OpenValues& values) -> QWidget* {
            handed << values;
            auto* dialog = new QDialog;
            dialog->setObjectName("dlgTest");
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->setProperty("kind", values.value("m_strAddrType"));
            dialog->show();
            return dialog;
        });
        QPointer<QWidget> first = registry().open("dlgTest", {{"m_strAddrType", "Home"}});
        QVERIFY(first);
        QCOMPARE(registry().open("dlgTest", {{"m_strAddrType", "Work"}}), first.data());
        QCOMPARE(handed.size(), 1);
        QCOMPARE(handed[0].value("m_strAddrType").toString(), QString("Home"));
        QCOMPARE(first->property("kind").toString(), QString("Home"));

        qobject_cast<QDialog*>(first.data())->reject();  // closed, its deletion still queued
        QPointer<QWidget> second = registry().open("dlgTest", {{"m_strAddrType", "Work"}});
        QVERIFY(second && second != first);
        QCOMPARE(second->property("kind").toString(), QString("Work"));
        delete second.data();
        QTRY_VERIFY(first.isNull());
        registry().registerScreen("dlgTest", {});
    }

    void oneCopyPerDataRoot() {
        QTemporaryDir root;
        const QString path = root.filePath("Pomaret.lock");
        QCOMPARE(shell::SingleInstance::tryAcquire(path), shell::SingleInstance::Outcome::Acquired);
        QCOMPARE(shell::SingleInstance::tryAcquire(path),
                 shell::SingleInstance::Outcome::Acquired);  // already ours

        // What a second copy finds: the data root is taken.
        const int second = ::open(QFile::encodeName(root.path()), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QCOMPARE(::flock(second, LOCK_EX | LOCK_NB), -1);

        shell::SingleInstance::release();
        QCOMPARE(::flock(second, LOCK_EX | LOCK_NB), 0);
        QCOMPARE(shell::SingleInstance::tryAcquire(path), shell::SingleInstance::Outcome::Running);
        ::close(second);
    }

    void staleLockOfADeadProcessIsTakenOver() {
        QProcess gone;
        gone.start("true", {});
        QVERIFY(gone.waitForStarted());
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished());

        QTemporaryDir root;
        const QString path = root.filePath("Pomaret.lock");
        QFile lock(path);
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + "\npomaret\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();

        QCOMPARE(shell::SingleInstance::tryAcquire(path), shell::SingleInstance::Outcome::Acquired);
        QVERIFY(shell::SingleInstance::held());
        shell::SingleInstance::release();
        QVERIFY(!QFile::exists(path));
    }

    // Where folders take no lock the lock file alone decides: of two starts at the same moment exactly
    // one runs, also where a copy that is gone left its file behind (odd rounds). Each start is a
    // process of its own, which keeps what it got until both have answered.
    void fallbackLetsOneOfTwoStartsRun() {
        QTemporaryDir root;
        const QString path = root.filePath("Pomaret.lock");
        shell::SingleInstance::SetFolderLocksRefused(true);
        for (int round = 0; round < 40; ++round) {
            if (QFile lock(path); round % 2)
                QVERIFY(lock.open(QIODevice::WriteOnly) && lock.write("2147483646\n"));
            int go[2], told[2], hold[2];
            QVERIFY(::pipe(go) == 0 && ::pipe(told) == 0 && ::pipe(hold) == 0);
            pid_t starts[2] = {};
            for (pid_t& start : starts) {
                if ((start = ::fork()) != 0) continue;
                ::close(go[1]);
                ::close(hold[1]);
                char outcome = 0;
                (void)!::read(go[0], &outcome, 1);
                outcome = char(shell::SingleInstance::tryAcquire(path));
                (void)!::write(told[1], &outcome, 1);
                (void)!::read(hold[0], &outcome, 1);
                ::_exit(0);
            }
            ::close(go[1]);  // both go at once
            char outcomes[2] = {};
            for (char& outcome : outcomes) QCOMPARE(::read(told[0], &outcome, 1), ssize_t(1));
            ::close(hold[1]);
            for (const pid_t start : starts) ::waitpid(start, nullptr, 0);
            for (const int fd : {go[0], told[0], told[1], hold[0]}) ::close(fd);
            QVERIFY(QFile::remove(path));
            QCOMPARE(std::set<char>(outcomes, outcomes + 2),
                     std::set<char>({char(shell::SingleInstance::Outcome::Acquired),
                                     char(shell::SingleInstance::Outcome::Running)}));
        }
        shell::SingleInstance::SetFolderLocksRefused(false);
    }
};

POMARET_TEST(ScreenRegistryTest)
#include "tst_ScreenRegistry.moc"
