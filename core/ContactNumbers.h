#pragma once

#include <cstdint>

namespace db {
class Database;
}

namespace core {

// The number for a new contact or project: the largest present plus one, 1 in an empty table; past
// the largest 32-bit number none is given ("Overflow"). Call it inside the same transaction as the
// insert that uses it, so that no other write can take the number in between. Every place that adds
// a contact or a project uses it.
int32_t NewContactID(db::Database& db);
int32_t NewProjectID(db::Database& db);

}  // namespace core
