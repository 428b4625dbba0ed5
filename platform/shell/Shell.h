#pragma once

#include <QString>
#include <QUrl>

// What the program asks of the desktop: open a URL or a file, play a sound, is there a tray.
// Each goes through an installable ShellHandler, so tests record the requests and choose the tray
// (tests/support/ShellSeam).
namespace shell {

class ShellHandler {
public:
    virtual ~ShellHandler() = default;
    virtual bool openUrl(const QUrl& url) = 0;
    virtual bool openFile(const QString& path) = 0;
    virtual void playSound(const QString& path) = 0;
    virtual bool trayAvailable() = 0;
};

// nullptr (the default) means the real desktop.
void setShellHandler(ShellHandler* handler);
ShellHandler* shellHandler();

// Opens the URL with the desktop's handler for its scheme (browser, mail program). False when
// nothing could be started to show it.
bool OpenUrl(const QUrl& url);
// Opens the file with the desktop's program for its type. False when the file is missing or
// nothing could be started to show it.
bool OpenFile(const QString& path);
// Starts the sound and returns at once; a missing file or audio device is silently no sound.
// `path` is a file or a resource (":/alert.wav").
void PlaySound(const QString& path);
// Whether the desktop shows tray icons.
bool TrayAvailable();

}  // namespace shell
