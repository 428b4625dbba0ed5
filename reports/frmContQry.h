#pragma once

#include "reports/QueryScreen.h"

// "Contacts Query": the contacts found by the value of one user-defined contact field, with their
// job title, "Home" phone, "Personal" e-mail and "Home" address; a click opens the contact editor.
class frmContQry : public reports::QueryScreen {
    Q_OBJECT

public:
    explicit frmContQry(QWidget* parent = nullptr);

    // The screen registry's opener: makes the screen, loads it and shows it in the main window.
    static QWidget* Open();

protected:
    QString SelectThrough(const QString& from) const override;
    bool AddRow(const db::Database::RowView& row) override;
    void OpenRecord(int32_t number) override;

private:
    // One result row: a contact's cells as the query read them. A row that fails is reported and
    // the query goes on with the next contact.
    bool LoadContactInfo(const db::Database::RowView& row);
};
