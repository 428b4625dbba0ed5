#include "StatementTrace.h"

#include <sqlite3.h>

#include <chrono>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Where the replay leaves what it read, so that no read can be optimised away.
volatile quint64 g_sink = 0;

bool isWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' ||
           u >= 0x80;
}

// The literal SQLite wrote for a parameter at `pos` of an expanded text; `pos` moves past it.
std::optional<QVariant> readLiteral(const QByteArray& text, qsizetype& pos) {
    if (text.mid(pos, 4) == "NULL") {
        pos += 4;
        return QVariant();
    }
    if (pos < text.size() && text[pos] == '\'') {
        QByteArray value;
        for (++pos; pos < text.size(); ++pos) {
            if (text[pos] != '\'') {
                value += text[pos];
            } else if (pos + 1 < text.size() && text[pos + 1] == '\'') {
                value += '\'';
                ++pos;
            } else {
                ++pos;
                return QVariant(QString::fromUtf8(value));
            }
        }
        return std::nullopt;
    }
    if (pos + 1 < text.size() && (text[pos] == 'x' || text[pos] == 'X') && text[pos + 1] == '\'') {
        const qsizetype close = text.indexOf('\'', pos + 2);
        if (close < 0) return std::nullopt;
        const QByteArray blob = QByteArray::fromHex(text.mid(pos + 2, close - pos - 2));
        pos = close + 1;
        return QVariant(blob);
    }
    const qsizetype start = pos;
    bool real = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '.' || c == 'e' || c == 'E') {
            real = true;
        } else if (!((c >= '0' && c <= '9') || c == '-' || c == '+')) {
            break;
        }
        ++pos;
    }
    if (pos == start) return std::nullopt;
    bool ok = false;
    const QByteArray number = text.mid(start, pos - start);
    const QVariant value = real ? QVariant(number.toDouble(&ok)) : QVariant(number.toLongLong(&ok));
    if (!ok) return std::nullopt;
    return value;
}

}  // namespace

std::optional<QList<BoundValue>> boundValues(const QByteArray& sql, const QByteArray& expanded) {
    QList<BoundValue> values;
    QByteArray word;
    QByteArray lastWord;  // the word just before, when only blanks came after it
    char closing = 0;     // inside a quoted literal or name: its closing character
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (closing == 0 && !isWordChar(c) && !word.isEmpty()) {
            lastWord = word;
            word.clear();
        }
        if (closing == 0 && c == '?') {
            for (++i; i < sql.size() && sql[i] >= '0' && sql[i] <= '9';) ++i;
            const std::optional<QVariant> value = readLiteral(expanded, j);
            if (!value) return std::nullopt;
            values.append({*value, lastWord == "LIKE"});
            lastWord.clear();
            continue;
        }
        if (j >= expanded.size() || expanded[j] != c) return std::nullopt;
        if (closing != 0) {
            // A doubled quote closes and reopens, which comes to the same.
            if (c == closing) closing = 0;
        } else if (c == '\'' || c == '"' || c == '`') {
            closing = c;
            lastWord.clear();
        } else if (c == '[') {
            closing = ']';
            lastWord.clear();
        } else if (isWordChar(c)) {
            word += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
        } else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            lastWord.clear();
        }
        ++i;
        ++j;
    }
    if (j != expanded.size()) return std::nullopt;
    return values;
}

// ---------------------------------------------------------------------------------------------

StatementTrace::StatementTrace(sqlite3* db) : m_db(db) {
    sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT | SQLITE_TRACE_PROFILE, &StatementTrace::callback, this);
}

StatementTrace::~StatementTrace() {
    sqlite3_trace_v2(m_db, 0, nullptr, nullptr);
}

void StatementTrace::begin(Filter filter, bool capture) {
    m_filter = std::move(filter);
    m_capture = capture;
    m_startNs.clear();
    m_elapsedNs = 0;
    m_nsBySql.clear();
    m_runs = 0;
    m_unreadable = 0;
    m_captured.clear();
    m_active = true;
}

void StatementTrace::end() {
    m_active = false;
}

int StatementTrace::callback(unsigned type, void* context, void* p, void* x) {
    auto* self = static_cast<StatementTrace*>(context);
    if (!self->m_active) return 0;
    auto* stmt = static_cast<sqlite3_stmt*>(p);
    if (type == SQLITE_TRACE_STMT) {
        self->started(stmt, static_cast<const char*>(x));
    } else if (type == SQLITE_TRACE_PROFILE) {
        self->finished(stmt);
    }
    return 0;
}

