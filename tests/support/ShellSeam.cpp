#include "support/ShellSeam.h"

namespace testsupport {

ShellSeam::ShellSeam() : m_previous(shell::shellHandler()) {
    shell::setShellHandler(this);
}

ShellSeam::~ShellSeam() {
    shell::setShellHandler(m_previous);
}

void ShellSeam::clear() {
    m_urls.clear();
    m_files.clear();
    m_sounds.clear();
}

bool ShellSeam::openUrl(const QUrl& url) {
    m_urls.append(url);
    return m_openSucceeds;
}

bool ShellSeam::openFile(const QString& path) {
    m_files.append(path);
    return m_openSucceeds;
}

void ShellSeam::playSound(const QString& path) {
    m_sounds.append(path);
}

}  // namespace testsupport
