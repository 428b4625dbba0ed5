#include <unistd.h>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "StatusWindowStub.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/DbError.h"
#include "platform/ui/Cursor.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

namespace {

// Collects what is written to standard error while it lives.
class StderrCapture {
public:
    StderrCapture() {
        if (!m_file.open()) qFatal("StderrCapture: no temporary file");
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        ::dup2(m_file.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }
    QString text() {
        restore();
        m_file.seek(0);
        return QString::fromLocal8Bit(m_file.readAll());
    }

private:
    void restore() {
        if (m_saved < 0) return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

enum class Throws { DbError, StdException, Other };

}  // namespace

Q_DECLARE_METATYPE(core::Tail)
Q_DECLARE_METATYPE(Throws)

class ErrorLogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::Fixture> f;
    std::unique_ptr<StatusWindowStub> window;

    QVariant logged(const QString& column) {
        return f->scalar(QStringLiteral("SELECT %1 FROM ErrLog").arg(column));
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<testsupport::Fixture>();
        window = std::make_unique<StatusWindowStub>();
    }
    void cleanup() {
        window.reset();
        ui::SetArrow();
        f.reset();
    }

    void logErrorsWritesOneRow_data() {
        QTest::addColumn<QString>("modName");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("all given") << "frmHome.LoadContactInfo" << 3021 << "No current record.";
        QTest::newRow("empty name stays Null") << "" << 5 << "Invalid procedure call";
        QTest::newRow("empty description stays Null, number 0 kept") << "frmMain.Form_Load" << 0 << "";
    }
    void logErrorsWritesOneRow() {
        QFETCH(QString, modName);
        QFETCH(int, number);
        QFETCH(QString, description);

        modGeneral::LogErrors(modName, number, description);

        QCOMPARE(f->rowCount(QStringLiteral("ErrLog")), 1);
        QCOMPARE(logged(QStringLiteral("ModName")).isNull(), modName.isEmpty());
        if (!modName.isEmpty()) QCOMPARE(logged(QStringLiteral("ModName")).toString(), modName);
        QCOMPARE(logged(QStringLiteral("ErrNum")).isNull(), false);
        QCOMPARE(logged(QStringLiteral("ErrNum")).toInt(), number);
        QCOMPARE(logged(QStringLiteral("ErrDesc")).isNull(), description.isEmpty());
        if (!description.isEmpty()) QCOMPARE(logged(QStringLiteral("ErrDesc")).toString(), description);
        // The database stamps the row in local time; the program's (test-set) clock plays no part.
        const QDateTime stamp = logged(QStringLiteral("DateStamp")).toDateTime();
        QVERIFY2(qAbs(stamp.secsTo(QDateTime::currentDateTime())) < 60, qPrintable(stamp.toString()));
    }

    void logErrorsWithoutDatabaseWritesStandardError_data() {
        QTest::addColumn<bool>("closed");
        QTest::newRow("database closed") << true;
        QTest::newRow("ErrLog table missing") << false;
    }
    void logErrorsWithoutDatabaseWritesStandardError() {
        QFETCH(bool, closed);
        if (closed)
            g_dbLocal.close();
        else
            f->db().Execute(QStringLiteral("DROP TABLE ErrLog"));

        StderrCapture capture;
        modGeneral::LogErrors(QStringLiteral("frmMain.mnuFileCompact_Click"), 3051, QStringLiteral("Locked"));
        QCOMPARE(capture.text(), QStringLiteral("ErrLog: frmMain.mnuFileCompact_Click 3051 Locked\n"));
        g_dbLocal.borrow(&f->db());
    }

    void showErrorBox() {
        ui::SetBusy();
        f->prompts().answer(ui::Answer::OK);
        modGeneral::ShowError(3021, QStringLiteral("No current record."));
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(),
                 QStringLiteral(
                     "The following Error occurred:\n\nDescription : No current record.\nNumber : 3021"));
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        QCOMPARE(f->prompts().lastTitle(), QStringLiteral("Pomaret - Contact Manager"));
        QCOMPARE(f->prompts().beeps(), 1);
        QVERIFY(!ui::IsBusy());
    }

