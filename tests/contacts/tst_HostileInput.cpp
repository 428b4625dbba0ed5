// Hostile text typed and pasted into every text box of the new-contact dialog, the name search, the
// contact editor, its name, address and linked-contact dialogs, the pick-list add dialogs, the
// user-field dialogs, the new-project dialog and the project editor's budget, "New:" box and comment,
// and given to the user-field dialogs' input box: what is stored is what the box held, nothing else changes,
// no error is logged or shown, and the screen shows afterwards what is stored.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <memory>

#include "contacts/ContactScreens.h"
#include "contacts/NameComposition.h"
#include "contacts/clsNameParse.h"
#include "contacts/dialogs/UserFieldsDialog.h"
#include "contacts/dialogs/frmAddrDetail.h"
#include "contacts/dialogs/frmNameDetail.h"
#include "contacts/dialogs/frmNewLinkCont.h"
#include "contacts/frmContEntry.h"
#include "contacts/frmNewName.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "projects/ProjectScreens.h"
#include "projects/frmProjEntry.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kEmptyName = QStringLiteral("You must enter an individual name or a company name.");
const QString kInvalidName = QStringLiteral("Make sure you have entered a valid name.");
const QString kNoMatch = QStringLiteral("No names match your criteria.");
constexpr int kAddressLength = 170;  // the address boxes' own limit; a line box reports its own
constexpr int kNameLength = 90;

// The hostile texts every box gets.
const QList<QPair<const char*, QString>>& HostileTexts() {
    static const QList<QPair<const char*, QString>> texts{
        {"apostrophes", QStringLiteral("O'Brien's 'Bar'")},
        {"double quotes", QStringLiteral("Say \"Hi\" \"\"")},
        {"percent and underscore", QStringLiteral("50% off_sale")},
        {"star and question mark", QStringLiteral("Who*s? there")},
        {"hash, bracket, semicolon", QStringLiteral("#1 [a-z]; [Group]")},
        {"drop table", QStringLiteral("'; DROP TABLE Contacts; --")},
        {"always true", QStringLiteral("x' OR '1'='1")},
        {"accents and scripts", QStringLiteral("Émile-Straße, Жуков (中文)")},
        {"emoji", QStringLiteral("Ann 😀 Bo 👍🏽")},
        {"right to left", QStringLiteral("שלום, مرحبا!")},
        {"control characters", QStringLiteral("a\tb\u0001c\u007Fd\re\nf")},
        {"far too long", QStringLiteral("Ab ").repeated(150)},
        // Every limit falls inside a pair in one of the two.
        {"emoji past the limit, even", QStringLiteral("😀").repeated(200)},
        {"emoji past the limit, odd", QStringLiteral("x") + QStringLiteral("😀").repeated(200)},
    };
    return texts;
}

// Each text typed and pasted; with `company`, each once as a person's name and once as a company's.
void AddHostileRows(bool withCompany = false) {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<bool>("company");
    for (const auto& [name, text] : HostileTexts()) {
        for (const bool pasted : {false, true}) {
            for (const bool company : withCompany ? QList<bool>{false, true} : QList<bool>{false}) {
                QTest::addRow("%s, %s%s", name, pasted ? "pasted" : "typed",
                              withCompany ? (company ? ", company" : ", person") : "")
                    << text << pasted << company;
            }
        }
    }
}

// The characters of a text, a pair of surrogates as one.
QStringList Characters(const QString& text) {
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        out << text.mid(i, pair ? 2 : 1);
        if (pair) ++i;
    }
    return out;
}

bool WholeCharacters(const QString& text) {
    for (const QString& c : Characters(text)) {
        if (c.size() == 1 && c.at(0).isSurrogate()) return false;
    }
    return true;
}

