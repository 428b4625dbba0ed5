#pragma once

#include <QDateTime>
#include <QString>

#include "items/ItemDialog.h"

class QCheckBox;
class QRadioButton;

// "New / Edit Note": enters a new note or call, or edits or deletes a stored one: its text, contact,
// project, kind and the marks favourite and private. The database stamps its creation time, which
// an edit leaves alone. Opened through modGeneral::OpenNote.
class frmNotes : public ItemDialog {
    Q_OBJECT

public:
    frmNotes(const ui::OpenValues& values, QWidget* owner);

    static frmNotes* Open(const ui::OpenValues& values, QWidget* owner);

    // The stored entry's creation time, for its print-out.
    QDateTime DateStamp() const { return m_vDateStamp; }

private:
    void BuildControls();
    void Form_Load();
    void PopulateFields() override;
    bool ValidateEntry() override;
    void WriteColumns(db::Recordset& row) override;
    void ClearScreen() override;
    void PrintItem() override;
    void PrintNote();
    void optNote_Click();
    void optCall_Click();

    QLabel* lblBanner[2] = {};
    QLabel* Label1[3] = {};
    QPlainTextEdit* Text1 = nullptr;
    ui::ComboBox* Combo1[2] = {};
    QRadioButton* optNote = nullptr;
    QRadioButton* optCall = nullptr;
    QCheckBox* Check1[2] = {};

    QString m_strNType = QStringLiteral("N");  // "N" note, "C" call
    QDateTime m_vDateStamp;
};
