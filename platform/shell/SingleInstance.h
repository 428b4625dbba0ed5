#pragma once

#include <QString>

// One running copy per data root and per database file. The locks proper are held on the data root
// folder itself and on the folder of the database file it really opens (links resolved) for the
// whole run: no rename, delete or change of the lock file can lift them, and the system lets them go
// when the process ends, however it ends. The lock file beside them only names the copy that holds
// them; where the file system takes no lock on the data root, that file alone stands for the copy.
namespace shell::SingleInstance {

enum class Outcome {
    Acquired,       // held by this process now (or already)
    Running,        // another copy holds the data root
    DatabaseInUse,  // another copy, of another data root, holds the folder of the same database file
    OtherHost,      // the lock file names another computer, whose copy cannot be seen from here
    CannotCreate,   // no lock can be taken or named at that path
    DiskFull,       // the disk that holds the data root has no room left for the lock file
};

// Takes the lock for the folder of `lockPath`, and for the folder `databasePath` resolves into, and
// writes the lock file naming this copy over whatever the file held. Holding them already (the same
// paths, this process) counts as acquired; locks held on other paths are let go first. For OtherHost,
// `otherHost` receives the computer's name.
Outcome tryAcquire(const QString& lockPath, const QString& databasePath = {}, QString* otherHost = nullptr);
// Whether the lock file names a copy that runs on this computer: false when it is missing,
// unreadable or garbled, or names a process that has ended.
bool namesLiveCopy(const QString& lockPath);
// Lets go of the lock (also done at exit); the lock file goes with it while it still names us.
void release();
bool held();
// Tests: as on a file system that takes no lock on a folder (flock fails with ENOLCK).
void SetFolderLocksRefused(bool refused);

}  // namespace shell::SingleInstance
