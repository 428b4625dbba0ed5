#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <memory>

#include "contacts/ContactScreens.h"
#include "contacts/dialogs/frmSwtContact.h"
#include "contacts/frmContEntry.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "support/Fixture.h"
#include "support/FormDouble.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

// The main window as the lists use it: screens in its MDI area, the members its pop-up menus read,
// and the pop-ups, which record that they were asked for.
class Host : public QMainWindow, public core::MainWindowLink {
    Q_OBJECT
    Q_PROPERTY(QVariant m_lngContUserFld MEMBER m_lngContUserFld)
    Q_PROPERTY(QVariant m_strContUserFld MEMBER m_strContUserFld)
    Q_PROPERTY(int m_lngRelContID MEMBER m_lngRelContID)
    Q_PROPERTY(QString m_strOldRCMemo MEMBER m_strOldRCMemo)

public:
    Host() {
        auto* area = new QMdiArea(this);
        setCentralWidget(area);
        resize(1000, 700);
        core::SetMainWindow(this);
        ui::ScreenRegistry::instance().setScreenHost([area](QWidget* screen) {
            QMdiSubWindow* frame = area->addSubWindow(screen);
            frame->setAttribute(Qt::WA_DeleteOnClose);
            frame->showMaximized();
        });
        show();
    }
    ~Host() override {
        modGeneral::CloseAllChildForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui::ScreenRegistry::instance().setScreenHost({});
        core::SetMainWindow(nullptr);
    }
    Q_INVOKABLE void PopupDelContFld(const QPoint&) { popups << "mnuDelContFld"; }
    Q_INVOKABLE void PopupRCMemo(const QPoint&) { popups << "mnuRCMemoPop"; }

    QWidget* Widget() override { return this; }
    void SetStatusText(const QString&) override {}
    QString StatusText() const override { return {}; }
    void SetContextCommandsEnabled(bool) override {}
    int WindowStateCode() const override { return 0; }
    QRectF OuterFrameTwips() const override { return {}; }
    bool PositionKnown() const override { return true; }

    QVariant m_lngContUserFld, m_strContUserFld;
    int m_lngRelContID = 0;
    QString m_strOldRCMemo;
    QStringList popups;
};

// Later work's dialogs and screens, as stand-ins.
const char* const kStandIns[] = {"frmNotes",         "frmToDo",        "frmAppt",      "frmProjEntry",
                                 "frmSetRelProject", "frmNewLinkCont", "frmUserFields"};

struct Opened {
    QString name;
    int entryMode;
    int32_t projId;
    bool editorOpen;
    QPointer<QWidget> form;
};

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

}  // namespace

class ContactListsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<Host> host;
    QList<Opened> opened;

    void exec(const QString& sql, const QVariantList& params = {}) { f->db().Execute(sql, params); }
    frmContEntry* open(int id) {
        g_lngCurContID = id;
        return qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
    }

    // Contacts 1 (a bit of everything) and 3 (nothing), and rows of contact 2 that must not show.
    // Related projects in link order: Beta, one that is gone, Alpha, Beta again, none.
    void seed() {
        const QString script = QStringLiteral(R"(
INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName) VALUES (1, 'I', 'Default', 'Anna Berg',
  'Berg, Anna'), (2, 'I', 'Default', 'Carl Zeta', 'Zeta, Carl'), (3, 'I', 'Default', 'Eve Adams', 'Adams, Eve');
INSERT INTO Projects (ProjID, PName, Status) VALUES (10, 'Alpha', 'Open'), (11, 'Beta', NULL);
INSERT INTO RelateProject (fkProjID, fkContID) VALUES (11, 1), (99, 1), (10, 1), (11, 1), (NULL, 1), (10, 2);
INSERT INTO Attach (TextBody, NType, fkContID, DateStamp) VALUES ('First', 'N', 1, '2026-11-01 09:00:00'),
  ('Rang back', 'C', 1, '2026-12-01 14:00:00'), ('Odd kind', 'X', 1, '2026-12-02 10:00:00'),
  ('Other', 'N', 2, '2026-12-03 10:00:00'), ('Undated', 'N', 1, NULL);
INSERT INTO ToDo (RefNum, Subject, TextBody, DueDate, fkContID, Completed) VALUES (1, 'Call bank', 'Ask',
  '2026-12-20', 1, 0), (2, 'File taxes', NULL, '2027-01-15', 1, 0), (3, 'Done thing', NULL, '2026-10-01', 1, -1),
  (4, 'No date', 'x', NULL, 1, 0), (5, NULL, 'body5', '2026-12-01', 1, 0), (6, 'Other', NULL, '2026-12-21', 2, 0);
INSERT INTO Appts (RefNum, Subject, TextBody, DateFrom, fkContID) VALUES (1, 'Lunch', NULL, '2026-12-08', 1),
  (2, 'Review', 'Q1', '2027-02-03', 1), (3, 'Old meeting', NULL, '2026-11-20', 1), (4, 'Other', NULL, '2026-12-09', 2);
INSERT INTO RelateCont (MasterContID, SubContID, LinkMemo, SubContShowName) VALUES (1, 2, 'Brother',
  'Zeta, Carl'), (1, 3, NULL, 'Adams, Eve'), (1, 4, 'x', NULL), (2, 1, 'Sister', 'Berg, Anna');
INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (2, 'Home', '555-1234');
INSERT INTO CEMail (fkContID, fkLookup, Email) VALUES (2, 'Personal', 'c@z.org');
INSERT INTO CUFldValues (RefNum, fkContID, fkUserFld, Value) VALUES (1, 1, 'Shoe size', '42'),
  (2, 1, 'Birthday', NULL), (3, 1, NULL, 'x'), (4, 2, 'Age', '40'))");
        for (const QString& sql : script.split(u';')) exec(sql);
        // Stored bodies have CR LF line breaks.
        exec("UPDATE Attach SET TextBody = ? WHERE TextBody = 'First'", {"First\r\nline"});
        exec("UPDATE ToDo SET TextBody = ? WHERE RefNum = 1", {"Ask about\r\nfees"});
    }

    // A mouse click on a row, or below the rows when row is -1.
    static void click(ui::ListView* lv, int row, Qt::MouseButton button = Qt::LeftButton) {
        lv->scrollTo(lv->model()->index(std::max(row, 0), 0));
        const QPoint below(10, lv->viewport()->height() - 3);
        QVERIFY(row >= 0 || lv->rowCount() == 0 || lv->rowRect(lv->rowCount() - 1).bottom() < below.y());
        QTest::mouseClick(lv->viewport(), button, {}, row >= 0 ? lv->rowRect(row).center() : below);
    }

