#include <QTest>

#include "platform/regexp/RegExp.h"
#include "support/TestRegistry.h"

class RegExpTest : public QObject {
    Q_OBJECT

    static QString Listed(const regexp::MatchCollection& matches) {
        QStringList parts;
        for (const regexp::Match& m : matches)
            parts << QStringLiteral("%1+%2:%3").arg(m.FirstIndex).arg(m.Length).arg(m.Value);
        return parts.join(QLatin1Char('|'));
    }

private Q_SLOTS:
    // The sets, anchors and escapes whose meaning PCRE would change if passed through as they stand.
    void test_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<bool>("expected");

        QTest::newRow("$ not before a final line feed") << "^a$"
                                                        << "a\n"
                                                        << false << false;
        QTest::newRow("$ at the end") << "a$"
                                      << "ba" << false << true;
        QTest::newRow("\\s: the six white-space characters") << "^\\s{6}$"
                                                             << " \f\n\r\t\v" << false << true;
        QTest::newRow("\\s: no no-break space") << "\\s" << QStringLiteral("a\u00A0b") << false << false;
        QTest::newRow("\\s: no next-line") << "\\s" << QStringLiteral("\u0085") << false << false;
        QTest::newRow("\\S: no-break space is one word")
            << "^\\S+$" << QStringLiteral("a\u00A0b") << false << true;
        QTest::newRow("\\S: not a vertical tab") << "\\S"
                                                 << "\v" << false << false;
        QTest::newRow("\\v is only the vertical tab")
            << "\\v" << QStringLiteral("\u2028\n\f") << false << false;
        QTest::newRow("[^\\v] takes a next-line") << "^[^\\v]$" << QStringLiteral("\u0085") << false << true;
        QTest::newRow("[\\s,] takes a blank") << "^[\\s,]+$"
                                              << " ,\t" << false << true;
        QTest::newRow("[\\s,] not a no-break space")
            << "[\\s,]" << QStringLiteral("\u00A0") << false << false;
        QTest::newRow("[\\S] not a tab") << "[\\S]"
                                         << "\t" << false << false;
        QTest::newRow("[^\\S] takes a tab") << "^[^\\S]$"
                                            << "\t" << false << true;
        QTest::newRow("[^\\S] not a no-break space")
            << "[^\\S]" << QStringLiteral("\u00A0") << false << false;
        QTest::newRow("[^\\S,] not a comma") << "[^\\S,]"
                                             << "," << false << false;
        QTest::newRow("[\\S\\s] any character") << "^[\\S\\s]$"
                                                << "\n"
                                                << false << true;
        QTest::newRow("[\\W\\d] a digit") << "^[\\W\\d]$"
                                          << "5" << false << true;
        QTest::newRow("[\\W\\d] not a letter") << "[\\W\\d]" << QStringLiteral("\u00E9") << false << false;
        QTest::newRow("[] matches nothing") << "[]"
                                            << "a]" << false << false;
        QTest::newRow("[^] any character") << "^[^]$"
                                           << "\n"
                                           << false << true;
        QTest::newRow("[\\b] is a backspace") << "^[\\b]$"
                                              << "\b" << false << true;
        QTest::newRow("[\\b] not a b") << "[\\b]"
                                       << "b" << false << false;
        QTest::newRow("\\b after a letter of any script")
            << "\\bi\\b" << QStringLiteral("B\u00EFi") << false << false;
        QTest::newRow("\\b: underscore is a word character") << "\\bi\\b"
                                                             << "x_i" << false << false;
        QTest::newRow("\\b: digit is a word character") << "\\bi\\b"
                                                        << "2i" << false << false;
        QTest::newRow("\\b at both ends of the text") << "\\bIII\\b"
                                                      << "III" << false << true;
        QTest::newRow("\\b beside punctuation") << "\\bjr\\b"
                                                << "Berg-Jr." << true << true;
        QTest::newRow("\\B inside a word") << "a\\Bb"
                                           << "ab" << false << true;
        QTest::newRow(". not a carriage return") << "^.$"
                                                 << "\r" << false << false;
        QTest::newRow(". a no-break space") << "^.$" << QStringLiteral("\u00A0") << false << true;
        QTest::newRow("\\x and \\u escapes")
            << "^\\x41\\u00e9$" << QStringLiteral("A\u00E9") << false << true;
        QTest::newRow("escaped comma and full stop") << "^\\,\\.$"
                                                     << ",." << false << true;
        QTest::newRow("ignore case on") << "^dr\\.?\\s+"
                                        << "DR Anna" << true << true;
        QTest::newRow("ignore case off") << "^dr\\.?\\s+"
                                         << "DR Anna" << false << false;
        QTest::newRow("ignore case, accented")
            << "^\u00E9mile$" << QStringLiteral("\u00C9MILE") << true << true;
        QTest::newRow("ignore case in a class range") << "^[a-c]+$"
                                                      << "ABC" << true << true;
    }
    void test() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, ignoreCase);
        QFETCH(bool, expected);
        regexp::RegExp re;
        re.setPattern(pattern);
        re.setIgnoreCase(ignoreCase);
        QCOMPARE(re.Test(text), expected);
    }

    void execute_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("global");
        QTest::addColumn<QString>("expected");  // FirstIndex+Length:Value|...

        QTest::newRow("words, global") << "\\S+"
                                       << "Berg, Anna\tMaria" << true << "0+5:Berg,|6+4:Anna|11+5:Maria";
        QTest::newRow("words, not global") << "\\S+"
                                           << "  Berg, Anna" << false << "2+5:Berg,";
        QTest::newRow("no match") << "\\d"
                                  << "Anna" << true << "";
        QTest::newRow("empty matches step one on") << "x*"
                                                   << "axb" << true << "0+0:|1+1:x|2+0:|3+0:";
        QTest::newRow("lazy empty match is not retried longer") << "a*?"
                                                                << "aa" << true << "0+0:|1+0:|2+0:";
        QTest::newRow("empty match never splits a surrogate pair")
            << "x*" << QStringLiteral("\U0001F600") << true << "0+0:|2+0:";
        QTest::newRow("\\b sees the text before a restart") << "\\bA"
                                                            << "AA A" << true << "0+1:A|3+1:A";
    }
    void execute() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, global);
        QFETCH(QString, expected);
        regexp::RegExp re;
        re.setPattern(pattern);
        re.setGlobal(global);
        QCOMPARE(Listed(re.Execute(text)), expected);
    }

    void subMatches() {
        regexp::RegExp re;
        re.setPattern(QStringLiteral("(\\w+), (\\w*)(x)?"));
        const regexp::MatchCollection matches = re.Execute(QStringLiteral("Berg, "));
        QCOMPARE(matches.size(), 1);
        QCOMPARE(matches[0].SubMatches.size(), 3);
        QCOMPARE(matches[0].SubMatches[0], QStringLiteral("Berg"));
        QVERIFY(!matches[0].SubMatches[1].isNull());  // took part, matched nothing
        QVERIFY(matches[0].SubMatches[1].isEmpty());
        QVERIFY(matches[0].SubMatches[2].isNull());  // took no part
    }

    void replace_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("global");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("expected");

        QTest::newRow("groups swapped") << "(\\w+), (\\w+)"
                                        << "Berg, Anna" << false << "$2 $1"
                                        << "Anna Berg";
        QTest::newRow("not global: leftmost only") << "a"
                                                   << "banana" << false << "o"
                                                   << "bonana";
        QTest::newRow("global: all") << "a"
                                     << "banana" << true << "o"
                                     << "bonono";
        QTest::newRow("empty replacement removes") << "\\bJr\\.?(\\s+|$)"
                                                   << "Anna Jr. Berg" << false << ""
                                                   << "Anna Berg";
        QTest::newRow("$& $` $' $$") << "n"
                                     << "ana" << false << "[$`|$&|$'|$$]"
                                     << "a[a|n|a|$]a";
        QTest::newRow("group past the last stays as written") << "(a)"
                                                              << "a" << false << "$1$2$"
                                                              << "a$2$";
        QTest::newRow("group that took no part is empty") << "(a)|(b)"
                                                          << "b" << false << "<$1>"
                                                          << "<>";
        QTest::newRow("title removed at the end") << "\\,\\s+\\S+\\s*$"
                                                  << "Berg, Anna, Director\t" << false << ""
                                                  << "Berg, Anna";
    }
    void replace() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, global);
        QFETCH(QString, replacement);
        QFETCH(QString, expected);
        regexp::RegExp re;
        re.setPattern(pattern);
        re.setGlobal(global);
        QCOMPARE(re.Replace(text, replacement), expected);
    }

    void badPatternRaisesWhenUsed_data() {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("unclosed class") << "[abc";
        QTest::newRow("trailing backslash") << "abc\\";
        QTest::newRow("range out of order") << "[z-a]";
        QTest::newRow("unbalanced group") << "(a";
    }
    void badPatternRaisesWhenUsed() {
        QFETCH(QString, pattern);
        regexp::RegExp re;
        re.setPattern(pattern);  // does not raise by itself
        try {
            re.Test(QStringLiteral("a"));
            QFAIL("no error raised");
        } catch (const regexp::RegExpError& e) {
            QCOMPARE(e.number(), int(regexp::kErrRegExpSyntax));
        }
    }
};

POMARET_TEST(RegExpTest)

#include "tst_RegExp.moc"
