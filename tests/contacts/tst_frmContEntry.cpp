#include <sqlite3.h>

#include <SQLiteCpp/Database.h>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>
#include <memory>

#include "contacts/ContactScreens.h"
#include "contacts/dialogs/frmSwtContact.h"
#include "contacts/frmContEntry.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/FormDouble.h"
#include "support/LayoutCheck.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");

// The main window as far as the editor needs it: an MDI area showing screens, the status line, its
// colour and the record-bound commands.
class EditorHost : public core::MainWindowLink {
public:
    EditorHost() {
        area = new QMdiArea(&window);
        window.setCentralWidget(area);
        window.resize(1000, 700);
        core::SetMainWindow(this);
        ui::ScreenRegistry::instance().setScreenHost([this](QWidget* screen) {
            QMdiSubWindow* frame = area->addSubWindow(screen);
            frame->setAttribute(Qt::WA_DeleteOnClose);
            frame->showMaximized();
        });
        window.show();
        window.activateWindow();
    }
    ~EditorHost() override {
        modGeneral::CloseAllChildForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui::ScreenRegistry::instance().setScreenHost({});
        core::SetMainWindow(nullptr);
    }

    QWidget* Widget() override { return &window; }
    void SetStatusText(const QString& text) override { status = text; }
    QString StatusText() const override { return status; }
    void SetStatusColor(const QColor& colour) override { statusColour = colour; }
    void SetContextCommandsEnabled(bool enabled) override { commandsEnabled = enabled; }
    int WindowStateCode() const override { return 0; }
    QRectF OuterFrameTwips() const override { return {}; }
    bool PositionKnown() const override { return true; }

    QMainWindow window;
    QMdiArea* area = nullptr;
    QString status = QStringLiteral("Ready ...");
    QColor statusColour;
    bool commandsEnabled = false;
};

const char* const kCaptions[frmContEntry::kBoxCount] = {
    "Name",           "Shown As",          "Groups",
    "Company",        "Job Title",         "Address : Home",
    "Address : Work", "Address : Bill To", "Address : Ship To",
    "Phone : Home",   "Phone : Work",      "Phone : Mobile",
    "Phone : Other",  "Phone : Fax",       "E-Mail : Personal",
    "E-Mail : Work",  "E-Mail : Other",    "Setting"};

// Text of a row's columns joined by "|", Null as "-".
QString RowText(Fixture& f, int id) {
    db::Recordset rs = f.db().OpenRecordset(
        "SELECT CTYPE, Setting, FullName, ShownName, CompName, [Group], JobTitle FROM Contacts WHERE ContID "
        "= ?",
        {id});
    if (rs.Eof()) return "no row";
    QStringList cells;
    for (int i = 0; i < rs.FieldCount(); ++i) cells << (rs.Value(i).isNull() ? "-" : rs.Value(i).toString());
    return cells.join(u'|');
}

}  // namespace

class ContactEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<EditorHost> host;
    QStringList opened;  // stand-in dialogs asked for, by name

    void addContact(int id, const QString& type, const QString& setting, const QString& fullName,
                    const QVariant& shownName, const QVariant& company = {}, const QVariant& jobTitle = {}) {
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName, CompName, JobTitle) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)",
            {id, type, setting, fullName, shownName, company, jobTitle});
    }
    // Rows written by anything since the connection opened.
    int changes() { return sqlite3_total_changes(f->db().Connection().getHandle()); }
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Opens the editor as every opener does: the current contact set, every screen closed.
    frmContEntry* open(int id) {
        g_lngCurContID = id;
        modGeneral::CloseAllChildForms();
        settle();
        return qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
    }
    static QLineEdit* box(frmContEntry* e, int index) { return qobject_cast<QLineEdit*>(e->Text1(index)); }
    // Types into a box as a user does: focus in (which selects all), type, focus elsewhere.
    static void retype(frmContEntry* e, int index, const QString& text, bool leave = true) {
        e->Text1(index)->setFocus();
        QTest::keyClick(e->Text1(index), Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty()) {
            QTest::keyClick(e->Text1(index), Qt::Key_Delete);
        } else {
            QTest::keyClicks(e->Text1(index), text);
        }
        if (leave) e->Text1(1)->setFocus();
    }

