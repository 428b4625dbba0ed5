#include "core/BlankDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/DataRoot.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"

namespace core {
namespace {

const QString kDamaged = QStringLiteral("damaged");

QString damagedText(const QString& databasePath, const QString& setAside) {
    return QStringLiteral(
               "The database file '%1' is damaged and has been set aside, with its working files, as "
               "'%2'. Delete '%2' to start with an empty database instead.")
        .arg(databasePath, setAside);
}

// What a blank database built among the files of an earlier one leaves the user to know: where the
// data may still be. Empty when there is neither a backup nor a file set aside.
QString builtAmongOthersText(const QString& databasePath, bool wasEmpty) {
    const QFileInfo info(databasePath);
    const QStringList setAside =
        QDir(info.absolutePath())
            .entryList({info.fileName() + QStringLiteral(".*")}, QDir::Files, QDir::Name);
    const QString backup = DataRoot::BackupPath();
    const bool haveBackup = QFileInfo(backup).isFile() && QFileInfo(backup).size() > 0;
    if (setAside.isEmpty() && !haveBackup) return {};
    QString text = QStringLiteral(
                       "The database file '%1' was %2, so a new, empty database was made in its "
                       "place.")
                       .arg(databasePath, wasEmpty ? QStringLiteral("empty") : QStringLiteral("missing"));
    if (haveBackup) {
        text += QStringLiteral(
                    "\nThe last backup is '%1': to go on with its data, use File > Database "
                    "Utilities > Restore Data ...")
                    .arg(backup);
    }
    if (!setAside.isEmpty()) {
        text += QStringLiteral("\nFiles set aside from before are in '%1': %2.")
                    .arg(info.absolutePath(), setAside.join(QStringLiteral(", ")));
    }
    return text;
}

}  // namespace

QString SchemaScript() {
    QFile file(QStringLiteral(":/schema.sql"));
    if (!file.open(QIODevice::ReadOnly)) {
        throw db::DbError(db::kErrFileNotFound,
                          QStringLiteral("The database schema is missing from the program."));
    }
    return QString::fromUtf8(file.readAll());
}

bool EnsureDatabase(const QString& databasePath) {
    const QFileInfo info(databasePath);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder)) {
        if (const QString why = DataRoot::FileInTheWay(folder); !why.isEmpty()) {
            throw db::DbError(db::kErrWrongKind, why);
        }
        throw db::DbError(db::kErrCannotWrite,
                          QStringLiteral("The folder '%1' cannot be created: you have no permission to "
                                         "create it.")
                              .arg(folder));
    }
    // Anything with content is the user's: whether it is a usable database is for the open to
    // decide, and it must find the file exactly as it was.
    if (info.exists() && (!info.isFile() || info.size() > 0)) return false;
    // The set-aside file stands for the data until the user copies the backup in or deletes it.
    const QString damaged = db::LastSetAside(databasePath, kDamaged);
    if (!damaged.isEmpty()) throw db::DbError(db::kErrDamaged, damagedText(databasePath, damaged));
    // Said as what it is, before a half-built file could be left behind.
    db::RequireWritableFolder(folder);
    // An empty file is what an interrupted first run or a failed copy leaves behind. Behind a link it is
    // the file that goes, and the new one takes its place; the link stays.
    if (info.exists() && !QFile::remove(db::ResolvedPath(databasePath))) {
        throw db::DbError(db::kErrFileNotFound,
                          QStringLiteral("Cannot replace the empty file '%1'.").arg(databasePath));
    }
    db::Database::CreateFromScript(databasePath, SchemaScript());
    return true;
}

std::unique_ptr<db::Database> OpenProgramDatabase(const QString& databasePath, QString* builtNotice,
                                                  const db::Progress& progress) {
    const bool wasEmpty = QFileInfo::exists(databasePath);
    if (EnsureDatabase(databasePath) && builtNotice)
        *builtNotice = builtAmongOthersText(databasePath, wasEmpty);
    try {
        return db::Database::Open(databasePath, ProgramSchema(), progress);
    } catch (const db::DbError& e) {
        if (e.number() != db::kErrDamaged) throw;
        QString setAside;
        try {
            setAside = db::SetAside(databasePath, kDamaged, true);
        } catch (const db::DbError& failed) {
            throw db::DbError(e.number(), e.description() + QLatin1Char(' ') + failed.description());
        }
        throw db::DbError(e.number(), damagedText(databasePath, setAside));
    }
}

const QList<db::TableDef>& ProgramSchema() {
    static const QList<db::TableDef> tables = [] {
        QList<db::TableDef> all = db::Database::ScriptTables(SchemaScript());
        all.removeIf([](const db::TableDef& t) { return t.name == QLatin1String("Security"); });
        return all;
    }();
    return tables;
}

}  // namespace core
