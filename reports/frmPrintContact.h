#pragma once

#include <QVariant>

#include "reports/ProfileReport.h"

// "Print Contact Report": prints the contact open in the contact editor as its profile (the name
// grid, the four addresses, the user-defined fields) with, when checked, its related contacts and
// projects.
class frmPrintContact : public reports::ProfileReportDialog {
    Q_OBJECT

public:
    explicit frmPrintContact(QWidget* owner = nullptr);

    // The screen registry's opener: made, loaded and shown over `owner`.
    static frmPrintContact* Open(QWidget* owner);

protected:
    void PrintReport() override { PrintContactReport(); }

private:
    void PrintContactReport();
    void PrintAddressBlocks();
    void PrintUserFieldValues();
    void PopulateRelContacts();
    void PopulateRelProjects();
    void GetProjectInfo(const QVariant& projId, const QVariant& pName, const QVariant& status);

    int32_t m_lngContID = 0;  // the editor's contact, taken when a run starts
};
