#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "core/modGeneral.h"
#include "items/ItemDialog.h"
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

// The to-do list opened by View > To Do, under a German locale: its views, cells and order, the
// to-do dialog opened from it and reloading it, and its export.
class ToDoListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    QWidget* viewToDo() {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        w->findChild<QAction*>(QStringLiteral("mnuViewToDo"))->trigger();
        return ui::ScreenRegistry::instance().find(QStringLiteral("frmToDoList"));
    }

    // Items with and without contact, project, due date and subject; a contact number with no contact.
    void seed() {
        f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (5, 'Berg, Anna')");
        f->db().Execute("INSERT INTO Projects (ProjID, PName) VALUES (7, 'Roof')");
        f->db().Execute(R"(INSERT INTO ToDo (RefNum, Subject, DueDate, fkContID, fkProjID, Private, Urgent,
            Completed) VALUES (1, 'Call back', '2026-01-05', 5, NULL, 0, -1, -1),
            (2, 'Order "tiles", grey', '2025-12-31', 0, 7, 0, 0, 0), (3, 'Plan', NULL, NULL, NULL, -1, 0, 0),
            (4, NULL, '2025-01-01', 5, 7, -1, -1, -1), (5, 'Pay', '2026-02-02', 99, NULL, 0, -1, 0))");
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w.reset();
        shell::SingleInstance::release();
        QLocale::setDefault(QLocale::c());
        f.reset();
    }

    // Oldest due date first, undated ones before; completed items under "All To Do's" too, urgent ones
    // whether completed or not; English day names; "Ready ..." on opening, the count after a choice.
    void views_data() {
        QTest::addColumn<int>("view");  // -1: as View > To Do opens
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("status");
        const QString plan = "ID3|Plan|||", order = "ID2|Order \"tiles\", grey||Roof|Wed 12/31/2025",
                      call = "ID1|Call back|Berg, Anna||Mon 01/05/2026", pay = "ID5|Pay|||Mon 02/02/2026";
        QTest::newRow("opened") << -1 << "" << QStringList{plan, order, call, pay} << "Ready ...";
        QTest::newRow("All To Do's") << 0 << "" << QStringList{plan, order, call, pay} << "Found: 4 Records";
        QTest::newRow("Completed To Do's") << 1 << "" << QStringList{call} << "Found: 1 Records";
        QTest::newRow("Private To Do's") << 2 << "" << QStringList{plan} << "Found: 1 Records";
        QTest::newRow("Urgent To Do's") << 3 << "" << QStringList{call, pay} << "Found: 2 Records";
        QTest::newRow("none completed")
            << 1 << "UPDATE ToDo SET Completed = 0" << QStringList{} << "Found: 0 Records";
    }
    void views() {
        QFETCH(int, view);
        QFETCH(QString, change);
        QFETCH(QStringList, rows);
        QFETCH(QString, status);
        seed();
        if (!change.isEmpty()) f->db().Execute(change);
        QWidget* list = viewToDo();
        QVERIFY(list);
        QCOMPARE(g_strCurScreen, QStringLiteral("ToDo"));
        if (view >= 0) testsupport::Choose(list, "cboView", view);

        QCOMPARE(Rows(*ResultList(list)), rows);
        QCOMPARE(w->StatusText(), status);
        QCOMPARE(f->prompts().count(), 0);
    }

    // The export writes the rows as shown, quotes doubled and commas kept inside them.
    void exportWritesTheRows() {
        seed();
        QWidget* list = viewToDo();
        QCOMPARE(testsupport::SaveAs(list, f->prompts()),
                 QByteArray("\"Subject\",\"Name\",\"Project\",\"Due Date\"\r\n"
                            "\"Plan\",\"\",\"\",\"\"\r\n"
                            "\"Order \"\"tiles\"\", grey\",\"\",\"Roof\",\"Wed 12/31/2025\"\r\n"
                            "\"Call back\",\"Berg, Anna\",\"\",\"Mon 01/05/2026\"\r\n"
                            "\"Pay\",\"\",\"\",\"Mon 02/02/2026\"\r\n"));
        QCOMPARE(f->prompts().lastText(), QStringLiteral("The File was Sucessfully Created and Saved."));
    }

    // A click opens the to-do dialog on the item over the list; its OK reloads the list in the view
    // chosen, with the new count. A click on no row only says so.
    void clickOpensTheItemAndOKReloads() {
        seed();
        QWidget* list = viewToDo();
        testsupport::Choose(list, "cboView", 3);  // Urgent: Call back, Pay
        ui::ListView* rows = ResultList(list);

        f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, QPoint(5, rows->viewport()->height() - 3));
        QCOMPARE(f->prompts().lastText(), QStringLiteral("There is nothing from the list to select"));
        QCOMPARE(f->rowCount("ErrLog"), 0);

        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->rowRect(1).center());
        auto* dialog = ui::ScreenRegistry::instance().find<ItemDialog>();
        QVERIFY(dialog);
        QCOMPARE(ui::ScreenRegistry::instance().openForms(), (QList<QWidget*>{list, dialog}));
        QCOMPARE(dialog->findChild<QLineEdit*>("Text1(0)")->text(), QStringLiteral("Pay"));

        dialog->findChild<QCheckBox*>("Check1(2)")->click();  // no longer urgent
        dialog->findChild<QPushButton*>("cmdOpts(3)")->click();
        QCOMPARE(Rows(*rows), QStringList{"ID1|Call back|Berg, Anna||Mon 01/05/2026"});
        QCOMPARE(w->StatusText(), QStringLiteral("Found: 1 Records"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(ui::ScreenRegistry::instance().openForms(), QList<QWidget*>{list});
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }
};

POMARET_TEST(ToDoListTest)
#include "tst_ToDoList.moc"
