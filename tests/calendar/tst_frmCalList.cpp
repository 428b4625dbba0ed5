#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "calendar/CalendarShell.h"
#include "calendar/frmCalList.h"
#include "core/EditorLayout.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/ListScreenCheck.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;
using testsupport::Rows;

// The appointment list through the main window's calendar: its filters against the clock, its cells,
// a click on it, the appointment dialog's reload and its layout.
class frmCalListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    frmCalList* openList() {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        calendar::OpenTab(calendar::kListTab);
        return qobject_cast<frmCalList*>(ui::ScreenRegistry::instance().find(QStringLiteral("frmCalList")));
    }
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // With the clock on 12/08/2026: from yesterday to tomorrow, today, tomorrow, next year; one
    // without a subject. Contact 1 and project 1 exist; 0 and 99 name nothing.
    void seed() {
        f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (1, 'Ann Lee')");
        f->db().Execute("INSERT INTO Projects (ProjID, PName) VALUES (1, 'Bridge')");
        f->db().Execute(
            R"(INSERT INTO Appts (RefNum, Subject, DateFrom, DateTo, fkContID, fkProjID) VALUES
            (1, 'Yesterday', '2026-12-07', '2026-12-09', 1, NULL),
            (2, 'Today', '2026-12-08', '2026-12-08', NULL, 1),
            (3, 'Tomorrow', '2026-12-09', '2026-12-10', 1, 1),
            (4, 'Next year', '2027-03-01', NULL, 0, 99),
            (5, NULL, '2026-12-20', '2026-12-20', 1, 1))");
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        settle();
        w.reset();
        shell::SingleInstance::release();
        g_blnAltColors = false;
        f.reset();
    }

    void filters_data() {
        QTest::addColumn<int>("filter");  // -1: as the List tab opens it
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("opened: upcoming")
            << -1 << QStringList{"ID4|Next year|3/1/2027|||", "ID3|Tomorrow|12/9/2026|12/10/2026|Ann Lee|Bridge"};
        QTest::newRow("past") << 1 << QStringList{"ID1|Yesterday|12/7/2026|12/9/2026|Ann Lee|"};
        QTest::newRow("all") << 2
                             << QStringList{"ID4|Next year|3/1/2027|||",
                                            "ID3|Tomorrow|12/9/2026|12/10/2026|Ann Lee|Bridge",
                                            "ID2|Today|12/8/2026|12/8/2026||Bridge",
                                            "ID1|Yesterday|12/7/2026|12/9/2026|Ann Lee|"};
    }
    void filters() {
        QFETCH(int, filter);
        QFETCH(QStringList, rows);
        seed();
        g_blnAltColors = true;
        frmCalList* view = openList();
        QVERIFY(view);
        QCOMPARE(view->cboFiltOpt->text(), QStringLiteral("Upcoming Appointments"));
        QCOMPARE(g_strCurScreen, QStringLiteral("CList"));
        QCOMPARE(w->StatusText(), QStringLiteral("Ready ..."));
        auto* strip = w->findChild<QWidget*>("picStatus");
        QCOMPARE(strip->palette().color(strip->backgroundRole()), calendar::kBannerColour);
        if (filter >= 0) testsupport::Choose(view, "cboFiltOpt", filter);
        QCOMPARE(Rows(*view->lvResult), rows);
        QVERIFY(view->lvResult->hasStripe());
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // A row opens the dialog on its appointment; saving reloads the list under the same filter. A
    // click beside the rows only says so.
    void clickAndReload() {
        seed();
        frmCalList* view = openList();
        testsupport::Choose(view, "cboFiltOpt", 1);
        f->prompts().answer(ui::Answer::OK);
        ui::ListView* list = view->lvResult;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
        QCOMPARE(f->prompts().lastText(), QStringLiteral("There is nothing from the list to select"));
        QVERIFY(!ui::ScreenRegistry::instance().find(QStringLiteral("frmAppt")));

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(0).center());
        QWidget* dlg = ui::ScreenRegistry::instance().find(QStringLiteral("frmAppt"));
        QVERIFY(dlg);
        auto* subject = dlg->findChild<QLineEdit*>(QStringLiteral("Text1(0)"));
        QCOMPARE(subject->text(), QStringLiteral("Yesterday"));
        subject->setText(QStringLiteral("Earlier"));
        dlg->findChild<QPushButton*>(QStringLiteral("cmdOpts(3)"))->click();
        settle();
        QCOMPARE(view->m_strFilter, QStringLiteral("Past Appointments"));
        QCOMPARE(Rows(*list), QStringList{"ID1|Earlier|12/7/2026|12/9/2026|Ann Lee|"});
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // At a width of 12000 twips: the header labels share SW - 300, the columns SW - 565; the frame
    // holds labels and list.
    void layout() {
        frmCalList view;
        view.resize(ui::twips::ToPixelsX(12000), ui::twips::ToPixelsY(8000));
        view.Form_Resize();
        using core::editor::Geo;
        const char* const labels[] = {"lblHdrEvent", "lblHdrFrom", "lblHdrTo", "lblHdrName", "lblHdrPrj"};
        const double labelWidths[] = {2808, 1755, 1755, 2691, 2691};
        const double columnWidths[] = {2744.4, 1715.25, 1715.25, 2630.05, 2630.05};
        const double pixel = ui::twips::FromPixelsX(1);
        for (int k = 0; k < 5; ++k) {
            QVERIFY(qAbs(Geo(view.findChild<QWidget*>(labels[k])).width - labelWidths[k]) <= pixel);
            QVERIFY(qAbs(view.lvResult->columnWidthTwips(k) - columnWidths[k]) <= pixel);
        }
        const auto list = Geo(view.lvResult);
        const auto frame = Geo(view.findChild<QWidget*>("shpResult"));
        QVERIFY(qAbs(list.top - 1320) <= pixel);
        QVERIFY(qAbs(frame.top - (list.top - 255)) <= pixel);
        QVERIFY(qAbs(frame.bottom() - (list.bottom() + 15)) <= pixel);
    }
};

POMARET_TEST(frmCalListTest)
#include "tst_frmCalList.moc"
