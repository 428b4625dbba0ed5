#pragma once

#include <QDate>

#include "items/ItemDialog.h"
#include "items/Reminders.h"

class QCheckBox;
class QRadioButton;
namespace ui {
class DatePicker;
}

// "New / Edit Appointment": enters a new appointment or edits or deletes a stored one: subject,
// description, contact, project, start and end date, start and end time (or "No Time" or "All Day"),
// a reminder an interval before it starts, and the private mark. Opened through modGeneral::OpenAppt.
class frmAppt : public ItemDialog {
    Q_OBJECT

public:
    frmAppt(const ui::OpenValues& values, QWidget* owner);
    ~frmAppt() override;

    static frmAppt* Open(const ui::OpenValues& values, QWidget* owner);

private:
    void BuildControls();
    void Form_Load();
    void PopulateFields() override;
    bool ValidateEntry() override;
    void BeforeValidate() override;
    void WriteColumns(db::Recordset& row) override;
    void PostDependants(int32_t itemNumber) override;
    void DeleteDependants(int32_t itemNumber) override;
    void ClearScreen() override;
    void PrintItem() override;
    void PrintAppt();

    void Combo1_Click(int index);
    void Check1_Click();
    void optTime_Click(int index);
    void dtpDate_CloseUp(int index);
    // Both pickers and the held dates on today.
    void ShowToday();

    QLabel* lblBanner[3] = {};
    QLabel* Label1[7] = {};
    QLineEdit* Text1Subject = nullptr;           // Text1(0)
    QPlainTextEdit* Text1Description = nullptr;  // Text1(1)
    ui::ComboBox* Combo1[5] = {};
    ui::DatePicker* dtpDate[2] = {};
    QRadioButton* optTime[3] = {};
    QCheckBox* Check1[2] = {};

    // The start and end date: what the pickers show, none while one shows no readable date.
    QDate m_vDate[2];
    items::ItemReminder m_reminder{"AP", "fkApptID"};
};
