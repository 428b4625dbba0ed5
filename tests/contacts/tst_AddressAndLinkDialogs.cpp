// The address details and linked-contact dialogs, opened from the contact editor in the main window.
#include <SQLiteCpp/Database.h>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <memory>

#include "contacts/dialogs/frmAddrDetail.h"
#include "contacts/dialogs/frmNewLinkCont.h"
#include "contacts/frmContEntry.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "shell/frmMain.h"
#include "support/CaptionCheck.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

// Both dialogs' tests: the main window, contact 1 "Ek, Bo" in the editor, and the dialog opened there.
class DialogTestBase : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;
    frmContEntry* e = nullptr;

    void start() {
        f = std::make_unique<Fixture>();
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName) "
            "VALUES (1, 'I', 'Default', 'Bo Ek', 'Ek, Bo')");
    }
    void openEditor() {
        w = std::make_unique<frmMain>();
        QVERIFY(w->MDIForm_Load() == frmMain::LoadResult::Running);
        g_lngCurContID = 1;
        modGeneral::CloseAllChildForms();
        e = qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
        QVERIFY(e);
    }
    void stop() {
        modGeneral::CloseAllChildForms();
        settle();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The dialog of that class the click opened, made the active window (the offscreen platform may
    // hand activation back to the main window once the click is done).
    template <class Dialog>
    Dialog* opened() {
        auto* dialog = ui::ScreenRegistry::instance().find<Dialog>();
        if (!dialog) return nullptr;
        settle();
        QApplication::setActiveWindow(dialog);
        return QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }
    // A query's rows, columns joined by "|", Null as "-".
    QStringList rows(const QString& sql) {
        QStringList out;
        for (db::Recordset rs = f->db().OpenRecordset(sql); !rs.Eof(); rs.MoveNext()) {
            QStringList cells;
            for (int i = 0; i < rs.FieldCount(); ++i)
                cells << (rs.Value(i).isNull() ? "-" : rs.Value(i).toString());
            out << cells.join(u'|');
        }
        return out;
    }
};

class AddressDialogTest : public DialogTestBase {
    Q_OBJECT

    QString address(const QString& kind) {
        return rows("SELECT Street, City, State, Zip, Country FROM CAddress WHERE fkLookup = '" + kind + "'")
            .join(u'/');
    }
    // The dialog as the icon beside the editor's address box of the kind opens it.
    frmAddrDetail* openFrom(int icon) {
        QTest::mouseClick(e->findChild<QLabel*>(QString("picPop(%1)").arg(icon)), Qt::LeftButton);
        return opened<frmAddrDetail>();
    }
    static QWidget* box(frmAddrDetail* d, int i) {
        return d->findChild<QWidget*>(QString("Text1(%1)").arg(i));
    }
    static QStringList boxes(frmAddrDetail* d) {
        QStringList out;
        out << ui::PlainText(qobject_cast<QPlainTextEdit*>(box(d, 0)));
        for (int i = 1; i < 5; ++i) out << qobject_cast<QLineEdit*>(box(d, i))->text();
        return out;
    }
    static void retype(frmAddrDetail* d, int i, const QString& text) {
        box(d, i)->setFocus();
        QMetaObject::invokeMethod(box(d, i), "selectAll");
        QTest::keyClick(box(d, i), Qt::Key_Delete);
        QTest::keyClicks(box(d, i), text);
    }
    static void press(frmAddrDetail* d, int button) {
        QTest::mouseClick(d->findChild<QAbstractButton*>(QString("cmdOpts(%1)").arg(button)), Qt::LeftButton);
    }

private Q_SLOTS:
    void init() {
        start();
        f->db().Execute(
            "INSERT INTO CAddress (fkContID, fkLookup, Street, City, State, Zip, Country) "
            "VALUES (1, 'Home', '1 Main St', ?, NULL, '22100', 'Sweden')",
            {QString(60, u'c')});
        f->db().Execute(
            "INSERT INTO CAddress (fkContID, fkLookup, Street, City, State, Zip, Country) "
            "VALUES (1, 'Work', '9 Dock Rd', 'Malmo', 'Skane', '21100', 'Sweden')");
        openEditor();
    }
    void cleanup() { stop(); }

    // Cancel writes and refreshes nothing. Opened on the kind handed over and brought forward unchanged
    // by another icon; a stored part longer than its box is shown whole and kept; the street is one
    // line (a pasted line break is a blank, Enter is OK); OK writes that row only, a Null part as
    // empty, and the editor shows it.
    void editsTheRowOfItsKind() {
        const QString work = e->Text1Text(6);
        frmAddrDetail* d = openFrom(4);
        QVERIFY(d);
        retype(d, 0, "7 New St");
        f->db().Execute("UPDATE CAddress SET Country = 'Norway' WHERE fkLookup = 'Work'");
        press(d, 1);
        settle();
        QCOMPARE(address("Work"), QString("9 Dock Rd|Malmo|Skane|21100|Norway"));
        QCOMPARE(e->Text1Text(6), work);

        d = openFrom(3);
        QVERIFY(d);
        QCOMPARE(testsupport::CutCaptions(d), QStringList{});
        QCOMPARE(boxes(d), (QStringList{"1 Main St", QString(60, u'c'), "", "22100", "Sweden"}));
        QCOMPARE(openFrom(4), d);
        QCOMPARE(d->m_strAddrType, QString("Home"));

        retype(d, 0, "");
        f->prompts().answer(ui::Answer::OK);
        QTest::keyClick(box(d, 3), Qt::Key_Return);
        QCOMPARE(f->prompts().lastText(), QString("You Must Enter A Street Address"));
        QCOMPARE(f->prompts().lastTitle(), QString("Validate : Street Address"));
        QVERIFY(box(d, 0)->hasFocus());
        QCOMPARE(f->rowCount("CAddress", "Street = '1 Main St'"), 1);

        QGuiApplication::clipboard()->setText("4 Elm St\r\nRear\nBack");
        QTest::keySequence(box(d, 0), QKeySequence::Paste);
        QTest::keyClick(box(d, 0), Qt::Key_Return);
        settle();
        QVERIFY(!ui::ScreenRegistry::instance().find<frmAddrDetail>());
        QCOMPARE(address("Home"), "4 Elm St Rear Back|" + QString(60, u'c') + "||22100|Sweden");
        QCOMPARE(address("Work"), QString("9 Dock Rd|Malmo|Skane|21100|Norway"));
        QCOMPARE(e->Text1Text(5), "4 Elm St Rear Back\n" + QString(60, u'c') + ",  22100\nSweden");
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // A row deleted elsewhere: OK says so and writes nothing, not even a new row.
    void rowGoneMeanwhile() {
        frmAddrDetail* d = openFrom(3);
        QVERIFY(d);
        f->db().Execute("DELETE * FROM CAddress WHERE fkLookup = 'Home'");
        f->prompts().answer(ui::Answer::OK);
        press(d, 0);
        QCOMPARE(
            f->prompts().lastText(),
            QString("An un-known error occurred while Posting this entry!\nSorry for the inconvenience"));
        QCOMPARE(f->rowCount("CAddress"), 1);
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmAddrDetail.PostEntry'"), 1);
        QVERIFY(d->isVisible());
    }

    // No keeps everything; Yes takes every row of the kind and frees the editor's box.
    void deleteAsksFirst() {
        f->db().Execute("INSERT INTO CAddress (fkContID, fkLookup, Street) VALUES (1, 'Home', '3 Old Rd')");
        frmAddrDetail* d = openFrom(3);
        QVERIFY(d);
        f->prompts().answer(ui::Answer::No).answer(ui::Answer::Yes);
        press(d, 2);
        QCOMPARE(
            f->prompts().lastText(),
            QString("Are you sure you want to DELETE this \n[ Home ] address listing for this contact?"));
        QCOMPARE(f->prompts().lastTitle(), QString("Warning : Delete Contact Address"));
        QCOMPARE(f->rowCount("CAddress"), 3);
        press(d, 2);
        settle();
        QVERIFY(!ui::ScreenRegistry::instance().find<frmAddrDetail>());
        QCOMPARE(rows("SELECT fkLookup FROM CAddress"), QStringList{"Work"});
        QCOMPARE(e->Text1Text(5), QString());
        QVERIFY(!e->Text1(5)->property("readOnly").toBool());
    }
};

class LinkedContactDialogTest : public DialogTestBase {
    Q_OBJECT

    QPointer<frmNewLinkCont> d;

    void open() {
        QTest::mouseClick(e->findChild<QAbstractButton*>("cmdRelCon"), Qt::LeftButton);
        d = opened<frmNewLinkCont>();
        QVERIFY(d);
    }
    void next(const QString& name, const QString& memo = {}, bool company = false) {
        QTest::mouseClick(d->findChild<QAbstractButton*>(QString("optType(%1)").arg(int(company))),
                          Qt::LeftButton);
        for (const auto& [box, text] : {std::pair{"txtName", name}, std::pair{"txtMemo", memo}}) {
            d->findChild<QLineEdit*>(box)->clear();
            QTest::keyClicks(d->findChild<QLineEdit*>(box), text);
        }
        QTest::mouseClick(d->findChild<QAbstractButton*>("cmdOpt(0)"), Qt::LeftButton);
        settle();
    }
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
    QStringList related() {
        auto* list = e->findChild<ui::ListView*>("lvRelCon");
        QStringList out;
        for (int r = 0; r < list->rowCount(); ++r) out << list->text(r);
        return out;
    }

private Q_SLOTS:
    void init() {
        start();
        openEditor();
    }
    void cleanup() { stop(); }

    // What an entry writes, or its refusal, which writes nothing and leaves the dialog open. A contact
    // added elsewhere while the dialog is open does not take the new number.
    void entries_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<bool>("company");
        QTest::addColumn<QString>("message");  // with its title after "|"
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QString>("link");
        QTest::newRow("person")
            << "Dr. Anna Maria Berg Jr."
            << "Sister" << false << ""
            << "I|Hidden|Dr. Anna Maria Berg Jr.|Berg, Anna Maria|Dr.|Anna|Maria|Berg|Jr.|-"
            << "1|8|Sister|Dr. Anna Maria Berg Jr.";
        QTest::newRow("company, no memo") << "Berg & Sons, Ltd"
                                          << "" << true << ""
                                          << "C|Hidden|-|Berg & Sons, Ltd|-|-|-|-|-|Berg & Sons, Ltd"
                                          << "1|8|-|Berg & Sons, Ltd";
        QTest::newRow("empty") << ""
                               << "memo" << true
                               << "You must enter an individual name or a company name.|Validate : Name Entry"
                               << ""
                               << "";
        QTest::newRow("one word") << "Anna"
                                  << "memo" << false
                                  << "Make sure you have entered a valid name.|Pomaret - Contact Manager"
                                  << ""
                                  << "";
    }
    void entries() {
        QFETCH(QString, name);
        QFETCH(QString, memo);
        QFETCH(bool, company);
        QFETCH(QString, message);
        QFETCH(QString, contact);
        QFETCH(QString, link);
        open();
        QCOMPARE(testsupport::CutCaptions(d), QStringList{});
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (7, 'C', 'Default', 'Acme')");
        if (!message.isEmpty()) f->prompts().answer(ui::Answer::OK);
        next(name, memo, company);
        if (!message.isEmpty()) {
            QCOMPARE(f->prompts().lastText() + "|" + f->prompts().lastTitle(), message);
            QVERIFY(d && d->isVisible());
            QCOMPARE(f->rowCount("Contacts") + f->rowCount("RelateCont"), 2);
            return;
        }
        QVERIFY(!d);
        QCOMPARE(this->contact(8), QStringList{contact});
        QCOMPARE(links(), (QStringList{link, "8|1|Master Contact Entry|Ek, Bo"}));
        QCOMPARE(related(), QStringList{link.section(u'|', 3)});
        QCOMPARE(f->prompts().count(), 0);
    }

    // A step refused while the contact and its links are written (the number, the contact, either
    // link): logged under the step, said once, nothing kept; the input stays and a retry takes a fresh
    // number.
    void failedStepKeepsNothing_data() {
        QTest::addColumn<QString>("refuse");
        QTest::addColumn<QString>("allow");
        QTest::addColumn<QString>("step");
        const QString trigger =
            "CREATE TRIGGER refuse BEFORE INSERT ON %1 WHEN %2 BEGIN SELECT RAISE(ABORT, 'refused'); END";
        const QString drop = "DROP TRIGGER refuse";
        QTest::newRow("number") << "INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) "
                                   "VALUES (2147483647, 'C', 'Hidden', 'Last')"
                                << "DELETE FROM Contacts WHERE ContID = 2147483647"
                                << "frmNewLinkCont.GetNewContID";
        QTest::newRow("contact") << trigger.arg("Contacts", "1") << drop << "frmNewLinkCont.PostEntry";
        QTest::newRow("link") << trigger.arg("RelateCont", "NEW.MasterContID = 1") << drop
                              << "frmNewLinkCont.UpdateMainContact";
        QTest::newRow("link back") << trigger.arg("RelateCont", "NEW.SubContID = 1") << drop
                                   << "frmNewLinkCont.UpdateSubContact";
    }
    void failedStepKeepsNothing() {
        QFETCH(QString, refuse);
        QFETCH(QString, allow);
        QFETCH(QString, step);
        f->db().Connection().exec(refuse.toStdString());
        const int before = f->rowCount("Contacts") + f->rowCount("RelateCont");
        open();
        f->prompts().answer(ui::Answer::OK);
        next("Anna Berg", "Cousin");
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(),
                 QString("An un-known error occurred while Posting the information!\n"
                         "Sorry for the inconvenience"));
        QCOMPARE(rows("SELECT ModName FROM ErrLog"), QStringList{step});
        QCOMPARE(f->rowCount("Contacts") + f->rowCount("RelateCont"), before);
        QVERIFY(d && d->isVisible());

        f->db().Connection().exec(allow.toStdString());
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (2, 'C', 'Default', 'Acme')");
        QTest::mouseClick(d->findChild<QAbstractButton*>("cmdOpt(0)"), Qt::LeftButton);
        QCOMPARE(contact(3), QStringList{"I|Hidden|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|-"});
        QCOMPARE(links(), (QStringList{"1|3|Cousin|Anna Berg", "3|1|Master Contact Entry|Ek, Bo"}));
    }

    // Cancel and Esc reload nothing; the close box reloads the editor's related contacts.
    void closing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("close box") << "close box";
    }
    void closing() {
        QFETCH(QString, how);
        open();
        f->db().Execute(
            "INSERT INTO RelateCont (MasterContID, SubContID, SubContShowName) VALUES (1, 5, 'Elsewhere')");
        if (how == "Cancel") QTest::mouseClick(d->findChild<QAbstractButton*>("cmdOpt(1)"), Qt::LeftButton);
        if (how == "Esc") QTest::keyClick(d, Qt::Key_Escape);
        if (how == "close box") d->close();
        settle();
        QVERIFY(!d);
        QCOMPARE(related(), how == "close box" ? QStringList{"Elsewhere"} : QStringList{});
        QCOMPARE(f->rowCount("Contacts"), 1);
    }

    // With the editor closed meanwhile, the link back names the contact the dialog was opened on, as
    // the database holds it, and nothing fails.
    void editorClosedMeanwhile() {
        open();
        f->db().Execute("UPDATE Contacts SET ShownName = 'Ek, Bo Erik' WHERE ContID = 1");
        qobject_cast<QMdiSubWindow*>(e->parentWidget())->close();
        settle();
        QVERIFY(!ui::ScreenRegistry::instance().find<frmContEntry>());
        g_lngCurContID = 0;
        next("Anna Berg");
        QVERIFY(!d);
        QCOMPARE(links(), (QStringList{"1|2|-|Anna Berg", "2|1|Master Contact Entry|Ek, Bo Erik"}));
        QCOMPARE(f->rowCount("ErrLog") + f->prompts().count(), 0);
    }
};

POMARET_TEST(AddressDialogTest)
POMARET_TEST(LinkedContactDialogTest)
#include "tst_AddressAndLinkDialogs.moc"
