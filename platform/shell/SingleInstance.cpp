#include "platform/shell/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <limits>

#include "platform/db/Database.h"

namespace shell::SingleInstance {
namespace {

struct Lock {
    QString path;
    QByteArray content;  // what this copy wrote into the lock file
    int folder = -1;     // the data root, opened and locked

    // A static, so the lock file is tidied when the program ends by returning; the lock itself goes
    // with the process in any case.
    ~Lock() { letGo(); }
    void letGo() {
        if (folder < 0) return;
        // One that someone else put there since is not ours to remove.
        if (QFile file(path); file.open(QIODevice::ReadOnly) && file.readAll() == content) {
            file.close();
            QFile::remove(path);
        }
        ::close(folder);
        folder = -1;
        path.clear();
    }
};

Lock& theLock() {
    static Lock lock;
    return lock;
}

struct LockInfo {
    qint64 pid = 0;
    QString host;
};

// The copy a lock file names: false when it cannot be read or names no process.
bool readLockInfo(const QString& lockPath, LockInfo* info) {
    if (!db::MayAccess(lockPath, db::Access::Read)) return false;
    QFile file(lockPath);
    if (!file.open(QIODevice::ReadOnly)) return false;
    // pid, application and computer, a line each, as QLockFile writes them.
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool ok = false;
    info->pid = lines.value(0).trimmed().toLongLong(&ok);
    info->host = QString::fromUtf8(lines.value(2).trimmed());
    return ok && info->pid > 0 && info->pid <= std::numeric_limits<pid_t>::max();
}

bool isThisHost(const QString& host) {
    return host.isEmpty() || host == QSysInfo::machineHostName();
}

// Writes the lock file as a new file renamed into place, so that one this user may not write (left
// read-only, or by another user) is replaced all the same. 0, or the errno of the failed step.
int writeLockFile(const QString& lockPath, const QByteArray& content) {
    QByteArray temp = QFile::encodeName(lockPath) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    for (qsizetype done = 0; done < content.size() && error == 0;) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            error = errno;
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.constData(), QFile::encodeName(lockPath).constData()) != 0) error = errno;
    // The half-made file is this copy's own.
    if (error != 0) ::unlink(temp.constData());
    return error;
}

}  // namespace

Outcome tryAcquire(const QString& lockPath, QString* otherHost) {
    Lock& lock = theLock();
    if (lock.folder >= 0 && lock.path == lockPath) return Outcome::Acquired;
    release();

    const QString folder = QFileInfo(lockPath).absolutePath();
    QDir().mkpath(folder);
    if (!QFileInfo(folder).isDir() || !db::MayAccess(folder, db::Access::Write)) return Outcome::CannotCreate;
    // Before anything is written: a full disk is said as such, not as a lock that cannot be made.
    if (!db::MayAccess(folder, db::Access::Space)) return Outcome::DiskFull;

    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Outcome::CannotCreate;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? Outcome::Running : Outcome::CannotCreate;
    }
    // Whether a copy runs on another computer cannot be told from here (the folder's lock may not
    // reach across the network); two copies on one database would damage it.
    if (LockInfo info; readLockInfo(lockPath, &info) && !isThisHost(info.host)) {
        ::close(fd);
        if (otherHost) *otherHost = info.host;
        return Outcome::OtherHost;
    }
    const QByteArray content = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                               QCoreApplication::applicationName().toUtf8() + '\n' +
                               QSysInfo::machineHostName().toUtf8() + '\n';
    if (const int error = writeLockFile(lockPath, content); error != 0) {
        ::close(fd);
        return error == ENOSPC || error == EDQUOT ? Outcome::DiskFull : Outcome::CannotCreate;
    }
    lock.path = lockPath;
    lock.content = content;
    lock.folder = fd;
    return Outcome::Acquired;
}

bool namesLiveCopy(const QString& lockPath) {
    LockInfo info;
    if (!readLockInfo(lockPath, &info) || !isThisHost(info.host)) return false;
    return ::kill(pid_t(info.pid), 0) == 0 || errno == EPERM;
}

void release() {
    theLock().letGo();
}

bool held() {
    return theLock().folder >= 0;
}

}  // namespace shell::SingleInstance
