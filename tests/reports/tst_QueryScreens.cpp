#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/ListExport.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "reports/QueryScreen.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/ListScreenCheck.h"
#include "support/SaveFileSeam.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;
using testsupport::Keys;
using testsupport::ResultList;
using testsupport::Rows;

// The contact and project query screens opened by the View menu: their field and value lists, the
// four operators on text, the rows and the count, a click, a failed query and the export.
class QueryScreensTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    reports::QueryScreen* open(const char* menu, const char* form) {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        w->findChild<QAction*>(QLatin1String(menu))->trigger();
        return qobject_cast<reports::QueryScreen*>(ui::ScreenRegistry::instance().find(QLatin1String(form)));
    }
    reports::QueryScreen* openContacts() { return open("mnuViewCQry", "frmContQry"); }

    // A field picked and a value typed, then Enter, as the user does it.
    void query(reports::QueryScreen* screen, const QString& field, int op, const QString& value) {
        if (!field.isNull()) {
            const int index = screen->cboUserDef->findText(field);
            QVERIFY(index >= 0);
            screen->cboUserDef->setCurrentIndex(index);
            Q_EMIT screen->cboUserDef->activated(index);
        }
        screen->optWhere[op]->click();
        screen->cboValue->clearEditText();
        QTest::keyClicks(screen->cboValue->lineEdit(), value);
        QTest::keyClick(screen->cboValue, Qt::Key_Return);
    }

    // Contacts 1 to 5 (5 without a shown name), values of "Size" and "Owner's", one value of a gone
    // contact 9; contact 2 has the value twice.
    void seedContacts() {
        f->db().Execute(R"(INSERT INTO Contacts (ContID, ShownName, JobTitle) VALUES
            (1, 'Ann Lee', 'Chef'), (2, 'Bob Roe', NULL), (3, 'Sales "East", Inc.', NULL),
            (4, 'Zoë Day', NULL), (5, NULL, NULL))");
        f->db().Execute("INSERT INTO CUserFields (Description) VALUES ('Size'), ('Owner''s'), ('Color')");
        f->db().Execute(R"(INSERT INTO CUFldValues (fkContID, fkUserFld, Value) VALUES
            (1, 'Size', '10'), (2, 'Size', '6'), (2, 'Size', '6'), (3, 'Size', 'ABC'), (4, 'Size', 'a*c'),
            (5, 'Size', '6'), (9, 'Size', '6'), (1, 'Owner''s', 'O''Hara'), (3, 'Owner''s', '50%'),
            (4, 'Owner''s', '5_0'), (2, 'Owner''s', 'x'))");
        f->db().Execute(R"(INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (1, 'Home', '555-0101'))");
        f->db().Execute(R"(INSERT INTO CEMail (fkContID, fkLookup, Email) VALUES (1, 'Personal', 'ann@x.org'))");
        f->db().Execute(R"(INSERT INTO CAddress (fkContID, fkLookup, Street, City, State, Zip) VALUES
            (1, 'Home', '1 Elm St', 'Springfield', 'IL', '62701'), (1, 'Work', '9 Oak', 'Dover', 'DE', '1'))");
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }

    void opening() {
        seedContacts();
        reports::QueryScreen* screen = openContacts();
        QVERIFY(screen);
        QCOMPARE(screen->cboUserDef->count(), 3);
        QCOMPARE(screen->cboUserDef->itemText(0), QStringLiteral("Color"));
        QCOMPARE(screen->cboUserDef->itemText(2), QStringLiteral("Size"));
        QVERIFY(screen->optWhere[0]->isChecked());
        QCOMPARE(g_strCurScreen, QString());
        auto* strip = w->findChild<QWidget*>("picStatus");
        QCOMPARE(strip->palette().color(strip->backgroundRole()), QColor(0x33, 0x66, 0x66));
        // A query before any field lists nothing.
        query(screen, QString(), 0, QString());
        QCOMPARE(ResultList(screen)->rowCount(), 0);
        QCOMPARE(w->StatusText(), QStringLiteral("Showing: 0 Records (of 0 total)"));

        query(screen, QStringLiteral("Size"), 0, QStringLiteral("10"));
        QCOMPARE(screen->cboValue->count(), 4);  // distinct, sorted: 10, 6, a*c, ABC
        QCOMPARE(screen->cboValue->itemText(0), QStringLiteral("10"));
        QCOMPARE(Rows(*ResultList(screen)),
                 QStringList{"ID1|Ann Lee|Chef|555-0101|ann@x.org|1 Elm St|Springfield|IL|62701"});
        QCOMPARE(w->StatusText(), QStringLiteral("Showing: 1 Records (of 1 total)"));
    }

    // Text comparison, bound values: what matches and what the status line counts (a contact with
    // the value twice counts twice, a gone or nameless contact counts but lists nothing).
    void compare_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("counted");
        QTest::newRow("= 6, twice, gone, nameless") << "Size" << 0 << "6" << QStringList{"ID2"} << 4;
        QTest::newRow("= 1 as typed, not 10") << "Size" << 0 << "1" << QStringList{} << 0;
        QTest::newRow("< 5 is 10") << "Size" << 1 << "5" << QStringList{"ID1"} << 1;
        QTest::newRow("> 5 is 6 and letters")
            << "Size" << 2 << "5" << QStringList{"ID2", "ID3", "ID4"} << 6;
        QTest::newRow("<> empty") << "Size" << 3 << "" << QStringList{"ID1", "ID2", "ID3", "ID4"} << 7;
        QTest::newRow("< empty") << "Size" << 1 << "" << QStringList{} << 0;
        QTest::newRow("case") << "Size" << 0 << "abc" << QStringList{"ID3"} << 1;
        QTest::newRow("star only itself") << "Size" << 0 << "a*c" << QStringList{"ID4"} << 1;
        QTest::newRow("apostrophes") << "Owner's" << 0 << "O'Hara" << QStringList{"ID1"} << 1;
        QTest::newRow("percent") << "Owner's" << 0 << "50%" << QStringList{"ID3"} << 1;
        QTest::newRow("underscore") << "Owner's" << 0 << "5_0" << QStringList{"ID4"} << 1;
        QTest::newRow("no wildcard") << "Owner's" << 0 << "5%" << QStringList{} << 0;
        QTest::newRow("injection") << "Owner's" << 3 << "x' OR '1'='1" << QStringList{"ID1", "ID2", "ID3", "ID4"} << 4;
    }
    void compare() {
        QFETCH(QString, field);
        QFETCH(int, op);
        QFETCH(QString, value);
        QFETCH(QStringList, keys);
        QFETCH(int, counted);
        seedContacts();
        reports::QueryScreen* screen = openContacts();
        query(screen, field, op, value);
        QCOMPARE(Keys(*ResultList(screen)), keys);
        QCOMPARE(w->StatusText(), QStringLiteral("Showing: %1 Records (of %1 total)").arg(counted));
        QCOMPARE(screen->cboValue->count(), 4);  // Enter added nothing to the value list
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // A failed query says so and lists nothing; a row click closes the screen and opens the editor.
    void failureAndClick() {
        seedContacts();
        reports::QueryScreen* screen = openContacts();
        query(screen, QStringLiteral("Size"), 0, QStringLiteral("6"));
        core::InjectFault(QStringLiteral("frmContQry.RunQuery"), 3021, QStringLiteral("Injected"));
        f->prompts().answer(ui::Answer::OK);
        QTest::keyClick(screen->cboValue, Qt::Key_Return);
        QCOMPARE(ResultList(screen)->rowCount(), 0);
        QCOMPARE(w->StatusText(), QStringLiteral("Ready ..."));
        QVERIFY(f->prompts().lastText().contains(QStringLiteral("Injected")));
        QCOMPARE(f->rowCount("ErrLog", "ModName = ?", {QStringLiteral("frmContQry.RunQuery")}), 1);

        f->prompts().answer(ui::Answer::OK);
        ui::ListView* list = ResultList(screen);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(f->prompts().lastText(), QStringLiteral("There is nothing from the list to select"));
        QCOMPARE(f->rowCount("ErrLog"), 1);

        // A contact whose row fails is reported; the query goes on with the next one.
        core::InjectFault(QStringLiteral("frmContQry.LoadContactInfo"), 3021, QStringLiteral("Row injected"));
        f->prompts().answer(ui::Answer::OK);
        query(screen, QString(), 2, QStringLiteral("5"));
        QCOMPARE(Keys(*ResultList(screen)), (QStringList{"ID3", "ID4"}));
        QVERIFY(f->prompts().lastText().contains(QStringLiteral("Row injected")));
        QCOMPARE(w->StatusText(), QStringLiteral("Showing: 6 Records (of 6 total)"));
        QCOMPARE(f->rowCount("ErrLog", "ModName = ?", {QStringLiteral("frmContQry.LoadContactInfo")}), 1);

        QTest::keyClick(screen->cboValue, Qt::Key_Return);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(0).center());
        QCOMPARE(g_lngCurContID, 2);
        const auto forms = ui::ScreenRegistry::instance().openForms();
        QCOMPARE(forms.size(), 1);
        QCOMPARE(forms.first()->objectName(), QStringLiteral("frmContEntry"));
    }

    // The exact bytes: quotes doubled, UTF-8, absent cells empty; an empty list and a cancel write
    // nothing; a failed write leaves the earlier file as it was.
    void contactExport() {
        seedContacts();
        reports::QueryScreen* screen = openContacts();
        f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(screen->findChild<QLabel*>("lblSaveAs"), Qt::LeftButton);
        QCOMPARE(f->prompts().lastText(), QStringLiteral("There are no item's in the list to save."));

        query(screen, QStringLiteral("Size"), 2, QStringLiteral("5"));
        const QByteArray csv = testsupport::SaveAs(screen, f->prompts());
        QCOMPARE(csv, QByteArray("\"Name\",\"Job Title\",\"Phone\",\"E-Mail\",\"Address\",\"City\",\"St.\",\"ZIP\"\r\n"
                                 "\"Bob Roe\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
                                 "\"Sales \"\"East\"\", Inc.\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
                                 "\"Zo\xc3\xab Day\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"));
        QCOMPARE(ResultList(screen)->selectedRow(), 2);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kept.csv"));
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("before");
        earlier.close();
        testsupport::SaveFileSeam files;
        files.cancel().choose(path);
        QTest::mouseClick(screen->findChild<QLabel*>("lblSaveAs"), Qt::LeftButton);
        core::FailNextCsvWrite(QStringLiteral("Disk full"));
        f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(screen->findChild<QLabel*>("lblSaveAs"), Qt::LeftButton);
        QVERIFY(f->prompts().lastText().contains(QStringLiteral("Disk full")));
        QCOMPARE(f->rowCount("ErrLog", "ModName = ?", {QStringLiteral("frmContQry.lblSaveAs_Click")}), 1);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("before"));
    }

    // The project twin: its five columns and dates, a nameless project listed, its export header,
    // its status strip and editor.
    void projects() {
        f->db().Execute(R"(INSERT INTO Projects (ProjID, PName, StartDate, EndDate, Status, PrjType) VALUES
            (1, 'Bridge', '2012-03-07', NULL, 'Open', 'Civil'), (2, NULL, NULL, NULL, NULL, NULL),
            (3, 'Dock', NULL, '2013-01-31', NULL, NULL))");
        f->db().Execute("INSERT INTO PUserFields (Description) VALUES ('Region')");
        f->db().Execute(R"(INSERT INTO PUFldValues (fkProjID, fkUserFld, Value) VALUES
            (1, 'Region', 'North'), (2, 'Region', 'North'), (3, 'Region', 'North'), (8, 'Region', 'North'))");
        reports::QueryScreen* screen = open("mnuViewPQry", "frmProjQry");
        QVERIFY(screen);
        auto* strip = w->findChild<QWidget*>("picStatus");
        QCOMPARE(strip->palette().color(strip->backgroundRole()), QColor(0xA0, 0x59, 0x2A));
        query(screen, QStringLiteral("Region"), 0, QStringLiteral("North"));
        QCOMPARE(Rows(*ResultList(screen)), (QStringList{"ID1|Bridge|03/07/2012||Open|Civil", "ID2|||||",
                                                         "ID3|Dock||01/31/2013||"}));
        QCOMPARE(w->StatusText(), QStringLiteral("Showing: 4 Records (of 4 total)"));
        QVERIFY(testsupport::SaveAs(screen, f->prompts())
                    .startsWith("\"Project Name\",\"Start Date\",\"End Date\",\"Status\",\"Type\"\r\n"
                                "\"Bridge\",\"03/07/2012\",\"\",\"Open\",\"Civil\"\r\n"));
        ui::ListView* list = ResultList(screen);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(2).center());
        QCOMPARE(g_lngCurProjID, 3);
        QCOMPARE(ui::ScreenRegistry::instance().openForms().first()->objectName(), QStringLiteral("frmProjEntry"));
    }
};

POMARET_TEST(QueryScreensTest)
#include "tst_QueryScreens.moc"
