#include "BareSqlite.h"

#include <QFile>
#include <stdexcept>
#include <string>

#include <sqlite3.h>

#include <SQLiteCpp/Backup.h>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

namespace bench::bare {

namespace {

constexpr int kBusyTimeoutMs = 5000;

SQLite::Database connect(const QString& path, int flags) {
    SQLite::Database db(path.toStdString(), flags, kBusyTimeoutMs);
    db.exec("PRAGMA cache_size=-16384");
    if ((flags & SQLite::OPEN_READONLY) == 0) db.exec("PRAGMA synchronous=FULL");
    return db;
}

void check(SQLite::Database& db, const char* pragma) {
    SQLite::Statement st(db, pragma);
    std::string first;
    int rows = 0;
    while (st.executeStep()) {
        if (rows++ == 0) first = st.getColumn(0).getString();
    }
    if (rows != 1 || first != "ok")
        throw std::runtime_error(db.getFilename() + " failed its check: " + first);
}

// All pages in one step, as the program copies.
void copy(SQLite::Database& to, SQLite::Database& from) {
    SQLite::Backup backup(to, from);
    if (backup.executeStep(-1) != SQLITE_DONE) throw std::runtime_error("a backup-API copy did not finish");
}

// A copy to a new file that is one self-contained file, as the program's copies are.
void copyToNewFile(SQLite::Database& from, const QString& path) {
    SQLite::Database out = connect(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    copy(out, from);
    out.exec("PRAGMA journal_mode=DELETE");
}

void removeCopy(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

}  // namespace

void StartupCheck(const QString& database) {
    SQLite::Database db = connect(database, SQLite::OPEN_READONLY);
    check(db, "PRAGMA integrity_check(1)");
}

void Backup(const QString& database, const QString& copyPath) {
    removeCopy(copyPath);
    {
        SQLite::Database source = connect(database, SQLite::OPEN_READWRITE);
        copyToNewFile(source, copyPath);
    }
    {
        SQLite::Database copied = connect(copyPath, SQLite::OPEN_READONLY);
        check(copied, "PRAGMA integrity_check");
    }
    removeCopy(copyPath);
}

void Restore(const QString& database, const QString& backup, const QString& aside) {
    {
        SQLite::Database source = connect(backup, SQLite::OPEN_READONLY);
        check(source, "PRAGMA integrity_check");
    }
    removeCopy(aside);
    {
        SQLite::Database db = connect(database, SQLite::OPEN_READWRITE);
        copyToNewFile(db, aside);
        SQLite::Database source = connect(backup, SQLite::OPEN_READONLY);
        copy(db, source);
        check(db, "PRAGMA integrity_check");
    }
    removeCopy(aside);
}

void Compact(const QString& database) {
    SQLite::Database db = connect(database, SQLite::OPEN_READWRITE);
    db.exec("VACUUM");
    db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

void Repair(const QString& database) {
    SQLite::Database db = connect(database, SQLite::OPEN_READWRITE);
    check(db, "PRAGMA integrity_check");
    db.exec("REINDEX");
}

}  // namespace bench::bare
