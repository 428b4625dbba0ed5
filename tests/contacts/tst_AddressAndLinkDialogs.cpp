// The address details and linked-contact dialogs, opened from a real contact editor.
#include <SQLiteCpp/Database.h>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <memory>

#include "contacts/ContactScreens.h"
#include "contacts/dialogs/frmAddrDetail.h"
#include "contacts/dialogs/frmNewLinkCont.h"
#include "contacts/frmContEntry.h"
#include "core/MainWindowLink.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");
const QString kPosting = QStringLiteral(
    "An un-known error occurred while Posting the information!\n"
    "Sorry for the inconvenience");

// The main window as the editor and its dialogs need it: an MDI area for screens, the dialogs' owner.
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
    void SetStatusText(const QString&) override {}
    QString StatusText() const override { return {}; }
    void SetContextCommandsEnabled(bool) override {}
    int WindowStateCode() const override { return 0; }
    QRectF OuterFrameTwips() const override { return {}; }
    bool PositionKnown() const override { return true; }

    QMainWindow window;
    QMdiArea* area = new QMdiArea(&window);
};

QString Cell(const QVariant& v) {
    return v.isNull() ? QStringLiteral("-") : v.toString();
}

// How a dialog is closed without its main button.
enum class Close { CancelButton, Escape, CloseBox };

void CloseDialog(QDialog* dialog, Close how, const char* cancelButton) {
    switch (how) {
        case Close::CancelButton:
            QTest::mouseClick(dialog->findChild<QAbstractButton*>(cancelButton), Qt::LeftButton);
            break;
        case Close::Escape:
            QTest::keyClick(dialog, Qt::Key_Escape);
            break;
        case Close::CloseBox:
            dialog->close();
            break;
    }
}

void AddCloseRows() {
    QTest::addColumn<int>("how");
    QTest::addColumn<bool>("reloads");
    QTest::newRow("Cancel") << int(Close::CancelButton) << false;
    QTest::newRow("Esc") << int(Close::Escape) << false;
    QTest::newRow("close box") << int(Close::CloseBox) << true;
}

}  // namespace

// Shared by both dialogs' tests: a database, the editor on contact 1 and what it shows.
class DialogTestBase : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<Fixture> f;
    std::unique_ptr<Host> host;

    void start() {
        contacts::RegisterScreens();
        f = std::make_unique<Fixture>();
        host = std::make_unique<Host>();
        QVERIFY(QTest::qWaitForWindowActive(&host->window));
    }
    void stop() {
        host.reset();
        f.reset();
    }
    void exec(const QString& sql, const QVariantList& params = {}) { f->db().Execute(sql, params); }
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    frmContEntry* openEditor(int id) {
        g_lngCurContID = id;
        modGeneral::CloseAllChildForms();
        settle();
        return qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
    }
    void clickIcon(frmContEntry* e, int icon) {
        QTest::mouseClick(e->findChild<QLabel*>(QString("picPop(%1)").arg(icon)), Qt::LeftButton);
    }
    // A query's rows, columns joined by "|", Null as "-".
    QStringList rows(const QString& sql) {
        QStringList out;
        for (db::Recordset rs = f->db().OpenRecordset(sql); !rs.Eof(); rs.MoveNext()) {
            QStringList cells;
            for (int i = 0; i < rs.FieldCount(); ++i) cells << Cell(rs.Value(i));
            out << cells.join(u'|');
        }
        return out;
    }
};

class AddressDialogTest : public DialogTestBase {
    Q_OBJECT

