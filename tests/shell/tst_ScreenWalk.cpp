#include <SQLiteCpp/Database.h>
#include <sqlite3.h>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "calendar/ApptBox.h"
#include "core/Clock.h"
#include "core/frmAbout.h"
#include "core/frmPassLogon.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmBackRest.h"
#include "shell/frmDelete.h"
#include "shell/frmMain.h"
#include "support/CaptionCheck.h"
#include "support/Fixture.h"
#include "support/LayoutCheck.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

// One screen or dialog and how a user gets there from the running program: steps separated by " | ".
//   key Ctrl+N                 keys typed with the focus in the search box
//   menu mnuViewNames          a menu item, toolbar button or drop-down item, by its name
//   search Berg                the name search: typed into the search box, then Enter
//   click lvToDo 0             a mouse click on a row of a list
//   press cmdUserFld           a button
//   icon picPop(0)             a mouse click on an icon
//   choose cboContList Zeta, Carl   an entry picked from a drop-down list
//   tab Week                   a tab of the calendar's banner
//   box Lunch                  the appointment box of that subject in a day or week view
//   poll 10:05                 the reminder poll, run at that minute of the test's day
//   answer Yes                 the answer for the next message box
//   wait frmDelete             until that form has gone by itself
// A control is looked for in the newest open form that has one of that name.
struct Stop {
    const char* label;
    const char* steps;
    const char* form;
};

const Stop kStops[] = {
    // The main window's own screens.
    {"home, menu", "menu mnuViewHome", "frmHome"},
    {"names list, F4", "key F4", "frmNames"},
    {"projects list, button", "menu Prj", "frmProjects"},
    {"to-do list, F7", "key F7", "frmToDoList"},
    {"contact query, F2", "key F2", "frmContQry"},
    {"project query, F3", "key F3", "frmProjQry"},
    {"search results", "search *", "frmNameSrchResult"},
    // The calendar's views.
    {"month, F6", "key F6", "frmCalMnth"},
    {"week, tab", "key F6 | tab Week", "frmCalWeek"},
    {"day, tab", "menu Cal | tab Day", "frmCalDay"},
    {"appointment list, tab", "key F6 | tab List", "frmCalList"},
    {"month from the list", "key F6 | tab List | tab Month", "frmCalMnth"},
    // The item dialogs from the menus and toolbar and from every list that holds items.
    {"new to-do, Ctrl+T", "key Ctrl+T", "frmToDo"},
    {"new note, drop-down", "menu drpNote", "frmNotes"},
    {"new appointment, menu", "menu mnuEditNewAppt", "frmAppt"},
    {"to-do from home", "key Ctrl+H | click lvToDo 0", "frmToDo"},
    {"note from home", "key Ctrl+H | click lvNotes 0", "frmNotes"},
    {"appointment from home", "key Ctrl+H | click lvAppts 0", "frmAppt"},
    {"to-do from the to-do list", "menu ToDo | click lvResult 0", "frmToDo"},
    {"appointment from a week box", "key F6 | tab Week | box Lunch", "frmAppt"},
    {"appointment from a day box", "key F6 | tab Day | box Lunch", "frmAppt"},
    {"appointment from the list view", "key F6 | tab List | click lvResult 0", "frmAppt"},
    {"reminder of a to-do", "poll 10:05", "frmReminder"},
    // From home: an appointment dialog left open on another appointment would say so first.
    {"reminder of an appointment", "key Ctrl+H | poll 10:06", "frmReminder"},
    // The contact editor, from every list that names a contact, and its dialogs.
    {"contact from the search", "search Berg", "frmContEntry"},
    {"contact from home", "key Ctrl+H | click lvRecNames 0", "frmContEntry"},
    {"contact from the names list", "key F4 | click lvResult 0", "frmContEntry"},
    {"contact from the search results", "search * | click lvResult 1", "frmContEntry"},
    {"name details", "search Berg | icon picPop(0)", "frmNameDetail"},
    {"prefix add", "search Berg | icon picPop(0) | choose Combo1(0) #0", "frmSetPrefix"},
    {"suffix add", "search Berg | icon picPop(0) | choose Combo1(1) #0", "frmSetSuffix"},
    {"groups", "search Berg | icon picPop(1)", "frmSelectGrp"},
    {"group add", "search Berg | icon picPop(1) | press cmdOpts(0)", "frmAddGroup"},
    {"job title add", "search Berg | icon picPop(2) | click lstJobTitle 0", "frmSetJobTitle"},
    {"address details", "search Berg | icon picPop(3)", "frmAddrDetail"},
    {"contact setting", "search Berg | icon picPop(7)", "frmSetting"},
    {"contact user fields", "search Berg | press cmdUserFld", "frmUserFields"},
    {"related project picker", "search Berg | press cmdRelProj", "frmSetRelProject"},
    {"linked contact", "search Berg | press cmdRelCon", "frmNewLinkCont"},
    {"switch contact", "search Berg | choose cboContList Zeta, Carl", "frmSwtContact"},
    {"switch contact, related list", "search Berg | click lvRelCon 0", "frmSwtContact"},
    {"note from the contact", "search Berg | click lvHist 0", "frmNotes"},
    {"to-do from the contact", "search Berg | click lvToDo 0", "frmToDo"},
    {"appointment from the contact", "search Berg | click lvAppts 0", "frmAppt"},
    {"new appointment, contact", "search Berg | press cmdAppts", "frmAppt"},
    {"project from the contact", "search Berg | click lvRelPrj 0", "frmProjEntry"},
    // The project editor and its dialogs.
    {"project from home", "key Ctrl+H | click lvProjects 0", "frmProjEntry"},
    {"project from the projects list", "key F5 | click lvResult 0", "frmProjEntry"},
    {"project user fields", "key F5 | click lvResult 0 | press cmdUserFld", "frmUserPrjFields"},
    {"related contact picker", "key F5 | click lvResult 0 | press cmdRelCon", "frmSetRelContact"},
    {"status add", "key F5 | click lvResult 0 | icon picPop(0) | click lstStatus 0", "frmSetProjStatus"},
    {"type add", "key F5 | click lvResult 0 | icon picPop(1) | click lstPrjType 0", "frmSetProjType"},
    {"project setting", "key F5 | click lvResult 0 | icon picPop(4)", "frmSetting"},
    {"switch project", "key F5 | click lvResult 0 | choose cboProjList Beta", "frmSwtProject"},
    {"contact from the project", "key F5 | click lvResult 0 | click lvRelCon 0", "frmContEntry"},
    {"note from the project", "key F5 | click lvResult 0 | click lvHist 0", "frmNotes"},
    {"to-do from the project", "key F5 | click lvResult 0 | click lvToDo 0", "frmToDo"},
    {"appointment from the project", "key F5 | click lvResult 0 | click lvAppts 0", "frmAppt"},
    // The printed reports, from File > Print with an editor active.
    {"contact report", "search Berg | menu mnuFilePrint", "frmPrintContact"},
    {"project report", "key F5 | click lvResult 0 | menu mnuFilePrint", "frmPrintProject"},
    // New records, settings and maintenance.
    {"new name, Ctrl+N", "key Ctrl+N", "frmNewName"},
    {"new project, Ctrl+R", "key Ctrl+R", "frmNewProject"},
    {"preferences", "menu mnuEditPrefer", "frmPreference"},
    {"password", "menu mnuEditPwd", "frmSecurity"},
    {"error log", "menu mnuHelpErrLog", "frmErrLog"},
    {"about", "menu mnuHelpAbout", "frmAbout"},
    {"backup", "menu mnuFileBackupDB", "frmBackRest"},
    {"restore", "menu mnuFileBackupDB | answer Yes | menu mnuFileRestoreDB", "frmBackRest"},
    // The deletion window has no close box and holds the program until it has done its work.
    {"delete contact", "search Berg | answer Yes | answer OK | menu mnuEditDelete | wait frmDelete",
     "frmDelete"},
    {"delete project, Ctrl+E",
     "key F5 | click lvResult 0 | answer Yes | answer OK | key Ctrl+E | wait frmDelete", "frmDelete"},
};

