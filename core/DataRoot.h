#pragma once

#include <QString>
#include <QStringList>

// The program's folder (the data root) and the files in it:
//   --data-dir DIR, else $POMARET_HOME, else ~/.local/share/Pomaret.
// It holds Data/PomaretData.db, Backup/PomaretData.db and the single-instance lock. The settings file
// Application.ini lies in the data root when one was given, else in ~/.config/Pomaret.
namespace core::DataRoot {

// Chooses the data root from the command line and the environment (called once at start-up).
void Resolve(const QStringList& arguments);
// Sets it directly (tests, the data generator); `explicitRoot` as if given by --data-dir.
void Set(const QString& dir, bool explicitRoot = true);

QString Dir();
QString DatabasePath();
QString BackupPath();
QString SettingsPath();
QString LockPath();

// When a file stands where `folder` or one of the folders above it should be: says so, naming the
// data root as such ("The data root '...' is a file, not a folder."). Empty when no file is in the way.
QString FileInTheWay(const QString& folder);

}  // namespace core::DataRoot