    QString address(const QString& kind) {
        return rows(
                   "SELECT Street, City, State, Zip, Country FROM CAddress WHERE fkContID = 1 AND fkLookup = "
                   "'" +
                   kind + "'")
            .join(u'/');
    }
    // Opens the dialog as the editor does, from the icon beside the address box of the kind.
    frmAddrDetail* openFrom(frmContEntry* e, int icon) {
        clickIcon(e, icon);
        auto* dialog = ui::ScreenRegistry::instance().find<frmAddrDetail>();
        if (!dialog) return nullptr;
        // The offscreen platform may hand activation back to the main window afterwards.
        settle();
        QApplication::setActiveWindow(dialog);
        return QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }
    static QString boxText(frmAddrDetail* d, int i) {
        QWidget* box = d->findChild<QWidget*>(QString("Text1(%1)").arg(i));
        if (auto* line = qobject_cast<QLineEdit*>(box)) return line->text();
        return ui::PlainText(qobject_cast<QPlainTextEdit*>(box));
    }
    static QStringList boxes(frmAddrDetail* d) {
        QStringList out;
        for (int i = 0; i < 5; ++i) out << boxText(d, i);
        return out;
    }
    static void retype(frmAddrDetail* d, int i, const QString& text) {
        QWidget* box = d->findChild<QWidget*>(QString("Text1(%1)").arg(i));
        box->setFocus();
        QMetaObject::invokeMethod(box, "selectAll");
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    static void press(frmAddrDetail* d, int button) {
        QTest::mouseClick(d->findChild<QAbstractButton*>(QString("cmdOpts(%1)").arg(button)), Qt::LeftButton);
    }

private Q_SLOTS:
    void init() {
        start();
        exec(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName) "
            "VALUES (1, 'I', 'Default', 'Bo Ek', 'Ek, Bo')");
        exec(
            "INSERT INTO CAddress (fkContID, fkLookup, Street, City, State, Zip, Country) "
            "VALUES (1, 'Home', '1 Main St', 'Lund', NULL, '22100', 'Sweden')");
        exec(
            "INSERT INTO CAddress (fkContID, fkLookup, Street, City, State, Zip, Country) "
            "VALUES (1, 'Work', '9 Dock Rd', 'Malmo', 'Skane', '21100', 'Sweden')");
    }
    void cleanup() { stop(); }

    // Opened on the kind handed over, brought forward unchanged by the next icon; OK writes that row
    // only, a Null part as an empty text, and the editor shows the new address.
    void editsTheRowOfItsKind() {
        frmContEntry* e = openEditor(1);
        frmAddrDetail* d = openFrom(e, 3);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QString("Verify Address Details"));
        QCOMPARE(d->m_strAddrType, QString("Home"));
        QCOMPARE(boxes(d), (QStringList{"1 Main St", "Lund", "", "22100", "Sweden"}));
        QCOMPARE(openFrom(e, 4), d);
        QCOMPARE(d->m_strAddrType, QString("Home"));
        QCOMPARE(boxText(d, 0), QString("1 Main St"));
        const QString work = address("Work");

