#include "platform/db/Database.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <SQLiteCpp/Backup.h>
#include <SQLiteCpp/SQLiteCpp.h>

#include "platform/db/RecordsetImpl.h"
#include "platform/db/SqlDialect.h"
#include "platform/db/Values.h"

namespace db {
namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr int kMaxCachedStatements = 200;
// Less room than this and SQLite fails at the open or the first save (its shared-memory file alone
// takes 32 KB), with errors that do not say why.
constexpr qint64 kRoomNeeded = 1024 * 1024;

DbError fromSqlite(const SQLite::Exception& e) {
    return DbError(kSqliteBase + e.getExtendedErrorCode(), QString::fromUtf8(e.what()));
}

bool hasSqliteHeader(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

QString quoteId(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// The column kind from a declared type, as the schema writes them (see TableDef.h).
Field fieldFromDeclaration(const QString& name, const QString& declared, bool pk, bool autoIncrement) {
    Field f;
    f.name = name;
    f.primaryKey = pk;
    const QString t = declared.trimmed().toUpper();
    static const QRegularExpression sized(QStringLiteral("^(?:VAR)?CHAR\\s*\\(\\s*(\\d+)\\s*\\)"));
    const QRegularExpressionMatch m = sized.match(t);
    if (m.hasMatch()) {
        f.type = FieldType::Text;
        f.size = m.captured(1).toInt();
    } else if (t.startsWith(QLatin1String("BOOL"))) {
        f.type = FieldType::YesNo;
    } else if (t.startsWith(QLatin1String("DATE")) || t.startsWith(QLatin1String("TIME"))) {
        f.type = FieldType::DateTime;
    } else if (t.startsWith(QLatin1String("INT"))) {
        f.type = autoIncrement ? FieldType::AutoNumber : FieldType::Long;
    } else if (t.startsWith(QLatin1String("REAL")) || t.startsWith(QLatin1String("DOUBLE")) ||
               t.startsWith(QLatin1String("FLOAT")) || t.startsWith(QLatin1String("NUMERIC"))) {
        f.type = FieldType::Double;
    } else {
        f.type = FieldType::Memo;
    }
    return f;
}

QString declarationOf(const Field& f) {
    QString s = quoteId(f.name) + QLatin1Char(' ');
    switch (f.type) {
        case FieldType::AutoNumber:
            return s + QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        case FieldType::Long:
            s += QStringLiteral("INTEGER");
            if (f.primaryKey) s += QStringLiteral(" PRIMARY KEY");
            break;
        case FieldType::Text:
            s += QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(f.size > 0 ? f.size : 255);
            break;
        case FieldType::Memo:
            s += QStringLiteral("TEXT COLLATE NOCASE");
            break;
        case FieldType::YesNo:
            s += QStringLiteral("BOOLEAN NOT NULL");
            if (f.defaultSql.isEmpty() && f.defaultValue.isNull()) s += QStringLiteral(" DEFAULT 0");
            break;
        case FieldType::DateTime:
            s += QStringLiteral("DATETIME");
            break;
        case FieldType::Double:
            s += QStringLiteral("REAL");
            break;
    }
    if (!f.defaultSql.isEmpty()) {
        s += QStringLiteral(" DEFAULT (") + f.defaultSql + QLatin1Char(')');
    } else if (!f.defaultValue.isNull()) {
        const QVariant& v = f.defaultValue;
        if (v.typeId() == QMetaType::Bool) {
            s += v.toBool() ? QStringLiteral(" DEFAULT -1") : QStringLiteral(" DEFAULT 0");
        } else if (v.typeId() == QMetaType::QString) {
            s += QStringLiteral(" DEFAULT '") + v.toString().replace(QLatin1Char('\''), QStringLiteral("''")) +
                 QLatin1Char('\'');
        } else {
            s += QStringLiteral(" DEFAULT ") + v.toString();
        }
    }
    if (!f.allowZeroLength && (f.type == FieldType::Text || f.type == FieldType::Memo)) {
        s += QStringLiteral(" CHECK (") + quoteId(f.name) + QStringLiteral(" <> '')");
    }
    return s;
}

AccessCheck& accessCheck() {
    static AccessCheck check;
    return check;
}

const QString kWorkingFiles[] = {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")};

// Every table with its columns, in the order they were made; SQLite's own tables left out.
const char* const kTableColumns =
    "SELECT m.name, p.name FROM sqlite_master AS m, pragma_table_info(m.name) AS p "
    "WHERE m.type = 'table' AND substr(m.name, 1, 7) <> 'sqlite_' ORDER BY m.rowid, p.cid";

// The first table or column of `required` that the file open on `probe` lacks, said as "it has no
// table X" or "its table X has no column Y"; empty when it has them all. Names are compared as
// SQLite compares them, ignoring case.
QString missingFrom(SQLite::Database& probe, const QList<TableDef>& required) {
    if (required.isEmpty()) return {};
    QHash<QString, QSet<QString>> have;
    SQLite::Statement st(probe, kTableColumns);
    while (st.executeStep()) {
        have[QString::fromUtf8(st.getColumn(0).getText()).toLower()].insert(
            QString::fromUtf8(st.getColumn(1).getText()).toLower());
    }
    for (const TableDef& table : required) {
        const auto columns = have.constFind(table.name.toLower());
        if (columns == have.constEnd()) return QStringLiteral("it has no table %1").arg(table.name);
        for (const Field& field : table.fields) {
            if (!columns->contains(field.name.toLower())) {
                return QStringLiteral("its table %1 has no column %2").arg(table.name, field.name);
            }
        }
    }
    return {};
}

QString notOurs(const QString& path, const QString& missing = {}) {
    if (missing.isEmpty()) return QStringLiteral("'%1' is not a Pomaret database.").arg(path);
    return QStringLiteral("'%1' is not a Pomaret database: %2.").arg(path, missing);
}

// A -wal longer than its 32-byte header holds frames: the last session on the file did not end by
// closing it, so pages may be half-written.
bool hasWalFrames(const QString& path) {
    return QFileInfo(path + QStringLiteral("-wal")).size() > 32;
}

// The first bytes of the -journal beside `path`; empty when there is none.
QByteArray journalHead(const QString& path) {
    QFile journal(path + QStringLiteral("-journal"));
    return journal.open(QIODevice::ReadOnly) ? journal.read(8) : QByteArray();
}

// A -journal that the next read-write open plays back: a transaction in rollback mode was cut off
// part-way, and the pages it brings back may not even be this file's. SQLite plays back nothing from a
// journal that does not begin with its magic: one of zeros, or one whose header a commit has cleared.
bool hasJournal(const QString& path) {
    return journalHead(path) == QByteArray::fromHex("d9d505f920a163d7");
}

// Tells `progress` how many pages a long statement on `connection` has read, against `total`, from
// SQLite's progress handler: the first time at once, then at most every kProgressMs, so that a step
// is told often enough to show it while the statement hardly waits for it. Without `progress` no
// handler is set, and the statement runs as it would.
class PageProgress {
public:
    PageProgress(sqlite3* connection, qint64 total, const Progress& progress)
        : m_connection(connection), m_total(std::max<qint64>(total, 1)), m_progress(progress) {
        if (!m_progress) return;
        // The connection's count goes back to its opening; only this statement's reads count.
        m_first = cacheMisses();
        sqlite3_progress_handler(m_connection, kVmStepsPerLook, &PageProgress::tick, this);
    }
    ~PageProgress() {
        if (m_progress) sqlite3_progress_handler(m_connection, 0, nullptr, nullptr);
    }
    PageProgress(const PageProgress&) = delete;
    PageProgress& operator=(const PageProgress&) = delete;
    void finish() {
        if (m_progress) m_progress(m_total, m_total);
    }

private:
    static constexpr int kVmStepsPerLook = 1000;  // virtual-machine steps between two looks
    static constexpr qint64 kProgressMs = 50;
    static int tick(void* self) {
        // Nothing may be thrown through SQLite; a caller that fails is not told again.
        auto* watch = static_cast<PageProgress*>(self);
        try {
            watch->report();
        } catch (...) {
            watch->m_progress = nullptr;
        }
        return 0;
    }
    qint64 cacheMisses() const {
        int pages = 0;
        int highest = 0;
        sqlite3_db_status(m_connection, SQLITE_DBSTATUS_CACHE_MISS, &pages, &highest, 0);
        return pages;
    }
    void report() {
        if (!m_progress || (m_since.isValid() && !m_since.hasExpired(kProgressMs))) return;
        m_since.start();
        // Full only once the statement is done.
        m_progress(std::clamp<qint64>(cacheMisses() - m_first, 0, m_total - 1), m_total);
    }

    sqlite3* m_connection;
    qint64 m_total;
    Progress m_progress;
    qint64 m_first = 0;
    QElapsedTimer m_since;
};

// SQLite's default cache of 2 MB rereads the same pages again and again: long lists look up a name
// for each of their rows in tables whose pages are spread over the file, and a whole-file check reads
// a table's pages again for each of its indexes.
void useProgramCache(SQLite::Database& connection) {
    connection.exec("PRAGMA cache_size=-16384");
}

qint64 pageCount(SQLite::Database& connection) {
    return connection.execAndGet("PRAGMA page_count").getInt64();
}

// Copies every page of `from` over `to` with SQLite's backup API, a chunk at a time so that
// `progress` hears how far it has come. The caller holds a read transaction on `from`, so that every
// chunk reads one committed state; the write transaction on `to` lasts from the first chunk to the
// last, so the copy commits whole or not at all.
void copyPages(SQLite::Database& to, SQLite::Database& from, const Progress& progress, const QString& busy) {
    constexpr int kPagesPerChunk = 1024;
    SQLite::Backup backup(to, from);
    for (;;) {
        const int rc = backup.executeStep(kPagesPerChunk);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_OK) throw DbError(kSqliteBase + rc, busy);
        const qint64 total = backup.getTotalPageCount();
        if (progress) progress(total - backup.getRemainingPageCount(), total);
    }
}

// Holds a read transaction on `connection` for the life of the object.
class ReadTransaction {
public:
    explicit ReadTransaction(SQLite::Database& connection) : m_connection(connection) {
        m_connection.exec("BEGIN");
        // A read transaction begins with the first read.
        m_connection.execAndGet("SELECT count(*) FROM sqlite_master");
    }
    ~ReadTransaction() {
        try {
            m_connection.exec("COMMIT");
        } catch (...) {
        }
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    SQLite::Database& m_connection;
};

// A read-only look at a file in WAL mode makes an empty -wal and a -shm beside it when they are
// missing. Unless the file is taken in the end, those two go again; nothing else is ever removed.
class ProbeFiles {
public:
    explicit ProbeFiles(const QString& path)
        : m_wal(path + QStringLiteral("-wal")),
          m_shm(path + QStringLiteral("-shm")),
          m_newWal(!QFileInfo::exists(m_wal)),
          m_newShm(!QFileInfo::exists(m_shm)) {}
    ~ProbeFiles() {
        if (m_kept || QFileInfo(m_wal).size() > 0) return;
        if (m_newWal) QFile::remove(m_wal);
        if (m_newShm) QFile::remove(m_shm);
    }
    ProbeFiles(const ProbeFiles&) = delete;
    ProbeFiles& operator=(const ProbeFiles&) = delete;
    void keep() { m_kept = true; }

private:
    QString m_wal;
    QString m_shm;
    bool m_newWal;
    bool m_newShm;
    bool m_kept = false;
};

}  // namespace

Progress Phase(const Progress& whole, int first, int last, int parts) {
    if (!whole) return {};
    constexpr qint64 kScale = 1 << 20;
    return [=](qint64 done, qint64 total) {
        const qint64 within = total > 0 ? std::clamp<qint64>(done, 0, total) * kScale / total : kScale;
        whole(first * kScale + (last - first) * within, parts * kScale);
    };
}

bool IsDamage(const DbError& error) {
    if (error.number() == kErrDamaged) return true;
    if (error.number() < kSqliteBase) return false;
    const int primary = (error.number() - kSqliteBase) & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

QString ResolvedPath(const QString& path) {
    QFileInfo info(path);
    if (!info.isSymLink()) return path;
    if (const QString target = info.canonicalFilePath(); !target.isEmpty()) return target;
    // Dangling: the file would be made at the end of the chain of links. As the kernel does, a chain
    // that is longer than this is taken for a loop, which leads nowhere.
    constexpr int kMaxLinks = 40;
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        const QString target = info.symLinkTarget();
        info = QFileInfo(target);
        if (!info.isSymLink()) return target;
    }
    return path;
}

namespace {

// The number of a set-aside name: 0 for "<set>" itself, N for "<set>.N", -1 for any other name.
int setNumber(const QString& name, const QString& set) {
    if (name == set) return 0;
    if (!name.startsWith(set + QLatin1Char('.'))) return -1;
    const QString digits = name.mid(set.size() + 1);
    bool ok = false;
    const int number = digits.toInt(&ok);
    // Only as SetAside writes it: "01" or "+1" are some other file, and so is a number with no next.
    return ok && number > 0 && number < std::numeric_limits<int>::max() && QString::number(number) == digits
               ? number
               : -1;
}

// The highest number under which any file of a set "<set>" is there (the file or one of its working
// files, whatever its kind); -1 when there is none.
int highestSetNumber(const QString& folder, const QString& set) {
    int highest = -1;
    for (const QString& entry :
         QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        QString name = entry;
        for (const QString& suffix : kWorkingFiles) {
            if (name.endsWith(suffix)) {
                name.chop(suffix.size());
                break;
            }
        }
        highest = std::max(highest, setNumber(name, set));
    }
    return highest;
}

}  // namespace

QString SetAside(const QString& given, const QString& tag, bool withFile) {
    // SQLite keeps the working files beside the file itself, not beside a link to it.
    const QString path = ResolvedPath(given);
    QStringList moving;
    for (const QString& suffix : kWorkingFiles) {
        if (QFileInfo::exists(path + suffix)) moving << suffix;
    }
    // The file itself goes last: interrupted before, no working file is left waiting beside it for
    // the next file put in its place.
    if (withFile && QFileInfo::exists(path)) moving << QString();
    if (moving.isEmpty()) return {};
    // Numbered on from the highest there is, never into a gap a deleted copy left: the newest copy
    // always has the highest number, which is the one start-up names.
    const QFileInfo info(path);
    const QString base = path + (tag.isEmpty() ? QString() : QLatin1Char('.') + tag);
    int number = highestSetNumber(info.absolutePath(), QFileInfo(base).fileName()) + 1;
    // Without a tag the set's own name is the file being moved.
    if (tag.isEmpty()) number = std::max(number, 1);
    const QString set = base + (number > 0 ? QLatin1Char('.') + QString::number(number) : QString());
    for (const QString& suffix : moving) {
        // QFile::rename refuses a name that is taken, so nothing is ever overwritten.
        if (!QFile::rename(path + suffix, set + suffix)) {
            throw DbError(
                kErrCannotWrite,
                QStringLiteral("'%1' could not be set aside as '%2'.").arg(path + suffix, set + suffix));
        }
    }
    return set;
}

QStringList AllSetAside(const QString& path, const QString& tag) {
    const QFileInfo info(path);
    const QString first = info.fileName() + QLatin1Char('.') + tag;
    const QDir folder(info.absolutePath());
    QMap<int, QString> byNumber;
    for (const QString& name : folder.entryList({first + QLatin1Char('*')}, QDir::Files | QDir::Hidden)) {
        if (const int number = setNumber(name, first); number >= 0)
            byNumber.insert(number, folder.filePath(name));
    }
    return byNumber.values();
}

QString LastSetAside(const QString& path, const QString& tag) {
    // Where SetAside put them.
    const QStringList all = AllSetAside(ResolvedPath(path), tag);
    return all.isEmpty() ? QString() : all.last();
}

void SetAccessCheck(AccessCheck check) {
    accessCheck() = std::move(check);
}

bool MayAccess(const QString& path, Access access) {
    if (accessCheck()) return accessCheck()(path, access);
    const QFileInfo info(path);
    if (access == Access::Space) {
        const QStorageInfo storage(path);
        return !storage.isValid() || storage.bytesAvailable() >= kRoomNeeded;
    }
    return access == Access::Read ? info.isReadable() : info.isWritable();
}

namespace {

DbError folderNotWritable(const QString& folder) {
    return DbError(kErrCannotWrite,
                   QStringLiteral("The folder '%1' cannot be written: you have no permission to create the "
                                  "database's working files there.")
                       .arg(folder));
}

}  // namespace

DbError DiskFull(const QString& folder) {
    return DbError(kErrDiskFull,
                   QStringLiteral("The disk that holds the folder '%1' is full: free some space "
                                  "on it for the database and its working files.")
                       .arg(folder));
}

void RequireWritableFolder(const QString& folder) {
    if (!MayAccess(folder, Access::Write)) throw folderNotWritable(folder);
    if (!MayAccess(folder, Access::Space)) throw DiskFull(folder);
}

Database::Database(const QString& path) : m_path(path), m_handle(this, [](Database*) {}) {}

Database::~Database() { Close(); }

bool Database::EndedUncleanly(const QString& path) {
    const QString file = ResolvedPath(path);
    return QFileInfo(file).size() > 0 && (hasWalFrames(file) || hasJournal(file));
}

std::unique_ptr<Database> Database::Open(const QString& path, const QList<TableDef>& required,
                                         const Progress& progress) {
    const QFileInfo info(path);
    // Its working files lie beside the file a link leads to, so that is the folder they need.
    const QString working = ResolvedPath(path);
    const QString folder = QFileInfo(working).absolutePath();
    if (info.isDir()) {
        throw DbError(kErrWrongKind,
                      QStringLiteral("The database path '%1' is a folder, not a file.").arg(path));
    }
    if (!info.exists() || !info.isFile()) {
        throw DbError(kErrFileNotFound, QStringLiteral("Could not find the database file '%1'.").arg(path));
    }
    const DbError cannotRead(
        kErrCannotRead,
        QStringLiteral("The database file '%1' cannot be read: you have no permission to read it.")
            .arg(path));
    const DbError cannotWrite(
        kErrCannotWrite,
        QStringLiteral("The database file '%1' cannot be written: you have no permission to change it.")
            .arg(path));
    if (!MayAccess(path, Access::Read)) throw cannotRead;
    for (const QString& suffix : kWorkingFiles) {
        if (const QString file = working + suffix;
            QFileInfo::exists(file) && !MayAccess(file, Access::Read)) {
            throw DbError(kErrCannotRead,
                          QStringLiteral("The database's working file '%1' cannot be read: you have no "
                                         "permission to read it.")
                              .arg(file));
        }
    }
    const DbError damaged(
        kErrDamaged, QStringLiteral("The database file '%1' is damaged and cannot be opened.").arg(path));
    // Look before touching: switching to WAL writes the header, so a file that is not ours, or that
    // is damaged, is only ever opened read-only.
    if (QFile f(path); !f.open(QIODevice::ReadOnly)) throw cannotRead;
    if (!hasSqliteHeader(path)) throw DbError(kErrNotADatabase, notOurs(path));
    // Before the probe: even a read-only look at a WAL database creates its working files, and SQLite
    // reports a folder or disk that refuses them as a file it cannot read or write.
    RequireWritableFolder(folder);
    ProbeFiles probeFiles(working);
    try {
        // A -journal holds the pages a transaction cut off part-way had changed. Only a read-write
        // connection plays it back (the first read does); the read-only look would refuse the file for
        // as long as SQLite takes it for one to play back, which is when its first byte is not zero,
        // even if it then finds nothing in it. Whether the end was unclean is told before: that
        // connection also takes the frames of a -wal into the file and removes it.
        const bool unclean = hasJournal(working) || hasWalFrames(working);
        if (const QByteArray head = journalHead(working); !head.isEmpty() && head[0] != 0) {
            if (!MayAccess(path, Access::Write)) throw cannotWrite;
            SQLite::Database(path.toStdString(), SQLite::OPEN_READWRITE)
                .execAndGet("SELECT count(*) FROM sqlite_master");
        }
        SQLite::Database probe(path.toStdString(), SQLite::OPEN_READONLY);
        const QString missing = missingFrom(probe, required);
        if (!missing.isEmpty()) throw DbError(kErrNotADatabase, notOurs(path, missing));
        // Only after a session that did not end cleanly: a clean start reads no more than the schema.
        // The whole check, as its frames, or the pages a -journal brought back, may have been written
        // over another file (a backup copied in by hand), and only a comparison of indexes with their
        // tables shows that.
        if (unclean) {
            useProgramCache(probe);
            // The check reads every page once, then the tables again beside their indexes.
            PageProgress watch(probe.getHandle(), 2 * pageCount(probe), progress);
            SQLite::Statement check(probe, "PRAGMA integrity_check(1)");
            if (!check.executeStep() || check.getColumn(0).getString() != "ok") throw damaged;
            watch.finish();
        }
    } catch (const SQLite::Exception& e) {
        switch (e.getErrorCode() & 0xff) {
            case SQLITE_CORRUPT:
                throw damaged;
            case SQLITE_NOTADB:
                throw DbError(kErrNotADatabase, notOurs(path));
            case SQLITE_FULL:
                throw DiskFull(folder);
            case SQLITE_CANTOPEN:
            case SQLITE_PERM:
            case SQLITE_AUTH:
            case SQLITE_IOERR:
                // The disk may have filled up since the look above.
                if (!MayAccess(folder, Access::Space)) throw DiskFull(folder);
                throw cannotRead;
            default:
                if (e.getExtendedErrorCode() == SQLITE_READONLY_DIRECTORY) throw folderNotWritable(folder);
                throw fromSqlite(e);
        }
    }
    // Opened read-only instead, the file would refuse the first edit with an error nobody can log.
    if (!MayAccess(path, Access::Write)) throw cannotWrite;

    std::unique_ptr<Database> db(new Database(path));
    try {
        // One thread at a time uses a connection, so SQLite need not lock it on every call.
        db->m_db = std::make_unique<SQLite::Database>(
            path.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX, kBusyTimeoutMs);
        // SQLite falls back to read-only by itself when the file may not be written.
        if (sqlite3_db_readonly(db->m_db->getHandle(), "main") != 0) throw cannotWrite;
        db->m_db->exec("PRAGMA journal_mode=WAL");
        db->m_db->exec("PRAGMA synchronous=FULL");
        useProgramCache(*db->m_db);
        SqlDialect::registerFunctions(db->m_db->getHandle());
    } catch (const SQLite::Exception& e) {
        if (e.getExtendedErrorCode() == SQLITE_READONLY_DIRECTORY) throw folderNotWritable(folder);
        if ((e.getErrorCode() & 0xff) == SQLITE_READONLY) throw cannotWrite;
        if ((e.getErrorCode() & 0xff) == SQLITE_FULL) throw DiskFull(folder);
        throw fromSqlite(e);
    }
    probeFiles.keep();
    return db;
}

void Database::CreateFromScript(const QString& path, const QString& script) {
    const QFileInfo info(path);
    if (info.exists() && info.size() > 0) {
        throw DbError(kErrTableExists, QStringLiteral("'%1' exists already and is not empty.").arg(path));
    }
    // Behind a link the file is made where the link leads: a rename onto the link itself would be
    // refused, and Qt's fallback copy writes the target afresh with the default mode, readable by all.
    const QFileInfo target(ResolvedPath(path));
    QDir().mkpath(target.absolutePath());
    // Behind a link that folder may be on another disk, full or not writable.
    RequireWritableFolder(target.absolutePath());
    QString tempPath;
    {
        QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                            QStringLiteral(".XXXXXX"));
        temp.setAutoRemove(false);
        if (!temp.open()) {
            throw DbError(kErrFileNotFound,
                          QStringLiteral("Cannot create a file in '%1'.").arg(target.absolutePath()));
        }
        tempPath = temp.fileName();
    }
    try {
        {
            SQLite::Database out(tempPath.toStdString(), SQLite::OPEN_READWRITE);
            out.exec("PRAGMA journal_mode=DELETE");
            out.exec("PRAGMA synchronous=FULL");
            SQLite::Transaction t(out);
            out.exec(script.toStdString());
            t.commit();
        }  // closed here, before the rename
        if (info.exists()) QFile::remove(target.filePath());
        // Working files left by an earlier file at this path would be played into the new one.
        SetAside(path, QStringLiteral("stale"), false);
        if (!QFile::rename(tempPath, target.filePath())) {
            throw DbError(kErrFileNotFound, QStringLiteral("Cannot put the new database at '%1'.").arg(path));
        }
    } catch (const SQLite::Exception& e) {
        QFile::remove(tempPath);
        if ((e.getErrorCode() & 0xff) == SQLITE_FULL) throw DiskFull(target.absolutePath());
        throw fromSqlite(e);
    } catch (...) {
        QFile::remove(tempPath);
        throw;
    }
}

void Database::Close() {
    m_handle.reset();  // every recordset on this database fails from here on
    ForgetStatements();
    m_tables.clear();
    m_transDepth = 0;
    m_db.reset();
}

SQLite::Database& Database::Connection() {
    if (!m_db) throw DbError(kErrNotOpen, QStringLiteral("The database is not open."));
    return *m_db;
}

std::shared_ptr<sqlite3_stmt> Database::Started(const QString& sql, const QVariantList& params) {
    sqlite3* conn = Connection().getHandle();
    std::shared_ptr<sqlite3_stmt> st = m_statements.value(sql);
    if (!st) {
        if (m_statements.size() >= kMaxCachedStatements) ForgetStatements();
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt* prepared = nullptr;
        const int rc =
            sqlite3_prepare_v2(conn, text.constData(), static_cast<int>(text.size()), &prepared, nullptr);
        if (rc != SQLITE_OK) Fail();
        if (!prepared) throw DbError(kSqliteBase + SQLITE_MISUSE, QStringLiteral("The statement is empty."));
        st.reset(prepared, sqlite3_finalize);
        m_statements.insert(sql, st);
    }
    sqlite3_reset(st.get());
    sqlite3_clear_bindings(st.get());

    const int expected = sqlite3_bind_parameter_count(st.get());
    if (expected != params.size()) {
        throw DbError(kErrParameterCount, QStringLiteral("The statement takes %1 parameter(s); %2 given.")
                                              .arg(expected)
                                              .arg(params.size()));
    }
    const auto bindText = [&](int n, const QByteArray& utf8) {
        return sqlite3_bind_text(st.get(), n, utf8.constData(), static_cast<int>(utf8.size()),
                                 SQLITE_TRANSIENT);
    };
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params.at(i);
        const int n = i + 1;
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(st.get(), n);
        } else {
            switch (v.typeId()) {
                case QMetaType::Bool:
                    rc = sqlite3_bind_int(st.get(), n, v.toBool() ? -1 : 0);
                    break;
                case QMetaType::Int:
                case QMetaType::UInt:
                case QMetaType::Long:
                case QMetaType::LongLong:
                case QMetaType::Short:
                case QMetaType::UShort:
                case QMetaType::ULong:
                case QMetaType::ULongLong:
                    rc = sqlite3_bind_int64(st.get(), n, v.toLongLong());
                    break;
                case QMetaType::Double:
                case QMetaType::Float:
                    rc = sqlite3_bind_double(st.get(), n, v.toDouble());
                    break;
                case QMetaType::QDate:
                case QMetaType::QTime:
                case QMetaType::QDateTime:
                    rc = bindText(n, values::toStorage(v).toUtf8());
                    break;
                case QMetaType::QByteArray: {
                    const QByteArray b = v.toByteArray();
                    rc = sqlite3_bind_blob(st.get(), n, b.constData(), static_cast<int>(b.size()),
                                           SQLITE_TRANSIENT);
                    break;
                }
                default:
                    rc = bindText(n, v.toString().toUtf8());
                    break;
            }
        }
        if (rc != SQLITE_OK) Fail();
    }
    return st;
}

