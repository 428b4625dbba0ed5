#pragma once

#include <QString>
#include <cstdint>

#include "items/ReminderRule.h"
#include "platform/db/Recordset.h"

// What the to-do and appointment dialogs share about reminders: the time and interval lists and the
// reminder rule (items/ReminderRule.h), and the one Remind row that belongs to an item.
namespace items {

// The reminder row of one item: Type "TD" linked through fkToDoID, or "AP" through fkApptID. An
// item has at most one; it is found by its link, so an item never gets a second one.
class ItemReminder {
public:
    ItemReminder(const char* type, const char* linkColumn) : m_type(type), m_linkColumn(linkColumn) {}

    // The Remind table, held open while the dialog is.
    void Open();
    void Close();

    // Finds the item's row and holds its number (0 when the item has none).
    void GetReminderID(int32_t itemNumber);
    int32_t ReminderID() const { return m_lngRemindID; }
    void Forget() { m_lngRemindID = 0; }

    // Writes the item's reminder: the held row, or a new row when none is held (or the held one has
    // gone meanwhile); pending when the poll has still to reach its minute, else completed. Errors go
    // to the caller, whose transaction it is part of.
    void PostReminder(int32_t itemNumber, const RemindAt& at);
    // Deletes every reminder row of the item.
    void DeleteReminders(int32_t itemNumber);

private:
    QString m_type;
    QString m_linkColumn;
    db::Recordset m_rsRemind;
    int32_t m_lngRemindID = 0;
};

}  // namespace items
