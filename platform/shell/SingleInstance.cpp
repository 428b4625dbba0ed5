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
    int file = -1;        // the database file itself

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
        closeAll();
        held = false;
        path.clear();
        databasePath.clear();
    }
    void closeAll() {
        for (int* fd : {&folder, &dataFolder, &file}) {
            if (*fd >= 0) ::close(*fd);
            *fd = -1;
        }
    }
};

Lock& theLock() {
    static Lock lock;
    return lock;
}

struct LockInfo {
    qint64 pid = 0;
    QString program;
    QString host;
};

// pid, program and computer, a line each, as QLockFile writes them. False when it names no process.
bool parseLockInfo(const QByteArray& content, LockInfo* info) {
    const QList<QByteArray> lines = content.split('\n');
    bool ok = false;
    info->pid = lines.value(0).trimmed().toLongLong(&ok);
    info->program = QString::fromUtf8(lines.value(1).trimmed());
    info->host = QString::fromUtf8(lines.value(2).trimmed());
    return ok && info->pid > 0 && info->pid <= std::numeric_limits<pid_t>::max();
}

// The copy a lock file names: false when it cannot be read or names no process.
bool readLockInfo(const QString& lockPath, LockInfo* info) {
    if (!db::MayAccess(lockPath, db::Access::Read)) return false;
    QFile file(lockPath);
    return file.open(QIODevice::ReadOnly) && parseLockInfo(file.read(4096), info);
}

bool isThisHost(const QString& host) {
    return host.isEmpty() || host == QSysInfo::machineHostName();
}

// This program's name as the lock file records it: the file name of what runs, which is what the
// system can tell of another process.
QString programName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

// The program a process runs, by its file name; empty where that cannot be told.
QString programOf(qint64 pid) {
    const QByteArray proc = "/proc/" + QByteArray::number(pid);
    char target[4096];
    if (const ssize_t n = ::readlink((proc + "/exe").constData(), target, sizeof target); n > 0) {
        QString path = QFile::decodeName(QByteArray(target, int(n)));
        // Rebuilt or updated while it runs, it is still that program.
        if (path.endsWith(QLatin1String(" (deleted)"))) path.chop(10);
        return QFileInfo(path).fileName();
    }
    // Another user's process shows only the name the kernel keeps, cut to 15 characters.
    QFile comm(QFile::decodeName(proc + "/comm"));
    return comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll().trimmed()) : QString();
}

// Whether the copy named runs on this computer: its process is there and runs the program it names
// (where either can be told). A process numbered as this one is not another copy: the file was left
// by one that ran before under the same number.
bool isLive(const LockInfo& info) {
    if (!isThisHost(info.host)) return true;  // cannot be seen from here
    if (info.pid == QCoreApplication::applicationPid()) return false;
    if (::kill(pid_t(info.pid), 0) != 0 && errno != EPERM) return false;
    const QString running = programOf(info.pid);
    if (info.program.isEmpty() || running.isEmpty()) return true;
    return running == info.program || (running.size() == 15 && info.program.startsWith(running));
}

// Writes `content` into a new file beside the lock file; 0, or the errno of the failed step.
int writeTemp(const QString& lockPath, const QByteArray& content, QByteArray* temp) {
    *temp = QFile::encodeName(lockPath) + ".XXXXXX";
    const int fd = ::mkostemp(temp->data(), O_CLOEXEC);
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
    // The half-made file is this copy's own.
    if (error != 0) ::unlink(temp->constData());
    return error;
}

