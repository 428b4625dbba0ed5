#pragma once

#include <QString>

#include "core/ListScreen.h"

class QComboBox;
class QLabel;

// "Projects": the projects of one visibility view ("All Projects", "Default", "Hidden", "Private")
// in name order, with their dates, status and type. A click on a project opens it in the project
// editor; "Save File As ..." writes the rows to a comma-separated file.
class frmProjects : public core::ListScreen {
    Q_OBJECT

public:
    explicit frmProjects(QWidget* parent = nullptr);

    // The screen registry's opener: makes the screen, loads it and shows it in the main window.
    static QWidget* Open();

    void Form_Load();

    QComboBox* cboView = nullptr;

protected:
    void lvResult_Click() override;
    void lblSaveAs_Click() override;

private:
    void cboView_Click();
    void LoadProjectInfo();

    QLabel* lblBanner[2] = {nullptr, nullptr};
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;

    QString m_strView;
};