bool Database::Step(sqlite3_stmt* st) {
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail();
}

void Database::Fail() {
    sqlite3* conn = m_db->getHandle();
    throw DbError(kSqliteBase + sqlite3_extended_errcode(conn), QString::fromUtf8(sqlite3_errmsg(conn)));
}

namespace {

// Leaves a statement reset however its use ends: its read of the file ends with it.
class ResetOnExit {
public:
    explicit ResetOnExit(sqlite3_stmt* st) : m_st(st) {}
    ~ResetOnExit() { sqlite3_reset(m_st); }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    sqlite3_stmt* m_st;
};

}  // namespace

Database::Rows Database::Query(const QString& sql, const QVariantList& params) {
    const std::shared_ptr<sqlite3_stmt> held = Started(sql, params);
    sqlite3_stmt* st = held.get();
    const ResetOnExit reset(st);
    Rows out;
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i) out.columns << QString::fromUtf8(sqlite3_column_name(st, i));
    out.declaredTypes = DeclaredTypes(sql, st);
    while (Step(st)) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(st, i)) {
                case SQLITE_NULL:
                    row << QVariant();
                    break;
                case SQLITE_INTEGER: {
                    const qint64 v = sqlite3_column_int64(st, i);
                    if (out.declaredTypes.at(i).startsWith("BOOL")) {
                        row << QVariant(v != 0);
                    } else if (v >= INT_MIN && v <= INT_MAX) {
                        row << QVariant(static_cast<int>(v));
                    } else {
                        row << QVariant(v);
                    }
                    break;
                }
                case SQLITE_FLOAT:
                    row << QVariant(sqlite3_column_double(st, i));
                    break;
                case SQLITE_BLOB: {
                    const void* blob = sqlite3_column_blob(st, i);
                    row << QVariant(QByteArray(static_cast<const char*>(blob), sqlite3_column_bytes(st, i)));
                    break;
                }
                default: {
                    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                    const QString text = QString::fromUtf8(utf8 ? utf8 : "", sqlite3_column_bytes(st, i));
                    const QByteArray& decl = out.declaredTypes.at(i);
                    if (decl.startsWith("DATE") || decl.startsWith("TIME")) {
                        row << values::fromStorage(text);
                    } else {
                        row << QVariant(text);
                    }
                    break;
                }
            }
        }
        out.rows << row;
    }
    return out;
}

