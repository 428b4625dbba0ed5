#include <SQLiteCpp/Database.h>
#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "contacts/frmContEntry.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/MaintenanceScreens.h"
#include "shell/WindowDouble.h"
#include "shell/frmDelete.h"
#include "shell/frmHome.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");

const QStringList kTables = {"Contacts",    "CAddress",   "CPhone",        "CEMail",   "CComments",
                             "CUFldValues", "RelateCont", "RelateProject", "Projects", "PComments",
                             "PUFldValues", "ToDo",       "Appts",         "Attach",   "Remind"};

QStringList OpenFormNames() {
    QStringList names;
    for (QWidget* w : ui::ScreenRegistry::instance().openForms()) names << w->objectName();
    return names;
}

}  // namespace

// Edit > Delete Item's work: the whole file of contact 1 or project 10 goes, in one transaction,
// and nothing of their neighbours (contacts 2 and 3, project 11) does.
class FileDeletionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<WindowDouble> window;
    std::unique_ptr<frmMain> w;

    void run(const QString& sql, const QVariantList& params = {}) { f->db().Execute(sql, params); }
    int lastRefNum(const QString& table) {
        return f->scalar(QStringLiteral("SELECT MAX(RefNum) FROM %1").arg(table)).toInt();
    }
    void addToDo(int contId, int projId) {
        run(QStringLiteral(
                "INSERT INTO ToDo (Subject, fkContID, fkProjID, Remind) VALUES ('Call', ?, ?, True)"),
            {contId, projId});
        run(QStringLiteral("INSERT INTO Remind (RemDate, RemTime, fkToDoID, Type) VALUES (?, ?, ?, 'TD')"),
            {QDate(2026, 12, 9), QTime(9, 0), lastRefNum(QStringLiteral("ToDo"))});
    }
    void addAppt(int contId, int projId) {
        run(QStringLiteral(
                "INSERT INTO Appts (Subject, fkContID, fkProjID, Remind) VALUES ('Meet', ?, ?, True)"),
            {contId, projId});
        run(QStringLiteral("INSERT INTO Remind (RemDate, RemTime, fkApptID, Type) VALUES (?, ?, ?, 'AP')"),
            {QDate(2026, 12, 9), QTime(10, 0), lastRefNum(QStringLiteral("Appts"))});
    }
    // Contacts 1-3 and projects 10-11 with rows in every table, items shared between a contact and a
    // project, and links in both directions.
    void seed() {
        db::Transaction t(f->db());
        for (int c : {1, 2, 3}) {
            run(QStringLiteral(
                    "INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (?, 'C', 'Default', ?)"),
                {c, QStringLiteral("Contact %1").arg(c)});
            run(QStringLiteral(
                    "INSERT INTO CAddress (fkContID, fkLookup, Street) VALUES (?, 'Home', 'Main St')"),
                {c});
            run(QStringLiteral(
                    "INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (?, 'Home', '555-0100')"),
                {c});
            run(QStringLiteral(
                    "INSERT INTO CEMail (fkContID, fkLookup, Email) VALUES (?, 'Personal', 'a@b.c')"),
                {c});
            run(QStringLiteral("INSERT INTO CComments (fkContID, Comments) VALUES (?, 'comment')"), {c});
            run(QStringLiteral(
                    "INSERT INTO CUFldValues (fkContID, fkUserFld, Value) VALUES (?, 'Size', 'L')"),
                {c});
            run(QStringLiteral("INSERT INTO Attach (fkContID, NType, TextBody) VALUES (?, 'N', 'note')"),
                {c});
            addToDo(c, 0);
            addAppt(c, 0);
        }
        for (int p : {10, 11}) {
            run(QStringLiteral("INSERT INTO Projects (ProjID, PName, Setting) VALUES (?, ?, 'Default')"),
                {p, QStringLiteral("Project %1").arg(p)});
            run(QStringLiteral("INSERT INTO PComments (fkProjID, Comments) VALUES (?, 'comment')"), {p});
            run(QStringLiteral(
                    "INSERT INTO PUFldValues (fkProjID, fkUserFld, Value) VALUES (?, 'Phase', '1')"),
                {p});
            run(QStringLiteral("INSERT INTO Attach (fkProjID, NType, TextBody) VALUES (?, 'C', 'call')"),
                {p});
            addToDo(0, p);
            addAppt(0, p);
        }
        // Items of a contact within a project.
        addToDo(1, 11);
        addAppt(2, 10);
        run(QStringLiteral(
            "INSERT INTO Attach (fkContID, fkProjID, NType, TextBody) VALUES (1, 10, 'N', 'both')"));
        for (auto [master, sub] : {std::pair{1, 2}, {2, 1}, {2, 3}, {3, 1}}) {
            run(QStringLiteral("INSERT INTO RelateCont (MasterContID, SubContID) VALUES (?, ?)"),
                {master, sub});
        }
        for (auto [proj, cont] : {std::pair{10, 1}, {11, 1}, {10, 2}, {11, 3}}) {
            run(QStringLiteral("INSERT INTO RelateProject (fkProjID, fkContID) VALUES (?, ?)"), {proj, cont});
        }
        t.commit();
    }
    QHash<QString, int> totals() {
        QHash<QString, int> out;
        for (const QString& table : kTables) out.insert(table, f->rowCount(table));
        return out;
    }
    // Opens the progress window as the menu command does, and waits for it to finish.
    QList<QList<QVariant>> deleteFile(int type) {
        QPointer<QWidget> form =
            ui::ScreenRegistry::instance().open(QStringLiteral("frmDelete"), {{QStringLiteral("m_intType"), type}});
        if (!form) return {};
        QSignalSpy steps(qobject_cast<frmDelete*>(form.data()), &frmDelete::StepShown);
        if (!QTest::qWaitFor([&] { return form.isNull(); }, 5000)) qWarning("frmDelete did not close");
        return steps;
    }
    void openEditor(const QString& name, const QString& code) {
        auto* editor = new QWidget;
        editor->setObjectName(name);
        ui::ScreenRegistry::instance().showScreen(editor);
        g_strCurScreen = code;
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        ui::ScreenRegistry::instance().registerScreen(QStringLiteral("frmHome"), &frmHome::Open);
        shell::RegisterMaintenanceScreens();
        frmDelete::SetTickInterval(0);
        seed();
    }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w.reset();
        window.reset();
        shell::SingleInstance::release();
        frmDelete::SetTickInterval(800);
        f.reset();
    }

    void deletionTakesTheWholeFile_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("gone");  // "Table|condition" of the rows that must go
        QTest::addColumn<QString>("firstCaption");
        QTest::addColumn<int>("firstValue");
        QTest::addColumn<int>("stepCount");

        QTest::newRow("contact")
            << 1
            << QStringList{"Contacts|ContID = 1",
                           "CAddress|fkContID = 1",
                           "CPhone|fkContID = 1",
                           "CEMail|fkContID = 1",
                           "CComments|fkContID = 1",
                           "CUFldValues|fkContID = 1",
                           "Attach|fkContID = 1",
                           "ToDo|fkContID = 1",
                           "Appts|fkContID = 1",
                           "RelateCont|MasterContID = 1 OR SubContID = 1",
                           "RelateProject|fkContID = 1",
                           "Remind|fkToDoID IN (SELECT RefNum FROM ToDo WHERE fkContID = 1) "
                           "OR fkApptID IN (SELECT RefNum FROM Appts WHERE fkContID = 1)"}
            << "Deleting Contact file ..." << 9 << 11;
        QTest::newRow("project")
            << 2
            << QStringList{"Projects|ProjID = 10",
                           "PComments|fkProjID = 10",
                           "PUFldValues|fkProjID = 10",
                           "Attach|fkProjID = 10",
                           "ToDo|fkProjID = 10",
                           "Appts|fkProjID = 10",
                           "RelateProject|fkProjID = 10",
                           "Remind|fkToDoID IN (SELECT RefNum FROM ToDo WHERE fkProjID = 10) "
                           "OR fkApptID IN (SELECT RefNum FROM Appts WHERE fkProjID = 10)"}
            << "Deleting Project file ..." << 14 << 7;
    }
    void deletionTakesTheWholeFile() {
        QFETCH(int, type);
        QFETCH(QStringList, gone);
        QFETCH(QString, firstCaption);
        QFETCH(int, firstValue);
        QFETCH(int, stepCount);
        window = std::make_unique<WindowDouble>();
        g_lngCurContID = 1;
        g_lngCurProjID = 10;
        openEditor(type == 1 ? QStringLiteral("frmContEntry") : QStringLiteral("frmProjEntry"),
                   type == 1 ? QStringLiteral("CEnt") : QStringLiteral("PEnt"));
        const QHash<QString, int> before = totals();
        QHash<QString, int> going;
        for (const QString& entry : gone) {
            const QString table = entry.section(u'|', 0, 0);
            going[table] = f->rowCount(table, entry.section(u'|', 1));
            QVERIFY2(going[table] > 0, qPrintable(table));
        }

        f->prompts().answer(ui::Answer::OK);
        const QList<QList<QVariant>> steps = deleteFile(type);

        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), QStringLiteral("Delete Complete!"));
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        for (const QString& entry : gone) {
            QCOMPARE(f->rowCount(entry.section(u'|', 0, 0), entry.section(u'|', 1)), 0);
        }
        for (const QString& table : kTables) {
            QCOMPARE(f->rowCount(table), before[table] - going.value(table));
        }
        QCOMPARE(type == 1 ? g_lngCurContID : g_lngCurProjID, 0);
        QCOMPARE(OpenFormNames(), QStringList{"frmHome"});
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
        QVERIFY(!window->contextCommands);
        QCOMPARE(steps.size(), stepCount);
        QCOMPARE(steps.first().at(0).toString(), firstCaption);
        QCOMPARE(steps.first().at(1).toInt(), firstValue);
        QCOMPARE(steps.last().at(1).toInt(), 100);
    }

    // The last step fails: every step before it is rolled back with it.
    void failureAtTheLastStepKeepsEveryRow_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("procName");
        QTest::newRow("contact") << 1 << "frmDelete.DeleteContact";
        QTest::newRow("project") << 2 << "frmDelete.DeleteProject";
    }
    void failureAtTheLastStepKeepsEveryRow() {
        QFETCH(int, type);
        QFETCH(QString, procName);
        window = std::make_unique<WindowDouble>();
        g_lngCurContID = 1;
        g_lngCurProjID = 10;
        openEditor(QStringLiteral("frmContEntry"), QStringLiteral("CEnt"));
        f->db().Connection().exec(
            "CREATE TRIGGER KeepLinks BEFORE DELETE ON RelateProject BEGIN SELECT RAISE(ABORT, 'links are "
            "kept'); END");
        const QHash<QString, int> before = totals();

        f->prompts().answer(ui::Answer::OK);
        const QList<QList<QVariant>> steps = deleteFile(type);

        QVERIFY(f->prompts().lastText().startsWith(QStringLiteral("The following Error occurred:")));
        QVERIFY(f->prompts().lastText().contains(QStringLiteral("links are kept")));
        QCOMPARE(steps.last().at(1).toInt(), 100);
        QCOMPARE(totals(), before);
        QCOMPARE(f->rowCount(QStringLiteral("ErrLog"), QStringLiteral("ModName = ?"), {procName}), 1);
        QCOMPARE(g_lngCurContID, 1);
        QCOMPARE(g_lngCurProjID, 10);
        QCOMPARE(OpenFormNames(), QStringList{"frmContEntry"});
        QCOMPARE(window->status, QStringLiteral("Ready ..."));
        QVERIFY(window->contextCommands);
    }

    // Through the main window: the warning, the number as it was when the user said Yes, and the
    // record commands disabled afterwards.
    void deleteItemFromTheMainWindow() {
        w = std::make_unique<frmMain>();
        QCOMPARE(w->MDIForm_Load(), frmMain::LoadResult::Running);
        ui::ScreenRegistry::instance().open(QStringLiteral("frmContEntry"));
        QCOMPARE(g_strCurScreen, QStringLiteral("CEnt"));
        w->SetContextCommandsEnabled(true);
        g_lngCurContID = 1;

        f->prompts().answer(ui::Answer::Yes).answer(ui::Answer::OK);
        w->findChild<QAction*>(QStringLiteral("mnuEditDelete"))->trigger();
        QPointer<QWidget> progress = ui::ScreenRegistry::instance().find(QStringLiteral("frmDelete"));
        QVERIFY(progress);
        QCOMPARE(progress->windowModality(), Qt::ApplicationModal);
        QCOMPARE(QApplication::activeModalWidget(), progress.data());
        // Whatever changes the current contact afterwards, the confirmed one is deleted.
        g_lngCurContID = 2;
        QVERIFY(QTest::qWaitFor([&] { return progress.isNull(); }, 5000));

        QCOMPARE(f->prompts().lastText(), QStringLiteral("Delete Complete!"));
        QCOMPARE(f->rowCount(QStringLiteral("Contacts"), QStringLiteral("ContID = 1")), 0);
        QCOMPARE(f->rowCount(QStringLiteral("Contacts"), QStringLiteral("ContID = 2")), 1);
        QCOMPARE(g_lngCurContID, 0);
        QCOMPARE(OpenFormNames(), QStringList{"frmHome"});
        QVERIFY(!w->findChild<QAction*>(QStringLiteral("mnuFilePrint"))->isEnabled());
        QVERIFY(!w->findChild<QAction*>(QStringLiteral("mnuEditDelete"))->isEnabled());
        QCOMPARE(w->StatusText(), QStringLiteral("Ready ..."));
    }

    // The real editor still holds a typed phone, a changed comment and a note in "New:" when the
    // deletion closes it: none of them outlives the contact (its number goes to the next new contact),
    // and no box follows "Delete Complete!".
    void deleteItemDropsWhatTheEditorStillHolds() {
        w = std::make_unique<frmMain>();
        QCOMPARE(w->MDIForm_Load(), frmMain::LoadResult::Running);
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        g_lngCurContID = 1;
        auto* editor =
            qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open(QStringLiteral("frmContEntry")));
        QVERIFY(editor);
        QTest::keyClicks(editor->findChild<QPlainTextEdit*>(QStringLiteral("txtComments")),
                         QStringLiteral("more "));
        QTest::keyClicks(editor->findChild<QPlainTextEdit*>(QStringLiteral("txtNewNote")),
                         QStringLiteral("Rang"));
        QWidget* workPhone = editor->Text1(10);
        workPhone->setFocus();
        QVERIFY(workPhone->hasFocus());
        QTest::keyClicks(workPhone, QStringLiteral("555-0199"));

        f->prompts().answer(ui::Answer::Yes).answer(ui::Answer::OK);
        w->findChild<QAction*>(QStringLiteral("mnuEditDelete"))->trigger();
        QPointer<QWidget> progress = ui::ScreenRegistry::instance().find(QStringLiteral("frmDelete"));
        QVERIFY(progress);
        QVERIFY(QTest::qWaitFor([&] { return progress.isNull(); }, 5000));
        QCoreApplication::sendPostedEvents();  // boxes queued by the editor's writers

        QCOMPARE(f->prompts().lastText(), QStringLiteral("Delete Complete!"));
        QCOMPARE(f->prompts().count(), 2);
        QCOMPARE(OpenFormNames(), QStringList{"frmHome"});
        // Every column that holds a contact number: ContID, fkContID, MasterContID, SubContID.
        int keyColumns = 0;
        for (const db::TableDef& table : f->db().TableDefs()) {
            for (const db::Field& field : table.fields) {
                if (!field.name.endsWith(QStringLiteral("ContID"), Qt::CaseInsensitive)) continue;
                ++keyColumns;
                QVERIFY2(f->rowCount(table.name, field.name + QStringLiteral(" = 1")) == 0,
                         qPrintable(table.name + u'.' + field.name));
            }
        }
        QVERIFY(keyColumns >= 12);
        QCOMPARE(f->rowCount(QStringLiteral("ErrLog")), 0);
    }

    // The warning's default is No: Enter typed on right after Ctrl+E deletes nothing.
    void enterOnTheWarningKeepsTheFile_data() {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("title");
        QTest::newRow("contact") << "frmContEntry"
                                 << "CEnt"
                                 << "Warning : Deleting Contact Files";
        QTest::newRow("project") << "frmProjEntry"
                                 << "PEnt"
                                 << "Warning : Deleting Project Files";
    }
    void enterOnTheWarningKeepsTheFile() {
        QFETCH(QString, editor);
        QFETCH(QString, code);
        QFETCH(QString, title);
        w = std::make_unique<frmMain>();
        QCOMPARE(w->MDIForm_Load(), frmMain::LoadResult::Running);
        openEditor(editor, code);
        w->SetContextCommandsEnabled(true);
        g_lngCurContID = 1;
        g_lngCurProjID = 10;
        const QHash<QString, int> before = totals();

        f->prompts().answerDefault();
        w->findChild<QAction*>(QStringLiteral("mnuEditDelete"))->trigger();
        QCoreApplication::processEvents();

        QCOMPARE(f->prompts().lastTitle(), title);
        QCOMPARE(f->prompts().lastDefault(), ui::Answer::No);
        QVERIFY(!ui::ScreenRegistry::instance().find(QStringLiteral("frmDelete")));
        QCOMPARE(totals(), before);
        QVERIFY(OpenFormNames().contains(editor));
    }
};

POMARET_TEST(FileDeletionTest)
#include "tst_FileDeletion.moc"
