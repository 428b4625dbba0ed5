#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <memory>

#include "core/Trap.h"
#include "core/modGeneral.h"
#include "items/ItemDialog.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");

// Stands in for an open contact or project editor: counts the reloads the main window asks of it.
class EditorDouble : public QWidget {
    Q_OBJECT

public:
    explicit EditorDouble(const QString& name) { setObjectName(name); }
    int userDefLoads = 0;
    int relContactLoads = 0;
    Q_INVOKABLE void LoadUserDefInfo() { ++userDefLoads; }
    Q_INVOKABLE void LoadRelContactInfo() { ++relContactLoads; }
};

QWidget* Open(const QString& name) {
    return ui::ScreenRegistry::instance().find(name);
}

}  // namespace

// The main window's commands driven as a user would: menus, shortcuts typed into the search box,
// toolbar buttons, the name search and the editors' pop-up menus.
class frmMainCommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    frmMain& start() {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        return *w;
    }
    QLineEdit* search() const { return w->findChild<QLineEdit*>(QStringLiteral("txtSrch")); }
    QAction* action(const QString& name) const { return w->findChild<QAction*>(name); }
    // Gives the search box the keyboard, as a user clicking into it would.
    void focusSearch() {
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        search()->setFocus();
    }
    void addContact(int id, const QString& shownName) {
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (?, 'C', 'Default', ?)",
            {id, shownName});
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }

    void commandsOpenTheirForm_data() {
        QTest::addColumn<QString>("item");       // menu item or toolbar key, triggered when no keys are given
        QTest::addColumn<QKeySequence>("keys");  // typed with the focus in the search box
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("dialog");
        QTest::addColumn<int>("mode");        // g_lngEntryMode afterwards (2 before); an item dialog's own
        QTest::addColumn<QString>("screen");  // g_strCurScreen afterwards ("Before" before)

        const QKeySequence none;
        QTest::newRow("Ctrl+H") << "" << QKeySequence(Qt::CTRL | Qt::Key_H) << "frmHome" << false << 2
                                << "Home";
        QTest::newRow("F4") << "" << QKeySequence(Qt::Key_F4) << "frmNames" << false << 2 << "";
        QTest::newRow("F5") << "" << QKeySequence(Qt::Key_F5) << "frmProjects" << false << 2 << "";
        QTest::newRow("F6") << "" << QKeySequence(Qt::Key_F6) << "frmCalMnth" << false << 2 << "CMnth";
        QTest::newRow("F7") << "" << QKeySequence(Qt::Key_F7) << "frmToDoList" << false << 2 << "ToDo";
        QTest::newRow("F2") << "" << QKeySequence(Qt::Key_F2) << "frmContQry" << false << 2 << "";
        QTest::newRow("F3") << "" << QKeySequence(Qt::Key_F3) << "frmProjQry" << false << 2 << "";
        QTest::newRow("Ctrl+N") << "" << QKeySequence(Qt::CTRL | Qt::Key_N) << "frmNewName" << true << 2
                                << "Before";
        QTest::newRow("Ctrl+R") << "" << QKeySequence(Qt::CTRL | Qt::Key_R) << "frmNewProject" << true << 2
                                << "Before";
        QTest::newRow("Ctrl+O") << "" << QKeySequence(Qt::CTRL | Qt::Key_O) << "frmNotes" << true << 0
                                << "Before";
        QTest::newRow("Ctrl+T") << "" << QKeySequence(Qt::CTRL | Qt::Key_T) << "frmToDo" << true << 0
                                << "Before";
        QTest::newRow("Ctrl+A") << "" << QKeySequence(Qt::CTRL | Qt::Key_A) << "frmAppt" << true << 0
                                << "Before";
        QTest::newRow("Preferences") << "mnuEditPrefer" << none << "frmPreference" << true << 2 << "Before";
        QTest::newRow("Set/Edit Password") << "mnuEditPwd" << none << "frmSecurity" << true << 0 << "Before";
        QTest::newRow("button Names") << "Names" << none << "frmNames" << false << 2 << "";
        QTest::newRow("button Prj") << "Prj" << none << "frmProjects" << false << 2 << "";
        QTest::newRow("button Cal") << "Cal" << none << "frmCalMnth" << false << 2 << "CMnth";
        QTest::newRow("button ToDo") << "ToDo" << none << "frmToDoList" << false << 2 << "ToDo";
        QTest::newRow("button Home") << "Home" << none << "frmHome" << false << 2 << "Home";
        QTest::newRow("drpName") << "drpName" << none << "frmNewName" << true << 2 << "Before";
        QTest::newRow("drpPrj") << "drpPrj" << none << "frmNewProject" << true << 2 << "Before";
        QTest::newRow("drpNote") << "drpNote" << none << "frmNotes" << true << 0 << "Before";
        QTest::newRow("drpToDo") << "drpToDo" << none << "frmToDo" << true << 0 << "Before";
        QTest::newRow("drpAppt") << "drpAppt" << none << "frmAppt" << true << 0 << "Before";
    }
    void commandsOpenTheirForm() {
        QFETCH(QString, item);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, form);
        QFETCH(bool, dialog);
        QFETCH(int, mode);
        QFETCH(QString, screen);
        start();
        // Something open beforehand, which a screen switch closes and a dialog leaves alone.
        ui::ScreenRegistry::instance().open(QStringLiteral("frmNames"));
        QWidget* before = Open(QStringLiteral("frmNames"));
        QVERIFY(before);
        g_lngEntryMode = 2;
        g_strCurScreen = QStringLiteral("Before");

        if (keys.isEmpty()) {
            QVERIFY(action(item));
            action(item)->trigger();
        } else {
            focusSearch();
            QTest::keySequence(search(), keys);
        }

        QCOMPARE(f->prompts().count(), 0);
        QWidget* opened = Open(form);
        QVERIFY2(opened, qPrintable(form));
        // An item dialog is handed its mode; the program-wide one is left alone.
        if (auto* item = qobject_cast<ItemDialog*>(opened)) {
            QCOMPARE(item->EntryMode(), mode);
            QCOMPARE(g_lngEntryMode, 2);
        } else if (opened->property("m_lngEntryMode").isValid()) {
            QCOMPARE(opened->property("m_lngEntryMode").toInt(), mode);
            QCOMPARE(g_lngEntryMode, 2);
        } else {
            QCOMPARE(g_lngEntryMode, mode);
        }
        QCOMPARE(g_strCurScreen, screen);
        if (dialog) {
            auto* box = qobject_cast<QDialog*>(opened);
            QVERIFY(box);
            QCOMPARE(box->parentWidget(), w.get());
            QVERIFY(!box->isModal());
            QVERIFY(box->isVisible());
            QCOMPARE(Open(QStringLiteral("frmNames")), before);
        } else {
            QCOMPARE(w->MdiArea()->subWindowList().size(), 1);
            QCOMPARE(w->MdiArea()->subWindowList().first()->widget(), opened);
            if (form != QLatin1String("frmNames")) QVERIFY(!Open(QStringLiteral("frmNames")));
        }
        QCOMPARE(search()->text(), QString());
    }

    void newButtonItselfOpensNothing() {
        start();
        const auto formsBefore = ui::ScreenRegistry::instance().openForms();
        action(QStringLiteral("New"))->trigger();
        QCOMPARE(ui::ScreenRegistry::instance().openForms(), formsBefore);
        QCOMPARE(f->prompts().count(), 0);
    }

    void aboutIsModalWithoutOwner() {
        start();
        bool modal = false;
        bool ownerless = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || box->objectName() != QStringLiteral("frmAbout")) return;
            modal = true;
            ownerless = box->parentWidget() == nullptr;
            box->close();
        });
        action(QStringLiteral("mnuHelpAbout"))->trigger();
        QVERIFY(modal);
        QVERIFY(ownerless);
    }

    void recordCommandsWaitForAnEditor() {
        start();
        g_strCurScreen = QStringLiteral("CEnt");
        focusSearch();
        QTest::keySequence(search(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QTest::keySequence(search(), QKeySequence(Qt::CTRL | Qt::Key_E));
        action(QStringLiteral("Print"))->trigger();
        QCOMPARE(f->prompts().count(), 0);
        QVERIFY(!Open(QStringLiteral("frmPrintContact")));
        QVERIFY(!Open(QStringLiteral("frmDelete")));
    }

    void printOpensTheReportOfTheEditor_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("report");  // empty: nothing opens
        QTest::newRow("menu, contact") << "mnuFilePrint"
                                       << "CEnt"
                                       << "frmPrintContact";
        QTest::newRow("button, project") << "Print"
                                         << "PEnt"
                                         << "frmPrintProject";
        QTest::newRow("menu, to-do list") << "mnuFilePrint"
                                          << "ToDo"
                                          << "";
    }
    void printOpensTheReportOfTheEditor() {
        QFETCH(QString, item);
        QFETCH(QString, screen);
        QFETCH(QString, report);
        start();
        w->SetContextCommandsEnabled(true);
        g_strCurScreen = screen;
        const int formsBefore = int(ui::ScreenRegistry::instance().openForms().size());
        action(item)->trigger();
        QCOMPARE(f->prompts().count(), 0);
        if (report.isEmpty()) {
            QCOMPARE(int(ui::ScreenRegistry::instance().openForms().size()), formsBefore);
        } else {
            QVERIFY(Open(report));
            QCOMPARE(Open(report)->parentWidget(), w.get());
        }
    }

    void deleteItemAsksFirst_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("type");  // frmDelete.m_intType; 0: not opened
        const QString contact = QStringLiteral(
            "Are you sure you want to DELETE this Contact File\nand all of their related components and "
            "files?\nThis deletion is final and cannot be reversed!");
        const QString project = QStringLiteral(
            "Are you sure you want to DELETE this Project File\nand all of it's related components and "
            "files?\nThis deletion is final and cannot be reversed!");
        QTest::newRow("contact, No") << "CEnt" << int(ui::Answer::No) << contact
                                     << "Warning : Deleting Contact Files" << 0;
        QTest::newRow("contact, Yes")
            << "CEnt" << int(ui::Answer::Yes) << contact << "Warning : Deleting Contact Files" << 1;
        QTest::newRow("project, Yes")
            << "PEnt" << int(ui::Answer::Yes) << project << "Warning : Deleting Project Files" << 2;
        QTest::newRow("home screen") << "Home" << 0 << ""
                                     << "" << 0;
    }
    void deleteItemAsksFirst() {
        QFETCH(QString, screen);
        QFETCH(int, answer);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(int, type);
        start();
        w->SetContextCommandsEnabled(true);
        g_strCurScreen = screen;
        if (answer) f->prompts().answer(ui::Answer(answer));
        action(QStringLiteral("mnuEditDelete"))->trigger();
        QCOMPARE(f->prompts().count(), answer ? 1 : 0);
        if (answer) {
            QCOMPARE(f->prompts().lastText(), text);
            QCOMPARE(f->prompts().lastTitle(), title);
            QCOMPARE(f->prompts().lastStyle(), ui::YesNo | ui::Critical | ui::DefaultButton2);
        }
        QWidget* progress = Open(QStringLiteral("frmDelete"));
        QCOMPARE(progress != nullptr, type != 0);
        if (progress) QCOMPARE(progress->property("m_intType").toInt(), type);
    }

    void nameSearch_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("button");   // tbrGo instead of Enter
        QTest::addColumn<QString>("form");  // opened; empty: the home screen stays
        QTest::addColumn<int>("contId");    // g_lngCurContID afterwards (0 before)
        QTest::addColumn<bool>("message");  // "No names match your criteria."

        QTest::addColumn<QStringList>("listed");  // keys on the results screen, in its order

        const QStringList none;
        QTest::newRow("empty box") << "" << false << "" << 0 << false << none;
        QTest::newRow("prefix, other case, several")
            << "BERG" << false << "frmNameSrchResult" << 0 << false << QStringList{"ID1", "ID2"};
        QTest::newRow("one by the button") << "berg, a" << true << "frmContEntry" << 1 << false << none;
        QTest::newRow("accented letter, other case") << "é" << false << "frmContEntry" << 3 << false << none;
        QTest::newRow("accent matters") << "e" << false << "" << 0 << true << none;
        QTest::newRow("apostrophe") << "O'N" << false << "frmContEntry" << 4 << false << none;
        QTest::newRow("star alone: everyone") << "*" << false << "frmNameSrchResult" << 0 << false
                                              << QStringList{"ID1", "ID2", "ID3", "ID4", "ID5", "ID6", "ID7"};
        QTest::newRow("question mark: one character")
            << "Sm?th" << false << "frmContEntry" << 7 << false << none;
        QTest::newRow("percent is itself") << "50%" << false << "frmContEntry" << 5 << false << none;
        QTest::newRow("underscore is itself") << "50_" << false << "" << 0 << true << none;
        QTest::newRow("none") << "Xavier" << true << "" << 0 << true << none;
    }
    void nameSearch() {
        QFETCH(QString, typed);
        QFETCH(bool, button);
        QFETCH(QString, form);
        QFETCH(int, contId);
        QFETCH(bool, message);
        QFETCH(QStringList, listed);
        addContact(1, QStringLiteral("Berg, Anna"));
        addContact(2, QStringLiteral("Bergman Freight"));
        addContact(3, QStringLiteral("Émile Bakery"));
        addContact(4, QStringLiteral("O'Neil, Sean"));
        addContact(5, QStringLiteral("50% Co"));
        addContact(6, QStringLiteral("500 Co"));
        addContact(7, QStringLiteral("Smith, John"));
        start();
        QWidget* home = Open(QStringLiteral("frmHome"));
        search()->setText(typed);
        if (message) f->prompts().answer(ui::Answer::OK);

        if (button)
            action(QStringLiteral("Find"))->trigger();
        else
            QTest::keyClick(search(), Qt::Key_Return);

        QCOMPARE(f->prompts().count(), message ? 1 : 0);
        if (message) {
            QCOMPARE(f->prompts().lastText(), QStringLiteral("No names match your criteria."));
            QCOMPARE(f->prompts().lastTitle(), kTitle);
            QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        }
        QCOMPARE(g_lngCurContID, contId);
        if (form.isEmpty()) {
            QCOMPARE(Open(QStringLiteral("frmHome")), home);
            QCOMPARE(w->MdiArea()->subWindowList().size(), 1);
        } else {
            QVERIFY(Open(form));
            QCOMPARE(w->MdiArea()->subWindowList().size(), 1);
        }
        // The results screen lists what the search itself finds; the hand-over value is cleared
        // afterwards.
        if (form == QLatin1String("frmNameSrchResult")) {
            const auto* list = Open(form)->findChild<ui::ListView*>(QStringLiteral("lvResult"));
            QStringList keys;
            for (int r = 0; r < list->rowCount(); ++r) keys << list->key(r);
            QCOMPARE(keys, listed);
        }
        QCOMPARE(g_strNameSrchSQL, QString());
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    void userFieldDelete_data() {
        QTest::addColumn<bool>("project");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("editorOpen");
        QTest::newRow("contact, No") << false << false << true;
        QTest::newRow("contact, Yes") << false << true << true;
        QTest::newRow("contact, Yes, no editor") << false << true << false;
        QTest::newRow("project, No") << true << false << true;
        QTest::newRow("project, Yes") << true << true << true;
    }
    void userFieldDelete() {
        QFETCH(bool, project);
        QFETCH(bool, yes);
        QFETCH(bool, editorOpen);
        addContact(7, QStringLiteral("Smith, John"));
        f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (3, 'Roof Repair', 'Default')");
        const QString table = project ? QStringLiteral("PUFldValues") : QStringLiteral("CUFldValues");
        const QString owner = project ? QStringLiteral("fkProjID") : QStringLiteral("fkContID");
        for (const char* field : {"Birthday", "Hobby"}) {
            f->db().Execute(
                QStringLiteral("INSERT INTO %1 (%2, fkUserFld, Value) VALUES (?, ?, 'x')").arg(table, owner),
                {project ? 3 : 7, QString::fromLatin1(field)});
        }
        const int hobby = f->scalar("SELECT RefNum FROM " + table + " WHERE fkUserFld = 'Hobby'").toInt();
        start();
        g_lngCurContID = 7;
        g_lngCurProjID = 3;
        EditorDouble editor(project ? QStringLiteral("frmProjEntry") : QStringLiteral("frmContEntry"));
        if (editorOpen) ui::ScreenRegistry::instance().add(&editor);
        if (project) {
            w->m_lngProjUserFld = hobby;
            w->m_strProjUserFld = QStringLiteral("Hobby");
        } else {
            w->m_lngContUserFld = hobby;
            w->m_strContUserFld = QStringLiteral("Hobby");
        }

        f->prompts().answer(yes ? ui::Answer::Yes : ui::Answer::No);
        action(project ? QStringLiteral("mnuDelProjectFld") : QStringLiteral("mnuDelContactFld"))->trigger();

        QCOMPARE(f->prompts().lastText(),
                 project ? QStringLiteral("Are you sure you want to DELETE [ Hobby ]\n"
                                          "as a User Defined Field from project Roof Repair ?")
                         : QStringLiteral("Are you sure you want to DELETE [ Hobby ]\n"
                                          "as a User Defined Field from contact Smith, John ?"));
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(f->prompts().lastStyle(), ui::YesNo | ui::Question);
        QCOMPARE(f->rowCount(table, "fkUserFld = 'Birthday'"), 1);
        QCOMPARE(f->rowCount(table, "fkUserFld = 'Hobby'"), yes ? 0 : 1);
        QCOMPARE(editor.userDefLoads, yes && editorOpen ? 1 : 0);
        const QVariant number = project ? w->m_lngProjUserFld : w->m_lngContUserFld;
        const QVariant name = project ? w->m_strProjUserFld : w->m_strContUserFld;
        QCOMPARE(number.toInt(), yes ? 0 : hobby);
        QCOMPARE(name.toString(), yes ? QString() : QStringLiteral("Hobby"));
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    void relatedContactMemo_data() {
        QTest::addColumn<int>("subContId");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("memo");  // LinkMemo afterwards
        QTest::addColumn<int>("reloads");
        QTest::newRow("new text") << 8 << "Sister-in-law"
                                  << "Sister-in-law" << 1;
        QTest::newRow("empty answer keeps") << 8 << ""
                                            << "Cousin" << 0;
        QTest::newRow("no such link") << 9 << ""
                                      << "Cousin" << 1;
    }
    void relatedContactMemo() {
        QFETCH(int, subContId);
        QFETCH(QString, answer);
        QFETCH(QString, memo);
        QFETCH(int, reloads);
        f->db().Execute(
            "INSERT INTO RelateCont (MasterContID, SubContID, LinkMemo, SubContShowName) "
            "VALUES (7, 8, 'Cousin', 'Berg, Anna'), (8, 7, 'Other side', 'Smith, John')");
        start();
        EditorDouble editor(QStringLiteral("frmContEntry"));
        ui::ScreenRegistry::instance().add(&editor);
        g_lngCurContID = 7;
        w->m_lngRelContID = subContId;
        w->m_strOldRCMemo = QStringLiteral("Cousin");
        const bool asks = subContId == 8;
        if (asks) f->prompts().input(answer);

        action(QStringLiteral("mnuRCMemoPopEdit"))->trigger();

        QCOMPARE(f->prompts().count(), asks ? 1 : 0);
        if (asks) {
            QVERIFY(f->prompts().last().isInput);
            QCOMPARE(f->prompts().lastText(), QStringLiteral("Enter the new Related Contact Memo"));
            QCOMPARE(f->prompts().lastTitle(), QStringLiteral("Edit Related Contact Memo"));
            QCOMPARE(f->prompts().last().defaultText, QStringLiteral("Cousin"));
        }
        QCOMPARE(f->scalar("SELECT LinkMemo FROM RelateCont WHERE MasterContID = 7").toString(), memo);
        QCOMPARE(f->scalar("SELECT LinkMemo FROM RelateCont WHERE MasterContID = 8").toString(),
                 QStringLiteral("Other side"));
        QCOMPARE(editor.relContactLoads, reloads);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    void helpKeyOpensTheGuide_data() {
        QTest::addColumn<bool>("opens");
        QTest::newRow("opened") << true;
        QTest::newRow("nothing can show it") << false;
    }
    void helpKeyOpensTheGuide() {
        QFETCH(bool, opens);
        start();
        focusSearch();
        f->shell().setOpenSucceeds(opens);
        if (!opens) f->prompts().answer(ui::Answer::OK);
        QTest::keyClick(search(), Qt::Key_F1);
        QCOMPARE(f->shell().files().size(), 1);
        const QString guide = f->shell().files().first();
        QVERIFY2(guide.endsWith(QStringLiteral("/help/PomaretHelp.html")), qPrintable(guide));
        // A guide that could not be shown is not passed over in silence: the box names the file.
        QCOMPARE(f->prompts().count(), opens ? 0 : 1);
        if (!opens) {
            QVERIFY2(f->prompts().lastText().contains(QDir::toNativeSeparators(guide)),
                     qPrintable(f->prompts().lastText()));
            QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmMain.mnuHelpFiles_Click'"), 1);
        }
        // No source address is configured in a default build.
        QVERIFY(!action(QStringLiteral("mnuDownload"))->isVisible());
    }

    void failuresNameTheirCommand_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("procName");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("Names, two blanks") << "mnuViewNames"
                                           << "frmMain.mnuViewNames_Click"
                                           << "An un-known error occurred  while opening the Names Screen!";
        QTest::newRow("Home, two blanks") << "mnuViewHome"
                                          << "frmMain.mnuViewHome_Click"
                                          << "An un-known error occurred  while opening the Home Screen!";
        QTest::newRow("Note, two blanks")
            << "mnuEditNewNote"
            << "frmMain.mnuEditNewNote_Click"
            << "An un-known error occurred  while opening the Notes/Calls dialog!";
        QTest::newRow("toolbar button") << "Cal"
                                        << "frmMain.tbrMain_ButtonClick"
                                        << "An un-known error occurred!";
        QTest::newRow("drop-down item") << "drpAppt"
                                        << "frmMain.tbrMain_ButtonMenuClick"
                                        << "An un-known error occurred!";
        QTest::newRow("Find button") << "Find"
                                     << "frmMain.tbrGo_ButtonClick"
                                     << "An un-known error occurred while retrieving the Contact Name!";
    }
    void failuresNameTheirCommand() {
        QFETCH(QString, item);
        QFETCH(QString, procName);
        QFETCH(QString, firstLine);
        start();
        QWidget* home = Open(QStringLiteral("frmHome"));
        core::InjectFault(procName, 3021, QStringLiteral("Injected failure"));
        f->prompts().answer(ui::Answer::OK);
        action(item)->trigger();
        QCOMPARE(f->prompts().lastText(), firstLine + QStringLiteral("\nSorry for the inconvenience"));
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        QCOMPARE(f->rowCount("ErrLog", "ModName = ? AND ErrNum = 3021", {procName}), 1);
        // The screen stays as it was.
        QCOMPARE(Open(QStringLiteral("frmHome")), home);
    }

    void searchFailureIsOnlyLogged() {
        start();
        search()->setText(QStringLiteral("Berg"));
        core::InjectFault(QStringLiteral("frmMain.GetNamesList"), 3021, QStringLiteral("Injected failure"));
        QTest::keyClick(search(), Qt::Key_Return);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmMain.GetNamesList'"), 1);
    }
};

POMARET_TEST(frmMainCommandsTest)
#include "tst_frmMainCommands.moc"