int Database::RowView::columnCount() const {
    return sqlite3_column_count(m_st);
}

bool Database::RowView::isNull(int column) const {
    return sqlite3_column_type(m_st, column) == SQLITE_NULL;
}

qint64 Database::RowView::integer(int column) const {
    return sqlite3_column_int64(m_st, column);
}

QString Database::RowView::text(int column) const {
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(m_st, column));
    return QString::fromUtf8(utf8 ? utf8 : "", sqlite3_column_bytes(m_st, column));
}

QUtf8StringView Database::RowView::utf8(int column) const {
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(m_st, column));
    if (!utf8) return {};
    return QUtf8StringView(utf8, sqlite3_column_bytes(m_st, column));
}

QDate Database::RowView::date(int column) const {
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(m_st, column));
    if (!utf8) return {};
    return values::dateFromStorage(QByteArrayView(utf8, sqlite3_column_bytes(m_st, column)));
}

int Database::RowView::column(const QString& name) const {
    for (int i = 0; i < sqlite3_column_count(m_st); ++i) {
        if (name.compare(QString::fromUtf8(sqlite3_column_name(m_st, i)), Qt::CaseInsensitive) == 0) return i;
    }
    throw DbError(kErrUnknownField, QStringLiteral("The query has no field named '%1'.").arg(name));
}

