#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// Numbers of the errors the layer raises itself; errors from SQLite carry
// kSqliteBase + SQLite's extended result code.
enum DbErrorNumber : int {
    kErrNotOpen = 3001,
    kErrFileNotFound = 3002,
    kErrNotADatabase = 3003,
    kErrNoCurrentRecord = 3004,
    kErrUnknownField = 3005,
    kErrFieldTooLong = 3006,
    kErrBadValue = 3007,
    kErrNotUpdatable = 3008,
    kErrUpdateWithoutEdit = 3009,
    kErrUnsupportedSql = 3010,
    kErrParameterCount = 3011,
    kErrNoIndex = 3012,
    kErrTableExists = 3013,
    kErrUnknownTable = 3014,
    kSqliteBase = 10000,
};

class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}

    int number() const { return m_number; }
    const QString& description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

}  // namespace db
