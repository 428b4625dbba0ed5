#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <memory>

#include "contacts/ContactScreens.h"
#include "contacts/frmContEntry.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/ScreenRegistry.h"
#include "support/Fixture.h"
#include "support/FormDouble.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");
const char* const kItemDialogs[] = {"frmToDo", "frmAppt", "frmNotes"};

// The main window as the editor needs it: an MDI area for screens and a status line.
class Host : public core::MainWindowLink {
public:
    Host() {
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
    ~Host() override {
        modGeneral::CloseAllChildForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui::ScreenRegistry::instance().setScreenHost({});
        core::SetMainWindow(nullptr);
    }
    QWidget* Widget() override { return &window; }
    void SetStatusText(const QString& text) override { status = text; }
    QString StatusText() const override { return status; }
    void SetContextCommandsEnabled(bool) override {}
    int WindowStateCode() const override { return 0; }
    QRectF OuterFrameTwips() const override { return {}; }
    bool PositionKnown() const override { return true; }

    QMainWindow window;
    QMdiArea* area = new QMdiArea(&window);
    QString status = QStringLiteral("Ready ...");
};

}  // namespace

class ContEntryAddressesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<Host> host;
    QStringList opened;   // item dialogs asked for
    int modeAtOpen = -1;  // the mode the last one opened was handed

    void addContact(int id) {
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName) "
            "VALUES (?, 'I', 'Default', 'Bo Ek', 'Ek, Bo')",
            {id});
    }
    frmContEntry* open(int id) {
        g_lngCurContID = id;
        modGeneral::CloseAllChildForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
    }
    // Focus in, replace the text line by line, focus elsewhere.
    static void retype(frmContEntry* e, int index, const QStringList& lines) {
        QWidget* box = e->Text1(index);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0) QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, lines[i]);
        }
        e->Text1(1)->setFocus();
    }
    static bool readOnly(frmContEntry* e, int index) {
        return e->Text1(index)->property("readOnly").toBool();
    }
    static void clickTab(frmContEntry* e, int index) {
        auto* tabs = e->findChild<QTabBar*>("tbsMain");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
    static QPlainTextEdit* comments(frmContEntry* e) { return e->findChild<QPlainTextEdit*>("txtComments"); }
    // Street|City|State|Zip|Country of an address row, Null as "-".
    QString addressRow(const QString& kind) {
        db::Recordset rs = f->db().OpenRecordset(
            "SELECT Street, City, State, Zip, Country FROM CAddress WHERE fkContID = 1 AND fkLookup = ?",
            {kind});
        QStringList cells;
        for (int i = 0; !rs.Eof() && i < rs.FieldCount(); ++i)
            cells << (rs.Value(i).isNull() ? "-" : rs.Value(i).toString());
        return cells.join(u'|');
    }
    QString storedComment() { return f->scalar("SELECT Comments FROM CComments").toString(); }

private Q_SLOTS:
    void initTestCase() { contacts::RegisterScreens(); }
    void init() {
        f = std::make_unique<Fixture>();
        host = std::make_unique<Host>();
        QVERIFY(QTest::qWaitForWindowActive(&host->window));
        opened.clear();
        for (const char* name : kItemDialogs) {
            ui::ScreenRegistry::instance().registerScreen(name, [this, name](const ui::OpenValues& values) {
                opened << name;
                modeAtOpen = values.value(modGeneral::kEntryModeValue, -1).toInt();
                auto* stand = new QWidget;
                stand->setAttribute(Qt::WA_DeleteOnClose);
                return testsupport::TakeValues(stand, values);
            });
        }
        addContact(1);
    }
    void cleanup() {
        host.reset();
        for (const char* name : kItemDialogs) ui::ScreenRegistry::instance().registerScreen(name, {});
        f.reset();
    }

    // Parts: street, city, state, zip, country.
    void parseStrAddr_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("parts");
        const QStringList springfield{"1 Main St", "Springfield", "IL", "62701", "USA"};
        QTest::newRow("three lines") << "1 Main St\nSpringfield, IL 62701\nUSA" << springfield;
        QTest::newRow("CR LF") << "1 Main St\r\nSpringfield, IL 62701\r\nUSA" << springfield;
        QTest::newRow("two-word city")
            << "x\nNew York, NY 10001" << QStringList{"x", "New York", "NY", "10001", ""};
        QTest::newRow("three-word city")
            << "x\nSalt Lake City, UT 84101" << QStringList{"x", "Salt Lake City", "UT", "84101", ""};
        QTest::newRow("second comma")
            << "x\nSpringfield, IL, 62704" << QStringList{"x", "Springfield", "IL", "62704", ""};
        QTest::newRow("commas after the city only")
            << "x\nSpringfield, IL,  62704, " << QStringList{"x", "Springfield", "IL", "62704", ""};
        // Without a comma no word is both city and state or code.
        QTest::newRow("no comma") << "x\nSpringfield IL 62701"
                                  << QStringList{"x", "Springfield", "IL", "62701", ""};
        QTest::newRow("no comma, two-word city")
            << "x\nNew York  NY 10001 " << QStringList{"x", "New York", "NY", "10001", ""};
        QTest::newRow("no comma, code and city")
            << "x\n10115 Berlin\nGermany" << QStringList{"x", "10115", "Berlin", "", "Germany"};
        QTest::newRow("blanks, one at the end")
            << "x\nSpringfield,  IL   62701 " << QStringList{"x", "Springfield", "IL", "62701", ""};
        QTest::newRow("underscores") << "1_Main\nSpring_field, IL_X 62701"
                                     << QStringList{"1_Main", "Spring_field", "IL_X", "62701", ""};
        QTest::newRow("state, no code")
            << "x\nSpringfield, IL" << QStringList{"x", "Springfield", "IL", "", ""};
        // What the editor shows for a row without a city, or without a state, saves back unchanged.
        QTest::newRow("shown without a city") << "x\n, IL 62701" << QStringList{"x", "", "IL", "62701", ""};
        QTest::newRow("shown without state and code")
            << "x\nNew York,  " << QStringList{"x", "New York", "", "", ""};
        QTest::newRow("city only") << "x\nSpringfield" << QStringList{"x", "Springfield", "", "", ""};
        QTest::newRow("one line") << "1 Main St" << QStringList{"1 Main St", "", "", "", ""};
        QTest::newRow("empty") << "" << QStringList{"", "", "", "", ""};
        QTest::newRow("empty row in the box format") << "\r\n,  \r\n" << QStringList{"", "", "", "", ""};
        QTest::newRow("no line 2, fourth line") << "a\n\nUSA\nmore" << QStringList{"a", "", "", "", "USA"};
    }
    void parseStrAddr() {
        QFETCH(QString, text);
        const frmContEntry::AddressParts got = frmContEntry::ParseStrAddr(text);
        QTEST(QStringList({got.Street, got.City, got.State, got.Zip, got.Country}), "parts");
    }

    void phoneAndEmailRows_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("nullStored");  // a row of the kind without a value
        QTest::newRow("home phone") << 9 << "CPhone"
                                    << "PhoneNum"
                                    << "Home" << false;
        QTest::newRow("fax, stored without a number") << 13 << "CPhone"
                                                      << "PhoneNum"
                                                      << "Fax" << true;
        QTest::newRow("work e-mail") << 15 << "CEMail"
                                     << "Email"
                                     << "Work" << false;
    }
    void phoneAndEmailRows() {
        QFETCH(int, box);
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, kind);
        QFETCH(bool, nullStored);
        const QString insert =
            "INSERT INTO " + table + " (fkContID, fkLookup, " + column + ") VALUES (?, ?, ?)";
        f->db().Execute(insert, {2, kind, "another contact's"});
        if (nullStored) f->db().Execute(insert, {1, kind, QVariant()});
        frmContEntry* e = open(1);
        QCOMPARE(e->Text1Text(box), QString());
        const QString mine = "fkContID = 1 AND fkLookup = ?";
        const auto stored = [&] {
            return f->scalar("SELECT " + column + " FROM " + table + " WHERE " + mine, {kind});
        };

        retype(e, box, {"555-0100"});
        QCOMPARE(stored().toString(), QString("555-0100"));
        retype(e, box, {"555-0199"});
        QCOMPARE(stored().toString(), QString("555-0199"));
        // Emptied: nothing written; typed again: the stored row is edited, never a second one.
        retype(e, box, {});
        QCOMPARE(stored().toString(), QString("555-0199"));
        retype(e, box, {"555-0123"});
        QCOMPARE(stored().toString(), QString("555-0123"));
        QCOMPARE(f->rowCount(table, mine, {kind}), 1);

        auto* icon = e->findChild<QLabel*>(QString("picPop(%1)").arg(box - 1));
        f->prompts().answer(ui::Answer::No);
        QTest::mouseClick(icon, Qt::LeftButton);
        QCOMPARE(f->prompts().lastText(), QString("Are you sure?"));
        QCOMPARE(f->rowCount(table, mine, {kind}), 1);
        // Every row of the kind goes, and only the contact's own.
        f->db().Execute(insert, {1, kind, "twice"});
        f->prompts().answer(ui::Answer::Yes);
        QTest::mouseClick(icon, Qt::LeftButton);
        QCOMPARE(f->rowCount(table), 1);
        QCOMPARE(e->Text1Text(box), QString());
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // An editor open on a contact number without a Contacts row (deleted under it, or never there)
    // writes nothing for it: each writer refuses with its own message.
    void writersRefuseAContactThatIsGone_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("message");
        const QString sorry = "\nSorry for the inconvenience";
        QTest::newRow("phone") << "CPhone"
                               << "An un-known error occurred while editing the Work Phone!" + sorry;
        QTest::newRow("e-mail") << "CEMail"
                                << "An un-known error occurred while editing the Personal E-Mail!" + sorry;
        QTest::newRow("address") << "CAddress"
                                 << "An un-known error occurred while editing the Home address!" + sorry;
        QTest::newRow("comment") << "CComments"
                                 << "An un-known error occurred while Posting Contact Comments!" + sorry;
        QTest::newRow("note") << "Attach"
                              << "An un-known error occurred while posting the History item!" + sorry;
    }
    void writersRefuseAContactThatIsGone() {
        QFETCH(QString, table);
        QFETCH(QString, message);
        frmContEntry* e = open(7);
        f->prompts().answer(ui::Answer::OK);
        if (table == "CPhone") {
            retype(e, 10, {"555-0100"});
        } else if (table == "CEMail") {
            retype(e, 14, {"bo@example.org"});
        } else if (table == "CAddress") {
            retype(e, 5, {"1 Main St", "Springfield, IL 62701"});
        } else if (table == "CComments") {
            clickTab(e, 1);
            QTest::keyClicks(comments(e), "Call back");
            clickTab(e, 0);
        } else {
            QTest::keyClicks(e->findChild<QPlainTextEdit*>("txtNewNote"), "Met at the fair");
            e->findChild<QPushButton*>("cmdHist")->click();
        }
        QCoreApplication::sendPostedEvents();  // a writer's box waits for the focus move
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), message);
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(f->rowCount(table), 0);
    }

    void addressIsStoredInPartsAndShownBack_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("kind");
        QTest::newRow("home") << 5 << "Home";
        QTest::newRow("work") << 6 << "Work";
        QTest::newRow("bill to") << 7 << "Bill To";
        QTest::newRow("ship to") << 8 << "Ship To";
    }
    void addressIsStoredInPartsAndShownBack() {
        QFETCH(int, box);
        QFETCH(QString, kind);
        frmContEntry* e = open(1);
        retype(e, box, {"9 Oak Ave", "Salt Lake City, UT 84101", "USA"});
        QCOMPARE(addressRow(kind), QString("9 Oak Ave|Salt Lake City|UT|84101|USA"));
        QCOMPARE(e->Text1Text(box), QString("9 Oak Ave\nSalt Lake City, UT 84101\nUSA"));
        QVERIFY(readOnly(e, box));

        // The next address gets only its own parts.
        const int other = box == 5 ? 6 : 5;
        retype(e, other, {"PO Box 5"});
        QCOMPARE(addressRow(other == 5 ? "Home" : "Work"), QString("PO Box 5|-|-|-|-"));

        // After the address dialog deletes it, the box is empty and takes a new address.
        f->db().Execute("DELETE * FROM CAddress WHERE fkLookup = ?", {kind});
        e->LoadAddressInfo();
        QCOMPARE(e->Text1Text(box), QString());
        QVERIFY(!readOnly(e, box));
        QVERIFY(readOnly(e, other));
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    void addressBoxLimitsTypingNotTheStoredText() {
        const QString street(160, u'S');
        f->db().Execute(
            "INSERT INTO CAddress (fkContID, fkLookup, Street, City) VALUES (1, 'Home', ?, 'Springfield')",
            {street});
        frmContEntry* e = open(1);
        QCOMPARE(e->Text1Text(5), street + "\nSpringfield,  \n");
        e->Text1(6)->setFocus();
        QTest::keyClicks(e->Text1(6), QString(175, u'x'));
        QCOMPARE(e->Text1Text(6).size(), 170);
    }

    void commentIsPostedOnTabClicks() {
        frmContEntry* e = open(1);
        clickTab(e, 1);
        QVERIFY(comments(e)->hasFocus());
        QTest::keyClicks(comments(e), "Call back");
        QTest::keyClick(comments(e), Qt::Key_Return);
        QTest::keyClicks(comments(e), "on Monday");
        QCOMPARE(f->rowCount("CComments"), 0);
        clickTab(e, 2);
        QCOMPARE(f->rowCount("CComments", "fkContID = 1"), 1);
        QCOMPARE(storedComment(), QString("Call back\r\non Monday"));
        QCOMPARE(host->status, QString("Ready ..."));

        // Tab clicks without a change write nothing.
        f->db().Execute("UPDATE CComments SET Comments = 'changed elsewhere'");
        clickTab(e, 0);
        clickTab(e, 1);
        QCOMPARE(storedComment(), QString("changed elsewhere"));
        QTest::keyClicks(comments(e), ", 9 am");
        clickTab(e, 0);
        QCOMPARE(storedComment(), QString("Call back\r\non Monday, 9 am"));
        // Emptied: the row stays, its text goes.
        clickTab(e, 1);
        QTest::keyClick(comments(e), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(comments(e), Qt::Key_Delete);
        clickTab(e, 2);
        QCOMPARE(f->rowCount("CComments"), 1);
        QVERIFY(f->scalar("SELECT Comments FROM CComments").isNull());
    }

    // Openers such as the name search set the next contact before they close the editor.
    void commentIsKeptWhenTheEditorCloses_data() {
        QTest::addColumn<bool>("anotherContactOpens");
        QTest::newRow("closed") << false;
        QTest::newRow("another contact opens") << true;
    }
    void commentIsKeptWhenTheEditorCloses() {
        QFETCH(bool, anotherContactOpens);
        addContact(2);
        f->db().Execute("INSERT INTO CComments (fkContID, Comments) VALUES (1, ?)", {"Met at fair\r\nCall"});
        frmContEntry* e = open(1);
        QCOMPARE(comments(e)->toPlainText(), QString("Met at fair\nCall"));
        clickTab(e, 1);
        QTest::keyClick(comments(e), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(comments(e), " Friday");
        if (anotherContactOpens) {
            QVERIFY(open(2));
        } else {
            modGeneral::CloseAllChildForms();
        }
        QCOMPARE(f->rowCount("CComments"), 1);
        QCOMPARE(f->scalar("SELECT Comments FROM CComments WHERE fkContID = 1").toString(),
                 QString("Met at fair\r\nCall Friday"));
    }

    void timeSaver_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("message");
        const QString none = "There is no selected text, from Contact Comments.";
        const QString later = "Sorry, this feature is not available yet.";
        QTest::newRow("to do") << 0 << true << "frmToDo"
                               << "";
        QTest::newRow("appointment") << 3 << true << "frmAppt"
                                     << "";
        QTest::newRow("note") << 4 << true << "frmNotes"
                              << "";
        QTest::newRow("e-mail") << 1 << true << "" << later;
        QTest::newRow("letter") << 2 << true << "" << later;
        QTest::newRow("to do, nothing selected") << 0 << false << "" << none;
        QTest::newRow("letter, nothing selected") << 2 << false << "" << none;
    }
    void timeSaver() {
        QFETCH(int, link);
        QFETCH(bool, selected);
        QFETCH(QString, form);
        QFETCH(QString, message);
        f->db().Execute("INSERT INTO CComments (fkContID, Comments) VALUES (1, ?)",
                        {"Ring Bo\r\nabout the offer"});
        frmContEntry* e = open(1);
        clickTab(e, 1);
        if (selected) {
            QTextCursor cursor = comments(e)->textCursor();
            cursor.setPosition(5);
            cursor.setPosition(13, QTextCursor::KeepAnchor);  // "Bo", the line break, "about"
            comments(e)->setTextCursor(cursor);
        }
        g_lngEntryMode = 2;
        if (!message.isEmpty()) f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(e->findChild<QLabel*>(QString("lblHyper(%1)").arg(link)), Qt::LeftButton);
        if (form.isEmpty()) {
            QVERIFY(opened.isEmpty());
            QCOMPARE(f->prompts().lastText(), message);
            QCOMPARE(f->prompts().lastTitle(), kTitle);
        } else {
            QCOMPARE(opened, QStringList{form});
            QCOMPARE(modeAtOpen, 0);
            QCOMPARE(g_lngEntryMode, 2);
            QWidget* dialog = ui::ScreenRegistry::instance().openForms().last();
            QCOMPARE(dialog->property("m_strTimeSaverText").toString(), QString("Bo\r\nabout"));
        }
        // The comment itself stays as it was.
        clickTab(e, 0);
        QCOMPARE(storedComment(), QString("Ring Bo\r\nabout the offer"));
    }
};

POMARET_TEST(ContEntryAddressesTest)
#include "tst_ContEntryAddresses.moc"