void Database::ForEachRow(const QString& sql, const QVariantList& params,
                          const std::function<void(const RowView&)>& row) {
    const std::shared_ptr<sqlite3_stmt> held = Started(SqlDialect::translate(sql).sql, params);
    const ResetOnExit reset(held.get());
    const RowView view(held.get());
    while (Step(held.get())) row(view);
}

void Database::ReadNumberedTexts(const QString& sql, const QVariantList& params, const QString& numberColumn,
                                 const QString& textColumn, QVector<QPair<QString, qint64>>& out) {
    int number = -1;
    int text = -1;
    ForEachRow(sql, params, [&](const RowView& r) {
        if (number < 0) {
            number = r.column(numberColumn);
            text = r.column(textColumn);
        }
        if (r.isNull(text) || r.isNull(number)) return;
        out.append({r.text(text), r.integer(number)});
    });
}

int Database::Run(const QString& sql, const QVariantList& params) {
    const std::shared_ptr<sqlite3_stmt> held = Started(sql, params);
    const ResetOnExit reset(held.get());
    while (Step(held.get())) {
    }
    return sqlite3_changes(m_db->getHandle());
}

// The declared type of each result column ("" for an expression), looked up once per statement.
QList<QByteArray> Database::DeclaredTypes(const QString& sql, sqlite3_stmt* st) {
    auto it = m_declaredTypes.constFind(sql);
    if (it != m_declaredTypes.constEnd()) return *it;
    QList<QByteArray> types;
    for (int i = 0; i < sqlite3_column_count(st); ++i)
        types << QByteArray(sqlite3_column_decltype(st, i)).toUpper();
    m_declaredTypes.insert(sql, types);
    return types;
}

