#pragma once

#include "core/ListScreen.h"

class QLabel;

// "Name Search Results": the contacts the main window's name search found when there are several,
// read once while the screen opens from the search in g_strNameSrchSQL. A click on a contact opens it
// in the contact editor.
class frmNameSrchResult : public core::ListScreen {
    Q_OBJECT

public:
    explicit frmNameSrchResult(QWidget* parent = nullptr);

    // The screen registry's opener: makes the screen, loads it and shows it in the main window.
    static QWidget* Open();

    void Form_Load();

protected:
    void lvResult_Click() override;

private:
    void LoadContactInfo();

    QLabel* lblBanner = nullptr;
    QLabel* Image1 = nullptr;
};
