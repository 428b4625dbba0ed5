#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <cstdint>

#include "core/RecordEditor.h"
#include "platform/db/Recordset.h"

class QCalendarWidget;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ui {
class ComboBox;
class ListBox;
class ListView;
}  // namespace ui

// "Projects": the MDI screen showing one project, always g_lngCurProjID. Its openers set that number,
// close every screen and open "frmProjEntry" through the screen registry. The profile is saved box by
// box: Budget when the user leaves it, the other boxes at once from their pickers; the name is never
// written here. What it shares with the contact editor is core::RecordEditor's.
//
// Split over: frmProjEntry.cpp (load, close, profile, pickers and writers), frmProjEntryLayout.cpp
// (the controls and the resize rules), frmProjEntryLists.cpp (the related contacts).
class frmProjEntry : public core::RecordEditor {
    Q_OBJECT

public:
    static constexpr int kBoxCount = 7;
    static constexpr int kIconCount = 5;

    explicit frmProjEntry(QWidget* parent = nullptr);
    ~frmProjEntry() override;

    // Opens the table handles and fills every section for g_lngCurProjID.
    void Form_Load();

    // The public loaders; dialogs call them by name through the screen registry.
    Q_INVOKABLE void LoadMainProjectInfo();
    Q_INVOKABLE void LoadProjectCombo();
    Q_INVOKABLE void LoadStatusItems();
    Q_INVOKABLE void LoadPrjTypeItems();
    Q_INVOKABLE void LoadProjectHistory();
    Q_INVOKABLE void LoadRelContactInfo();
    // LoadToDoInfo, LoadApptsInfo and LoadUserDefInfo are core::RecordEditor's.

    // Other forms read the profile boxes (the project report prints them) and set the pick lists
    // (the add dialogs' Cancel).
    QWidget* Text1(int index) const override;
    QString Text1Text(int index) const override;
    ui::ComboBox* cboProjList = nullptr;
    ui::ListBox* lstStatus = nullptr;
    ui::ListBox* lstPrjType = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    int32_t RecordID() const override { return m_lngProjID; }
    db::Recordset& RecordTable() override { return m_rsProjects; }

private:
    // Layout (frmProjEntryLayout.cpp).
    void BuildBanner();
    void BuildProfile();
    void BuildPickers();
    void BuildInfoLists();
    void Form_Resize();

    // Load, close, profile and pickers (frmProjEntry.cpp).
    void Form_Unload() override;
    void cboProjList_Click(int index);
    void picPop_Click(int index) override;
    void lstStatus_Click();
    void lstPrjType_Click();
    void mnvStart_DateClick(const QDate& date);
    void mnvEnd_DateClick(const QDate& date);
    void PickDate(const char* procedure, QCalendarWidget* view, int box, const QDate& date,
                  void (frmProjEntry::*write)());
    void SetText1Text(int index, const QString& text) override;
    bool Text1Locked(int index) const override;
    void WriteChangedBox(int index) override;
    void EditProjectStatus();
    void EditProjectType();
    void EditStartDate();
    void EditEndDate();
    void EditBudget();
    void EditSetting();
    void WriteProjectColumn(const char* procedure, const char* message, int box);

    // The related contacts (frmProjEntryLists.cpp); the other lists, the history and the comment are
    // core::RecordEditor's.
    void ConnectProjectLists();
    void cmdRelCon_Click();
    // row: the row under the mouse, -1 when the click hit none.
    void lvRelCon_Click(int row);

    int32_t m_lngProjID = 0;  // the project shown, copied at load: openers change the global before closing

    // Banner.
    QLabel* Image1 = nullptr;
    QLabel* lblBanner = nullptr;

    // Profile.
    QWidget* picProfile = nullptr;
    QLabel* lblProfileHdr = nullptr;
    std::array<QLabel*, kBoxCount> Label1{};
    std::array<QLineEdit*, kBoxCount> m_text1{};
    std::array<QLabel*, kIconCount> picPop{};
    QCalendarWidget* mnvStart = nullptr;
    QCalendarWidget* mnvEnd = nullptr;

    // Info tab: the side lists.
    QLabel* lblRelCon = nullptr;
    QPushButton* cmdRelCon = nullptr;
    QLabel* lblRelConNameHdr = nullptr;
    QLabel* lblRelConPhoneHdr = nullptr;
    ui::ListView* lvRelCon = nullptr;
    QFrame* shpRelCon = nullptr;
    QLabel* lblHist = nullptr;
    QFrame* shpHist = nullptr;
    QLabel* lblNewHist = nullptr;
    QFrame* shpNewHist = nullptr;
    QLabel* lblToDo = nullptr;
    QLabel* lblToDoHdr = nullptr;
    QLabel* lblToDoHdrDue = nullptr;
    QFrame* shpToDo = nullptr;
    QLabel* lblAppts = nullptr;
    QFrame* shpAppts = nullptr;
    QLabel* lblUserDef = nullptr;
    std::array<QLabel*, 2> lblUserDefHdr{};
    QFrame* shpUserDef = nullptr;

    // Table handles, open from the load to the close.
    db::Recordset m_rsProjects;
};
