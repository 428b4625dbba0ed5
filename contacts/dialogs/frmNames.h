#pragma once

#include <QString>

#include "core/ListScreen.h"

class QComboBox;
class QLabel;

// "Names": every contact of one visibility view ("All Contacts", "Default", "Hidden", "Private"),
// or the "Default" contacts of one group, in shown-name order. A click on a contact opens it in the
// contact editor; "Save File As ..." writes the rows to a comma-separated file.
class frmNames : public core::ListScreen {
    Q_OBJECT

public:
    explicit frmNames(QWidget* parent = nullptr);

    // The screen registry's opener: makes the screen, loads it and shows it in the main window.
    static QWidget* Open();

    void Form_Load();

    QComboBox* cboView = nullptr;
    QComboBox* cboGroup = nullptr;

protected:
    void lvResult_Click() override;
    void lblSaveAs_Click() override;

private:
    void cboView_Click();
    void cboGroup_Click();
    void LoadContactInfo();
    void LoadFilteredNamesList();
    void LoadAllGroups();

    QLabel* lblBanner[3] = {nullptr, nullptr, nullptr};
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;

    // The last choice made in either box; the list shows its result.
    QString m_strView;
    QString m_strGroup;
    bool m_blnAllGroups = true;  // the group list's first entry, "All"
};
