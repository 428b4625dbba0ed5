#include "platform/db/SqlDialect.h"

#include <sqlite3.h>

#include <QChar>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/db/DbError.h"
#include "platform/db/Values.h"

namespace db {
namespace {

// ---------------------------------------------------------------------------------------------
// Tokens

enum class Kind { Space, Word, Name, Number, String, Param, Punct };

struct Token {
    Kind kind;
    QString text;  // as it goes into the SQLite text
    QString key;   // Word: upper case, for keyword tests; Name: the bare name
};

[[noreturn]] void unsupported(const QString& what, const QString& sql) {
    throw DbError(kErrUnsupportedSql,
                  QStringLiteral("Unsupported SQL: %1, in: %2").arg(what, sql.simplified()));
}

bool isWordStart(QChar c) {
    return c.isLetter() || c == u'_' || c.isSurrogate();
}
bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c.isSurrogate();
}
// What SQLite reads as part of a name: after ":", "@" or "$" it makes a named parameter.
bool isSqliteNameChar(QChar c) {
    const char16_t u = c.unicode();
    return u >= 0x80 || (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
           u == u'_' || u == u'$';
}

QString singleQuoted(const QString& content) {
    QString out;
    out.reserve(content.size() + 2);
    out += u'\'';
    for (QChar c : content) {
        if (c == u'\'') out += u'\'';
        out += c;
    }
    out += u'\'';
    return out;
}

// Index just past a quoted run starting at `open` (the doubled quote is an escape), or -1.
qsizetype endOfQuoted(const QString& sql, qsizetype open, QChar quote) {
    const qsizetype n = sql.size();
    qsizetype i = open + 1;
    while (i < n) {
        if (sql.at(i) == quote) {
            if (i + 1 < n && sql.at(i + 1) == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return -1;
}

std::vector<Token> tokenize(const QString& sql) {
    // SQLite is given UTF-8, where an unpaired surrogate would turn into a "?", and stops reading
    // at a NUL.
    if (!QStringView(sql).isValidUtf16()) unsupported(QStringLiteral("an unpaired surrogate"), sql);
    if (sql.contains(QChar(0))) unsupported(QStringLiteral("a NUL character"), sql);
    std::vector<Token> out;
    const qsizetype n = sql.size();
    auto at = [&](qsizetype k) { return k < n ? sql.at(k) : QChar(); };
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        const qsizetype start = i;
        auto push = [&](Kind kind, QString text = {}, QString key = {}) {
            if (text.isNull()) text = sql.mid(start, i - start);
            out.push_back(Token{kind, std::move(text), std::move(key)});
        };

        if (c.isSpace()) {
            while (i < n && sql.at(i).isSpace()) ++i;
            push(Kind::Space);
        } else if (c == u'-' && at(i + 1) == u'-') {
            while (i < n && sql.at(i) != u'\n') ++i;
            push(Kind::Space);
        } else if (c == u'/' && at(i + 1) == u'*') {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0) unsupported(QStringLiteral("an unterminated /* comment"), sql);
            i = end + 2;
            push(Kind::Space);
        } else if (c == u'\'') {
            i = endOfQuoted(sql, i, c);
            if (i < 0) unsupported(QStringLiteral("an unterminated '...' text"), sql);
            push(Kind::String);
        } else if (c == u'"') {
            // The program's double-quoted texts are string literals, not SQLite identifiers.
            i = endOfQuoted(sql, i, c);
            if (i < 0) unsupported(QStringLiteral("an unterminated \"...\" text"), sql);
            QString content = sql.mid(start + 1, i - start - 2);
            content.replace(QLatin1String("\"\""), QLatin1String("\""));
            push(Kind::String, singleQuoted(content));
        } else if (c == u'[') {
            const qsizetype end = sql.indexOf(u']', i + 1);
            if (end < 0) unsupported(QStringLiteral("an unterminated [name]"), sql);
            const QString name = sql.mid(i + 1, end - i - 1);
            if (name.isEmpty()) unsupported(QStringLiteral("an empty [] name"), sql);
            i = end + 1;
            QString quoted = name;
            quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
            push(Kind::Name, QLatin1Char('"') + quoted + QLatin1Char('"'), name);
        } else if (c == u'#') {
            const qsizetype end = sql.indexOf(u'#', i + 1);
            if (end < 0) unsupported(QStringLiteral("an unterminated #date# literal"), sql);
            const QString content = sql.mid(i + 1, end - i - 1);
            const std::optional<QVariant> value = values::parseDateTime(content);
            if (!value)
                unsupported(QStringLiteral("the unreadable date/time literal #%1#").arg(content), sql);
            i = end + 1;
            push(Kind::String, singleQuoted(values::toStorage(*value)));
        } else if (c == u'`') {
            unsupported(QStringLiteral("a `backquoted` name"), sql);
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(sql.at(i))) ++i;
            push(Kind::Word, {}, sql.mid(start, i - start).toUpper());
        } else if (c.isDigit() || (c == u'.' && at(i + 1).isDigit())) {
            // Exponent signs split the token; harmless, as text passes through as written.
            while (i < n && (isWordChar(sql.at(i)) || sql.at(i) == u'.')) ++i;
            push(Kind::Number);
        } else if (c == u'?') {
            if (at(i + 1).isDigit()) unsupported(QStringLiteral("a numbered parameter ?N"), sql);
            ++i;
            push(Kind::Param);
        } else if ((c == u':' || c == u'@' || c == u'$') && isSqliteNameChar(at(i + 1))) {
            unsupported(QStringLiteral("a named parameter %1name").arg(c), sql);
        } else if (c == u'&') {
            unsupported(QStringLiteral("the & concatenation operator (use ||)"), sql);
        } else {
            ++i;
            push(Kind::Punct);
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Statement analysis

const QSet<QString>& untranslatedFunctions() {
    static const QSet<QString> names{
        QStringLiteral("IIF"),       QStringLiteral("NZ"),        QStringLiteral("FORMAT"),
        QStringLiteral("DATEADD"),   QStringLiteral("DATEDIFF"),  QStringLiteral("DATEPART"),
        QStringLiteral("MID"),       QStringLiteral("LEN"),       QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),     QStringLiteral("INSTR"),     QStringLiteral("CSTR"),
        QStringLiteral("CLNG"),      QStringLiteral("CINT"),      QStringLiteral("CDATE"),
        QStringLiteral("NOW"),       QStringLiteral("DATE"),      QStringLiteral("TIME"),
        QStringLiteral("TRIM"),      QStringLiteral("UCASE"),     QStringLiteral("LCASE"),
        QStringLiteral("VAL"),       QStringLiteral("YEAR"),      QStringLiteral("MONTH"),
        QStringLiteral("DAY"),       QStringLiteral("HOUR"),      QStringLiteral("MINUTE"),
        QStringLiteral("SECOND"),    QStringLiteral("WEEKDAY"),   QStringLiteral("DATESERIAL"),
        QStringLiteral("DATEVALUE"), QStringLiteral("TIMEVALUE"), QStringLiteral("ISNULL"),
    };
    return names;
}

// Words after which a name followed by "(" is a table, not a function call.
const QSet<QString>& tableIntroducers() {
    static const QSet<QString> words{QStringLiteral("TABLE"),  QStringLiteral("INTO"),
                                     QStringLiteral("ON"),     QStringLiteral("REFERENCES"),
                                     QStringLiteral("EXISTS"), QStringLiteral("UPDATE")};
    return words;
}

const QSet<QString>& aggregates() {
    static const QSet<QString> names{QStringLiteral("COUNT"),       QStringLiteral("SUM"),
                                     QStringLiteral("MIN"),         QStringLiteral("MAX"),
                                     QStringLiteral("AVG"),         QStringLiteral("TOTAL"),
                                     QStringLiteral("GROUP_CONCAT")};
    return names;
}

// Words that cannot be a table alias: they end or extend the FROM clause.
const QSet<QString>& clauseWords() {
    static const QSet<QString> words{
        QStringLiteral("WHERE"),  QStringLiteral("ORDER"),   QStringLiteral("LIMIT"),
        QStringLiteral("GROUP"),  QStringLiteral("HAVING"),  QStringLiteral("JOIN"),
        QStringLiteral("INNER"),  QStringLiteral("LEFT"),    QStringLiteral("RIGHT"),
        QStringLiteral("CROSS"),  QStringLiteral("NATURAL"), QStringLiteral("FULL"),
        QStringLiteral("OUTER"),  QStringLiteral("UNION"),   QStringLiteral("INTERSECT"),
        QStringLiteral("EXCEPT"), QStringLiteral("WINDOW"),  QStringLiteral("INDEXED"),
        QStringLiteral("NOT"),    QStringLiteral("ON"),      QStringLiteral("USING"),
        QStringLiteral("AS"),
    };
    return words;
}

bool isWord(const Token& t, const char* upper) {
    return t.kind == Kind::Word && t.key == QLatin1String(upper);
}
bool isPunct(const Token& t, char16_t c) {
    return t.kind == Kind::Punct && t.text.size() == 1 && t.text[0] == c;
}

// The significant (non-space) tokens of a statement with their parenthesis depth.
struct Outline {
    std::vector<size_t> sig;  // indexes into the token list
    std::vector<int> depth;   // of each significant token; "(" and ")" carry the outer depth

    explicit Outline(const std::vector<Token>& tokens) {
        int d = 0;
        for (size_t i = 0; i < tokens.size(); ++i) {
            const Token& t = tokens[i];
            if (t.kind == Kind::Space) continue;
            if (isPunct(t, u')')) --d;
            sig.push_back(i);
            depth.push_back(d);
            if (isPunct(t, u'(')) ++d;
        }
    }
    size_t size() const { return sig.size(); }
};

// Blanks tokens [from, to): they leave the statement.
void drop(std::vector<Token>& tokens, size_t from, size_t to) {
    for (size_t i = from; i < to && i < tokens.size(); ++i) tokens[i] = Token{Kind::Space, QString(), {}};
}

struct SingleTable {
    QString table;
    QString qualifier;   // table or alias as written in the SQLite text
    size_t selectIndex;  // token index of SELECT
};

std::optional<SingleTable> singleTable(const std::vector<Token>& tokens, const Outline& o) {
    const size_t n = o.size();
    auto tok = [&](size_t k) -> const Token& { return tokens[o.sig[k]]; };
    if (n == 0 || !isWord(tok(0), "SELECT")) return std::nullopt;

    size_t k = 1;
    if (k < n && isWord(tok(k), "DISTINCT")) return std::nullopt;
    if (k < n && isWord(tok(k), "ALL")) ++k;
    for (; k < n; ++k) {
        const Token& t = tok(k);
        if (o.depth[k] == 0 && isWord(t, "FROM")) break;
        if (t.kind != Kind::Word) continue;
        if (t.key == QLatin1String("OVER")) return std::nullopt;
        if (aggregates().contains(t.key) && k + 1 < n && isPunct(tok(k + 1), u'(')) return std::nullopt;
    }
    if (++k >= n) return std::nullopt;

    const Token& name = tok(k);
    SingleTable found;
    found.selectIndex = o.sig[0];
    if (name.kind == Kind::Word && !clauseWords().contains(name.key)) {
        found.table = name.text;
    } else if (name.kind == Kind::Name) {
        found.table = name.key;
    } else {
        return std::nullopt;
    }
    found.qualifier = name.text;
    ++k;

    auto isAlias = [&](const Token& t) {
        return t.kind == Kind::Name || (t.kind == Kind::Word && !clauseWords().contains(t.key));
    };
    if (k < n && isWord(tok(k), "AS")) {
        if (++k >= n || !isAlias(tok(k))) return std::nullopt;
        found.qualifier = tok(k++).text;
    } else if (k < n && isAlias(tok(k))) {
        found.qualifier = tok(k++).text;
    }
    if (k < n && !isPunct(tok(k), u';') && !isWord(tok(k), "WHERE") && !isWord(tok(k), "ORDER") &&
        !isWord(tok(k), "LIMIT")) {
        return std::nullopt;
    }
    for (; k < n; ++k) {
        if (o.depth[k] != 0 || tok(k).kind != Kind::Word) continue;
        const QString& w = tok(k).key;
        if (w == QLatin1String("GROUP") || w == QLatin1String("HAVING") || w == QLatin1String("UNION") ||
            w == QLatin1String("INTERSECT") || w == QLatin1String("EXCEPT") || w == QLatin1String("WINDOW")) {
            return std::nullopt;
        }
    }
    return found;
}

SqlDialect::Translation translateText(const QString& sql) {
    std::vector<Token> tokens = tokenize(sql);
    SqlDialect::Translation result;

    const Outline outline(tokens);
    const size_t n = outline.size();
    auto tok = [&](size_t k) -> Token& { return tokens[outline.sig[k]]; };
    auto afterSig = [&](size_t k) { return k + 1 < n ? outline.sig[k + 1] : tokens.size(); };

    QString limit;
    for (size_t k = 0; k < n; ++k) {
        Token& t = tok(k);
        if (t.kind == Kind::Param) {
            ++result.parameterCount;
            continue;
        }
        if (isPunct(t, u';')) {
            if (k + 1 < n) unsupported(QStringLiteral("more than one statement"), sql);
            continue;
        }
        if (t.kind != Kind::Word) continue;
        const QString& w = t.key;
        const bool call = k + 1 < n && isPunct(tok(k + 1), u'(');
        const bool qualified = k > 0 && isPunct(tok(k - 1), u'.');

        if (w == QLatin1String("DISTINCTROW") || w == QLatin1String("TRANSFORM") ||
            w == QLatin1String("PIVOT")) {
            unsupported(w, sql);
        } else if (w == QLatin1String("ESCAPE")) {
            unsupported(QStringLiteral("LIKE ... ESCAPE"), sql);
        } else if (call && !qualified && untranslatedFunctions().contains(w) &&
                   !(k > 0 && tok(k - 1).kind == Kind::Word && tableIntroducers().contains(tok(k - 1).key))) {
            unsupported(QStringLiteral("the function %1()").arg(t.text), sql);
        } else if ((w == QLatin1String("TRUE") || w == QLatin1String("FALSE")) && !qualified) {
            // "1-True" must not become "1--1", a comment to the end of the line.
            const size_t at = outline.sig[k];
            const bool afterMinus = at > 0 && isPunct(tokens[at - 1], u'-');
            t = Token{Kind::Number,
                      w == QLatin1String("FALSE") ? QStringLiteral("0")
                      : afterMinus                ? QStringLiteral(" -1")
                                                  : QStringLiteral("-1"),
                      {}};
        } else if (w == QLatin1String("DELETE") && k + 2 < n && isPunct(tok(k + 1), u'*') &&
                   isWord(tok(k + 2), "FROM")) {
            drop(tokens, outline.sig[k + 1], outline.sig[k + 2]);
        } else if (w == QLatin1String("TOP")) {
            const bool placed =
                (k == 1 && isWord(tok(0), "SELECT")) ||
                (k == 2 && isWord(tok(0), "SELECT") && (isWord(tok(1), "DISTINCT") || isWord(tok(1), "ALL")));
            if (!placed) unsupported(QStringLiteral("TOP anywhere but right after the first SELECT"), sql);
            if (k + 1 >= n || tok(k + 1).kind != Kind::Number ||
                !std::all_of(tok(k + 1).text.cbegin(), tok(k + 1).text.cend(),
                             [](QChar c) { return c >= u'0' && c <= u'9'; })) {
                unsupported(QStringLiteral("TOP without a whole number"), sql);
            }
            if (k + 2 < n && isWord(tok(k + 2), "PERCENT")) unsupported(QStringLiteral("TOP n PERCENT"), sql);
            for (size_t j = 0; j < n; ++j) {
                if (outline.depth[j] != 0) continue;
                const Token& o = tok(j);
                if (isWord(o, "UNION") || isWord(o, "INTERSECT") || isWord(o, "EXCEPT")) {
                    unsupported(QStringLiteral("TOP in a compound SELECT"), sql);
                }
                if (isWord(o, "LIMIT")) unsupported(QStringLiteral("TOP together with LIMIT"), sql);
            }
            limit = tok(k + 1).text;
            drop(tokens, outline.sig[k], afterSig(k + 1));
            ++k;
        }
    }

    // LIMIT goes after the last significant token, before a trailing ";".
    size_t limitAfter = tokens.size();
    if (!limit.isEmpty()) {
        for (size_t i = tokens.size(); i-- > 0;) {
            const Token& t = tokens[i];
            if (t.kind != Kind::Space && !isPunct(t, u';')) {
                limitAfter = i;
                break;
            }
        }
    }

    const std::optional<SingleTable> single = singleTable(tokens, Outline(tokens));
    QString rowidSql;
    for (size_t i = 0; i < tokens.size(); ++i) {
        result.sql += tokens[i].text;
        if (single) {
            rowidSql += tokens[i].text;
            if (i == single->selectIndex) {
                rowidSql += QLatin1Char(' ') + single->qualifier + QLatin1String(".rowid AS __rowid__,");
            }
        }
        if (i == limitAfter) {
            const QString clause = QLatin1String(" LIMIT ") + limit;
            result.sql += clause;
            rowidSql += clause;
        }
    }
    if (single) {
        result.table = single->table;
        result.sqlWithRowid = rowidSql;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// LIKE

// Code point readers over UTF-16 (QString) and UTF-8 (SQLite's text), by offset.
struct Utf16Text {
    const QChar* s;
    qsizetype n;
    qsizetype next(qsizetype i, char32_t& cp) const {
        const char16_t u = s[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && s[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(u, s[i + 1].unicode());
            return i + 2;
        }
        cp = u;
        return i + 1;
    }
};

struct Utf8Text {
    const unsigned char* s;
    qsizetype n;
    qsizetype next(qsizetype i, char32_t& cp) const {
        const unsigned char b = s[i];
        if (b < 0x80) {
            cp = b;
            return i + 1;
        }
        int len;
        char32_t c;
        if ((b & 0xE0) == 0xC0) {
            len = 2;
            c = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
            c = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
            c = b & 0x07;
        } else {
            cp = 0xFFFD;
            return i + 1;
        }
        if (i + len > n) {
            cp = 0xFFFD;
            return i + 1;
        }
        for (int k = 1; k < len; ++k) {
            const unsigned char cb = s[i + k];
            if ((cb & 0xC0) != 0x80) {
                cp = 0xFFFD;
                return i + 1;
            }
            c = (c << 6) | (cb & 0x3F);
        }
        cp = c;
        return i + len;
    }
};

inline char32_t fold(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    // Only ASCII folds to ASCII: the long s and the Kelvin sign stay themselves, which keeps a
    // prefix search inside the range likePrefixRange gives.
    const char32_t folded = QChar::toCaseFolded(c);
    return folded < 0x80 ? c : folded;
}

// Iterative wildcard match; on a mismatch the last `*` absorbs one more character and matching
// resumes after it. A trailing `*` accepts the rest at once (the common "prefix*" search).
template <typename Text>
bool wildcardMatch(const Text& value, const Text& pattern) {
    qsizetype p = 0, v = 0;
    qsizetype starP = -1, starV = 0;
    char32_t pc = 0, vc = 0;
    while (v < value.n) {
        if (p < pattern.n) {
            const qsizetype pNext = pattern.next(p, pc);
            if (pc == U'*') {
                if (pNext == pattern.n) return true;
                starP = pNext;
                starV = v;
                p = pNext;
                continue;
            }
            const qsizetype vNext = value.next(v, vc);
            if (pc == U'?' || fold(pc) == fold(vc)) {
                p = pNext;
                v = vNext;
                continue;
            }
        }
        if (starP < 0) return false;
        starV = value.next(starV, vc);
        v = starV;
        p = starP;
    }
    while (p < pattern.n) {
        p = pattern.next(p, pc);
        if (pc != U'*') return false;
    }
    return true;
}

void sqlLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 2) {
        sqlite3_result_error(ctx, "LIKE ... ESCAPE is not supported", -1);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // SQLite calls like(pattern, value) for `value LIKE pattern`. Text first, then its length.
    const unsigned char* pattern = sqlite3_value_text(argv[0]);
    const int patternBytes = sqlite3_value_bytes(argv[0]);
    const unsigned char* value = sqlite3_value_text(argv[1]);
    const int valueBytes = sqlite3_value_bytes(argv[1]);
    if (!pattern || !value) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    sqlite3_result_int(ctx,
                       wildcardMatch(Utf8Text{value, valueBytes}, Utf8Text{pattern, patternBytes}) ? 1 : 0);
}

}  // namespace

const SqlDialect::Translation& SqlDialect::translate(const QString& programSql) {
    // Per thread, so no locking; `last` keeps the returned entry alive across a cache clear.
    thread_local QHash<QString, std::shared_ptr<const Translation>> cache;
    thread_local std::shared_ptr<const Translation> last;

    auto it = cache.constFind(programSql);
    if (it != cache.constEnd()) {
        last = *it;
        return *last;
    }
    auto made = std::make_shared<const Translation>(translateText(programSql));
    if (cache.size() >= 1000) cache.clear();
    cache.insert(programSql, made);
    last = std::move(made);
    return *last;
}

void SqlDialect::registerFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    for (int args : {2, 3}) {
        const int rc =
            sqlite3_create_function_v2(db, "like", args, flags, nullptr, &sqlLike, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            throw DbError(
                kSqliteBase + rc,
                QStringLiteral("Could not install LIKE: %1").arg(QString::fromUtf8(sqlite3_errmsg(db))));
        }
    }
}

bool SqlDialect::like(const QString& value, const QString& pattern) {
    return wildcardMatch(Utf16Text{value.constData(), value.size()},
                         Utf16Text{pattern.constData(), pattern.size()});
}

std::optional<SqlDialect::PrefixRange> SqlDialect::likePrefixRange(const QString& pattern) {
    // NOCASE compares bytes with A-Z taken as a-z and stops at a NUL; the prefix stops before
    // anything else.
    QString low;
    for (const QChar ch : pattern) {
        const char16_t c = ch.unicode();
        if (c == u'*' || c == u'?' || c == 0 || c >= 0x7F) break;
        low += QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
    if (low.isEmpty()) return std::nullopt;
    QString high = low;
    high.back() = QChar(char16_t(high.back().unicode() + 1));
    return PrefixRange{low, high};
}

}  // namespace db
