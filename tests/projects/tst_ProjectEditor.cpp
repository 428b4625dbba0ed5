#include <sqlite3.h>

#include <SQLiteCpp/Database.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"
#include "projects/frmProjEntry.h"
#include "projects/frmSwtProject.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/LayoutCheck.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");

QStringList Entries(const ui::PickList& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.itemText(i);
    return out;
}

}  // namespace

// The project editor and the new-project dialog, driven through the real main window.
class ProjectEditorTest : public QObject {
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
    QAction* action(const char* name) const { return w->findChild<QAction*>(name); }
    int changes() { return sqlite3_total_changes(g_dbLocal->Connection().getHandle()); }
    void addProject(int id, const QString& name, const QString& setting = "Default") {
        f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (?, ?, ?)",
                        {id, name, setting});
    }
    frmProjEntry* open(int id) {
        g_lngCurProjID = id;
        modGeneral::CloseAllChildForms();
        settle();
        return qobject_cast<frmProjEntry*>(ui::ScreenRegistry::instance().open("frmProjEntry"));
    }
    static QLineEdit* box(frmProjEntry* e, int i) { return qobject_cast<QLineEdit*>(e->Text1(i)); }
    QString profile(frmProjEntry* e) {
        QStringList texts;
        for (int i = 0; i < frmProjEntry::kBoxCount; ++i) texts << e->Text1Text(i);
        return texts.join('|');
    }
    QString stored(const char* column, int id = 1) {
        return f->scalar(QString("SELECT %1 FROM Projects WHERE ProjID = ?").arg(column), {id}).toString();
    }
    void clickIcon(frmProjEntry* e, int icon) {
        QTest::mouseClick(e->findChild<QLabel*>(QString("picPop(%1)").arg(icon)), Qt::LeftButton);
    }
    void pick(ui::ListBox* list, const QString& entry) {
        const int row = Entries(*list).indexOf(entry);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
        settle();
    }
    QDialog* newProjectDialog() {
        return qobject_cast<QDialog*>(ui::ScreenRegistry::instance().find("frmNewProject"));
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        start();
    }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        settle();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }

    // The number is the largest present plus one; names may repeat. The row holds the name and the
    // setting only, and the editor replaces the screen that was shown.
    void newProject_data() {
        QTest::addColumn<QList<int>>("present");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<int>("expected");
        QTest::newRow("the first") << QList<int>{} << 0 << 1;
        QTest::newRow("after 3 and 7, of the same name") << QList<int>{3, 7} << 0 << 8;
        QTest::newRow("the highest deleted") << QList<int>{7, 8} << 8 << 8;
    }
    void newProject() {
        QFETCH(QList<int>, present);
        QFETCH(int, deleted);
        QFETCH(int, expected);
        for (int id : present) addProject(id, "Customer Audit");
        if (deleted) f->db().Execute("DELETE * FROM Projects WHERE ProjID = ?", {deleted});
        QPointer<QWidget> home = ui::ScreenRegistry::instance().find("frmHome");
        QVERIFY(home);

        action("mnuEditNewProject")->trigger();
        QPointer<QDialog> dlg = newProjectDialog();
        QVERIFY(dlg);
        QTest::keyClicks(dlg->findChild<QLineEdit*>("Text1"), "Customer Audit");
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
        settle();

        QVERIFY(!dlg);
        QVERIFY(!home);
        QCOMPARE(g_lngCurProjID, expected);
        QCOMPARE(f->rowCount("Projects", "PName = 'Customer Audit'"), present.size() + 1 - (deleted ? 1 : 0));
        QCOMPARE(f->rowCount("Projects",
                             "ProjID = ? AND Setting = 'Default' AND Status IS NULL AND PrjType IS NULL "
                             "AND StartDate IS NULL AND EndDate IS NULL AND Budget IS NULL",
                             {expected}),
                 1);
        auto* e = ui::ScreenRegistry::instance().find<frmProjEntry>();
        QVERIFY(e);
        QCOMPARE(profile(e), QString("Customer Audit||||||Default"));
        QCOMPARE(f->prompts().count(), 0);
    }

    void newProjectRefusesOnlyAnEmptyName() {
        action("mnuEditNewProject")->trigger();
        action("mnuEditNewProject")->trigger();
        int shown = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            shown += top->objectName() == "frmNewProject" && top->isVisible();
        QCOMPARE(shown, 1);

        QPointer<QDialog> dlg = newProjectDialog();
        f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(dlg->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
        QCOMPARE(f->prompts().lastText(), QString("You must enter a new project name."));
        QCOMPARE(f->prompts().lastTitle(), QString("Validate : Project Name"));
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Information);
        QCOMPARE(dlg->focusWidget(), dlg->findChild<QLineEdit*>("Text1"));
        QVERIFY(dlg->isVisible());

        QTest::keyClicks(dlg->findChild<QLineEdit*>("Text1"), "Kept back");
        QTest::keyClick(dlg, Qt::Key_Escape);
        settle();
        QVERIFY(!dlg);
        QCOMPARE(f->rowCount("Projects"), 0);
    }

    // While the editor is open the main window's record commands act on the project.
    void editorLoadsTheProfileAndOwnsTheRecordCommands() {
        f->db().Execute(
            "INSERT INTO Projects (ProjID, PName, Status, PrjType, StartDate, EndDate, Budget, Setting) "
            "VALUES (4, 'Roof Repair', 'Working', 'Outside', ?, ?, '12,500', 'Hidden')",
            {QDate(2026, 3, 5), QDate(2026, 11, 20)});
        const auto commands = [this] {
            QList<bool> on{action("mnuFilePrint")->isEnabled(), action("mnuEditDelete")->isEnabled(),
                           w->findChild<QToolBar*>("tbrMain")->actions().at(6)->isEnabled()};
            return on;
        };
        frmProjEntry* e = open(4);
        QVERIFY(e);
        QCOMPARE(profile(e), QString("Roof Repair|Working|Outside|03/05/2026|11/20/2026|12,500|Hidden"));
        QCOMPARE(g_strCurScreen, QString("PEnt"));
        QCOMPARE(w->findChild<QWidget*>("picStatus")->palette().color(QPalette::Window), QColor(160, 89, 42));
        QCOMPARE(commands(), QList<bool>({true, true, true}));
        // Only the budget is typed.
        for (int i = 0; i < frmProjEntry::kBoxCount; ++i) QCOMPARE(box(e, i)->isReadOnly(), i != 5);

        action("mnuViewHome")->trigger();
        settle();
        QCOMPARE(commands(), QList<bool>({false, false, false}));
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // A pick writes its column at once; "<Add Field...>" opens the add dialog, whose OK adds to the
    // list and whose Cancel puts the list back on the project's value.
    void pickLists_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("message");
        QTest::newRow("status")
            << "lstStatus" << 0 << 1 << "Status"
            << "PSTAT"
            << "frmSetProjStatus"
            << "You Must Enter A Project Status Item|Validate : Project Status Item Description";
        QTest::newRow("type")
            << "lstPrjType" << 1 << 2 << "PrjType"
            << "PTYPE"
            << "frmSetProjType"
            << "You Must Enter A Project Type Item|Validate : Project Type Item Description";
    }
    void pickLists() {
        QFETCH(QString, list);
        QFETCH(int, icon);
        QFETCH(int, index);
        QFETCH(QString, column);
        QFETCH(QString, kind);
        QFETCH(QString, dialog);
        QFETCH(QString, message);
        addProject(1, "Roof Repair");
        f->db().Execute(QString("UPDATE Projects SET %1 = 'Closed' WHERE ProjID = 1").arg(column));
        frmProjEntry* empty = open(1);
        // A kind without items: the two fixed entries alone.
        QCOMPARE(Entries(*empty->findChild<ui::ListBox*>(list)), QStringList({"<Add Field...>", " "}));
        for (const QVariant& item : {QVariant("Working"), QVariant("Closed"), QVariant()})
            f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES (?, ?)", {kind, item});
        f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('GRP', 'Friends')");
        frmProjEntry* e = open(1);
        auto* lst = e->findChild<ui::ListBox*>(list);
        QCOMPARE(Entries(*lst), QStringList({"<Add Field...>", " ", "Closed", "Working"}));

        const int before = changes();
        clickIcon(e, icon);
        QVERIFY(lst->isVisible());
        QVERIFY(e->Text1(index)->hasFocus());
        pick(lst, "Working");
        QVERIFY(lst->isHidden());
        QCOMPARE(e->Text1Text(index), QString("Working"));
        QCOMPARE(stored(column.toLatin1()), QString("Working"));
        QCOMPARE(changes() - before, 1);
        clickIcon(e, icon);
        pick(lst, " ");
        QCOMPARE(stored(column.toLatin1()), QString(" "));

        clickIcon(e, icon);
        pick(lst, "<Add Field...>");
        QPointer<QDialog> add = qobject_cast<QDialog*>(ui::ScreenRegistry::instance().find(dialog));
        QVERIFY(add);
        QCOMPARE(stored(column.toLatin1()), QString(" "));
        f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(add->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
        QCOMPARE(f->prompts().lastText() + "|" + f->prompts().lastTitle(), message);
        QTest::keyClicks(add->findChild<QLineEdit*>("Text1"), "Done");
        QTest::mouseClick(add->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
        settle();
        QVERIFY(!add);
        QCOMPARE(Entries(*lst), QStringList({"<Add Field...>", " ", "Closed", "Done", "Working"}));

        clickIcon(e, icon);
        pick(lst, "<Add Field...>");
        add = qobject_cast<QDialog*>(ui::ScreenRegistry::instance().find(dialog));
        QTest::mouseClick(add->findChild<QAbstractButton*>("cmdOpts(1)"), Qt::LeftButton);
        settle();
        QCOMPARE(lst->text(), QString(" "));
        QCOMPARE(stored(column.toLatin1()), QString(" "));
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // A day picked is stored as a date and shown as the short date; a load shows it with two digits.
    void datePickers_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("column");
        QTest::newRow("start") << 2 << 3 << "mnvStart"
                               << "StartDate";
        QTest::newRow("end") << 3 << 4 << "mnvEnd"
                             << "EndDate";
    }
    void datePickers() {
        QFETCH(int, icon);
        QFETCH(int, index);
        QFETCH(QString, view);
        QFETCH(QString, column);
        addProject(1, "Roof Repair");
        frmProjEntry* e = open(1);
        auto* calendar = e->findChild<QCalendarWidget*>(view);
        clickIcon(e, icon);
        QVERIFY(calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), QDate(2026, 12, 8));  // today
        calendar->setSelectedDate(QDate(2027, 3, 5));
        QTest::keyClick(calendar->findChild<QTableView*>(), Qt::Key_Return);
        settle();

        QVERIFY(calendar->isHidden());
        QVERIFY(e->Text1(index)->hasFocus());
        QCOMPARE(e->Text1Text(index), QString("3/5/2027"));
        QCOMPARE(f->scalar(QString("SELECT %1 FROM Projects WHERE ProjID = 1").arg(column)),
                 QVariant(QDate(2027, 3, 5)));
        const int before = changes();
        e->Text1(0)->setFocus();
        e->LoadMainProjectInfo();
        QCOMPARE(e->Text1Text(index), QString("03/05/2027"));
        QCOMPARE(changes(), before);
    }

    // The budget is written as typed when the box is left, or when the editor closes with the focus in
    // it; never emptied, and never for a project that has gone.
    void budget_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("way");  // "leave", "home", "new project"; "deleted, ...": gone first
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("writes");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* tag, const char* typed, const char* way, const char* stored,
                            int writes, const char* message = "") {
            QTest::newRow(tag) << QString(typed) << QString(way) << QString(stored) << writes
                               << QString(message);
        };
        row("typed", "$ 12,500.00", "leave", "$ 12,500.00", 1);
        row("letter case only", "ABC", "leave", "ABC", 1);
        row("unchanged", "abc", "leave", "abc", 0);
        row("emptied", "", "leave", "abc", 0);
        row("past 15 characters", "1234567890abcdefgh", "leave", "1234567890abcde", 1);
        row("then View > Home", "99", "home", "99", 1);
        // "Project ..." makes the new project current before the editor closes: the budget still goes
        // to the project shown (the other write adds the new project).
        row("then Project ...", "99", "new project", "99", 2);
        // With the Setting dialog left open: the typing is not lost to the dialog's reload, whether
        // its OK, the screen switch or "Project ..." closes it.
        row("setting open, then its OK", "99", "setting, ok", "99", 2);
        row("setting open, then View > Home", "99", "setting, home", "99", 1);
        row("setting open, then Project ...", "99", "setting, new project", "99", 2);
        // The one row written is the error log's.
        row("project gone, left", "99", "deleted, leave", "", 1,
            "An un-known error occurred while updating the Project Budget record!\nSorry for the "
            "inconvenience");
        row("project gone, View > Home", "99", "deleted, home", "", 0);
    }
    void budget() {
        QFETCH(QString, typed);
        QFETCH(QString, way);
        QFETCH(QString, message);
        addProject(1, "Roof Repair");
        f->db().Execute("UPDATE Projects SET Budget = 'abc' WHERE ProjID = 1");
        frmProjEntry* e = open(1);
        QLineEdit* budget = box(e, 5);
        if (way.startsWith("setting")) {
            clickIcon(e, 4);
            QApplication::setActiveWindow(w.get());
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
        }
        budget->setFocus();
        QTest::keyClick(budget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(budget, Qt::Key_Delete);
        QTest::keyClicks(budget, typed);
        if (way.startsWith("deleted")) f->db().Execute("DELETE * FROM Projects WHERE ProjID = 1");
        if (!message.isEmpty()) f->prompts().answer(ui::Answer::OK);
        const int before = changes();
        if (way.endsWith("leave")) {
            e->Text1(0)->setFocus();
            settle();
            QCOMPARE(budget->text(), typed.isEmpty() ? QString("abc") : typed.left(15));
        } else if (way.endsWith("ok")) {
            auto* dialog = qobject_cast<QWidget*>(ui::ScreenRegistry::instance().find("frmSetting"));
            QApplication::setActiveWindow(dialog);
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QTest::mouseClick(dialog->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
        } else if (way.endsWith("home")) {
            action("mnuViewHome")->trigger();
        } else {
            action("mnuEditNewProject")->trigger();
            QTest::keyClicks(newProjectDialog()->findChild<QLineEdit*>("Text1"), "Barn");
            QTest::mouseClick(newProjectDialog()->findChild<QAbstractButton*>("cmdOpts(0)"), Qt::LeftButton);
            QCOMPARE(stored("Budget", 2), QString());
        }
        settle();
        QTEST(stored("Budget"), "stored");
        QTEST(changes() - before, "writes");
        QCOMPARE(f->prompts().count(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) QCOMPARE(f->prompts().lastText(), message);
        QCOMPARE(f->rowCount("ErrLog"), message.isEmpty() ? 0 : 1);
    }

    void switcherListsDefaultProjectsAndAsksFirst_data() {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void switcherListsDefaultProjectsAndAsksFirst() {
        QFETCH(bool, confirm);
        addProject(1, "Roof Repair");
        addProject(2, "Annex", "Hidden");
        addProject(3, "Barn");
        addProject(4, "Cellar", "Private");
        QPointer<frmProjEntry> e = open(2);
        // A hidden project opens, but the switcher neither lists it nor shows its name.
        QCOMPARE(e->Text1Text(0), QString("Annex"));
        QCOMPARE(e->cboProjList->currentText(), QString());
        QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(e->cboProjList, &tabIn);
        QStringList entries;
        for (int i = 0; i < e->cboProjList->count(); ++i)
            entries << QString("%1=%2").arg(e->cboProjList->itemText(i)).arg(e->cboProjList->itemData(i));
        QCOMPARE(entries, QStringList({"Barn=3", "Roof Repair=1"}));

        QTest::keyClick(e->cboProjList, Qt::Key_Down);
        auto* ask = ui::ScreenRegistry::instance().find<frmSwtProject>();
        QVERIFY(ask);
        QCOMPARE(ask->windowTitle(), QString("Load New Project"));
        QCOMPARE(ask->findChild<QLabel*>("Label1")->text(),
                 QString("Would you like to load this project information?"));
        QCOMPARE(ask->m_lngProjectID, 3);
        // Moved on while the question is open, the switcher comes back to the project asked about.
        QTest::keyClick(e->cboProjList, Qt::Key_Down);
        QCOMPARE(e->cboProjList->currentText(), QString("Barn"));
        QTest::mouseClick(ask->findChild<QAbstractButton*>(confirm ? "cmdOpts(0)" : "cmdOpts(1)"),
                          Qt::LeftButton);
        settle();

        auto* now = ui::ScreenRegistry::instance().find<frmProjEntry>();
        QCOMPARE(e.isNull(), confirm);
        QCOMPARE(g_lngCurProjID, confirm ? 3 : 2);
        QCOMPARE(now->Text1Text(0), QString(confirm ? "Barn" : "Annex"));
        if (confirm) QCOMPARE(now->cboProjList->currentText(), QString("Barn"));
        QCOMPARE(w->MdiArea()->subWindowList().size(), 1);
    }

    void layout_data() {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("12000 x 9000 twips") << false;
        QTest::newRow("maximised") << true;
    }
    void layout() {
        QFETCH(bool, maximised);
        testsupport::SizeMainWindow(*w, maximised);
        addProject(1, "Roof Repair");
        frmProjEntry* e = open(1);
        settle();
        const auto at = [e](const char* name) {
            QWidget* c = e->findChild<QWidget*>(name);
            return QRect(c->mapTo(e, QPoint(0, 0)), c->size());
        };
        const int px150 = ui::twips::ToPixelsX(150);
        const int px255 = ui::twips::ToPixelsY(255);
        const auto near = [](int a, int b) { return qAbs(a - b) <= 1; };

        auto* tabs = e->findChild<QTabBar*>("tbsMain");
        QWidget* comments = e->findChild<QWidget*>("picPane2");
        QWidget* history = e->findChild<QWidget*>("picPane3");
        QStringList overlaps = testsupport::Overlaps(e, {comments, history});
        tabs->setCurrentIndex(1);
        overlaps << testsupport::Overlaps(comments);
        tabs->setCurrentIndex(2);
        overlaps << testsupport::Overlaps(history);
        QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps.join("; ")));

        // Two equal columns right of the profile, the user fields under both.
        QVERIFY(near(at("lvHist").width(), at("txtNewNote").width()));
        QVERIFY(near(at("lvUserDef").width(), at("lvHist").width() + at("txtNewNote").width() + px150));
        QVERIFY(near(at("lvUserDef").right(), at("txtNewNote").right()));
        // The pickers open under their boxes, or beside the profile.
        for (const auto& [list, text] :
             {std::pair{"lstStatus", "Text1(1)"}, std::pair{"lstPrjType", "Text1(2)"}}) {
            QCOMPARE(at(list).left(), at(text).left());
            QCOMPARE(at(list).width(), at(text).width());
            QVERIFY(near(at(list).top(), at(text).top() + px255));
        }
        for (const char* view : {"mnvStart", "mnvEnd"})
            QCOMPARE(at(view).left(), at("picProfile").right() + 1);
        // The panes cover all below the banner; the tab strip keeps to the banner's right edge.
        for (QWidget* pane : {comments, history})
            QCOMPARE(pane->geometry(),
                     QRect(0, at("picBanner").height(), e->width(), e->height() - at("picBanner").height()));
        QCOMPARE(tabs->geometry().right(), at("picBanner").width() - 1);

        // Minimising moves nothing.
        QHash<QWidget*, QRect> before;
        for (QWidget* c : e->findChildren<QWidget*>()) before.insert(c, c->geometry());
        qobject_cast<QMdiSubWindow*>(e->parentWidget())->showMinimized();
        settle();
        for (QWidget* c : e->findChildren<QWidget*>()) QCOMPARE(c->geometry(), before.value(c));
    }
};

POMARET_TEST(ProjectEditorTest)
#include "tst_ProjectEditor.moc"
