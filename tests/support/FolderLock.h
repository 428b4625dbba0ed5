#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <QString>

namespace testsupport {

// Another copy's hold on a data root, taken from this process the way the program takes it: a lock
// on a descriptor of its own conflicts with the program's even in one process.
class FolderLock {
public:
    explicit FolderLock(const QString& folder)
        : m_fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        tryLock();
    }
    ~FolderLock() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool tryLock() {
        m_held = m_held || (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0);
        return m_held;
    }
    bool held() const { return m_held; }

private:
    int m_fd;
    bool m_held = false;
};

}  // namespace testsupport
