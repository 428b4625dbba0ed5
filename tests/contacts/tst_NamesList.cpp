#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/ListScreenCheck.h"
#include "support/SaveFileSeam.h"
#include "support/TestRegistry.h"

using testsupport::Choose;
using testsupport::Fixture;
using testsupport::Keys;
using testsupport::ResultList;
using testsupport::Rows;

namespace {

QWidget* Open(const QString& name) {
    return ui::ScreenRegistry::instance().find(name);
}

}  // namespace

// The names list and the name search results, opened from the main window as a user opens them:
// which contacts each lists with which cells, the group filter, a click on a row and the export.
class NamesListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    void start() {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
    }
    QWidget* viewNames() {
        w->findChild<QAction*>(QStringLiteral("mnuViewNames"))->trigger();
        return Open(QStringLiteral("frmNames"));
    }
    QWidget* search(const QString& typed) {
        auto* box = w->findChild<QLineEdit*>(QStringLiteral("txtSrch"));
        box->setText(typed);
        QTest::keyClick(box, Qt::Key_Return);
        return Open(QStringLiteral("frmNameSrchResult"));
    }
    QWidget* screen(const QString& name) { return name == "frmNames" ? viewNames() : search("*"); }

    // Every visibility, groups that contain one another's names or differ in case only, a group
    // called "All", a contact without a name.
    void seed() {
        f->db().Execute(R"(INSERT INTO Contacts (ContID, Setting, ShownName, [Group]) VALUES
            (1, 'Default', 'berg, Anna', 'Work,Friends'), (2, 'Default', 'Adams, Eve', 'Friends,Work'),
            (3, 'Default', 'Cole, Al', 'Network,Friends'), (4, 'Default', 'Dahl, Bo', 'work'),
            (5, 'Default', 'Eck, Cy', NULL), (6, 'Hidden', 'Hide, Hal', 'Work'),
            (7, 'Private', 'Priv, Pia', 'Work'), (8, 'Default', NULL, 'Work'), (9, 'Default', 'Fox, Al', 'All'))");
        f->db().Execute(R"(INSERT INTO Lookup (ItemID, Description) VALUES ('GRP', 'Work'), ('GRP', 'All'),
            ('GRP', 'Network'), ('GRP', 'Friend'), ('TITLE', 'Work'))");
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }

    // "Default" on opening; every view lists its own contacts by name, a contact without one never.
    void viewsListTheirContacts_data() {
        QTest::addColumn<int>("view");  // -1: as View > Names opens
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("status");
        const QStringList defaults{"ID2", "ID1", "ID3", "ID4", "ID5", "ID9"};
        QTest::newRow("opened") << -1 << 0 << defaults << "Found: 6 Records";
        QTest::newRow("All Contacts")
            << 0 << 0 << QStringList{"ID2", "ID1", "ID3", "ID4", "ID5", "ID9", "ID6", "ID7"}
            << "Found: 8 Records";
        QTest::newRow("Hidden") << 2 << 0 << QStringList{"ID6"} << "Found: 1 Records";
        QTest::newRow("Private, none") << 3 << 7 << QStringList{} << "Ready ...";
    }
    void viewsListTheirContacts() {
        QFETCH(int, view);
        QFETCH(int, deleted);
        QFETCH(QStringList, keys);
        QFETCH(QString, status);
        seed();
        f->db().Execute("DELETE FROM Contacts WHERE ContID = ?", {deleted});
        start();
        g_strCurScreen = QStringLiteral("Home");
        QWidget* names = viewNames();
        QVERIFY(names);
        QCOMPARE(names->windowTitle(), QStringLiteral("Names"));
        QCOMPARE(names->findChild<QComboBox*>("cboView")->currentText(), QStringLiteral("Default"));
        QCOMPARE(g_strCurScreen, QString());
        if (view >= 0) Choose(names, "cboView", view);

        QCOMPARE(Keys(*ResultList(names)), keys);
        QCOMPARE(w->StatusText(), status);
        QCOMPARE(f->prompts().count(), 0);
    }

    // A contact listed under a group has that group's name, letter for letter, among its groups; the
    // first entry, "All", lists every "Default" contact.
    void groupFilter_data() {
        QTest::addColumn<int>("entry");  // All, All, Friend, Network, Work
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("first entry: every Default contact")
            << 0 << QStringList{"ID2", "ID1", "ID3", "ID4", "ID5", "ID9"};
        QTest::newRow("a group called All") << 1 << QStringList{"ID9"};
        QTest::newRow("part of other groups' names") << 2 << QStringList{};
        QTest::newRow("Network") << 3 << QStringList{"ID3"};
        QTest::newRow("Work") << 4 << QStringList{"ID2", "ID1"};
    }
    void groupFilter() {
        QFETCH(int, entry);
        QFETCH(QStringList, keys);
        seed();
        start();
        QWidget* names = viewNames();
        Choose(names, "cboView", 3);  // the group filter ignores the view
        Choose(names, "cboGroup", entry);

        QCOMPARE(Keys(*ResultList(names)), keys);
        QCOMPARE(w->StatusText(), QStringLiteral("Found: %1 Records").arg(keys.size()));
    }

    // Both screens build a contact's row alike: the phone GetPhoneNum gives, the "Personal" e-mail,
    // each address part from the last "Home" row that has one; nothing at all gives empty cells.
    void cellsOfAContact_data() {
        QTest::addColumn<QString>("form");
        QTest::newRow("names list") << "frmNames";
        QTest::newRow("search results") << "frmNameSrchResult";
    }
    void cellsOfAContact() {
        QFETCH(QString, form);
        f->db().Execute(R"(INSERT INTO Contacts (ContID, Setting, ShownName, JobTitle) VALUES
            (1, 'Default', 'berg, Anna', 'Buyer'), (2, 'Default', 'Adams, Eve', NULL))");
        f->db().Execute(R"(INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (1, 'Work', '555-0109'),
            (1, 'Home', '555-0101'), (1, 'Home', '555-0102'))");
        f->db().Execute(R"(INSERT INTO CEMail (fkContID, fkLookup, Email) VALUES (1, 'Work', 'ab@work.test'),
            (1, 'Personal', 'anna@home.test'))");
        f->db().Execute(R"(INSERT INTO CAddress (fkContID, fkLookup, Street, City, State, Zip) VALUES
            (1, 'Home', '1 Old St', 'Oldtown', 'OS', '11111'), (1, 'Work', '9 Work Rd', 'Worktown', 'WS', '99999'),
            (1, 'Home', '2 New St', NULL, 'NS', NULL), (2, 'Work', '3 Side St', 'Elsewhere', 'ES', '33333'))");
        start();
        QStringList rows = Rows(*ResultList(screen(form)));
        rows.sort();
        QCOMPARE(rows, (QStringList{"ID1|berg, Anna|Buyer|" + modGeneral::GetPhoneNum(1) +
                                        "|anna@home.test|2 New St|Oldtown|NS|11111",
                                    "ID2|Adams, Eve|||||||"}));
    }

    // The search results: the search's own matches, counted also when there are none.
    void searchResults_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("prefix") << "h*" << QStringList{"ID6"};
        QTest::newRow("wildcard inside") << "*, A*" << QStringList{"ID1", "ID3", "ID9"};
        QTest::newRow("none") << "Zed*" << QStringList{};
    }
    void searchResults() {
        QFETCH(QString, pattern);
        QFETCH(QStringList, keys);
        seed();
        start();
        g_strCurScreen = QStringLiteral("Home");
        g_strNameSrchSQL = pattern;
        QWidget* results = ui::ScreenRegistry::instance().open(QStringLiteral("frmNameSrchResult"));
        QCOMPARE(results->windowTitle(), QStringLiteral("Name Search Results"));
        QCOMPARE(Keys(*ResultList(results)), keys);
        QCOMPARE(w->StatusText(), QStringLiteral("Found: %1 Records").arg(keys.size()));
        QCOMPARE(g_strCurScreen, QString());
    }

    // A click on a row closes every screen and dialog and opens the editor on that contact; one on
    // no row only says so; a failure names the action and is logged.
    void clickOnTheList_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("click");  // row, below, fault
        for (const QString form : {"frmNames", "frmNameSrchResult"}) {
            for (const QString click : {"row", "below", "fault"})
                QTest::newRow(qPrintable(form + ", " + click)) << form << click;
        }
    }
    void clickOnTheList() {
        QFETCH(QString, form);
        QFETCH(QString, click);
        seed();
        start();
        QWidget* screen = this->screen(form);
        ui::ListView* list = ResultList(screen);
        const int clicked = list->key(2).mid(2).toInt();
        QWidget* dialog = ui::ScreenRegistry::instance().open(QStringLiteral("frmNewName"));
        QVERIFY(dialog);
        if (click == "fault") core::InjectFault(form + ".lvResult_Click", 3021, QStringLiteral("Injected"));
        if (click != "row") f->prompts().answer(ui::Answer::OK);

        if (click == "below") {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              QPoint(5, list->viewport()->height() - 3));
        } else {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(2).center());
        }

        const auto forms = ui::ScreenRegistry::instance().openForms();
        if (click == "row") {
            QCOMPARE(f->prompts().count(), 0);
            QCOMPARE(g_lngCurContID, clicked);
            QCOMPARE(forms.size(), 1);
            QCOMPARE(forms.first()->objectName(), QStringLiteral("frmContEntry"));
            QCOMPARE(f->rowCount("ErrLog"), 0);
            return;
        }
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(),
                 click == "below" ? QStringLiteral("There is nothing from the list to select")
                                  : QStringLiteral("An un-known error occurred while opening the "
                                                   "Contacts screen!\nSorry for the inconvenience"));
        QCOMPARE(f->rowCount("ErrLog"), click == "below" ? 0 : 1);
        if (click == "fault")
            QCOMPARE(f->scalar("SELECT ModName FROM ErrLog").toString(), form + ".lvResult_Click");
        QCOMPARE(forms, (QList<QWidget*>{screen, dialog}));
    }

    // The export writes the rows shown, under the list's headers, and selects the last row.
    void exportWritesTheRows() {
        seed();
        f->db().Execute("UPDATE Contacts SET JobTitle = 'Sales, East' WHERE ContID = 1");
        f->db().Execute("INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (2, 'Home', '555-0102')");
        start();
        QWidget* names = viewNames();
        Choose(names, "cboGroup", 4);  // Work
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("names.csv"));
        testsupport::SaveFileSeam files;
        files.choose(path);
        f->prompts().answer(ui::Answer::OK);

        QTest::mouseClick(names->findChild<QLabel*>(QStringLiteral("lblSaveAs")), Qt::LeftButton);

        QCOMPARE(f->prompts().lastText(), QStringLiteral("The File was Sucessfully Created and Saved."));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("\"Name\",\"Job Title\",\"Phone\",\"E-Mail\",\"Address\",\"City\","
                            "\"St.\",\"ZIP\"\r\n"
                            "\"Adams, Eve\",\"\",\"555-0102\",\"\",\"\",\"\",\"\",\"\"\r\n"
                            "\"berg, Anna\",\"Sales, East\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"));
        QCOMPARE(ResultList(names)->selectedRow(), 1);
    }

    // Stripes and grid lines follow the preferences; a loader that fails shows the error box and
    // logs under its own name, and the screen still opens.
    void preferencesAndFailures_data() {
        QTest::addColumn<bool>("stripes");
        QTest::addColumn<bool>("grid");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("rows");
        QTest::newRow("stripes, no grid") << true << false << "" << 6;
        QTest::newRow("grid, no stripes") << false << true << "" << 6;
        QTest::newRow("groups fail") << true << true << "frmNames.LoadAllGroups" << 6;
        QTest::newRow("list fails") << true << true << "frmNames.LoadContactInfo" << 0;
    }
    void preferencesAndFailures() {
        QFETCH(bool, stripes);
        QFETCH(bool, grid);
        QFETCH(QString, failing);
        QFETCH(int, rows);
        seed();
        start();
        g_blnAltColors = stripes;
        g_blnGridLines = grid;
        if (!failing.isEmpty()) {
            core::InjectFault(failing, 3061, QStringLiteral("Injected"));
            f->prompts().answer(ui::Answer::OK);
        }
        QWidget* names = viewNames();
        QVERIFY(names);
        ui::ListView* list = ResultList(names);
        QCOMPARE(list->rowCount(), rows);
        QCOMPARE(list->hasStripe(), stripes && rows > 0);
        QCOMPARE(list->gridLines(), grid);
        QCOMPARE(f->prompts().count(), failing.isEmpty() ? 0 : 1);
        if (!failing.isEmpty()) {
            QVERIFY(f->prompts().lastText().startsWith(QStringLiteral("The following Error occurred:")));
            QCOMPARE(f->scalar("SELECT ModName FROM ErrLog").toString(), failing);
        }
    }
};

POMARET_TEST(NamesListTest)
#include "tst_NamesList.moc"
