#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

// Dates and times as the program writes them and as they are stored.
//
// Storage (text order is time order):  "YYYY-MM-DD", "HH:MM:SS", "YYYY-MM-DD HH:MM:SS", local time.
// Program forms (fixed US forms, whatever the locale): "mm/dd/yyyy" (one-digit month and day too),
// "h:nn AM/PM" and "hh:nn AM/PM" (seconds optional, AM/PM in any case, with or without the blank),
// "HH:nn[:ss]" on the 24-hour clock, and a date followed by a time.
namespace db::values {

// A QDate, QTime or QDateTime for any program or storage form; nullopt for anything else.
std::optional<QVariant> parseDateTime(const QString& text);

// The storage text of a QDate, QTime or QDateTime (a null QVariant stays null).
QString toStorage(const QVariant& dateOrTime);

// The QDate, QTime or QDateTime a stored text stands for; text in no storage form is returned unchanged.
QVariant fromStorage(const QString& stored);

// The date of a stored date, or of a stored date and time, from its UTF-8 text as SQLite hands it
// out; a null QDate for anything else. The same answer as fromStorage, without the QString.
QDate dateFromStorage(QByteArrayView utf8);

}  // namespace db::values
