// The main window's commands: menus, toolbars, the name search and the pop-up menus that the editors
// show over their lists.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMetaObject>
#include <QStringList>
#include <QToolBar>
#include <QUrl>
#include <functional>
#include <stdexcept>

#include "calendar/CalendarScreens.h"
#include "contacts/ContactScreens.h"
#include "contacts/frmNewName.h"
#include "core/Clock.h"
#include "core/CoreScreens.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "items/ItemScreens.h"
#include "platform/Error.h"
#include "platform/db/Database.h"
#include "platform/shell/Shell.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "projects/ProjectScreens.h"
#include "reports/ReportScreens.h"
#include "shell/Maintenance.h"
#include "shell/MaintenanceScreens.h"
#include "shell/PlaceholderScreen.h"
#include "shell/frmHome.h"
#include "shell/frmMain.h"

#ifndef POMARET_SOURCE_URL
#define POMARET_SOURCE_URL ""
#endif

using core::Tail;

namespace {

// ---------------------------------------------------------------------------------------------
// Stand-ins for the screens and dialogs that later versions build. A real form registers its own
// opener under the same name and replaces the stand-in.

enum class Kind { Screen, Dialog, ModalDialog };

struct StandIn {
    const char* name;
    const char* caption;
    Kind kind;
    const char* screenCode;  // what the screen sets as the active-screen code when it loads
};

constexpr StandIn kStandIns[] = {
    {"frmHome", "Home Page", Kind::Screen, "Home"},
    {"frmContEntry", "Contact Information", Kind::Screen, "CEnt"},
    {"frmNewName", "Set Up New Name", Kind::Dialog, nullptr},
    {"frmPreference", "Preferences", Kind::Dialog, nullptr},
    {"frmSecurity", "Program Security", Kind::Dialog, nullptr},
    {"frmDelete", "Delete Contact or Project File", Kind::Dialog, nullptr},
    {"frmAbout", "About Pomaret", Kind::ModalDialog, nullptr},
};

frmMain* MainFrame() {
    core::MainWindowLink* link = core::MainWindow();
    return link ? qobject_cast<frmMain*>(link->Widget()) : nullptr;
}

// A stand-in takes what its opener hands over as properties of the members' names, for it to show
// and for tests to read, before it is shown.
void TakeValues(QWidget* form, const ui::OpenValues& values) {
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        form->setProperty(it.key().toLatin1(), it.value());
}

// "m_lngEntryMode = 2, m_lngApptID = 12": what a stand-in dialog shows it was handed.
QString ValuesText(const ui::OpenValues& values) {
    QStringList parts;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        parts << it.key() + QStringLiteral(" = ") + it.value().toString();
    return parts.join(QStringLiteral(", "));
}

QWidget* OpenStandIn(const StandIn& s, const ui::OpenValues& values) {
    const QString name = QString::fromLatin1(s.name);
    const QString caption = QString::fromLatin1(s.caption);
    frmMain* window = MainFrame();
    switch (s.kind) {
        case Kind::Screen: {
            if (!window) return nullptr;
            auto* screen = new PlaceholderScreen(name, caption);
            TakeValues(screen, values);
            // What the real screens read while they load.
            if (name == QLatin1String("frmContEntry")) {
                screen->SetDetail(QStringLiteral("Contact number ") + QString::number(g_lngCurContID));
            }
            window->ShowScreen(screen);
            g_strCurScreen = QString::fromLatin1(s.screenCode);
            return screen;
        }
        case Kind::Dialog: {
            auto* dialog = new PlaceholderDialog(name, caption, window);
            TakeValues(dialog, values);
            dialog->SetDetail(ValuesText(values));
            dialog->show();
            return dialog;
        }
        case Kind::ModalDialog: {
            // Modal without an owner; it has gone by the time the opener returns.
            auto* dialog = new PlaceholderDialog(name, caption, nullptr);
            TakeValues(dialog, values);
            ui::ScreenRegistry::instance().add(dialog);
            dialog->exec();
            return nullptr;
        }
    }
    return nullptr;
}

// Screen switch: every open screen and dialog closes first.
void SwitchTo(const QString& name) {
    modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
    ui::ScreenRegistry::instance().openRequired(name);
}

// "Path/File access error", as the error log numbers a file that could not be opened.
constexpr int kHelpNotOpened = 75;

// The user guide beside the program, or where an installation puts it.
QString HelpFilePath() {
    const QDir exeDir(QCoreApplication::applicationDirPath());
    const QString beside = exeDir.filePath(QStringLiteral("help/PomaretHelp.html"));
    if (QFileInfo::exists(beside)) return beside;
    const QString installed =
        QDir::cleanPath(exeDir.filePath(QStringLiteral("../share/pomaret/help/PomaretHelp.html")));
    if (QFileInfo::exists(installed)) return installed;
    return beside;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Wiring

void frmMain::RegisterScreens() {
    auto& registry = ui::ScreenRegistry::instance();
    registry.registerScreen(QStringLiteral("frmHome"), &frmHome::Open);
    contacts::RegisterScreens();
    projects::RegisterScreens();
    items::RegisterScreens();
    calendar::RegisterScreens();
    reports::RegisterScreens();
    core::RegisterCoreScreens();
    shell::RegisterMaintenanceScreens();
}

void frmMain::RegisterPlaceholders() {
    auto& registry = ui::ScreenRegistry::instance();
    for (const StandIn& s : kStandIns) {
        const QString name = QString::fromLatin1(s.name);
        // A real form registered before the main window keeps its place.
        if (registry.hasScreen(name)) continue;
        registry.registerScreen(name, [&s](const ui::OpenValues& values) { return OpenStandIn(s, values); });
    }
}

void frmMain::ConnectCommands() {
    using Handler = void (frmMain::*)();
    const struct {
        const char* name;
        Handler handler;
    } menuCommands[] = {
        {"mnuFilePrint", &frmMain::mnuFilePrint_Click},
        {"mnuFileExit", &frmMain::mnuFileExit_Click},
        {"mnuEditDelete", &frmMain::mnuEditDelete_Click},
        {"mnuEditNewName", &frmMain::mnuEditNewName_Click},
        {"mnuEditNewProject", &frmMain::mnuEditNewProject_Click},
        {"mnuEditNewNote", &frmMain::mnuEditNewNote_Click},
        {"mnuEditNewToDo", &frmMain::mnuEditNewToDo_Click},
        {"mnuEditNewAppt", &frmMain::mnuEditNewAppt_Click},
        {"mnuEditPrefer", &frmMain::mnuEditPrefer_Click},
        {"mnuEditPwd", &frmMain::mnuEditPwd_Click},
        {"mnuViewHome", &frmMain::mnuViewHome_Click},
        {"mnuViewNames", &frmMain::mnuViewNames_Click},
        {"mnuViewProj", &frmMain::mnuViewProj_Click},
        {"mnuViewCal", &frmMain::mnuViewCal_Click},
        {"mnuViewToDo", &frmMain::mnuViewToDo_Click},
        {"mnuViewCQry", &frmMain::mnuViewCQry_Click},
        {"mnuViewPQry", &frmMain::mnuViewPQry_Click},
        {"mnuHelpFiles", &frmMain::mnuHelpFiles_Click},
        {"mnuHelpErrLog", &frmMain::mnuHelpErrLog_Click},
        {"mnuHelpAbout", &frmMain::mnuHelpAbout_Click},
        {"mnuDownload", &frmMain::mnuDownload_Click},
        {"mnuDelContactFld", &frmMain::mnuDelContactFld_Click},
        {"mnuDelProjectFld", &frmMain::mnuDelProjectFld_Click},
        {"mnuRCMemoPopEdit", &frmMain::mnuRCMemoPopEdit_Click},
    };
    for (const auto& command : menuCommands) {
        QAction* a = findChild<QAction*>(QString::fromLatin1(command.name));
        if (!a) qFatal("frmMain: no menu item %s", command.name);
        connect(a, &QAction::triggered, this, [this, h = command.handler] { (this->*h)(); });
    }
    // Database Utilities: the maintenance commands trap and report on their own.
    const struct {
        const char* name;
        void (*command)();
    } databaseCommands[] = {
        {"mnuFileCompDB", &shell::mnuFileCompDB_Click},
        {"mnuFileRepDB", &shell::mnuFileRepDB_Click},
        {"mnuFileBackupDB", &shell::mnuFileBackupDB_Click},
        {"mnuFileRestoreDB", &shell::mnuFileRestoreDB_Click},
    };
    for (const auto& command : databaseCommands) {
        QAction* a = findChild<QAction*>(QString::fromLatin1(command.name));
        if (!a) qFatal("frmMain: no menu item %s", command.name);
        connect(a, &QAction::triggered, this, [c = command.command] { c(); });
    }

    // The source-code item is offered only when the build names an address.
    findChild<QAction*>(QStringLiteral("mnuDownload"))
        ->setVisible(!QStringLiteral(POMARET_SOURCE_URL).isEmpty());

    // Toolbar buttons and drop-down items go by their key.
    using KeyHandler = void (frmMain::*)(const QString&);
    auto byKey = [this](const QList<QAction*>& actions, KeyHandler handler) {
        for (QAction* a : actions) {
            const QString key = a->data().toString();
            if (a->isSeparator() || key.isEmpty()) continue;
            connect(a, &QAction::triggered, this, [this, handler, key] { (this->*handler)(key); });
        }
    };
    byKey(tbrMain->actions(), &frmMain::tbrMain_ButtonClick);
    for (QAction* a : tbrMain->actions()) {
        if (a->menu()) byKey(a->menu()->actions(), &frmMain::tbrMain_ButtonMenuClick);
    }
    byKey(tbrNav->actions(), &frmMain::tbrNav_ButtonClick);
    byKey(tbrGo->actions(), &frmMain::tbrGo_ButtonClick);

    connect(txtSrch, &QLineEdit::returnPressed, this, [this] { txtSrch_KeyPress(); });
}

void frmMain::PopupDelContFld(const QPoint& globalPos) {
    mnuDelContFld->popup(globalPos);
}

void frmMain::PopupDelProjFld(const QPoint& globalPos) {
    mnuDelProjFld->popup(globalPos);
}

void frmMain::PopupRCMemo(const QPoint& globalPos) {
    mnuRCMemoPop->popup(globalPos);
}

void frmMain::OpenURL(const QString& urlADD, QWidget* sourceHWND) {
    // The desktop opens it on its own; there is no owner window to hand over here.
    Q_UNUSED(sourceHWND);
    shell::OpenUrl(QUrl(urlADD, QUrl::TolerantMode));
}

// ---------------------------------------------------------------------------------------------
// File and Edit

void frmMain::PrintActiveRecord() {
    if (g_strCurScreen == QLatin1String("CEnt")) {
        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmPrintContact"));
    } else if (g_strCurScreen == QLatin1String("PEnt")) {
        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmPrintProject"));
    }
}

void frmMain::mnuFilePrint_Click() {
    core::trap(QStringLiteral("frmMain.mnuFilePrint_Click"), Tail::Action, QStringLiteral("Printing"),
               [this] { PrintActiveRecord(); });
}

void frmMain::mnuEditDelete_Click() {
    core::trap(QStringLiteral("frmMain.mnuEditDelete_Click"), Tail::ErrorBox, [] {
        int type = 0;
        // The deletion cannot be undone: No is the default, so an Enter typed on after Ctrl+E keeps
        // the file.
        if (g_strCurScreen == QLatin1String("CEnt")) {
            if (ui::MsgBox(QStringLiteral("Are you sure you want to DELETE this Contact File\n"
                                          "and all of their related components and files?\n"
                                          "This deletion is final and cannot be reversed!"),
                           ui::YesNo | ui::Critical | ui::DefaultButton2,
                           QStringLiteral("Warning : Deleting Contact Files")) == ui::Answer::Yes) {
                type = 1;
            }
        } else if (g_strCurScreen == QLatin1String("PEnt")) {
            if (ui::MsgBox(QStringLiteral("Are you sure you want to DELETE this Project File\n"
                                          "and all of it's related components and files?\n"
                                          "This deletion is final and cannot be reversed!"),
                           ui::YesNo | ui::Critical | ui::DefaultButton2,
                           QStringLiteral("Warning : Deleting Project Files")) == ui::Answer::Yes) {
                type = 2;
            }
        }
        if (type == 0) return;
        // What to delete: 1 contact, 2 project.
        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmDelete"),
                                                    {{QStringLiteral("m_intType"), type}});
    });
}

void frmMain::mnuEditNewName_Click() {
    core::trap(QStringLiteral("frmMain.mnuEditNewName_Click"), Tail::Action,
               QStringLiteral("opening the New Contact Name dialog"),
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmNewName")); });
}

void frmMain::mnuEditNewProject_Click() {
    core::trap(QStringLiteral("frmMain.mnuEditNewProject_Click"), Tail::Action,
               QStringLiteral("opening the Projects dialog"),
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmNewProject")); });
}

void frmMain::mnuEditNewNote_Click() {
    core::trap(QStringLiteral("frmMain.mnuEditNewNote_Click"), Tail::Message,
               QStringLiteral("An un-known error occurred  while opening the Notes/Calls dialog!"),
               [] { modGeneral::OpenNote(modGeneral::NewItem()); });
}

void frmMain::mnuEditNewToDo_Click() {
    core::trap(QStringLiteral("frmMain.mnuEditNewToDo_Click"), Tail::Action,
               QStringLiteral("opening the To Do dialog"),
               [] { modGeneral::OpenToDo(modGeneral::NewItem()); });
}

void frmMain::mnuEditNewAppt_Click() {
    core::trap(QStringLiteral("frmMain.mnuEditNewAppt_Click"), Tail::Action,
               QStringLiteral("opening the Appointments dialog"),
               [] { modGeneral::OpenAppt(modGeneral::NewItem()); });
}

void frmMain::mnuEditPrefer_Click() {
    core::trap(QStringLiteral("frmMain.mnuEditPrefer_Click"), Tail::ErrorBox,
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmPreference")); });
}

void frmMain::mnuEditPwd_Click() {
    core::trap(QStringLiteral("frmMain.mnuEditPwd_Click"), Tail::ErrorBox, [] {
        g_lngEntryMode = 0;
        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmSecurity"));
    });
}

// ---------------------------------------------------------------------------------------------
// View

void frmMain::mnuViewHome_Click() {
    core::trap(QStringLiteral("frmMain.mnuViewHome_Click"), Tail::Message,
               QStringLiteral("An un-known error occurred  while opening the Home Screen!"),
               [] { SwitchTo(QStringLiteral("frmHome")); });
}

void frmMain::mnuViewNames_Click() {
    core::trap(QStringLiteral("frmMain.mnuViewNames_Click"), Tail::Message,
               QStringLiteral("An un-known error occurred  while opening the Names Screen!"),
               [] { SwitchTo(QStringLiteral("frmNames")); });
}

void frmMain::mnuViewProj_Click() {
    core::trap(QStringLiteral("frmMain.mnuViewProj_Click"), Tail::Action,
               QStringLiteral("opening the Projects Screen"),
               [] { SwitchTo(QStringLiteral("frmProjects")); });
}

void frmMain::mnuViewCal_Click() {
    core::trap(QStringLiteral("frmMain.mnuViewCal_Click"), Tail::Action,
               QStringLiteral("opening the Calendar Screen"), [] { SwitchTo(QStringLiteral("frmCalMnth")); });
}

void frmMain::mnuViewToDo_Click() {
    core::trap(QStringLiteral("frmMain.mnuViewToDo_Click"), Tail::Action,
               QStringLiteral("opening the To Do Screen"), [] { SwitchTo(QStringLiteral("frmToDoList")); });
}

void frmMain::mnuViewCQry_Click() {
    core::trap(QStringLiteral("frmMain.mnuViewCQry_Click"), Tail::Action,
               QStringLiteral("opening the Contact Query Screen"),
               [] { SwitchTo(QStringLiteral("frmContQry")); });
}

void frmMain::mnuViewPQry_Click() {
    core::trap(QStringLiteral("frmMain.mnuViewPQry_Click"), Tail::Action,
               QStringLiteral("opening the Projects Query Screen"),
               [] { SwitchTo(QStringLiteral("frmProjQry")); });
}

// ---------------------------------------------------------------------------------------------
// Help and the source-code address

void frmMain::mnuHelpFiles_Click() {
    core::trap(QStringLiteral("frmMain.mnuHelpFiles_Click"), Tail::ErrorBox, [] {
        const QString path = HelpFilePath();
        // Without a browser nothing would happen at all: the user is told which file to open.
        if (!shell::OpenFile(path)) {
            throw platform::Error(
                kHelpNotOpened,
                QStringLiteral("The help file could not be opened: %1").arg(QDir::toNativeSeparators(path)));
        }
    });
}

void frmMain::mnuHelpAbout_Click() {
    core::trap(QStringLiteral("frmMain.mnuHelpAbout_Click"), Tail::ErrorBox,
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmAbout")); });
}

void frmMain::mnuDownload_Click() {
    core::trap(QStringLiteral("frmMain.mnuDownload_Click"), Tail::ErrorBox,
               [this] { OpenURL(QStringLiteral(POMARET_SOURCE_URL), this); });
}

// ---------------------------------------------------------------------------------------------
// Toolbars

void frmMain::tbrMain_ButtonClick(const QString& key) {
    core::trap(QStringLiteral("frmMain.tbrMain_ButtonClick"), Tail::Unknown, [&] {
        // "New" itself opens nothing: its drop-down items do.
        if (key == QLatin1String("Names")) {
            SwitchTo(QStringLiteral("frmNames"));
        } else if (key == QLatin1String("Prj")) {
            SwitchTo(QStringLiteral("frmProjects"));
        } else if (key == QLatin1String("Cal")) {
            SwitchTo(QStringLiteral("frmCalMnth"));
        } else if (key == QLatin1String("ToDo")) {
            SwitchTo(QStringLiteral("frmToDoList"));
        } else if (key == QLatin1String("Print")) {
            PrintActiveRecord();
        }
    });
}

void frmMain::tbrMain_ButtonMenuClick(const QString& key) {
    core::trap(QStringLiteral("frmMain.tbrMain_ButtonMenuClick"), Tail::Unknown, [&] {
        if (key == QLatin1String("drpName")) {
            ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmNewName"));
        } else if (key == QLatin1String("drpPrj")) {
            ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmNewProject"));
        } else if (key == QLatin1String("drpNote")) {
            modGeneral::OpenNote(modGeneral::NewItem());
        } else if (key == QLatin1String("drpToDo")) {
            modGeneral::OpenToDo(modGeneral::NewItem());
        } else if (key == QLatin1String("drpAppt")) {
            modGeneral::OpenAppt(modGeneral::NewItem());
        }
    });
}

void frmMain::tbrNav_ButtonClick(const QString& key) {
    core::trap(QStringLiteral("frmMain.tbrNav_ButtonClick"), Tail::Unknown, [&] {
        if (key == QLatin1String("Home")) SwitchTo(QStringLiteral("frmHome"));
    });
}

void frmMain::tbrGo_ButtonClick(const QString& key) {
    core::trap(QStringLiteral("frmMain.tbrGo_ButtonClick"), Tail::Action,
               QStringLiteral("retrieving the Contact Name"), [&] {
                   if (key == QLatin1String("Find")) GetNamesList();
               });
}

// ---------------------------------------------------------------------------------------------
// Name search

void frmMain::txtSrch_KeyPress() {
    core::trap(QStringLiteral("frmMain.txtSrch_KeyPress"), Tail::Silent, [this] { GetNamesList(); });
}

void frmMain::GetNamesList() {
    core::trap(QStringLiteral("frmMain.GetNamesList"), Tail::Silent, [this] {
        const QString text = txtSrch->text();
        if (text.isEmpty()) return;

        // A prefix search: the typed text is bound, its own `*` and `?` stay wildcards and every
        // other character matches itself, in any letter case.
        const QString pattern = text + QLatin1Char('*');
        // Only none, one or several matters, and the row when there is one: the first two rows of
        // the same search give the same decision as all of them, without reading every match.
        QVariantList params;
        const QString sql = QStringLiteral("SELECT TOP 2 ContID, ShownName, JobTitle FROM Contacts ") +
                            modGeneral::NameSearchWhere(pattern, params);
        db::Recordset rs = g_dbLocal->OpenRecordset(sql, params);
        const int count = rs.RecordCount();
        if (count == 0) {
            rs.Close();
            ui::MsgBox(QStringLiteral("No names match your criteria."), ui::OKOnly, ui::ProgramTitle());
            return;
        }
        if (count == 1) {
            rs.MoveFirst();
            g_lngCurContID = rs.Value(QStringLiteral("ContID")).toInt();
            rs.Close();
            modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
            ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmContEntry"));
            return;
        }
        rs.Close();
        // The results screen repeats the search itself while it loads.
        g_strNameSrchSQL = pattern;
        struct ClearSearch {
            ~ClearSearch() { g_strNameSrchSQL.clear(); }
        } clearSearch;
        modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmNameSrchResult"));
    });
}

// ---------------------------------------------------------------------------------------------
// Pop-up menus of the editors

void frmMain::mnuDelContactFld_Click() {
    core::trap(QStringLiteral("frmMain.mnuDelContactFld_Click"), Tail::Action,
               QStringLiteral("Deleting the Contact Field"), [this] {
                   const QString question =
                       QStringLiteral("Are you sure you want to DELETE [ ") + m_strContUserFld.toString() +
                       QStringLiteral(" ]\nas a User Defined Field from contact ") +
                       modGeneral::ConvertContactName(g_lngCurContID) + QStringLiteral(" ?");
                   if (ui::MsgBox(question, ui::YesNo | ui::Question, ui::ProgramTitle()) != ui::Answer::Yes)
                       return;
                   g_dbLocal->Execute(QStringLiteral("DELETE * FROM CUFldValues WHERE RefNum = ?"),
                                      {m_lngContUserFld});
                   modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadUserDefInfo");
                   m_strContUserFld = QString();
                   m_lngContUserFld = 0;
               });
}

void frmMain::mnuDelProjectFld_Click() {
    core::trap(QStringLiteral("frmMain.mnuDelProjectFld_Click"), Tail::Action,
               QStringLiteral("Deleting the Project Field"), [this] {
                   const QString question =
                       QStringLiteral("Are you sure you want to DELETE [ ") + m_strProjUserFld.toString() +
                       QStringLiteral(" ]\nas a User Defined Field from project ") +
                       modGeneral::ConvertProjectName(g_lngCurProjID) + QStringLiteral(" ?");
                   if (ui::MsgBox(question, ui::YesNo | ui::Question, ui::ProgramTitle()) != ui::Answer::Yes)
                       return;
                   g_dbLocal->Execute(QStringLiteral("DELETE * FROM PUFldValues WHERE RefNum = ?"),
                                      {m_lngProjUserFld});
                   modGeneral::CallLoader(QStringLiteral("frmProjEntry"), "LoadUserDefInfo");
                   m_strProjUserFld = QString();
                   m_lngProjUserFld = 0;
               });
}

void frmMain::mnuRCMemoPopEdit_Click() {
    core::trap(QStringLiteral("frmMain.mnuRCMemoPopEdit_Click"), Tail::Action,
               QStringLiteral("editing the Related Contact Memo"), [this] {
                   db::Recordset rs = g_dbLocal->OpenRecordset(
                       QStringLiteral("SELECT MasterContID, LinkMemo, SubContID FROM RelateCont ") +
                           QStringLiteral("WHERE MasterContID = ? AND SubContID = ?"),
                       {g_lngCurContID, m_lngRelContID});
                   if (!rs.Eof()) {
                       const QString answer =
                           ui::InputBox(QStringLiteral("Enter the new Related Contact Memo"),
                                        QStringLiteral("Edit Related Contact Memo"), m_strOldRCMemo);
                       // Empty (or Cancel) keeps the memo: it cannot be cleared here.
                       if (answer.isEmpty()) {
                           rs.Close();
                           return;
                       }
                       rs.MoveFirst();
                       rs.Edit();
                       rs.Fields(QStringLiteral("LinkMemo")) = answer;
                       rs.Update();
                   }
                   modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadRelContactInfo");
                   rs.Close();
               });
}
