#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <cstdint>

#include "core/DbHandle.h"

class QWidget;
namespace ui {
class ListView;
class PickList;
}  // namespace ui

// ---------------------------------------------------------------------------------------------
// Program-wide values: one instance each, for the whole run; all start as zero, empty or unset.

// The database workspace created at start-up ("MainWS", user "admin", empty password).
struct Workspace {
    QString name;
    QString user;
    QString password;
};
extern std::unique_ptr<Workspace> g_wsMain;

extern core::DbHandle g_dbLocal;  // the open database
extern QString g_strDBPath;       // its full path
extern int32_t g_lngCurContID;    // contact shown by the contact editor; 0 after a delete
extern int32_t g_lngCurProjID;    // project shown by the project editor; 0 after a delete
extern QString g_strCurScreen;    // active-screen code: "Home", "CEnt", "PEnt", "ToDo", "CMnth", ...
extern QString g_strNameSrchSQL;  // the last name search itself: its pattern ("smi*"), never SQL
extern bool g_blnAltColors;       // striped lists
extern bool g_blnGridLines;       // grid lines in lists
extern bool g_blnSecurity;        // log-on at start-up
extern int32_t g_lngEntryMode;    // 0 new record, 2 existing record

namespace core {
// Puts every value above back to its start value (tests: each fixture starts from a clean program).
void ResetProgramState();
}  // namespace core

// ---------------------------------------------------------------------------------------------
namespace modAPI {

// The value of a key of application "Application", section "Pomaret", or the default when absent.
QString GetRegSetting(const QString& key, const QString& defaultValue);
// Writes a key of application "Application", section "Pomaret" at once; a failed write raises.
void SaveRegSetting(const QString& key, const QString& value);

// Gives an edit box, combo box or picker the flat one-pixel border of the program's dialogs.
void FlatBorder(QWidget* control);

}  // namespace modAPI

// ---------------------------------------------------------------------------------------------
namespace modGeneral {

// Settings, database and shut-down.
void LoadRegistrySettings();
void SaveWindowSettings();
void OpenLocalDB();
// Says once, in a box and in the error log, that an unparsable settings file was set aside, or that
// one that cannot be read (or a folder in its place) is left alone and the defaults are in use.
void ReportSettingsSetAside();
void CheckDatabaseVersion();
void CreateSecurityTable();
void DisableContextCommands();
void ShutDown();

// The leading-number rule of stored settings: leading blanks skipped, the longest leading number
// taken, anything else 0.
double SettingNumber(const QString& text);

// Error log and error box.
void LogErrors(const QString& modName, int32_t errNum, const QString& errDesc);
void ShowError(int32_t errNum, const QString& errDesc);

// Shared helpers.
// Closes every open screen and dialog. A screen switch (and Compact, Repair and Restore, which then
// refuse) leaves an item dialog holding unsaved changes open; Edit > Delete Item and the program's
// close close everything.
enum class Closing { Everything, ScreenSwitch };
void CloseAllChildForms(Closing closing = Closing::Everything);
void highLight();
// highLight for `box` once the focus event that reached it is done (a click that gave the focus
// would otherwise put the caret over the selection), if the box still has the focus then.
void highLightOnFocus(QWidget* box);
// What an item dialog (to-do, note or call, appointment) is opened on: a new item, optionally with a
// description to start from (the Time-Saver's selected text), or the stored item of that number.
struct ItemOpening {
    int32_t mode = 0;     // 0 new item, 2 stored item
    int32_t number = 0;   // the stored item's RefNum
    QString description;  // a new item's description
};
ItemOpening NewItem(const QString& description = {});
ItemOpening StoredItem(int32_t number);
// The one way into each item dialog. The dialog takes its mode, number and description before it
// loads and keeps them as its own. While a dialog of that kind is open it is brought forward as it
// is: it keeps its item and takes nothing of this opening, and when it shows another item than the
// one asked for it says to finish or cancel it first. A dialog nobody registered raises.
void OpenToDo(const ItemOpening& item);
void OpenNote(const ItemOpening& item);
void OpenAppt(const ItemOpening& item);
// The names under which an item dialog is handed its mode and a new item's description; its number
// goes under its own member ("m_lngToDoID", "m_lngNoteID", "m_lngApptID").
inline constexpr char kEntryModeValue[] = "m_lngEntryMode";
inline constexpr char kTimeSaverTextValue[] = "m_strTimeSaverText";
void SetStatus(const QString& message, bool wait = false);
QString FixQuotes(const QString& text);
// Removes leading and trailing blanks only: a tab or line break typed into a name is part of it.
QString TrimBlanks(const QString& text);
QString ConvertContactName(int32_t contId);
QString ConvertProjectName(int32_t projId);
// Whether `table` still holds the row whose `keyColumn` is `number`. An editor asks before it writes
// rows that hang off its record, which Edit > Delete Item may have removed while it was open.
// `table` and `keyColumn` are the program's own names, never user text.
bool RecordExists(const QString& table, const QString& keyColumn, int32_t number);
// RecordExists, as the writers' guard: raises "no current record" when the row is gone, so that the
// writer's trap logs it, shows the writer's own message and nothing is written.
void RequireRecord(const QString& table, const QString& keyColumn, int32_t number);
// Calls the public loader `loader` (no arguments) of the open screen or dialog `formName`, by name, so
// that a screen need not know another's class. A form that is not open, or has no such loader, is left
// alone.
void CallLoader(const QString& formName, const char* loader);
// The descriptions of one kind of the user's pick lists (`Lookup.ItemID`, e.g. "TITLE", "GRP"), in
// Description order, Null ones skipped. Errors go to the caller's trap.
QStringList LookupList(const QString& kind);
void LoadAllNames(ui::PickList& list);
void LoadAllProjects(ui::PickList& list);
// colour -1: the picture box's own background colour is the stripe colour.
void AltLVBackground(ui::ListView& list, QWidget* picGrdClr, int flag, int64_t colour = -1);
QString GetPhoneNum(int32_t contId);
// The same number as a column of a query over many contacts, so that a list reads every phone with
// its rows: `contIdColumn` names the contact's number in that query ("Contacts.ContID").
QString HomePhoneColumn(const QString& contIdColumn);
// The condition of the name search for `pattern` ("smi*", the program's LIKE pattern), bound: "WHERE
// ShownName LIKE ?", with a range on ShownName's index where the pattern starts with a plain prefix.
// Its values are appended to `params`.
QString NameSearchWhere(const QString& pattern, QVariantList& params);
// A click on a list with no selected row: "There is nothing from the list to select", nothing logged.
// True when that was the case.
bool NothingSelected(int row);
// The record number of a list row's key ("ID12", "NT5"): the key from its third character on.
int32_t KeyRecordNumber(const QString& key);
QString GetEMail(int32_t contId);
// The same as a column of a query over many contacts, as HomePhoneColumn.
QString PersonalEMailColumn(const QString& contIdColumn);
// Prints on the current printer job (ui::Printer), see PrintWrapped's notes in Helpers.cpp.
void PrintWrapped(const QString& text);

}  // namespace modGeneral