// Two contacts and two projects linked to each other, one item of each kind linked to both, a note
// of its own, an appointment next week and a reminder for each of today's items. The clock stands
// at Tuesday 12/08/2026 10:00.
void Seed(db::Database& db) {
    const char* const script[] = {
        "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName, FName, LName) VALUES "
        "(1, 'I', 'Default', 'Anna Berg', 'Berg, Anna', 'Anna', 'Berg'), "
        "(2, 'I', 'Default', 'Carl Zeta', 'Zeta, Carl', 'Carl', 'Zeta')",
        "INSERT INTO CAddress (fkContID, fkLookup, Street, City) VALUES (1, 'Home', '1 Main St', "
        "'Springfield')",
        "INSERT INTO Projects (ProjID, PName, Status, Setting) VALUES (10, 'Alpha', 'Open', 'Default'), "
        "(11, 'Beta', 'Open', 'Default')",
        "INSERT INTO RelateProject (fkProjID, fkContID, ContShowName) VALUES (10, 1, 'Berg, Anna'), "
        "(10, 2, 'Zeta, Carl')",
        "INSERT INTO RelateCont (MasterContID, SubContID, LinkMemo, SubContShowName) VALUES "
        "(1, 2, 'Brother', 'Zeta, Carl'), (2, 1, 'Sister', 'Berg, Anna')",
        "INSERT INTO Attach (TextBody, NType, fkContID, fkProjID, DateStamp) VALUES "
        "('Rang back', 'C', 1, 10, '2026-12-07 09:00:00'), ('Free note', 'N', 0, 0, '2026-12-07 10:00:00')",
        "INSERT INTO ToDo (RefNum, Subject, DueDate, fkContID, fkProjID, Completed) VALUES "
        "(1, 'Call bank', '2026-12-10', 1, 10, 0)",
        "INSERT INTO Appts (RefNum, Subject, DateFrom, DateTo, TimeFrom, TimeTo, fkContID, fkProjID) VALUES "
        "(1, 'Lunch', '2026-12-08', '2026-12-08', '12:00:00', '13:00:00', 1, 10), "
        "(2, 'Review', '2026-12-15', '2026-12-15', '09:00:00', '10:00:00', 1, 10)",
        "INSERT INTO Remind (RemDate, RemTime, fkToDoID, fkApptID, Type) VALUES "
        "('2026-12-08', '10:05:00', 1, 0, 'TD'), ('2026-12-08', '10:06:00', 0, 1, 'AP')",
        "INSERT INTO CUFldValues (fkContID, fkUserFld, Value) VALUES (1, 'Birthday', 'May 1')",
        "INSERT INTO PUFldValues (fkProjID, fkUserFld, Value) VALUES (10, 'Budget code', 'B-7')",
        "INSERT INTO Lookup (ItemID, Description) VALUES ('TITLE', 'Manager'), ('PSTAT', 'Closed'), "
        "('PSTAT', 'Open'), ('PTYPE', 'Internal')",
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60) "
        "INSERT INTO CUserFields (Description) SELECT 'Field ' || i FROM n",
    };
    for (const char* sql : script) db.Execute(QString::fromLatin1(sql));
}

