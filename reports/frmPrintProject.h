#pragma once

#include "reports/ProfileReport.h"

// "Print Project Report": prints the project open in the project editor as its profile (the grid
// across the page, the user-defined fields) with, when checked, its related contacts.
class frmPrintProject : public reports::ProfileReportDialog {
    Q_OBJECT

public:
    explicit frmPrintProject(QWidget* owner = nullptr);

    // The screen registry's opener: made, loaded and shown over `owner`.
    static frmPrintProject* Open(QWidget* owner);

protected:
    void PrintReport() override { PrintProjectReport(); }

private:
    void PrintProjectReport();
    void PrintUserFieldValues();
    void PopulateRelContacts();

    int32_t m_lngProjID = 0;  // the editor's project, taken when a run starts
};