private Q_SLOTS:
    void initTestCase() { contacts::RegisterScreens(); }
    void init() {
        f = std::make_unique<Fixture>();
        host = std::make_unique<EditorHost>();
        QVERIFY(QTest::qWaitForWindowActive(&host->window));
        opened.clear();
        for (const char* name :
             {"frmNameDetail", "frmSelectGrp", "frmAddrDetail", "frmSetting", "frmSetJobTitle"}) {
            ui::ScreenRegistry::instance().registerScreen(name, [this, name](const ui::OpenValues& values) {
                opened << name;
                auto* stand = new QWidget;
                stand->setObjectName(name);
                stand->setAttribute(Qt::WA_DeleteOnClose);
                return testsupport::TakeValues(stand, values);
            });
        }
    }
    void cleanup() {
        host.reset();
        for (const char* name :
             {"frmNameDetail", "frmSelectGrp", "frmAddrDetail", "frmSetting", "frmSetJobTitle"})
            ui::ScreenRegistry::instance().registerScreen(name, {});
        f.reset();
    }

    void opensOnTheCurrentContact() {
        addContact(7, "I", "Default", "Anna Maria Berg", "Berg, Anna Maria", "Acme Ltd", "Engineer");
        frmContEntry* e = open(7);
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), QString("Contact Information"));
        QCOMPARE(host->area->subWindowList().size(), 1);
        QVERIFY(host->area->subWindowList().first()->isMaximized());
        QCOMPARE(e->findChild<QLabel*>("lblNameRecord")->text(), QString(" Name Record :"));
        auto* tabs = e->findChild<QTabBar*>("tbsMain");
        QCOMPARE(QStringList({tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)}),
                 QStringList({"Info", "Comments", "History"}));

        const bool locked[frmContEntry::kBoxCount] = {true,  true,  true,  false, false, false,
                                                      false, false, false, false, false, false,
                                                      false, false, false, false, false, true};
        const int maxLength[frmContEntry::kBoxCount] = {100, 100, 150, 100, 100, 170, 170, 170, 170,
                                                        25,  25,  25,  25,  25,  50,  50,  50,  50};
        for (int i = 0; i < frmContEntry::kBoxCount; ++i) {
            QCOMPARE(e->findChild<QLabel*>(QString("Label1(%1)").arg(i))->text(), QString(kCaptions[i]));
            if (auto* line = box(e, i)) {
                QCOMPARE(ui::LengthLimit(line), maxLength[i]);
                QCOMPARE(line->isReadOnly(), locked[i]);
            } else {
                auto* memo = qobject_cast<QPlainTextEdit*>(e->Text1(i));
                QVERIFY2(memo && i >= 5 && i <= 8, qPrintable(QString::number(i)));
                QVERIFY(!memo->isReadOnly());
            }
        }
        const QStringList shown{e->Text1Text(0), e->Text1Text(1), e->Text1Text(2),
                                e->Text1Text(3), e->Text1Text(4), e->Text1Text(17)};
        QCOMPARE(shown,
                 QStringList({"Anna Maria Berg", "Berg, Anna Maria", "", "Acme Ltd", "Engineer", "Default"}));
        QCOMPARE(e->cboContList->currentText(), QString("Berg, Anna Maria"));

        auto* filter = e->findChild<ui::ComboBox*>("cboHistFilter");
        QStringList views;
        for (int i = 0; i < filter->count(); ++i) views << filter->itemText(i);
        QCOMPARE(views, QStringList({"All Items", "Notes & Calls", "Documents", "To Do's", "E-mails",
                                     "Appointments", "Invoices", "Bills"}));
        QCOMPARE(filter->currentText(), QString("All Items"));
        for (const char* list :
             {"lvRelPrj", "lvHist", "lvToDo", "lvAppts", "lvRelCon", "lvUserDef", "lvHistPane"})
            QVERIFY2(e->findChild<ui::ListView*>(list), list);
        for (int i = 0; i < frmContEntry::kIconCount; ++i)
            QVERIFY(e->findChild<QLabel*>(QString("picPop(%1)").arg(i)));

        QCOMPARE(g_strCurScreen, QString("CEnt"));
        QCOMPARE(host->status, QString("Ready ..."));
        QCOMPARE(host->statusColour, QColor(51, 102, 102));
        QVERIFY(host->commandsEnabled);
        QCOMPARE(ui::ScreenRegistry::instance().find<frmContEntry>(), e);

        modGeneral::CloseAllChildForms();
        QVERIFY(!host->commandsEnabled);
        settle();
        QVERIFY(!ui::ScreenRegistry::instance().find<frmContEntry>());
    }

    void nameBoxIsWritableOnlyForACompany() {
        addContact(1, "C", "Default", "Acme", "Acme");
        frmContEntry* e = open(1);
        QVERIFY(!box(e, 0)->isReadOnly());
        const int before = changes();
        retype(e, 0, "Acme Holdings");
        QCOMPARE(changes(), before + 1);
        // FullName only: the company keeps its shown name in every list.
        QCOMPARE(RowText(*f, 1), QString("C|Default|Acme Holdings|Acme|-|-|-"));

        // Turned into a person by the name dialog: the box is locked again on the next load.
        f->db().Execute("UPDATE Contacts SET CTYPE = 'I' WHERE ContID = 1");
        e->LoadMainContactInfo();
        QVERIFY(box(e, 0)->isReadOnly());
        f->db().Execute("UPDATE Contacts SET CTYPE = ? WHERE ContID = 1", {QVariant()});
        e->LoadMainContactInfo();
        QVERIFY(box(e, 0)->isReadOnly());
    }

    // Columns: CTYPE|Setting|FullName|ShownName|CompName|Group|JobTitle.
    void leavingABoxWritesOnlyItsColumn_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("writes");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("shown");
        const QString stored = "I|Default|Anna Berg|Berg, Anna|Acme Ltd|-|Engineer";
        QTest::newRow("company") << 3 << "Zenith AG" << 1
                                 << "I|Default|Anna Berg|Berg, Anna|Zenith AG|-|Engineer"
                                 << "Zenith AG";
        QTest::newRow("company, letter case only")
            << 3 << "ACME Ltd" << 1 << "I|Default|Anna Berg|Berg, Anna|ACME Ltd|-|Engineer"
            << "ACME Ltd";
        QTest::newRow("job title") << 4 << "engineer" << 1
                                   << "I|Default|Anna Berg|Berg, Anna|Acme Ltd|-|engineer"
                                   << "engineer";
        QTest::newRow("company retyped the same") << 3 << "Acme Ltd" << 0 << stored << "Acme Ltd";
        QTest::newRow("company emptied") << 3 << "" << 0 << stored << "Acme Ltd";
        QTest::newRow("job title emptied") << 4 << "" << 0 << stored << "Engineer";
        // A phone box goes to its own writer: one CPhone row, nothing in Contacts.
        QTest::newRow("phone") << 9 << "555-0100" << 1 << stored << "555-0100";
    }
    void leavingABoxWritesOnlyItsColumn() {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(int, writes);
        addContact(3, "I", "Default", "Anna Berg", "Berg, Anna", "Acme Ltd", "Engineer");
        frmContEntry* e = open(3);
        g_lngEntryMode = 7;
        const int before = changes();
        retype(e, index, typed);
        QCOMPARE(changes() - before, writes);
        QTEST(RowText(*f, 3), "row");
        QTEST(e->Text1Text(index), "shown");
        // The writers are told add or edit; the program-wide mode is left alone.
        QCOMPARE(g_lngEntryMode, 7);
        // Leaving again without a change writes nothing more.
        e->Text1(index)->setFocus();
        e->Text1(1)->setFocus();
        QCOMPARE(changes() - before, writes);
    }

    // View > Home and the other screen switches close the editor without moving the focus.
    void anEditIsStoredWhenTheEditorClosesWithTheFocusInItsBox() {
        addContact(3, "I", "Default", "Anna Berg", "Berg, Anna", "Acme Ltd", "Engineer");
        frmContEntry* e = open(3);
        retype(e, 4, "Director", false);
        QVERIFY(e->Text1(4)->hasFocus());
        modGeneral::CloseAllChildForms();
        settle();
        QCOMPARE(RowText(*f, 3), QString("I|Default|Anna Berg|Berg, Anna|Acme Ltd|-|Director"));
        QCOMPARE(f->prompts().count(), 0);
    }

    void aWriteToAVanishedRowShowsTheWritersMessage_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("message");
        QTest::newRow("name") << "C" << 0 << "An un-known error occurred editing the Contact Name!";
        QTest::newRow("company") << "I" << 3 << "An un-known error occurred while editing the Company Name!";
        QTest::newRow("job title") << "I" << 4 << "An un-known error occurred while editing the Job Title!";
    }
    void aWriteToAVanishedRowShowsTheWritersMessage() {
        QFETCH(QString, type);
        QFETCH(int, index);
        QFETCH(QString, message);
        addContact(4, type, "Default", "Acme", "Acme", "Acme", "Owner");
        frmContEntry* e = open(4);
        f->db().Execute("DELETE * FROM Contacts WHERE ContID = 4");
        f->prompts().answer(ui::Answer::OK);
        retype(e, index, "Changed");
        // Shown once the focus has moved, not inside the move.
        QCOMPARE(f->prompts().count(), 0);
        settle();
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), message + "\nSorry for the inconvenience");
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        QCOMPARE(f->rowCount("Contacts"), 0);
        QCOMPARE(f->rowCount("ErrLog"), 1);
    }

    void jobTitleListWritesAPickAtOnce() {
        const QList<QPair<QString, QVariant>> lookups{{"TITLE", "Manager"},
                                                      {"TITLE", "Clerk"},
                                                      {"GRP", "Friends"},
                                                      {"TITLE", QVariant()},
                                                      {"TITLE", "director"}};
        for (const auto& [kind, description] : lookups)
            f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES (?, ?)", {kind, description});
        addContact(5, "I", "Default", "Anna Berg", "Berg, Anna", Null(), "Engineer");
        frmContEntry* e = open(5);
        ui::ListBox* list = e->lstJobTitle;
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
        QCOMPARE(items, QStringList({"<Add Field...>", " ", "Clerk", "director", "Manager"}));

        // The icon beside the box drops the list down under it, and up again.
        auto* icon = e->findChild<QLabel*>("picPop(2)");
        QVERIFY(list->isHidden());
        QTest::mouseClick(icon, Qt::LeftButton);
        QVERIFY(list->isVisible());
        QVERIFY(e->Text1(4)->hasFocus());
        QCOMPARE(list->mapTo(e, QPoint(0, 0)).x(), e->Text1(4)->mapTo(e, QPoint(0, 0)).x());

        const auto pick = [&](int row) {
            const QRect at = list->visualRect(list->model()->index(row, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.center());
        };
        pick(4);
        QVERIFY(list->isHidden());
        QCOMPARE(e->Text1Text(4), QString("Manager"));
        QCOMPARE(f->scalar("SELECT JobTitle FROM Contacts WHERE ContID = 5").toString(), QString("Manager"));

        QTest::mouseClick(icon, Qt::LeftButton);
        pick(1);
        QCOMPARE(f->scalar("SELECT JobTitle FROM Contacts WHERE ContID = 5").toString(), QString(" "));

        QTest::mouseClick(icon, Qt::LeftButton);
        pick(0);
        QVERIFY(list->isHidden());
        QCOMPARE(opened, QStringList{"frmSetJobTitle"});
        QCOMPARE(f->scalar("SELECT JobTitle FROM Contacts WHERE ContID = 5").toString(), QString(" "));
    }

    void iconButtons() {
        addContact(6, "I", "Default", "Anna Berg", "Berg, Anna");
        frmContEntry* e = open(6);
        auto icon = [&](int i) { return e->findChild<QLabel*>(QString("picPop(%1)").arg(i)); };

        // Pressed grey, released white.
        QTest::mousePress(icon(0), Qt::LeftButton);
        QCOMPARE(icon(0)->palette().color(QPalette::Window), QColor(128, 128, 128));
        QTest::mouseRelease(icon(0), Qt::LeftButton);
        QCOMPARE(icon(0)->palette().color(QPalette::Window), QColor(255, 255, 255));
        QCOMPARE(opened, QStringList{"frmNameDetail"});
        QVERIFY(e->Text1(0)->hasFocus());

        // An address icon opens its dialog only over a box that shows an address.
        QTest::mouseClick(icon(3), Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        qobject_cast<QPlainTextEdit*>(e->Text1(6))->setPlainText("1 Main St\nSpringfield, IL 62701\nUSA");
        QTest::mouseClick(icon(4), Qt::LeftButton);
        QCOMPARE(opened.last(), QString("frmAddrDetail"));
        QCOMPARE(ui::ScreenRegistry::instance().find("frmAddrDetail")->property("m_strAddrType").toString(),
                 QString("Work"));

        // Its tool tip reads on one line.
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, {}, {});
        QCoreApplication::sendEvent(qobject_cast<QPlainTextEdit*>(e->Text1(6))->viewport(), &move);
        QCOMPARE(e->Text1(6)->toolTip(), QString("1 Main St  Springfield, IL 62701  USA"));

        // A delete icon asks first.
        f->prompts().answer(ui::Answer::No);
        QTest::mouseClick(icon(9), Qt::LeftButton);
        QCOMPARE(f->prompts().lastText(), QString("Are you sure?"));
        QCOMPARE(f->prompts().lastTitle(), QString("Confirm Delete"));
        QCOMPARE(f->prompts().lastStyle(), ui::YesNo | ui::Question);

        // A dialog nobody registered opens nothing.
        ui::ScreenRegistry::instance().registerScreen("frmSetting", {});
        QTest::mouseClick(icon(7), Qt::LeftButton);
        QVERIFY(e->Text1(17)->hasFocus());
        QCOMPARE(f->prompts().count(), 1);
    }

    void switcherListsOnlyDefaultContacts() {
        addContact(1, "I", "Default", "Carl Dahl", "Dahl, Carl");
        addContact(2, "I", "Hidden", "Anna Berg", "Berg, Anna");
        addContact(3, "C", "Default", "Acme", "Acme");
        addContact(4, "I", "Private", "Bo Ek", "Ek, Bo");
        addContact(5, "I", "Default", "No Name", Null());
        frmContEntry* e = open(2);
        // The names are read when the user first goes to the list, here with Tab.
        QCOMPARE(e->cboContList->count(), 0);
        QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(e->cboContList, &tabIn);
        QStringList entries;
        for (int i = 0; i < e->cboContList->count(); ++i)
            entries << QString("%1=%2").arg(e->cboContList->itemText(i)).arg(e->cboContList->itemData(i));
        QCOMPARE(entries, QStringList({"Acme=3", "Dahl, Carl=1"}));
        // A hidden contact is not offered, not even while it is on screen.
        QCOMPARE(e->cboContList->currentText(), QString());
        QCOMPARE(e->Text1Text(1), QString("Berg, Anna"));
    }

    void switchingAsksFirst_data() {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void switchingAsksFirst() {
        QFETCH(bool, confirm);
        addContact(1, "I", "Default", "Carl Dahl", "Dahl, Carl", "Acme Ltd");
        addContact(3, "C", "Default", "Acme", "Acme");
        QPointer<frmContEntry> e = open(1);
        retype(e, 3, "Zenith AG", false);

        // The wheel over the switcher, which leaves the focus where it is: the names are read, then
        // the entry before "Dahl, Carl" is picked.
        const QPointF at(e->cboContList->rect().center());
        QWheelEvent wheel(at, e->cboContList->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(e->cboContList, &wheel);  // to "Acme"
        auto* ask = ui::ScreenRegistry::instance().find<frmSwtContact>();
        QVERIFY(ask);
        QCOMPARE(ask->windowTitle(), QString("Load New Contact"));
        QCOMPARE(ask->findChild<QLabel*>("Label1")->text(),
                 QString("Would you like to load this contact information?"));
        QCOMPARE(ask->m_lngContactID, 3);
        QTest::mouseClick(ask->findChild<QAbstractButton*>(confirm ? "cmdOpts(0)" : "cmdOpts(1)"),
                          Qt::LeftButton);
        settle();

        QVERIFY(!ui::ScreenRegistry::instance().find<frmSwtContact>());
        auto* now = ui::ScreenRegistry::instance().find<frmContEntry>();
        QVERIFY(now);
        QCOMPARE(g_lngCurContID, confirm ? 3 : 1);
        QCOMPARE(now->Text1Text(1), QString(confirm ? "Acme" : "Dahl, Carl"));
        QCOMPARE(e.isNull(), confirm);
        QCOMPARE(host->area->subWindowList().size(), 1);
        QVERIFY(host->commandsEnabled);
        // The old editor saved the box being edited before it went; after Cancel the edit is still
        // pending in its box and is saved when the user leaves it.
        if (!confirm) {
            host->window.activateWindow();  // the window manager's part
            QVERIFY(QTest::qWaitForWindowActive(&host->window));
            QCOMPARE(RowText(*f, 1), QString("I|Default|Carl Dahl|Dahl, Carl|Acme Ltd|-|-"));
            now->Text1(1)->setFocus();
        }
        QCOMPARE(RowText(*f, 1), QString("I|Default|Carl Dahl|Dahl, Carl|Zenith AG|-|-"));
    }

    // A dialog opened from a box saves what the user chose and calls the editor's loader by name, as
    // the name, address and visibility dialogs do; the box keeps the focus meanwhile. The box
    // shows the saved text whole, and leaving it afterwards writes nothing.
    void aDialogsSaveIsNotWrittenBackOnLeave_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("save");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("loader");
        QTest::addColumn<QString>("shown");
        const QString longName = QString("Acme Holdings ").repeated(10).trimmed();
        QTest::newRow("address, a state of two words")
            << "I" << 3 << 5 << "UPDATE CAddress SET State = ? WHERE fkContID = 8"
            << "New Mexico"
            << "LoadAddressInfo"
            << "1 Main St\nSanta Fe, New Mexico 87501\nUSA";
        QTest::newRow("a person's name")
            << "I" << 0 << 0 << "UPDATE Contacts SET FullName = ? WHERE ContID = 8"
            << "Anna Maria Berg"
            << "LoadMainContactInfo"
            << "Anna Maria Berg";
        QTest::newRow("a composed name longer than the box takes")
            << "C" << 0 << 0 << "UPDATE Contacts SET FullName = ? WHERE ContID = 8" << longName
            << "LoadMainContactInfo" << longName;
        QTest::newRow("setting") << "I" << 7 << 17 << "UPDATE Contacts SET Setting = ? WHERE ContID = 8"
                                 << "Hidden"
                                 << "LoadMainContactInfo"
                                 << "Hidden";
    }
    void aDialogsSaveIsNotWrittenBackOnLeave() {
        QFETCH(QString, type);
        QFETCH(int, icon);
        QFETCH(int, index);
        QFETCH(QString, save);
        QFETCH(QString, value);
        QFETCH(QString, loader);
        QFETCH(QString, shown);
        addContact(8, type, "Default", "Anna Berg", "Berg, Anna");
        f->db().Execute(
            "INSERT INTO CAddress (fkContID, fkLookup, Street, City, State, Zip, Country) "
            "VALUES (8, 'Home', '1 Main St', 'Santa Fe', 'NM', '87501', 'USA')");
        frmContEntry* e = open(8);
        QTest::mouseClick(e->findChild<QLabel*>(QString("picPop(%1)").arg(icon)), Qt::LeftButton);
        QVERIFY(e->Text1(index)->hasFocus());

        QDialog dialog(&host->window);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        f->db().Execute(save, {value});
        QVERIFY(QMetaObject::invokeMethod(e, loader.toLatin1().constData()));
        dialog.close();
        host->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&host->window));
        QVERIFY(e->Text1(index)->hasFocus());
        QCOMPARE(e->Text1Text(index), shown);

        const int before = changes();
        e->Text1(index == 1 ? 2 : 1)->setFocus();
        settle();
        QCOMPARE(changes(), before);
        QCOMPARE(e->Text1Text(index), shown);
        QCOMPARE(f->prompts().count(), 0);
    }

    // Keys typed on the History tab never reach the profile box hidden under it.
    void theHistoryTabTakesTheFocus() {
        addContact(3, "I", "Default", "Anna Berg", "Berg, Anna", "Acme");
        frmContEntry* e = open(3);
        const auto company = [&] {
            return f->scalar("SELECT CompName FROM Contacts WHERE ContID = 3").toString();
        };
        auto* tabs = e->findChild<QTabBar*>("tbsMain");
        retype(e, 3, "Acme Ltd", false);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        // Leaving the box for the tab saves it, as leaving it for any other control does.
        QCOMPARE(company(), QString("Acme Ltd"));
        QCOMPARE(QApplication::focusWidget(), e->findChild<QWidget*>("lvHistPane"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        settle();
        QCOMPARE(e->Text1Text(3), QString("Acme Ltd"));
        QCOMPARE(company(), QString("Acme Ltd"));
    }

    void theSwitcherAsksOneQuestionAtATime_data() {
        QTest::addColumn<bool>("wheel");
        QTest::newRow("wheel") << true;
        QTest::newRow("arrow keys") << false;
    }
    void theSwitcherAsksOneQuestionAtATime() {
        QFETCH(bool, wheel);
        addContact(1, "I", "Default", "Carl Dahl", "Dahl, Carl");
        addContact(2, "I", "Default", "Anna Berg", "Berg, Anna");
        addContact(3, "C", "Default", "Acme", "Acme");
        addContact(4, "I", "Default", "Bo Ek", "Ek, Bo");
        frmContEntry* e = open(4);
        const auto step = [&](bool up) {
            if (wheel) {
                const QPointF at(e->cboContList->rect().center());
                QWheelEvent notch(at, e->cboContList->mapToGlobal(at), QPoint(), QPoint(0, up ? 120 : -120),
                                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(e->cboContList, &notch);
            } else {
                QTest::keyClick(e->cboContList, up ? Qt::Key_Up : Qt::Key_Down);
            }
        };
        const auto questions = [] {
            QList<frmSwtContact*> shown;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* ask = qobject_cast<frmSwtContact*>(w); ask && ask->isVisible()) shown << ask;
            }
            return shown;
        };
        // From "Ek, Bo" up to "Dahl, Carl": the first step asks, and the switcher stays on the contact
        // asked about while the question is open.
        for (int i = 0; i < 3; ++i) step(true);
        QCOMPARE(questions().size(), 1);
        QCOMPARE(questions().first()->m_lngContactID, 1);
        QCOMPARE(e->cboContList->currentText(), QString("Dahl, Carl"));

        // Answered, the next step asks again.
        QTest::mouseClick(questions().first()->findChild<QAbstractButton*>("cmdOpts(1)"), Qt::LeftButton);
        settle();
        QVERIFY(questions().isEmpty());
        step(false);
        QCOMPARE(questions().size(), 1);
        QCOMPARE(questions().first()->m_lngContactID, 4);
    }

    // A style that activates an item on a single click, as some desktops' do.
    void theJobTitleListActsOncePerPick_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("<Add Field...>") << 0;
        QTest::newRow("a title") << 2;
    }
    void theJobTitleListActsOncePerPick() {
        QFETCH(int, row);
        class SingleClickActivates : public QProxyStyle {
        public:
            int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* data) const override {
                if (hint == SH_ItemView_ActivateItemOnSingleClick) return 1;
                return QProxyStyle::styleHint(hint, option, widget, data);
            }
        } style;
        f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('TITLE', 'Manager')");
        addContact(5, "I", "Default", "Anna Berg", "Berg, Anna", Null(), "Engineer");
        frmContEntry* e = open(5);
        ui::ListBox* list = e->lstJobTitle;
        list->setStyle(&style);
        const auto restore = qScopeGuard([list] { list->setStyle(nullptr); });

        QTest::mouseClick(e->findChild<QLabel*>("picPop(2)"), Qt::LeftButton);
        const int before = changes();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
        settle();
        QVERIFY(list->isHidden());
        if (row == 0) {
            QCOMPARE(opened, QStringList{"frmSetJobTitle"});
        } else {
            QCOMPARE(changes() - before, 1);
            QCOMPARE(f->scalar("SELECT JobTitle FROM Contacts WHERE ContID = 5").toString(),
                     QString("Manager"));
        }
    }

    // No-break spaces and line separators are stored as they were typed, pasted or stored before.
    void plainTextBoxesKeepEveryCharacter() {
        const QString odd = QStringLiteral("Call\u00A0back\u2028soon");
        addContact(3, "I", "Default", "Anna Berg", "Berg, Anna");
        f->db().Execute("INSERT INTO CComments (fkContID, Comments) VALUES (3, ?)",
                        {odd + "\r\nMet at fair"});
        frmContEntry* e = open(3);
        const auto paste = [](QWidget* box, const QString& text) {
            box->setFocus();
            QGuiApplication::clipboard()->setText(text);
            QTest::keySequence(box, QKeySequence(QKeySequence::Paste));
        };

        // The stored comment, one character added at its end.
        auto* tabs = e->findChild<QTabBar*>("tbsMain");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        auto* comments = e->findChild<QPlainTextEdit*>("txtComments");
        QTest::keyClick(comments, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(comments, Qt::Key_Exclam);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QCOMPARE(f->scalar("SELECT Comments FROM CComments WHERE fkContID = 3").toString(),
                 odd + "\r\nMet at fair!");

        paste(e->Text1(5), odd + "\nSpringfield, IL 62701\nUSA");
        e->Text1(1)->setFocus();
        QCOMPARE(f->scalar("SELECT Street FROM CAddress WHERE fkContID = 3").toString(), odd);

        paste(e->findChild<QPlainTextEdit*>("txtNewNote"), odd);
        e->findChild<QPushButton*>("cmdHist")->click();
        QCOMPARE(f->scalar("SELECT TextBody FROM Attach WHERE fkContID = 3").toString(), odd);
    }

    // The editor fills the main window's document area; at the smallest window and maximised, no
    // two controls that can be seen cover each other, on any tab.
    void layoutHasNoOverlaps_data() {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("12000 x 9000 twips") << false;
        QTest::newRow("maximised") << true;
    }
    void layoutHasNoOverlaps() {
        QFETCH(bool, maximised);
        host.reset();
        frmMain w;
        core::SetMainWindow(&w);
        ui::ScreenRegistry::instance().setScreenHost([&w](QWidget* screen) { w.ShowScreen(screen); });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        testsupport::SizeMainWindow(w, maximised);
        addContact(1, "I", "Default", "Anna Berg", "Berg, Anna");
        frmContEntry* e = open(1);
        settle();
        QVERIFY(e->width() > ui::twips::ToPixelsX(11000));

        auto* tabs = e->findChild<QTabBar*>("tbsMain");
        QWidget* comments = e->findChild<QWidget*>("picPane2");
        QWidget* history = e->findChild<QWidget*>("picPane3");
        QStringList overlaps = testsupport::Overlaps(e, {comments, history});
        tabs->setCurrentIndex(1);
        overlaps << testsupport::Overlaps(comments);
        tabs->setCurrentIndex(2);
        overlaps << testsupport::Overlaps(history);
        QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps.join("; ")));
        // The tab strip keeps to the banner's right edge.
        QCOMPARE(tabs->geometry().right(), e->findChild<QWidget*>("picBanner")->width() - 1);

        modGeneral::CloseAllChildForms();
        settle();
        ui::ScreenRegistry::instance().setScreenHost({});
    }

    // A window manager may size the window while it is still minimised: the restore lays the editor
    // out anew. A one-line box shows the beginning of a stored text longer than itself, and so does
    // the switcher, before and after its list is read.
    void restoredWindowIsLaidOutAgain() {
        host.reset();
        frmMain w;
        ui::ScreenRegistry::instance().setScreenHost([&w](QWidget* screen) { w.ShowScreen(screen); });
        w.show();
        const QString shown = "Berg-" + QString(90, u'z') + ", Anna";
        addContact(1, "I", "Default", "Anna Berg", shown, QString(90, u'y'));
        frmContEntry* e = open(1);
        QCOMPARE(box(e, 3)->cursorPosition(), 0);
        QLineEdit* switcher = e->findChild<QComboBox*>("cboContList")->lineEdit();
        QVERIFY(switcher->fontMetrics().horizontalAdvance(shown) > switcher->width());
        QCOMPARE(switcher->cursorPosition(), 0);
        switcher->setFocus(Qt::TabFocusReason);  // reads the list
        QCOMPARE(switcher->cursorPosition(), 0);
        w.menuBar()->setFixedHeight(w.menuBar()->height());  // not moved by the editor's window buttons
        w.showMinimized();
        w.resize(w.size() + QSize(200, 150));
        w.overrideWindowState(Qt::WindowNoState);  // as the window manager restores it, size kept
        QCOMPARE(e->findChild<QWidget*>("picBanner")->width(), e->width());
        modGeneral::CloseAllChildForms();
        ui::ScreenRegistry::instance().setScreenHost({});
    }

private:
    static QVariant Null() { return {}; }
};

POMARET_TEST(ContactEditorTest)
#include "tst_frmContEntry.moc"