qint64 Database::LastInsertRowid() const { return m_db ? m_db->getLastInsertRowid() : 0; }

int Database::Execute(const QString& sql, const QVariantList& params) {
    const SqlDialect::Translation& t = SqlDialect::translate(sql);
    const QStringView head = QStringView(t.sql).trimmed();
    const bool schema = head.startsWith(u"CREATE", Qt::CaseInsensitive) ||
                        head.startsWith(u"ALTER", Qt::CaseInsensitive) ||
                        head.startsWith(u"DROP", Qt::CaseInsensitive);
    if (schema) ForgetStatements();
    m_recordsAffected = Run(t.sql, params);
    if (schema) SchemaChanged();
    return m_recordsAffected;
}

Recordset Database::OpenRecordset(const QString& sqlOrTable, const QVariantList& params) {
    static const QRegularExpression bareName(QStringLiteral("^\\s*\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?\\s*$"));
    const QRegularExpressionMatch m = bareName.match(sqlOrTable);
    if (m.hasMatch()) {
        const TableDef& def = Table(m.captured(1));
        return Recordset(Recordset::Impl::openTable(*this, def));
    }
    return Recordset(Recordset::Impl::openQuery(*this, sqlOrTable, params));
}

bool Database::TableExists(const QString& name) {
    const Rows r = Query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? "
                                        "COLLATE NOCASE"),
                         {name});
    return !r.rows.isEmpty();
}