// What an empty box holds after Enter(text): typing drops control characters (a several-line box takes
// a tab, and a line break as Return); a several-line box makes CR, LF and a pasted CR LF one line
// break; a maximum length (0: none) keeps whole characters: a paste ends before the first character
// that does not fit, typed characters that do not fit are left out.
QString Expected(QString text, bool pasted, bool multiLine, int maxLength) {
    if (multiLine && pasted) text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString out;
    for (QString c : Characters(text)) {
        if (multiLine && (c == u'\r' || c == u'\n')) {
            c = QStringLiteral("\n");
        } else if (!pasted && c.at(0).category() == QChar::Other_Control && !(multiLine && c == u'\t')) {
            continue;
        }
        if (maxLength > 0 && out.size() + c.size() > maxLength) {
            if (pasted) break;
            continue;
        }
        out += c;
    }
    return out;
}

// Replaces what a box holds as a user can: typed a character at a time (one outside the Basic
// Multilingual Plane arrives whole, as an input method sends it; a line break as Return in a
// several-line box), or pasted at once with Ctrl+V.
void Enter(QWidget* box, const QString& text, bool pasted) {
    box->setFocus();
    QMetaObject::invokeMethod(box, "selectAll");
    if (pasted) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(box, QKeySequence(QKeySequence::Paste));
        return;
    }
    const bool multiLine = qobject_cast<QPlainTextEdit*>(box) != nullptr;
    for (const QString& c : Characters(text)) {
        if (multiLine && (c == u'\r' || c == u'\n')) {
            QTest::keyClick(box, Qt::Key_Return);
        } else {
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, c, Qt::NoModifier);
        }
    }
}

// Whether the name search for `typed` finds `name`: a prefix match in which `*` and `?` stand for
// a character and every other character is itself, letter case aside. (A `*` may stand for any run;
// the names searched here differ from one another character by character, so one is enough.)
bool Matches(const QString& name, const QString& typed) {
    const QStringList n = Characters(name);
    const QStringList t = Characters(typed);
    if (t.isEmpty() || t.size() > n.size()) return false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] != u'*' && t[i] != u'?' && t[i].toCaseFolded() != n[i].toCaseFolded()) return false;
    }
    return true;
}

// The name with each character that is not a letter, digit or blank replaced by "X": a search for the
// name finds it only where a character of the search acts as a wildcard.
QString Decoy(const QString& name) {
    QString out;
    for (const QString& c : Characters(name))
        out += (c.size() == 1 && (c.at(0).isLetterOrNumber() || c == u' ')) ? c : QStringLiteral("X");
    return out;
}

// What a box holds, a several-line box's line breaks as "\n".
QString BoxText(QWidget* box) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) return line->text();
    return ui::PlainText(qobject_cast<QPlainTextEdit*>(box));
}

