#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "platform/db/Recordset.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ui {
class ComboBox;
}  // namespace ui

// "Verify Name Details": whether the contact on the editor is a person or a company, and the parts of
// its name. OK writes the kind and the parts, composes the full and the shown name from them and
// refreshes the editor; Cancel writes nothing. Works on the contact that was current when it opened.
// Modeless, owned by the main window, gone when closed.
class frmNameDetail : public QDialog {
    Q_OBJECT

public:
    explicit frmNameDetail(QWidget* owner = nullptr);
    ~frmNameDetail() override;

    // Makes and shows the dialog; the screen registry opens it by name, one at a time.
    static frmNameDetail* Open(QWidget* owner);

    // Refills both lists and puts every box back to the stored row, whatever was changed meanwhile.
    // The prefix and suffix dialogs call it by name after adding an entry.
    Q_INVOKABLE void InitializeScreen();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void LoadPrefixCombo();
    void LoadSuffixCombo();
    void LoadLookupCombo(const QString& procName, int index, const QString& addEntry, const QString& kind);
    void PopulateFields();
    void SetNameFields();
    void ChooseType(int index);
    void optType_Click(int index);
    void Combo1_Click(int index);
    void Text1_GotFocus(int index);
    void cmdOpts_Click(int index);
    bool ValidateEntry();
    void CombineNames();
    void PostEntry();
    void RefreshEditor();
    void Form_Unload();
    // What a list stores: the entry chosen, the blank entry when none is (or the add entry is).
    QString StoredListText(int index) const;

    QLabel* lblBanner = nullptr;
    QRadioButton* optType[2] = {};
    QLabel* Label2[3] = {};  // (1) beside the person option, (2) beside the company option
    QLabel* Label1[6] = {};
    ui::ComboBox* Combo1[2] = {};  // prefix, suffix
    QLineEdit* Text1[4] = {};      // first, middle, last, company
    QPushButton* cmdOpts[2] = {};  // OK (Enter), Cancel (Esc)

    db::Recordset m_rsContacts;  // table recordset, open while the dialog is
    int32_t m_lngContID = 0;     // the contact that was current at the opening
    QString m_strCType;          // "I" or "C"
    bool m_blnUnloaded = false;

    // Taken from the boxes on OK, and the names composed of them.
    QString m_strPrefix;
    QString m_strFirstName;
    QString m_strMiddleName;
    QString m_strLastName;
    QString m_strSuffix;
    QString m_strCompName;
    QString m_strFullName;
    QString m_strShownName;
};
