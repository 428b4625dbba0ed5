#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/Trap.h"
#include "platform/db/Recordset.h"
#include "platform/ui/ScreenRegistry.h"

class QCloseEvent;
class QEvent;
class QShowEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace db {
class Database;
}
namespace ui {
class ComboBox;
}

// What an item dialog shows after one of its procedures failed and logged the error: the tail of the
// program's trap, or a first line of its own followed by "Sorry for the inconvenience".
struct ItemFailure {
    core::Tail tail = core::Tail::Silent;
    QString action;   // Tail::Action: "An un-known error occurred while <action>!"
    QString message;  // when set, this line instead of the tail
};

// The screen an item dialog reloads as it unloads, by the active-screen code, through that screen's
// public loaders in this order.
struct ItemReload {
    const char* code;
    const char* form;
    std::vector<const char*> loaders;
};

// What sets one item dialog apart from the others. Every name here is the program's own.
struct ItemDialogSetup {
    const char* formName;       // "frmToDo"; its procedures log as "frmToDo.<procedure>"
    const char* caption;        // window title
    const char* numberMember;   // the member its opener hands the stored item's number in
    const char* table;          // the item's table, keyed by RefNum
    const char* postingStatus;  // status line while posting, "Posting To Do Entry"
    const char* deleteQuestion;
    const char* printQuestion;  // followed by the printer's name
    const char* busyNotice;     // when another item of this kind is asked for while this dialog is open
    ItemFailure commandFailure;
    ItemFailure loadFailure;  // PopulateFields
    ItemFailure postFailure;
    ItemFailure deleteFailure;
    std::vector<ItemReload> reloads;        // whenever it unloads other than by Cancel
    std::vector<ItemReload> deleteReloads;  // right after a delete, before the unload's own
};

// The pattern the to-do, note and appointment dialogs share.
//
// The dialog is opened through modGeneral::OpenToDo / OpenNote / OpenAppt and takes its mode (0 new,
// 2 stored), the stored item's number and a new item's description from its opener before it loads;
// from then on they are its own. "&New" switches only this dialog to a new item; the program-wide
// edit mode plays no part.
//
// Buttons cmdOpts(0) to (4): "&New", "&Delete", "&Print", "&OK" (Enter), "&Cancel" (Esc). OK
// validates, then writes the item (adding a row, or editing the stored one) in one transaction with
// whatever belongs to it, and closes. Delete asks, deletes in one transaction and closes. Cancel
// closes without writing. Every close but Cancel, the close box included, reloads the screen named
// by the active-screen code when that screen is open.
//
// The name and project lists Combo1(0) and Combo1(1) hold a blank entry (number 0), then every
// contact or project with its number; entries are chosen by number, never by text.
class ItemDialog : public QDialog, public ui::HoldsUnsavedInput, public ui::TakesReopening {
    Q_OBJECT

public:
    ~ItemDialog() override;

    // Whether any control shows another value than after the load or "&New": a screen switch then
    // leaves the dialog open.
    bool HasUnsavedInput() const override;
    // Another opening of this kind finds the dialog open. Nothing typed in it: it closes as Cancel
    // does, and the opening loads a new one for what was asked. Otherwise it stays as it is, and
    // unless the opening asks for what it shows the user is told to finish or cancel this item first.
    bool ClosedForReopening(const ui::OpenValues& values) override;
    void OpenedWhileShown(const ui::OpenValues& values) override;

    int32_t EntryMode() const { return m_lngEntryMode; }
    int32_t RecordNumber() const { return m_lngRecordID; }

    // OK, Delete and Cancel close through here (Esc is Cancel).
    void done(int result) override;
    void reject() override;

    // The description box's text while it holds no description of its own.
    static const QString& DescriptionPlaceholder();

protected:
    ItemDialog(const ItemDialogSetup& setup, const ui::OpenValues& values, QWidget* owner);

    // Each procedure under the program's trap, logged as "<form>.<procedure>".
    bool Trap(const char* procedure, const ItemFailure& failure, const std::function<void()>& body);
    QString ProcName(const char* procedure) const;