private Q_SLOTS:
    void initTestCase() { contacts::RegisterScreens(); }
    void init() {
        f = std::make_unique<Fixture>();
        host = std::make_unique<Host>();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        opened.clear();
        for (const char* name : kStandIns) {
            ui::ScreenRegistry::instance().registerScreen(name, [this, name](const ui::OpenValues& values) {
                auto* stand = testsupport::TakeValues(new QWidget, values);
                opened.append({name, g_lngEntryMode, g_lngCurProjID,
                               ui::ScreenRegistry::instance().find<frmContEntry>() != nullptr, stand});
                return stand;
            });
        }
        seed();
    }
    void cleanup() {
        host.reset();
        for (const Opened& o : opened) delete o.form.data();
        for (const char* name : kStandIns) ui::ScreenRegistry::instance().registerScreen(name, {});
        g_blnAltColors = false;
        QCOMPARE(f->rowCount("ErrLog"), 0);
        f.reset();
    }

    void listsShowTheContactsRows_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("rows");
        const QStringList notes{"CA2|12/01/2026|Call|Rang back", "NT1|11/01/2026|Note|Firstline"};
        const QStringList toDos{"TD2|01/15/2027|To Do|File taxes - ",
                                "TD1|12/20/2026|To Do|Call bank - Ask aboutfees",
                                "TD5|12/01/2026|To Do| - body5", "TD3|10/01/2026|To Do|Done thing - "};
        const QStringList appts{"AP2|02/03/2027|Appointment|Review - Q1",
                                "AP1|12/08/2026|Appointment|Lunch - ",
                                "AP3|11/20/2026|Appointment|Old meeting - "};
        const auto add = [](const char* name, const char* list, const char* view, const QStringList& rows) {
            QTest::newRow(name) << QString(list) << QString(view) << rows;
        };
        add("projects", "lvRelPrj", "", {"ID11|Beta|* ", "ID10|Alpha|* Open"});
        add("notes, calls", "lvHist", "", {"ID2|12/01|Rang back", "ID1|11/01|Firstline"});
        add("to-dos", "lvToDo", "", {"ID2|File taxes|1/15/2027", "ID1|Call bank|12/20/2026", "ID4|No date|"});
        add("appointments", "lvAppts", "", {"ID2|Wed 02/03|Review", "ID1|Tue 12/08|Lunch"});
        add("contacts", "lvRelCon", "", {"ID3|Adams, Eve|||", "ID2|Zeta, Carl|Brother|555-1234|c@z.org"});
        add("user fields", "lvUserDef", "", {"ID2|Birthday|", "ID1|Shoe size|42"});
        add("All Items", "lvHistPane", "All Items", notes + toDos + appts);
        add("Notes & Calls", "lvHistPane", "Notes & Calls", notes);
        add("To Do's", "lvHistPane", "To Do's", toDos);
        add("Appointments", "lvHistPane", "Appointments", appts);
        for (const char* empty : {"Documents", "E-mails", "Invoices", "Bills"})
            add(empty, "lvHistPane", empty, {});
    }
    void listsShowTheContactsRows() {
        QFETCH(QString, list);
        QFETCH(QString, view);
        QFETCH(QStringList, rows);
        g_blnAltColors = true;
        frmContEntry* e = open(1);
        auto* lv = e->findChild<ui::ListView*>(list);
        // Another view first, so that the one under test really refills the list.
        auto* filter = e->findChild<ui::ComboBox*>("cboHistFilter");
        for (const QString& v : {QString(view == "Bills" ? "All Items" : "Bills"), view}) {
            if (view.isEmpty()) break;
            filter->setCurrentIndex(filter->findText(v));
            Q_EMIT filter->activated(filter->currentIndex());
        }
        QCOMPARE(Rows(lv), rows);
        if (!rows.isEmpty()) QVERIFY(lv->hasStripe());
    }

    void addToHistory_data() {
        QTest::addColumn<bool>("call");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("stored");  // TextBody|NType, "" for no row
        QTest::newRow("note") << false << "Met at the fair" << false << "Met at the fair|N";
        QTest::newRow("call") << true << "Rang, no answer" << false << "Rang, no answer|C";
        QTest::newRow("blanks") << false << "   " << false << "   |N";
        QTest::newRow("two lines") << false << "one\ntwo" << false << "one\r\ntwo|N";
        QTest::newRow("empty") << true << "" << false << "";
        QTest::newRow("insert fails") << true << "Keep me" << true << "";
    }
    void addToHistory() {
        QFETCH(bool, call);
        QFETCH(QString, typed);
        QFETCH(bool, fails);
        QFETCH(QString, stored);
        frmContEntry* e = open(3);
        auto* box = e->findChild<QPlainTextEdit*>("txtNewNote");
        auto* callOption = e->findChild<QRadioButton*>("optNType(1)");
        if (call) QTest::mouseClick(callOption, Qt::LeftButton);
        box->setPlainText(typed);
        if (fails) {
            core::InjectFault("frmContEntry.PostNewHistoryItem", 3022, "The insert was refused.");
            f->prompts().answer(ui::Answer::OK);
        }
        e->findChild<QPushButton*>("cmdHist")->click();
        const QString row = f->rowCount("Attach", "fkContID = 3") == 0
                                ? QString()
                                : f->scalar("SELECT TextBody FROM Attach WHERE fkContID = 3").toString() +
                                      '|' +
                                      f->scalar("SELECT NType FROM Attach WHERE fkContID = 3").toString();
        QCOMPARE(row, stored);
        QCOMPARE(Rows(e->findChild<ui::ListView*>("lvHist")).size(), stored.isEmpty() ? 0 : 1);
        // A failed post keeps the text and its kind; otherwise the box empties and "Note" comes back.
        QCOMPARE(box->toPlainText(), fails ? typed : QString());
        QCOMPARE(callOption->isChecked(), fails);
        if (fails) {
            QCOMPARE(f->prompts().lastText(), QString("An un-known error occurred while posting the History "
                                                      "item!\nSorry for the inconvenience"));
            QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmContEntry.PostNewHistoryItem'"), 1);
            exec("DELETE * FROM ErrLog");
        }

        // Text left in the box is posted as the editor closes, with the kind shown.
        box->setPlainText("Left over");
        modGeneral::CloseAllChildForms();
        QCOMPARE(f->scalar("SELECT NType FROM Attach WHERE TextBody = 'Left over'").toString(),
                 QString(fails ? "C" : "N"));
    }

    // Rows and buttons: the record number handed over in the edit mode, to the right dialog.
    void clickOpens_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("member");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("mode");
        const auto add = [](const char* name, const char* control, int row, const char* dialog,
                            const char* member, int number, int mode) {
            QTest::newRow(name) << QString(control) << row << QString(dialog) << QString(member) << number
                                << mode;
        };
        add("history", "lvHist", 1, "frmNotes", "m_lngNoteID", 1, 2);
        add("to-do", "lvToDo", 0, "frmToDo", "m_lngToDoID", 2, 2);
        add("appointment", "lvAppts", 1, "frmAppt", "m_lngApptID", 1, 2);
        add("History tab, call", "lvHistPane", 0, "frmNotes", "m_lngNoteID", 2, 2);
        add("History tab, to-do", "lvHistPane", 3, "frmToDo", "m_lngToDoID", 1, 2);
        add("History tab, appointment", "lvHistPane", 8, "frmAppt", "m_lngApptID", 3, 2);
        add("project", "lvRelPrj", 1, "frmProjEntry", "", 10, 1);
        add("new appointment", "cmdAppts", 0, "frmAppt", "", 0, 0);
        add("related project", "cmdRelProj", 0, "frmSetRelProject", "", 0, 1);
        add("related contact", "cmdRelCon", 0, "frmNewLinkCont", "", 0, 1);
        add("user field", "cmdUserFld", 0, "frmUserFields", "", 0, 1);
        add("add a file", "cmdAddFile", 0, "", "", 0, 1);
    }
    void clickOpens() {
        QFETCH(QString, control);
        QFETCH(int, row);
        QFETCH(QString, dialog);
        QFETCH(QString, member);
        QFETCH(int, number);
        QFETCH(int, mode);
        frmContEntry* e = open(1);
        e->findChild<QTabBar*>("tbsMain")->setCurrentIndex(control == "lvHistPane" ? 2 : 0);
        g_lngEntryMode = 1;
        if (dialog.isEmpty()) f->prompts().answer(ui::Answer::OK);
        if (control.startsWith("cmd")) {
            e->findChild<QPushButton*>(control)->click();
        } else {
            click(e->findChild<ui::ListView*>(control), row);
        }
        QCOMPARE(opened.size(), dialog.isEmpty() ? 0 : 1);
        if (dialog.isEmpty()) {
            QCOMPARE(f->prompts().lastText(), QString("Sorry, this feature is not available yet."));
            return;
        }
        QCOMPARE(opened[0].name, dialog);
        // Item dialogs are handed their mode; the program-wide one is left alone.
        if (dialog.startsWith("frmNotes") || dialog.startsWith("frmToDo") || dialog.startsWith("frmAppt")) {
            QCOMPARE(opened[0].form->property(modGeneral::kEntryModeValue).toInt(), mode);
            QCOMPARE(opened[0].entryMode, 1);
        } else {
            QCOMPARE(opened[0].entryMode, mode);
        }
        if (!member.isEmpty()) QCOMPARE(opened[0].form->property(member.toLatin1()).toInt(), number);
        // The project editor replaces the contact editor; the dialogs open over it.
        if (dialog == "frmProjEntry") QCOMPARE(opened[0].projId, number);
        QCOMPARE(opened[0].editorOpen, dialog != "frmProjEntry");
        QCOMPARE(f->prompts().count(), 0);
    }

    // No row under the mouse: told so, nothing opened. A right-click on an empty related-contact or
    // user-field list is ignored, as is a left click on the user fields.
    void clickOnNoRow_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("contact");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("told");
        for (const char* name : {"lvHist", "lvToDo", "lvAppts", "lvHistPane", "lvRelPrj", "lvRelCon"}) {
            QTest::newRow(qPrintable(QString(name) + ", empty")) << name << 3 << false << true;
            if (QByteArray(name) != "lvToDo" && QByteArray(name) != "lvAppts")
                QTest::newRow(qPrintable(QString(name) + ", below the rows")) << name << 1 << false << true;
        }
        QTest::newRow("lvRelCon right, empty") << "lvRelCon" << 3 << true << false;
        QTest::newRow("lvUserDef right, empty") << "lvUserDef" << 3 << true << false;
        QTest::newRow("lvRelCon right, below the rows") << "lvRelCon" << 1 << true << true;
        QTest::newRow("lvUserDef right, below the rows") << "lvUserDef" << 1 << true << true;
        QTest::newRow("lvUserDef left") << "lvUserDef" << 1 << false << false;
    }
    void clickOnNoRow() {
        QFETCH(QString, list);
        QFETCH(int, contact);
        QFETCH(bool, right);
        QFETCH(bool, told);
        frmContEntry* e = open(contact);
        e->findChild<QTabBar*>("tbsMain")->setCurrentIndex(list == "lvHistPane" ? 2 : 0);
        auto* lv = e->findChild<ui::ListView*>(list);
        // A row selected before does not count.
        if (lv->rowCount() > 0) lv->setSelectedRow(0);
        if (told) f->prompts().answer(ui::Answer::OK);
        click(lv, -1, right ? Qt::RightButton : Qt::LeftButton);
        QCOMPARE(f->prompts().count(), told ? 1 : 0);
        if (told) QCOMPARE(f->prompts().lastText(), QString("There is nothing from the list to select"));
        QVERIFY(opened.isEmpty() && host->popups.isEmpty());
    }

    // Right-clicks act on the row under the mouse, whichever row was selected before.
    void relatedContactAndUserFieldClicks() {
        frmContEntry* e = open(1);
        auto* relCon = e->findChild<ui::ListView*>("lvRelCon");
        click(relCon, 1);
        auto* ask = ui::ScreenRegistry::instance().find<frmSwtContact>();
        QVERIFY(ask);
        QCOMPARE(ask->m_lngContactID, 2);
        QCOMPARE(ask->findChild<QLabel*>("Label1")->text(),
                 QString("Would you like to load this contact information?"));
        ask->reject();

        relCon->setSelectedRow(0);
        click(relCon, 1, Qt::RightButton);
        QCOMPARE(host->m_lngRelContID, 2);
        QCOMPARE(host->m_strOldRCMemo, QString("Brother"));
        QCOMPARE(relCon->selectedRow(), 1);
        auto* userDef = e->findChild<ui::ListView*>("lvUserDef");
        userDef->setSelectedRow(0);
        click(userDef, 1, Qt::RightButton);
        QCOMPARE(host->m_lngContUserFld.toInt(), 1);
        QCOMPARE(host->m_strContUserFld.toString(), QString("Shoe size"));
        QCOMPARE(userDef->selectedRow(), 1);
        QCOMPARE(host->popups, QStringList({"mnuRCMemoPop", "mnuDelContFld"}));
    }
};

POMARET_TEST(ContactListsTest)
#include "tst_ContEntryLists.moc"
