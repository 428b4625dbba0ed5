#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <cstdint>
#include <optional>

#include "platform/db/Recordset.h"

// What the to-do and appointment dialogs share about times and reminders: the time and interval
// lists, the rule that turns a due time and an interval into the reminder's minute, and the one
// Remind row that belongs to an item.
namespace items {

// The interval lists' texts in list order, "5 Min" to "2 Weeks": how long before an item is due its
// reminder fires.
const QStringList& IntervalTexts();
// The time lists' 48 entries, every half hour from midnight.
const QList<QTime>& HalfHourTimes();
// A time as the lists, the reminder and the item show it: "2:30 PM", "12:00 AM".
QString TimeText(const QTime& time);

// The minute a reminder fires.
struct RemindAt {
    QDate date;
    QTime time;
};

// The reminder time rule: the due (or start) date at its time of day, midnight when there is none,
// less the interval, to the whole minute. An interval that is not one of IntervalTexts() raises.
RemindAt GetRemindTimes(const QDate& date, const std::optional<QTime>& time, const QString& interval);

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

    // Writes the item's reminder: the held row, armed again, or a new pending row when none is held
    // (or the held one has gone meanwhile). Errors go to the caller, whose transaction it is part of.
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
