#include "platform/shell/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <memory>

namespace shell::SingleInstance {
namespace {

// A static, so the lock is released when the program ends however it gets there.
std::unique_ptr<QLockFile>& theLock() {
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

}  // namespace

bool tryAcquire(const QString& lockPath) {
    auto& lock = theLock();
    if (lock && lock->fileName() == lockPath) return true;
    release();

    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    auto candidate = std::make_unique<QLockFile>(lockPath);
    // Never stale by age: a long run must keep its lock. A dead owner's lock is still taken over,
    // since QLockFile checks whether the recorded process is alive.
    candidate->setStaleLockTime(0);
    if (candidate->tryLock(0)) {
        lock = std::move(candidate);
        return true;
    }
    // Only a live owner means another copy; a folder we cannot write to is for the database open
    // to report.
    return candidate->error() != QLockFile::LockFailedError;
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
