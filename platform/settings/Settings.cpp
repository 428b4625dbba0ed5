#include "platform/settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <memory>
#include <utility>

namespace settings {
namespace {

QString& storeFile() {
    static QString file;
    return file;
}

QString fileOf(const QString& appName) {
    const QString& file = storeFile();
    if (file.isEmpty()) {
        throw SettingsError(kErrSettingsNoFile, QStringLiteral("No settings file has been chosen."));
    }
    const QFileInfo info(file);
    if (appName == info.completeBaseName()) return file;
    return QDir(info.absolutePath()).filePath(appName + QStringLiteral(".ini"));
}

QString& setAsideFile() {
    static QString file;
    return file;
}

// A file that cannot be read (or a folder in its place) is left alone for the rest of the run: reads
// give the defaults, and nothing is written over it, which would drop every value it holds.
struct Unusable {
    QString path;
    bool reported = false;
};
Unusable& unusable() {
    static Unusable state;
    return state;
}

// Keeps an unparsable file under a name of its own, beside it, never over an earlier one.
void setAside(const QString& path) {
    const QString base = path + QStringLiteral(".unreadable");
    for (int n = 0;; ++n) {
        const QString target = n == 0 ? base : base + QLatin1Char('.') + QString::number(n);
        const QFileInfo taken(target);
        if (taken.exists() || taken.isSymLink()) continue;
        // rename refuses an existing target, so a name taken meanwhile is not lost either.
        if (QFile::rename(path, target)) {
            setAsideFile() = target;
            return;
        }
        if (!QFileInfo::exists(target)) break;
    }
    throw SettingsError(kErrSettingsRead,
                        QStringLiteral("The settings file '%1' is not a readable settings file and could "
                                       "not be renamed.")
                            .arg(path));
}

// The store as the file is now; none when the file cannot be read. Sections are parsed lazily, so
// every key is asked for once: a bad line anywhere is found before anything is read or written.
std::unique_ptr<QSettings> openStore(const QString& path) {
    if (unusable().path == path) return nullptr;
    // Never renamed nor parsed: a folder is not a file broken by hand.
    if (!QFileInfo(path).isDir()) {
        auto store = std::make_unique<QSettings>(path, QSettings::IniFormat);
        store->allKeys();
        if (store->status() == QSettings::FormatError) {
            store.reset();
            setAside(path);
            store = std::make_unique<QSettings>(path, QSettings::IniFormat);
        }
        if (store->status() == QSettings::NoError) return store;
    }
    unusable() = {path, false};
    return nullptr;
}

}  // namespace

void SetFile(const QString& iniPath) {
    storeFile() = iniPath.isEmpty() ? QString() : QFileInfo(iniPath).absoluteFilePath();
    unusable() = {};
}

QString File() {
    return storeFile();
}

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
    const QString path = fileOf(appName);
    // A fresh QSettings each time: it reads the file as it is now, whoever wrote it last.
    const std::unique_ptr<QSettings> store = openStore(path);
    if (!store) return defaultValue;
    store->beginGroup(section);
    const QVariant value = store->value(key);
    if (!value.isValid()) return defaultValue;
    // An unquoted value with commas in a hand-edited file reads as a list; hand back its text.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
    const QString path = fileOf(appName);
    const QString failed = QStringLiteral("The setting '%1' could not be written to '%2'.").arg(key, path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) throw SettingsError(kErrSettingsWrite, failed);
    const std::unique_ptr<QSettings> store = openStore(path);
    if (!store) {
        throw SettingsError(kErrSettingsWrite,
                            QStringLiteral("The settings file '%1' cannot be read, so no setting is saved "
                                           "this session.")
                                .arg(path));
    }
    store->beginGroup(section);
    store->setValue(key, value);
    store->endGroup();
    store->sync();
    if (store->status() != QSettings::NoError) throw SettingsError(kErrSettingsWrite, failed);
}

QString TakeSetAsideFile() {
    return std::exchange(setAsideFile(), QString());
}

QString TakeUnusableFile() {
    Unusable& state = unusable();
    if (state.path.isEmpty() || state.reported) return {};
    state.reported = true;
    return state.path;
}

}  // namespace settings
