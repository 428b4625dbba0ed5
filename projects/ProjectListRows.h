#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "core/ListScreen.h"
#include "platform/db/Database.h"

namespace ui {
class DateTexts;
class ListView;
}  // namespace ui

// The rows of the project lists (the projects list and the project query): one row per project,
// keyed "ID" and its number, with its name, start and end date ("MM/dd/yyyy"), status and type.
namespace projects::rows {

// The columns, left to right, with their share of the list's width.
QList<core::ListScreen::Column> Columns();
// Their headers, which are also the export's.
QStringList Headers();

// The columns of one project row, in the order Add reads them, for a query's SELECT.
inline constexpr char kSelectColumns[] =
    "Projects.ProjID, PName, StartDate, EndDate, Status, PrjType";

// The dates' form in the rows.
inline constexpr char kDateFormat[] = "MM/dd/yyyy";

// Adds the row of one project read with kSelectColumns; a row without its project (a Null ProjID)
// is not listed, one without a name is listed with an empty one. `dates` formats kDateFormat. True when a row was added.
bool Add(ui::ListView& list, const db::Database::RowView& row, ui::DateTexts& dates);

// What a click on a project's row does: every screen and dialog closes, the clicked list's included,
// and the project editor opens on that project.
void OpenProject(int32_t projId);

}  // namespace projects::rows
