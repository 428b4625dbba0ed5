#pragma once

#include <QString>

// SQLite's own work behind each long step of the program, done straight on SQLite with nothing of the
// program around it: what the steps are measured against. Each runs on connections of its own with
// the program's connection settings (16 MB cache, synchronous=FULL), so that a slower setting in the
// program shows in the ratio rather than in both figures. Throws std::runtime_error when SQLite fails
// or a check does not say "ok".
namespace bench::bare {

// The start-up check after an unclean end: integrity_check(1) of the database.
void StartupCheck(const QString& database);

// Backup: a backup-API copy of the database to `copy`, made a rollback-journal file, and an
// integrity_check of the copy; the copy is removed again.
void Backup(const QString& database, const QString& copy);

// Restore: an integrity_check of `backup`, a backup-API copy of the database to `aside`, the backup
// copied into the database in one step (one write transaction), then an integrity_check of the
// result; `aside` is removed again. The database must hold the same rows as `backup` beforehand, so
// that it still does afterwards.
void Restore(const QString& database, const QString& backup, const QString& aside);

// Compact: VACUUM, then the write-ahead log emptied into the file (wal_checkpoint(TRUNCATE)).
void Compact(const QString& database);

// Repair: integrity_check, then REINDEX.
void Repair(const QString& database);

}  // namespace bench::bare
