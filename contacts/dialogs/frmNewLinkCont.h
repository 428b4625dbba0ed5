#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "platform/db/Recordset.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Set Up New Linked Contact": makes a new contact, a person or a company, from one typed name, kept
// out of the name lists ("Hidden"), and links it with the contact on the editor both ways: a link from
// that contact with the memo, and one back marked "Master Contact Entry". The contact and its two
// links are written together or not at all. Unless it is cancelled, closing refreshes the editor's
// related contacts and switcher. Modeless, owned by the main window, gone when closed.
class frmNewLinkCont : public QDialog {
    Q_OBJECT

public:
    explicit frmNewLinkCont(QWidget* owner = nullptr);
    ~frmNewLinkCont() override;

    // Makes, loads and shows the dialog; the screen registry opens it by name, one at a time.
    static frmNewLinkCont* Open(QWidget* owner);

    void done(int result) override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void optType_Click(int index);
    void cmdOpt_Click(int index);

    bool ValidateEntry();
    bool CollectNames();
    // The three writes of an addition; each raises its errors to the one transaction around them.
    int32_t GetNewContID();
    void PostEntry();
    void UpdateMainContact();
    void UpdateSubContact();
    void Form_Unload();

    QLabel* lblBanner = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* Label1[2] = {};  // the type and memo headings
    QLineEdit* txtMemo = nullptr;
    QLabel* Label2[3] = {};  // the examples
    QRadioButton* optType[2] = {};
    QPushButton* cmdOpt[2] = {};  // Next > (Enter), Cancel (Esc)

    // The contact the dialog was opened on: the editor may move on, or close, while it is open.
    int32_t m_lngContID = 0;
    // Table recordsets for the additions, open while the dialog is.
    db::Recordset m_rsContacts;
    db::Recordset m_rsRelate;

    int32_t m_lngNewContID = 0;  // the number of the contact being added, taken as it is written
    QString m_strContType;       // "I" or "C"
    QString m_strTypedName;
    QString m_strPrefix;
    QString m_strFirstName;
    QString m_strMiddleName;
    QString m_strLastName;
    QString m_strSuffix;
    QString m_strCompName;
    QString m_strFullName;
    QString m_strShownName;
    bool m_blnCancelled = false;
    bool m_blnUnloaded = false;
};
