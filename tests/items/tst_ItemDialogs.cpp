#include <SQLiteCpp/Database.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "core/Clock.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "items/ItemDialog.h"
#include "items/ItemScreens.h"
#include "items/Reminders.h"
#include "items/frmReminder.h"
#include "platform/db/Database.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "shell/frmHome.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");
const QString kPostingFailed =
    QStringLiteral("An un-known error occurred while Posting the records!\nSorry for the inconvenience");

QDate Day(const char* text) {
    return QLocale::c().toDate(QString::fromLatin1(text), QStringLiteral("MM/dd/yyyy"));
}

// A value as the tests write it: dates "MM/dd/yyyy", times "h:mm AP" (with seconds when not 0),
// Null "-".
QString Cell(const QVariant& v) {
    if (v.isNull()) return QStringLiteral("-");
    if (v.typeId() == QMetaType::QDate) return QLocale::c().toString(v.toDate(), "MM/dd/yyyy");
    if (v.typeId() == QMetaType::QTime)
        return QLocale::c().toString(v.toTime(), v.toTime().second() ? "h:mm:ss AP" : "h:mm AP");
    return v.toString();
}

}  // namespace

// Stands in for a screen an item dialog reloads: notes each loader called, by form and name.
class ScreenDouble : public QWidget {
    Q_OBJECT

public:
    ScreenDouble(const char* name, QStringList& log) : m_log(log) {
        setObjectName(QLatin1String(name));
        ui::ScreenRegistry::instance().add(this);
    }
    Q_INVOKABLE void LoadToDo() { note("LoadToDo"); }
    Q_INVOKABLE void LoadNotes() { note("LoadNotes"); }
    Q_INVOKABLE void LoadToDoInfo() { note("LoadToDoInfo"); }
    Q_INVOKABLE void LoadContactHistory() { note("LoadContactHistory"); }
    Q_INVOKABLE void LoadProjectHistory() { note("LoadProjectHistory"); }
    Q_INVOKABLE void LoadAppts() { note("LoadAppts"); }
    Q_INVOKABLE void LoadApptsInfo() { note("LoadApptsInfo"); }
    Q_INVOKABLE void CalculateDates() { note("CalculateDates"); }
    Q_INVOKABLE void DestroyTextBoxArray() { note("DestroyTextBoxArray"); }
    Q_INVOKABLE void LoadAppointments() { note("LoadAppointments"); }
    Q_INVOKABLE void EmptyDateValues() { note("EmptyDateValues"); }
    Q_INVOKABLE void CreateCalendar() { note("CreateCalendar"); }
    Q_INVOKABLE void HighlightCalendarDates() { note("HighlightCalendarDates"); }

private:
    void note(const char* loader) { m_log << objectName() + QLatin1Char('.') + QLatin1String(loader); }
    QStringList& m_log;
};

// The main window as the reminder pop-up reaches it: notes the steps, and how things stood when the
// window was brought back.
class WindowLink : public core::MainWindowLink {
public:
    WindowLink() { core::SetMainWindow(this); }
    ~WindowLink() override { core::SetMainWindow(nullptr); }
    QWidget* Widget() override { return &window; }
    void SetStatusText(const QString& text) override { status = text; }
    QString StatusText() const override { return status; }
    void SetContextCommandsEnabled(bool) override {}
    int WindowStateCode() const override { return 0; }
    QRectF OuterFrameTwips() const override { return {}; }
    bool PositionKnown() const override { return true; }
    void RemoveTrayIcon() override { steps << "RemoveTrayIcon"; }
    QString PollTime() const override { return polled; }
    void ShowFromTray() override {
        const auto& registry = ui::ScreenRegistry::instance();
        const frmReminder* popup = registry.find<frmReminder>();
        const bool away = popup && popup->isHidden() && !(popup->windowFlags() & Qt::WindowStaysOnTopHint);
        steps << QStringLiteral("ShowFromTray%1%2")
                     .arg(away ? "" : ", pop-up on view", registry.find<ItemDialog>() ? ", item open" : "");
    }

    QWidget window;
    QString status;
    QStringList steps;
    QString polled;
};

// The to-do and note dialogs driven as a user drives them, opened the way every opener opens them.
class ItemDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    QStringList reloads;
    std::vector<std::unique_ptr<ScreenDouble>> screens;

    static ItemDialog* dlg() { return ui::ScreenRegistry::instance().find<ItemDialog>(); }
    template <class T = QWidget>
    static T* ctl(const QString& name) {
        T* w = dlg() ? dlg()->findChild<T*>(name) : nullptr;
        if (!w) qFatal("no control %s", qPrintable(name));
        return w;
    }
    static void press(int button) { ctl<QPushButton>(QStringLiteral("cmdOpts(%1)").arg(button))->click(); }
    // OK as a user reaches it, the focus moving: clicked, Tab until it has the focus, or Enter anywhere.
    static void goOn(const QString& how) {
        auto* ok = ctl<QPushButton>("cmdOpts(3)");
        if (how == "click ok") return QTest::mouseClick(ok, Qt::LeftButton);
        for (int tabs = 0; how == "tab to ok" && !ok->hasFocus() && tabs < 30; ++tabs)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    static void open(bool note, int number = 0, const QString& text = {}) {
        const modGeneral::ItemOpening item =
            number ? modGeneral::StoredItem(number) : modGeneral::NewItem(text);
        note ? modGeneral::OpenNote(item) : modGeneral::OpenToDo(item);
        QVERIFY(QTest::qWaitForWindowActive(dlg()));
    }
    static void openToDo(int number = 0, const QString& text = {}) { open(false, number, text); }
    static void openAppt(int number = 0) {
        modGeneral::OpenAppt(number ? modGeneral::StoredItem(number) : modGeneral::NewItem());
        QVERIFY(QTest::qWaitForWindowActive(dlg()));
    }
    // A user's choice in a list: the entry of exactly this text.
    static void pick(const QString& list, const QString& text) {
        auto* combo = ctl<ui::ComboBox>(list);
        int at = -1;
        for (int i = 0; i < combo->count() && at < 0; ++i) {
            if (combo->itemText(i) == text) at = i;
        }
        QVERIFY2(at >= 0, qPrintable(text));
        combo->setCurrentIndex(at);
        Q_EMIT combo->activated(at);
    }
    // A date typed into the picker.
    static void pickDate(const QDate& date) { ctl<QDateEdit>("dtpDate")->setDate(date); }
    static void remind(const QString& interval = {}) {
        ctl<QCheckBox>("Check1(0)")->click();
        if (!interval.isEmpty()) pick("Combo1(3)", interval);
    }
    static void retype(QWidget* box, const QString& text) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        if (!text.isEmpty()) QTest::keyClicks(box, text);
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // The first row of a query, its columns joined by "|".
    QString row(const QString& sql, const QVariantList& params = {}) {
        db::Recordset rs = f->db().OpenRecordset(sql, params);
        if (rs.Eof()) return QStringLiteral("no row");
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i) cells << Cell(rs.Value(i));
        return cells.join(u'|');
    }
    void exec(const QString& sql, const QVariantList& params = {}) { f->db().Execute(sql, params); }
    void doubles() {
        for (const char* name : {"frmHome", "frmContEntry", "frmProjEntry", "frmToDoList", "frmCalDay",
                                 "frmCalList", "frmCalMnth"})
            screens.push_back(std::make_unique<ScreenDouble>(name, reloads));
    }
    static frmHome* realHome() { return qobject_cast<frmHome*>(frmHome::Open()); }