void StatementTrace::started(sqlite3_stmt* stmt, const char* text) {
    // A trigger's program announces itself with an SQL comment; it runs inside its statement.
    if (text && text[0] == '-' && text[1] == '-') return;
    const char* sql = sqlite3_sql(stmt);
    if (!sql || (m_filter && !m_filter(sql))) return;
    if (m_capture) {
        char* expanded = sqlite3_expanded_sql(stmt);
        const std::optional<QList<BoundValue>> values =
            expanded ? boundValues(QByteArray(sql), QByteArray(expanded)) : std::nullopt;
        sqlite3_free(expanded);
        if (values) {
            m_captured.append({QByteArray(sql), *values});
        } else {
            ++m_unreadable;
        }
    }
    m_startNs.insert(stmt, nowNs());
}

void StatementTrace::finished(sqlite3_stmt* stmt) {
    const auto it = m_startNs.find(stmt);
    if (it == m_startNs.end()) return;
    const qint64 ns = nowNs() - it.value();
    m_elapsedNs += ns;
    m_nsBySql[QByteArray(sqlite3_sql(stmt))] += ns;
    ++m_runs;
    m_startNs.erase(it);
}

// ---------------------------------------------------------------------------------------------

DirectReplay::DirectReplay(const QString& path) {
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw std::runtime_error("cannot open " + path.toStdString() + ": " + message);
    }
}

DirectReplay::~DirectReplay() {
    for (sqlite3_stmt* st : std::as_const(m_prepared)) sqlite3_finalize(st);
    sqlite3_close(m_db);
}

DirectReplay::Result DirectReplay::run(const QList<CapturedStatement>& statements) {
    auto fail = [this](const char* what) {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(m_db));
    };

    Result result;
    quint64 sink = 0;
    const qint64 start = nowNs();
    for (const CapturedStatement& s : statements) {
        const qint64 statementStart = nowNs();
        qint64 rows = 0;
        sqlite3_stmt*& st = m_prepared[s.sql];
        if (!st) {
            if (sqlite3_prepare_v3(m_db, s.sql.constData(), int(s.sql.size()), 0, &st, nullptr) != SQLITE_OK)
                fail("prepare");
        } else {
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
        }
        for (int p = 0; p < s.params.size(); ++p) {
            const QVariant& v = s.params[p].value;
            int rc = SQLITE_OK;
            if (v.isNull()) {
                rc = sqlite3_bind_null(st, p + 1);
            } else if (v.typeId() == QMetaType::LongLong) {
                rc = sqlite3_bind_int64(st, p + 1, v.toLongLong());
            } else if (v.typeId() == QMetaType::Double) {
                rc = sqlite3_bind_double(st, p + 1, v.toDouble());
            } else if (v.typeId() == QMetaType::QByteArray) {
                const QByteArray blob = v.toByteArray();
                rc = sqlite3_bind_blob(st, p + 1, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
            } else {
                QString text = v.toString();
                if (s.params[p].likePattern) text.replace(u'*', u'%').replace(u'?', u'_');
                const QByteArray utf8 = text.toUtf8();
                rc = sqlite3_bind_text(st, p + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            }
            if (rc != SQLITE_OK) fail("bind");
        }
        const int columns = sqlite3_column_count(st);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(st, c)) {
                    case SQLITE_INTEGER:
                        sink += quint64(sqlite3_column_int64(st, c));
                        break;
                    case SQLITE_FLOAT:
                        sink += quint64(sqlite3_column_double(st, c));
                        break;
                    case SQLITE_TEXT:
                        sink += reinterpret_cast<quintptr>(sqlite3_column_text(st, c));
                        sink += quint64(sqlite3_column_bytes(st, c));
                        break;
                    case SQLITE_BLOB:
                        sink += reinterpret_cast<quintptr>(sqlite3_column_blob(st, c));
                        sink += quint64(sqlite3_column_bytes(st, c));
                        break;
                    default:
                        break;
                }
            }
        }
        if (rc != SQLITE_DONE) fail("step");
        result.nsBySql[s.sql] += nowNs() - statementStart;
        result.rowsBySql[s.sql] += rows;
        result.rows += rows;
    }
    result.ns = nowNs() - start;
    g_sink = sink;
    return result;
}

}  // namespace bench
