#include "items/Reminders.h"

#include "core/Clock.h"
#include "core/MainWindowLink.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"

namespace items {

namespace {

// Whether the poll has still to reach the reminder's minute, compared as the poll compares them. It
// catches up on a minute it is behind the clock; after the clock was set back, the minutes up to the
// clock's own count as passed.
bool StillToPoll(const RemindAt& at) {
    const QDateTime now = core::Clock::Now();
    QString polled = core::Clock::MinuteText(now.date(), now.time());
    if (const core::MainWindowLink* window = core::MainWindow()) {
        const QString last = window->PollTime();
        if (!last.isEmpty() && last < polled) polled = last;
    }
    return core::Clock::MinuteText(at.date, at.time) > polled;
}

}  // namespace

void ItemReminder::Open() {
    m_rsRemind = g_dbLocal->OpenRecordset(QStringLiteral("Remind"));
}

void ItemReminder::Close() {
    try {
        m_rsRemind.Close();
    } catch (...) {
    }
}

void ItemReminder::GetReminderID(int32_t itemNumber) {
    db::Recordset rs =
        g_dbLocal->OpenRecordset(QStringLiteral("SELECT RefNum FROM Remind WHERE ") + m_linkColumn +
                                     QStringLiteral(" = ? AND Type = ? ORDER BY RefNum"),
                                 {itemNumber, m_type});
    if (!rs.Eof()) {
        rs.MoveFirst();
        const QVariant id = rs.Value(QStringLiteral("RefNum"));
        if (!id.isNull()) m_lngRemindID = id.toInt();
    }
    rs.Close();
}

void ItemReminder::PostReminder(int32_t itemNumber, const RemindAt& at) {
    // A reminder without its item would never be shown, nor ever deleted.
    if (itemNumber <= 0)
        throw db::DbError(db::kErrNoCurrentRecord, QStringLiteral("The item has no number."));
    const auto seekHeld = [this] {
        if (m_lngRemindID == 0) return false;
        m_rsRemind.setIndex(QStringLiteral("PrimaryKey"));
        m_rsRemind.Seek(QStringLiteral("="), m_lngRemindID);
        return !m_rsRemind.NoMatch();
    };
    // The held number may be stale: a save that failed was rolled back, or the row went meanwhile.
    // The item's row is then looked up again, so that it never gets a second one.
    bool editing = seekHeld();
    if (!editing) {
        m_lngRemindID = 0;
        GetReminderID(itemNumber);
        editing = seekHeld();
    }
    if (editing) {
        m_rsRemind.Edit();
    } else {
        m_rsRemind.AddNew();
    }
    m_rsRemind.Fields(QStringLiteral("RemDate")) = at.date;
    m_rsRemind.Fields(QStringLiteral("RemTime")) = at.time;
    m_rsRemind.Fields(m_linkColumn) = itemNumber;
    m_rsRemind.Fields(QStringLiteral("Type")) = m_type;
    // Pending only for a minute the poll has still to check: one it has passed would never pop up,
    // yet would keep the window in the tray for the rest of the day.
    m_rsRemind.Fields(QStringLiteral("Completed")) = !StillToPoll(at);
    m_rsRemind.Update();
    if (!editing) m_lngRemindID = static_cast<int32_t>(m_rsRemind.LastAddedKey());
}

void ItemReminder::DeleteReminders(int32_t itemNumber) {
    g_dbLocal->Execute(
        QStringLiteral("DELETE * FROM Remind WHERE ") + m_linkColumn + QStringLiteral(" = ? AND Type = ?"),
        {itemNumber, m_type});
    m_lngRemindID = 0;
}

}  // namespace items
