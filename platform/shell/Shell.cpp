#include "platform/shell/Shell.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMediaDevices>
#include <QSoundEffect>
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

}  // namespace

void setShellHandler(ShellHandler* handler) {
    g_handler = handler;
}

ShellHandler* shellHandler() {
    return g_handler;
}

bool OpenUrl(const QUrl& url) {
    return g_handler ? g_handler->openUrl(url) : QDesktopServices::openUrl(url);
}

bool OpenFile(const QString& path) {
    return g_handler ? g_handler->openFile(path) : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
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
