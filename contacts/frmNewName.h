#pragma once

#include <QDialog>
#include <QString>

#include "platform/db/Recordset.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Set Up New Name": creates a contact, a person or a company, from one typed name, then opens the
// contact editor on it. Modeless, owned by the main window, and gone when closed, so the next New
// Name command makes a fresh one.
class frmNewName : public QDialog {
    Q_OBJECT

public:
    explicit frmNewName(QWidget* owner = nullptr);
    ~frmNewName() override;

    // Makes and shows the dialog owned by `owner`; the screen registry opens it by name, one at a time.
    static frmNewName* Open(QWidget* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void optType_Click(int index);
    void txtName_GotFocus();
    void cmdOpt_Click(int index);

    bool ValidateEntry();
    bool CollectNames();
    bool CheckDuplicateName();
    void PostEntry();

    QLabel* lblName = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* lblNameExample = nullptr;
    QLabel* lblType = nullptr;
    QRadioButton* optType[2] = {};
    QLabel* lblTypeExample[2] = {};
    QPushButton* cmdOpt[2] = {};

    db::Recordset m_rsContacts;  // table recordset for the addition, open while the dialog is

    QString m_strContType;  // "I" or "C"
    QString m_strTypedName;
    QString m_strPrefix;
    QString m_strFirstName;
    QString m_strMiddleName;
    QString m_strLastName;
    QString m_strSuffix;
    QString m_strCompName;
    QString m_strFullName;
    QString m_strShownName;
};
