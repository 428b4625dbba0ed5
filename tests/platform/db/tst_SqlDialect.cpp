#include <sqlite3.h>

#include <QTest>

#include "platform/db/DbError.h"
#include "platform/db/SqlDialect.h"
#include "support/TestRegistry.h"

using db::SqlDialect;

class TestSqlDialect : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void translates_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("sqlite");
        QTest::addColumn<int>("parameters");

        QTest::newRow("plain") << "SELECT a FROM t WHERE b = ? AND c <> 'x'"
                               << "SELECT a FROM t WHERE b = ? AND c <> 'x'" << 1;
        QTest::newRow("top with order") << "SELECT TOP 22 ContID, Setting, ShownName FROM Contacts WHERE "
                                           "Setting = 'Default' ORDER BY ContID DESC"
                                        << "SELECT ContID, Setting, ShownName FROM Contacts WHERE Setting = "
                                           "'Default' ORDER BY ContID DESC "
                                           "LIMIT 22"
                                        << 0;
        QTest::newRow("distinct top, trailing ;") << "SELECT DISTINCT TOP 5 Company FROM Contacts;  "
                                                  << "SELECT DISTINCT Company FROM Contacts LIMIT 5;  " << 0;
        QTest::newRow("top over lines") << "SELECT TOP 3\n  *\nFROM t\n"
                                        << "SELECT *\nFROM t LIMIT 3\n"
                                        << 0;
        QTest::newRow("delete *") << "DELETE * FROM Remind WHERE RefNum = 5"
                                  << "DELETE FROM Remind WHERE RefNum = 5" << 0;
        QTest::newRow("date, time, booleans")
            << "SELECT RefNum, RemDate FROM Remind WHERE RemDate = #12/08/2026# AND RemTime = #9:05 AM# AND "
               "Completed = False"
            << "SELECT RefNum, RemDate FROM Remind WHERE RemDate = '2026-12-08' AND RemTime = '09:05:00' AND "
               "Completed = 0"
            << 0;
        QTest::newRow("two-digit hour, pm") << "WHERE t = #09:05 AM# OR t = #12:30 pm#"
                                            << "WHERE t = '09:05:00' OR t = '12:30:00'" << 0;
        QTest::newRow("one-digit date with time") << "WHERE d = #2/1/2028 4:15 PM#"
                                                  << "WHERE d = '2028-02-01 16:15:00'" << 0;
        QTest::newRow("between dates") << "SELECT * FROM Appts WHERE DateFrom BETWEEN #02/01/2028# AND "
                                          "#02/29/2028# ORDER BY TimeFrom Desc"
                                       << "SELECT * FROM Appts WHERE DateFrom BETWEEN '2028-02-01' AND "
                                          "'2028-02-29' ORDER BY TimeFrom Desc"
                                       << 0;
        QTest::newRow("true any case") << "UPDATE t SET a = tRUE, b = false WHERE c = True"
                                       << "UPDATE t SET a = -1, b = 0 WHERE c = -1" << 0;
        // Glued to a minus, -1 would open a comment that swallows the rest of the line.
        QTest::newRow("minus true") << "SELECT a FROM t WHERE b = 1-True AND c = ?"
                                    << "SELECT a FROM t WHERE b = 1- -1 AND c = ?" << 1;
        QTest::newRow("words inside literals untouched")
            << "SELECT 'True ? # * [x] \"q\"' FROM t WHERE a = ? AND b LIKE 'O''Br*'"
            << "SELECT 'True ? # * [x] \"q\"' FROM t WHERE a = ? AND b LIKE 'O''Br*'" << 1;
        QTest::newRow("double-quoted text") << "SELECT a FROM t WHERE n = \"O'Brien \"\"Bob\"\"\" OR n = ?"
                                            << "SELECT a FROM t WHERE n = 'O''Brien \"Bob\"' OR n = ?" << 1;
        QTest::newRow("brackets") << "SELECT ContID, [Group] FROM Contacts WHERE [Group] = ?"
                                  << "SELECT ContID, \"Group\" FROM Contacts WHERE \"Group\" = ?" << 1;
        QTest::newRow("aggregate glued to AS") << "SELECT MAX(ContID)AS MAXID FROM Contacts"
                                               << "SELECT MAX(ContID)AS MAXID FROM Contacts" << 0;
        QTest::newRow("three parameters") << "INSERT INTO t (a, b, c) VALUES (?, ?,?)"
                                          << "INSERT INTO t (a, b, c) VALUES (?, ?,?)" << 3;
        QTest::newRow("SQLite date() on a table named like it") << "INSERT INTO Date (a) VALUES (1)"
                                                                << "INSERT INTO Date (a) VALUES (1)" << 0;
    }
    void translates() {
        QFETCH(QString, program);
        QFETCH(QString, sqlite);
        QFETCH(int, parameters);
        const SqlDialect::Translation& t = SqlDialect::translate(program);
        QCOMPARE(t.sql, sqlite);
        QCOMPARE(t.parameterCount, parameters);
    }

    void cachedTranslationIsStable() {
        const SqlDialect::Translation& a = SqlDialect::translate(QStringLiteral("SELECT TOP 1 a FROM t"));
        const QString first = a.sql;
        QCOMPARE(SqlDialect::translate(QStringLiteral("SELECT TOP 1 a FROM t")).sql, first);
        // Filling the cache past its bound must not break the entry returned last.
        for (int i = 0; i < 1100; ++i) SqlDialect::translate(QStringLiteral("SELECT %1").arg(i));
        const SqlDialect::Translation& b = SqlDialect::translate(QStringLiteral("SELECT TOP 1 a FROM t"));
        QCOMPARE(b.sql, first);
    }

    void refuses_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("named");

        QTest::newRow("open quote") << "SELECT a FROM t WHERE b = 'x"
                                    << "'...'";
        QTest::newRow("open double quote") << "SELECT a FROM t WHERE b = \"x"
                                           << "\"...\"";
        QTest::newRow("open bracket") << "SELECT [Group FROM t"
                                      << "[name]";
        QTest::newRow("open date") << "SELECT a FROM t WHERE d = #12/08/2026"
                                   << "#date#";
        QTest::newRow("bad date") << "SELECT a FROM t WHERE d = #13/45/2026#"
                                  << "#13/45/2026#";
        QTest::newRow("not a date") << "SELECT a FROM t WHERE d = #tomorrow#"
                                    << "#tomorrow#";
        QTest::newRow("top in subquery") << "SELECT a FROM t WHERE b IN (SELECT TOP 3 b FROM u)"
                                         << "TOP";
        QTest::newRow("top late") << "SELECT a, TOP 3 FROM t"
                                  << "TOP";
        QTest::newRow("top percent") << "SELECT TOP 10 PERCENT a FROM t"
                                     << "PERCENT";
        QTest::newRow("top parameter") << "SELECT TOP ? a FROM t"
                                       << "whole number";
        QTest::newRow("top compound") << "SELECT TOP 3 a FROM t UNION SELECT a FROM u"
                                      << "compound";
        QTest::newRow("ampersand") << "SELECT First & ' ' & Last FROM t"
                                   << "&";
        QTest::newRow("distinctrow") << "SELECT DISTINCTROW a FROM t"
                                     << "DISTINCTROW";
        QTest::newRow("transform") << "TRANSFORM Sum(x) SELECT a FROM t PIVOT b"
                                   << "TRANSFORM";
        QTest::newRow("iif") << "SELECT IIf(a, 1, 2) FROM t"
                             << "IIf()";
        QTest::newRow("nz spaced") << "SELECT Nz (a) FROM t"
                                   << "Nz()";
        QTest::newRow("format") << "SELECT Format(d, 'yyyy') FROM t"
                                << "Format()";
        QTest::newRow("left") << "SELECT a FROM t WHERE Left(n, 1) = 'A'"
                              << "Left()";
        QTest::newRow("date") << "SELECT a FROM t WHERE d < Date()"
                              << "Date()";
        QTest::newRow("ucase") << "SELECT UCASE(n) FROM t"
                               << "UCASE()";
        QTest::newRow("escape") << "SELECT a FROM t WHERE n LIKE 'a!*' ESCAPE '!'"
                                << "ESCAPE";
        QTest::newRow("two statements") << "DELETE FROM t; DELETE FROM u"
                                        << "more than one statement";
        QTest::newRow("numbered parameter") << "SELECT a FROM t WHERE b = ?1"
                                            << "?N";
        // SQLite reads each of these as a parameter the dialect would not have counted.
        QTest::newRow("colon and digit") << "SELECT a FROM t WHERE b = :1"
                                         << "named parameter";
        QTest::newRow("at and euro sign")
            << QString::fromUtf8("SELECT a FROM t WHERE b = @\u20ac") << "named parameter";
        // Lost on the way to SQLite: a NUL ends its text, an unpaired surrogate becomes "?".
        QTest::newRow("NUL") << QStringLiteral("DELETE FROM t") + QChar(0) + QStringLiteral(" WHERE a = 1")
                             << "NUL";
        QTest::newRow("unpaired surrogate")
            << QStringLiteral("SELECT a FROM t WHERE b = ") + QChar(0xDC00) << "unpaired surrogate";
    }
    void refuses() {
        QFETCH(QString, program);
        QFETCH(QString, named);
        try {
            SqlDialect::translate(program);
            QFAIL("no error");
        } catch (const db::DbError& e) {
            QCOMPARE(e.number(), int(db::kErrUnsupportedSql));
            QVERIFY2(e.description().contains(named), qPrintable(e.description()));
        }
    }

    void singleTable_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("withRowid");

        QTest::newRow("plain") << "SELECT ContID, ShownName FROM Contacts WHERE ShownName LIKE ?"
                               << "Contacts"
                               << "SELECT Contacts.rowid AS __rowid__, ContID, ShownName FROM Contacts WHERE "
                                  "ShownName LIKE ?";
        QTest::newRow("star, alias, order")
            << "SELECT * FROM CPhone AS p ORDER BY p.Kind"
            << "CPhone"
            << "SELECT p.rowid AS __rowid__, * FROM CPhone AS p ORDER BY p.Kind";
        QTest::newRow("top") << "SELECT TOP 2 a FROM t c WHERE a > 1"
                             << "t"
                             << "SELECT c.rowid AS __rowid__, a FROM t c WHERE a > 1 LIMIT 2";
        QTest::newRow("bracketed table") << "SELECT a FROM [Group]"
                                         << "Group"
                                         << "SELECT \"Group\".rowid AS __rowid__, a FROM \"Group\"";
        QTest::newRow("subquery in WHERE")
            << "SELECT a FROM t WHERE b IN (SELECT MAX(b) FROM u GROUP BY c)"
            << "t"
            << "SELECT t.rowid AS __rowid__, a FROM t WHERE b IN (SELECT MAX(b) "
               "FROM u GROUP BY c)";
        QTest::newRow("join") << "SELECT a FROM t INNER JOIN u ON t.x = u.x"
                              << ""
                              << "";
        QTest::newRow("comma join") << "SELECT a FROM t, u WHERE t.x = u.x"
                                    << ""
                                    << "";
        QTest::newRow("from subquery") << "SELECT a FROM (SELECT a FROM t)"
                                       << ""
                                       << "";
        QTest::newRow("group by") << "SELECT a FROM t GROUP BY a"
                                  << ""
                                  << "";
        QTest::newRow("having") << "SELECT a FROM t WHERE b = 1 HAVING a > 1"
                                << ""
                                << "";
        QTest::newRow("distinct") << "SELECT DISTINCT a FROM t"
                                  << ""
                                  << "";
        QTest::newRow("union") << "SELECT a FROM t WHERE a = 1 UNION SELECT a FROM u"
                               << ""
                               << "";
        QTest::newRow("aggregate") << "SELECT MAX(ContID)AS MAXID FROM Contacts"
                                   << ""
                                   << "";
        QTest::newRow("count lower case") << "SELECT count (*) FROM Contacts"
                                          << ""
                                          << "";
        QTest::newRow("no FROM") << "SELECT 1"
                                 << ""
                                 << "";
        QTest::newRow("delete") << "DELETE FROM t"
                                << ""
                                << "";
    }
    void singleTable() {
        QFETCH(QString, program);
        QFETCH(QString, table);
        QFETCH(QString, withRowid);
        const SqlDialect::Translation& t = SqlDialect::translate(program);
        QCOMPARE(t.table, table);
        QCOMPARE(t.sqlWithRowid, withRowid);
    }

    void like_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matches");

        QTest::newRow("exact") << "Smith"
                               << "Smith" << true;
        QTest::newRow("prefix") << "O'Brien"
                                << "O'Br*" << true;
        QTest::newRow("prefix too long") << "O'B"
                                         << "O'Br*" << false;
        QTest::newRow("star matches none") << "abc"
                                           << "abc*" << true;
        QTest::newRow("inner star") << "abXYZc"
                                    << "ab*c" << true;
        QTest::newRow("star backtracks") << "abcbcd"
                                         << "*bcd" << true;
        QTest::newRow("two stars") << "a-b-c-d"
                                   << "*b*d" << true;
        QTest::newRow("star no match") << "abcbce"
                                       << "*bcd" << false;
        QTest::newRow("question one") << "cat"
                                      << "c?t" << true;
        QTest::newRow("question not none") << "ct"
                                           << "c?t" << false;
        QTest::newRow("question not two") << "coat"
                                          << "c?t" << false;
        QTest::newRow("question non-BMP") << "a\U0001F600b"
                                          << "a?b" << true;
        QTest::newRow("percent literal") << "50%"
                                         << "50%" << true;
        QTest::newRow("percent not wildcard") << "500"
                                              << "50%" << false;
        QTest::newRow("underscore not wildcard") << "aXb"
                                                 << "a_b" << false;
        QTest::newRow("bracket and hash literal") << "[x]#1"
                                                  << "[x]#?" << true;
        QTest::newRow("ascii case") << "SMITH"
                                    << "sm*" << true;
        QTest::newRow("accented case") << "Émile"
                                       << "é*" << true;
        QTest::newRow("accent matters") << "Émile"
                                        << "e*" << false;
        QTest::newRow("long s is not s") << "ſmith"
                                         << "s*" << false;
        QTest::newRow("kelvin sign is not k") << "Karl"
                                              << "k*" << false;
        QTest::newRow("empty pattern") << ""
                                       << "" << true;
        QTest::newRow("empty value, star") << ""
                                           << "*" << true;
        QTest::newRow("empty pattern, value") << "a"
                                              << "" << false;
    }
    void like() {
        QFETCH(QString, value);
        QFETCH(QString, pattern);
        QFETCH(bool, matches);
        QCOMPARE(SqlDialect::like(value, pattern), matches);
    }

    void likeThroughSqlite() {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
        auto closer = qScopeGuard([db] { sqlite3_close(db); });
        SqlDialect::registerFunctions(db);

        auto one = [db](const char* sql, const char* bound) -> QVariant {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
                return QStringLiteral("prepare failed");
            if (bound) sqlite3_bind_text(st, 1, bound, -1, SQLITE_TRANSIENT);
            QVariant out = QStringLiteral("step failed");
            if (sqlite3_step(st) == SQLITE_ROW) {
                out = sqlite3_column_type(st, 0) == SQLITE_NULL ? QVariant()
                                                                : QVariant(sqlite3_column_int(st, 0));
            }
            sqlite3_finalize(st);
            return out;
        };
        QCOMPARE(one("SELECT 'Émile' LIKE 'é*'", nullptr), QVariant(1));
        QCOMPARE(one("SELECT 'Emile' LIKE 'é*'", nullptr), QVariant(0));
        QCOMPARE(one("SELECT 'abc' LIKE ?", "A?C"), QVariant(1));
        QCOMPARE(one("SELECT 'a%c' LIKE 'a%c'", nullptr), QVariant(1));
        QCOMPARE(one("SELECT 'abc' LIKE 'a%'", nullptr), QVariant(0));
        QCOMPARE(one("SELECT 'abc' NOT LIKE 'x*'", nullptr), QVariant(1));
        QCOMPARE(one("SELECT NULL LIKE 'a*'", nullptr), QVariant());
        QCOMPARE(one("SELECT 'a' LIKE NULL", nullptr), QVariant());
        QCOMPARE(one("SELECT 'a' LIKE 'a' ESCAPE '!'", nullptr), QVariant(QStringLiteral("step failed")));
    }

    // The prefix range may only narrow where SQLite looks: with it, a search finds exactly the rows
    // it finds without it, and reads them from the index.
    void likePrefixRangeKeepsEveryMatch() {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
        auto closer = qScopeGuard([db] { sqlite3_close(db); });
        SqlDialect::registerFunctions(db);
        QCOMPARE(sqlite3_exec(db,
                              "CREATE TABLE t (v TEXT COLLATE NOCASE); CREATE INDEX t_v ON t (v);"
                              "INSERT INTO t VALUES ('Smith'), ('SMITHERS'), ('smit'), ('Smj'), ('Sl'),"
                              "('O''Brien'), ('o''BRIAN'), ('a_b'), ('A_Bc'), ('aXb'), ('zed'), ('Z{'),"
                              "('~tilde'), ('@home'), ('[x]'), ('\xc5\xbfmith'), ('\xc3\x89mile'), ('emile'),"
                              "('50%'), ('500'), (''), (NULL), ('A@'), ('Aa'), ('a[');",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        auto count = [db](const char* sql, const QStringList& binds) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return -1;
            for (int i = 0; i < binds.size(); ++i) {
                const QByteArray utf8 = binds[i].toUtf8();
                sqlite3_bind_text(st, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            }
            const int n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
            sqlite3_finalize(st);
            return n;
        };
        const QStringList patterns{"smi*", "SMITH*", "Sm", "o'b*", "a_b*", "A*", "a@*", "z*", "~*", "@*",
                                   "[*", "5*", "50%*", "*mith", "?mith", "\u017f*", "\u00e9*", "e*", ""};
        for (const QString& pattern : patterns) {
            const auto range = SqlDialect::likePrefixRange(pattern);
            const int plain = count("SELECT count(*) FROM t WHERE v LIKE ?", {pattern});
            if (!range) {
                QVERIFY2(pattern.isEmpty() || pattern[0] == u'*' || pattern[0] == u'?' || pattern[0].unicode() >= 0x7F,
                         qPrintable(pattern));
                continue;
            }
            QCOMPARE(count("SELECT count(*) FROM t WHERE v LIKE ? AND v >= ? AND v < ?",
                           {pattern, range->low, range->high}),
                     plain);
        }
        QVERIFY(!SqlDialect::likePrefixRange(QStringLiteral("*x")));

        sqlite3_stmt* st = nullptr;
        QCOMPARE(sqlite3_prepare_v2(db, "EXPLAIN QUERY PLAN SELECT v FROM t WHERE v LIKE ?1 AND v >= ?2 AND v < ?3",
                                    -1, &st, nullptr),
                 SQLITE_OK);
        QString plan;
        while (sqlite3_step(st) == SQLITE_ROW)
            plan += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
        sqlite3_finalize(st);
        QVERIFY2(plan.contains(QStringLiteral("t_v")), qPrintable(plan));
    }
};

POMARET_TEST(TestSqlDialect)

#include "tst_SqlDialect.moc"
