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

namespace {

enum class StoredKind { None, Date, Time, DateTime };

// The storage forms, read by hand: every date cell of every list comes through here. `Char` is a
// UTF-16 unit or a UTF-8 byte; the forms are plain ASCII, so both read a text the same way.
template <class Char>
StoredKind readStored(const Char* c, qsizetype n, QDate& d, QTime& t) {
    const auto digits = [&](qsizetype at, qsizetype count, int& value) {
        value = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            const unsigned u = static_cast<unsigned>(c[i]);
            if (u < '0' || u > '9') return false;
            value = value * 10 + static_cast<int>(u - '0');
        }
        return true;
    };
    const auto is = [&](qsizetype at, char ch) { return static_cast<unsigned>(c[at]) == unsigned(ch); };
    const auto readDate = [&](qsizetype at) {
        int y, m, day;
        if (!digits(at, 4, y) || !is(at + 4, '-') || !digits(at + 5, 2, m) || !is(at + 7, '-') ||
            !digits(at + 8, 2, day)) {
            return false;
        }
        d = QDate(y, m, day);
        return d.isValid();
    };
    const auto readTime = [&](qsizetype at) {
        int h, mi, se;
        if (!digits(at, 2, h) || !is(at + 2, ':') || !digits(at + 3, 2, mi) || !is(at + 5, ':') ||
            !digits(at + 6, 2, se)) {
            return false;
        }
        t = QTime(h, mi, se);
        return t.isValid();
    };
    if (n == 10 && readDate(0)) return StoredKind::Date;
    if (n == 8 && readTime(0)) return StoredKind::Time;
    if (n == 19 && is(10, ' ') && readDate(0) && readTime(11)) return StoredKind::DateTime;
    return StoredKind::None;
}

}  // namespace

QVariant fromStorage(const QString& stored) {
    QDate d;
    QTime t;
    switch (readStored(reinterpret_cast<const char16_t*>(stored.constData()), stored.size(), d, t)) {
        case StoredKind::Date:
            return d;
        case StoredKind::Time:
            return t;
        case StoredKind::DateTime:
            return QDateTime(d, t);
        case StoredKind::None:
            break;
    }
    return stored;
}

QDate dateFromStorage(QByteArrayView utf8) {
    QDate d;
    QTime t;
    switch (readStored(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(), d, t)) {
        case StoredKind::Date:
        case StoredKind::DateTime:
            return d;
        case StoredKind::Time:
            return {};
        case StoredKind::None:
            break;
    }
    // Not a storage form byte for byte: whatever the text-based reading makes of it.
    const QVariant v = fromStorage(QString::fromUtf8(utf8));
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    return v.typeId() == QMetaType::QDate ? v.toDate() : QDate();
}

}  // namespace db::values
