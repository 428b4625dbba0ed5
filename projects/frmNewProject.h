#pragma once

#include <QDialog>
#include <cstdint>

#include "platform/db/Recordset.h"

class QLabel;
class QLineEdit;
class QPushButton;

// "Set Up New Project": creates a project from its name alone, with the setting "Default", makes it
// the current project and opens the project editor on it. Modeless, owned by the main window, and
// gone when closed; while it is open, "Project ..." brings it forward.
class frmNewProject : public QDialog {
    Q_OBJECT

public:
    explicit frmNewProject(QWidget* owner = nullptr);
    ~frmNewProject() override;

    // Makes and shows the dialog owned by `owner`.
    static frmNewProject* Open(QWidget* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void Text1_GotFocus();
    void cmdOpts_Click(int index);
    bool ValidateEntry();
    int32_t GetNewProjID();
    void PostEntry();

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;  // "Label2(2)"
    QPushButton* cmdOpts[2] = {};

    db::Recordset m_rsProjects;  // table recordset for the addition, open while the dialog is
    int32_t m_lngNewProjID = 0;
};
