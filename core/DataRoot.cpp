#include "core/DataRoot.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

namespace core::DataRoot {
namespace {

const QString kFolderName = QStringLiteral("Pomaret");
const QString kSettingsFile = QStringLiteral("Application.ini");

struct State {
    bool resolved = false;
    QString dir;
    bool explicitRoot = false;
};

State& state() {
    static State s;
    return s;
}

// Built by hand rather than from the application's organisation and name, so the folders stay
// the same whatever QCoreApplication was told.
QString defaultDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           kFolderName;
}

QString defaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           kFolderName + QLatin1Char('/') + kSettingsFile;
}

// The value of the last --data-dir given, as "--data-dir DIR" or "--data-dir=DIR"; empty if none.
QString dataDirArgument(const QStringList& arguments) {
    const QString option = QStringLiteral("--data-dir");
    const QString withValue = option + QLatin1Char('=');
    QString found;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg == option) {
            if (i + 1 < arguments.size()) found = arguments.at(++i);
        } else if (arg.startsWith(withValue)) {
            found = arg.mid(withValue.size());
        }
    }
    return found;
}

const State& current() {
    // Nobody resolved it yet (a tool or test that skipped start-up): take the environment's word.
    if (!state().resolved) Resolve({});
    return state();
}

}  // namespace

void Resolve(const QStringList& arguments) {
    const QString given = dataDirArgument(arguments);
    if (!given.isEmpty()) {
        Set(given, true);
        return;
    }
    const QString home = qEnvironmentVariable("POMARET_HOME");
    if (!home.isEmpty()) {
        Set(home, true);
        return;
    }
    Set(defaultDir(), false);
}

void Set(const QString& dir, bool explicitRoot) {
    State& s = state();
    // Absolute and clean, so that a later change of the working folder cannot move the data.
    s.dir = QDir::cleanPath(QDir(dir).absolutePath());
    s.explicitRoot = explicitRoot;
    s.resolved = true;
}

QString Dir() {
    return current().dir;
}

QString DatabasePath() {
    return Dir() + QStringLiteral("/Data/PomaretData.db");
}

QString BackupPath() {
    return Dir() + QStringLiteral("/Backup/PomaretData.db");
}

QString SettingsPath() {
    const State& s = current();
    return s.explicitRoot ? s.dir + QLatin1Char('/') + kSettingsFile : defaultSettingsPath();
}

QString LockPath() {
    return Dir() + QStringLiteral("/Pomaret.lock");
}

QString FileInTheWay(const QString& folder) {
    // The nearest part of the path that exists decides: a folder there can hold the rest.
    for (QString path = QDir::cleanPath(QDir(folder).absolutePath());;) {
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink()) {
            if (info.isDir()) return {};
            if (path == Dir()) return QStringLiteral("The data root '%1' is a file, not a folder.").arg(path);
            return QStringLiteral("'%1' is a file, not a folder: the folder '%2' cannot be made there.")
                .arg(path, folder);
        }
        const QString parent = info.path();
        if (parent == path) return {};
        path = parent;
    }
}

}  // namespace core::DataRoot