// Starts the program on the seeded data and walks it as a user would. A modal dialog is noted as
// soon as it is up and closed by its close box when it has one.
class Walker {
public:
    Walker() {
        f = std::make_unique<Fixture>();
        Seed(f->db());
        // Copies finish at once; a deletion waits a moment, long enough to be seen.
        frmBackRest::SetTickInterval(0);
        frmDelete::SetTickInterval(50);
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        QObject::connect(&m_modalCloser, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            if (modal != m_lastModal) {
                seen << modal->objectName();
                if (onModal) onModal(modal);
            }
            m_lastModal = modal;
            // A window drawn without a title-bar close box has its own Close label, or ends by itself.
            // A copy refuses to be closed: tried again on the next tick.
            if (modal->windowFlags() & Qt::WindowCloseButtonHint) {
                modal->close();
            } else if (auto* label = modal->findChild<QLabel*>(QStringLiteral("lblClose"))) {
                QTest::mouseClick(label, Qt::LeftButton);
            }
        });
        m_modalCloser.start(5);
    }
    ~Walker() {
        m_modalCloser.stop();
        modGeneral::CloseAllChildForms();
        Settle();
        w.reset();
        shell::SingleInstance::release();
        frmBackRest::SetTickInterval(700);
        frmDelete::SetTickInterval(800);
        f.reset();
    }

    static void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Runs the steps; a step that finds nothing to act on fails the running test.
    void Run(const QString& steps) {
        m_steps = steps;
        for (const QString& step : steps.split(QStringLiteral(" | "))) {
            Do(step.section(QLatin1Char(' '), 0, 0), step.section(QLatin1Char(' '), 1));
            Settle();
            if (QTest::currentTestFailed()) return;
        }
    }

    // The form `name` after the steps: on screen now, or a modal one that was shown and closed.
    QWidget* Shown(const QString& name) const {
        for (QWidget* form : ui::ScreenRegistry::instance().openForms()) {
            if (form->objectName() == name && form->isVisible()) return form;
        }
        return nullptr;
    }

    // What the program logged, one "procedure: text" a line; read through the program's own
    // connection, which a restore opens anew.
    static QString ErrLogText() {
        QStringList lines;
        db::Recordset rs = g_dbLocal->OpenRecordset(QStringLiteral("SELECT ModName, ErrDesc FROM ErrLog"));
        for (; !rs.Eof(); rs.MoveNext())
            lines << rs.Value(0).toString() + QStringLiteral(": ") + rs.Value(1).toString();
        return lines.join(QLatin1Char('\n'));
    }

    // Every open screen and dialog by name, then whatever else is still on screen: an MDI frame or a
    // dialog that the registry does not know.
    QStringList LeftOpen() const {
        QStringList open;
        const QList<QWidget*> forms = ui::ScreenRegistry::instance().openForms();
        for (QWidget* form : forms) open << form->objectName();
        for (QMdiSubWindow* frame : w->MdiArea()->subWindowList()) {
            if (!forms.contains(frame->widget())) open << QStringLiteral("frame");
        }
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog*>(top) && top->isVisible() && !forms.contains(top))
                open << QStringLiteral("shown ") + top->objectName();
        }
        return open;
    }

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;
    // Forms that were up and went before the steps ended: modal ones, and those that end by themselves.
    QStringList seen;
    // Called with each modal dialog as it comes up, before it is closed.
    std::function<void(QWidget*)> onModal;

