// The SQL dialect (SqlDialect::translate) and the program's LIKE on arbitrary text.
//
// translate: a DbError of kind kErrUnsupportedSql is an expected answer; any other error escapes
// and stops the run. What it accepts must reach SQLite with exactly the parameters it counted:
// counted on the UTF-8 bytes SQLite is given, by SQLite's own rules (quotes, comments, ?NNN, :name,
// @name, $name), and, where the statement compiles against the program's schema, by SQLite itself.
// The rowid form of a single-table SELECT counts the same, and a translation is the same each time.
//
// LIKE: the input split at its first line break into pattern and value. A text matches itself and
// "*"; the UTF-16 matcher and the one SQLite calls agree; a match lies inside the pattern's prefix
// range under NOCASE; and the raw bytes, broken UTF-8 included, go through SQLite's LIKE as well.
#include <sqlite3.h>

#include <QFile>

#include "FuzzCommon.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlDialect.h"

using db::SqlDialect;

namespace {

sqlite3* Connection() {
    static sqlite3* db = [] {
        sqlite3* c = nullptr;
        QFile schema(QStringLiteral(POMARET_SCHEMA_SQL));
        if (sqlite3_open(":memory:", &c) != SQLITE_OK || !schema.open(QIODevice::ReadOnly) ||
            sqlite3_exec(c, schema.readAll().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "cannot set up the schema from %s\n", POMARET_SCHEMA_SQL);
            std::abort();
        }
        SqlDialect::registerFunctions(c);
        return c;
    }();
    return db;
}

// SQLite's identifier characters (its IdChar): letters, digits, "_", "$" and any byte of a
// multi-byte character.
bool IdChar(unsigned char c) {
    return c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           c == '_' || c == '$';
}

// Parameters in `sql` as SQLite's tokenizer finds them: every ?, ?NNN, :name, @name, #name and
// $name outside quotes, brackets and comments. (SQLite counts a repeated name once; the dialect
// refuses names, so any named one is a fault here either way.)
int SqliteParameters(const QByteArray& sql) {
    const qsizetype n = sql.size();
    auto at = [&](qsizetype i) -> unsigned char { return i < n ? static_cast<unsigned char>(sql[i]) : 0; };
    int count = 0;
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = at(i);
        if (c == '-' && at(i + 1) == '-') {
            while (i < n && at(i) != '\n') ++i;
        } else if (c == '/' && at(i + 1) == '*') {
            const qsizetype end = sql.indexOf("*/", i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == '\'' || c == '"' || c == '`') {
            ++i;
            while (i < n && !(at(i) == c && at(i + 1) != c)) i += at(i) == c ? 2 : 1;
            ++i;
        } else if (c == '[') {
            const qsizetype end = sql.indexOf(']', i + 1);
            i = end < 0 ? n : end + 1;
        } else if (c == '?') {
            ++count;
            ++i;
            while (at(i) >= '0' && at(i) <= '9') ++i;
        } else if (c == ':' || c == '@' || c == '$' || c == '#') {
            // "::" may stand inside the name, but a name needs one character of its own.
            qsizetype j = i + 1;
            bool named = false;
            for (;; ++j) {
                if (IdChar(at(j)))
                    named = true;
                else if (at(j) == ':' && at(j + 1) == ':')
                    ++j;
                else
                    break;
            }
            if (named) ++count;
            i = j;
        } else if (IdChar(c)) {
            while (IdChar(at(i))) ++i;  // a name or number: "$" inside it is no parameter
        } else {
            ++i;
        }
    }
    return count;
}

// Compiles `sql` against the schema: SQLite's own parameter count, or -1 when it does not compile.
// A second statement after the first is a fault: the dialect lets one statement through.
int CompiledParameters(const QByteArray& sql, const QString& input) {
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(Connection(), sql.constData(), static_cast<int>(sql.size()), &st, &tail) !=
        SQLITE_OK)
        return -1;
    const int count = st ? sqlite3_bind_parameter_count(st) : 0;
    sqlite3_finalize(st);
    if (st && tail && tail < sql.constData() + sql.size()) {
        sqlite3_stmt* more = nullptr;
        const int rc = sqlite3_prepare_v2(
            Connection(), tail, static_cast<int>(sql.constData() + sql.size() - tail), &more, nullptr);
        sqlite3_finalize(more);
        FUZZ_CHECK(rc != SQLITE_OK || !more, input, QString::fromUtf8(sql));
    }
    return count;
}

void CheckCounted(const QString& sqliteText, int counted, const QString& input) {
    const QByteArray bytes = sqliteText.toUtf8();
    const int scanned = SqliteParameters(bytes);
    FUZZ_CHECK(
        scanned == counted, input,
        QStringLiteral("%1 counted, %2 in \"%3\"").arg(counted).arg(scanned).arg(fuzz::Shown(sqliteText)));
    const int compiled = CompiledParameters(bytes, input);
    FUZZ_CHECK(compiled < 0 || compiled == counted, input,
               QStringLiteral("%1 counted, SQLite %2 in \"%3\"")
                   .arg(counted)
                   .arg(compiled)
                   .arg(fuzz::Shown(sqliteText)));
}

