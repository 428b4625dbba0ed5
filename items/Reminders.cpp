#include "items/Reminders.h"

#include <QLocale>

#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"

namespace items {

namespace {

struct Interval {
    const char* text;
    int minutes;
};

constexpr Interval kIntervals[] = {
    {"5 Min", 5},
    {"10 Min", 10},
    {"15 Min", 15},
    {"20 Min", 20},
    {"30 Min", 30},
    {"1 Hr", 60},
    {"2 Hr", 2 * 60},
    {"3 Hr", 3 * 60},
    {"6 Hr", 6 * 60},
    {"12 Hr", 12 * 60},
    {"1 Day", 24 * 60},
    {"2 Days", 2 * 24 * 60},
    {"3 Days", 3 * 24 * 60},
    {"1 Week", 7 * 24 * 60},
    {"2 Weeks", 14 * 24 * 60},
};

constexpr qint64 kMinutesPerDay = 24 * 60;

// "Invalid procedure call or argument", as the error log numbers an argument out of its range.
constexpr int kErrInvalidArgument = 5;

}  // namespace

const QStringList& IntervalTexts() {
    static const QStringList texts = [] {
        QStringList list;
        for (const Interval& i : kIntervals) list << QString::fromLatin1(i.text);
        return list;
    }();
    return texts;
}

const QList<QTime>& HalfHourTimes() {
    static const QList<QTime> times = [] {
        QList<QTime> list;
        for (int minutes = 0; minutes < kMinutesPerDay; minutes += 30)
            list << QTime(minutes / 60, minutes % 60);
        return list;
    }();
    return times;
}

QString TimeText(const QTime& time) {
    return QLocale::c().toString(time, QStringLiteral("h:mm AP"));
}

// Counted in whole minutes from a fixed day, so that no clock change of the local time zone moves it.
RemindAt GetRemindTimes(const QDate& date, const std::optional<QTime>& time, const QString& interval) {
    const Interval* lead = nullptr;
    for (const Interval& i : kIntervals) {
        if (interval == QLatin1String(i.text)) lead = &i;
    }
    if (!lead) {
        throw db::DbError(kErrInvalidArgument,
                          QStringLiteral("\"%1\" is not a reminder interval.").arg(interval));
    }
    if (!date.isValid()) throw db::DbError(kErrInvalidArgument, QStringLiteral("The item has no date."));
    const QTime at = time.value_or(QTime(0, 0));
    const qint64 minute = date.toJulianDay() * kMinutesPerDay + at.hour() * 60 + at.minute() - lead->minutes;
    // Floor division: the minute count is positive for every date the program shows.
    const qint64 day = minute >= 0 ? minute / kMinutesPerDay : (minute - kMinutesPerDay + 1) / kMinutesPerDay;
    const qint64 ofDay = minute - day * kMinutesPerDay;
    return {QDate::fromJulianDay(day), QTime(int(ofDay / 60), int(ofDay % 60))};
}

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
    // A reminder that fired already is armed again; a new row starts pending by its default.
    if (editing) m_rsRemind.Fields(QStringLiteral("Completed")) = false;
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
