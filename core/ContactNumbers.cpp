#include "core/ContactNumbers.h"

#include <limits>

#include "platform/db/Database.h"

namespace core {

namespace {

// `table` and `column` are the program's own names.
int32_t NextNumber(db::Database& db, const QString& table, const QString& column) {
    db::Recordset rs = db.OpenRecordset(QStringLiteral("SELECT MAX(%1)AS MAXID FROM %2").arg(column, table));
    const QVariant largest = rs.Value(QStringLiteral("MAXID"));
    rs.Close();
    if (largest.isNull()) return 1;
    const qint64 value = largest.toLongLong();
    // A 32-bit number cannot go on past the largest one.
    if (value >= std::numeric_limits<int32_t>::max()) throw db::DbError(6, QStringLiteral("Overflow"));
    return static_cast<int32_t>(value + 1);
}

}  // namespace

int32_t NewContactID(db::Database& db) {
    return NextNumber(db, QStringLiteral("Contacts"), QStringLiteral("ContID"));
}

int32_t NewProjectID(db::Database& db) {
    return NextNumber(db, QStringLiteral("Projects"), QStringLiteral("ProjID"));
}

}  // namespace core
