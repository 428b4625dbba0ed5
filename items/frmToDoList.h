#pragma once

#include <QString>

#include "core/ListScreen.h"

class QComboBox;
class QLabel;

// "To Do List": the to-do items of every contact and project under one view ("All To Do's",
// "Completed To Do's", "Private To Do's", "Urgent To Do's"), the oldest due date first. A click on an
// item opens it in the to-do dialog over the list, which reloads the list when it is saved;
// "Save File As ..." writes the rows to a comma-separated file.
class frmToDoList : public core::ListScreen {
    Q_OBJECT

public:
    explicit frmToDoList(QWidget* parent = nullptr);

    // The screen registry's opener: makes the screen, loads it and shows it in the main window.
    static QWidget* Open();

    void Form_Load();
    // Reloads the list in the view chosen; the to-do dialog calls it by name when it closes.
    Q_INVOKABLE void LoadToDoInfo();

    QComboBox* cboView = nullptr;

protected:
    void lvResult_Click() override;
    void lblSaveAs_Click() override;

private:
    void cboView_Click();

    QLabel* lblBanner[2] = {nullptr, nullptr};
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;

    QString m_strView;
};
