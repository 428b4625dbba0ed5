#pragma once

#include <QDate>
#include <QHash>
#include <QPair>
#include <QVector>
#include <QString>
#include <QStringList>
#include <QUtf8StringView>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>

#include "platform/db/DbError.h"
#include "platform/db/Recordset.h"
#include "platform/db/TableDef.h"

struct sqlite3_stmt;

namespace SQLite {
class Database;
}  // namespace SQLite

namespace db {

// Whether this process may read or write a file, or create files in a folder, and whether the disk
// holding a folder has room left to write in. Tests replace the check, as they run where every
// permission test passes; an empty function puts the file system's own back.
enum class Access { Read, Write, Space };
using AccessCheck = std::function<bool(const QString& path, Access access)>;
void SetAccessCheck(AccessCheck check);
bool MayAccess(const QString& path, Access access);
// Raises kErrCannotWrite unless files can be created in `folder` (a database needs its folder for
// its journal and WAL files), kErrDiskFull when its disk has no room left for them.
void RequireWritableFolder(const QString& folder);
// The kErrDiskFull error for the disk that holds `folder`, as every step that meets a full disk says it.
DbError DiskFull(const QString& folder);

// True for an error that says the file itself is damaged (its check failed, or SQLite found it
// corrupt or not a database), rather than that something around it failed.
bool IsDamage(const DbError& error);

// Where SQLite keeps the database at `path` and its working files: a symbolic link is followed to
// its target (even one that no longer exists); any other path is returned as it is.
QString ResolvedPath(const QString& path);

// Moves the files of the database at `path` out of its way by renaming, never deleting or
// overwriting: its -wal, -shm and -journal, and the file itself when `withFile`, become
// "<path>.<tag>-wal", ... and "<path>.<tag>" (then "<path>.<tag>.1", ...: numbered on from the highest
// set there is, whichever of its files is left, so the newest set has the highest number). With an
// empty tag the set keeps the file's own name and takes a number: "<path>.1", ... A set keeps
// SQLite's names, so it still opens together, and no working file is ever applied to a file that is
// not its own. `path` is resolved first (ResolvedPath). Returns the set's name, or an empty text when
// there was nothing to move; a failed rename raises kErrCannotWrite.
QString SetAside(const QString& path, const QString& tag, bool withFile);
// Every "<path>.<tag>" and "<path>.<tag>.N" file there is, the unnumbered one first, then by number.
QStringList AllSetAside(const QString& path, const QString& tag);
// The newest of those that SetAside(path, tag, ...) made (`path` resolved); empty when there is none.
QString LastSetAside(const QString& path, const QString& tag);

// How far a long step has come, told now and then while it runs so that the caller can show it and
// keep its window painted: `done` of `total`, never going back, and done == total at the end. It is
// told on the thread that runs the step.
using Progress = std::function<void(qint64 done, qint64 total)>;
// The share of `whole` that one phase of a step takes: the phase's progress moves `whole` from
// `first` to `last` of its `parts` parts. Empty when `whole` is.
Progress Phase(const Progress& whole, int first, int last, int parts);

// One open database file. Opened read-write and shared, in WAL mode with synchronous=FULL. It is
// opened without SQLite's connection mutex: one thread at a time uses it (a long step hands it to
// its worker thread and back).
class Database {
public:
    // Opens an existing file. Nothing is ever created: a missing file raises kErrFileNotFound.
    // The file is first looked at read-only and is left exactly as it was when refused (the empty
    // -wal and -shm the look itself made are removed again): kErrCannotRead when it
    // or one of its working files may not be read, kErrNotADatabase when it is not a SQLite database
    // or lacks a table or column of `required` (the first one missing is named), kErrDamaged when
    // SQLite finds it corrupt. A -journal beside it (a transaction in rollback mode cut off part-way)
    // is first played back, as any read-write open of SQLite does. A file that EndedUncleanly is also
    // checked whole (integrity_check) first, telling `progress` how far the check has come. One that
    // is sound but that this user may not change, or whose folder (the one its working files go to,
    // behind a link) is not writable, raises kErrCannotWrite rather than opening read-only.
    static std::unique_ptr<Database> Open(const QString& path, const QList<TableDef>& required = {},
                                          const Progress& progress = {});
    // True when the last session on the file at `path` did not end by closing it: its -wal still
    // holds frames, or a -journal is left to be played back. Open then checks the whole file, which
    // takes a while on a large one.
    static bool EndedUncleanly(const QString& path);

    // Builds a new database at `path` from an SQL script: written to a temporary file in the same
    // folder (behind a link, the folder it leads to, made when missing) in rollback-journal mode,
    // closed, then renamed into place. Refuses to replace a file that is not empty.
    static void CreateFromScript(const QString& path, const QString& script);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QString Path() const { return m_path; }
    bool IsOpen() const { return m_db != nullptr; }
    void Close();

    // Runs one statement in the program's dialect; returns the number of rows it changed.
    int Execute(const QString& sql, const QVariantList& params = {});
    int RecordsAffected() const { return m_recordsAffected; }

    // One row of a streamed query, read by column number without a copy of the whole row.
    class RowView {
    public:
        explicit RowView(sqlite3_stmt* st) : m_st(st) {}
        int columnCount() const;
        bool isNull(int column) const;
        qint64 integer(int column) const;
        QString text(int column) const;
        // The text as stored, valid until the next row; empty for Null.
        QUtf8StringView utf8(int column) const;
        QDate date(int column) const;  // the date of a stored date or date and time; null otherwise
        int column(const QString& name) const;  // its number; DbError when the query has no such column