const TableDef& Database::Table(const QString& name) {
    const QString key = name.toLower();
    auto it = m_tables.constFind(key);
    if (it != m_tables.constEnd()) return *it;

    const Rows master = Query(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' AND "
                                             "name = ? COLLATE NOCASE"),
                              {name});
    if (master.rows.isEmpty()) {
        throw DbError(kErrUnknownTable, QStringLiteral("There is no table named '%1'.").arg(name));
    }
    TableDef def;
    def.name = master.rows.first().at(0).toString();
    const bool autoIncrement =
        master.rows.first().at(1).toString().contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);

    const Rows cols = Query(QStringLiteral("SELECT name, type, pk, dflt_value FROM pragma_table_info(?)"),
                            {def.name});
    for (const QVariantList& c : cols.rows) {
        const bool pk = c.at(2).toInt() > 0;
        Field f = fieldFromDeclaration(c.at(0).toString(), c.at(1).toString(), pk, pk && autoIncrement);
        if (!c.at(3).isNull()) f.defaultSql = c.at(3).toString();
        def.fields << f;
    }
    QStringList pkFields;
    for (const Field& f : def.fields) {
        if (f.primaryKey) pkFields << f.name;
    }
    if (!pkFields.isEmpty()) def.indexes << Index(QStringLiteral("PrimaryKey"), pkFields, true, true);

    const Rows idx = Query(QStringLiteral("SELECT name, \"unique\", origin FROM pragma_index_list(?)"), {def.name});
    for (const QVariantList& i : idx.rows) {
        if (i.at(2).toString() == QLatin1String("pk")) continue;
        Index index;
        index.name = i.at(0).toString();
        index.unique = i.at(1).toInt() != 0;
        const QString prefix = def.name + QLatin1Char('_');
        if (index.name.startsWith(prefix, Qt::CaseInsensitive)) index.name = index.name.mid(prefix.size());
        const Rows parts = Query(QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"),
                                 {i.at(0).toString()});
        for (const QVariantList& p : parts.rows) index.fields << p.at(0).toString();
        def.indexes << index;
    }
    return *m_tables.insert(key, def);
}

