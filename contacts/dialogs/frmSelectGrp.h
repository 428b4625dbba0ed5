#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>

class QLabel;
class QPushButton;

namespace ui {
class ListBox;
}

// "Select Group(s)": the groups of the contact in the editor, chosen from the user's group list, and
// the place where groups are added (New) and removed. It opens on the contact's present groups and
// keeps what is selected across every rebuild of the list; OK stores the selected names joined with
// ",", in list order, each name once. OK and the close box refresh the editor, Cancel does not, Esc does nothing.
// Modeless, owned by the main window, gone when closed.
class frmSelectGrp : public QDialog {
    Q_OBJECT

public:
    explicit frmSelectGrp(QWidget* owner = nullptr);
    ~frmSelectGrp() override;

    // Reloads the group list; the add-group dialog calls it by name after adding one.
    Q_INVOKABLE void InitializeScreen();

    void done(int result) override;
    // Esc: the Cancel button is not bound to it, and it does nothing.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void Form_Unload();
    void LoadAllGroups();
    void SelectGroups(QStringList names);
    QStringList SelectedGroups() const;
    void lstGroup_Click();
    void cmdOpts_Click(int index);
    QString GetString();
    void UpdateContactRecord();
    void DeleteGroup();

    QLabel* Label1 = nullptr;
    ui::ListBox* lstGroup = nullptr;
    QPushButton* cmdOpts[4] = {};  // New, Remove, OK (Enter), Cancel

    int32_t m_lngContID = 0;    // the contact, as it was when the dialog opened
    QString m_strGroups;        // the selected names, joined
    bool m_blnListed = false;   // the list has been filled once: a rebuild keeps its selection
    bool m_blnFilling = false;  // the selection is the program's, not the user's
    bool m_blnCancelled = false;
    bool m_blnUnloaded = false;
};
