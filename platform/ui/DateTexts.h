#pragma once

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QVariant>

namespace ui {

// Dates of a list in one fixed US form ("MM/dd", "ddd MM/dd", ...), whatever the user's locale. A
// list shows tens of thousands of dates but few different days, so each day is formatted once.
class DateTexts {
public:
    explicit DateTexts(QString format) : m_format(std::move(format)) {}
    QString operator()(const QDate& date) {
        if (!date.isValid()) return QString();
        // Lists come sorted by date more often than not: a run of rows on one day needs no lookup.
        if (date == m_lastDate) return m_lastText;
        auto it = m_texts.constFind(date.toJulianDay());
        if (it == m_texts.cend()) it = m_texts.insert(date.toJulianDay(), QLocale::c().toString(date, m_format));
        m_lastDate = date;
        m_lastText = it.value();
        return m_lastText;
    }
    // A stored date, or the date of a stored date and time.
    QString operator()(const QVariant& value) { return (*this)(value.toDate()); }

private:
    QString m_format;
    QHash<qint64, QString> m_texts;
    QDate m_lastDate;  // invalid: none yet
    QString m_lastText;
};

}  // namespace ui