QList<TableDef> Database::TableDefs() {
    const Rows r = Query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                        "substr(name, 1, 7) <> 'sqlite_' ORDER BY name"),
                         {});
    QList<TableDef> out;
    for (const QVariantList& row : r.rows) out << Table(row.at(0).toString());
    return out;
}

void Database::CreateTable(const TableDef& def) {
    if (TableExists(def.name)) {
        throw DbError(kErrTableExists, QStringLiteral("Table '%1' already exists.").arg(def.name));
    }
    QStringList columns;
    for (const Field& f : def.fields) columns << declarationOf(f);
    Run(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteId(def.name), columns.join(QStringLiteral(", "))), {});
    ForgetStatements();
    SchemaChanged();
    for (const Index& i : def.indexes) CreateIndex(def.name, i);
}

void Database::CreateIndex(const QString& table, const Index& index) {
    const TableDef& def = Table(table);
    if (index.primary) {
        // SQLite fixes the primary key when the table is made; a primary index on the same
        // columns is already there, anything else cannot be added afterwards.
        for (const db::Index& have : def.indexes) {
            if (have.primary && have.fields.join(',').compare(index.fields.join(','), Qt::CaseInsensitive) == 0) {
                return;
            }
        }
        throw DbError(kErrNoIndex, QStringLiteral("A primary key cannot be added to table '%1'.").arg(table));
    }
    QStringList cols;
    for (const QString& f : index.fields) cols << quoteId(f);
    const QString name = def.name + QLatin1Char('_') + index.name;
    Run(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
            .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), quoteId(name), quoteId(def.name),
                 cols.join(QStringLiteral(", "))),
        {});
    ForgetStatements();
    SchemaChanged();
}

void Database::SchemaChanged() { m_tables.clear(); }

void Database::ForgetStatements() {
    m_statements.clear();
    m_declaredTypes.clear();
}

void Database::BeginTrans() {
    if (m_transDepth == 0) {
        Run(QStringLiteral("BEGIN IMMEDIATE"), {});
    } else {
        Run(QStringLiteral("SAVEPOINT level%1").arg(m_transDepth), {});
    }
    ++m_transDepth;
}

void Database::CommitTrans() {
    if (m_transDepth == 0) throw DbError(kErrNotOpen, QStringLiteral("No transaction is open."));
    if (m_transDepth == 1) {
        Run(QStringLiteral("COMMIT"), {});
    } else {
        Run(QStringLiteral("RELEASE level%1").arg(m_transDepth - 1), {});
    }
    --m_transDepth;
}

void Database::Rollback() {
    if (m_transDepth == 0) throw DbError(kErrNotOpen, QStringLiteral("No transaction is open."));
    --m_transDepth;
    if (m_transDepth == 0) {
        Run(QStringLiteral("ROLLBACK"), {});
    } else {
        Run(QStringLiteral("ROLLBACK TO level%1").arg(m_transDepth), {});
        Run(QStringLiteral("RELEASE level%1").arg(m_transDepth), {});
    }
    // A table made inside the transaction is gone again.
    SchemaChanged();
}

// ---------------------------------------------------------------------------------------------
// Maintenance

void Database::RequireNoTransaction(const char* operation) const {
    // Also a transaction begun past the layer: a copy taken then would hold uncommitted rows.
    if (m_transDepth > 0 || (m_db && sqlite3_get_autocommit(m_db->getHandle()) == 0)) {
        throw DbError(kErrInTransaction,
                      QStringLiteral("The database cannot be %1 while a transaction is open.")
                          .arg(QLatin1String(operation)));
    }
}

