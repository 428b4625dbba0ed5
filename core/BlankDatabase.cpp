#include "core/BlankDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/DataRoot.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"

namespace core {

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
    // Said as what it is, before a half-built file could be left behind.
    db::RequireWritableFolder(folder);
    // An empty file is what an interrupted first run or a failed copy leaves behind.
    if (info.exists() && !QFile::remove(databasePath)) {
        throw db::DbError(db::kErrFileNotFound,
                          QStringLiteral("Cannot replace the empty file '%1'.").arg(databasePath));
    }
    db::Database::CreateFromScript(databasePath, SchemaScript());
    return true;
}

}  // namespace core
