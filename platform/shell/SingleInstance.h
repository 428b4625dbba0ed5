#pragma once

#include <QString>

// One running copy per data root: a lock file held for the whole run and released at exit. A lock
// left behind by a process that no longer runs is taken over.
namespace shell::SingleInstance {

// False only when another live process holds the lock at `lockPath`. Holding it already (the same
// path, this process) counts as acquired; a lock held on another path is let go first.
bool tryAcquire(const QString& lockPath);
// Lets go of the lock (also done at exit).
void release();
bool held();

}  // namespace shell::SingleInstance