    private:
        sqlite3_stmt* m_st;
    };
    // Streams a query's rows to `row` one at a time, for long lists where a recordset's copy of every
    // column of every row would cost more than the list may take. No statement outlives the call;
    // after an error the rows handed over so far stay handed over.
    void ForEachRow(const QString& sql, const QVariantList& params, const std::function<void(const RowView&)>& row);

    // (text, number) pairs of a query for pick lists; rows whose number or text is Null are skipped.
    void ReadNumberedTexts(const QString& sql, const QVariantList& params, const QString& numberColumn,
                           const QString& textColumn, QVector<QPair<QString, qint64>>& out);

    // A table name gives a table recordset (a lazy handle positioned with Index/Seek); any other
    // text is a query whose rows the recordset holds.
    Recordset OpenRecordset(const QString& sqlOrTable, const QVariantList& params = {});

    // User tables with their fields and indexes.
    QList<TableDef> TableDefs();
    bool TableExists(const QString& name);
    void CreateTable(const TableDef& def);
    void CreateIndex(const QString& table, const Index& index);

    // Transactions nest: the outermost is a real transaction, inner ones are savepoints.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    int TransactionDepth() const { return m_transDepth; }

    // Maintenance. None of them runs inside an open transaction. Each may run on another thread than
    // the one that opened the connection, as long as nothing else uses the connection meanwhile, and
    // tells `progress` how far it has come.
    //
    // Writes one consistent snapshot of this database (committed rows only, whatever other
    // connections write meanwhile) into a new file at `path`, which must be absent or empty. The
    // copy is in rollback-journal mode and closed when this returns, so no -wal file is left. The
    // pages are read on a connection of its own: this one may go on being used meanwhile.
    void BackupTo(const QString& path, const Progress& progress = {});
    // Replaces the whole content of this database by that of the file at `path` in one write
    // transaction: on any failure the database keeps its content. The file is checked first
    // (CheckFile with `required`) and refused with kErrDamaged when it is not sound.
    void RestoreFrom(const QString& path, const QList<TableDef>& required = {},
                     const Progress& progress = {});
    // Rebuilds the file without its free pages (VACUUM): atomic, on this connection.
    void Compact(const Progress& progress = {});
    // PRAGMA integrity_check: {"ok"} when sound, else the problems found.
    QStringList IntegrityCheck(const Progress& progress = {});
    // Rebuilds every index from its table.
    void Reindex(const Progress& progress = {});
    // Checks a file without changing it: opened read-only, every table and column of `required`
    // present, PRAGMA integrity_check. {"ok"} when sound, else what is wrong with it.
    static QStringList CheckFile(const QString& path, const QList<TableDef>& required = {},
                                 const Progress& progress = {});
    // The tables an SQL script creates, each with the names of its columns, in the order it creates
    // them (the script is run on a database in memory).
    static QList<TableDef> ScriptTables(const QString& script);

    // Column facts of one table as the layer enforces them (cached; refreshed on schema changes).
    const TableDef& Table(const QString& name);

    // Low-level access for the recordsets.
    struct Rows {
        QStringList columns;
        QList<QByteArray> declaredTypes;
        QList<QVariantList> rows;
    };
    Rows Query(const QString& sqliteSql, const QVariantList& params);
    int Run(const QString& sqliteSql, const QVariantList& params);
    qint64 LastInsertRowid() const;
    SQLite::Database& Connection();
    // What a recordset keeps of its database: it expires when the database is closed or destroyed,
    // so a recordset that outlives it fails with kErrNotOpen instead of reaching freed memory.
    std::weak_ptr<Database> Handle() const { return m_handle; }

private:
    explicit Database(const QString& path);
    // A prepared statement of the cache, reset and with `params` bound; the caller holds the
    // reference while it steps, so a statement forgotten meanwhile lives until it is done.
    std::shared_ptr<sqlite3_stmt> Started(const QString& sqliteSql, const QVariantList& params);
    // Steps a statement: true for a row, false when done; a failure is thrown as DbError.
    bool Step(sqlite3_stmt* st);
    // Throws the connection's last error: SQLite's extended code and message.
    [[noreturn]] void Fail();
    void SchemaChanged();
    void ForgetStatements();
    void RequireNoTransaction(const char* operation) const;
    QList<QByteArray> DeclaredTypes(const QString& sqliteSql, sqlite3_stmt* st);

    QString m_path;
    std::unique_ptr<SQLite::Database> m_db;
    // Owns nothing (its deleter does nothing); only its life matters: from construction to Close().
    std::shared_ptr<Database> m_handle;
    QHash<QString, std::shared_ptr<sqlite3_stmt>> m_statements;
    QHash<QString, QList<QByteArray>> m_declaredTypes;
    QHash<QString, TableDef> m_tables;  // by lower-case name
    int m_recordsAffected = 0;
    int m_transDepth = 0;
};

// Runs a block of writes as one transaction: committed by commit(), rolled back otherwise.
class Transaction {
public:
    explicit Transaction(Database& db) : m_db(db) {
        m_db.BeginTrans();
        ++s_open;
    }
    ~Transaction() {
        if (!m_done) {
            --s_open;
            try {
                m_db.Rollback();
            } catch (...) {
            }
        }
    }
    void commit() {
        m_db.CommitTrans();
        m_done = true;
        --s_open;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // How many are open (neither committed nor rolled back), program-wide. No message box may be
    // shown while one is: its modal loop runs the reminder poll, whose writes would join the
    // transaction and go with its rollback.
    static int OpenCount() { return s_open; }

private:
    Database& m_db;
    bool m_done = false;
    static inline int s_open = 0;
};

}  // namespace db
