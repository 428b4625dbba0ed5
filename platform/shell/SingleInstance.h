#pragma once

#include <QString>

// One running copy per data root: a lock file held for the whole run and released at exit. A lock
// left behind by a process that no longer runs is taken over.
namespace shell::SingleInstance {

enum class Outcome {
    Acquired,      // held by this process now (or already)
    Running,       // another live copy on this computer holds it
    OtherHost,     // the lock names another computer, whose copy cannot be seen from here
    CannotCreate,  // no lock file can be made at that path
};

// Takes the lock at `lockPath`. Holding it already (the same path, this process) counts as acquired;
// a lock held on another path is let go first. A lock that names no process (empty, unreadable or
// garbled) is taken over like a dead process's, unless a copy is writing it this very moment. For
// OtherHost, `otherHost` receives the computer's name.
Outcome tryAcquire(const QString& lockPath, QString* otherHost = nullptr);
// Lets go of the lock (also done at exit).
void release();
bool held();

}  // namespace shell::SingleInstance
