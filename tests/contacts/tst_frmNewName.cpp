#include <SQLiteCpp/Database.h>
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <memory>

#include "contacts/ContactScreens.h"
#include "contacts/frmNewName.h"
#include "core/modGeneral.h"
#include "platform/ui/ScreenRegistry.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");
const QString kEmptyName = QStringLiteral("You must enter an individual name or a company name.");
const QString kInvalidName = QStringLiteral("Make sure you have entered a valid name.");
const QString kDuplicate = QStringLiteral("That Contact Name already exists, please re-enter another name.");

const QStringList kStoredColumns{"CTYPE", "Setting", "FullName", "ShownName", "Prefix",
                                 "FName", "Middle",  "LName",    "Suffix",    "CompName"};

// A row as the tests write it: the columns above joined by "|", Null as "-" (blanks stay visible).
QString Cell(const QVariant& v) {
    return v.isNull() ? QStringLiteral("-") : v.toString();
}

}  // namespace

class NewNameDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    QPointer<frmNewName> dlg;
    QList<int32_t> editorOpenedOn;  // g_lngCurContID each time the contact editor was asked for
    QList<QPointer<QWidget>> editors;

    void addContact(int id, const QString& shownName) {
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (?, 'C', 'Default', ?)",
            {id, shownName});
    }

    void open() {
        dlg = new frmNewName();
        dlg->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
    }
    QLineEdit* txtName() { return dlg->findChild<QLineEdit*>("txtName"); }
    QAbstractButton* control(const QString& name) { return dlg->findChild<QAbstractButton*>(name); }

    // Types the name the way a user does and chooses its kind.
    void enter(const QString& name, bool company) {
        QTest::mouseClick(control(company ? "optType(1)" : "optType(0)"), Qt::LeftButton);
        QTest::mouseClick(txtName(), Qt::LeftButton);
        QCoreApplication::processEvents();
        txtName()->clear();
        if (!name.isEmpty()) QTest::keyClicks(txtName(), name);
        QCOMPARE(txtName()->text(), name.left(90));
    }
    void next() { QTest::mouseClick(control("cmdOpt(0)"), Qt::LeftButton); }
    void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QString stored(int id) {
        QStringList cells;
        db::Recordset rs = f->db().OpenRecordset("SELECT * FROM Contacts WHERE ContID = ?", {id});
        if (rs.Eof()) return "no row";
        for (const QString& column : kStoredColumns) cells << Cell(rs.Value(column));
        return cells.join(u'|');
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        editorOpenedOn.clear();
        editors.clear();
        ui::ScreenRegistry::instance().registerScreen("frmContEntry", [this]() -> QWidget* {
            editorOpenedOn << g_lngCurContID;
            auto* editor = new QWidget;
            editor->setObjectName("frmContEntry");
            editors << editor;
            return editor;
        });
    }
    void cleanup() {
        delete dlg.data();
        for (const auto& editor : editors) delete editor.data();
        f.reset();
    }
    void cleanupTestCase() { ui::ScreenRegistry::instance().registerScreen("frmContEntry", {}); }

    void opensReadyForAPerson() {
        open();
        QCOMPARE(dlg->windowTitle(), QString("Set Up New Name"));
        QVERIFY(!dlg->isModal());
        QCOMPARE(ui::ScreenRegistry::instance().find<frmNewName>(), dlg.data());
        QVERIFY(txtName()->hasFocus());
        QVERIFY(control("optType(0)")->isChecked());
        // Tab goes name, kind, Next, Cancel and round again.
        QStringList tabbedTo;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            tabbedTo << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(tabbedTo, (QStringList{"optType(0)", "cmdOpt(0)", "cmdOpt(1)", "txtName"}));

        // Coming back into the name box, by mouse too, selects what it holds, so typing replaces it.
        QTest::keyClicks(txtName(), "Anna Berg");
        QTest::mouseClick(control("optType(1)"), Qt::LeftButton);
        QTest::mouseClick(txtName(), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(txtName()->selectedText(), QString("Anna Berg"));
    }

    // While a dialog is open the command shows it again, half-typed name and all; once it has been
    // closed the command makes a fresh one.
    void theCommandShowsTheOpenDialog() {
        contacts::RegisterScreens();
        auto& registry = ui::ScreenRegistry::instance();
        dlg = qobject_cast<frmNewName*>(registry.open("frmNewName"));
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        QTest::keyClicks(txtName(), "Anna");
        QCOMPARE(registry.open("frmNewName"), dlg.data());
        QCOMPARE(txtName()->text(), QString("Anna"));

        QTest::mouseClick(control("cmdOpt(1)"), Qt::LeftButton);
        auto* fresh = qobject_cast<frmNewName*>(registry.open("frmNewName"));
        QVERIFY(fresh != dlg.data());
        settle();
        QVERIFY(dlg.isNull());
        dlg = fresh;
        QCOMPARE(txtName()->text(), QString());
        QCOMPARE(ui::ScreenRegistry::instance().openForms(), QList<QWidget*>{fresh});
    }

    // Columns: CTYPE, Setting, FullName, ShownName, Prefix, FName, Middle, LName, Suffix, CompName.
    void storesAPerson_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("all five parts")
            << "Dr. Anna Maria Berg Jr."
            << "I|Default|Dr. Anna Maria Berg Jr.|Berg, Anna Maria|Dr.|Anna|Maria|Berg|Jr.|-";
        QTest::newRow("first and last only") << "Anna Berg"
                                             << "I|Default|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|-";
        QTest::newRow("title after a second comma dropped")
            << "Berg, Anna, Director"
            << "I|Default|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|-";
        QTest::newRow("apostrophe stored single") << "Anna O'Berg"
                                                  << "I|Default|Anna O'Berg|O'Berg, Anna|-|Anna|-|O'Berg|-|-";
        QTest::newRow("prefix and middle initial, case as typed")
            << "MRS anna M. berg"
            << "I|Default|MRS anna M. berg|berg, anna M.|MRS|anna|M.|berg|-|-";
        QTest::newRow("suffix only") << "Anna Berg III"
                                     << "I|Default|Anna Berg III|Berg, Anna|-|Anna|-|Berg|III|-";
        QTest::newRow("blanks around the name") << "  Anna Berg  "
                                                << "I|Default|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|-";
    }
    void storesAPerson() {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        open();
        enter(typed, false);
        next();
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("Contacts"), 1);
        QCOMPARE(stored(1), expected);
    }

    void storesACompany_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shownName");
        QTest::newRow("as typed") << "Berg Tool Works"
                                  << "Berg Tool Works";
        QTest::newRow("trailing blank") << "Berg Tool Works "
                                        << "Berg Tool Works";
        QTest::newRow("leading blanks") << "  Berg & Sons"
                                        << "Berg & Sons";
        QTest::newRow("never parsed") << "Dr. Berg, Anna Jr."
                                      << "Dr. Berg, Anna Jr.";
        QTest::newRow("at most 90 characters") << QString(95, u'x') << QString(90, u'x');
    }
    void storesACompany() {
        QFETCH(QString, typed);
        QFETCH(QString, shownName);
        open();
        enter(typed, true);
        next();
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(stored(1), "C|Default|-|" + shownName + "|-|-|-|-|-|" + typed.left(90));
    }

    // The number is the largest present plus one when the row is added, whatever was there when the
    // dialog opened.
    void numbersTheNewContact_data() {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("whileOpen");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty table") << QList<int>{} << QList<int>{} << 1;
        QTest::newRow("largest plus one") << QList<int>{7, 3} << QList<int>{} << 8;
        QTest::newRow("added while open") << QList<int>{3} << QList<int>{12} << 13;
        QTest::newRow("first added while open") << QList<int>{} << QList<int>{5} << 6;
    }
    void numbersTheNewContact() {
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, whileOpen);
        QFETCH(int, expected);
        for (int id : before) addContact(id, QString("Other %1").arg(id));
        open();
        for (int id : whileOpen) addContact(id, QString("Other %1").arg(id));
        enter("Carl Lind", false);
        next();
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->scalar("SELECT ContID FROM Contacts WHERE ShownName = 'Lind, Carl'").toInt(), expected);
        QCOMPARE(g_lngCurContID, expected);
        QCOMPARE(editorOpenedOn, QList<int32_t>{expected});
    }

    // Each refusal shows one box, writes nothing and leaves the dialog open; the name box is
    // emptied only after a duplicate. Earlier checks win over later ones.
    void refusals_data() {
        QTest::addColumn<bool>("company");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("textAfter");

        const QStringList none;
        const QStringList anna{"Berg, Anna"};
        QTest::newRow("empty person") << false << "" << none << kEmptyName << "";
        QTest::newRow("empty company") << true << "" << none << kEmptyName << "";
        QTest::newRow("blanks-only company") << true << "   " << none << kEmptyName << "   ";
        QTest::newRow("blanks-only person") << false << "   " << none << kInvalidName << "   ";
        QTest::newRow("one word") << false << "Anna" << none << kInvalidName << "Anna";
        QTest::newRow("two-word title after a second comma")
            << false << "Berg, Anna, Vice President" << none << kInvalidName << "Berg, Anna, Vice President";
        QTest::newRow("invalid before duplicate")
            << false << "Anna" << QStringList{"Anna"} << kInvalidName << "Anna";
        QTest::newRow("duplicate person") << false << "Anna Berg" << anna << kDuplicate << "";
        QTest::newRow("duplicate in another case") << false << "ANNA berg" << anna << kDuplicate << "";
        QTest::newRow("duplicate with an apostrophe")
            << false << "Anna O'Berg" << QStringList{"O'Berg, Anna"} << kDuplicate << "";
        QTest::newRow("duplicate company, trailing blanks")
            << true << "Acme Tools  " << QStringList{"Acme Tools"} << kDuplicate << "";
        QTest::newRow("duplicate company, leading blank")
            << true << " acme tools" << QStringList{"Acme Tools"} << kDuplicate << "";
    }
    void refusals() {
        QFETCH(bool, company);
        QFETCH(QString, typed);
        QFETCH(QStringList, existing);
        QFETCH(QString, message);
        QFETCH(QString, textAfter);

        for (int i = 0; i < existing.size(); ++i) addContact(i + 1, existing[i]);
        open();
        enter(typed, company);
        f->prompts().answer(ui::Answer::OK);
        next();

        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), message);
        if (message == kEmptyName) {
            QCOMPARE(f->prompts().lastTitle(), QString("Validate : Name Entry"));
            QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Information);
        } else {
            QCOMPARE(f->prompts().lastTitle(), kTitle);
            QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        }
        QCOMPARE(txtName()->text(), textAfter);
        if (message != kInvalidName) QVERIFY(txtName()->hasFocus());
        QVERIFY(dlg->isVisible());
        QCOMPARE(f->rowCount("Contacts"), existing.size());
        QCOMPARE(f->rowCount("ErrLog"), 0);
        QVERIFY(editorOpenedOn.isEmpty());
    }

    // After a refusal, Next composes everything again from what the box holds now.
    void nextAfterARefusalStartsAfresh() {
        addContact(1, "Berg, Anna");
        open();
        enter("Dr. Anna Berg Jr.", false);
        f->prompts().answer(ui::Answer::OK);
        next();
        QCOMPARE(f->prompts().lastText(), kDuplicate);

        enter("Carl Lind", false);
        next();
        QCOMPARE(stored(2), QString("I|Default|Carl Lind|Lind, Carl|-|Carl|-|Lind|-|-"));
    }

    // Enter presses "&Next >" (or the button that has the focus); Esc, "&Cancel" and the close box
    // end the dialog without writing.
    void keysAndButtons_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("company");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Return in the name box") << "return" << false << true;
        QTest::newRow("keypad Enter in the name box") << "enter" << false << true;
        QTest::newRow("Return on the company option") << "return on option" << true << true;
        QTest::newRow("Return on Cancel") << "return on cancel" << false << false;
        QTest::newRow("Esc") << "escape" << false << false;
        QTest::newRow("Cancel button") << "cancel" << false << false;
        QTest::newRow("close box") << "close" << false << false;
    }
    void keysAndButtons() {
        QFETCH(QString, action);
        QFETCH(bool, company);
        QFETCH(bool, saved);
        open();
        enter("Anna Berg", company);
        if (action == "return") {
            QTest::keyClick(txtName(), Qt::Key_Return);
        } else if (action == "enter") {
            QTest::keyClick(txtName(), Qt::Key_Enter, Qt::KeypadModifier);
        } else if (action == "return on option") {
            control("optType(1)")->setFocus();
            QTest::keyClick(control("optType(1)"), Qt::Key_Return);
        } else if (action == "return on cancel") {
            control("cmdOpt(1)")->setFocus();
            QTest::keyClick(control("cmdOpt(1)"), Qt::Key_Return);
        } else if (action == "escape") {
            QTest::keyClick(txtName(), Qt::Key_Escape);
        } else if (action == "cancel") {
            QTest::mouseClick(control("cmdOpt(1)"), Qt::LeftButton);
        } else {
            dlg->close();
        }
        settle();

        QVERIFY(dlg.isNull());  // released, so the next New Name command makes a fresh dialog
        QCOMPARE(f->rowCount("Contacts"), saved ? 1 : 0);
        if (saved) {
            QCOMPARE(f->scalar("SELECT ShownName FROM Contacts").toString(),
                     company ? QString("Anna Berg") : QString("Berg, Anna"));
        }
        QCOMPARE(editorOpenedOn, saved ? QList<int32_t>{1} : QList<int32_t>{});
        QCOMPARE(f->prompts().count(), 0);
    }

    // Every other screen and dialog closes before the editor opens on the new contact, and only the
    // editor stays.
    void theEditorOpensAloneOnTheNewContact() {
        addContact(4, "Berg Tool Works");
        g_lngCurContID = 4;
        QWidget home;
        home.setObjectName("frmHome");
        ui::ScreenRegistry::instance().add(&home);
        home.show();

        open();
        enter("Anna Berg", false);
        next();
        settle();

        QCOMPARE(g_lngCurContID, 5);
        QCOMPARE(editorOpenedOn, QList<int32_t>{5});
        QVERIFY(dlg.isNull());
        QVERIFY(!home.isVisible());
        QCOMPARE(ui::ScreenRegistry::instance().openForms(), QList<QWidget*>{editors.value(0).data()});
    }

    // A row the database refuses leaves nothing behind: no row, no number taken, the dialog open for
    // another try.
    void aRefusedRowIsReportedAndNothingIsKept() {
        f->db().Connection().exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON Contacts BEGIN SELECT RAISE(ABORT, 'refused'); END");
        open();
        enter("Anna Berg", false);
        f->prompts().answer(ui::Answer::OK);
        next();

        QCOMPARE(
            f->prompts().lastText(),
            QString(
                "An un-known error occurred while Posting the information!\nSorry for the inconvenience"));
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmNewName.PostEntry'"), 1);
        QCOMPARE(f->rowCount("Contacts"), 0);
        QCOMPARE(f->db().TransactionDepth(), 0);
        QCOMPARE(g_lngCurContID, 0);
        QVERIFY(editorOpenedOn.isEmpty());
        QVERIFY(dlg->isVisible());

        f->db().Connection().exec("DROP TRIGGER refuse");
        next();
        QCOMPARE(stored(1), QString("I|Default|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|-"));
        QCOMPARE(editorOpenedOn, QList<int32_t>{1});
    }
};

POMARET_TEST(NewNameDialogTest)

#include "tst_frmNewName.moc"
