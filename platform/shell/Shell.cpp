#include "platform/shell/Shell.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>

namespace shell {

namespace {

ShellHandler* g_handler = nullptr;

// Longest a sound is kept alive when the backend never reports that it stopped.
constexpr int kSoundLifetimeMs = 60'000;

void StartSound(const QString& path) {
    if (QMediaDevices::defaultAudioOutput().isNull()) return;  // nowhere to play it: no sound, no error
    const QUrl source =
        path.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + path) : QUrl::fromLocalFile(path);
    // Owned by the application and deleted when it stops (or fails to load), so the caller never
    // waits and the sound is not cut off when the caller's scope ends.
    auto* effect = new QSoundEffect(QCoreApplication::instance());
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying() && effect->status() != QSoundEffect::Loading) effect->deleteLater();
    });
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error) effect->deleteLater();
    });
    QTimer::singleShot(kSoundLifetimeMs, effect, &QObject::deleteLater);
    effect->setSource(source);
    effect->play();
}

// How long xdg-open is given to start, and to give its verdict.
constexpr int kOpenerStartMs = 5000;
constexpr int kOpenerVerdictMs = 1500;

// Hands `url` to the desktop's opener. xdg-open ends at once with an error when nothing can show
// the address (no browser installed), which QDesktopServices does not report; a program it runs in
// the foreground keeps it running, which counts as opened.
bool OpenWithDesktop(const QUrl& url) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return QDesktopServices::openUrl(url);
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    // Nobody reads what it writes, so it must not fill a pipe and stall.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(kOpenerStartMs)) {
        delete process;
        return false;
    }
    if (process->waitForFinished(kOpenerVerdictMs)) {
        const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        delete process;
        return opened;
    }
    // Still running: it is left to run, even past the program's end (deleting it would kill it).
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return true;
}

}  // namespace

void setShellHandler(ShellHandler* handler) {
    g_handler = handler;
}

ShellHandler* shellHandler() {
    return g_handler;
}

bool OpenUrl(const QUrl& url) {
    return g_handler ? g_handler->openUrl(url) : OpenWithDesktop(url);
}

bool OpenFile(const QString& path) {
    if (g_handler) return g_handler->openFile(path);
    return QFileInfo(path).isFile() && OpenWithDesktop(QUrl::fromLocalFile(path));
}

void PlaySound(const QString& path) {
    if (g_handler)
        g_handler->playSound(path);
    else
        StartSound(path);
}

bool TrayAvailable() {
    return g_handler ? g_handler->trayAvailable() : QSystemTrayIcon::isSystemTrayAvailable();
}

}  // namespace shell
