#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QVariant>
#include <functional>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace bench {

// A value bound to a statement; `likePattern` when it stands right of LIKE.
struct BoundValue {
    QVariant value;
    bool likePattern = false;
};

// One run of a statement: its SQLite text and what was bound to it.
struct CapturedStatement {
    QByteArray sql;
    QList<BoundValue> params;
};

// Recovers the bound values from SQLite's expanded text of a statement (sqlite3_expanded_sql): the
// two texts are the same but for each `?`, which the expanded one shows as a literal. None when
// they do not line up.
std::optional<QList<BoundValue>> boundValues(const QByteArray& sql, const QByteArray& expanded);

// Watches the statements a connection runs (sqlite3_trace_v2): how long they take from their first
// step until they finish, rows handed to the caller in between included, and, when asked, which
// they were. Only statements `filter` accepts count. One trace per connection at a time.
class StatementTrace {
public:
    using Filter = std::function<bool(const char* sql)>;

    explicit StatementTrace(sqlite3* db);
    ~StatementTrace();
    StatementTrace(const StatementTrace&) = delete;
    StatementTrace& operator=(const StatementTrace&) = delete;

    void begin(Filter filter, bool capture);
    void end();

    qint64 elapsedNs() const { return m_elapsedNs; }
    // The same by statement text.
    const QHash<QByteArray, qint64>& elapsedNsBySql() const { return m_nsBySql; }
    int runs() const { return m_runs; }
    const QList<CapturedStatement>& captured() const { return m_captured; }
    // Statements whose bound values could not be read back.
    int unreadable() const { return m_unreadable; }

private:
    static int callback(unsigned type, void* context, void* p, void* x);
    void started(sqlite3_stmt* stmt, const char* sql);
    void finished(sqlite3_stmt* stmt);

    sqlite3* m_db;
    bool m_active = false;
    bool m_capture = false;
    Filter m_filter;
    QHash<sqlite3_stmt*, qint64> m_startNs;
    qint64 m_elapsedNs = 0;
    QHash<QByteArray, qint64> m_nsBySql;
    int m_runs = 0;
    int m_unreadable = 0;
    QList<CapturedStatement> m_captured;
};

// Runs captured statements on a connection of its own to the same file, the way the program would:
// each text prepared once, as the program keeps its statements prepared, then in every run bound,
// stepped to its end with every column read, and reset.
// Bound LIKE patterns are put in SQLite's own spelling (`*` -> `%`, `?` -> `_`), for SQLite's
// built-in LIKE; the bench picks patterns without `%` and `_` of their own.
class DirectReplay {
public:
    explicit DirectReplay(const QString& path);
    ~DirectReplay();
    DirectReplay(const DirectReplay&) = delete;
    DirectReplay& operator=(const DirectReplay&) = delete;

    struct Result {
        qint64 ns = 0;  // the whole list
        qint64 rows = 0;
        QHash<QByteArray, qint64> nsBySql;
        QHash<QByteArray, qint64> rowsBySql;
    };
    // Throws std::runtime_error.
    Result run(const QList<CapturedStatement>& statements);

private:
    sqlite3* m_db = nullptr;
    QHash<QByteArray, sqlite3_stmt*> m_prepared;
};

}  // namespace bench
