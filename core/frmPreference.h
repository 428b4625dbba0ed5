#pragma once

#include <QDialog>

#include "platform/db/Recordset.h"
#include "platform/ui/Activation.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;

// "Preferences": the two list options, written the moment they are ticked or cleared, and the
// user's own company details (the one row of Company), saved with OK. Modeless, owned by the main
// window, gone when closed; every return to it from another window of the program shows the
// "List Properties" tab.
class frmPreference : public QDialog, public ui::ActivatableScreen {
    Q_OBJECT

public:
    static constexpr int kBoxCount = 7;

    explicit frmPreference(QWidget* owner = nullptr);
    ~frmPreference() override;

    // Makes and shows the dialog; the screen registry opens it by name, one at a time.
    static frmPreference* Open(QWidget* owner);

    void Form_Activate() override;

    QTabWidget* tbsMain = nullptr;
    QWidget* picLists = nullptr;
    QWidget* picComp = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* chkAltColor = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* chkGridLines = nullptr;
    QLabel* Label3[kBoxCount] = {};
    // Company name, address (several lines), country, phone, fax, e-mail, web site.
    QWidget* Text1[kBoxCount] = {};
    QPushButton* cmdOpts[2] = {};  // OK, Cancel; neither is pressed by Enter

    QString Text1Text(int index) const;
    void SetText1Text(int index, const QString& text);

    // Closing runs the save question first.
    void done(int result) override;

protected:
    // Becoming the active window from another window of the program runs Form_Activate.
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void InitializeScreen();
    void tbsMain_Click();
    void chkAltColor_Click();
    void chkGridLines_Click();
    void Text1_Change();
    void Text1_GotFocus(int index);
    void cmdOpts_Click(int index);
    bool ValidateEntry();
    void PostEntry();
    bool Form_QueryUnload();

    db::Recordset m_rsCompany;  // table recordset on Company, open while the dialog is
    bool m_blnChanged = false;
};