void Database::BackupTo(const QString& path, const Progress& progress) {
    Connection();
    RequireNoTransaction("copied");
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || info.size() > 0)) {
        throw DbError(kErrTableExists, QStringLiteral("'%1' exists already and is not empty.").arg(path));
    }
    try {
        // A connection of its own reads the copy: it may run on another thread than this
        // connection's, which stays usable meanwhile.
        SQLite::Database source(m_path.toStdString(), SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX,
                                kBusyTimeoutMs);
        SQLite::Database out(path.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE,
                             kBusyTimeoutMs);
        out.exec("PRAGMA synchronous=FULL");
        {
            // One read transaction over all chunks: one committed state, whatever is written meanwhile.
            const ReadTransaction snapshot(source);
            copyPages(out, source, progress, QStringLiteral("The database is busy; no copy was made."));
        }
        // The copied header still asks for WAL; the copy must be one self-contained file.
        SQLite::Statement mode(out, "PRAGMA journal_mode=DELETE");
        if (!mode.executeStep() ||
            QString::fromUtf8(mode.getColumn(0).getText()) != QLatin1String("delete")) {
            throw DbError(kErrDamaged,
                          QStringLiteral("The copy at '%1' could not leave WAL mode.").arg(path));
        }
    } catch (const SQLite::Exception& e) {
        throw fromSqlite(e);
    }
}

void Database::RestoreFrom(const QString& path, const QList<TableDef>& required, const Progress& progress,
                           bool checked) {
    SQLite::Database& destination = Connection();
    RequireNoTransaction("restored");
    // The check reads the file twice over, the copy once.
    const int checkParts = checked ? 0 : 2;
    const QStringList problems =
        checked ? QStringList{QStringLiteral("ok")} : CheckFile(path, required, Phase(progress, 0, 2, 3));
    if (problems != QStringList{QStringLiteral("ok")}) {
        throw DbError(kErrDamaged, QStringLiteral("'%1' cannot be restored from: %2")
                                       .arg(path, problems.mid(0, 3).join(QStringLiteral("; "))));
    }
    // Nothing of ours may hold the old schema across the switch.
    ForgetStatements();
    m_tables.clear();
    try {
        SQLite::Database source(path.toStdString(), SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX,
                                kBusyTimeoutMs);
        const ReadTransaction snapshot(source);
        copyPages(destination, source, Phase(progress, checkParts, checkParts + 1, checkParts + 1),
                  QStringLiteral("The database is in use; nothing was restored."));
    } catch (const SQLite::Exception& e) {
        throw fromSqlite(e);
    }
    ForgetStatements();
    m_tables.clear();
}

void Database::Compact(const Progress& progress) {
    SQLite::Database& conn = Connection();
    RequireNoTransaction("compacted");
    ForgetStatements();
    try {
        // VACUUM reads the file into a temporary copy, then that copy back.
        PageProgress watch(conn.getHandle(), 2 * pageCount(conn), progress);
        conn.exec("VACUUM");
        watch.finish();
    } catch (const SQLite::Exception& e) {
        throw fromSqlite(e);
    }
    m_tables.clear();
    // The file shrinks once the rebuilt pages are written back; a reader still on the old pages
    // only delays that, so this may come short without harm.
    try {
        conn.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    } catch (const SQLite::Exception&) {
    }
}

QStringList Database::IntegrityCheck(const Progress& progress) {
    // The check reads every page once, then the tables again beside their indexes.
    PageProgress watch(Connection().getHandle(), 2 * pageCount(Connection()), progress);
    const Rows r = Query(QStringLiteral("PRAGMA integrity_check"), {});
    watch.finish();
    QStringList out;
    for (const QVariantList& row : r.rows) out << row.value(0).toString();
    if (out.isEmpty()) out << QStringLiteral("The integrity check gave no answer.");
    return out;
}

void Database::Reindex(const Progress& progress) {
    SQLite::Database& conn = Connection();
    ForgetStatements();
    try {
        PageProgress watch(conn.getHandle(), pageCount(conn), progress);
        conn.exec("REINDEX");
        watch.finish();
    } catch (const SQLite::Exception& e) {
        throw fromSqlite(e);
    }
}

QStringList Database::CheckFile(const QString& path, const QList<TableDef>& required,
                                const Progress& progress) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) return {QStringLiteral("There is no file '%1'.").arg(path)};
    if (!hasSqliteHeader(path)) return {QStringLiteral("'%1' is not a database file.").arg(path)};
    const ProbeFiles probeFiles(path);  // never kept: a check leaves the folder as it found it
    try {
        SQLite::Database probe(path.toStdString(), SQLite::OPEN_READONLY, kBusyTimeoutMs);
        const QString missing = missingFrom(probe, required);
        if (!missing.isEmpty()) return {notOurs(path, missing)};
        QStringList out;
        useProgramCache(probe);
        PageProgress watch(probe.getHandle(), 2 * pageCount(probe), progress);
        SQLite::Statement check(probe, "PRAGMA integrity_check");
        while (check.executeStep()) out << QString::fromUtf8(check.getColumn(0).getText());
        watch.finish();
        if (out.isEmpty()) out << QStringLiteral("The integrity check gave no answer.");
        return out;
    } catch (const SQLite::Exception& e) {
        return {QString::fromUtf8(e.what())};
    }
}

QList<TableDef> Database::ScriptTables(const QString& script) {
    QList<TableDef> tables;
    try {
        SQLite::Database memory(":memory:", SQLite::OPEN_READWRITE);
        memory.exec(script.toStdString());
        SQLite::Statement st(memory, kTableColumns);
        while (st.executeStep()) {
            const QString table = QString::fromUtf8(st.getColumn(0).getText());
            if (tables.isEmpty() || tables.last().name != table) tables.append(TableDef{table, {}, {}});
            tables.last().fields << Field::make(QString::fromUtf8(st.getColumn(1).getText()),
                                                FieldType::Memo);
        }
    } catch (const SQLite::Exception& e) {
        throw fromSqlite(e);
    }
    return tables;
}

}  // namespace db
