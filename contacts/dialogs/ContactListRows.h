#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "core/ListScreen.h"
#include "platform/db/Database.h"

namespace ui {
class ListView;
}

// The rows of the contact lists (the names list and the name search results): one row per contact,
// keyed "ID" and its number, with eight cells: shown name, job title, "Home" phone, "Personal"
// e-mail, and street, city, state and ZIP of the "Home" address.
namespace contacts::rows {

// The columns, left to right, with their share of the list's width.
QList<core::ListScreen::Column> Columns();
// Their headers, which are also the export's.
QStringList Headers();

// "SELECT", the columns of one contact row and "FROM Contacts" with what the row needs besides: each
// contact is read with its cells in one statement. The caller adds its conditions and order, on the
// columns of Contacts. `extra` columns (", [Group]") come after the row's own, from column
// kExtraColumn on.
QString SelectFrom(const QString& extra = {});
// The same row read through another table: "SELECT" and the columns of one contact row, then
// `from`, which names Contacts (joined as it likes, "FROM CUFldValues LEFT JOIN Contacts ON ..."),
// and what the row needs besides. A row without its contact has a Null ContID and ShownName.
QString SelectThrough(const QString& from);
inline constexpr int kExtraColumn = 9;

// Adds the row of one contact read with Select(); a contact without a shown name is not listed.
// True when a row was added.
bool Add(ui::ListView& list, const db::Database::RowView& row);

// What a click on a contact's row does: every screen and dialog closes, the clicked list's included,
// and the contact editor opens on that contact.
void OpenContact(int32_t contId);

}  // namespace contacts::rows
