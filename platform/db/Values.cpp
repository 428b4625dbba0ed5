#include "platform/db/Values.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>

namespace db::values {
namespace {

const QString kDateStorage = QStringLiteral("yyyy-MM-dd");
const QString kTimeStorage = QStringLiteral("HH:mm:ss");

std::optional<QDate> parseDate(const QString& s) {
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    static const QRegularExpression us(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    QRegularExpressionMatch m = iso.match(s);
    QDate d;
    if (m.hasMatch()) {
        d = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    } else if ((m = us.match(s)).hasMatch()) {
        d = QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    }
    if (!d.isValid()) return std::nullopt;
    return d;
}

std::optional<QTime> parseTime(const QString& s) {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*([AaPp][Mm])?$"));
    const QRegularExpressionMatch m = re.match(s);
    if (!m.hasMatch()) return std::nullopt;
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    const int second = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const QString half = m.captured(4).toUpper();
    if (!half.isEmpty()) {
        if (hour > 12) return std::nullopt;
        if (hour == 12) hour = 0;
        if (half == QLatin1String("PM")) hour += 12;
    }
    const QTime t(hour, minute, second);
    if (!t.isValid()) return std::nullopt;
    return t;
}

}  // namespace

std::optional<QVariant> parseDateTime(const QString& text) {
    const QString s = text.trimmed();
    if (s.isEmpty()) return std::nullopt;
    if (auto d = parseDate(s)) return QVariant(*d);
    if (auto t = parseTime(s)) return QVariant(*t);
    // A date and a time: split at the first blank or 'T' after the date part.
    static const QRegularExpression split(QStringLiteral("^(\\S+?)(?:\\s+|T)(\\S.*)$"));
    const QRegularExpressionMatch m = split.match(s);
    if (!m.hasMatch()) return std::nullopt;
    const auto d = parseDate(m.captured(1));
    const auto t = parseTime(m.captured(2));
    if (!d || !t) return std::nullopt;
    return QVariant(QDateTime(*d, *t));
}

QString toStorage(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::QDate:
            return v.toDate().toString(kDateStorage);
        case QMetaType::QTime:
            return v.toTime().toString(kTimeStorage);
        case QMetaType::QDateTime: {
            const QDateTime dt = v.toDateTime().toLocalTime();
            return dt.date().toString(kDateStorage) + QLatin1Char(' ') + dt.time().toString(kTimeStorage);
        }
        default:
            return v.toString();
    }
}

QVariant fromStorage(const QString& stored) {
    static const QRegularExpression date(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression time(QStringLiteral("^\\d{2}:\\d{2}:\\d{2}$"));
    static const QRegularExpression both(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
    if (date.match(stored).hasMatch()) {
        const QDate d = QDate::fromString(stored, kDateStorage);
        if (d.isValid()) return d;
    } else if (time.match(stored).hasMatch()) {
        const QTime t = QTime::fromString(stored, kTimeStorage);
        if (t.isValid()) return t;
    } else if (both.match(stored).hasMatch()) {
        const QDate d = QDate::fromString(stored.left(10), kDateStorage);
        const QTime t = QTime::fromString(stored.mid(11), kTimeStorage);
        if (d.isValid() && t.isValid()) return QDateTime(d, t);
    }
    return stored;
}

}  // namespace db::values
