#pragma once

#include <cstdint>

namespace db {
class Database;
}

namespace core {

// The number for a new contact: the largest ContID present plus one, 1 in an empty table.
// Call it inside the same transaction as the insert that uses it, so that no other write can take
// the number in between. Every place that adds a contact uses it.
int32_t NewContactID(db::Database& db);

}  // namespace core
