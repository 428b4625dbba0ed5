#include <QAction>
#include <QComboBox>
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
#include "support/TestRegistry.h"

using testsupport::Fixture;
using testsupport::ResultList;
using testsupport::Rows;

// The projects list opened by View > Projects: its views and counts, its cells, a click on it and
// its export.
class ProjectsListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    QWidget* viewProjects() {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        w->findChild<QAction*>(QStringLiteral("mnuViewProj"))->trigger();
        return ui::ScreenRegistry::instance().find(QStringLiteral("frmProjects"));
    }

    // Seven "Default" projects of ten; one with nothing but its name, names with a quote and a comma.
    void seed() {
        f->db().Execute(
            R"(INSERT INTO Projects (ProjID, PName, Setting, StartDate, EndDate, Status, PrjType) VALUES
            (1, 'Customer Audit', 'Default', '2025-01-06', NULL, 'Is Working', NULL),
            (2, 'Bridge', 'Default', NULL, NULL, NULL, NULL),
            (3, 'Audit "Q1", East', 'Default', '2024-12-30', '2025-03-31', 'Done', 'Internal, Finance'),
            (4, 'Dock', 'Default', NULL, NULL, NULL, NULL), (5, 'Eave', 'Default', NULL, NULL, NULL, NULL),
            (6, 'Fence', 'Default', NULL, NULL, NULL, NULL), (7, 'gate', 'Default', NULL, NULL, NULL, NULL),
            (8, 'Hut', 'Hidden', NULL, NULL, NULL, NULL), (9, 'Attic', 'Hidden', NULL, NULL, NULL, NULL),
            (10, 'Pier', 'Private', NULL, NULL, NULL, NULL))");
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        w.reset();
        shell::SingleInstance::release();
        g_blnAltColors = false;
        f.reset();
    }

    // "Default" on opening; each view lists its own projects by name, counted against all of them;
    // an empty view is ready, with its stripes gone.
    void views_data() {
        QTest::addColumn<int>("view");  // -1: as View > Projects opens
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("status");
        QTest::newRow("opened") << -1 << QStringList{"ID3", "ID2", "ID1", "ID4", "ID5", "ID6", "ID7"}
                                << "Showing: 7 Records (of 10 total)";
        QTest::newRow("All Projects")
            << 0 << QStringList{"ID9", "ID3", "ID2", "ID1", "ID4", "ID5", "ID6", "ID7", "ID8", "ID10"}
            << "Showing: 10 Records (of 10 total)";
        QTest::newRow("Hidden") << 2 << QStringList{"ID9", "ID8"} << "Showing: 2 Records (of 10 total)";
        QTest::newRow("Private, none") << 3 << QStringList{} << "Ready ...";
    }
    void views() {
        QFETCH(int, view);
        QFETCH(QStringList, keys);
        QFETCH(QString, status);
        seed();
        if (keys.isEmpty()) f->db().Execute("UPDATE Projects SET Setting = 'Default' WHERE ProjID = 10");
        g_blnAltColors = true;
        g_strCurScreen = QStringLiteral("Home");
        QWidget* projects = viewProjects();
        QVERIFY(projects);
        QCOMPARE(projects->findChild<QComboBox*>("cboView")->currentText(), QStringLiteral("Default"));
        QCOMPARE(g_strCurScreen, QString());
        if (view >= 0) testsupport::Choose(projects, "cboView", view);

        ui::ListView* list = ResultList(projects);
        QCOMPARE(testsupport::Keys(*list), keys);
        QCOMPARE(w->StatusText(), status);
        QCOMPARE(list->hasStripe(), !keys.isEmpty());
        QCOMPARE(f->prompts().count(), 0);
    }

    // The cells as shown are what the export writes, quotes doubled and commas kept inside them.
    void cellsAndExport() {
        seed();
        QWidget* projects = viewProjects();
        QCOMPARE(Rows(*ResultList(projects)).mid(0, 3),
                 (QStringList{"ID3|Audit \"Q1\", East|12/30/2024|03/31/2025|Done|Internal, Finance",
                              "ID2|Bridge||||", "ID1|Customer Audit|01/06/2025||Is Working|"}));

        const QByteArray csv = testsupport::SaveAs(projects, f->prompts());
        QCOMPARE(f->prompts().lastText(), QStringLiteral("The File was Sucessfully Created and Saved."));
        QCOMPARE(csv, QByteArray("\"Project Name\",\"Start Date\",\"End Date\",\"Status\",\"Type\"\r\n"
                                 "\"Audit \"\"Q1\"\", East\",\"12/30/2024\",\"03/31/2025\",\"Done\","
                                 "\"Internal, Finance\"\r\n"
                                 "\"Bridge\",\"\",\"\",\"\",\"\"\r\n"
                                 "\"Customer Audit\",\"01/06/2025\",\"\",\"Is Working\",\"\"\r\n"
                                 "\"Dock\",\"\",\"\",\"\",\"\"\r\n"
                                 "\"Eave\",\"\",\"\",\"\",\"\"\r\n"
                                 "\"Fence\",\"\",\"\",\"\",\"\"\r\n"
                                 "\"gate\",\"\",\"\",\"\",\"\"\r\n"));
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // A click on a row closes every screen and opens the editor on that project; one on no row only
    // says so; a failure names the screen it was to load and is logged.
    void click_data() {
        QTest::addColumn<QString>("click");
        for (const char* click : {"row", "below", "fault"}) QTest::newRow(click) << QString(click);
    }
    void click() {
        QFETCH(QString, click);
        seed();
        QWidget* projects = viewProjects();
        ui::ListView* list = ResultList(projects);
        if (click == "fault")
            core::InjectFault("frmProjects.lvResult_Click", 3021, QStringLiteral("Injected"));
        if (click != "row") f->prompts().answer(ui::Answer::OK);
        const QPoint at =
            click == "below" ? QPoint(5, list->viewport()->height() - 3) : list->rowRect(2).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);

        const auto forms = ui::ScreenRegistry::instance().openForms();
        if (click == "row") {
            QCOMPARE(f->prompts().count(), 0);
            QCOMPARE(g_lngCurProjID, 1);
            QCOMPARE(forms.size(), 1);
            QCOMPARE(forms.first()->objectName(), QStringLiteral("frmProjEntry"));
            QCOMPARE(f->rowCount("ErrLog"), 0);
            return;
        }
        QCOMPARE(f->prompts().lastText(),
                 click == "below" ? QStringLiteral("There is nothing from the list to select")
                                  : QStringLiteral("An un-known error occurred while loading the Projects "
                                                   "screen!\nSorry for the inconvenience"));
        QCOMPARE(f->rowCount("ErrLog"), click == "below" ? 0 : 1);
        QCOMPARE(forms, QList<QWidget*>{projects});
    }
};

POMARET_TEST(ProjectsListTest)
#include "tst_ProjectsList.moc"