        // The street is the one part required.
        retype(d, 0, "");
        f->prompts().answer(ui::Answer::OK);
        QTest::keyClick(d->findChild<QWidget*>("Text1(1)"), Qt::Key_Return);
        QCOMPARE(f->prompts().lastText(), QString("You Must Enter A Street Address"));
        QCOMPARE(f->prompts().lastTitle(), QString("Validate : Street Address"));
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Information);
        QVERIFY(d->findChild<QWidget*>("Text1(0)")->hasFocus());
        QCOMPARE(address("Home"), QString("1 Main St|Lund|-|22100|Sweden"));

        retype(d, 0, "2 Hill Rd");
        retype(d, 1, "");
        press(d, 0);
        settle();
        QVERIFY(!ui::ScreenRegistry::instance().find<frmAddrDetail>());
        QCOMPARE(address("Home"), QString("2 Hill Rd|||22100|Sweden"));
        QCOMPARE(address("Work"), work);
        QCOMPARE(e->Text1Text(5), QString("2 Hill Rd\n,  22100\nSweden"));
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // Stored parts longer than a box takes are shown whole and written back as they were; typing
    // is still limited.
    void longStoredPartsStayWhole() {
        const QStringList parts{QString(120, u's'), QString(60, u'c'), QString(40, u't'), QString(15, u'9'),
                                QString(80, u'n')};
        exec(
            "UPDATE CAddress SET Street = ?, City = ?, State = ?, Zip = ?, Country = ? WHERE fkLookup = "
            "'Work'",
            {parts[0], parts[1], parts[2], parts[3], parts[4]});
        frmAddrDetail* d = openFrom(openEditor(1), 4);
        QVERIFY(d);
        QCOMPARE(boxes(d), parts);
        press(d, 0);
        QCOMPARE(address("Work"), parts.join(u'|'));

        d = openFrom(openEditor(1), 3);
        retype(d, 3, QString(30, u'7'));
        QCOMPARE(boxText(d, 3), QString(10, u'7'));
    }

    // The street holds one line: a pasted line break is a blank, Enter saves.
    void streetIsOneLine() {
        frmAddrDetail* d = openFrom(openEditor(1), 3);
        QVERIFY(d);
        auto* street = d->findChild<QPlainTextEdit*>("Text1(0)");
        street->setFocus();
        street->selectAll();
        QGuiApplication::clipboard()->setText("4 Elm St\r\nSuite 2\nBack");
        QTest::keySequence(street, QKeySequence::Paste);
        QCOMPARE(ui::PlainText(street), QString("4 Elm St Suite 2 Back"));
        QTest::keyClick(street, Qt::Key_Return);
        settle();
        QVERIFY(!ui::ScreenRegistry::instance().find<frmAddrDetail>());
        QCOMPARE(address("Home"), QString("4 Elm St Suite 2 Back|Lund||22100|Sweden"));
    }

    // A row deleted elsewhere: OK says so, writes nothing (no new row either) and stays open.
    void rowGoneMeanwhile() {
        frmAddrDetail* d = openFrom(openEditor(1), 3);
        QVERIFY(d);
        exec("DELETE * FROM CAddress WHERE fkLookup = 'Home'");
        retype(d, 1, "Ystad");
        f->prompts().answer(ui::Answer::OK);
        press(d, 0);
        QCOMPARE(
            f->prompts().lastText(),
            QString("An un-known error occurred while Posting this entry!\nSorry for the inconvenience"));
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(f->rowCount("CAddress", "fkLookup = 'Home'"), 0);
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmAddrDetail.PostEntry'"), 1);
        QVERIFY(d->isVisible());
    }

    // Delete asks; No leaves everything, Yes takes every row of the kind and frees the editor's box.
    void deleteAsksFirst() {
        exec("INSERT INTO CAddress (fkContID, fkLookup, Street) VALUES (1, 'Home', '3 Old Rd')");
        frmContEntry* e = openEditor(1);
        QVERIFY(e->Text1(5)->property("readOnly").toBool());
        frmAddrDetail* d = openFrom(e, 3);
        QVERIFY(d);
        f->prompts().answer(ui::Answer::No);
        press(d, 2);
        QCOMPARE(
            f->prompts().lastText(),
            QString("Are you sure you want to DELETE this \n[ Home ] address listing for this contact?"));
        QCOMPARE(f->prompts().lastTitle(), QString("Warning : Delete Contact Address"));
        QCOMPARE(f->prompts().lastStyle(), ui::YesNo | ui::Question);
        QCOMPARE(f->rowCount("CAddress"), 3);
        QVERIFY(d->isVisible());

        f->prompts().answer(ui::Answer::Yes);
        press(d, 2);
        settle();
        QVERIFY(!ui::ScreenRegistry::instance().find<frmAddrDetail>());
        QCOMPARE(f->rowCount("CAddress", "fkLookup = 'Home'"), 0);
        QCOMPARE(f->rowCount("CAddress", "fkLookup = 'Work'"), 1);
        QCOMPARE(e->Text1Text(5), QString());
        QVERIFY(!e->Text1(5)->property("readOnly").toBool());
    }

    // Closed without OK: nothing written, the editor not refreshed.
    void closeWritesNothing_data() { AddCloseRows(); }
    void closeWritesNothing() {
        QFETCH(int, how);
        frmContEntry* e = openEditor(1);
        const QString shown = e->Text1Text(5);
        frmAddrDetail* d = openFrom(e, 3);
        QVERIFY(d);
        retype(d, 0, "7 New St");
        exec("UPDATE CAddress SET Country = 'Norway' WHERE fkLookup = 'Home'");
        CloseDialog(d, static_cast<Close>(how), "cmdOpts(1)");
        settle();
        QVERIFY(!ui::ScreenRegistry::instance().find<frmAddrDetail>());
        QCOMPARE(address("Home"), QString("1 Main St|Lund|-|22100|Norway"));
        QCOMPARE(e->Text1Text(5), shown);
    }
};

class LinkedContactDialogTest : public DialogTestBase {
    Q_OBJECT

    QPointer<frmNewLinkCont> d;