private:
    template <class T>
    T* Child(const QString& name) const {
        const QList<QWidget*> forms = ui::ScreenRegistry::instance().openForms();
        for (auto it = forms.crbegin(); it != forms.crend(); ++it) {
            if (T* child = (*it)->findChild<T*>(name)) return child;
        }
        return w->findChild<T*>(name);
    }

    void Do(const QString& verb, const QString& what) {
        const QString name = what.section(QLatin1Char(' '), 0, 0);
        const QString rest = what.section(QLatin1Char(' '), 1);
        const QByteArray where = (verb + QLatin1Char(' ') + what + QStringLiteral(" in: ") + m_steps +
                                  QStringLiteral("; open: ") + LeftOpen().join(QStringLiteral(", ")))
                                     .toUtf8();
        if (verb == QLatin1String("key") || verb == QLatin1String("search")) {
            auto* box = w->findChild<QLineEdit*>(QStringLiteral("txtSrch"));
            QApplication::setActiveWindow(w.get());
            QVERIFY2(QTest::qWaitForWindowActive(w.get()), where);
            box->setFocus();
            if (verb == QLatin1String("key")) {
                QTest::keySequence(box, QKeySequence::fromString(what));
            } else {
                box->setText(what);
                QTest::keyClick(box, Qt::Key_Return);
            }
        } else if (verb == QLatin1String("menu")) {
            auto* action = w->findChild<QAction*>(what);
            QVERIFY2(action, where);
            action->trigger();
        } else if (verb == QLatin1String("click")) {
            auto* list = Child<QAbstractItemView>(name);
            QVERIFY2(list && list->model()->rowCount() > rest.toInt(), where);
            const QModelIndex row = list->model()->index(rest.toInt(), 0);
            list->scrollTo(row);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
        } else if (verb == QLatin1String("press")) {
            auto* button = Child<QAbstractButton>(what);
            QVERIFY2(button, where);
            button->click();
        } else if (verb == QLatin1String("icon")) {
            auto* icon = Child<QWidget>(what);
            QVERIFY2(icon, where);
            QTest::mouseClick(icon, Qt::LeftButton);
        } else if (verb == QLatin1String("choose")) {
            auto* list = Child<QComboBox>(name);
            QVERIFY2(list, where);
            // Some lists read their entries as they drop down.
            list->showPopup();
            list->hidePopup();
            const int index = rest.startsWith(QLatin1Char('#')) ? rest.mid(1).toInt() : list->findText(rest);
            QVERIFY2(index >= 0 && index < list->count(), where);
            list->setCurrentIndex(index);
            Q_EMIT list->activated(index);
        } else if (verb == QLatin1String("tab")) {
            auto* tabs = Child<QTabBar>(QStringLiteral("tbsMain"));
            QVERIFY2(tabs, where);
            int index = 0;
            while (index < tabs->count() && tabs->tabText(index) != what) ++index;
            QVERIFY2(index < tabs->count(), where);
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
        } else if (verb == QLatin1String("box")) {
            // Its subject is the box's second line.
            calendar::ApptBox* box = nullptr;
            for (QWidget* form : ui::ScreenRegistry::instance().openForms()) {
                for (auto* b : form->findChildren<calendar::ApptBox*>())
                    if (b->isVisible() && b->toPlainText().section(QLatin1Char('\n'), 1, 1) == what) box = b;
            }
            QVERIFY2(box, where);
            QTest::mouseClick(box, Qt::LeftButton);
        } else if (verb == QLatin1String("poll")) {
            core::Clock::SetNow(
                QDateTime(core::Clock::Today(), QTime::fromString(what, QStringLiteral("hh:mm"))));
            w->Timer1_Timer();
        } else if (verb == QLatin1String("answer")) {
            f->prompts().answer(what == QLatin1String("Yes") ? ui::Answer::Yes : ui::Answer::OK);
        } else if (verb == QLatin1String("wait")) {
            QVERIFY2(ui::ScreenRegistry::instance().find(what) || seen.contains(what), where);
            if (!seen.contains(what)) seen << what;
            QTRY_VERIFY2_WITH_TIMEOUT(!ui::ScreenRegistry::instance().find(what), where, 20000);
        } else {
            QFAIL(where.constData());
        }
    }

    QString m_steps;
    QTimer m_modalCloser;
    QPointer<QWidget> m_lastModal;
};

// Captions of `form` cut and, on a screen (`size` given), controls covering each other; an editor's
// panes and the calendar's hour grid lie over others by design and have their own tests.
QStringList LayoutFaults(QWidget* form, const QString& size = {}) {
    QStringList faults = testsupport::CutCaptions(form);
    faults << testsupport::CutOff(form);
    QList<QWidget*> skipped;
    for (const char* name : {"picPane2", "picPane3", "picOuter"}) skipped << form->findChild<QWidget*>(name);
    if (!size.isEmpty()) faults << testsupport::Overlaps(form, skipped);
    // A drop-down list that holds more entries than it shows has a scroll bar.
    for (QComboBox* box : form->findChildren<QComboBox*>()) {
        if (!box->isVisible() || !box->isEnabled()) continue;
        box->showPopup();
        if (const QScrollBar* bar = box->view()->verticalScrollBar(); bar->maximum() > 0 && !bar->isVisible())
            faults << box->objectName() + QStringLiteral(" hides entries");
        box->hidePopup();
    }
    for (QString& fault : faults)
        fault.prepend(form->objectName() + QLatin1Char(' ') + size + QStringLiteral(": "));
    return faults;
}

}  // namespace

// Every screen and dialog opened in turn the way a user opens it, in one run of the program; then
// all closed at once.
class ScreenWalkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void everyScreenOpensInTurnAndAllClose() {
        Walker walk;
        for (const Stop& stop : kStops) {
            walk.seen.clear();
            walk.Run(QString::fromLatin1(stop.steps));
            if (QTest::currentTestFailed()) return;
            const QString form = QString::fromLatin1(stop.form);
            QVERIFY2(walk.Shown(form) || walk.seen.contains(form), stop.label);
            QVERIFY2(walk.f->prompts().pending() == 0, stop.label);
            QVERIFY2(walk.ErrLogText().isEmpty(), qPrintable(walk.ErrLogText()));
        }
        // Something of every kind is still open: a screen with dialogs over it.
        walk.Run(
            QStringLiteral("search Zeta | icon picPop(0) | icon picPop(1) | press cmdUserFld | key Ctrl+T"));
        QVERIFY(walk.LeftOpen().size() >= 5);

