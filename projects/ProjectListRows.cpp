#include "projects/ProjectListRows.h"

#include "core/modGeneral.h"
#include "platform/ui/DateTexts.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"

namespace projects::rows {

QList<core::ListScreen::Column> Columns() {
    return {{QStringLiteral("Project Name"), 0.25},
            {QStringLiteral("Start Date"), 0.16},
            {QStringLiteral("End Date"), 0.16},
            {QStringLiteral("Status"), 0.17},
            {QStringLiteral("Type"), 0.26}};
}

QStringList Headers() {
    QStringList headers;
    for (const auto& column : Columns()) headers << column.header;
    return headers;
}

bool Add(ui::ListView& list, const db::Database::RowView& row, ui::DateTexts& dates) {
    if (row.isNull(0)) return false;
    const int r = list.addRow(ui::RowKey("ID", row.integer(0)), row.text(1));
    for (const int column : {1, 2}) {
        if (!row.isNull(column + 1)) list.setSubItem(r, column, dates(row.date(column + 1)));
    }
    for (const int column : {3, 4}) {
        if (!row.isNull(column + 1)) list.setSubItem(r, column, row.text(column + 1));
    }
    return true;
}

void OpenProject(int32_t projId) {
    g_lngCurProjID = projId;
    modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
    ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmProjEntry"));
}

}  // namespace projects::rows