QString Part(const QVariant& v) {
    return v.toString();  // Null reads as empty, as the boxes show it
}

}  // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    void start() {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        QApplication::setActiveWindow(w.get());
        if (!QTest::qWaitForWindowActive(w.get())) qFatal("the main window never became active");
    }
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void addContact(int id, const QString& type, const QString& shownName, const QVariant& company = {},
                    const QVariant& jobTitle = {}) {
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName, CompName, JobTitle) "
            "VALUES (?, ?, 'Default', ?, ?, ?, ?)",
            {id, type, shownName, shownName, company, jobTitle});
    }
    QList<QVariantList> rows(const QString& sql) {
        QList<QVariantList> out;
        for (db::Recordset rs = f->db().OpenRecordset(sql); !rs.Eof(); rs.MoveNext()) {
            QVariantList row;
            for (int i = 0; i < rs.FieldCount(); ++i) row << rs.Value(i);
            out << row;
        }
        return out;
    }
    QVariant stored(const QString& sql, const QVariantList& params = {}) { return f->scalar(sql, params); }
    // The rows of a query as the boxes show them, Null as empty.
    QList<QStringList> texts(const QString& sql) {
        QList<QStringList> out;
        for (const QVariantList& row : rows(sql)) {
            out << QStringList{};
            for (const QVariant& v : row) out.last() << Part(v);
        }
        return out;
    }
    frmContEntry* openEditor(int id) {
        g_lngCurContID = id;
        modGeneral::CloseAllChildForms();
        settle();
        return qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
    }
    // No error logged or shown, however hostile the text.
    void checkNoErrors() {
        settle();
        QCOMPARE(f->rowCount("ErrLog"), 0);
        QCOMPARE(f->prompts().pending(), 0);
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        settle();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }

    // A person's name either parses or gets the parser's message; a company's is stored as typed.
    void newName_data() { AddHostileRows(true); }
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
                got << Part(v);
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
    void nameDetails_data() { AddHostileRows(true); }
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
            got << Part(v);
        QCOMPARE(got, expected);
        QCOMPARE(QStringList({e->Text1Text(0), e->Text1Text(1)}), QStringList({expected[1], expected[2]}));
        QCOMPARE(rows("SELECT * FROM Contacts WHERE ContID = 1"), before);
        checkNoErrors();
    }

    // `*` and `?` are wildcards; every other character is itself. None, one or several names found
    // give the message, the editor or the results screen.
    void nameSearch_data() { AddHostileRows(); }
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
    void contactEditor_data() { AddHostileRows(); }
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
                return Part(stored(QString("SELECT %1 FROM Contacts WHERE ContID = 1").arg(columns[box])));
            if (box == 17) return Part(stored("SELECT Setting FROM Contacts WHERE ContID = 1"));
            if (box <= 8) {
                const QVariantList p = address(box);
                if (p.isEmpty()) return {};
                return Part(p[0]) + "\n" + Part(p[1]) + ", " + Part(p[2]) + " " + Part(p[3]) + "\n" +
                       Part(p[4]);
            }
            if (box <= 13) {
                return Part(stored("SELECT PhoneNum FROM CPhone WHERE fkContID = 1 AND fkLookup = ?",
                                   {phoneKinds[box - 9]}));
            }
            return Part(stored("SELECT Email FROM CEMail WHERE fkContID = 1 AND fkLookup = ?",
                               {emailKinds[box - 14]}));
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
                for (const QVariant& v : address(i)) got << Part(v);
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
        const QString storedComment = Part(stored("SELECT Comments FROM CComments WHERE fkContID = 1"));
        QCOMPARE(storedComment, QString(comment).replace("\n", "\r\n"));

        // Shown again from the database as it was stored.
        e = openEditor(1);
        QVERIFY(e);
        for (int i = 0; i < frmContEntry::kBoxCount; ++i) QCOMPARE(e->Text1Text(i), shownFromStore(i));
        QCOMPARE(e->findChild<QPlainTextEdit*>("txtComments")->toPlainText(), comment);
        QCOMPARE(others(), before);
        checkNoErrors();
    }

    // The item box of each pick-list add dialog: the item is stored exactly as the box held it.
    void lookupItem_data() { AddHostileRows(); }
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

            QTest::mouseClick(dlg->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
            settle();
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
    void userFields_data() { AddHostileRows(); }
    void userFields() { userFieldsOf(false); }
    void projectUserFields_data() { AddHostileRows(); }
    void projectUserFields() { userFieldsOf(true); }

    // Every box of the address dialog, then OK: the row of its kind holds the five boxes, and the
    // dialog opened again shows them. The street holds one line, so a line break typed there would
    // press OK: it is typed everywhere but there, and pasted it becomes a blank.
    void addressDialog_data() { AddHostileRows(); }
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
    void linkedContact_data() { AddHostileRows(); }
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

    // A new project's name is stored as the box held it, beside a project of the same name, and the
    // editor opens on it showing it.
    void newProject_data() { AddHostileRows(); }
    void newProject() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        start();
        w->findChild<QAction*>("mnuEditNewProject")->trigger();
        QPointer<QWidget> dlg = ui::ScreenRegistry::instance().find("frmNewProject");
        QVERIFY(dlg);
        auto* box = dlg->findChild<QLineEdit*>("Text1");
        Enter(box, text, pasted);
        const QString typed = box->text();
        QCOMPARE(typed, Expected(text, pasted, false, 255));
        QVERIFY(WholeCharacters(typed));
        f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (4, ?, 'Hidden')", {typed});
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
        settle();
        QVERIFY(!dlg);
        QCOMPARE(texts("SELECT ProjID, PName, Setting FROM Projects ORDER BY ProjID"),
                 (QList<QStringList>{{"4", typed, "Hidden"}, {"5", typed, "Default"}}));
        auto* e = ui::ScreenRegistry::instance().find<frmProjEntry>();
        QVERIFY(e);
        QCOMPARE(e->Text1Text(0), typed);
        checkNoErrors();
    }

    // The budget, the one box of the project editor that is typed: stored as it holds it, and shown
    // so again.
    void projectBudget_data() { AddHostileRows(); }
    void projectBudget() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        f->db().Execute(
            "INSERT INTO Projects (ProjID, PName, Setting, Budget) VALUES (1, 'Roof', 'Default', '1')");
        f->db().Execute(
            "INSERT INTO Projects (ProjID, PName, Setting, Budget) VALUES (2, 'Barn', 'Default', '2')");
        const auto other = rows("SELECT * FROM Projects WHERE ProjID = 2");
        start();
        const auto openProject = [this] {
            g_lngCurProjID = 1;
            modGeneral::CloseAllChildForms();
            settle();
            return qobject_cast<frmProjEntry*>(ui::ScreenRegistry::instance().open("frmProjEntry"));
        };
        frmProjEntry* e = openProject();
        QVERIFY(e);
        Enter(e->Text1(5), text, pasted);
        const QString typed = e->Text1Text(5);
        QCOMPARE(typed, Expected(text, pasted, false, 15));
        QVERIFY(WholeCharacters(typed));
        e->Text1(0)->setFocus();
        settle();
        // An empty budget is never stored: the box shows the stored one again.
        const QString expected = typed.isEmpty() ? QString("1") : typed;
        QCOMPARE(stored("SELECT Budget FROM Projects WHERE ProjID = 1").toString(), expected);
        e = openProject();
        QCOMPARE(e->Text1Text(5), expected);
        QCOMPARE(rows("SELECT * FROM Projects WHERE ProjID = 2"), other);
        checkNoErrors();
    }

    // The project editor's "New:" box and its comment: filed and stored as the boxes hold them (CR LF
    // line breaks), listed and shown so again.
    void projectNoteAndComment_data() { AddHostileRows(); }
    void projectNoteAndComment() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (1, 'Roof', 'Default')");
        start();
        const auto openProject = [this] {
            g_lngCurProjID = 1;
            modGeneral::CloseAllChildForms();
            settle();
            return qobject_cast<frmProjEntry*>(ui::ScreenRegistry::instance().open("frmProjEntry"));
        };
        frmProjEntry* e = openProject();
        QVERIFY(e);
        auto* note = e->findChild<QPlainTextEdit*>("txtNewNote");
        Enter(note, text, pasted);
        const QString typed = BoxText(note);
        QCOMPARE(typed, Expected(text, pasted, true, 0));
        e->findChild<QAbstractButton*>("cmdHist")->click();
        settle();
        const QString body = QString(typed).replace("\n", "\r\n");
        QCOMPARE(texts("SELECT TextBody, NType, fkProjID FROM Attach"),
                 (QList<QStringList>{{body, "N", "1"}}));
        QCOMPARE(e->findChild<ui::ListView*>("lvHist")->text(0, 1), QString(typed).remove("\n"));

        auto* tabs = e->findChild<QTabBar*>("tbsMain");
        auto* comments = e->findChild<QPlainTextEdit*>("txtComments");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        Enter(comments, text, pasted);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QCOMPARE(texts("SELECT Comments, fkProjID FROM PComments"), (QList<QStringList>{{body, "1"}}));
        e = openProject();
        QCOMPARE(BoxText(e->findChild<QPlainTextEdit*>("txtComments")), typed);
        checkNoErrors();
    }