        modGeneral::CloseAllChildForms();
        Walker::Settle();
        QCOMPARE(walk.LeftOpen(), QStringList());
        QCOMPARE(walk.ErrLogText(), QString());
    }

    // Every screen at the smallest main window under a window manager and maximised, every dialog
    // as it comes up: captions, tabs and dates shown whole, no control covering another, no button
    // cut off, every list with room for a row.
    void everyScreenFitsAtTheSmallestWindowAndMaximised() {
        // A second run is given a wide screen (tests/CMakeLists.txt); one the platform did not give
        // would check nothing new.
        const QSize display = QGuiApplication::primaryScreen()->size();
        if (const QByteArray wanted = qgetenv("POMARET_TEST_SCREEN"); !wanted.isEmpty())
            QCOMPARE(QStringLiteral("%1x%2").arg(display.width()).arg(display.height()), QString(wanted));
        const QString maximised =
            QStringLiteral("maximised on %1 x %2").arg(display.width()).arg(display.height());
        Walker walk;
        QStringList faults;
        walk.onModal = [&faults](QWidget* dialog) { faults << LayoutFaults(dialog); };
        for (const Stop& stop : kStops) {
            walk.Run(QString::fromLatin1(stop.steps));
            if (QTest::currentTestFailed()) return;
            QWidget* form = walk.Shown(QString::fromLatin1(stop.form));
            if (!form) continue;  // a modal one, checked as it came up
            const bool screen = qobject_cast<QMdiSubWindow*>(form->parentWidget());
            for (const QString& size : {QStringLiteral("800 x 600"), maximised}) {
                if (screen) testsupport::SizeMainWindow(*walk.w, size == maximised);
                Walker::Settle();
                faults << LayoutFaults(form, screen ? size : QString());
                if (!screen) break;
            }
        }
        faults.removeDuplicates();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

// Enter on a focused button presses that button and no other, in every dialog of the walk that has
// buttons and in the log-on and about boxes (shown modeless: the walk closes modal ones); Tab from
// the first control reaches each button, several-line boxes let it pass untyped; Cancel and Close
// write nothing.
class DialogKeysTest : public QObject {
    Q_OBJECT

    static int Changes() { return sqlite3_total_changes(g_dbLocal->Connection().getHandle()); }

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("form");
        for (const Stop& stop : kStops)
            QTest::newRow(stop.label) << QString(stop.steps) << QString(stop.form);
        QTest::newRow("log-on") << QString() << "frmPassLogon";
        QTest::newRow("about, made at once") << QString() << "frmAbout";
    }
    void enterPressesTheFocusedButton() {
        QFETCH(QString, steps);
        QFETCH(QString, form);
        Walker walk;
        walk.f->prompts().escapeUnasked(true);  // what the buttons ask is not looked at here
        for (int i = 0;; ++i) {
            modGeneral::CloseAllChildForms();
            Walker::Settle();
            QDialog* dialog = nullptr;
            if (steps.isEmpty()) {
                dialog = form == "frmAbout" ? static_cast<QDialog*>(new frmAbout(walk.w.get()))
                                            : new frmPassLogon(walk.w.get());
                dialog->setAttribute(Qt::WA_DeleteOnClose);
                dialog->setWindowModality(Qt::NonModal);
                dialog->show();
            } else {
                walk.Run(steps);
                dialog = qobject_cast<QDialog*>(walk.Shown(form));
            }
            QList<QPushButton*> buttons;
            for (QPushButton* b : dialog ? dialog->findChildren<QPushButton*>() : QList<QPushButton*>{})
                if (b->isEnabled() && b->isVisible()) buttons << b;
            if (buttons.isEmpty()) QSKIP("a screen, or a window without buttons");
            if (i == buttons.size()) return;
            QPushButton* target = buttons.at(i);
            const QByteArray where = (form + QStringLiteral(", ") + target->text()).toUtf8();
            QApplication::setActiveWindow(dialog);
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            for (int tabs = 0; QApplication::focusWidget() != target; ++tabs) {
                QWidget* from = QApplication::focusWidget();
                QVERIFY2(from && tabs < 80, where);
                QTest::keyClick(from, Qt::Key_Tab);
                if (auto* box = qobject_cast<QPlainTextEdit*>(from))
                    QVERIFY2(!box->hasFocus() && !box->toPlainText().contains('\t'), where);
            }
            QList<std::shared_ptr<QSignalSpy>> spies;
            for (QPushButton* b : buttons)
                spies << std::make_shared<QSignalSpy>(b, &QAbstractButton::clicked);
            const bool writesNothing = QStringList{"&Cancel", "&Close"}.contains(target->text());
            const int before = Changes();
            QTest::keyClick(target, Qt::Key_Return);
            Walker::Settle();
            for (int b = 0; b < buttons.size(); ++b) QVERIFY2(spies.at(b)->count() == (b == i), where);
            if (writesNothing) QVERIFY2(Changes() == before, where);
        }
    }
};