// Writes the lock file as a new file renamed into place, so that one this user may not write (left
// read-only, or by another user) is replaced all the same. 0, or the errno of the failed step.
int writeLockFile(const QString& lockPath, const QByteArray& content) {
    QByteArray temp;
    if (const int error = writeTemp(lockPath, content, &temp); error != 0) return error;
    if (::rename(temp.constData(), QFile::encodeName(lockPath).constData()) == 0) return 0;
    const int error = errno;
    ::unlink(temp.constData());
    return error;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Where the lock file alone stands for the copy, it is linked into place whole, which fails where a
// file is there: of two starts at once exactly one gets it. A file left by a copy that is gone is
// moved aside first, and removed only if it is still the one judged; one another start linked
// meanwhile is put back. Acquired, Running, or CannotCreate with `error`.
Outcome claimLockFile(const QString& lockPath, const QByteArray& content, int* error) {
    const QByteArray lock = QFile::encodeName(lockPath);
    for (int attempt = 0; attempt < 8; ++attempt) {
        QByteArray temp;
        if ((*error = writeTemp(lockPath, content, &temp)) != 0) return Outcome::CannotCreate;
        *error = ::link(temp.constData(), lock.constData()) == 0 ? 0 : errno;
        ::unlink(temp.constData());
        if (*error == 0) return Outcome::Acquired;
        if (*error == ENOENT) continue;  // tidied away by a start that got the file
        if (*error != EEXIST) return Outcome::CannotCreate;

        QFile there(lockPath);
        struct stat judged {};
        if (!there.open(QIODevice::ReadOnly) || ::fstat(there.handle(), &judged) != 0) continue;
        LockInfo info;
        if (parseLockInfo(there.read(4096), &info) && isLive(info)) return Outcome::Running;
        // `there` stays open until the file moved aside has been compared with it: a file that is
        // open keeps its inode, which a start that removed it could otherwise get again for its own
        // new lock file, passing for the one judged stale.
        QByteArray aside = lock + ".stale-XXXXXX";
        if (const int fd = ::mkostemp(aside.data(), O_CLOEXEC); fd >= 0) {
            ::close(fd);
        } else {
            *error = errno;
            return Outcome::CannotCreate;
        }
        struct stat moved {};
        if (::rename(lock.constData(), aside.constData()) == 0 && ::stat(aside.constData(), &moved) == 0 &&
            !sameFile(moved, judged))
            ::link(aside.constData(), lock.constData());
        ::unlink(aside.constData());
    }
    return Outcome::Running;  // taken again at every try
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
int takeLock(int fd) {
    if (folderLocksRefused()) return ENOLCK;
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
}

// A network or user-space file system may take no locks at all.
bool locksRefused(int error) {
    return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == EINVAL;
}

QString reasonFor(int error) {
    if (error == EACCES || error == EPERM) return QStringLiteral("you have no permission to read it");
    return qt_error_string(error);
}

// The lock on the database file, so that a copy that reaches it through a hard link or a bind mount
// meets it too. No file yet (a first start) is held once the open has made it.
Outcome lockDatabaseFile(Lock& lock, const QString& file, Refusal& said) {
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    said.path = file;
    if (fd < 0) {
        if (errno == ENOENT) return Outcome::Acquired;
        said.reason = reasonFor(errno);
        return Outcome::CannotLock;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);  // no database: its open says what it is
        return Outcome::Acquired;
    }
    const int error = takeLock(fd);
    // Kept open even where locks are refused: closing a descriptor of the file would drop SQLite's own
    // locks on it in this process.
    if (error == 0 || locksRefused(error)) {
        lock.file = fd;
        return Outcome::Acquired;
    }
    ::close(fd);
    if (error == EWOULDBLOCK) return Outcome::FileInUse;
    said.reason = reasonFor(error);
    return Outcome::CannotLock;
}

// The temporary files writeTemp makes, left by a copy killed while writing; nothing else.
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

Outcome tryAcquire(const QString& lockPath, const QString& databasePath, Refusal* refusal) {
    Lock& lock = theLock();
    if (lock.held && lock.path == lockPath && lock.databasePath == databasePath) return Outcome::Acquired;
    release();
    Refusal ignored;
    Refusal& said = refusal ? *refusal : ignored;
    const auto refuse = [&](Outcome outcome) {
        lock.closeAll();
        return outcome;
    };
    const auto cannotLock = [&](const QString& path, int error) {
        said.path = path;
        said.reason = reasonFor(error);
        return refuse(Outcome::CannotLock);
    };

    // The locks come first, taken on folders opened read-only: a start beside a running copy is told
    // so even on a full disk or in a folder it may not write.
    const QString folder = QFileInfo(lockPath).absolutePath();
    QDir().mkpath(folder);
    const int rootFd = openFolder(folder);
    if (rootFd < 0) return errno == EACCES ? cannotLock(folder, EACCES) : Outcome::CannotCreate;
    bool fileOnly = false;
    if (const int error = takeLock(rootFd); error != 0) {
        ::close(rootFd);
        if (error == EWOULDBLOCK) return Outcome::Running;
        if (!locksRefused(error)) return cannotLock(folder, error);
        // Then the lock file alone stands for the copy that runs.
        fileOnly = true;
    } else {
        lock.folder = rootFd;
    }
    // A second data root may lead to the same database file through a link.
    if (!databasePath.isEmpty()) {
        const QString file = db::ResolvedPath(databasePath);
        const QString dataFolder = QFileInfo(file).absolutePath();
        // A first start makes the file there, and holds its folder from now on like any other start.
        // A folder that cannot be made holds no database: the open says why.
        QDir().mkpath(dataFolder);
        if (QFileInfo(dataFolder).isDir()) {
            // Root opens a folder it may not read all the same: the check is told what a user meets.
            int fd = -1;
            int openError = EACCES;
            if (db::MayAccess(dataFolder, db::Access::Read)) {
                fd = openFolder(dataFolder);
                openError = errno;
            }
            if (fd < 0) return cannotLock(dataFolder, openError);
            struct stat data {};
            struct stat root {};
            if (lock.folder >= 0 && ::fstat(fd, &data) == 0 && ::fstat(lock.folder, &root) == 0 &&
                sameFile(data, root)) {
                ::close(fd);  // held already, as the data root
            } else if (const int error = takeLock(fd); error == 0) {
                lock.dataFolder = fd;
            } else {
                ::close(fd);
                said.path = dataFolder;
                if (error == EWOULDBLOCK) return refuse(Outcome::DatabaseInUse);
                if (!locksRefused(error)) return cannotLock(dataFolder, error);
            }
            if (const Outcome held = lockDatabaseFile(lock, file, said); held != Outcome::Acquired)
                return refuse(held);
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
        said.otherHost = info.host;
        return refuse(Outcome::OtherHost);
    }
    const QByteArray content = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                               programName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    int error = 0;
    const Outcome claimed = fileOnly ? claimLockFile(lockPath, content, &error)
                            : (error = writeLockFile(lockPath, content)) == 0 ? Outcome::Acquired
                                                                              : Outcome::CannotCreate;
    if (claimed == Outcome::CannotCreate)
        return refuse(error == ENOSPC || error == EDQUOT ? Outcome::DiskFull : Outcome::CannotCreate);
    if (claimed != Outcome::Acquired) return refuse(claimed);
    // Only once the file is ours: a start at the same moment may be writing its own.
    removeHalfWritten(lockPath);
    lock.path = lockPath;
    lock.databasePath = databasePath;
    lock.content = content;
    lock.held = true;
    return Outcome::Acquired;
}

Outcome holdDatabaseFile(Refusal* refusal) {
    Lock& lock = theLock();
    if (!lock.held || lock.databasePath.isEmpty()) return Outcome::Acquired;
    const QString file = db::ResolvedPath(lock.databasePath);
    struct stat now {};
    struct stat locked {};
    if (::stat(QFile::encodeName(file).constData(), &now) != 0) return Outcome::Acquired;
    if (lock.file >= 0 && ::fstat(lock.file, &locked) == 0 && sameFile(now, locked)) return Outcome::Acquired;
    // The one held (an empty file the open replaced) is not the database any more.
    if (lock.file >= 0) ::close(lock.file);
    lock.file = -1;
    Refusal ignored;
    const Outcome outcome = lockDatabaseFile(lock, file, refusal ? *refusal : ignored);
    if (outcome != Outcome::Acquired) release();
    return outcome;
}

bool namesLiveCopy(const QString& lockPath) {
    LockInfo info;
    return readLockInfo(lockPath, &info) && isThisHost(info.host) && isLive(info);
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
