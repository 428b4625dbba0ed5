#include "platform/shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <memory>

#include "platform/db/Database.h"

namespace shell::SingleInstance {
namespace {

// A static, so the lock is released when the program ends however it gets there.
std::unique_ptr<QLockFile>& theLock() {
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

}  // namespace

Outcome tryAcquire(const QString& lockPath, QString* otherHost) {
    auto& lock = theLock();
    if (lock && lock->fileName() == lockPath) return Outcome::Acquired;
    release();

    const QString folder = QFileInfo(lockPath).absolutePath();
    QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir() || !db::MayAccess(folder, db::Access::Write)) return Outcome::CannotCreate;
    // Twice at most: once more after a lock that names no process was removed.
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto candidate = std::make_unique<QLockFile>(lockPath);
        // Never stale by age: a long run must keep its lock. A dead owner's lock is still taken over,
        // since QLockFile checks whether the recorded process is alive.
        candidate->setStaleLockTime(0);
        if (candidate->tryLock(0)) {
            lock = std::move(candidate);
            return Outcome::Acquired;
        }
        if (candidate->error() != QLockFile::LockFailedError) return Outcome::CannotCreate;
        qint64 pid = 0;
        QString host;
        QString application;
        if (candidate->getLockInfo(&pid, &host, &application)) {
            // Whether a copy runs on another computer cannot be told from here; two copies on one
            // database would damage it.
            if (!host.isEmpty() && host != QSysInfo::machineHostName()) {
                if (otherHost) *otherHost = host;
                return Outcome::OtherHost;
            }
            return Outcome::Running;
        }
        // Nothing in it names a copy, so none can ever be found dead: taken over, unless a copy holds
        // its native lock (it is writing the file this moment). One this process may not even open
        // cannot be a copy's of this user.
        if (!candidate->removeStaleLockFile() &&
            (QFileInfo(lockPath).isReadable() || !QFile::remove(lockPath))) {
            return QFileInfo(lockPath).isDir() ? Outcome::CannotCreate : Outcome::Running;
        }
    }
    return Outcome::Running;
}

void release() {
    auto& lock = theLock();
    if (lock) lock->unlock();
    lock.reset();
}

bool held() {
    return theLock() != nullptr;
}

}  // namespace shell::SingleInstance
