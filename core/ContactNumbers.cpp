#include "core/ContactNumbers.h"

#include <limits>

#include "platform/db/Database.h"

namespace core {

int32_t NewContactID(db::Database& db) {
    db::Recordset rs = db.OpenRecordset(QStringLiteral("SELECT MAX(ContID)AS MAXID FROM Contacts"));
    const QVariant largest = rs.Value(QStringLiteral("MAXID"));
    rs.Close();
    if (largest.isNull()) return 1;
    const qint64 value = largest.toLongLong();
    // A 32-bit contact number cannot go on past the largest one.
    if (value >= std::numeric_limits<int32_t>::max()) throw db::DbError(6, QStringLiteral("Overflow"));
    return static_cast<int32_t>(value + 1);
}

}  // namespace core
