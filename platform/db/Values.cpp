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

// Read on every date cell of every list, so by hand rather than with patterns.
QVariant fromStorage(const QString& stored) {
    const QChar* c = stored.constData();
    const qsizetype n = stored.size();
    const auto digits = [&](qsizetype at, qsizetype count, int& value) {
        value = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            const char16_t u = c[i].unicode();
            if (u < u'0' || u > u'9') return false;
            value = value * 10 + (u - u'0');
        }
        return true;
    };
    const auto readDate = [&](qsizetype at, QDate& d) {
        int y, m, day;
        if (!digits(at, 4, y) || c[at + 4] != u'-' || !digits(at + 5, 2, m) || c[at + 7] != u'-' ||
            !digits(at + 8, 2, day)) {
            return false;
        }
        d = QDate(y, m, day);
        return d.isValid();
    };
    const auto readTime = [&](qsizetype at, QTime& t) {
        int h, mi, se;
        if (!digits(at, 2, h) || c[at + 2] != u':' || !digits(at + 3, 2, mi) || c[at + 5] != u':' ||
            !digits(at + 6, 2, se)) {
            return false;
        }
        t = QTime(h, mi, se);
        return t.isValid();
    };
    QDate d;
    QTime t;
    if (n == 10 && readDate(0, d)) return d;
    if (n == 8 && readTime(0, t)) return t;
    if (n == 19 && c[10] == u' ' && readDate(0, d) && readTime(11, t)) return QDateTime(d, t);
    return stored;
}

}  // namespace db::values
