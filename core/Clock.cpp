#include "core/Clock.h"

#include <optional>

namespace core::Clock {

namespace {

std::optional<QDateTime> g_fixed;

// Milliseconds dropped: every time the program keeps is stored to the second, so a time read
// back from the database compares equal to the one it was written from.
QDateTime WholeSeconds(QDateTime t) {
    t.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return t;
}

}  // namespace

QDateTime Now() {
    return g_fixed ? *g_fixed : WholeSeconds(QDateTime::currentDateTime());
}

QDate Today() {
    return Now().date();
}

QTime Time() {
    return Now().time();
}

QString MinuteText(const QDate& date, const QTime& time) {
    return date.toString(Qt::ISODate) + QLatin1Char(' ') + time.toString(QStringLiteral("HH:mm"));
}

void SetNow(const QDateTime& now) {
    g_fixed = WholeSeconds(now.toLocalTime());
}

void Advance(qint64 seconds) {
    g_fixed = Now().addSecs(seconds);
}

void Reset() {
    g_fixed.reset();
}

bool IsSet() {
    return g_fixed.has_value();
}

}  // namespace core::Clock
