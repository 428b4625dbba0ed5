// Hostile text typed and pasted into every text box of the new-contact dialog, the name search, the
// contact editor, its name, address and linked-contact dialogs, the pick-list add dialogs and the
// user-field dialog, and given to the user-field dialog's and the related-contact memo's input
// boxes: what is stored is what the box held, nothing else changes, no error is logged or shown, and
// the screens, the names list and its export show afterwards what is stored.
#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

#include "contacts/ContactScreens.h"
#include "contacts/NameComposition.h"
#include "contacts/clsNameParse.h"
#include "contacts/dialogs/frmAddrDetail.h"
#include "contacts/dialogs/frmNameDetail.h"
#include "contacts/dialogs/frmNewLinkCont.h"
#include "contacts/frmContEntry.h"
#include "contacts/frmNewName.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "projects/ProjectScreens.h"
#include "shell/frmMain.h"
#include "support/HostileInput.h"
#include "support/ListScreenCheck.h"
#include "support/TestRegistry.h"

using namespace testsupport::hostile;

namespace {

const QString kEmptyName = QStringLiteral("You must enter an individual name or a company name.");
const QString kInvalidName = QStringLiteral("Make sure you have entered a valid name.");
const QString kNoMatch = QStringLiteral("No names match your criteria.");
constexpr int kAddressLength = 170;  // the address boxes' own limit; a line box reports its own
constexpr int kNameLength = 90;

}  // namespace

class HostileContactsTest : public Case {
    Q_OBJECT

private Q_SLOTS:
    void init() { Case::init(); }
    void cleanup() { Case::cleanup(); }

    // A person's name either parses or gets the parser's message; a company's is stored as typed.
    void newName_data() { AddRows(true); }
    void newName() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(bool, company);
        addContact(1, "I", "Other, Contact");
        const auto before = rows("SELECT * FROM Contacts");
        start();
        w->findChild<QAction*>("mnuEditNewName")->trigger();
        QPointer<frmNewName> dlg = ui::ScreenRegistry::instance().find<frmNewName>();
        QVERIFY(dlg);
        QTest::mouseClick(dlg->findChild<QAbstractButton*>(company ? "optType(1)" : "optType(0)"),
                          Qt::LeftButton);
        auto* box = dlg->findChild<QLineEdit*>("txtName");
        Enter(box, text, pasted);
        const QString typed = box->text();
        QCOMPARE(typed, Expected(text, pasted, false, kNameLength));
        QVERIFY(WholeCharacters(typed));