// An item dialog holding typed text stays open through a screen switch, and Compact, Repair and
// Restore then refuse; an untouched one closes, and so does every dialog when Edit > Delete Item
// deletes the record. A reminder leaves alone what is being typed in a record editor.
class UnsavedItemDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void typedInputSurvivesAScreenSwitch_data() {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("shows");  // box|text of the dialog loaded afresh for what was asked
        const auto row = [](const char* tag, const char* open, const char* form, bool typed, const char* then,
                            const char* shows = "") {
            QTest::newRow(tag) << QString(open) << QString(form) << typed << QString(then) << QString(shows);
        };
        row("to-do typed, View > Home", "key Ctrl+T", "frmToDo", true, "menu mnuViewHome");
        row("to-do untouched, View > Home", "key Ctrl+T", "frmToDo", false, "menu mnuViewHome");
        row("note typed, toolbar", "menu drpNote", "frmNotes", true, "menu Prj");
        row("appointment typed, name search", "menu mnuEditNewAppt", "frmAppt", true, "search Berg");
        row("stored to-do typed, list row", "key Ctrl+H | click lvToDo 0", "frmToDo", true,
            "click lvRecNames 0");
        row("to-do typed, Compact", "key Ctrl+T", "frmToDo", true, "answer OK | menu mnuFileCompDB");
        row("note typed, Repair", "menu drpNote", "frmNotes", true, "answer OK | menu mnuFileRepDB");
        row("appointment typed, Restore", "menu mnuFileBackupDB | menu mnuEditNewAppt", "frmAppt", true,
            "answer Yes | answer OK | menu mnuFileRestoreDB");
        row("to-do typed, Delete Item", "search Berg | key Ctrl+T", "frmToDo", true,
            "answer Yes | answer OK | menu mnuEditDelete | wait frmDelete");
        // Then another item of its kind asked for: this one comes forward and says why.
        row("to-do typed, Ctrl+T on another contact", "search Berg | key Ctrl+T", "frmToDo", true,
            "search Zeta | answer OK | key Ctrl+T");
        row("note typed, a call of a contact", "menu drpNote", "frmNotes", true,
            "search Berg | answer OK | click lvHist 0");
        row("appointment typed, one of the week", "menu mnuEditNewAppt", "frmAppt", true,
            "key F6 | tab Week | answer OK | box Lunch");
        // Untouched, it gives way to what was asked.
        row("to-do untouched, a stored one of the list", "key Ctrl+H | key Ctrl+T", "frmToDo", false,
            "click lvToDo 0", "Text1(0)|Call bank");
        row("note untouched, a call of the contact", "search Berg | menu drpNote", "frmNotes", false,
            "click lvHist 0", "Text1|Rang back");
        row("appointment untouched, one of the week", "key F6 | tab Week | menu mnuEditNewAppt", "frmAppt",
            false, "box Lunch", "Text1(0)|Lunch");
    }
    void typedInputSurvivesAScreenSwitch() {
        QFETCH(QString, open);
        QFETCH(QString, form);
        QFETCH(bool, typed);
        QFETCH(QString, then);
        QFETCH(QString, shows);
        Walker walk;
        walk.Run(open);
        QPointer<QWidget> dialog = walk.Shown(form);
        QVERIFY(dialog);
        if (typed) QTest::keyClicks(dialog->focusWidget(), QStringLiteral("Typed"));
        walk.Run(then);
        QCOMPARE(!dialog.isNull(), typed && !then.contains("mnuEditDelete"));
        if (!shows.isEmpty()) {
            QWidget* now = walk.Shown(form);
            QVERIFY(now);
            QWidget* box = now->findChild<QWidget*>(shows.section('|', 0, 0));
            const auto* list = qobject_cast<QComboBox*>(box);
            const auto* text = qobject_cast<QPlainTextEdit*>(box);
            QCOMPARE(list   ? list->currentText()
                     : text ? text->toPlainText()
                            : box->property("text").toString(),
                     shows.section('|', 1));
        }
        if (then.contains("mnuFile"))
            QVERIFY(walk.f->prompts().lastText().startsWith("Please close every open window before "));
        if (then.contains("answer") && !then.contains("menu"))
            QVERIFY(walk.f->prompts().lastText().startsWith("Please finish or cancel the open "));
        QCOMPARE(Walker::ErrLogText(), QString());
    }

    // A reminder over a profile box being typed, and the to-do it opens, take nothing from the box:
    // back in it the user types on, and leaving it writes the whole text once.
    void aReminderTakesNothingFromABox_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("written");  // none but the company stored at the start
        QTest::newRow("company") << 3 << "SELECT CompName FROM Contacts WHERE CompName <> 'Acme'";
        QTest::newRow("phone") << 9 << "SELECT group_concat(PhoneNum) FROM CPhone";
        QTest::newRow("address") << 6 << "SELECT group_concat(Street) FROM CAddress WHERE fkLookup = 'Work'";
    }
    void aReminderTakesNothingFromABox() {
        QFETCH(int, box);
        QFETCH(QString, written);
        Walker walk;
        walk.f->db().Execute("UPDATE Contacts SET CompName = 'Acme' WHERE ContID = 1");
        walk.Run(QStringLiteral("search Berg"));
        auto* typed = walk.Shown("frmContEntry")->findChild<QWidget*>(QStringLiteral("Text1(%1)").arg(box));
        typed->setFocus();  // which selects the whole text
        QTest::keyClicks(typed, "Bos");
        walk.onModal = [&](QWidget*) { QCOMPARE(walk.f->scalar(written).toString(), QString()); };
        walk.Run(QStringLiteral("poll 10:05 | press cmdOpts(4)"));  // the pop-up, then its to-do cancelled
        QCOMPARE(walk.seen, QStringList{"frmReminder"});
        QCOMPARE(walk.f->scalar(written).toString(), QString());
        QApplication::setActiveWindow(walk.w.get());  // the window manager's part
        QVERIFY(QTest::qWaitForWindowActive(walk.w.get()));
        QTest::keyClicks(QApplication::focusWidget(), "ton");
        QTest::keyClick(typed, Qt::Key_Tab);
        QCOMPARE(walk.f->scalar(written).toString(), QString("Boston"));
    }
};

