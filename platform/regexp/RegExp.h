#pragma once

#include "platform/Error.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <stdexcept>

// The regular-expression object the name parser is written against: a pattern in the classic
// scripting (ECMAScript) syntax with ignore-case and global switches, and test, execute and replace.
//
// Patterns are translated for PCRE so that these mean exactly what the classic syntax says, wherever
// they stand (inside character classes too):
//   \s   one of blank, form feed, line feed, carriage return, tab, vertical tab (nothing else: no
//        no-break space, no Unicode separators); \S any other character
//   \w   a word character: a letter of any script, 0-9 or underscore; \W any other; \d 0-9, \D others
//   \b   between a word character and a non-word character or either end of the text; \B elsewhere
//   $    the very end of the text only (never before a final line feed)
//   .    any character but line feed, carriage return, U+2028 and U+2029
//   \v   the vertical tab only; \xHH, \uHHHH, \cX, \0 as written; in a class \b is the backspace
//   \1.. a back-reference (in a class: an octal character)
//   \X   for any other X: X itself
// Indexes and lengths count UTF-16 code units, as QString does.
namespace regexp {

enum RegExpErrorNumber : int {
    kErrRegExpSyntax = 5017,  // the pattern is not a valid regular expression
};

class RegExpError : public platform::Error {
public:
    using platform::Error::Error;
};

struct Match {
    int FirstIndex = 0;  // where the match starts, 0 for the first character
    int Length = 0;
    QString Value;
    // The capturing groups in order; a null QString for a group that took no part in the match.
    QStringList SubMatches;
};
using MatchCollection = QList<Match>;

class RegExp {
public:
    RegExp() = default;

    QString Pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    bool IgnoreCase() const { return m_ignoreCase; }
    void setIgnoreCase(bool on);
    // Off: Execute and Replace work on the leftmost match only; on: on all matches.
    bool Global() const { return m_global; }
    void setGlobal(bool on) { m_global = on; }

    // A pattern that is not valid raises RegExpError here, when it is first used.
    bool Test(const QString& text) const;
    // Matches from left to right. After an empty match the search goes on one character further.
    MatchCollection Execute(const QString& text) const;
    // In `replacement`: $1..$9 the group's text ("" when it took no part; "$n" as it stands when
    // the pattern has fewer groups), $& the match, $` the text before it, $' the text after it,
    // $$ a dollar sign; any other $ stands for itself.
    QString Replace(const QString& text, const QString& replacement) const;

    // The pattern as PCRE receives it. Raises RegExpError for a pattern the classic syntax refuses.
    static QString Translate(const QString& pattern);

private:
    const QRegularExpression& Compiled() const;
    MatchCollection Matches(const QString& text, bool all) const;

    QString m_pattern;
    bool m_ignoreCase = false;
    bool m_global = false;
    mutable QRegularExpression m_compiled;
    mutable bool m_dirty = true;
};

}  // namespace regexp
