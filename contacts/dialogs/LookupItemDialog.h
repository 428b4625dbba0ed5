#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include "platform/db/Recordset.h"

class QLabel;
class QLineEdit;
class QPushButton;

struct LookupMember;

// The small dialogs that add one item to one of the user's pick lists (table Lookup): frmAddGroup,
// frmSetPrefix, frmSetSuffix, frmSetJobTitle, and the project editor's frmSetProjStatus and
// frmSetProjType. One implementation; a member differs from the others only by its row in the table
// in LookupItemDialog.cpp (texts, kind, typing limit, what it refreshes after adding and what its
// Cancel puts back), and carries its own form name as object name.
//
// OK adds the typed text exactly as typed (blanks and duplicates included; only an empty text, and a
// group name holding a comma, is refused), refreshes the opener's list and closes. Cancel and Esc put
// the opener's pick control back; the close box only closes. The opener is found by name when needed,
// and left alone when it has closed meanwhile. Modeless, gone when closed.
class LookupItemDialog : public QDialog {
    Q_OBJECT

public:
    ~LookupItemDialog() override;

    // The form names of the members.
    static QStringList FormNames();
    // A new dialog of the member `formName`, shown; nullptr for a name that is not a member. It is
    // owned by the open form its member names (the group dialog for frmAddGroup), else by the main
    // window.
    static LookupItemDialog* Open(const QString& formName);

    void done(int result) override;
    // Esc is the Cancel button.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    LookupItemDialog(const LookupMember& member, QWidget* owner);

    void BuildControls();
    void Form_Load();
    void Form_Unload();
    void cmdOpts_Click(int index);
    bool ValidateEntry();
    void PostEntry();
    void CancelAction();
    QString ProcName(const char* procedure) const;

    const LookupMember& m_member;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* cmdOpts[2] = {};  // OK (Enter), Cancel (Esc)

    db::Recordset m_rsLookup;  // table recordset for the addition, open while the dialog is
    bool m_blnUnloaded = false;
};