// Every screen and dialog closed by its own close box, each in a fresh run of the program.
class ScreenCloseBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void eachClosesByItsCloseBox_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("form");
        for (const Stop& stop : kStops)
            QTest::newRow(stop.label) << QString::fromLatin1(stop.steps) << QString::fromLatin1(stop.form);
    }
    void eachClosesByItsCloseBox() {
        QFETCH(QString, steps);
        QFETCH(QString, form);
        Walker walk;
        // A modeless dialog is opened and closed twice: the second time the screen under it is
        // closed by its own close box first, as a user may do while the dialog waits.
        for (const bool screenFirst : {false, true}) {
            walk.seen.clear();
            walk.Run(steps);
            if (QTest::currentTestFailed()) return;

            QPointer<QWidget> opened = walk.Shown(form);
            auto* dialog = qobject_cast<QDialog*>(opened);
            if (!opened) {
                // A modal one: shown and closed within its own loop.
                QVERIFY(walk.seen.contains(form));
                break;
            }
            if (!dialog && screenFirst) break;
            if (screenFirst) {
                for (QMdiSubWindow* frame : walk.w->MdiArea()->subWindowList()) frame->close();
                Walker::Settle();
                // A report dialog closes with the editor it prints; every other dialog stays.
                const bool followsItsEditor = form.startsWith(QLatin1String("frmPrint"));
                QCOMPARE(opened.isNull(), followsItsEditor);
                if (followsItsEditor) {
                    QCOMPARE(walk.f->prompts().pending(), 0);
                    QCOMPARE(walk.ErrLogText(), QString());
                    break;
                }
            }
            if (dialog) {
                dialog->close();
            } else {
                auto* frame = qobject_cast<QMdiSubWindow*>(opened->parentWidget());
                QVERIFY(frame);
                frame->close();
            }
            Walker::Settle();
            QVERIFY(!ui::ScreenRegistry::instance().openForms().contains(opened.data()));
            QVERIFY(!opened || !opened->isVisible());
            QCOMPARE(walk.f->prompts().pending(), 0);
            QCOMPARE(walk.ErrLogText(), QString());
        }

        // The program goes on as before.
        walk.Run(QStringLiteral("key Ctrl+H"));
        QVERIFY(walk.Shown(QStringLiteral("frmHome")));
        QCOMPARE(walk.ErrLogText(), QString());
    }

    // An appointment dialog opened from one calendar view, then another view chosen: the switch
    // closes the dialog with the view it came from, the dialog first, and its reload reaches no view
    // that has gone. (The dialog over a view closed by the view's own close box: the test above.)
    void itemDialogOverAReplacedView_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("view");
        QTest::newRow("week box, then Day") << "key F6 | tab Week | box Lunch"
                                            << "tab Day"
                                            << "frmCalDay";
        QTest::newRow("day box, then Week") << "key F6 | tab Day | box Lunch"
                                            << "tab Week"
                                            << "frmCalWeek";
        QTest::newRow("list, then Month") << "key F6 | tab List | click lvResult 0"
                                          << "tab Month"
                                          << "frmCalMnth";
        QTest::newRow("week box, then Home") << "key F6 | tab Week | box Lunch"
                                             << "key Ctrl+H"
                                             << "frmHome";
    }
    void itemDialogOverAReplacedView() {
        QFETCH(QString, steps);
        QFETCH(QString, then);
        QFETCH(QString, view);
        Walker walk;
        walk.Run(steps);
        if (QTest::currentTestFailed()) return;
        QPointer<QWidget> dialog = walk.Shown(QStringLiteral("frmAppt"));
        QVERIFY(dialog);

        walk.Run(then);
        QVERIFY(!dialog);

        QVERIFY(walk.Shown(view));
        QVERIFY(!walk.Shown(QStringLiteral("frmAppt")));
        QCOMPARE(walk.LeftOpen(), QStringList{view});
        QCOMPARE(walk.ErrLogText(), QString());
    }
};

