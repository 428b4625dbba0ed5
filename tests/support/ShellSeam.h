#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "platform/shell/Shell.h"

namespace testsupport {

// Stands in for the desktop in a test: records the URLs and files opened and the sounds played,
// and says whether there is a tray (yes unless set otherwise). Installed until it goes out of scope.
class ShellSeam : public shell::ShellHandler {
public:
    ShellSeam();
    ~ShellSeam() override;
    ShellSeam(const ShellSeam&) = delete;
    ShellSeam& operator=(const ShellSeam&) = delete;

    void setTrayAvailable(bool available) { m_tray = available; }
    // What OpenUrl/OpenFile report back to the program.
    void setOpenSucceeds(bool succeeds) { m_openSucceeds = succeeds; }

    const QList<QUrl>& urls() const { return m_urls; }
    const QStringList& files() const { return m_files; }
    const QStringList& sounds() const { return m_sounds; }
    void clear();

private:
    bool openUrl(const QUrl& url) override;
    bool openFile(const QString& path) override;
    void playSound(const QString& path) override;
    bool trayAvailable() override { return m_tray; }

    shell::ShellHandler* m_previous = nullptr;
    QList<QUrl> m_urls;
    QStringList m_files;
    QStringList m_sounds;
    bool m_tray = true;
    bool m_openSucceeds = true;
};

}  // namespace testsupport