void CheckTranslate(const QString& sql) {
    const SqlDialect::Translation* t = nullptr;
    try {
        t = &SqlDialect::translate(sql);
    } catch (const db::DbError& e) {
        FUZZ_CHECK(e.number() == db::kErrUnsupportedSql, sql, e.description());
        return;
    }
    const SqlDialect::Translation copy = *t;
    CheckCounted(copy.sql, copy.parameterCount, sql);
    FUZZ_CHECK(copy.table.isEmpty() == copy.sqlWithRowid.isEmpty(), sql, copy.sqlWithRowid);
    if (!copy.sqlWithRowid.isEmpty()) CheckCounted(copy.sqlWithRowid, copy.parameterCount, sql);
    FUZZ_CHECK(SqlDialect::translate(sql).sql == copy.sql, sql, copy.sql);
}

// SQLite's answer to `value LIKE pattern` on bytes, through the function the dialect installs.
bool SqliteLike(const QByteArray& value, const QByteArray& pattern) {
    static sqlite3_stmt* st = [] {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(Connection(), "SELECT ?1 LIKE ?2", -1, &s, nullptr) != SQLITE_OK) std::abort();
        return s;
    }();
    sqlite3_reset(st);
    sqlite3_bind_text(st, 1, value.constData(), static_cast<int>(value.size()), SQLITE_STATIC);
    sqlite3_bind_text(st, 2, pattern.constData(), static_cast<int>(pattern.size()), SQLITE_STATIC);
    if (sqlite3_step(st) != SQLITE_ROW) std::abort();
    return sqlite3_column_int(st, 0) != 0;
}

// low <= value < high under NOCASE, as SQLite compares them.
bool InRange(const QByteArray& value, const SqlDialect::PrefixRange& range) {
    static sqlite3_stmt* st = [] {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(Connection(), "SELECT ?1 >= ?2 COLLATE NOCASE AND ?1 < ?3 COLLATE NOCASE", -1,
                               &s, nullptr) != SQLITE_OK)
            std::abort();
        return s;
    }();
    const QByteArray low = range.low.toUtf8();
    const QByteArray high = range.high.toUtf8();
    sqlite3_reset(st);
    sqlite3_bind_text(st, 1, value.constData(), static_cast<int>(value.size()), SQLITE_STATIC);
    sqlite3_bind_text(st, 2, low.constData(), static_cast<int>(low.size()), SQLITE_STATIC);
    sqlite3_bind_text(st, 3, high.constData(), static_cast<int>(high.size()), SQLITE_STATIC);
    if (sqlite3_step(st) != SQLITE_ROW) std::abort();
    return sqlite3_column_int(st, 0) != 0;
}

void CheckLike(const QString& text) {
    const qsizetype cut = text.indexOf(u'\n');
    const QString pattern = cut < 0 ? text : text.left(cut);
    const QString value = cut < 0 ? text : text.mid(cut + 1);
    const QString both = QStringLiteral("%1 LIKE %2").arg(fuzz::Shown(value), fuzz::Shown(pattern));

    FUZZ_CHECK(SqlDialect::like(value, value), text, both);
    FUZZ_CHECK(SqlDialect::like(value, QStringLiteral("*")), text, both);
    const bool matched = SqlDialect::like(value, pattern);
    // UTF-8 carries only whole characters; a text with an unpaired surrogate has no UTF-8 twin.
    if (!QStringView(value).isValidUtf16() || !QStringView(pattern).isValidUtf16()) return;
    const QByteArray value8 = value.toUtf8();
    FUZZ_CHECK(SqliteLike(value8, pattern.toUtf8()) == matched, text, both);
    if (!matched) return;
    if (const auto range = SqlDialect::likePrefixRange(pattern)) {
        FUZZ_CHECK(
            InRange(value8, *range), text,
            both +
                QStringLiteral(" outside [%1, %2)").arg(fuzz::Shown(range->low), fuzz::Shown(range->high)));
    }
}

void CheckRawLike(const uint8_t* data, size_t size) {
    const QByteArray raw(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype cut = raw.indexOf('\n');
    const QByteArray pattern = cut < 0 ? raw : raw.left(cut);
    const QByteArray value = cut < 0 ? raw : raw.mid(cut + 1);
    SqliteLike(value, pattern);
    FUZZ_CHECK(SqliteLike(value, value) && SqliteLike(value, "*"), QString::fromLatin1(raw), QString());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString utf8 = fuzz::Utf8(data, size);
    const QString utf16 = fuzz::Utf16(data, size);
    CheckTranslate(utf8);
    CheckTranslate(utf16);
    CheckLike(utf8);
    CheckLike(utf16);
    CheckRawLike(data, size);
    return 0;
}
