#pragma once

#include <QString>

// One running copy per data root and per database file. The locks proper are held for the whole run
// on the data root folder itself, on the folder of the database file it really opens (links
// resolved) and on that file, so that a hard link or a bind mount to it is seen too: no rename,
// delete or change of the lock file can lift them, and the system lets them go when the process ends,
// however it ends. The lock file beside them only names the copy that holds them; where the file
// system takes no lock on the data root, that file alone stands for the copy: it is made exclusively,
// and one left behind is judged by the process and the program it names.
namespace shell::SingleInstance {

enum class Outcome {
    Acquired,       // held by this process now (or already)
    Running,        // another copy holds the data root
    DatabaseInUse,  // another copy, of another data root, holds the folder of the database file
    FileInUse,      // another copy, of another data root, holds the database file itself
    OtherHost,      // the lock file names another computer, whose copy cannot be seen from here
    CannotCreate,   // no lock file can be made at that path
    CannotLock,     // the folder or file named in the refusal cannot be opened or locked
    DiskFull,       // the disk that holds the data root has no room left for the lock file
};

// What a start that is refused was refused on.
struct Refusal {
    QString path;       // DatabaseInUse, FileInUse, CannotLock: the folder or file
    QString reason;     // CannotLock: why, as a phrase ("you have no permission to read it")
    QString otherHost;  // OtherHost: the computer's name
};

// Takes the lock for the folder of `lockPath`, and for the folder `databasePath` resolves into and the
// file there when it exists, and writes the lock file naming this copy. Holding them already (the
// same paths, this process) counts as acquired; locks held on other paths are let go first.
Outcome tryAcquire(const QString& lockPath, const QString& databasePath = {}, Refusal* refusal = nullptr);
// Once the database is open: holds the file now at the database path, which the open may have made
// or replaced. Acquired, FileInUse or CannotLock.
Outcome holdDatabaseFile(Refusal* refusal = nullptr);
// Whether the lock file names a copy that runs on this computer: false when it is missing,
// unreadable or garbled, or names a process that has ended or now runs another program.
bool namesLiveCopy(const QString& lockPath);
// Lets go of the lock (also done at exit); the lock file goes with it while it still names us.
void release();
bool held();
// Tests: as on a file system that takes no lock on a folder or file (flock fails with ENOLCK).
void SetFolderLocksRefused(bool refused);

}  // namespace shell::SingleInstance
