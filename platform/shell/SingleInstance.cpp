#include "platform/shell/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <limits>

#include "platform/db/Database.h"

namespace shell::SingleInstance {
namespace {

struct Lock {
    QString path;
    QString databasePath;
    QByteArray content;  // what this copy wrote into the lock file
    bool held = false;
    int folder = -1;      // the data root, opened and locked; -1 where its file system refuses locks
    int dataFolder = -1;  // the folder of the database file, when that is another folder

    // A static, so the lock file is tidied when the program ends by returning; the locks themselves
    // go with the process in any case.
    ~Lock() { letGo(); }
    void letGo() {
        if (!held) return;
        // One that someone else put there since is not ours to remove.
        if (QFile file(path); file.open(QIODevice::ReadOnly) && file.readAll() == content) {
            file.close();
            QFile::remove(path);
        }
        closeFolders();
        held = false;
        path.clear();
        databasePath.clear();
    }
    void closeFolders() {
        if (folder >= 0) ::close(folder);
        if (dataFolder >= 0) ::close(dataFolder);
        folder = dataFolder = -1;
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

// Opened read-only, which needs no right to write the folder.
int openFolder(const QString& folder) {
    return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

bool& folderLocksRefused() {
    static bool refused = false;
    return refused;
}

// 0, or the errno of the lock that could not be taken.
int lockFolder(int fd) {
    if (folderLocksRefused()) return ENOLCK;
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
}

// A network or user-space file system may take no locks at all.
bool locksRefused(int error) {
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == EINVAL;
}

// Two descriptors of one folder lock each other out, even in one process.
bool sameFile(int a, int b) {
    struct stat first {};
    struct stat second {};
    return ::fstat(a, &first) == 0 && ::fstat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// The temporary files writeLockFile makes, left by a copy killed while writing; nothing else.
void removeHalfWritten(const QString& lockPath) {
    const QFileInfo lock(lockPath);
    const QRegularExpression made(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(lock.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    QDir folder(lock.absolutePath());
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!entry.isSymLink() && made.match(entry.fileName()).hasMatch()) QFile::remove(entry.filePath());
    }
}

}  // namespace

Outcome tryAcquire(const QString& lockPath, const QString& databasePath, QString* otherHost) {
    Lock& lock = theLock();
    if (lock.held && lock.path == lockPath && lock.databasePath == databasePath) return Outcome::Acquired;
    release();
    const auto refuse = [&](Outcome outcome) {
        lock.closeFolders();
        return outcome;
    };

    // The locks come first, taken on folders opened read-only: a start beside a running copy is told
    // so even on a full disk or in a folder it may not write.
    const QString folder = QFileInfo(lockPath).absolutePath();
    QDir().mkpath(folder);
    const int rootFd = openFolder(folder);
    if (rootFd < 0) return Outcome::CannotCreate;
    bool fileOnly = false;
    if (const int error = lockFolder(rootFd); error != 0) {
        ::close(rootFd);
        if (error == EWOULDBLOCK) return Outcome::Running;
        if (!locksRefused(error)) return Outcome::CannotCreate;
        // Then the lock file alone stands for the copy that runs.
        fileOnly = true;
    } else {
        lock.folder = rootFd;
    }
    // A second data root may lead to the same database file through a link.
    if (!databasePath.isEmpty()) {
        const QString dataFolder = QFileInfo(db::ResolvedPath(databasePath)).absolutePath();
        // A first start makes the file there, and holds its folder from now on like any other start.
        QDir().mkpath(dataFolder);
        if (const int fd = openFolder(dataFolder); fd >= 0) {
            if (lock.folder >= 0 && sameFile(fd, lock.folder)) {
                ::close(fd);  // held already, as the data root
            } else if (const int error = lockFolder(fd); error == 0) {
                lock.dataFolder = fd;
            } else {
                ::close(fd);
                if (error == EWOULDBLOCK) return refuse(Outcome::DatabaseInUse);
                // Where it cannot be taken, the open of the database says what is wrong with its folder.
            }
        }
    }
    if (fileOnly && namesLiveCopy(lockPath)) return refuse(Outcome::Running);

    if (!QFileInfo(folder).isDir() || !db::MayAccess(folder, db::Access::Write))
        return refuse(Outcome::CannotCreate);
    // Before anything is written: a full disk is said as such, not as a lock that cannot be made.
    if (!db::MayAccess(folder, db::Access::Space)) return refuse(Outcome::DiskFull);
    // Whether a copy runs on another computer cannot be told from here (the folder's lock may not
    // reach across the network); two copies on one database would damage it.
    if (LockInfo info; readLockInfo(lockPath, &info) && !isThisHost(info.host)) {
        if (otherHost) *otherHost = info.host;
        return refuse(Outcome::OtherHost);
    }
    removeHalfWritten(lockPath);
    const QByteArray content = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                               QCoreApplication::applicationName().toUtf8() + '\n' +
                               QSysInfo::machineHostName().toUtf8() + '\n';
    if (const int error = writeLockFile(lockPath, content); error != 0)
        return refuse(error == ENOSPC || error == EDQUOT ? Outcome::DiskFull : Outcome::CannotCreate);
    lock.path = lockPath;
    lock.databasePath = databasePath;
    lock.content = content;
    lock.held = true;
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

void SetFolderLocksRefused(bool refused) {
    folderLocksRefused() = refused;
}

bool held() {
    return theLock().held;
}

}  // namespace shell::SingleInstance
