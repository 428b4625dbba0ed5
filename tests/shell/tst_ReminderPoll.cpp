#include <SQLiteCpp/SQLiteCpp.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/Clock.h"
#include "core/modGeneral.h"
#include "items/ItemDialog.h"
#include "items/frmReminder.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

QDateTime At(const QString& text) {
    return QLocale::c().toDateTime(text, QStringLiteral("MM/dd/yyyy hh:mm"));
}

// Answers every reminder pop-up as soon as its modal loop runs: checks what it was handed, notes its
// reminder and closes it. `inside` runs while the pop-up is open (a timer tick that comes meanwhile).
class PopUpAnswerer {
public:
    PopUpAnswerer() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* popup = qobject_cast<frmReminder*>(QApplication::activeModalWidget());
            if (!popup || m_busy) return;
            m_busy = true;
            // Handed over before it loaded: the reminder, its item (to-do 70, appointment 80), the kind.
            const bool appt = popup->Type() == QStringLiteral("AP");
            // (A to-do saved in the test comes after 70.)
            if (popup->RemindID() <= 0 || (appt ? popup->ApptID() != 80 || popup->ToDoID() != 0
                                                : popup->ToDoID() < 70 || popup->ApptID() != 0))
                badHandOver = true;
            shown << popup->RemindID();
            shownAt << QStringLiteral("%1 at %2")
                           .arg(popup->RemindID())
                           .arg(core::Clock::Now().toString("hh:mm"));
            if (inside) inside(popup);
            QTest::mouseClick(popup->findChild<QLabel*>(QStringLiteral("lblClose")), Qt::LeftButton);
            m_busy = false;
        });
        m_timer.start(0);
    }
    QList<int> shown;
    QStringList shownAt;  // "RefNum at hh:mm", the clock's minute
    bool badHandOver = false;
    std::function<void(frmReminder*)> inside;

private:
    QTimer m_timer;
    bool m_busy = false;
};

}  // namespace

