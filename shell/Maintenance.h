#pragma once

#include <QString>

// File > Database Utilities: compact, repair, backup and restore of the one database file, and its
// single backup copy Backup/PomaretData.db in the data root.
//
// No failure at any step loses data: the backup is written to a temporary file, checked, and only
// then renamed over the previous one; a restore takes only a backup that passes its check, copies it
// in as one transaction and keeps the database as it was beside it until that has worked; compact and
// repair work on the open connection, which stays open whatever happens.
namespace shell {

// The main window's Database Utilities commands.
void mnuFileCompDB_Click();
void mnuFileRepDB_Click();
void mnuFileBackupDB_Click();
void mnuFileRestoreDB_Click();

// True when the file can be opened for reading.
bool FileExists(const QString& path);

// After the database was closed for maintenance: opens it again when it is closed, brings its schema
// up to date and shows the home screen when no screen is open (a dialog left open does not count).
void ReopenDatabase();

// Where the database is kept as it was while a restore runs (beside the database file).
QString PreRestorePath();

// At start-up: removes the temporary copies that a killed backup or restore left behind, and names the
// copy of the database a killed restore left at PreRestorePath (kept, never removed here).
void ReportLeftovers();

}  // namespace shell

namespace modGeneral {
// VACUUM on the open connection, with the command's status line, screens and messages.
void CompactDB();
}  // namespace modGeneral

namespace modAPI {
// The copies behind the progress window; each reports its own failure and returns whether it worked.
bool BackupDataFiles();
bool RestoreDataFiles();
}  // namespace modAPI
