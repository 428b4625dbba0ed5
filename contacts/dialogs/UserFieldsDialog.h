#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "platform/db/Recordset.h"

class QAction;
class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;

namespace ui {
class ListBox;
}  // namespace ui

// What sets one user-field dialog apart from the other: contacts and projects keep their own fields
// in their own pair of tables of the same layout. Every name here is the program's own, never user
// text, so the SQL may name them.
struct UserFieldsSetup {
    const char* formName;          // the form's name, also the start of its error-log names
    const char* caption;           // window title
    const char* banner;            // lblBanner
    const char* fieldTable;        // the field names: RefNum, Description
    const char* valueTable;        // the values: RefNum, <ownerColumn>, fkUserFld, Value
    const char* ownerColumn;       // the record a value belongs to, e.g. "fkContID"
    const char* ownerTable;        // that record's table and key, e.g. "Contacts", "ContID"
    const char* ownerKey;          //
    const int32_t* currentRecord;  // the program-wide current record, taken when the dialog opens
    const char* inUseMessage;      // the refusal to remove a field that a value still names
    const char* deleteFailure;     // first line of the message when a removal fails
    const char* editorForm;        // the editor reloaded on every close ...
    const char* editorLoader;      // ... through this public loader
};

// The user's own fields and the current record's value for one of them: fields are added and
// removed in the list, a chosen field's value is typed and saved below it. A value names its field by
// the field's text, so fields of the same name share their values, and a field that any value names
// cannot be removed. Modeless, owned by the main window, gone when closed; every close reloads the
// editor's list of values.
//
// Whether a save adds a row or edits one is decided when the field is chosen, by what the record
// has for that field then, and kept here: the program-wide edit mode, which other dialogs set while
// this one is open, plays no part.
class UserFieldsDialog : public QDialog {
    Q_OBJECT

public:
    UserFieldsDialog(const UserFieldsSetup& setup, QWidget* owner);
    ~UserFieldsDialog() override;

    // Reloads the field list.
    Q_INVOKABLE void InitializeScreen();

    // Close, Esc, the close box and closing every screen all end here.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void Form_Unload();
    void LoadUserFields();
    void cmdOpts_Click(int index);
    void AddNewUserField();
    void lstUserFld_Click();
    void LoadSavedValue();
    void txtValue_Change();
    void txtValue_KeyPress();
    void tbrSave_ButtonClick(const QString& key);
    bool ValidateEntry();
    void PostEntry();
    void DeleteUserField();
    // Back to "no field chosen": the value box locked and grey (its text stays), nothing to remove
    // or save.
    void ResetChoice();
    QString ProcName(const char* procedure) const;

    const UserFieldsSetup m_setup;

    QLabel* lblBanner = nullptr;
    ui::ListBox* lstUserFld = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtValue = nullptr;
    QToolBar* tbrSave = nullptr;
    QAction* m_saveButton = nullptr;  // tbrSave's one button, key "Save"
    QPushButton* cmdOpts[3] = {};     // New, Remove, Close (Esc)

    // Table handles, open from the load to the close.
    db::Recordset m_rsFields;
    db::Recordset m_rsValues;

    int32_t m_lngRecordID = 0;    // the contact or project whose values are edited
    int32_t m_lngUserFld = 0;     // the chosen field's RefNum; 0 when none is chosen
    QString m_strUserFld;         // its name
    bool m_blnEditValue = false;  // the record had a value row for the chosen field ...
    int32_t m_lngValueRef = 0;    // ... this one
    bool m_blnUnloaded = false;
};
