#pragma once

#include <memory>

#include "reports/QueryScreen.h"

namespace ui {
class DateTexts;
}

// "Projects Query": the projects found by the value of one user-defined project field, with their
// dates, status and type; a click opens the project editor.
class frmProjQry : public reports::QueryScreen {
    Q_OBJECT

public:
    explicit frmProjQry(QWidget* parent = nullptr);
    ~frmProjQry() override;

    // The screen registry's opener: makes the screen, loads it and shows it in the main window.
    static QWidget* Open();

protected:
    QString SelectThrough(const QString& from) const override;
    bool AddRow(const db::Database::RowView& row) override;
    void OpenRecord(int32_t number) override;

private:
    // One result row: a project's cells as the query read them. A row that fails is reported and
    // the query goes on with the next project.
    bool LoadProjectInfo(const db::Database::RowView& row);

    // Each day formatted once, across the queries too.
    std::unique_ptr<ui::DateTexts> m_dates;
};
