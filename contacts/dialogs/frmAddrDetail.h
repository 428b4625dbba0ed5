#pragma once

#include <QDialog>
#include <QString>
#include <QVariant>
#include <cstdint>

#include "platform/db/Recordset.h"
#include "platform/ui/ScreenRegistry.h"

class QLabel;
class QPushButton;

// "Verify Address Details": one stored address of the contact on the editor, its street, city, state,
// ZIP code and country in boxes of their own. OK writes the five parts back into that address row,
// Delete removes every address of the kind; both refresh the editor's address boxes. The dialog never
// adds a row. Modeless, owned by the main window, gone when closed.
class frmAddrDetail : public QDialog {
    Q_OBJECT

public:
    // `values` holds the address kind as "m_strAddrType"; it is taken before the dialog loads.
    explicit frmAddrDetail(const ui::OpenValues& values, QWidget* owner = nullptr);
    ~frmAddrDetail() override;

    // Makes, loads and shows the dialog; the screen registry opens it by name, one at a time.
    static frmAddrDetail* Open(QWidget* owner, const ui::OpenValues& values);

    // "Home", "Work", "Bill To" or "Ship To": the CAddress.fkLookup of the address shown.
    QString m_strAddrType;

    // Reads the address into the boxes again.
    Q_INVOKABLE void InitializeScreen();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kBoxCount = 5;

    void BuildControls();
    void Form_Load();
    void LoadCurrentAddress();
    void cmdOpts_Click(int index);
    bool ValidateEntry();
    void PostEntry();
    void DeleteAddress();
    void Form_Unload();

    QString BoxText(int index) const;
    void ShowStored(int index, const QVariant& value);

    QLabel* lblBanner = nullptr;
    QLabel* Label1[kBoxCount] = {};
    QWidget* Text1[kBoxCount] = {};  // the street is a several-line box, the others line boxes
    QPushButton* cmdOpts[3] = {};    // OK (Enter), Cancel (Esc), Delete

    // The contact the dialog was opened on: the editor may move on while it is open.
    int32_t m_lngContID = 0;
    // The address query, open from the load to the close; OK edits its first row.
    db::Recordset m_rsAddress;
    // What each box was given from the row and the row's own text, so that a box left as it was
    // writes back exactly what was stored.
    QString m_strShown[kBoxCount];
    QString m_strStored[kBoxCount];
    bool m_blnUnloaded = false;
};
