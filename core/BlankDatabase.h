#pragma once

#include <QString>

namespace core {

// Gives the data root a database when it has none: a missing file, or one of 0 bytes, is replaced by
// a blank database built from the schema (every table, index and default, and the one Company row).
// Any other file is left alone; whether it is usable is for the open to find out.
// Returns true when a blank database was created.
bool EnsureDatabase(const QString& databasePath);

// The schema script compiled into the program.
QString SchemaScript();

}  // namespace core