private Q_SLOTS:
    void initTestCase() { items::RegisterScreens(); }
    void init() {
        f = std::make_unique<Fixture>();
        reloads.clear();
        exec("INSERT INTO Contacts (ContID, ShownName) VALUES (5, 'Berg, Anna'), (6, 'Lind, Carl')");
        exec("INSERT INTO Projects (ProjID, PName) VALUES (7, 'Roof'), (8, 'Roof')");
    }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        screens.clear();
        settle();
        g_strCurScreen.clear();
        const int errors = f->rowCount("ErrLog");
        f.reset();
        QCOMPARE(errors, 0);
    }

    // The reminder time rule: the due date and time (midnight when none) less the interval.
    void remindTimes_data() {
        QTest::addColumn<QString>("due");  // "MM/dd/yyyy h:mm AP", or a date alone
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("expected");
        const char* const rows[][3] = {
            {"12/10/2026 12:00 AM", "5 Min", "12/09/2026 11:55 PM"},
            {"12/10/2026 12:00 AM", "30 Min", "12/09/2026 11:30 PM"},
            {"12/10/2026 12:30 AM", "5 Min", "12/10/2026 12:25 AM"},
            {"12/10/2026 12:30 AM", "30 Min", "12/10/2026 12:00 AM"},
            {"12/10/2026 9:00 AM", "5 Min", "12/10/2026 8:55 AM"},
            {"12/10/2026 9:00 AM", "1 Hr", "12/10/2026 8:00 AM"},
            {"12/10/2026 9:00 AM", "12 Hr", "12/09/2026 9:00 PM"},
            {"12/10/2026 1:30 AM", "2 Hr", "12/09/2026 11:30 PM"},
            {"12/10/2026 1:30 AM", "3 Hr", "12/09/2026 10:30 PM"},
            {"12/10/2026 2:00 AM", "2 Hr", "12/10/2026 12:00 AM"},
            {"12/10/2026 5:30 PM", "6 Hr", "12/10/2026 11:30 AM"},
            {"12/10/2026 5:30 PM", "1 Week", "12/03/2026 5:30 PM"},
            {"03/01/2026 5:30 PM", "2 Weeks", "02/15/2026 5:30 PM"},
            {"12/10/2026", "5 Min", "12/09/2026 11:55 PM"},
            {"12/10/2026", "1 Day", "12/09/2026 12:00 AM"},
            {"01/01/2027 12:10 AM", "30 Min", "12/31/2026 11:40 PM"},  // off the half hour
            {"12/10/2026 9:00 AM", "5 min", "fails"},
            {"12/10/2026 9:00 AM", "<Select>", "fails"},
        };
        for (const auto& r : rows)
            QTest::newRow(qPrintable(QString("%1 less %2").arg(r[0], r[1]))) << r[0] << r[1] << r[2];
    }
    void remindTimes() {
        QFETCH(QString, due);
        QFETCH(QString, interval);
        QFETCH(QString, expected);
        const QDate date = QLocale::c().toDate(due.left(10), "MM/dd/yyyy");
        std::optional<QTime> time;
        if (due.size() > 10) time = QLocale::c().toTime(due.mid(11), "h:mm AP");
        try {
            const items::RemindAt at = items::GetRemindTimes(date, time, interval);
            QCOMPARE(QLocale::c().toString(at.date, "MM/dd/yyyy") + ' ' + items::TimeText(at.time), expected);
        } catch (const std::exception&) {
            QCOMPARE(QStringLiteral("fails"), expected);
        }
    }

    // A new to-do saved from the home screen with only its subject.
    void newToDoWithOnlyASubject() {
        frmHome* home = realHome();
        openToDo();
        QCOMPARE(dlg()->windowTitle(), QString("New/ Edit To Do"));
        QVERIFY(ctl<QPushButton>("cmdOpts(1)")->isEnabled());
        QVERIFY(!ctl<QPushButton>("cmdOpts(2)")->isEnabled());
        QTest::keyClicks(ctl<QLineEdit>("Text1(0)"), "Call plumber");
        press(3);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(
            row("SELECT Subject, DueDate, DueTime, TextBody, fkContID, fkProjID, Remind, RemAmt, Private, "
                "Urgent, Completed FROM ToDo"),
            QString("Call plumber|12/08/2026|-|-|-|-|false|-|false|false|false"));
        QCOMPARE(f->rowCount("Remind"), 0);
        QCOMPARE(home->lvToDo->rowCount(), 1);
        QCOMPARE(home->lvToDo->text(0, 0), QString("Call plumber"));
    }

    // How a dialog closes decides what it reloads: the screen named by the active-screen code, through
    // that screen's own loaders, unless it was cancelled; a note's delete reloads once more.
    void closingReloads_data() {
        QTest::addColumn<bool>("note");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("expected");
        const QStringList none;
        QTest::newRow("to-do OK, home") << false << "Home"
                                        << "ok" << QStringList{"frmHome.LoadToDo"};
        QTest::newRow("to-do close box, contact") << false << "CEnt"
                                                  << "close" << QStringList{"frmContEntry.LoadToDoInfo"};
        QTest::newRow("to-do OK, project") << false << "PEnt"
                                           << "ok" << QStringList{"frmProjEntry.LoadToDoInfo"};
        QTest::newRow("to-do delete, to-do list") << false << "ToDo"
                                                  << "delete" << QStringList{"frmToDoList.LoadToDoInfo"};
        QTest::newRow("to-do Cancel") << false << "Home"
                                      << "cancel" << none;
        QTest::newRow("to-do Esc") << false << "CEnt"
                                   << "escape" << none;
        QTest::newRow("to-do, day view") << false << "CDay"
                                         << "ok" << none;
        QTest::newRow("to-do, no screen") << false << ""
                                          << "ok" << none;
        QTest::newRow("to-do, code in another case") << false << "home"
                                                     << "ok" << none;
        QTest::newRow("note OK, home") << true << "Home"
                                       << "ok" << QStringList{"frmHome.LoadNotes"};
        QTest::newRow("note close box, project") << true << "PEnt"
                                                 << "close" << QStringList{"frmProjEntry.LoadProjectHistory"};
        QTest::newRow("note delete, contact")
            << true << "CEnt"
            << "delete" << QStringList{"frmContEntry.LoadContactHistory", "frmContEntry.LoadContactHistory"};
        QTest::newRow("note delete, project") << true << "PEnt"
                                              << "delete" << QStringList{"frmProjEntry.LoadProjectHistory"};
        QTest::newRow("note, to-do list") << true << "ToDo"
                                          << "ok" << none;
        QTest::newRow("note Cancel") << true << "CEnt"
                                     << "cancel" << none;
    }
    void closingReloads() {
        QFETCH(bool, note);
        QFETCH(QString, code);
        QFETCH(QString, how);
        QFETCH(QStringList, expected);
        exec("INSERT INTO ToDo (RefNum, Subject, DueDate) VALUES (3, 'Old', #12/01/2026#)");
        exec("INSERT INTO Attach (RefNum, TextBody, NType) VALUES (4, 'Old', 'N')");
        doubles();
        g_strCurScreen = code;
        open(note, note ? 4 : 3);
        retype(ctl(note ? "Text1" : "Text1(0)"), "New");
        if (how == "ok") {
            press(3);
        } else if (how == "close") {
            dlg()->close();
        } else if (how == "cancel") {
            press(4);
        } else if (how == "escape") {
            QTest::keyClick(dlg(), Qt::Key_Escape);
        } else {
            f->prompts().answer(ui::Answer::Yes);
            press(1);
        }
        settle();
        QVERIFY(!dlg());
        QCOMPARE(reloads, expected);
        const QString stored =
            f->scalar(note ? "SELECT TextBody FROM Attach" : "SELECT Subject FROM ToDo").toString();
        QCOMPARE(stored, how == "ok" ? QString("New") : how == "delete" ? QString() : QString("Old"));
    }

    // The messages of both dialogs, and what each leaves on screen. Nothing is written.
    void messages_data() {
        QTest::addColumn<bool>("note");
        QTest::addColumn<int>("stored");  // the item opened, 0 for a new one
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("after");  // control|text it shows afterwards
        const int info = ui::OKOnly | ui::Information;
        QTest::newRow("no subject") << false << 0 << "ok"
                                    << "You Must Enter A To Do Subject"
                                    << "Validate : To Do Subject" << info << "focus|Text1(0)";
        QTest::newRow("reminder before a date")
            << false << 0 << "remind"
            << "You must select a Due Time first" << kTitle << ui::OKOnly << "Check1(0)|off";
        QTest::newRow("no time") << false << 0 << "date,time <Select>"
                                 << "You must select a Valid Time" << kTitle << ui::OKOnly
                                 << "Combo1(2)|8:00 AM";
        QTest::newRow("no interval") << false << 0 << "date,remind,interval <Select>"
                                     << "You must select a Valid Time Interval" << kTitle << ui::OKOnly
                                     << "Combo1(3)|5 Min";
        QTest::newRow("delete a new to-do")
            << false << 0 << "delete"
            << "There is no current record to delete." << kTitle << ui::OKOnly << "Text1(0)|";
        QTest::newRow("delete refused")
            << false << 3 << "delete"
            << "Are you sure you want to DELETE this To Do item?"
            << "Warning : Record Deletion" << (ui::YesNo | ui::Critical) << "Text1(0)|Old";
        QTest::newRow("to-do gone") << false << 9 << "subject,ok"
                                    << "Error Posting Record"
                                    << "Posting Error" << ui::OKOnly << "Text1(0)|Typed";
        // A date typed into the picker counts as picked, today's too; a day erased leaves no date.
        QTest::newRow("typed date opens the time list")
            << false << 0 << "type 12082026,time <Select>"
            << "You must select a Valid Time" << kTitle << ui::OKOnly << "Combo1(2)|8:00 AM";
        QTest::newRow("erased day") << false << 3 << "erase,ok"
                                    << "You Must Select A Due Date"
                                    << "Validate : Due Date" << info << "focus|dtpDate";
        for (const char* how : {"click ok", "tab to ok", "enter"})
            QTest::addRow("erased day, %s", how)
                << false << 3 << QString("erase,") + how << "You Must Select A Due Date"
                << "Validate : Due Date" << info << "focus|dtpDate";
        QTest::newRow("empty note") << true << 0 << "ok"
                                    << "You Must Enter Some Subject Text"
                                    << "Validate : Subject Text" << info << "focus|Text1";
    }
    void messages() {
        QFETCH(bool, note);
        QFETCH(int, stored);
        QFETCH(QString, steps);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(int, style);
        QFETCH(QString, after);
        exec("INSERT INTO ToDo (RefNum, Subject, DueDate) VALUES (3, 'Old', #12/01/2026#)");
        exec("INSERT INTO Attach (RefNum, TextBody, NType) VALUES (4, 'Old', 'N')");
        if (stored == 9) f->prompts().answer(ui::Answer::OK);  // the loading message of a row that is gone
        open(note, stored);
        f->prompts().clear();
        f->prompts().answer(steps == "delete" && stored ? ui::Answer::No : ui::Answer::OK);
        for (const QString& step : steps.split(',')) {
            if (step == "ok") press(3);
            if (step.endsWith(" ok") || step == "enter") goOn(step);
            if (step == "subject") QTest::keyClicks(ctl("Text1(0)"), "Typed");
            if (step == "delete") press(1);
            if (step == "date") pickDate(Day("12/10/2026"));
            if (step.startsWith("type ") || step == "erase") {
                auto* picker = ctl<QDateEdit>("dtpDate");
                picker->setFocus();
                picker->setSelectedSection(step == "erase" ? QDateTimeEdit::DaySection
                                                           : QDateTimeEdit::MonthSection);
                QTest::keyClicks(picker, step == "erase" ? QString("\b") : step.mid(5));
            }
            if (step == "remind") remind();
            if (step.startsWith("time ")) pick("Combo1(2)", step.mid(5));
            if (step.startsWith("interval ")) pick("Combo1(3)", step.mid(9));
        }
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), message);
        QCOMPARE(f->prompts().lastTitle(), title);
        QCOMPARE(f->prompts().lastStyle(), style);
        QVERIFY(dlg() && dlg()->isVisible());
        const QString name = after.section('|', 0, 0);
        const QString shown = after.section('|', 1);
        if (name == "focus") {
            QVERIFY(ctl(shown)->hasFocus());
            if (auto* date = qobject_cast<QDateEdit*>(ctl(shown))) QVERIFY(!date->hasAcceptableInput());
        } else if (auto* check = qobject_cast<QCheckBox*>(ctl(name))) {
            QCOMPARE(QString(check->isChecked() ? "on" : "off"), shown);
        } else if (auto* combo = qobject_cast<QComboBox*>(ctl(name))) {
            QCOMPARE(combo->currentText(), shown);
            QVERIFY(combo->isEnabled());
        } else {
            QCOMPARE(ctl<QLineEdit>(name)->text(), shown);
        }
        QCOMPARE(f->rowCount("ToDo"), 1);
        QCOMPARE(f->rowCount("Attach"), 1);
        QCOMPARE(f->rowCount("Remind"), 0);
        QCOMPARE(row("SELECT Subject FROM ToDo WHERE RefNum = 3"), QString("Old"));
        // The row that is gone was reported as it was loaded.
        QCOMPARE(f->rowCount("ErrLog"), stored == 9 ? 1 : 0);
        exec("DELETE FROM ErrLog");
    }

    // A date as the user leaves it in a picker: OK, however it is reached, stores the date the picker
    // shows after its own fix-up of a one-digit part, and refuses a date with a part erased, however
    // the focus came back to it.
    void datesAsLeft_data() {
        QTest::addColumn<QString>(
            "picker");  // dtpDate: the to-do's; dtpDate(0), dtpDate(1): the appointment's
        QTest::addColumn<QString>("typed");   // in the month part, or in the day part after a Tab
        QTest::addColumn<bool>("clickBack");  // Tab away, then a click back into its year
        QTest::addColumn<QString>("how");     // OK reached
        QTest::addColumn<QString>("stored");  // the date stored, or the message
        const auto row = [](const char* tag, const char* picker, const char* typed, bool clickBack,
                            const char* how, const char* stored) {
            QTest::newRow(tag) << QString(picker) << QString(typed) << clickBack << QString(how)
                               << QString(stored);
        };
        row("to-do, month 1, enter", "dtpDate", "month 1", false, "enter", "01/08/2026");
        row("to-do, day 3, enter", "dtpDate", "day 3", false, "enter", "12/03/2026");
        row("start, month 1, enter", "dtpDate(0)", "month 1", false, "enter", "01/08/2026");
        row("end, day 3, enter", "dtpDate(1)", "day 3", false, "enter", "12/03/2026");
        row("to-do erased, clicked back, click ok", "dtpDate", "day \b", true, "click ok",
            "You Must Select A Due Date");
        row("to-do erased, clicked back, enter", "dtpDate", "day \b", true, "enter",
            "You Must Select A Due Date");
        row("start erased, clicked back, click ok", "dtpDate(0)", "day \b", true, "click ok",
            "You Must Select A Start Date");
        row("end erased, clicked back, tab to ok", "dtpDate(1)", "month \b", true, "tab to ok",
            "You Must Select A End Date");
    }
    void datesAsLeft() {
        QFETCH(QString, picker);
        QFETCH(QString, typed);
        QFETCH(bool, clickBack);
        QFETCH(QString, how);
        QFETCH(QString, stored);
        const bool appt = picker != "dtpDate";
        appt ? openAppt() : openToDo();
        QTest::keyClicks(ctl("Text1(0)"), "Typed");
        auto* date = ctl<QDateEdit>(picker);
        for (int tabs = 0; !date->hasFocus() && tabs < 10; ++tabs)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (typed.startsWith("day")) QTest::keyClick(date, Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), typed.section(' ', 1));
        if (clickBack) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(!date->hasFocus());
            auto* edit = date->findChild<QLineEdit*>();
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 4, edit->height() / 2));
            QVERIFY(date->hasFocus());
        }
        const bool refused = stored.startsWith("You");
        if (refused) f->prompts().answer(ui::Answer::OK);
        goOn(how);
        const QString column = picker == "dtpDate(1)" ? "DateTo" : appt ? "DateFrom" : "DueDate";
        const QString table = appt ? "Appts" : "ToDo";
        QCOMPARE(f->rowCount(table), refused ? 0 : 1);
        if (!refused) QCOMPARE(row(QString("SELECT %1 FROM %2").arg(column, table)), stored);
        QCOMPARE(f->prompts().count(), refused ? 1 : 0);
        if (refused) {
            QCOMPARE(f->prompts().lastText(), stored);
            QVERIFY(date->hasFocus() && !date->hasAcceptableInput());
        }
    }

    // A stored item opened over an empty table loads nothing and says nothing; one gone from among
    // others is a loading failure ("messages").
    void storedItemOfAnEmptyTable() {
        for (const char* kind : {"to-do", "note", "appointment"}) {
            kind == QLatin1String("appointment") ? openAppt(1) : open(kind == QLatin1String("note"), 1);
            QVERIFY2(f->prompts().count() == 0, kind);
            QVERIFY(!ctl<QPushButton>("cmdOpts(2)")->isEnabled());
            modGeneral::CloseAllChildForms();
            settle();
        }
    }

    // A time and its reminder are stored as times of day, found by the poll's comparison in their minute,
    // and shown again as picked.
    void timesAreStoredAsTimesOfDay() {
        openToDo();
        QTest::keyClicks(ctl<QLineEdit>("Text1(0)"), "Dentist");
        pickDate(Day("12/10/2026"));
        pick("Combo1(2)", "2:30 PM");
        remind("15 Min");
        press(3);
        QCOMPARE(row("SELECT DueDate, DueTime, Remind, RemAmt FROM ToDo"),
                 QString("12/10/2026|2:30 PM|true|15 Min"));
        QCOMPARE(row("SELECT typeof(DueTime), DueTime FROM ToDo"), QString("text|2:30 PM"));
        QCOMPARE(row("SELECT RemDate, RemTime, fkToDoID, Type, Completed FROM Remind"),
                 QString("12/10/2026|2:15 PM|1|TD|false"));
        QCOMPARE(
            f->rowCount("Remind", "RemDate = #12/10/2026# AND RemTime = #2:15 PM# AND Completed = False"), 1);

        settle();
        openToDo(1);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(ctl<QComboBox>("Combo1(2)")->currentText(), QString("2:30 PM"));
        QCOMPARE(ctl<QComboBox>("Combo1(3)")->currentText(), QString("15 Min"));
        QVERIFY(ctl<QCheckBox>("Check1(0)")->isChecked());
        QVERIFY(ctl<QPushButton>("cmdOpts(2)")->isEnabled());

        // "&New" forgets the item shown: its due date and time, its reminder and its number.
        press(0);
        QVERIFY(!ctl<QPushButton>("cmdOpts(1)")->isEnabled() && !ctl<QPushButton>("cmdOpts(2)")->isEnabled());
        QTest::keyClicks(ctl("Text1(0)"), "Next");
        f->prompts().answer(ui::Answer::OK);
        remind();
        QCOMPARE(f->prompts().lastText(), QString("You must select a Due Time first"));
        press(3);
        QCOMPARE(row("SELECT RefNum, DueDate, DueTime, Remind FROM ToDo WHERE Subject = 'Next'"),
                 QString("2|12/08/2026|-|false"));
        QCOMPARE(row("SELECT COUNT(*), MAX(fkToDoID) FROM Remind"), QString("1|1"));
    }

    // Loading shows every column as stored, values the lists lack included, and OK writes back what
    // was loaded. Links are chosen by number; a link whose contact is gone shows blank and stays.
    void okAfterALoadKeepsTheItem_data() {
        QTest::addColumn<QString>(
            "values");  // DueTime, fkContID, fkProjID, Remind, RemAmt, Private, Urgent, Completed
        QTest::addColumn<QString>("shown");  // due time, name, project, interval
        QTest::newRow("marks set, second of two same-named projects") << "14:15:30|5|8|0|7 Min|-1|-1|-1"
                                                                      << "2:15 PM|Berg, Anna|Roof|<Select>";
        QTest::newRow("reminder without a due time") << "|6|7|-1|1 Hr|0|0|0"
                                                     << "<Select>|Lind, Carl|Roof|1 Hr";
        QTest::newRow("contact gone") << "09:00:00|99|0|0||0|0|0"
                                      << "9:00 AM| | |<Select>";
    }
    void okAfterALoadKeepsTheItem() {
        QFETCH(QString, values);
        QFETCH(QString, shown);
        QStringList v = values.split('|');
        QVariantList params;
        for (const QString& value : v) params << (value.isEmpty() ? QVariant() : QVariant(value));
        exec(
            "INSERT INTO ToDo (Subject, DueDate, DueTime, fkContID, fkProjID, Remind, RemAmt, Private, "
            "Urgent, "
            "Completed) VALUES ('Item', #12/10/2026#, ?, ?, ?, ?, ?, ?, ?, ?)",
            params);
        const QString columns =
            "SELECT DueDate, DueTime, fkContID, fkProjID, Remind, RemAmt, Private, Urgent, Completed FROM "
            "ToDo";
        const QString before = row(columns);
        openToDo(1);
        QCOMPARE(f->prompts().count(), 0);
        QStringList on;
        for (const char* list : {"Combo1(2)", "Combo1(0)", "Combo1(1)", "Combo1(3)"})
            on << ctl<QComboBox>(list)->currentText();
        QCOMPARE(on.join('|'), shown);
        QCOMPARE(ctl<QComboBox>("Combo1(2)")->isEnabled(), v[0] != "" || v[3] == "-1");
        QCOMPARE(ctl<QCheckBox>("Check1(0)")->isChecked(), v[3] == "-1");
        press(3);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(row(columns), before);
        QCOMPARE(f->rowCount("Remind"), v[3] == "-1" ? 1 : 0);
    }

    // An edit keeps a link when the blank entry is chosen and the text when the description is emptied.
    void editKeepsWhatIsLeftBlank() {
        exec(
            "INSERT INTO ToDo (Subject, DueDate, fkContID, fkProjID, TextBody) VALUES ('Item', #12/10/2026#, "
            "5, "
            "8, ?)",
            {"Old\r\ntext"});
        openToDo(1);
        QCOMPARE(ui::PlainText(ctl<QPlainTextEdit>("Text1(1)")), QString("Old\ntext"));
        pick("Combo1(0)", " ");
        pick("Combo1(1)", " ");
        retype(ctl("Text1(1)"), {});
        ctl("Text1(0)")->setFocus();
        QCOMPARE(ui::PlainText(ctl<QPlainTextEdit>("Text1(1)")), ItemDialog::DescriptionPlaceholder());
        press(3);
        QCOMPARE(row("SELECT fkContID, fkProjID, TextBody FROM ToDo"), QString("5|8|Old\r\ntext"));
    }

    // A new item starts from where it was opened: the editor's contact or project, the Time-Saver's text.
    void newItemStartsFromItsOpener_data() {
        QTest::addColumn<bool>("note");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");  // fkContID|fkProjID|TextBody
        QTest::newRow("to-do from the contact editor") << false << "CEnt"
                                                       << ""
                                                       << "6|-|-";
        QTest::newRow("to-do from the project editor") << false << "PEnt"
                                                       << ""
                                                       << "-|8|-";
        QTest::newRow("to-do, Time-Saver") << false << "CEnt"
                                           << "Bo\r\nabout"
                                           << "6|-|Bo\r\nabout";
        QTest::newRow("note from the project editor") << true << "PEnt"
                                                      << ""
                                                      << "0|8|Typed";
        QTest::newRow("note, Time-Saver") << true << "CEnt"
                                          << "Ring\r\nBo"
                                          << "6|0|Ring\r\nBo";
    }
    void newItemStartsFromItsOpener() {
        QFETCH(bool, note);
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        g_strCurScreen = code;
        g_lngCurContID = 6;
        g_lngCurProjID = 8;
        open(note, 0, text);
        if (note && text.isEmpty()) QTest::keyClicks(ctl("Text1"), "Typed");
        if (!note) QTest::keyClicks(ctl("Text1(0)"), "Subject");
        press(3);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(row(note ? "SELECT fkContID, fkProjID, TextBody FROM Attach"
                          : "SELECT fkContID, fkProjID, TextBody FROM ToDo"),
                 expected);
    }

    // An item's reminder row over its life, driven through the dialog: never more than one, re-armed on
    // every save with the box checked, gone when the box is cleared or the item deleted.
    void reminderRowOverAnItemsLife() {
        const QString reminder = "SELECT RefNum, RemDate, RemTime, fkToDoID, Type, Completed FROM Remind";
        openToDo();
        QTest::keyClicks(ctl("Text1(0)"), "Renew passport");
        pickDate(Day("12/10/2026"));
        pick("Combo1(2)", "9:00 AM");
        remind();
        press(3);
        QCOMPARE(row(reminder), QString("1|12/10/2026|8:55 AM|1|TD|false"));

        // It fired; saved again with another time it is the same row, pending again.
        exec("UPDATE Remind SET Completed = True");
        settle();
        openToDo(1);
        pick("Combo1(2)", "10:00 AM");
        press(3);
        QCOMPARE(row(reminder), QString("1|12/10/2026|9:55 AM|1|TD|false"));

        settle();
        openToDo(1);
        remind();  // cleared
        press(3);
        QCOMPARE(f->rowCount("Remind"), 0);
        QCOMPARE(row("SELECT Remind, RemAmt FROM ToDo"), QString("false|5 Min"));

        for (int opening = 0; opening < 2; ++opening) {
            settle();
            openToDo(1);
            if (opening == 0) remind("1 Day");
            press(3);
        }
        QCOMPARE(f->rowCount("Remind"), 1);
        QCOMPARE(row("SELECT RemDate, RemTime, fkToDoID FROM Remind"), QString("12/09/2026|10:00 AM|1"));

        settle();
        openToDo(1);
        f->prompts().answer(ui::Answer::Yes);
        press(1);
        QCOMPARE(f->rowCount("ToDo"), 0);
        QCOMPARE(f->rowCount("Remind"), 0);
        QCOMPARE(f->prompts().count(), 1);
    }

    // A reminder is stored pending only for a minute the poll has still to check (it catches up on the
    // minutes it is behind the clock); one it has passed would never pop up, and is stored done.
    void reminderAlreadyPassed_data() {
        QTest::addColumn<QString>("polled");  // the poll's last minute, none when empty; the clock 10:00 AM
        QTest::addColumn<QString>("completed");
        QTest::newRow("passed") << ""
                                << "true";
        QTest::newRow("passed by the clock, not the poll") << "9:50 AM"
                                                           << "false";
    }
    void reminderAlreadyPassed() {
        QFETCH(QString, polled);
        QFETCH(QString, completed);
        WindowLink link;
        if (!polled.isEmpty())
            link.polled = core::Clock::MinuteText(Day("12/08/2026"), QLocale::c().toTime(polled, "h:mm AP"));
        openToDo();
        QTest::keyClicks(ctl("Text1(0)"), "Call");
        pickDate(Day("12/09/2026"));  // away from today and back: today, picked
        pickDate(Day("12/08/2026"));
        pick("Combo1(2)", "10:00 AM");
        remind();  // 9:55 AM
        press(3);
        QCOMPARE(row("SELECT Completed FROM Remind"), completed);
    }

    // A failing reminder write leaves the item and its reminder as they were; the dialog stays open.
    void failedReminderWritesNothing_data() {
        QTest::addColumn<int>("stored");
        QTest::newRow("new item") << 0;
        QTest::newRow("stored item") << 1;
    }
    void failedReminderWritesNothing() {
        QFETCH(int, stored);
        if (stored) {
            exec(
                "INSERT INTO ToDo (Subject, DueDate, DueTime, Remind, RemAmt) VALUES ('Old', #12/10/2026#, "
                "#9:00 AM#, True, '5 Min')");
            exec(
                "INSERT INTO Remind (RemDate, RemTime, fkToDoID, Type) VALUES (#12/10/2026#, #8:55 AM#, 1, "
                "'TD')");
        }
        const QString before = row("SELECT * FROM ToDo") + row("SELECT * FROM Remind");
        f->db().Connection().exec(
            "CREATE TRIGGER NoReminders BEFORE INSERT ON Remind BEGIN SELECT RAISE(ABORT, 'disk full'); END;"
            "CREATE TRIGGER NoReminderEdits BEFORE UPDATE ON Remind BEGIN SELECT RAISE(ABORT, 'disk full'); "
            "END;");
        openToDo(stored);
        retype(ctl("Text1(0)"), "Changed");
        if (!stored) {
            pickDate(Day("12/10/2026"));
            remind();
        }
        f->prompts().answer(ui::Answer::OK);
        press(3);
        QCOMPARE(f->prompts().lastText(), kPostingFailed);
        QVERIFY(dlg() && dlg()->isVisible());
        QCOMPARE(row("SELECT * FROM ToDo") + row("SELECT * FROM Remind"), before);
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmToDo.PostEntry'"), 1);
        exec("DELETE FROM ErrLog");
    }

    // A failed look-up of the item's reminder at load is told in the error box; the item still loads,
    // and its save finds the reminder row again instead of adding a second one.
    void failedReminderLookUp_data() {
        QTest::addColumn<bool>("appt");
        QTest::newRow("to-do") << false;
        QTest::newRow("appointment") << true;
    }
    void failedReminderLookUp() {
        QFETCH(bool, appt);
        if (appt) {
            exec(
                "INSERT INTO Appts (Subject, DateFrom, DateTo, TimeFrom, TimeTo, Remind, RemAmt) VALUES "
                "('Fair', #12/10/2026#, #12/10/2026#, #9:00 AM#, #10:00 AM#, True, '5 Min')");
        } else {
            exec(
                "INSERT INTO ToDo (Subject, DueDate, DueTime, Remind, RemAmt) VALUES ('Fair', #12/10/2026#, "
                "#9:00 AM#, True, '5 Min')");
        }
        exec(QString(
                 "INSERT INTO Remind (RemDate, RemTime, %1, Type) VALUES (#12/10/2026#, #8:55 AM#, 1, '%2')")
                 .arg(appt ? "fkApptID" : "fkToDoID", appt ? "AP" : "TD"));
        const QString step = appt ? "frmAppt.GetReminderID" : "frmToDo.GetReminderID";
        core::InjectFault(step, 3021, "No current record.");
        f->prompts().answer(ui::Answer::OK);
        appt ? openAppt(1) : openToDo(1);
        QVERIFY(f->prompts().lastText().startsWith("The following Error occurred:"));
        QCOMPARE(f->rowCount("ErrLog", QString("ModName = '%1'").arg(step)), 1);
        QCOMPARE(ctl<QLineEdit>("Text1(0)")->text(), QString("Fair"));
        press(3);
        settle();
        QVERIFY(!dlg());
        QCOMPARE(row("SELECT RefNum, Completed FROM Remind"), QString("1|false"));
        QCOMPARE(f->rowCount("Remind"), 1);
        exec("DELETE FROM ErrLog");
    }

    // One to-do dialog at a time: opening another item brings the open one forward, still on its own
    // item and typed input.
    void anOpenDialogKeepsItsItem() {
        exec("INSERT INTO ToDo (Subject, DueDate) VALUES ('A', #12/10/2026#), ('B', #12/09/2026#)");
        frmHome* home = realHome();
        openToDo(1);
        ItemDialog* first = dlg();
        QCOMPARE(ctl<QLineEdit>("Text1(0)")->text(), QString("A"));
        retype(ctl("Text1(0)"), "A changed");
        QCOMPARE(home->lvToDo->text(1, 0), QString("B"));
        f->prompts().answer(ui::Answer::OK).answer(ui::Answer::OK);  // "finish or cancel it first", twice
        QTest::mouseClick(home->lvToDo->viewport(), Qt::LeftButton, {}, home->lvToDo->rowRect(1).center());
        openToDo(0, "Saved text");
        QCOMPARE(ui::ScreenRegistry::instance().openForms().size(), 2);
        QCOMPARE(dlg(), first);
        QCOMPARE(first->RecordNumber(), 1);
        QCOMPARE(ctl<QLineEdit>("Text1(0)")->text(), QString("A changed"));
        press(3);
        QCOMPARE(f->scalar("SELECT Subject FROM ToDo WHERE RefNum = 1").toString(), QString("A changed"));
        QCOMPARE(f->scalar("SELECT Subject FROM ToDo WHERE RefNum = 2").toString(), QString("B"));
        QCOMPARE(f->rowCount("ToDo"), 2);
    }

    // Notes: a free note is listed on the home screen, a call is not; an edit keeps the creation time.
    void notesAndCalls() {
        frmHome* home = realHome();
        for (const char* kind : {"optNote", "optCall"}) {
            settle();
            open(true);
            QCOMPARE(dlg()->windowTitle(), QString("New / Edit Note"));
            QVERIFY(!ctl<QPushButton>("cmdOpts(1)")->isEnabled());
            QTest::keyClicks(ctl("Text1"), kind);
            ctl<QRadioButton>(kind)->click();
            press(3);
        }
        QCOMPARE(row("SELECT TextBody, NType, fkContID, fkProjID, Fav, Priv FROM Attach WHERE RefNum = 1"),
                 QString("optNote|N|0|0|false|false"));
        QCOMPARE(row("SELECT NType FROM Attach WHERE RefNum = 2"), QString("C"));
        QCOMPARE(home->lvNotes->rowCount(), 1);
        QCOMPARE(home->lvNotes->text(0, 0), QString("optNote"));

        exec("UPDATE Attach SET DateStamp = ? WHERE RefNum = 2",
             {QDateTime(Day("01/02/2020"), QTime(3, 4, 5))});
        settle();
        open(true, 2);
        QVERIFY(ctl<QRadioButton>("optCall")->isChecked());
        pick("Combo1(0)", "Berg, Anna");
        ctl<QCheckBox>("Check1(0)")->click();
        press(3);
        QCOMPARE(row("SELECT NType, fkContID, Fav, DateStamp FROM Attach WHERE RefNum = 2"),
                 QString("C|5|true|2020-01-02T03:04:05.000"));
    }

    // ---------------------------------------------------------------------------------------------
    // Appointments

    // An appointment over its life. New from the home screen with only a subject: today, 8:00 to 9:00
    // AM. Edited: "All Day" greys the times yet stores them, the new reminder counts from the start
    // time shown, an end before the start is kept. Its reminder rows go with the box and with the
    // appointment; "&New" after the edit starts from today again.
    void apptOverItsLife() {
        const QString appt =
            "SELECT Subject, TextBody, DateFrom, DateTo, TimeFrom, TimeTo, fkContID, Private, "
            "NoTime, AllDay, Remind, RemAmt FROM Appts";
        frmHome* home = realHome();
        openAppt();
        QCOMPARE(ctl<QComboBox>("Combo1(2)")->count(), 48);  // the times alone, no "<Select>"
        QTest::keyClicks(ctl("Text1(0)"), "Fair");
        press(3);
        QCOMPARE(row(appt),
                 QString("Fair|-|12/08/2026|12/08/2026|8:00 AM|9:00 AM|-|false|false|false|false|-"));
        QCOMPARE(home->lvAppts->rowCount(), 1);

        settle();
        openAppt(1);
        pick("Combo1(2)", "2:00 PM");
        ctl<QRadioButton>("optTime(2)")->click();
        QVERIFY(!ctl("Combo1(2)")->isEnabled() && !ctl("Combo1(3)")->isEnabled());
        ctl<QDateEdit>("dtpDate(0)")->setDate(Day("12/10/2026"));
        ctl<QDateEdit>("dtpDate(1)")->setDate(Day("12/09/2026"));
        ctl<QCheckBox>("Check1(0)")->click();
        QCOMPARE(ctl<QComboBox>("Combo1(4)")->currentText(), QString("5 Min"));
        pick("Combo1(4)", "1 Hr");
        press(3);
        QCOMPARE(row(appt),
                 QString("Fair|-|12/10/2026|12/09/2026|2:00 PM|9:00 AM|-|false|false|true|true|1 Hr"));
        QCOMPARE(row("SELECT RemDate, RemTime, fkApptID, fkToDoID, Type, Completed FROM Remind"),
                 QString("12/10/2026|1:00 PM|1|-|AP|false"));

        settle();
        openAppt(1);
        QVERIFY(ctl<QRadioButton>("optTime(2)")->isChecked() && !ctl("Combo1(2)")->isEnabled());
        QCOMPARE(ctl<QComboBox>("Combo1(2)")->currentText(), QString("2:00 PM"));
        ctl<QCheckBox>("Check1(0)")->click();
        press(3);
        QCOMPARE(f->rowCount("Remind"), 0);
        QCOMPARE(row("SELECT Remind, RemAmt FROM Appts"), QString("false|1 Hr"));

        settle();
        openAppt(1);
        press(0);
        QTest::keyClicks(ctl("Text1(0)"), "Next");
        press(3);
        QCOMPARE(row(appt + " WHERE RefNum = 2"),
                 QString("Next|-|12/08/2026|12/08/2026|8:00 AM|9:00 AM|-|false|false|false|false|-"));

        exec(
            "INSERT INTO Remind (fkApptID, Type) VALUES (1, 'AP'), (1, 'AP'), (1, 'TD')");  // a to-do's stays
        settle();
        openAppt(1);
        f->prompts().answer(ui::Answer::Yes);
        press(1);
        QCOMPARE(f->prompts().lastText(), QString("Are you sure you want to DELETE this Appointment item?"));
        QCOMPARE(f->rowCount("Appts"), 1);
        QCOMPARE(row("SELECT fkApptID, Type FROM Remind"), QString("1|TD"));
    }

    // A stored appointment is shown as stored, values the lists lack and a contact that is gone
    // included, and OK writes back what was loaded.
    void okAfterALoadKeepsTheAppt() {
        exec(
            "INSERT INTO Appts (Subject, DateFrom, DateTo, TimeFrom, TimeTo, fkContID, fkProjID, Private, "
            "NoTime, Remind, RemAmt) VALUES ('Item', #12/10/2026#, #12/11/2026#, '14:15:30', #5:00 PM#, "
            "99, 8, True, True, True, '2 Days')");
        const QString columns = "SELECT * FROM Appts";
        const QString before = row(columns);
        openAppt(1);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(ctl<QComboBox>("Combo1(2)")->currentText() + '|' +
                     ctl<QComboBox>("Combo1(0)")->currentText() + '|' +
                     ctl<QComboBox>("Combo1(1)")->currentText() + '|' +
                     ctl<QComboBox>("Combo1(4)")->currentText(),
                 QString("2:15 PM| |Roof|2 Days"));
        QVERIFY(ctl<QRadioButton>("optTime(1)")->isChecked());
        press(3);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(row(columns), before);
    }

    // The appointment's messages come in order, with their titles and focus; nothing is written.
    void apptMessages_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("after");  // what has the focus, or list|text
        const int info = ui::OKOnly | ui::Information;
        QTest::newRow("no subject") << "erase 0,ok"
                                    << "You Must Enter An Appointment Subject"
                                    << "Validate : Appointment Subject" << info << "Text1(0)";
        // OK reached as a user reaches it, the focus moving from the picker left erased.
        for (const char* how : {"click ok", "tab to ok", "enter"}) {
            QTest::addRow("no dates, %s", how)
                << QString("subject,erase 1,erase 0,") + how << "You Must Select A Start Date"
                << "Validate : Start Date" << info << "dtpDate(0)";
            QTest::addRow("no end date, %s", how)
                << QString("subject,erase 1,") + how << "You Must Select A End Date"
                << "Validate : End Date" << info << "dtpDate(1)";
        }
        QTest::newRow("no interval") << "remind,interval <Select>"
                                     << "You must select a Valid Time Interval" << kTitle << ui::OKOnly
                                     << "Combo1(4)|5 Min";
        QTest::newRow("appointment gone")
            << "gone"
            << "An un-known error occurred loading the information!\nSorry for the inconvenience" << kTitle
            << ui::OKOnly << "Combo1(2)|8:00 AM";
        QTest::newRow("reminder not written")
            << "subject,remind,block,ok"
            << "An un-known error occurred while Posting this entry!\nSorry for the inconvenience" << kTitle
            << ui::OKOnly << "Combo1(4)|5 Min";
    }
    void apptMessages() {
        QFETCH(QString, steps);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(int, style);
        QFETCH(QString, after);
        f->prompts().answer(ui::Answer::OK);
        // Gone from among others: an empty table would load nothing and say nothing.
        if (steps == "gone") exec("INSERT INTO Appts (Subject, DateFrom) VALUES ('Other', #12/10/2026#)");
        openAppt(steps == "gone" ? 9 : 0);
        for (const QString& step : steps.split(',')) {
            if (step == "ok") press(3);
            if (step.endsWith(" ok") || step == "enter") goOn(step);
            if (step == "subject") QTest::keyClicks(ctl("Text1(0)"), "Typed");
            if (step == "remind") ctl<QCheckBox>("Check1(0)")->click();
            if (step.startsWith("interval ")) pick("Combo1(4)", step.mid(9));
            if (step.startsWith("erase ")) {
                // A day left blank: the picker shows no date.
                auto* picker = ctl<QDateEdit>(QString("dtpDate(%1)").arg(step.mid(6)));
                picker->setFocus();
                picker->setSelectedSection(QDateTimeEdit::DaySection);
                QTest::keyClick(picker, Qt::Key_Backspace);
            }
            if (step == "block")
                f->db().Connection().exec(
                    "CREATE TRIGGER NoReminders BEFORE INSERT ON Remind BEGIN SELECT RAISE(ABORT, 'disk "
                    "full'); END");
        }
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), message);
        QCOMPARE(f->prompts().lastTitle(), title);
        QCOMPARE(f->prompts().lastStyle(), style);
        QVERIFY(dlg() && dlg()->isVisible());
        if (after.contains('|'))
            QCOMPARE(ctl<QComboBox>(after.section('|', 0, 0))->currentText(), after.section('|', 1));
        else
            QVERIFY(ctl(after)->hasFocus());
        QCOMPARE(f->rowCount("Appts"), steps == "gone" ? 1 : 0);
        QCOMPARE(f->rowCount("Remind"), 0);
        exec("DELETE FROM ErrLog WHERE ModName IN ('frmAppt.PostEntry', 'frmAppt.PopulateFields')");
    }

    // What closing the appointment dialog reloads: the active screen through its own procedures, the
    // calendar views' in their order; a delete reloads the home screen or contact editor once more.
    void apptClosingReloads_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("expected");
        const QStringList none;
        QTest::newRow("OK, home") << "Home"
                                  << "ok" << QStringList{"frmHome.LoadAppts"};
        QTest::newRow("delete, home") << "Home"
                                      << "delete" << QStringList{"frmHome.LoadAppts", "frmHome.LoadAppts"};
        QTest::newRow("delete, contact")
            << "CEnt"
            << "delete" << QStringList{"frmContEntry.LoadApptsInfo", "frmContEntry.LoadApptsInfo"};
        QTest::newRow("OK, month") << "CMnth"
                                   << "ok"
                                   << QStringList{"frmCalMnth.EmptyDateValues", "frmCalMnth.CreateCalendar",
                                                  "frmCalMnth.HighlightCalendarDates",
                                                  "frmCalMnth.LoadAppointments"};
        QTest::newRow("OK, day") << "CDay"
                                 << "ok"
                                 << QStringList{"frmCalDay.CalculateDates", "frmCalDay.DestroyTextBoxArray",
                                                "frmCalDay.LoadAppointments"};
        QTest::newRow("OK, week view without them") << "CWk"
                                                    << "ok" << none;
        QTest::newRow("OK, to-do list") << "ToDo"
                                        << "ok" << none;
        QTest::newRow("Cancel") << "Home"
                                << "cancel" << none;
    }
    void apptClosingReloads() {
        QFETCH(QString, code);
        QFETCH(QString, how);
        QFETCH(QStringList, expected);
        exec(
            "INSERT INTO Appts (RefNum, Subject, DateFrom, DateTo) VALUES (3, 'Old', #12/01/2026#, "
            "#12/01/2026#)");
        doubles();
        QWidget weekStandIn;  // a view that is open but has no such procedures
        weekStandIn.setObjectName("frmCalWeek");
        ui::ScreenRegistry::instance().add(&weekStandIn);
        g_strCurScreen = code;
        openAppt(3);
        retype(ctl("Text1(0)"), "New");
        if (how == "delete") f->prompts().answer(ui::Answer::Yes);
        press(how == "ok" ? 3 : how == "cancel" ? 4 : 1);
        settle();
        QVERIFY(!dlg());
        QCOMPARE(reloads, expected);
        QCOMPARE(f->scalar("SELECT Subject FROM Appts").toString(), how == "ok"       ? QString("New")
                                                                    : how == "delete" ? QString()
                                                                                      : QString("Old"));
    }

    // ---------------------------------------------------------------------------------------------
    // Reminder pop-up

    // What the pop-up shows of its item; it asks for the alert once, whatever it finds.
    void popUpShowsItsItem_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("shown");  // title, the "To:" caption, the six values
        QTest::newRow("to-do without a time or contact")
            << "TD" << 1 << "Reminder for scheduled To Do item|no To:||Roof|Write|1/6/2025 at ||Bring\nnotes";
        QTest::newRow("appointment")
            << "AP" << 1
            << "Reminder for scheduled Appointment|To:|Lind, Carl||Fair|1/6/2025 at 2:00 PM|1/7/2025 at |";
        QTest::newRow("appointment gone") << "AP" << 9 << "Reminder for scheduled Appointment|To:||||||";
    }
    void popUpShowsItsItem() {
        QFETCH(QString, type);
        QFETCH(int, item);
        QFETCH(QString, shown);
        exec(
            "INSERT INTO ToDo (Subject, fkContID, fkProjID, DueDate, TextBody) VALUES ('Write', 0, 7, "
            "#1/6/2025#, ?)",
            {"Bring\r\nnotes"});
        exec(
            "INSERT INTO Appts (Subject, fkContID, DateFrom, TimeFrom, DateTo) VALUES ('Fair', 6, "
            "#1/6/2025#, "
            "#2:00 PM#, #1/7/2025#)");
        std::unique_ptr<QWidget> popup(ui::ScreenRegistry::instance().open(
            "frmReminder", {{"m_lngRemindID", 1},
                            {type == "AP" ? "m_lngApptID" : "m_lngToDoID", item},
                            {"m_strType", type}}));
        const auto text = [&](const QString& name) { return popup->findChild<QLabel*>(name)->text(); };
        QStringList on{text("lblTitle"),
                       popup->findChild<QLabel*>("lblCaption(4)")->isHidden() ? "no To:" : "To:"};
        for (int i = 0; i < 6; ++i) on << text(QString("lblText(%1)").arg(i));
        QCOMPARE(on.join('|'), shown);
        QCOMPARE(f->shell().sounds(), QStringList{":/alert.wav"});
        QVERIFY(!popup->isVisible());
        QCOMPARE(f->prompts().count(), 0);
    }

    // Closing the pop-up: the reminder done, the window back with the pop-up out of its way, then the
    // item's own dialog for editing. A failing step is reported and skips the rest; it closes anyway.
    void closingThePopUp_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("completed");
        QTest::addColumn<int>("editing");  // the item the open dialog is on; 0 none
        const QStringList both{"RemoveTrayIcon", "ShowFromTray"};
        QTest::newRow("to-do") << "TD"
                               << "" << both << "true" << 1;
        QTest::newRow("appointment, its dialog open on another, typed in")
            << "AP"
            << "open 2" << QStringList{"RemoveTrayIcon", "ShowFromTray, item open"} << "true" << 2;
        QTest::newRow("reminder row gone") << "TD"
                                           << "no row" << both << "-" << 1;
        QTest::newRow("failure") << "AP"
                                 << "fault" << QStringList{} << "false" << 0;
    }
    void closingThePopUp() {
        QFETCH(QString, type);
        QFETCH(QString, setup);
        QFETCH(QStringList, steps);
        QFETCH(QString, completed);
        QFETCH(int, editing);
        exec("INSERT INTO ToDo (Subject, DueDate) VALUES ('Call', #12/08/2026#)");
        exec("INSERT INTO Appts (Subject, DateFrom) VALUES ('Fair', #12/08/2026#), ('Other', #12/09/2026#)");
        if (setup != "no row") exec("INSERT INTO Remind (RemDate, Type) VALUES (#12/08/2026#, ?)", {type});
        WindowLink link;
        if (setup == "open 2") {
            openAppt(2);
            QTest::keyClicks(ctl("Text1(1)"), "Typed");
        }
        if (setup == "fault") core::InjectFault("frmReminder.Form_Unload", 3021, "No current record.");
        // The failure, or the open dialog's word that its own item comes first.
        if (!setup.isEmpty() && setup != "no row") f->prompts().answer(ui::Answer::OK);
        QPointer<QWidget> popup = ui::ScreenRegistry::instance().open(
            "frmReminder",
            {{"m_lngRemindID", 1}, {type == "AP" ? "m_lngApptID" : "m_lngToDoID", 1}, {"m_strType", type}});
        popup->show();
        QTest::mouseClick(popup->findChild<QLabel*>("lblClose"), Qt::LeftButton);
        settle();

        QVERIFY(!popup);
        QCOMPARE(link.steps, steps);
        QCOMPARE(row("SELECT Completed FROM Remind"), completed == "-" ? QString("no row") : completed);
        QCOMPARE(dlg() ? dlg()->RecordNumber() : 0, editing);
        if (dlg()) QCOMPARE(dlg()->EntryMode(), 2);
        QCOMPARE(f->prompts().count(), setup.isEmpty() || setup == "no row" ? 0 : 1);
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmReminder.Form_Unload'"), setup == "fault" ? 1 : 0);
        exec("DELETE FROM ErrLog");
    }
};

POMARET_TEST(ItemDialogsTest)
#include "tst_ItemDialogs.moc"
