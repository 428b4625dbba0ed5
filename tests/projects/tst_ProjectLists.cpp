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
        g_blnAltColors = false;
        QCOMPARE(f->rowCount("ErrLog"), 0);
        f.reset();
    }

    void listsShowTheProjectsRows_data() {
        QTest::addColumn<int>("project");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("rows");
        const auto add = [](const char* name, int project, const char* list, const QStringList& rows) {
            QTest::newRow(name) << project << QString(list) << rows;
        };
        add("to-dos", 1, "lvToDo", {"ID2|File taxes|1/15/2027", "ID1|Call bank|12/20/2026", "ID4|No date|"});
        add("appointments", 1, "lvAppts", {"ID2|Wed 02/03|Review", "ID4|Wed 12/09|", "ID1|Tue 12/08|Lunch"});
        add("contacts", 1, "lvRelCon", {"ID3|Adams, Eve|", "ID2|Zeta, Carl|555-1234"});
        add("values", 1, "lvUserDef", {"ID2|Age|3", "ID1|Colour|Blue"});
        add("history", 1, "lvHist", {"ID2|12/01|Rang back", "ID1|11/01|Firstline"});
        add("All Items", 1, "lvHistPane",
            {"CA2|12/01/2026|Call|Rang back", "NT1|11/01/2026|Note|Firstline",
             "TD2|01/15/2027|To Do|File taxes - ", "TD1|12/20/2026|To Do|Call bank - Ask aboutfees",
             "TD5|12/01/2026|To Do| - b", "TD3|10/01/2026|To Do|Done - ",
             "AP2|02/03/2027|Appointment|Review - Q1", "AP4|12/09/2026|Appointment| - ",
             "AP1|12/08/2026|Appointment|Lunch - ", "AP3|12/07/2026|Appointment|Old - "});
        for (const char* name : {"lvToDo", "lvAppts", "lvRelCon", "lvUserDef", "lvHist", "lvHistPane"})
            add(qPrintable(QString("empty project, ") + name), 2, name, {});
    }
    void listsShowTheProjectsRows() {
        QFETCH(int, project);
        QFETCH(QString, list);
        QFETCH(QStringList, rows);
        g_blnAltColors = true;
        frmProjEntry* e = open(project);
        QCOMPARE(Rows(ctl<ui::ListView>(e, list)), rows);
        if (!rows.isEmpty()) QVERIFY(ctl<ui::ListView>(e, list)->hasStripe());
        // The History tab's filter: the views without data stay empty.
        if (list == "lvHistPane") {
            auto* filter = ctl<ui::ComboBox>(e, "cboHistFilter");
            filter->setCurrentIndex(filter->findText("E-mails"));
            Q_EMIT filter->activated(filter->currentIndex());
            QCOMPARE(lv(e, "lvHistPane")->rowCount(), 0);
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
            QCOMPARE(item->EntryMode(), 2);
            QCOMPARE(item->RecordNumber(), number);
        } else if (dialog == "frmAppt") {
            QCOMPARE(opened->property(modGeneral::kEntryModeValue).toInt(), number < 0 ? 0 : 2);
            if (number > 0) QCOMPARE(opened->property("m_lngApptID").toInt(), number);
        }
        // A related contact replaces the project editor; the current project stays.
        if (dialog == "frmContEntry") {
            QVERIFY(!e);
            QCOMPARE(g_lngCurContID, 2);
            QCOMPARE(g_lngCurProjID, 1);
        }
        QCOMPARE(f->prompts().count(), 0);
    }

    // A left click on no row says so and opens nothing; a right click on no value does nothing.
    void clickOnNoRow_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("right");
        for (const char* name : {"lvToDo", "lvAppts", "lvRelCon", "lvHist"})
            QTest::newRow(name) << name << false;
        QTest::newRow("lvUserDef, right") << "lvUserDef" << true;
        QTest::newRow("lvRelCon, right") << "lvRelCon" << true;
    }
    void clickOnNoRow() {
        QFETCH(QString, list);
        QFETCH(bool, right);
        frmProjEntry* e = open(2);
        if (!right) f->prompts().answer(ui::Answer::OK);
        Click(ctl<ui::ListView>(e, list), -1, right ? Qt::RightButton : Qt::LeftButton);
        settle();
        QCOMPARE(f->prompts().count(), right ? 0 : 1);
        if (!right) QCOMPARE(f->prompts().lastText(), QString("There is nothing from the list to select"));
        QCOMPARE(ui::ScreenRegistry::instance().find<QDialog>(), nullptr);
    }

    // A to-do or a note saved in the dialog its row opened shows at once in the editor's list.
    void savingInTheDialogRefreshesTheList_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown");
        QTest::newRow("to-do") << "lvToDo"
                               << "Text1(0)"
                               << "ID2|Pay taxes|1/15/2027";
        QTest::newRow("note") << "lvHist"
                              << "Text1"
                              << "ID2|12/01|Pay taxes";
    }
    void savingInTheDialogRefreshesTheList() {
        QFETCH(QString, list);
        QFETCH(QString, box);
        QFETCH(QString, shown);
        frmProjEntry* e = open(1);
        Click(ctl<ui::ListView>(e, list), 0);
        auto* dlg = ui::ScreenRegistry::instance().find<ItemDialog>();
        QVERIFY(dlg);
        QWidget* text = ctl(dlg, box);
        if (auto* line = qobject_cast<QLineEdit*>(text)) line->setText("Pay taxes");
        if (auto* memo = qobject_cast<QPlainTextEdit*>(text)) memo->setPlainText("Pay taxes");
        ctl<QPushButton>(dlg, "cmdOpts(3)")->click();
        settle();
        QCOMPARE(Rows(ctl<ui::ListView>(e, list)).value(0), shown);
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

    // "Add To History": a call of two lines is filed under the project and listed; a failed post keeps
    // the text and its kind; an empty box files nothing and chooses "Note" again.
    void addToHistory() {
        frmProjEntry* e = open(2);
        auto* box = ctl<QPlainTextEdit>(e, "txtNewNote");
        auto* call = ctl<QRadioButton>(e, "optNType(1)");
        auto* add = ctl<QPushButton>(e, "cmdHist");
        QTest::mouseClick(call, Qt::LeftButton);
        box->setPlainText("one\ntwo");
        core::InjectFault("frmProjEntry.PostNewHistoryItem", 3022, "Refused.");
        f->prompts().answer(ui::Answer::OK);
        add->click();
        QCOMPARE(
            f->prompts().lastText(),
            QString(
                "An un-known error occurred while posting this History item!\nSorry for the inconvenience"));
        QCOMPARE(box->toPlainText() + (call->isChecked() ? "|call" : "|note"), QString("one\ntwo|call"));
        exec("DELETE * FROM ErrLog");

        add->click();
        QCOMPARE(
            f->scalar("SELECT TextBody || '|' || NType || '|' || fkProjID || '|' || fkContID FROM Attach "
                      "WHERE RefNum = 3")
                .toString(),
            QString("one\r\ntwo|C|2|0"));
        // Stamped by the database with its own clock.
        QCOMPARE(Rows(lv(e, "lvHist")),
                 QStringList{"ID3|" + QLocale::c().toString(QDate::currentDate(), "MM/dd") + "|onetwo"});
        QVERIFY(box->toPlainText().isEmpty() && !call->isChecked());

        QTest::mouseClick(call, Qt::LeftButton);
        add->click();
        QCOMPARE(f->rowCount("Attach"), 3);
        QVERIFY(!call->isChecked());
    }

    // One row per project: added by the first tab click after typing, edited afterwards; tab clicks
    // without typing write nothing; the close posts what was typed last; an emptied comment is Null.
    void comment() {
        frmProjEntry* e = open(1);
        auto* box = ctl<QPlainTextEdit>(e, "txtComments");
        tab(e, 1);
        tab(e, 0);
        QCOMPARE(f->rowCount("PComments"), 0);
        tab(e, 1);
        box->setPlainText("Line 1\nLine 2");
        tab(e, 2);
        QCOMPARE(storedComment(), QString("Line 1\r\nLine 2"));
        box->setPlainText("Edited");
        tab(e, 0);
        tab(e, 1);
        QCOMPARE(storedComment(), QString("Edited"));
        box->setPlainText("Before closing");
        e = open(1);
        QCOMPARE(storedComment(), QString("Before closing"));
        QCOMPARE(ctl<QPlainTextEdit>(e, "txtComments")->toPlainText(), QString("Before closing"));
        ctl<QPlainTextEdit>(e, "txtComments")->clear();
        tab(e, 1);
        QCOMPARE(storedComment(), QString("<Null>"));
        QCOMPARE(f->rowCount("PComments"), 1);
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
        const int notes = f->rowCount("Attach");
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
            QCOMPARE(f->rowCount("Attach"), notes + 1);
            QCOMPARE(storedComment(), QString("Typed"));
            QCOMPARE(f->rowCount("PComments", "fkProjID = 3") + f->rowCount("Attach", "fkProjID = 3"), 0);
        }
    }

    // Nothing selected: told so; the To Do, Appt and Note links open new items holding the selection,
    // the project chosen; e-mail and letter are not there yet.
    void timeSaver_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("told");
        QTest::newRow("nothing selected")
            << 0 << false << "There is no selected text, from Project Comments.";
        QTest::newRow("e-mail") << 1 << true << "Sorry, this feature is not available yet.";
        QTest::newRow("letter") << 2 << true << "Sorry, this feature is not available yet.";
        QTest::newRow("to-do") << 0 << true << "";
        QTest::newRow("appointment") << 3 << true << "";
        QTest::newRow("note") << 4 << true << "";
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
        const char* dialogs[] = {"frmToDo", "", "", "frmAppt", "frmNotes"};
        QWidget* dlg = form(dialogs[link]);
        QVERIFY(dlg);
        if (link == 3) {
            QCOMPARE(dlg->property(modGeneral::kTimeSaverTextValue).toString(),
                     QString("Call Ann\r\nabout fees"));
            return;
        }
        QCOMPARE(ctl<QPlainTextEdit>(dlg, link == 0 ? "Text1(1)" : "Text1")->toPlainText(),
                 QString("Call Ann\nabout fees"));
        auto* projects = ctl<ui::ComboBox>(dlg, "Combo1(1)");
        QCOMPARE(projects->itemData(projects->listIndex()), 1);
    }

    // Only "Default" contacts; OK before a choice is told; OK links under the name as listed, twice if
    // asked, and the editor lists the contact once; Cancel reloads nothing, the close box reloads.
    void relatedContactPicker() {
        frmProjEntry* e = open(2);
        const auto picker = [&] {
            ctl<QPushButton>(e, "cmdRelCon")->click();
            return QPointer<QWidget>(form("frmSetRelContact"));
        };
        const auto choose = [&](QWidget* dlg, const QString& name) {
            auto* contacts = ctl<ui::ListBox>(dlg, "lstContact");
            const QModelIndex entry = contacts->model()->index(contacts->findText(name), 0);
            QTest::mouseClick(contacts->viewport(), Qt::LeftButton, {}, contacts->visualRect(entry).center());
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
            choose(dlg, " Berg, Anna ");
            ctl<QPushButton>(dlg, "cmdOpts(0)")->click();
            settle();
            QVERIFY(!dlg);
        }
        QCOMPARE(
            f->rowCount("RelateProject", "fkProjID = 2 AND fkContID = 6 AND ContShowName = ' Berg, Anna '"),
            2);
        QCOMPARE(Rows(lv(e, "lvRelCon")), QStringList{"ID6| Berg, Anna |"});

        exec("INSERT INTO RelateProject (fkProjID, fkContID, ContShowName) VALUES (2, 3, 'Adams, Eve')");
        dlg = picker();
        ctl<QPushButton>(dlg, "cmdOpts(1)")->click();
        settle();
        QCOMPARE(lv(e, "lvRelCon")->rowCount(), 1);
        dlg = picker();
        dlg->close();
        settle();
        QCOMPARE(lv(e, "lvRelCon")->rowCount(), 2);

        exec("UPDATE Contacts SET Setting = 'Hidden'");
        f->prompts().answer(ui::Answer::OK);
        picker();
        settle();
        QVERIFY(!form("frmSetRelContact"));
        QCOMPARE(f->prompts().lastText(), QString("There are no Contacts entered to select."));
    }

    // The project texts and tables of the user-field dialog: a value saved for this project, the
    // refusal to remove a field another project uses, the removal's own failure message, and the
    // editor's list reloaded on close.
    void projectUserFields() {
        exec("INSERT INTO PUFldValues (fkProjID, fkUserFld, Value) VALUES (2, 'Unused', 'x')");
        frmProjEntry* e = open(1);
        ctl<QPushButton>(e, "cmdUserFld")->click();
        QPointer<QWidget> dlg = form("frmUserPrjFields");
        QVERIFY(dlg);
        QCOMPARE(dlg->windowTitle(), QString("New / Edit User Project Fields"));
        auto* fields = ctl<ui::ListBox>(dlg, "lstUserFld");
        const auto choose = [&](const QString& name) {
            const QModelIndex entry = fields->model()->index(fields->findText(name), 0);
            QTest::mouseClick(fields->viewport(), Qt::LeftButton, {}, fields->visualRect(entry).center());
            settle();
        };
        choose("Age");
        auto* value = ctl<QLineEdit>(dlg, "txtValue");
        QCOMPARE(value->text(), QString("3"));
        value->setText("4");
        QTest::keyClick(value, Qt::Key_Return);
        settle();
        QCOMPARE(f->scalar("SELECT Value FROM PUFldValues WHERE RefNum = 2").toString(), QString("4"));
        QCOMPARE(Rows(lv(e, "lvUserDef")).value(0), QString("ID2|Age|3"));

        choose("Unused");
        f->prompts().answer(ui::Answer::OK);
        ctl<QPushButton>(dlg, "cmdOpts(1)")->click();
        QCOMPARE(f->prompts().lastText(),
                 QString("That field is in use in a Project Record and cannot be removed."));
        exec("DELETE * FROM PUFldValues WHERE fkUserFld = 'Unused'");
        choose("Unused");
        core::InjectFault("frmUserPrjFields.DeleteUserField", 3022, "Refused.");
        f->prompts().answer(ui::Answer::OK);
        ctl<QPushButton>(dlg, "cmdOpts(1)")->click();
        QCOMPARE(
            f->prompts().lastText(),
            QString("An An un-known error occurred while Deleting the record!\nSorry for the inconvenience"));
        exec("DELETE * FROM ErrLog");

        ctl<QPushButton>(dlg, "cmdOpts(2)")->click();
        settle();
        QVERIFY(!dlg);
        QCOMPARE(Rows(lv(e, "lvUserDef")), QStringList({"ID2|Age|4", "ID1|Colour|Blue"}));
    }
};

POMARET_TEST(ProjectListsTest)
#include "tst_ProjectLists.moc"