    void open(frmContEntry* e) {
        QTest::mouseClick(e->findChild<QAbstractButton*>("cmdRelCon"), Qt::LeftButton);
        d = ui::ScreenRegistry::instance().find<frmNewLinkCont>();
        QVERIFY(d);
        // The offscreen platform may hand activation back to the main window afterwards.
        settle();
        QApplication::setActiveWindow(d);
        QVERIFY(QTest::qWaitForWindowActive(d));
    }
    void enter(const QString& name, const QString& memo, bool company) {
        QTest::mouseClick(d->findChild<QAbstractButton*>(company ? "optType(1)" : "optType(0)"),
                          Qt::LeftButton);
        for (const auto& [box, text] : {std::pair{"txtName", name}, std::pair{"txtMemo", memo}}) {
            auto* line = d->findChild<QLineEdit*>(box);
            line->clear();
            QTest::keyClicks(line, text);
        }
    }
    void next() { QTest::mouseClick(d->findChild<QAbstractButton*>("cmdOpt(0)"), Qt::LeftButton); }
    QStringList contact(int id) {
        return rows(
            QString("SELECT CTYPE, Setting, FullName, ShownName, Prefix, FName, Middle, LName, Suffix, "
                    "CompName FROM Contacts WHERE ContID = %1")
                .arg(id));
    }
    QStringList links() {
        return rows(
            "SELECT MasterContID, SubContID, LinkMemo, SubContShowName FROM RelateCont ORDER BY rowid");
    }
    static QStringList relatedShown(frmContEntry* e) {
        auto* list = e->findChild<ui::ListView*>("lvRelCon");
        QStringList out;
        for (int r = 0; r < list->rowCount(); ++r) out << list->text(r);
        return out;
    }

private Q_SLOTS:
    void init() {
        start();
        exec(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName) "
            "VALUES (1, 'I', 'Default', 'Bo Ek', 'Ek, Bo')");
    }
    void cleanup() {
        delete d.data();
        stop();
    }

    // What each entry writes: the new contact, then the link to it and the link back.
    void entries_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<bool>("company");
        QTest::addColumn<QStringList>("contact");
        QTest::addColumn<QStringList>("links");
        QTest::newRow("person with every part and a memo")
            << "Dr. Anna Maria Berg Jr."
            << "Sister" << false
            << QStringList{"I|Hidden|Dr. Anna Maria Berg Jr.|Berg, Anna Maria|Dr.|Anna|Maria|Berg|Jr.|-"}
            << QStringList{"1|8|Sister|Dr. Anna Maria Berg Jr.", "8|1|Master Contact Entry|Ek, Bo"};
        QTest::newRow("person, no memo")
            << "Carl Dahl"
            << "" << false << QStringList{"I|Hidden|Carl Dahl|Dahl, Carl|-|Carl|-|Dahl|-|-"}
            << QStringList{"1|8|-|Carl Dahl", "8|1|Master Contact Entry|Ek, Bo"};
        QTest::newRow("company, unparsed")
            << "Berg & Sons, Ltd"
            << "Supplier" << true << QStringList{"C|Hidden|-|Berg & Sons, Ltd|-|-|-|-|-|Berg & Sons, Ltd"}
            << QStringList{"1|8|Supplier|Berg & Sons, Ltd", "8|1|Master Contact Entry|Ek, Bo"};
    }
    void entries() {
        QFETCH(QString, name);
        QFETCH(QString, memo);
        QFETCH(bool, company);
        QFETCH(QStringList, contact);
        QFETCH(QStringList, links);
        frmContEntry* e = openEditor(1);
        open(e);
        // Numbered as the row is written: a contact added meanwhile does not take the number.
        exec("INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (7, 'C', 'Default', 'Acme')");
        enter(name, memo, company);
        next();
        settle();
        QVERIFY(!d);
        QCOMPARE(this->contact(8), contact);
        QCOMPARE(this->links(), links);
        QCOMPARE(relatedShown(e), QStringList{links[0].section(u'|', 3)});
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // Refused entries write nothing and leave the dialog open with the focus where it was.
    void refused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("company");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        const QString empty = "You must enter an individual name or a company name.";
        QTest::newRow("empty person") << "" << false << empty << "Validate : Name Entry";
        QTest::newRow("empty company") << "" << true << empty << "Validate : Name Entry";
        QTest::newRow("one word") << "Anna" << false << "Make sure you have entered a valid name." << kTitle;
    }
    void refused() {
        QFETCH(QString, name);
        QFETCH(bool, company);
        QFETCH(QString, message);
        QFETCH(QString, title);
        open(openEditor(1));
        enter(name, "memo", company);
        f->prompts().answer(ui::Answer::OK);
        next();

        QCOMPARE(f->prompts().lastText(), message);
        QCOMPARE(f->prompts().lastTitle(), title);
        QVERIFY(d && d->isVisible());
        QCOMPARE(f->rowCount("Contacts"), 1);
        QCOMPARE(f->rowCount("RelateCont"), 0);
        if (name.isEmpty()) QVERIFY(d->findChild<QWidget*>("txtName")->hasFocus());
    }

    // A write refused at any of the three steps: logged under the step, said once, nothing kept; the
    // input stays and a retry takes a fresh number.
    void failedStepKeepsNothing_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("step");
        QTest::newRow("contact") << "Contacts"
                                 << "1"
                                 << "frmNewLinkCont.PostEntry";
        QTest::newRow("link") << "RelateCont"
                              << "NEW.MasterContID = 1"
                              << "frmNewLinkCont.UpdateMainContact";
        QTest::newRow("link back") << "RelateCont"
                                   << "NEW.SubContID = 1"
                                   << "frmNewLinkCont.UpdateSubContact";
    }
    void failedStepKeepsNothing() {
        QFETCH(QString, table);
        QFETCH(QString, when);
        QFETCH(QString, step);
        f->db().Connection().exec(QString("CREATE TRIGGER refuse BEFORE INSERT ON %1 WHEN %2 "
                                          "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                                      .arg(table, when)
                                      .toStdString());
        open(openEditor(1));
        enter("Anna Berg", "Cousin", false);
        f->prompts().answer(ui::Answer::OK);
        next();
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), kPosting);
        QCOMPARE(f->rowCount("ErrLog"), 1);
        QCOMPARE(f->rowCount("ErrLog", "ModName = ?", {step}), 1);
        QCOMPARE(f->rowCount("Contacts"), 1);
        QCOMPARE(f->rowCount("RelateCont"), 0);
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->findChild<QLineEdit*>("txtName")->text(), QString("Anna Berg"));

        f->db().Connection().exec("DROP TRIGGER refuse");
        exec("INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (2, 'C', 'Default', 'Acme')");
        next();
        settle();
        QVERIFY(!d);
        QCOMPARE(contact(3), QStringList{"I|Hidden|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|-"});
        QCOMPARE(links(), (QStringList{"1|3|Cousin|Anna Berg", "3|1|Master Contact Entry|Ek, Bo"}));
    }

    // Cancel and Esc reload nothing; the close box reloads the editor's related contacts.
    void closing_data() { AddCloseRows(); }
    void closing() {
        QFETCH(int, how);
        QFETCH(bool, reloads);
        frmContEntry* e = openEditor(1);
        open(e);
        exec("INSERT INTO RelateCont (MasterContID, SubContID, SubContShowName) VALUES (1, 5, 'Elsewhere')");
        CloseDialog(d, static_cast<Close>(how), "cmdOpt(1)");
        settle();
        QVERIFY(!d);
        QCOMPARE(relatedShown(e), reloads ? QStringList{"Elsewhere"} : QStringList{});
        QCOMPARE(f->rowCount("Contacts"), 1);
    }

    // The editor closed while the dialog stays: the link back still names the contact it was opened
    // on, as the database holds it, and nothing fails.
    void editorClosedMeanwhile() {
        open(openEditor(1));
        exec("UPDATE Contacts SET ShownName = 'Ek, Bo Erik' WHERE ContID = 1");
        host->area->subWindowList().first()->close();
        settle();
        QVERIFY(!ui::ScreenRegistry::instance().find<frmContEntry>());
        g_lngCurContID = 0;
        enter("Anna Berg", "", false);
        next();
        settle();
        QVERIFY(!d);
        QCOMPARE(links(), (QStringList{"1|2|-|Anna Berg", "2|1|Master Contact Entry|Ek, Bo Erik"}));
        QCOMPARE(f->rowCount("ErrLog"), 0);
        QCOMPARE(f->prompts().count(), 0);
    }
};

POMARET_TEST(AddressDialogTest)
POMARET_TEST(LinkedContactDialogTest)
#include "tst_AddressAndLinkDialogs.moc"
