#pragma once

#include <QList>
#include <QString>
#include <memory>

#include "platform/db/Database.h"
#include "platform/db/TableDef.h"

namespace core {

// Gives the data root a database when it has none: a missing file, or one of 0 bytes, is replaced by
// a blank database built from the schema (every table, index and default, and the one Company row).
// Any other file is left alone; whether it is usable is for the open to find out.
// Nothing is built while a damaged database set aside at an earlier start is there: that raises
// kErrDamaged with the same message as when it was set aside.
// Returns true when a blank database was created.
bool EnsureDatabase(const QString& databasePath);

// Opens the program's database at `databasePath`, after EnsureDatabase. A file refused as damaged is
// set aside together with its working files ("<path>.damaged", "<path>.damaged-wal", ...), so that a
// copy of the backup put in its place starts clean; the kErrDamaged raised then names the set.
// When a blank database was built while a backup or files set aside from before are there,
// `builtNotice` gets the text that tells the user so and where they are. `progress` follows the
// whole-file check of an unclean end (db::Database::Open).
std::unique_ptr<db::Database> OpenProgramDatabase(const QString& databasePath, QString* builtNotice = nullptr,
                                                  const db::Progress& progress = {});

// What makes a file the program's database: every table and column of the schema, Security excepted
// (CheckDatabaseVersion adds it). Start-up, the backup's copy and the file a restore reads are all
// held to it.
const QList<db::TableDef>& ProgramSchema();

// The schema script compiled into the program.
QString SchemaScript();

}  // namespace core