    // Controls the pattern owns; the dialog places them.
    QLabel* NewBand(const char* name, const QString& caption);
    QLabel* NewLabel(const char* name, const QString& caption);
    ui::ComboBox* NewList(int index);
    void BuildButtons(double top, double right);
    // The rule above the buttons: a grey line (Line1) over a white one (Line2).
    void BuildRule(double top, double width);
    // The subject box selects its whole text when it gets the focus.
    void SetUpSubject(QLineEdit* box);
    // The big text box's back colour.
    static void SetUpTextBox(QPlainTextEdit* box);
    // The description box: the placeholder stands in for it while it is empty, in grey.
    void SetUpDescription(QPlainTextEdit* box);
    void ShowPlaceholder();
    // A stored description, in black.
    void ShowDescription(const QString& stored);
    // Its text to be stored (CR LF line breaks), or "" when it holds the placeholder or nothing.
    static QString StoredDescription(const QPlainTextEdit* box);
    // A stored text shown in a box (LF line breaks).
    static QString ShownText(const QString& stored);
    static QString StoredText(const QString& shown);

    // The load every item dialog does: the item table opened, the lists filled, a new item's contact
    // or project preselected by the active screen, a stored one's fields shown.
    void LoadItem();
    // The stored item's row, found by its number, for PopulateFields; raises when it is gone.
    db::Recordset& StoredRow();
    // Shows a stored link in its list (the blank entry when its contact or project is gone; the link
    // is kept as stored either way).
    void ShowContact(int32_t contId);
    void ShowProject(int32_t projId);
    // Back to a new item: own mode 0, no stored number, blank lists, Delete and Print disabled.
    void ResetToNewItem();

    void OK();
    void DeleteCurrentRecord();
    // Asks, naming the printer, and prints the item as the dialog shows it.
    void PrintRecord();

    // What each dialog adds to the pattern.
    virtual void PopulateFields() = 0;
    virtual bool ValidateEntry() = 0;
    // Writes the item's columns into the row being added or edited.
    virtual void WriteColumns(db::Recordset& row) = 0;
    // After the item's row is written, in the same transaction: what belongs to it (its reminder).
    virtual void PostDependants(int32_t itemNumber) { (void)itemNumber; }
    // Deletes what belongs to the item, in the delete's transaction, after the item's row.
    virtual void DeleteDependants(int32_t itemNumber) { (void)itemNumber; }
    virtual void ClearScreen() = 0;
    // The item's print-out from what the controls hold, saved or not.
    virtual void PrintItem() = 0;
    // Takes over the date the picker shows, and the like, before validation.
    virtual void BeforeValidate() {}

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    const ItemDialogSetup& m_setup;
    QPushButton* cmdOpts[5] = {};
    ui::ComboBox* Combo1Names = nullptr;     // Combo1(0)
    ui::ComboBox* Combo1Projects = nullptr;  // Combo1(1)

    int32_t m_lngEntryMode = 0;
    int32_t m_lngRecordID = 0;
    QString m_strTimeSaverText;
    int32_t m_lngContID = 0;
    int32_t m_lngProjID = 0;
    bool m_blnCancel = true;  // cleared at the end of the load
    bool m_blnLoading = false;
    db::Recordset m_rsItem;

private:
    void cmdOpts_Click(int index);
    void PostEntry();
    void LinkList_Click(ui::ComboBox* list);
    void InitializeScreen();
    void ShowLink(ui::ComboBox* list, int32_t number, int32_t& held);
    void ShowCurrentContact();
    void ShowCurrentProject();
    void Reload(const std::vector<ItemReload>& reloads);
    void Form_Unload();
    QStringList ShownValues() const;

    QLineEdit* m_subject = nullptr;
    QPlainTextEdit* m_description = nullptr;
    bool m_blnUnloaded = false;
    QStringList m_loadedValues;  // what the controls showed once loaded, or after "&New"
};
