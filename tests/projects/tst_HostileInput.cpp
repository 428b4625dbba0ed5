// Hostile text typed and pasted into the new-project dialog, every profile box of the project
// editor, its "New:" box and comment and its user-field dialog, and picked from the status and type
// lists: what is stored is what the box held, nothing else changes, no error is logged or shown, and
// the editor, the projects list and its export show afterwards what is stored.
#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "projects/frmProjEntry.h"
#include "shell/frmMain.h"
#include "support/HostileInput.h"
#include "support/ListScreenCheck.h"
#include "support/TestRegistry.h"

using namespace testsupport::hostile;

class HostileProjectsTest : public Case {
    Q_OBJECT

    QWidget* openProjectsList() {
        modGeneral::CloseAllChildForms();
        settle();
        return ui::ScreenRegistry::instance().open(QStringLiteral("frmProjects"));
    }

private Q_SLOTS:
    void init() { Case::init(); }
    void cleanup() { Case::cleanup(); }

    // A new project's name is stored as the box held it, beside a project of the same name, and the
    // editor opens on it showing it.
    void newProject_data() { AddRows(); }
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
        // The projects list shows the "Default" one under that name, and exports it so.
        QWidget* list = openProjectsList();
        QCOMPARE(testsupport::Keys(*testsupport::ResultList(list)), QStringList{"ID5"});
        QCOMPARE(testsupport::ResultList(list)->text(0, 0), typed);
        checkExport(list);
        checkNoErrors();
    }

    // Every profile box typed into: the budget, the one box a user types in, is stored as it holds
    // it; the others are filled from their pickers and stay as they were. A status and a type holding
    // the text, picked from their lists, are stored and shown as listed. The projects list shows and
    // exports them so.
    void projectProfile_data() { AddRows(); }
    void projectProfile() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        const QString item = Expected(text, true, false, 100);  // as a pick-list item holds it
        f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('PSTAT', ?), ('PTYPE', ?)",
                        {item, item});
        f->db().Execute(
            "INSERT INTO Projects (ProjID, PName, Setting, Budget, StartDate) "
            "VALUES (1, 'Roof', 'Default', '1', '2026-03-07')");
        f->db().Execute(
            "INSERT INTO Projects (ProjID, PName, Setting, Budget) VALUES (2, 'Barn', 'Default', '2')");
        const auto other = rows("SELECT * FROM Projects WHERE ProjID = 2");
        start();
        frmProjEntry* e = openProject(1);
        QVERIFY(e);
        QStringList shown;
        for (int i = 0; i < frmProjEntry::kBoxCount; ++i) {
            const QString was = e->Text1Text(i);
            Enter(e->Text1(i), text, pasted);
            if (i != 5) QCOMPARE(e->Text1Text(i), was);
            shown << e->Text1Text(i);
        }
        const QString typed = shown[5];
        QCOMPARE(typed, Expected(text, pasted, false, 15));
        QVERIFY(WholeCharacters(typed));
        e->Text1(0)->setFocus();
        settle();
        // An empty budget is never stored: the box shows the stored one again.
        const QString budget = typed.isEmpty() ? QString("1") : typed;
        QCOMPARE(stored("SELECT Budget FROM Projects WHERE ProjID = 1").toString(), budget);

        for (const auto& [icon, list] : {std::pair{0, "lstStatus"}, std::pair{1, "lstPrjType"}}) {
            QTest::mouseClick(e->findChild<QLabel*>(QString("picPop(%1)").arg(icon)), Qt::LeftButton);
            auto* lst = e->findChild<ui::ListBox*>(list);
            QVERIFY(lst->isVisible());
            const QModelIndex entry = lst->model()->index(lst->findText(item), 0);
            QVERIFY(entry.isValid());
            lst->scrollTo(entry);
            QTest::mouseClick(lst->viewport(), Qt::LeftButton, {}, lst->visualRect(entry).center());
            settle();
        }
        QCOMPARE(texts("SELECT Status, PrjType, Budget FROM Projects WHERE ProjID = 1"),
                 (QList<QStringList>{{item, item, budget}}));
        e = openProject(1);
        QCOMPARE(QStringList({e->Text1Text(1), e->Text1Text(2), e->Text1Text(5)}),
                 QStringList({item, item, budget}));
        QCOMPARE(rows("SELECT * FROM Projects WHERE ProjID = 2"), other);

        QWidget* list = openProjectsList();
        const ui::ListView* lv = testsupport::ResultList(list);
        QCOMPARE(testsupport::Keys(*lv), QStringList({"ID2", "ID1"}));  // by name: Barn, Roof
        QCOMPARE(QStringList({lv->text(1, 0), lv->text(1, 1), lv->text(1, 3), lv->text(1, 4)}),
                 QStringList({"Roof", "03/07/2026", item, item}));
        checkExport(list);

        // The home screen lists it with its status.
        modGeneral::CloseAllChildForms();
        settle();
        QWidget* home = ui::ScreenRegistry::instance().open(QStringLiteral("frmHome"));
        const auto* projects = home->findChild<ui::ListView*>("lvProjects");
        const int at = testsupport::Keys(*projects).indexOf("ID1");
        QVERIFY(at >= 0);
        QCOMPARE(QStringList({projects->text(at, 0), projects->text(at, 1)}),
                 QStringList({"Roof", "* " + item}));
        checkNoErrors();
    }

    // The project editor's "New:" box and its comment: filed and stored as the boxes hold them (CR LF
    // line breaks), listed and shown so again.
    void projectNoteAndComment_data() { AddRows(); }
    void projectNoteAndComment() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (1, 'Roof', 'Default')");
        start();
        frmProjEntry* e = openProject(1);
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
        e = openProject(1);
        QCOMPARE(BoxText(e->findChild<QPlainTextEdit*>("txtComments")), typed);
        checkNoErrors();
    }

    // A field named with the text gets the text as its value; see Case::userFieldsOf.
    void projectUserFields_data() { AddRows(); }
    void projectUserFields() { userFieldsOf(true); }
};

POMARET_TEST(HostileProjectsTest)
#include "tst_HostileInput.moc"