    void trapLogsAndRunsItsTail_data() {
        QTest::addColumn<core::Tail>("tail");
        QTest::addColumn<Throws>("throws");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text");  // empty: no box
        QTest::addColumn<QString>("title");

        const QString title = QStringLiteral("Pomaret - Contact Manager");
        QTest::newRow("silent") << core::Tail::Silent << Throws::DbError << 3078 << "no such table: Contacts"
                                << ""
                                << "";
        QTest::newRow("error box")
            << core::Tail::ErrorBox << Throws::DbError << 3021 << "No current record."
            << "The following Error occurred:\n\nDescription : No current record.\nNumber : 3021"
            << title;
        QTest::newRow("action") << core::Tail::Action << Throws::StdException << 1 << "disk full"
                                << "An un-known error occurred while Backing Up the Database!\n"
                                   "Sorry for the inconvenience"
                                << title;
        QTest::newRow("unknown") << core::Tail::Unknown << Throws::Other << 1 << "Unknown error"
                                 << "An un-known error occurred!\nSorry for the inconvenience" << title;
    }
    void trapLogsAndRunsItsTail() {
        QFETCH(core::Tail, tail);
        QFETCH(Throws, throws);
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, text);
        QFETCH(QString, title);
        if (!text.isEmpty()) f->prompts().answer(ui::Answer::OK);

        bool after = false;
        const bool finished = core::trap(QStringLiteral("frmMain.mnuFileBackupDB_Click"), tail,
                                         QStringLiteral("Backing Up the Database"), [&] {
                                             if (throws == Throws::DbError)
                                                 throw db::DbError(number, description);
                                             if (throws == Throws::StdException)
                                                 throw std::runtime_error(description.toStdString());
                                             throw 42;
                                             after = true;
                                         });

        QVERIFY(!finished);
        QVERIFY(!after);
        QCOMPARE(f->rowCount(QStringLiteral("ErrLog"),
                             QStringLiteral("ModName = ? AND ErrNum = ? AND ErrDesc = ?"),
                             {QStringLiteral("frmMain.mnuFileBackupDB_Click"), number, description}),
                 1);
        QCOMPARE(f->prompts().count(), text.isEmpty() ? 0 : 1);
        if (!text.isEmpty()) {
            QCOMPARE(f->prompts().lastText(), text);
            QCOMPARE(f->prompts().lastTitle(), title);
            QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        }
    }

    void trapPutsStatusAndPointerBack() {
        // A failing body that set the hourglass and its status: both cleared.
        core::trap(QStringLiteral("frmContList.LoadList"), core::Tail::Silent, [] {
            ui::SetBusy();
            modGeneral::SetStatus(QStringLiteral("Loading Contacts"), true);
            throw db::DbError(3021, QStringLiteral("No current record."));
        });
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
        QVERIFY(!ui::IsBusy());

        // A body that finishes keeps what it set.
        QVERIFY(core::trap(QStringLiteral("frmContList.Search"), core::Tail::Silent,
                           [] { modGeneral::SetStatus(QStringLiteral("3 names found")); }));
        QCOMPARE(window->status, QStringLiteral("3 names found"));

        // An hourglass set by the caller before the trapped call is the caller's to clear.
        ui::SetBusy();
        core::trap(QStringLiteral("modGeneral.GetPhoneNum"), core::Tail::Silent,
                   [] { throw db::DbError(3021, QStringLiteral("No current record.")); });
        QVERIFY(ui::IsBusy());
        QCOMPARE(window->status, QStringLiteral("3 names found"));
    }

    void injectedFaultFailsTheNextRunOnly() {
        core::InjectFault(QStringLiteral("frmMain.mnuHelpErrLog_Click"), 3051,
                          QStringLiteral("Injected fault"));
        f->prompts().answer(ui::Answer::OK);

        int runs = 0;
        const auto run = [&] {
            return core::trap(QStringLiteral("frmMain.mnuHelpErrLog_Click"), core::Tail::ErrorBox,
                              [&] { ++runs; });
        };
        QVERIFY(core::trap(QStringLiteral("frmMain.Form_Load"), core::Tail::ErrorBox, [&] { ++runs; }));
        QVERIFY(!run());
        QCOMPARE(runs, 1);
        QCOMPARE(
            f->prompts().lastText(),
            QStringLiteral("The following Error occurred:\n\nDescription : Injected fault\nNumber : 3051"));
        QCOMPARE(
            f->rowCount(QStringLiteral("ErrLog"), QStringLiteral("ModName = 'frmMain.mnuHelpErrLog_Click'")),
            1);
        QVERIFY(run());
        QCOMPARE(runs, 2);
    }
};

POMARET_TEST(ErrorLogTest)
#include "tst_ErrorLog.moc"
