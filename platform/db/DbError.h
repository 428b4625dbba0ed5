#pragma once

#include "platform/Error.h"

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
    kErrInTransaction = 3015,  // an operation that needs no open transaction found one
    kErrDamaged = 3016,        // a database file that fails its integrity check
    kErrCannotRead = 3017,     // a file this user may not read
    kErrCannotWrite = 3018,    // a database file, or its folder, this user may not write
    kErrDiskFull = 3019,       // the disk holding the database has no room left
    kErrWrongKind = 3020,      // a folder where a file belongs, or a file where a folder belongs
    kSqliteBase = 10000,
};

class DbError : public platform::Error {
public:
    using platform::Error::Error;
};

}  // namespace db
