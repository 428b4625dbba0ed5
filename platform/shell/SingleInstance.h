#pragma once

#include <QString>

// One running copy per data root. The lock proper is held on the data root folder itself for the
// whole run: no rename, delete or change of the lock file can lift it, and the system lets it go
// when the process ends, however it ends. The lock file beside it only names the copy that holds it.
namespace shell::SingleInstance {

enum class Outcome {
    Acquired,      // held by this process now (or already)
    Running,       // another copy holds the data root
    OtherHost,     // the lock file names another computer, whose copy cannot be seen from here
    CannotCreate,  // no lock can be taken or named at that path
    DiskFull,      // the disk that holds the data root has no room left for the lock file
};

// Takes the lock for the folder of `lockPath` and writes the lock file naming this copy over
// whatever the file held. Holding it already (the same path, this process) counts as acquired; a
// lock held on another path is let go first. For OtherHost, `otherHost` receives the computer's name.
Outcome tryAcquire(const QString& lockPath, QString* otherHost = nullptr);
// Whether the lock file names a copy that runs on this computer: false when it is missing,
// unreadable or garbled, or names a process that has ended.
bool namesLiveCopy(const QString& lockPath);
// Lets go of the lock (also done at exit); the lock file goes with it while it still names us.
void release();
bool held();

}  // namespace shell::SingleInstance