private:
    // The user-field dialog of contacts or of projects, each on its own pair of tables.
    void userFieldsOf(bool project) {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        const QString fields = project ? "PUserFields" : "CUserFields";
        const QString values = project ? "PUFldValues" : "CUFldValues";
        const QString owner = project ? "fkProjID" : "fkContID";
        addContact(1, "I", "Berg, Anna");
        f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (1, 'Roof', 'Default')");
        const QString name = Expected(text, true, false, 100);
        const QString decoy = Decoy(name);
        const bool withDecoy = decoy != name;
        if (withDecoy) {
            f->db().Execute("INSERT INTO " + fields + " (Description) VALUES (?)", {decoy});
            f->db().Execute(
                "INSERT INTO " + values + " (" + owner + ", fkUserFld, Value) VALUES (1, ?, 'decoy')",
                {decoy});
        }
        start();
        g_lngCurProjID = 1;
        QWidget* e = project ? ui::ScreenRegistry::instance().open("frmProjEntry") : openEditor(1);
        QVERIFY(e);
        e->findChild<QAbstractButton*>("cmdUserFld")->click();
        QPointer<UserFieldsDialog> dlg = qobject_cast<UserFieldsDialog*>(
            ui::ScreenRegistry::instance().find(project ? "frmUserPrjFields" : "frmUserFields"));
        QVERIFY(dlg);
        auto* list = dlg->findChild<ui::ListBox*>("lstUserFld");
        auto* box = dlg->findChild<QLineEdit*>("txtValue");
        const auto choose = [&] {
            const QModelIndex entry = list->model()->index(list->findText(name), 0);
            list->scrollTo(entry);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
            settle();
        };

        // A name longer than a field name may be is refused; the one that fits is taken as given.
        if (text.size() > 100) {
            f->prompts().input(text).answer(ui::Answer::OK);
            dlg->findChild<QAbstractButton*>("cmdOpts(0)")->click();
            QCOMPARE(f->prompts().lastText(), QString("The field entered is too long. (100 characters max)"));
        }
        f->prompts().input(name);
        dlg->findChild<QAbstractButton*>("cmdOpts(0)")->click();
        QCOMPARE(f->rowCount(fields, "Description = ?", {name}), 1);

        choose();
        QCOMPARE(box->text(), QString());
        Enter(box, text, pasted);
        const QString value = box->text();
        QCOMPARE(value, Expected(text, pasted, false, 100));
        QVERIFY(WholeCharacters(value));
        QTest::keyClick(box, Qt::Key_Return);
        settle();
        QCOMPARE(f->rowCount(values, "fkUserFld = ?", {name}), 1);
        QCOMPARE(stored("SELECT Value FROM " + values + " WHERE " + owner + " = 1 AND fkUserFld = ?", {name})
                     .toString(),
                 value);
        choose();
        QCOMPARE(box->text(), value);

        // In use: refused. Once its value is gone: asked, and removed.
        f->prompts().answer(ui::Answer::OK);
        dlg->findChild<QAbstractButton*>("cmdOpts(1)")->click();
        QCOMPARE(f->prompts().lastTitle(), QString("Cannot Remove Used Field"));
        f->db().Execute("DELETE * FROM " + values + " WHERE fkUserFld = ?", {name});
        choose();
        f->prompts().answer(ui::Answer::Yes);
        dlg->findChild<QAbstractButton*>("cmdOpts(1)")->click();
        QCOMPARE(f->prompts().lastText(),
                 "Are you sure you want to DELETE User Field\n[ " + name + " ] from the User Field List?");
        QCOMPARE(f->rowCount(fields, "Description = ?", {name}), 0);
        QCOMPARE(f->rowCount(fields), withDecoy ? 1 : 0);
        QCOMPARE(f->rowCount(values, "Value = 'decoy'"), withDecoy ? 1 : 0);

        dlg->findChild<QAbstractButton*>("cmdOpts(2)")->click();
        settle();
        QVERIFY(!dlg);
        QCOMPARE(e->findChild<ui::ListView*>("lvUserDef")->rowCount(), withDecoy ? 1 : 0);
        checkNoErrors();
    }
};

POMARET_TEST(HostileInputTest)
#include "tst_HostileInput.moc"
