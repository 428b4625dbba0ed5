#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "platform/db/Recordset.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace ui {
class ListView;
}

// "Program Security": the users who may log on, and the switch that asks for a log-on at start.
// Modeless, owned by the main window, gone when closed. Passwords are kept only in their hashed form
// (modEncrypt::HashPassword), so changing one asks for the current password first and then for the
// new one twice.
class frmSecurity : public QDialog {
    Q_OBJECT

public:
    explicit frmSecurity(QWidget* owner = nullptr);
    ~frmSecurity() override;

    // Makes and shows the dialog; the screen registry opens it by name, one at a time.
    static frmSecurity* Open(QWidget* owner);

    QLabel* lblHeader[2] = {};
    QCheckBox* Check1 = nullptr;
    ui::ListView* lvUser = nullptr;
    QLabel* Label1[3] = {};
    QLineEdit* Text1[3] = {};  // user name, password, password again
    QLabel* Label2 = nullptr;
    QPushButton* cmdOpts[5] = {};  // add, remove, change password, save (picture only), close

    // Closing runs the save question first; "Yes" keeps the dialog open.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void InitializeScreen();
    void LoadAllUsers();
    void Check1_Click();
    void lvUser_Click();
    void cmdOpts_Click(int index);
    void Text1_Change();
    void Text1_GotFocus(int index);
    bool ValidateEntry();
    void PostEntry();
    void ResetSecurityScreen();
    void DeleteUserProfile();
    void GetUserPassword();
    void VerifyUserPassword();
    bool Form_QueryUnload();

    void SetBoxesEditable(bool editable);
    void ClearSelection();

    db::Recordset m_rsSecurity;  // table recordset for saving, open while the dialog is
    int32_t m_lngEntryMode = 0;  // 0 adding, 2 changing the selected user
    QString m_strSelName;
    int32_t m_lngSelID = 0;
    // The user being changed: the one whose current password was given. A later click on another
    // row selects that row for removal or its own check, but never redirects the change.
    int32_t m_lngChangeID = 0;
    QString m_strStoredPwd;  // the selected user's stored (hashed) password
    bool m_blnChanged = false;
};