        // What should happen, from the rule for each kind: Columns CTYPE, FullName, ShownName, Prefix,
        // FName, Middle, LName, Suffix, CompName.
        QString message;
        QStringList row;
        if (company) {
            const QString shown = modGeneral::TrimBlanks(typed);
            if (shown.isEmpty()) message = kEmptyName;
            row = QStringList{"C", "", shown, "", "", "", "", "", typed};
        } else {
            clsNameParse parser;
            parser.ParseName(typed);
            const QStringList parts{parser.Prefix(), parser.FirstName(), parser.MiddleName(),
                                    parser.LastName(), parser.Suffix()};
            if (typed.isEmpty()) {
                message = kEmptyName;
            } else if (parser.HasError() || parts[1].isEmpty() || parts[3].isEmpty()) {
                message = kInvalidName;
            }
            row =
                QStringList{
                    "I", NameComposition::FullName(parts[0], parts[1], parts[2], parts[3], parts[4]),
                    modGeneral::TrimBlanks(NameComposition::ShownName(parts[3], parts[1], parts[2]))} +
                parts + QStringList{""};
        }
        if (!message.isEmpty()) f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("cmdOpt(0)"), Qt::LeftButton);
        settle();

        if (!message.isEmpty()) {
            QCOMPARE(f->prompts().count(), 1);
            QCOMPARE(f->prompts().lastText(), message);
            QCOMPARE(f->rowCount("Contacts"), 1);
            QVERIFY(dlg && dlg->isVisible());
        } else {
            QCOMPARE(f->prompts().count(), 0);
            QStringList got;
            for (const QVariant& v : rows("SELECT CTYPE, FullName, ShownName, Prefix, FName, Middle, LName, "
                                          "Suffix, CompName FROM Contacts WHERE ContID = 2")
                                         .value(0))
                got << v.toString();
            QCOMPARE(got, row);
            // The editor opens on it and shows what is stored.
            QVERIFY(!dlg);
            auto* e = ui::ScreenRegistry::instance().find<frmContEntry>();
            QVERIFY(e);
            QCOMPARE(g_lngCurContID, 2);
            QCOMPARE(QStringList({e->Text1Text(0), e->Text1Text(1), e->Text1Text(3)}),
                     QStringList({row[1], row[2], row[8]}));
            QCOMPARE(e->cboContList->currentText(), row[2]);
        }
        QCOMPARE(rows("SELECT * FROM Contacts WHERE ContID = 1"), before);
        checkNoErrors();
    }

    // The name dialog's boxes, a person's three parts or a company's name: stored as the boxes hold
    // them, the names composed of them, and the editor shows the new names.
    void nameDetails_data() { AddRows(true); }
    void nameDetails() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(bool, company);
        addContact(1, "I", "Other, Contact");
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName, FName, LName) "
            "VALUES (2, 'I', 'Default', 'Anna Berg', 'Berg, Anna', 'Anna', 'Berg')");
        const auto before = rows("SELECT * FROM Contacts WHERE ContID = 1");
        start();
        frmContEntry* e = openEditor(2);
        QVERIFY(e);
        QTest::mouseClick(e->findChild<QLabel*>("picPop(0)"), Qt::LeftButton);
        QPointer<frmNameDetail> dlg = ui::ScreenRegistry::instance().find<frmNameDetail>();
        QVERIFY(dlg);
        if (company) QTest::mouseClick(dlg->findChild<QAbstractButton*>("optType(1)"), Qt::LeftButton);
        QStringList typed;
        for (int i : company ? QList<int>{3} : QList<int>{0, 1, 2}) {
            auto* box = dlg->findChild<QLineEdit*>(QString("Text1(%1)").arg(i));
            Enter(box, text, pasted);
            QCOMPARE(box->text(), Expected(text, pasted, false, ui::LengthLimit(box)));
            QVERIFY(WholeCharacters(box->text()));
            typed << box->text();
        }
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
        settle();
        QVERIFY(!dlg);

        // Columns CTYPE, FullName, ShownName, FName, Middle, LName, CompName.
        const QStringList expected =
            company ? QStringList{"C", "Anna Berg", typed[0], "Anna", "", "Berg", typed[0]}
                    : QStringList{"I",
                                  NameComposition::FullName({}, typed[0], typed[1], typed[2], {}),
                                  NameComposition::ShownName(typed[2], typed[0], typed[1]),
                                  typed[0],
                                  typed[1],
                                  typed[2],
                                  ""};
        QStringList got;
        for (const QVariant& v : rows("SELECT CTYPE, FullName, ShownName, FName, Middle, LName, CompName "
                                      "FROM Contacts WHERE ContID = 2")
                                     .value(0))
            got << v.toString();
        QCOMPARE(got, expected);
        QCOMPARE(QStringList({e->Text1Text(0), e->Text1Text(1)}), QStringList({expected[1], expected[2]}));
        QCOMPARE(rows("SELECT * FROM Contacts WHERE ContID = 1"), before);
        checkNoErrors();
    }

    // `*` and `?` are wildcards; every other character is itself. None, one or several names found
    // give the message, the editor or the results screen.
    void nameSearch_data() { AddRows(); }
    void nameSearch() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        // The name as far as the column holds it, and a decoy that only a wildcard finds.
        const QString name = Expected(text, true, false, 255);
        const QString decoy = Decoy(name);
        addContact(10, "C", name);
        addContact(11, "C", decoy);
        const auto before = rows("SELECT * FROM Contacts");
        start();
        QWidget* home = ui::ScreenRegistry::instance().find("frmHome");
        QVERIFY(home);
        auto* search = w->findChild<QLineEdit*>("txtSrch");
        Enter(search, text, pasted);
        const QString typed = search->text();
        QCOMPARE(typed, Expected(text, pasted, false, 0));

        QList<int> found;
        if (Matches(name, typed)) found << 10;
        if (Matches(decoy, typed)) found << 11;
        if (found.isEmpty()) f->prompts().answer(ui::Answer::OK);
        QTest::keyClick(search, Qt::Key_Return);
        settle();

        auto& screens = ui::ScreenRegistry::instance();
        if (found.isEmpty()) {
            QCOMPARE(f->prompts().count(), 1);
            QCOMPARE(f->prompts().lastText(), kNoMatch);
            QCOMPARE(screens.find("frmHome"), home);
            QCOMPARE(g_lngCurContID, 0);
        } else if (found.size() == 1) {
            QCOMPARE(f->prompts().count(), 0);
            auto* e = screens.find<frmContEntry>();
            QVERIFY(e);
            QCOMPARE(g_lngCurContID, found[0]);
            QCOMPARE(e->Text1Text(1), found[0] == 10 ? name : decoy);
        } else {
            QCOMPARE(f->prompts().count(), 0);
            QWidget* results = screens.find("frmNameSrchResult");
            QVERIFY(results);
            // Exactly the contacts found, each under its own name.
            const auto* list = results->findChild<ui::ListView*>("lvResult");
            QStringList listed;
            for (int r = 0; r < list->rowCount(); ++r) listed << list->key(r) + u'|' + list->text(r);
            listed.sort();
            QCOMPARE(listed, (QStringList{"ID10|" + name, "ID11|" + decoy}));
        }
        QCOMPARE(rows("SELECT * FROM Contacts"), before);
        checkNoErrors();
    }

    // Every profile box, then the comment; each is left as a user leaves it, which writes it.
    void contactEditor_data() { AddRows(); }
    void contactEditor() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        // A company, so that its name box is writable, and another contact with a row in every table
        // the editor writes.
        addContact(1, "C", "Acme", "Acme", "Owner");
        addContact(2, "I", "Ek, Bo");
        f->db().Execute(
            "INSERT INTO CAddress (fkContID, fkLookup, Street, City) VALUES (2, 'Home', '1 Main', 'Lund')");
        f->db().Execute("INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (2, 'Home', '555-0100')");
        f->db().Execute(
            "INSERT INTO CEMail (fkContID, fkLookup, Email) VALUES (2, 'Work', 'bo@example.com')");
        f->db().Execute("INSERT INTO CComments (fkContID, Comments) VALUES (2, 'Met at the fair')");
        const auto others = [this] {
            return rows("SELECT * FROM Contacts WHERE ContID <> 1") +
                   rows("SELECT CTYPE, Setting, ShownName, [Group] FROM Contacts WHERE ContID = 1") +
                   rows("SELECT * FROM CAddress WHERE fkContID <> 1") +
                   rows("SELECT * FROM CPhone WHERE fkContID <> 1") +
                   rows("SELECT * FROM CEMail WHERE fkContID <> 1") +
                   rows("SELECT * FROM CComments WHERE fkContID <> 1");
        };
        const auto before = others();

        // The text a box shows for what is stored.
        const QString addressKinds[] = {"Home", "Work", "Bill To", "Ship To"};
        const QString phoneKinds[] = {"Home", "Work", "Mobile", "Other", "Fax"};
        const QString emailKinds[] = {"Personal", "Work", "Other"};
        const auto address = [&](int box) {
            db::Recordset rs = f->db().OpenRecordset(
                "SELECT Street, City, State, Zip, Country FROM CAddress WHERE fkContID = 1 AND fkLookup = ?",
                {addressKinds[box - 5]});
            QVariantList parts;
            for (int i = 0; !rs.Eof() && i < rs.FieldCount(); ++i) parts << rs.Value(i);
            return parts;
        };
        const auto shownFromStore = [&](int box) -> QString {
            const char* columns[] = {"FullName", "ShownName", "[Group]", "CompName", "JobTitle"};
            if (box <= 4)
                return stored(QString("SELECT %1 FROM Contacts WHERE ContID = 1").arg(columns[box]))
                    .toString();
            if (box == 17) return stored("SELECT Setting FROM Contacts WHERE ContID = 1").toString();
            if (box <= 8) {
                const QVariantList p = address(box);
                if (p.isEmpty()) return {};
                return p[0].toString() + "\n" + p[1].toString() + ", " + p[2].toString() + " " +
                       p[3].toString() + "\n" + p[4].toString();
            }
            if (box <= 13) {
                return stored("SELECT PhoneNum FROM CPhone WHERE fkContID = 1 AND fkLookup = ?",
                              {phoneKinds[box - 9]})
                    .toString();
            }
            return stored("SELECT Email FROM CEMail WHERE fkContID = 1 AND fkLookup = ?",
                          {emailKinds[box - 14]})
                .toString();
        };

        start();
        frmContEntry* e = openEditor(1);
        QVERIFY(e);
        for (int i = 0; i < frmContEntry::kBoxCount; ++i) {
            QWidget* box = e->Text1(i);
            auto* line = qobject_cast<QLineEdit*>(box);
            const bool locked = box->property("readOnly").toBool();
            const QString was = e->Text1Text(i);
            Enter(box, text, pasted);
            const QString typed = e->Text1Text(i);
            QCOMPARE(
                typed,
                locked ? was : Expected(text, pasted, !line, line ? ui::LengthLimit(line) : kAddressLength));
            QVERIFY(WholeCharacters(typed));

            e->Text1(i == 1 ? 2 : 1)->setFocus();
            settle();
            if (i >= 5 && i <= 8) {
                // Stored in the parts the address rule gives (an empty part stays Null).
                const frmContEntry::AddressParts parts = frmContEntry::ParseStrAddr(typed);
                QStringList got;
                for (const QVariant& v : address(i)) got << v.toString();
                QCOMPARE(got, QStringList({parts.Street, parts.City, parts.State, parts.Zip, parts.Country}));
            } else {
                QCOMPARE(shownFromStore(i), typed);
            }
            QCOMPARE(e->Text1Text(i), shownFromStore(i));
        }

        auto* tabs = e->findChild<QTabBar*>("tbsMain");
        auto* comments = e->findChild<QPlainTextEdit*>("txtComments");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        Enter(comments, text, pasted);
        const QString comment = comments->toPlainText();
        QCOMPARE(comment, Expected(text, pasted, true, 0));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        const QString storedComment = stored("SELECT Comments FROM CComments WHERE fkContID = 1").toString();
        QCOMPARE(storedComment, QString(comment).replace("\n", "\r\n"));

        // Shown again from the database as it was stored.
        e = openEditor(1);
        QVERIFY(e);
        for (int i = 0; i < frmContEntry::kBoxCount; ++i) QCOMPARE(e->Text1Text(i), shownFromStore(i));
        QCOMPARE(e->findChild<QPlainTextEdit*>("txtComments")->toPlainText(), comment);
        QCOMPARE(others(), before);

        // The names list shows the stored name, job title, "Home" phone and address and "Personal"
        // e-mail address, and exports them so.
        modGeneral::CloseAllChildForms();
        settle();
        QWidget* names = ui::ScreenRegistry::instance().open(QStringLiteral("frmNames"));
        const ui::ListView* list = testsupport::ResultList(names);
        QVERIFY(list);
        const int row = testsupport::Keys(*list).indexOf("ID1");
        QVERIFY(row >= 0);
        QStringList expected{shownFromStore(1), shownFromStore(4), shownFromStore(9), shownFromStore(14)};
        const QVariantList home = address(5);
        for (int part = 0; part < 4; ++part) expected << home.value(part).toString();
        QStringList listed;
        for (int c = 0; c < 8; ++c) listed << list->text(row, c);
        QCOMPARE(listed, expected);
        checkExport(names);

        // The home screen lists it among the newest contacts, with its "Home" phone.
        modGeneral::CloseAllChildForms();
        settle();
        QWidget* homeScreen = ui::ScreenRegistry::instance().open(QStringLiteral("frmHome"));
        const auto* recent = homeScreen->findChild<ui::ListView*>("lvRecNames");
        const int at = testsupport::Keys(*recent).indexOf("ID1");
        QVERIFY(at >= 0);
        QCOMPARE(QStringList({recent->text(at, 0), recent->text(at, 1)}),
                 QStringList({expected[0], expected[2]}));
        checkNoErrors();
    }

    // The memo of a related contact, given to its input box from the editor's list: stored as given
    // in that link only, and listed so.
    void relatedMemo_data() { AddTextRows(); }
    void relatedMemo() {
        QFETCH(QString, text);
        addContact(1, "I", "Ek, Bo");
        addContact(2, "I", "Berg, Anna");
        f->db().Execute(
            "INSERT INTO RelateCont (MasterContID, SubContID, LinkMemo, SubContShowName) "
            "VALUES (1, 2, 'Cousin', 'Berg, Anna'), (2, 1, 'Master Contact Entry', 'Ek, Bo')");
        const auto other = rows("SELECT * FROM RelateCont WHERE MasterContID = 2");
        start();
        frmContEntry* e = openEditor(1);
        QVERIFY(e);
        auto* links = e->findChild<ui::ListView*>("lvRelCon");
        QCOMPARE(links->rowCount(), 1);
        Q_EMIT links->rowClicked(0, Qt::RightButton);
        auto* menu = w->findChild<QMenu*>("mnuRCMemoPop");
        QVERIFY(menu && menu->isVisible());
        menu->hide();
        f->prompts().input(text);
        w->findChild<QAction*>("mnuRCMemoPopEdit")->trigger();
        settle();
        QCOMPARE(f->prompts().last().defaultText, QStringLiteral("Cousin"));
        QCOMPARE(stored("SELECT LinkMemo FROM RelateCont WHERE MasterContID = 1").toString(), text);
        QCOMPARE(rows("SELECT * FROM RelateCont WHERE MasterContID = 2"), other);
        QCOMPARE(links->text(0, 1), text);
        e = openEditor(1);
        QCOMPARE(e->findChild<ui::ListView*>("lvRelCon")->text(0, 1), text);
        checkNoErrors();
    }

    // The item box of each pick-list add dialog: the item is stored exactly as the box held it.
    void lookupItem_data() { AddRows(); }
    void lookupItem() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        addContact(1, "I", "Ek, Bo");
        const auto contacts = rows("SELECT * FROM Contacts");
        contacts::RegisterScreens();
        projects::RegisterScreens();
        const char* const members[][2] = {{"frmAddGroup", "GRP"},        {"frmSetPrefix", "PRE"},
                                          {"frmSetSuffix", "SUFF"},      {"frmSetJobTitle", "TITLE"},
                                          {"frmSetProjStatus", "PSTAT"}, {"frmSetProjType", "PTYPE"}};
        for (const auto& [member, kind] : members) {
            const auto before = rows("SELECT * FROM Lookup");
            QPointer<QWidget> dlg = ui::ScreenRegistry::instance().open(member);
            QVERIFY(dlg);
            auto* box = dlg->findChild<QLineEdit*>("Text1");
            Enter(box, text, pasted);
            const QString typed = box->text();
            QCOMPARE(typed, Expected(text, pasted, false, ui::LengthLimit(box)));
            QVERIFY(WholeCharacters(typed));

            // A contact's groups are stored joined with commas: a group's name holding one is refused.
            const bool refused = kind == QLatin1String("GRP") && typed.contains(u',');
            if (refused) f->prompts().answer(ui::Answer::OK);
            QTest::mouseClick(dlg->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
            settle();
            if (refused) {
                QCOMPARE(f->prompts().lastText(),
                         QStringLiteral("A Group Description cannot contain a comma."));
                QCOMPARE(rows("SELECT * FROM Lookup"), before);
                dlg->close();
                continue;
            }
            QVERIFY(!dlg);
            const QVariantList added{kind, typed};
            QCOMPARE(rows("SELECT * FROM Lookup"), before + QList<QVariantList>{added});
            QCOMPARE(modGeneral::LookupList(kind), QStringList{typed});
        }
        QCOMPARE(rows("SELECT * FROM Contacts"), contacts);
        checkNoErrors();
    }

    // A field named with the text (cut to what a name may hold) gets the text as its value, typed or
    // pasted; it loads, saves and is removed by its own name only: a decoy field whose name differs in
    // each character that is not a letter, digit or blank keeps its value and stays.
    void userFields_data() { AddRows(); }
    void userFields() { userFieldsOf(false); }

    // Every box of the address dialog, then OK: the row of its kind holds the five boxes, and the
    // dialog opened again shows them. The street holds one line, so a line break typed there would
    // press OK: it is typed everywhere but there, and pasted it becomes a blank.
    void addressDialog_data() { AddRows(); }
    void addressDialog() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        addContact(1, "I", "Ek, Bo");
        addContact(2, "I", "Berg, Anna");
        for (const char* row : {"1, 'Home', '1 Main'", "1, 'Work', '9 Dock'", "2, 'Home', '5 Elm'"})
            f->db().Execute(
                QString("INSERT INTO CAddress (fkContID, fkLookup, Street) VALUES (%1)").arg(row));
        const auto others = [this] {
            return rows("SELECT * FROM CAddress WHERE NOT (fkContID = 1 AND fkLookup = 'Home')") +
                   rows("SELECT * FROM Contacts");
        };
        const auto before = others();
        start();
        const auto openDialog = [this] {
            frmContEntry* e = openEditor(1);
            QTest::mouseClick(e->findChild<QLabel*>("picPop(3)"), Qt::LeftButton);
            return ui::ScreenRegistry::instance().find<frmAddrDetail>();
        };
        QPointer<frmAddrDetail> dlg = openDialog();
        QVERIFY(dlg);
        QStringList typed;
        for (int i = 0; i < 5; ++i) {
            QWidget* box = dlg->findChild<QWidget*>(QString("Text1(%1)").arg(i));
            const bool street = i == 0;
            const QString entered = street && !pasted ? QString(text).remove(u'\r').remove(u'\n') : text;
            Enter(box, entered, pasted);
            QString expected = Expected(entered, pasted, street, ui::LengthLimit(box));
            if (street) expected.replace(u'\n', u' ');
            typed << BoxText(box);
            QCOMPARE(typed.last(), expected);
        }
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
        settle();
        QVERIFY(!dlg);
        const QString sql =
            "SELECT Street, City, State, Zip, Country FROM CAddress WHERE fkContID = 1 AND fkLookup = 'Home'";
        QCOMPARE(texts(sql), QList<QStringList>{typed});
        dlg = openDialog();
        QVERIFY(dlg);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(BoxText(dlg->findChild<QWidget*>(QString("Text1(%1)").arg(i))), typed[i]);
        QCOMPARE(others(), before);
        checkNoErrors();
    }

    // The name and memo of a new linked company: stored as typed, in the contact and in both links; the
    // editor lists the link. (A person's name goes through the parser the new-contact rows above put
    // to hostile text already.)
    void linkedContact_data() { AddRows(); }
    void linkedContact() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        addContact(1, "I", "Ek, Bo");
        const auto before = rows("SELECT * FROM Contacts");
        start();
        frmContEntry* e = openEditor(1);
        QTest::mouseClick(e->findChild<QAbstractButton*>("cmdRelCon"), Qt::LeftButton);
        QPointer<frmNewLinkCont> dlg = ui::ScreenRegistry::instance().find<frmNewLinkCont>();
        QVERIFY(dlg);
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("optType(1)"), Qt::LeftButton);
        QStringList typed;
        for (const char* name : {"txtName", "txtMemo"}) {
            auto* box = dlg->findChild<QLineEdit*>(name);
            Enter(box, text, pasted);
            typed << box->text();
            QCOMPARE(typed.last(), Expected(text, pasted, false, ui::LengthLimit(box)));
        }
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("cmdOpt(0)"), Qt::LeftButton);
        settle();
        QVERIFY(!dlg);
        QCOMPARE(texts("SELECT CTYPE, Setting, ShownName, CompName, FullName FROM Contacts WHERE ContID = 2"),
                 (QList<QStringList>{{"C", "Hidden", typed[0], typed[0], ""}}));
        QCOMPARE(
            texts("SELECT MasterContID, SubContID, LinkMemo, SubContShowName FROM RelateCont ORDER BY rowid"),
            (QList<QStringList>{{"1", "2", typed[1], typed[0]},
                                {"2", "1", "Master Contact Entry", "Ek, Bo"}}));
        QCOMPARE(e->findChild<ui::ListView*>("lvRelCon")->text(0), typed[0]);
        QCOMPARE(rows("SELECT * FROM Contacts WHERE ContID = 1"), before);
        checkNoErrors();
    }
};

POMARET_TEST(HostileContactsTest)
#include "tst_HostileInput.moc"
