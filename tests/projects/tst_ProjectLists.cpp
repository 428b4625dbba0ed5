#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTextCursor>
#include <algorithm>
#include <memory>

#include "core/Trap.h"
#include "core/modGeneral.h"
#include "items/ItemDialog.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "projects/frmProjEntry.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

// Every row as "key|column 0|column 1|...".
QStringList Rows(const ui::ListView* list) {
    QStringList rows;
    for (int r = 0; r < list->rowCount(); ++r) {
        QStringList cells{list->key(r)};
        for (int c = 0; c < list->columnCount(); ++c) cells << list->text(r, c);
        rows << cells.join(u'|');
    }
    return rows;
}

// A mouse click on a row, or below the rows when row is -1.
void Click(ui::ListView* lv, int row, Qt::MouseButton button = Qt::LeftButton) {
    lv->scrollTo(lv->model()->index(std::max(row, 0), 0));
    const QPoint below(10, lv->viewport()->height() - 3);
    QTest::mouseClick(lv->viewport(), button, {}, row >= 0 ? lv->rowRect(row).center() : below);
}

}  // namespace

// The project editor's side lists, history, comment and the two dialogs it opens, driven through
// the real main window. Project 1 "Audit" has a bit of everything, project 2 "Empty" nothing; today
// is Tue 12/08/2026.
class ProjectListsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    void exec(const QString& sql, const QVariantList& params = {}) { f->db().Execute(sql, params); }
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    frmProjEntry* open(int id) {
        g_lngCurProjID = id;
        modGeneral::CloseAllChildForms();
        settle();
        return qobject_cast<frmProjEntry*>(ui::ScreenRegistry::instance().open("frmProjEntry"));
    }
    template <class T = QWidget>
    static T* ctl(QWidget* form, const QString& name) {
        T* w = form ? form->findChild<T*>(name) : nullptr;
        if (!w) qFatal("no control %s", qPrintable(name));
        return w;
    }
    static ui::ListView* lv(QWidget* e, const char* name) { return ctl<ui::ListView>(e, name); }
    static QWidget* form(const char* name) { return ui::ScreenRegistry::instance().find(name); }
    void tab(frmProjEntry* e, int index) {
        auto* tabs = ctl<QTabBar>(e, "tbsMain");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
    QString storedComment(int project = 1) {
        const QVariant v = f->scalar("SELECT Comments FROM PComments WHERE fkProjID = ?", {project});
        return v.isNull() ? QStringLiteral("<Null>") : v.toString();
    }

    void seed() {
        const QString script = QStringLiteral(R"(
INSERT INTO Contacts (ContID, Setting, ShownName) VALUES (2, 'Default', 'Zeta, Carl'), (3, 'Default', 'Adams, Eve'),
  (4, 'Hidden', 'Hid, Den'), (5, 'Private', 'Pri, Vate'), (6, 'Default', ' Berg, Anna ');
INSERT INTO Projects (ProjID, PName, Setting) VALUES (1, 'Audit', 'Default'), (2, 'Empty', 'Default');
INSERT INTO ToDo (RefNum, Subject, TextBody, DueDate, fkProjID, Completed) VALUES (1, 'Call bank', 'Ask', '2026-12-20', 1, 0),
  (2, 'File taxes', NULL, '2027-01-15', 1, 0), (3, 'Done', NULL, '2026-10-01', 1, -1), (4, 'No date', 'x', NULL, 1, 0),
  (5, NULL, 'b', '2026-12-01', 1, 0);
INSERT INTO Appts (RefNum, Subject, TextBody, DateFrom, fkProjID) VALUES (1, 'Lunch', NULL, '2026-12-08', 1),
  (2, 'Review', 'Q1', '2027-02-03', 1), (3, 'Old', NULL, '2026-12-07', 1), (4, NULL, NULL, '2026-12-09', 1);
INSERT INTO RelateProject (fkProjID, fkContID, ContShowName) VALUES (1, 2, 'Zeta, Carl'), (1, 3, 'Adams, Eve'),
  (1, 2, 'Zeta, Carl'), (1, 7, NULL);
INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (2, 'Home', '555-1234'), (3, 'Work', '555-9');
INSERT INTO PUserFields (Description) VALUES ('Age'), ('Colour'), ('Unused');
INSERT INTO PUFldValues (RefNum, fkProjID, fkUserFld, Value) VALUES (1, 1, 'Colour', 'Blue'), (2, 1, 'Age', '3');
INSERT INTO Attach (TextBody, NType, fkProjID, DateStamp) VALUES ('First', 'N', 1, '2026-11-01 09:00:00'),
  ('Rang back', 'C', 1, '2026-12-01 14:00:00'))");
        for (const QString& sql : script.split(u';')) exec(sql);
        exec("UPDATE Attach SET TextBody = ? WHERE RefNum = 1", {"First\r\nline"});
        exec("UPDATE ToDo SET TextBody = ? WHERE RefNum = 1", {"Ask about\r\nfees"});
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        seed();
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        settle();
        w.reset();
        shell::SingleInstance::release();
        QCOMPARE(f->rowCount("ErrLog"), 0);
        f.reset();
    }

    // Every list of project 1 (the empty project 2 shows none of its rows).
    void listsShowTheProjectsRows() {
        const QList<QPair<const char*, QStringList>> lists{
            {"lvToDo", {"ID2|File taxes|1/15/2027", "ID1|Call bank|12/20/2026", "ID4|No date|"}},
            {"lvAppts", {"ID2|Wed 02/03|Review", "ID4|Wed 12/09|", "ID1|Tue 12/08|Lunch"}},
            {"lvRelCon", {"ID3|Adams, Eve|", "ID2|Zeta, Carl|555-1234"}},
            {"lvUserDef", {"ID2|Age|3", "ID1|Colour|Blue"}},
            {"lvHist", {"ID2|12/01|Rang back", "ID1|11/01|Firstline"}},
            {"lvHistPane",
             {"CA2|12/01/2026|Call|Rang back", "NT1|11/01/2026|Note|Firstline",
              "TD2|01/15/2027|To Do|File taxes - ", "TD1|12/20/2026|To Do|Call bank - Ask aboutfees",
              "TD5|12/01/2026|To Do| - b", "TD3|10/01/2026|To Do|Done - ",
              "AP2|02/03/2027|Appointment|Review - Q1", "AP4|12/09/2026|Appointment| - ",
              "AP1|12/08/2026|Appointment|Lunch - ", "AP3|12/07/2026|Appointment|Old - "}}};
        for (const int project : {1, 2}) {
            frmProjEntry* e = open(project);
            for (const auto& [name, rows] : lists)
                QCOMPARE(Rows(lv(e, name)), project == 1 ? rows : QStringList());
        }
    }

    // Rows and buttons open the right dialog on the right record; the program-wide mode is left alone.
    void clickOpens_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("number");  // the item's number, -1 for a new one
        const auto add = [](const char* control, int row, const char* dialog, int number) {
            QTest::newRow(control) << QString(control) << row << QString(dialog) << number;
        };
        add("lvToDo", 0, "frmToDo", 2);
        add("lvAppts", 0, "frmAppt", 2);
        add("lvHist", 1, "frmNotes", 1);
        add("cmdAppts", 0, "frmAppt", -1);
        add("cmdUserFld", 0, "frmUserPrjFields", 0);
        add("cmdRelCon", 0, "frmSetRelContact", 0);
        add("lvRelCon", 1, "frmContEntry", 0);
    }
    void clickOpens() {
        QFETCH(QString, control);
        QFETCH(int, row);
        QFETCH(QString, dialog);
        QFETCH(int, number);
        QPointer<frmProjEntry> e = open(1);
        g_lngEntryMode = 7;
        control.startsWith("cmd") ? ctl<QPushButton>(e, control)->click()
                                  : Click(lv(e, qPrintable(control)), row);
        settle();
        QWidget* opened = form(qPrintable(dialog));
        QVERIFY(opened);
        QCOMPARE(g_lngEntryMode, 7);
        if (auto* item = qobject_cast<ItemDialog*>(opened)) {
            QCOMPARE(item->EntryMode(), number < 0 ? 0 : 2);
            if (number > 0) QCOMPARE(item->RecordNumber(), number);
        }
        // A related contact replaces the project editor; the current project stays.
        if (dialog == "frmContEntry") {
            QVERIFY(!e);
            QCOMPARE(g_lngCurContID, 2);
            QCOMPARE(g_lngCurProjID, 1);
        }
        QCOMPARE(f->prompts().count(), 0);
    }

    // "New Appt ..." opens a new appointment on this project; its OK lists it in the editor.
    void newAppointmentIsListed() {
        frmProjEntry* e = open(1);
        ctl<QPushButton>(e, "cmdAppts")->click();
        settle();
        QWidget* appt = form("frmAppt");
        QVERIFY(appt);
        auto* projects = appt->findChild<ui::ComboBox*>("Combo1(1)");
        QCOMPARE(projects->itemData(projects->currentIndex()), 1);
        QTest::keyClicks(appt->findChild<QLineEdit*>("Text1(0)"), "Site visit");
        appt->findChild<QPushButton*>("cmdOpts(3)")->click();
        settle();
        QVERIFY(!form("frmAppt"));
        QVERIFY(Rows(lv(e, "lvAppts")).join(',').contains("Site visit"));
    }

    // The right-click acts on the value under the mouse; the main window asks and deletes it.
    void deleteValueThroughTheMainWindow() {
        frmProjEntry* e = open(1);
        auto* values = lv(e, "lvUserDef");
        values->setSelectedRow(0);
        Click(values, 1, Qt::RightButton);
        QCOMPARE(values->selectedRow(), 1);
        f->prompts().answer(ui::Answer::Yes);
        w->findChild<QAction*>("mnuDelProjectFld")->trigger();
        settle();
        QCOMPARE(
            f->prompts().lastText(),
            QString(
                "Are you sure you want to DELETE [ Colour ]\nas a User Defined Field from project Audit ?"));
        QCOMPARE(Rows(values), QStringList{"ID2|Age|3"});
        QCOMPARE(f->rowCount("PUFldValues"), 1);
    }

    // "Add To History": a failed post is told in the project's words and keeps the text; the call is
    // then filed under the project and listed, its lines run together.
    void addToHistory() {
        frmProjEntry* e = open(2);
        auto* box = ctl<QPlainTextEdit>(e, "txtNewNote");
        QTest::mouseClick(ctl<QRadioButton>(e, "optNType(1)"), Qt::LeftButton);
        box->setPlainText("one\ntwo");
        core::InjectFault("frmProjEntry.PostNewHistoryItem", 3022, "Refused.");
        f->prompts().answer(ui::Answer::OK);
        ctl<QPushButton>(e, "cmdHist")->click();
        QCOMPARE(
            f->prompts().lastText(),
            QString(
                "An un-known error occurred while posting this History item!\nSorry for the inconvenience"));
        QCOMPARE(box->toPlainText(), QString("one\ntwo"));
        exec("DELETE * FROM ErrLog");
        ctl<QPushButton>(e, "cmdHist")->click();
        QCOMPARE(
            f->scalar("SELECT TextBody || '|' || NType || '|' || fkContID FROM Attach WHERE fkProjID = 2")
                .toString(),
            QString("one\r\ntwo|C|0"));
        // Stamped by the database with its own clock.
        QCOMPARE(Rows(lv(e, "lvHist")),
                 QStringList{"ID3|" + QLocale::c().toString(QDate::currentDate(), "MM/dd") + "|onetwo"});
    }

    // A note left in "New:" and a changed comment belong to the project on screen: a new project opened
    // meanwhile does not take them, and a project deleted under them takes them along, without a word.
    void pendingTextStaysWithItsProject_data() {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("New > Project") << false;
        QTest::newRow("Edit > Delete Item") << true;
    }
    void pendingTextStaysWithItsProject() {
        QFETCH(bool, deleted);
        frmProjEntry* e = open(1);
        ctl<QPlainTextEdit>(e, "txtNewNote")->setPlainText("Left in New");
        tab(e, 1);
        ctl<QPlainTextEdit>(e, "txtComments")->setPlainText("Typed");
        if (deleted) {
            f->prompts().answer(ui::Answer::Yes).answer(ui::Answer::OK);
            w->findChild<QAction*>("mnuEditDelete")->trigger();
            QVERIFY(QTest::qWaitFor([this] { return !form("frmDelete"); }, 5000));
            QCOMPARE(f->prompts().lastText(), QString("Delete Complete!"));
            QCOMPARE(f->rowCount("Attach") + f->rowCount("PComments"), 0);
        } else {
            w->findChild<QAction*>("mnuEditNewProject")->trigger();
            QWidget* dlg = form("frmNewProject");
            QTest::keyClicks(ctl<QLineEdit>(dlg, "Text1"), "Next");
            ctl<QPushButton>(dlg, "cmdOpts(0)")->click();
            settle();
            QCOMPARE(g_lngCurProjID, 3);
            QCOMPARE(f->rowCount("Attach", "fkProjID = 1 AND TextBody = 'Left in New'"), 1);
            QCOMPARE(storedComment(), QString("Typed"));
            QCOMPARE(f->rowCount("PComments", "fkProjID = 3") + f->rowCount("Attach", "fkProjID = 3"), 0);
        }
    }

    // The Time-Saver in the project's words; a new item holds the selection, the project chosen.
    void timeSaver_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("told");
        QTest::newRow("nothing selected")
            << 0 << false << "There is no selected text, from Project Comments.";
        QTest::newRow("to-do") << 0 << true << "";
    }
    void timeSaver() {
        QFETCH(int, link);
        QFETCH(bool, selected);
        QFETCH(QString, told);
        frmProjEntry* e = open(1);
        tab(e, 1);
        auto* box = ctl<QPlainTextEdit>(e, "txtComments");
        box->setPlainText("Intro. Call Ann\nabout fees. End");
        QTextCursor cursor(box->document());
        if (selected) {
            cursor.setPosition(7);
            cursor.setPosition(26, QTextCursor::KeepAnchor);
        }
        box->setTextCursor(cursor);
        if (!told.isEmpty()) f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(ctl(e, QString("lblHyper(%1)").arg(link)), Qt::LeftButton);
        settle();
        if (!told.isEmpty()) {
            QCOMPARE(f->prompts().lastText(), told);
            QCOMPARE(ui::ScreenRegistry::instance().find<QDialog>(), nullptr);
            return;
        }
        QWidget* dlg = form("frmToDo");
        QCOMPARE(ctl<QPlainTextEdit>(dlg, "Text1(1)")->toPlainText(), QString("Call Ann\nabout fees"));
        auto* projects = ctl<ui::ComboBox>(dlg, "Combo1(1)");
        QCOMPARE(projects->itemData(projects->listIndex()), 1);
    }

    // Only "Default" contacts; OK before a choice is told; OK links under the name as listed, twice if
    // asked, and the editor lists the contact once; Cancel reloads nothing, the close box reloads.
    // Before that, a click beside the empty list is told, a right click is not.
    void relatedContactPicker() {
        frmProjEntry* e = open(2);
        auto* related = lv(e, "lvRelCon");
        Click(related, -1, Qt::RightButton);
        f->prompts().answer(ui::Answer::OK);
        Click(related, -1);
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), QString("There is nothing from the list to select"));

        const auto picker = [&] {
            ctl<QPushButton>(e, "cmdRelCon")->click();
            return QPointer<QWidget>(form("frmSetRelContact"));
        };
        QPointer<QWidget> dlg = picker();
        auto* contacts = ctl<ui::ListBox>(dlg, "lstContact");
        QCOMPARE(QStringList({contacts->itemText(0), contacts->itemText(1), contacts->itemText(2)}),
                 QStringList({" Berg, Anna ", "Adams, Eve", "Zeta, Carl"}));
        QCOMPARE(contacts->count(), 3);
        f->prompts().answer(ui::Answer::OK);
        ctl<QPushButton>(dlg, "cmdOpts(0)")->click();
        QCOMPARE(f->prompts().lastText(), QString("You must select a Contact from the list."));
        for (int i = 0; i < 2; ++i) {
            if (i) dlg = picker();
            auto* list = ctl<ui::ListBox>(dlg, "lstContact");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->model()->index(0, 0)).center());
            ctl<QPushButton>(dlg, "cmdOpts(0)")->click();
            settle();
            QVERIFY(!dlg);
        }
        QCOMPARE(
            f->rowCount("RelateProject", "fkProjID = 2 AND fkContID = 6 AND ContShowName = ' Berg, Anna '"),
            2);
        QCOMPARE(Rows(related), QStringList{"ID6| Berg, Anna |"});

        exec("INSERT INTO RelateProject (fkProjID, fkContID, ContShowName) VALUES (2, 3, 'Adams, Eve')");
        dlg = picker();
        ctl<QPushButton>(dlg, "cmdOpts(1)")->click();
        settle();
        QCOMPARE(related->rowCount(), 1);
        dlg = picker();
        dlg->close();
        settle();
        QCOMPARE(related->rowCount(), 2);

        exec("UPDATE Contacts SET Setting = 'Hidden'");
        f->prompts().answer(ui::Answer::OK);
        picker();
        settle();
        QVERIFY(!form("frmSetRelContact"));
        QCOMPARE(f->prompts().lastText(), QString("There are no Contacts entered to select."));
    }

    // The project words of the user-field dialog (its tables are covered with hostile input): the
    // refusal to remove a field another project uses, the removal's own failure message, and the
    // editor's list reloaded on close.
    void projectUserFields() {
        exec("INSERT INTO PUFldValues (fkProjID, fkUserFld, Value) VALUES (2, 'Unused', 'x')");
        frmProjEntry* e = open(1);
        ctl<QPushButton>(e, "cmdUserFld")->click();
        QPointer<QWidget> dlg = form("frmUserPrjFields");
        auto* fields = ctl<ui::ListBox>(dlg, "lstUserFld");
        const auto remove = [&] {
            const QModelIndex entry = fields->model()->index(fields->findText("Unused"), 0);
            QTest::mouseClick(fields->viewport(), Qt::LeftButton, {}, fields->visualRect(entry).center());
            f->prompts().answer(ui::Answer::OK);
            ctl<QPushButton>(dlg, "cmdOpts(1)")->click();
        };
        remove();
        QCOMPARE(f->prompts().lastText(),
                 QString("That field is in use in a Project Record and cannot be removed."));
        exec("DELETE * FROM PUFldValues WHERE fkUserFld = 'Unused'");
        core::InjectFault("frmUserPrjFields.DeleteUserField", 3022, "Refused.");
        remove();
        QCOMPARE(
            f->prompts().lastText(),
            QString("An An un-known error occurred while Deleting the record!\nSorry for the inconvenience"));
        exec("DELETE * FROM ErrLog");

        exec("UPDATE PUFldValues SET Value = '4' WHERE RefNum = 2");
        ctl<QPushButton>(dlg, "cmdOpts(2)")->click();
        settle();
        QVERIFY(!dlg);
        QCOMPARE(Rows(lv(e, "lvUserDef")), QStringList({"ID2|Age|4", "ID1|Colour|Blue"}));
    }
};

POMARET_TEST(ProjectListsTest)
#include "tst_ProjectLists.moc"
