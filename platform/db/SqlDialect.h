#pragma once

#include <QString>
#include <optional>

struct sqlite3;

namespace db {

// Translates the SQL the program is written in into SQLite's.
//
//   DELETE * FROM t            -> DELETE FROM t
//   SELECT TOP n ...           -> SELECT ... LIMIT n
//   #12/08/2026#, #9:05 AM#, #12/08/2026 9:05 AM#  -> '2026-12-08', '09:05:00', '2026-12-08 09:05:00'
//   True / False               -> -1 / 0
//   "text"                     -> 'text'
//   [Group]                    -> "Group"
//
// LIKE is left to the `like` function that registerFunctions() installs: `*` and `?` are its
// wildcards (in literals and bound values alike), every other character matches itself, and letter
// case is ignored for every letter, accented ones included (a non-ASCII letter never equals an
// ASCII one, so the Kelvin sign is not a K and the long s not an s).
//
// Quotes are tokenised, so a `?` or `#` inside a literal is text. Anything not understood raises
// DbError(kErrUnsupportedSql); nothing is guessed. Translations are cached.
class SqlDialect {
public:
    struct Translation {
        QString sql;           // SQLite text
        int parameterCount = 0;  // `?` outside literals
        // For a plain SELECT from one table (no join, grouping, DISTINCT, aggregate or compound):
        // the table's name and the same statement reading "rowid AS __rowid__" first, so that the
        // rows can be written back. Empty otherwise.
        QString table;
        QString sqlWithRowid;
    };

    static const Translation& translate(const QString& programSql);

    // Installs the program's own LIKE on a connection.
    static void registerFunctions(sqlite3* db);

    // The program's LIKE: `*` any run of characters, `?` one character, case ignored.
    static bool like(const QString& value, const QString& pattern);

    // Every value that `pattern` matches lies in [low, high) under NOCASE ordering, computed from
    // the pattern's leading run of plain ASCII characters. None when the pattern starts with a
    // wildcard or a non-ASCII character. `col LIKE ? AND col >= low AND col < high` lets SQLite read
    // a prefix search from a NOCASE index on `col` instead of testing every row.
    struct PrefixRange {
        QString low;
        QString high;
    };
    static std::optional<PrefixRange> likePrefixRange(const QString& pattern);
};

}  // namespace db