// The editors' pick lists and month views, dropped down from their icons, take the keys typed in
// their box as the desktop's drop-downs do; a click elsewhere closes them; one is open at a time.
class DropDownTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keysAndClicks_data() {
        // Icons clicked, keys typed where the focus is (digits typed as text), a click elsewhere, a click on
        // the month view's year or on a day ("day15"); what is dropped down after them.
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("open");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("column");  // the box's column ("JobTitle"), or the steps to a screen
        QTest::addColumn<QString>("text");    // shown, and stored as a date or text
        const auto row = [](const char* tag, const char* actions, const char* open, int box,
                            const char* column, const char* text) {
            QTest::newRow(tag) << actions << open << box << column << text;
        };
        row("job title, Down and Enter", "picPop(2) Down Down Down Return", "", 4, "JobTitle", "Manager");
        row("job title, Escape", "picPop(2) Down Down Down Escape", "", 4, "JobTitle", "");
        row("status, Up and Enter", "picPop(0) Down Down Down Down Up Return", "", 1, "Status", "Closed");
        row("type, a click elsewhere", "picPop(1) Down Down Down click", "", 2, "PrjType", "");
        row("start date, arrows and Enter", "picPop(2) Down Right Return", "", 3, "StartDate", "12/16/2026");
        row("end date, Escape", "picPop(3) Up Left Escape", "", 4, "EndDate", "");
        row("type, then start date", "picPop(1) picPop(2)", "mnvStart", 3, "StartDate", "");
        row("start date, then status", "picPop(2) picPop(0) Down Down Down Return", "", 1, "Status",
            "Closed");
        // Enter in the month view's own year box shows that year; only a day picks.
        row("start date, a year typed and Enter", "picPop(2) year 2027 Return", "mnvStart", 3, "StartDate",
            "");
        row("start date, a year typed, then Enter on the day", "picPop(2) year 2027 Return Return", "", 3,
            "StartDate", "12/8/2027");
        row("end date, a year typed, then a day clicked", "picPop(3) year 2025 Return day15", "", 4,
            "EndDate", "12/15/2025");
        // A click that ends a typed year only shows its month; the next picks the day under it.
        row("2028 typed, a day clicked", "picPop(3) year 2028 day15", "mnvEnd", 4, "EndDate", "");
        row("2029 typed, 26 twice", "picPop(3) year 2029 day26 day26", "", 4, "EndDate", "12/26/2029");
        row("2025 typed, 3 twice", "picPop(3) year 2025 day3 day3", "", 4, "EndDate", "12/3/2025");
        row("status, Enter on no entry", "picPop(0) Return", "", 1, "Status", "Open");
        // A screen's month view, after the steps to it: its page while shown, the day view's first day.
        row("home, 2028 typed, 15 clicked", "year 2028 day15", "", 0, "key Ctrl+H", "12/2028");
        row("home, 15 twice", "year 2028 day15 day15", "", 0, "key Ctrl+H", "Friday 12/15");
        row("week, 2028 typed, 15 clicked", "year 2028 day15", "", 0, "key F6 | tab Week", "12/2028");
        row("week, 15 twice", "year 2028 day15 day15", "", 0, "key F6 | tab Week", "Friday 12/15");
        row("day, 2028 typed, 15 clicked", "year 2028 day15", "", 0, "key F6 | tab Day",
            "12/2028 Tuesday 12/08");
    }
    void keysAndClicks() {
        QFETCH(QString, actions);
        QFETCH(QString, open);
        QFETCH(int, box);
        QFETCH(QString, column);
        QFETCH(QString, text);
        const bool contact = column == "JobTitle", screen = column.startsWith("key");
        Walker walk;
        walk.Run(screen ? column : contact ? "search Berg" : "key F5 | click lvResult 0");
        QPointer<QWidget> editor = screen ? ui::ScreenRegistry::instance().openForms().constLast()
                                          : walk.Shown(contact ? "frmContEntry" : "frmProjEntry");
        QVERIFY(editor && QTest::qWaitForWindowActive(walk.w.get()));
        QPointer<QCalendarWidget> month;
        for (const QString& action : actions.split(' ')) {
            QVERIFY(editor);
            month = nullptr;
            for (const char* name : {"mnvStart", "mnvEnd", "CalMain", "mvwCal"})
                if (auto* view = editor->findChild<QCalendarWidget*>(name); view && view->isVisible())
                    month = view;
            if (action.startsWith("picPop") || action == "click") {
                QTest::mouseClick(editor->findChild<QWidget*>(action == "click" ? "Text1(0)" : action),
                                  Qt::LeftButton);
            } else if (action == "year") {
                QVERIFY(month);
                QTest::mouseClick(month->findChild<QWidget*>("qt_calendar_yearbutton"), Qt::LeftButton);
            } else if (action.startsWith("day")) {
                QVERIFY(month);
                // The day's cell in the month shown: from the month's first day on.
                auto* days = month->findChild<QAbstractItemView*>();
                const auto at = [days](int cell) { return days->model()->index(cell / 7, cell % 7); };
                int cell = 7;
                while (cell < 49 && at(cell).data().toInt() != 1) ++cell;
                while (cell < 49 && at(cell).data().toInt() != action.mid(3).toInt()) ++cell;
                QVERIFY(cell < 49);
                QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualRect(at(cell)).center());
            } else if (action.front().isDigit()) {
                QTest::keyClicks(QApplication::focusWidget(), action);
            } else {
                QTest::keyClick(QApplication::focusWidget(), QKeySequence::fromString(action)[0].key());
            }
            Walker::Settle();
        }
        QCOMPARE(Walker::ErrLogText(), QString());
        if (screen) {
            QStringList seen;
            if (month && month->isVisible())
                seen << QString("%1/%2").arg(month->monthShown()).arg(month->yearShown());
            if (QWidget* day = walk.Shown("frmCalDay")) seen << day->findChild<QLabel*>("lblDay(0)")->text();
            QCOMPARE(seen.join(' '), text);
            return;
        }
        QStringList shown;
        for (const char* name : {"lstJobTitle", "lstStatus", "lstPrjType", "mnvStart", "mnvEnd"})
            if (auto* w = editor->findChild<QWidget*>(name); w && w->isVisible()) shown << name;
        QCOMPARE(shown.join(' '), open);
        QCOMPARE(editor->findChild<QLineEdit*>(QString("Text1(%1)").arg(box))->text(), text);
        const QString table = contact ? "Contacts WHERE ContID = 1" : "Projects WHERE ProjID = 10";
        const QVariant stored = g_dbLocal->OpenRecordset("SELECT " + column + " FROM " + table).Value(0);
        QCOMPARE(stored.typeId() == QMetaType::QDate ? QLocale::c().toString(stored.toDate(), "M/d/yyyy")
                                                     : stored.toString(),
                 text);
    }
};

POMARET_TEST(ScreenWalkTest)
POMARET_TEST(ScreenCloseBoxTest)
POMARET_TEST(DialogKeysTest)
POMARET_TEST(UnsavedItemDialogTest)
POMARET_TEST(DropDownTest)
#include "tst_ScreenWalk.moc"