// The reminder poll and the notification-area icon, driven by setting the clock and calling the
// timer's tick directly.
class ReminderPollTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;
    std::unique_ptr<PopUpAnswerer> popups;
    QByteArray m_tz;

    void start(const QString& at) {
        f->setNow(At(at));
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
    }
    // "MM/dd/yyyy|h:mm AP|type|completed"; the rows get RefNum 1, 2, ... in order.
    void addReminder(const QString& fields) {
        const QStringList p = fields.split(QLatin1Char('|'));
        f->db().Execute(
            "INSERT INTO Remind (RemDate, RemTime, fkToDoID, fkApptID, Type, Completed) "
            "VALUES (?, ?, 70, 80, ?, ?)",
            {QLocale::c().toDate(p[0], QStringLiteral("MM/dd/yyyy")),
             QLocale::c().toTime(p[1], QStringLiteral("h:mm AP")), p[2], p.value(3) == "-1"});
    }
    void tick(const QString& at) {
        core::Clock::SetNow(At(at));
        w->Timer1_Timer();
    }
    // Ended the way a user ends it, then started again at `at` on the same data root. With reminders
    // pending the close hides the window, and the tray's Close ends it.
    void restart(const QString& at) {
        f->prompts().answer(ui::Answer::Yes);
        if (!w->close()) action("mnuTrayPopClose")->trigger();
        if (g_dbLocal) qFatal("the program did not end");
        start(at);
    }
    // The reminders added, the program started, then each step: a tick at "MM/dd/yyyy hh:mm"; "at T",
    // the clock set without one; "save MM/dd/yyyy h:mm AP", saveToDo (the next RefNum); "restart T".
    void play(const QStringList& reminders, const QString& startAt, const QStringList& steps) {
        for (const QString& r : reminders) addReminder(r);
        start(startAt);
        for (const QString& t : steps) {
            if (t.startsWith(QLatin1String("save ")))
                saveToDo(t.section(QLatin1Char(' '), 1, 1), t.section(QLatin1Char(' '), 2));
            else if (t.startsWith(QLatin1String("at ")))
                core::Clock::SetNow(At(t.mid(3)));
            else if (t.startsWith(QLatin1String("restart ")))
                restart(t.mid(8));
            else
                tick(t);
        }
    }
    // A to-do due then, saved through its dialog with a reminder "5 Min" before.
    void saveToDo(const QString& date, const QString& dueTime) {
        modGeneral::OpenToDo(modGeneral::NewItem());
        auto* todo = ui::ScreenRegistry::instance().find<ItemDialog>();
        QTest::keyClicks(todo->findChild<QLineEdit*>("Text1(0)"), "Call Bo");
        auto* due = todo->findChild<QDateEdit*>("dtpDate");
        due->setDate(due->date().addDays(1));  // picked from the calendar
        due->setDate(QLocale::c().toDate(date, QStringLiteral("MM/dd/yyyy")));
        auto* time = todo->findChild<QComboBox*>("Combo1(2)");
        time->setCurrentText(dueTime);
        Q_EMIT time->activated(time->currentIndex());
        todo->findChild<QCheckBox*>("Check1(0)")->click();
        todo->findChild<QPushButton*>("cmdOpts(3)")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QAction* action(const char* name) const { return w->findChild<QAction*>(QString::fromLatin1(name)); }

private Q_SLOTS:
    // A zone that skips 2:00 to 3:00 AM on 03/29/2026 and reads 2:00 to 3:00 AM twice on 10/25/2026.
    void initTestCase() {
        m_tz = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    void cleanupTestCase() {
        m_tz.isNull() ? qunsetenv("TZ") : qputenv("TZ", m_tz);
        tzset();
    }
    void init() {
        f = std::make_unique<Fixture>();
        // The items the reminders belong to: closing a pop-up opens its item.
        f->db().Execute("INSERT INTO ToDo (RefNum, Subject, DueDate) VALUES (70, 'Item', #12/08/2026#)");
        f->db().Execute("INSERT INTO Appts (RefNum, Subject, DateFrom) VALUES (80, 'Item', #12/08/2026#)");
        popups = std::make_unique<PopUpAnswerer>();
    }
    void cleanup() {
        popups.reset();
        modGeneral::CloseAllChildForms();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }

    void dueRemindersPopUp_data() {
        QTest::addColumn<QString>("startAt");
        QTest::addColumn<QStringList>("reminders");
        QTest::addColumn<QStringList>("ticks");  // as play() takes them
        QTest::addColumn<QList<int>>("shown");   // RefNums in the order they popped up

        const QString ten = QStringLiteral("12/08/2026 10:00");
        QTest::newRow("on its minute")
            << ten << QStringList{"12/08/2026|10:06 AM|AP", "12/08/2026|10:05 AM|AP"}
            << QStringList{"12/08/2026 10:04", "12/08/2026 10:05"} << QList<int>{2};
        QTest::newRow("completed never") << ten << QStringList{"12/08/2026|10:05 AM|TD|-1"}
                                         << QStringList{"12/08/2026 10:05"} << QList<int>{};
        QTest::newRow("two in one minute")
            << ten << QStringList{"12/08/2026|10:05 AM|TD", "12/08/2026|10:05 AM|AP"}
            << QStringList{"12/08/2026 10:05"} << QList<int>{1, 2};
        QTest::newRow("skipped minutes caught up")
            << ten << QStringList{"12/08/2026|10:03 AM|AP", "12/08/2026|10:04 AM|TD"}
            << QStringList{"12/08/2026 10:02", "12/08/2026 10:05"} << QList<int>{1, 2};
        QTest::newRow("once only") << ten << QStringList{"12/08/2026|10:05 AM|AP"}
                                   << QStringList{"12/08/2026 10:05", "12/08/2026 10:05", "12/08/2026 10:06"}
                                   << QList<int>{1};
        // Today's come with the first tick, the day before's do not.
        QTest::newRow("past at start-up")
            << ten << QStringList{"12/08/2026|9:59 AM|AP", "12/08/2026|10:00 AM|AP", "12/07/2026|10:01 AM|AP"}
            << QStringList{"12/08/2026 10:01", "12/08/2026 10:02"} << QList<int>{1, 2};
        QTest::newRow("past midnight")
            << "12/08/2026 23:58"
            << QStringList{"12/08/2026|11:59 PM|TD", "12/09/2026|12:00 AM|AP", "12/09/2026|12:01 AM|TD"}
            << QStringList{"12/08/2026 23:59", "12/09/2026 00:01"} << QList<int>{1, 2, 3};
        // A pop-up held open (or a machine asleep) over midnight: in reminder order, not as added.
        QTest::newRow("late tick over midnights")
            << "12/08/2026 23:50"
            << QStringList{"12/09/2026|9:00 AM|TD", "12/08/2026|11:55 PM|AP", "12/10/2026|12:01 AM|TD",
                           "12/10/2026|12:02 AM|AP", "12/08/2026|11:54 PM|AP"}
            << QStringList{"12/08/2026 23:54", "12/10/2026 00:01", "12/10/2026 00:02"}
            << QList<int>{5, 2, 1, 3, 4};
        QTest::newRow("unknown kind") << ten << QStringList{"12/08/2026|10:05 AM|XX"}
                                      << QStringList{"12/08/2026 10:05"} << QList<int>{};
        // Compared as the rows' texts: the skipped hour comes with the next tick...
        QTest::newRow("spring forward")
            << "03/29/2026 01:58" << QStringList{"03/29/2026|2:30 AM|AP", "03/29/2026|3:00 AM|AP"}
            << QStringList{"save 03/29/2026 2:30 AM", "03/29/2026 01:59", "03/29/2026 03:00"}
            << QList<int>{3, 1, 2};
        // ... the repeated one pops up once.
        QTest::newRow("fall back") << "10/25/2026 02:28"
                                   << QStringList{"10/25/2026|2:30 AM|AP", "10/25/2026|3:00 AM|TD"}
                                   << QStringList{"10/25/2026 02:30", "10/25/2026 02:59", "10/25/2026 02:00",
                                                  "10/25/2026 02:30", "10/25/2026 03:00"}
                                   << QList<int>{1, 2};
        // A reminder saved after the clock went back, for the minute of the next tick, which polls it.
        QTest::newRow("clock set back")
            << ten << QStringList{}
            << QStringList{"at 12/08/2026 09:24", "save 12/08/2026 9:30 AM", "12/08/2026 09:25"}
            << QList<int>{1};
        QTest::newRow("set back into the last minute polled")
            << "12/08/2026 09:24" << QStringList{}
            << QStringList{"12/08/2026 09:25", "at 12/08/2026 09:24", "save 12/08/2026 9:30 AM",
                           "12/08/2026 09:25"}
            << QList<int>{1};
    }
    void dueRemindersPopUp() {
        QFETCH(QString, startAt);
        QFETCH(QStringList, reminders);
        QFETCH(QStringList, ticks);
        QFETCH(QList<int>, shown);
        play(reminders, startAt, ticks);
        QCOMPARE(popups->shown, shown);
        for (int id : shown)
            QVERIFY(f->scalar("SELECT Completed FROM Remind WHERE RefNum = ?", {id}).toBool());
        QCOMPARE(f->scalar("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
        QVERIFY(!popups->badHandOver);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // Today's reminders whose minute went by unseen pop up at the next tick, once each.
    void unseenMinutesCaughtUp_data() {
        QTest::addColumn<QStringList>("reminders");
        QTest::addColumn<QString>("startAt");
        QTest::addColumn<QStringList>("steps");  // as play() takes them
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("rows");  // Remind afterwards: "RefNum done" or "RefNum open"

        QTest::newRow("closed over its minute")
            << QStringList{"12/08/2026|10:40 AM|TD"} << "12/08/2026 10:37"
            << QStringList{"12/08/2026 10:38", "restart 12/08/2026 10:41", "12/08/2026 10:42"}
            << QStringList{"1 at 10:42"} << QStringList{"1 done"};
        QTest::newRow("clock set back, then asleep")
            << QStringList{} << "12/08/2026 10:38"
            << QStringList{"12/08/2026 10:39",         "12/08/2026 10:40", "at 12/08/2026 10:20",
                           "save 12/08/2026 10:30 AM", "12/08/2026 10:27", "12/08/2026 10:28",
                           "12/08/2026 10:41"}
            << QStringList{"1 at 10:27"} << QStringList{"1 done"};
        QTest::newRow("saved for a past minute")
            << QStringList{} << "12/08/2026 10:38"
            << QStringList{"12/08/2026 10:40", "at 12/08/2026 10:20",      "save 12/08/2026 10:00 AM",
                           "12/08/2026 10:21", "restart 12/08/2026 10:22", "12/08/2026 10:23"}
            << QStringList{} << QStringList{"1 done"};
        QTest::newRow("each once, in reminder order")
            << QStringList{"12/08/2026|10:40 AM|AP", "12/08/2026|10:39 AM|TD", "12/08/2026|10:45 AM|AP"}
            << "12/08/2026 10:41"
            << QStringList{"12/08/2026 10:42",         "12/08/2026 10:43", "12/08/2026 10:31",
                           "restart 12/08/2026 10:44", "12/08/2026 10:45", "12/08/2026 10:46"}
            << QStringList{"2 at 10:42", "1 at 10:42", "3 at 10:45"}
            << QStringList{"1 done", "2 done", "3 done"};
    }
    void unseenMinutesCaughtUp() {
        QFETCH(QStringList, reminders);
        QFETCH(QString, startAt);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, rows);
        play(reminders, startAt, steps);
        QCOMPARE(popups->shownAt, shown);
        QStringList stored;
        db::Recordset rs = f->db().OpenRecordset("SELECT RefNum, Completed FROM Remind ORDER BY RefNum");
        for (; !rs.Eof(); rs.MoveNext())
            stored << rs.Value("RefNum").toString() + (rs.Value("Completed").toBool() ? " done" : " open");
        QCOMPARE(stored, rows);
        QVERIFY(w->NoReminders());
        QVERIFY(!popups->badHandOver);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    void tickDuringPopUpWaits() {
        addReminder("12/08/2026|10:05 AM|AP");
        addReminder("12/08/2026|10:06 AM|TD");
        start("12/08/2026 10:00");
        int shownInside = -1;
        popups->inside = [&](frmReminder*) {
            if (shownInside >= 0) return;
            // The timer fires on while the first pop-up is open, a minute later.
            tick("12/08/2026 10:06");
            shownInside = static_cast<int>(popups->shown.size());
        };
        tick("12/08/2026 10:05");
        QCOMPARE(shownInside, 1);
        // The next tick after it closed takes the minute the swallowed one left.
        tick("12/08/2026 10:06");
        QCOMPARE(popups->shown, (QList<int>{1, 2}));
    }

    // A to-do saved with a reminder pops up in its minute while the window waits in the tray; closing
    // the pop-up marks it done and opens the to-do for editing over the window brought back.
    void savedReminderPopsUpAndOpensItsItem() {
        start("12/08/2026 10:00");
        saveToDo("12/08/2026", "10:30 AM");
        tick("12/08/2026 10:01");  // the poll sees that a reminder is pending
        QVERIFY(!w->close());
        QVERIFY(w->TrayIconShown());

        tick("12/08/2026 10:24");
        QVERIFY(popups->shown.isEmpty());
        tick("12/08/2026 10:25");

        QCOMPARE(popups->shown, QList<int>{1});
        QCOMPARE(f->scalar("SELECT Completed FROM Remind").toBool(), true);
        QVERIFY(w->isVisible() && !w->TrayIconShown());
        auto* todo = ui::ScreenRegistry::instance().find<ItemDialog>();
        QVERIFY(todo && todo->isVisible());
        QCOMPARE(todo->EntryMode(), 2);
        QCOMPARE(todo->RecordNumber(), 71);
        todo->findChild<QPushButton*>("cmdOpts(3)")->click();
        QCOMPARE(f->scalar("SELECT Completed FROM Remind").toBool(), true);  // saved, its minute passed
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // A pop-up that cannot mark its reminder done (a full disk) comes once in a run, and says so once.
    void undoneReminderPopsUpOnce() {
        addReminder("12/08/2026|10:05 AM|TD");
        f->db().Connection().exec(
            "CREATE TRIGGER Full BEFORE UPDATE ON Remind BEGIN SELECT RAISE(FAIL, 'disk full'); END");
        start("12/08/2026 10:00");
        f->prompts().answer(ui::Answer::OK);
        for (const char* at : {"12/08/2026 10:05", "12/08/2026 10:06", "12/08/2026 10:07"}) tick(at);
        QCOMPARE(popups->shown, QList<int>{1});
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmReminder.Form_Unload'"), 1);
        QCOMPARE(f->scalar("SELECT COUNT(*) FROM Remind WHERE Completed = False").toInt(), 1);
        QCOMPARE(f->scalar("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
    }

    void pendingFollowsTheCurrentDay() {
        addReminder("12/09/2026|9:00 AM|TD");
        start("12/08/2026 23:59");
        QVERIFY(w->NoReminders());
        tick("12/09/2026 00:00");
        QVERIFY(!w->NoReminders());
    }

    void closeWithPendingReminder_data() {
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("tray");
        QTest::newRow("tray") << true << true;
        QTest::newRow("no tray") << true << false;
        QTest::newRow("nothing pending") << false << true;
    }
    void closeWithPendingReminder() {
        QFETCH(bool, pending);
        QFETCH(bool, tray);
        f->shell().setTrayAvailable(tray);
        if (pending) addReminder("12/08/2026|10:05 AM|AP");
        start("12/08/2026 10:00");
        const bool asks = !pending || !tray;
        if (asks) f->prompts().answer(ui::Answer::No);

        QVERIFY(!w->close());

        QCOMPARE(f->prompts().count(), asks ? 1 : 0);
        QCOMPARE(w->isHidden(), pending && tray);
        QCOMPARE(w->isMinimized(), pending && !tray);
        QCOMPARE(w->TrayIconShown(), pending && tray);
        auto* icon = w->findChild<QSystemTrayIcon*>();
        QCOMPARE(icon->toolTip(), QStringLiteral("Pomaret - Contact Manager\nAppointment / To Do Reminder"));
        QCOMPARE(icon->contextMenu()->actions().first()->text(),
                 QStringLiteral("Restore Pomaret - Main Screen"));
        QCOMPARE(icon->contextMenu()->actions().last()->text(), QStringLiteral("Close Pomaret"));

        // The pop-up brings the window back when it closes.
        tick("12/08/2026 10:05");
        QCOMPARE(popups->shown.size(), pending ? 1 : 0);
        QVERIFY(w->isVisible() && !w->isMinimized());
        QVERIFY(!w->TrayIconShown());
    }

    // Without a tray a minimised window could not be ended while reminders are pending: the close
    // asks the tray menu's question instead. Yes ends the program, No minimises.
    void closeWithoutTrayAsks_data() {
        QTest::addColumn<bool>("exitMenu");
        QTest::addColumn<bool>("yes");
        QTest::newRow("close box, Yes") << false << true;
        QTest::newRow("close box, No") << false << false;
        QTest::newRow("File > Exit, Yes") << true << true;
    }
    void closeWithoutTrayAsks() {
        QFETCH(bool, exitMenu);
        QFETCH(bool, yes);
        f->shell().setTrayAvailable(false);
        addReminder("12/08/2026|8:00 AM|AP");
        start("12/08/2026 10:00");
        QSignalSpy unloaded(w.get(), &frmMain::Unloaded);
        f->prompts().answer(yes ? ui::Answer::Yes : ui::Answer::No);

        if (exitMenu)
            action("mnuFileExit")->trigger();
        else
            QCOMPARE(w->close(), yes);

        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), QStringLiteral("Close Pomaret?"));
        QCOMPARE(f->prompts().lastTitle(), QStringLiteral("Confirm Close"));
        QCOMPARE(f->prompts().lastStyle(), ui::YesNo | ui::Question);
        QCOMPARE(unloaded.count(), yes ? 1 : 0);
        QCOMPARE(static_cast<bool>(g_dbLocal), !yes);
        QCOMPARE(w->isMinimized(), !yes);
        QVERIFY(!w->TrayIconShown());
        if (yes)
            QCOMPARE(modAPI::GetRegSetting(QStringLiteral("WindowState"), QString()), QStringLiteral("0"));
    }

    void restoreFromTray() {
        addReminder("12/08/2026|8:00 AM|AP");
        start("12/08/2026 10:00");
        QVERIFY(!w->close());
        action("mnuTrayPopRestore")->trigger();
        QVERIFY(w->isVisible());
        QVERIFY(!w->TrayIconShown());
        // Reminders are still pending: the next close hides it again.
        QVERIFY(!w->close());
        QVERIFY(w->isHidden());
        QCOMPARE(f->prompts().count(), 0);
    }

    void closeFromTray_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void closeFromTray() {
        QFETCH(bool, yes);
        addReminder("12/08/2026|8:00 AM|AP");
        start("12/08/2026 10:00");
        QSignalSpy unloaded(w.get(), &frmMain::Unloaded);
        QVERIFY(!w->close());
        f->prompts().answer(yes ? ui::Answer::Yes : ui::Answer::No);

        action("mnuTrayPopClose")->trigger();

        QCOMPARE(f->prompts().lastText(), QStringLiteral("Close Pomaret?"));
        QCOMPARE(unloaded.count(), yes ? 1 : 0);
        QVERIFY(w->isHidden());
        // Answered No, the window stays hidden and the icon comes back to reach it.
        QCOMPARE(w->TrayIconShown(), !yes);
    }
};

POMARET_TEST(ReminderPollTest)
#include "tst_ReminderPoll.moc"
