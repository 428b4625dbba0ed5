#pragma once

#include <QDate>
#include <QTime>
#include <optional>

#include "items/ItemDialog.h"
#include "items/Reminders.h"

class QCheckBox;
namespace ui {
class DatePicker;
}

// "New/ Edit To Do": enters a new to-do item or edits or deletes a stored one: subject, description,
// contact, project, due date and time, a reminder an interval before it is due, and the marks
// private, urgent and completed. Opened through modGeneral::OpenToDo.
class frmToDo : public ItemDialog {
    Q_OBJECT

public:
    frmToDo(const ui::OpenValues& values, QWidget* owner);
    ~frmToDo() override;

    static frmToDo* Open(const ui::OpenValues& values, QWidget* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    void PrintToDo();

    void Combo1_Click(int index);
    void Check1_Click();
    void dtpDate_CloseUp();

    QLabel* lblBanner[2] = {};
    QLabel* Label1[6] = {};
    QLineEdit* Text1Subject = nullptr;           // Text1(0)
    QPlainTextEdit* Text1Description = nullptr;  // Text1(1)
    ui::ComboBox* Combo1[4] = {};
    ui::DatePicker* dtpDate = nullptr;
    QCheckBox* Check1[4] = {};

    QDate m_vDueDate;  // taken from the picker
    items::ItemReminder m_reminder{"TD", "fkToDoID"};
};
