#include "platform/regexp/RegExp.h"

#include <optional>

namespace regexp {

namespace {

// Members of the classic character sets, written out so that PCRE's own idea of them (which
// changes with its Unicode switches) never enters.
const QString kSpaceMembers = QStringLiteral("\\x{20}\\x{0C}\\x{0A}\\x{0D}\\x{09}\\x{0B}");
const QString kWordMembers = QStringLiteral("\\p{L}0-9_");
const QString kDigitMembers = QStringLiteral("0-9");
const QString kLineEndMembers = QStringLiteral("\\x{0A}\\x{0D}\\x{2028}\\x{2029}");

QString Set(const QString& members) {
    return QLatin1Char('[') + members + QLatin1Char(']');
}
QString NotSet(const QString& members) {
    return QStringLiteral("[^") + members + QLatin1Char(']');
}

const QString kWord = Set(kWordMembers);
// Lookbehind sees the text before a search offset, so a global search restarting in the middle of
// a word finds no boundary there.
const QString kBoundary = QStringLiteral("(?:(?<=%1)(?!%1)|(?<!%1)(?=%1))").arg(kWord);
const QString kNonBoundary = QStringLiteral("(?:(?<=%1)(?=%1)|(?<!%1)(?!%1))").arg(kWord);
const QString kNothing = QStringLiteral("(?!)");
const QString kAnything = QStringLiteral("(?s:.)");

[[noreturn]] void SyntaxError(const QString& detail) {
    throw RegExpError(kErrRegExpSyntax,
                      QStringLiteral("Syntax error in regular expression (") + detail + QLatin1Char(')'));
}

QString Literal(char32_t cp) {
    return QStringLiteral("\\x{%1}").arg(static_cast<uint>(cp), 0, 16);
}

int HexValue(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    return -1;
}
bool IsOctal(QChar c) {
    return c >= u'0' && c <= u'7';
}
bool IsAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

enum class SetKind { None, Space, NotSpace, Word, NotWord, Digit, NotDigit };

SetKind SetOf(QChar c) {
    switch (c.unicode()) {
        case u's':
            return SetKind::Space;
        case u'S':
            return SetKind::NotSpace;
        case u'w':
            return SetKind::Word;
        case u'W':
            return SetKind::NotWord;
        case u'd':
            return SetKind::Digit;
        case u'D':
            return SetKind::NotDigit;
        default:
            return SetKind::None;
    }
}

const QString& MembersOf(SetKind kind) {
    switch (kind) {
        case SetKind::Space:
        case SetKind::NotSpace:
            return kSpaceMembers;
        case SetKind::Word:
        case SetKind::NotWord:
            return kWordMembers;
        default:
            return kDigitMembers;
    }
}

bool IsComplement(SetKind kind) {
    return kind == SetKind::NotSpace || kind == SetKind::NotWord || kind == SetKind::NotDigit;
}

// One item of a character class: a character or one of the escape sets.
struct Atom {
    SetKind set = SetKind::None;
    char32_t cp = 0;
};

class Translator {
public:
    explicit Translator(const QString& pattern) : p(pattern), n(pattern.size()) {}

    QString Run() {
        while (i < n) {
            const QChar c = p[i];
            if (c == u'\\') {
                ++i;
                if (i >= n) SyntaxError(QStringLiteral("\\ at end of pattern"));
                Escape();
            } else if (c == u'[') {
                ++i;
                Class();
            } else if (c == u'.') {
                out += NotSet(kLineEndMembers);
                ++i;
            } else if (c == u'$') {
                out += QStringLiteral("\\z");
                ++i;
            } else {
                out += c;
                ++i;
            }
        }
        return out;
    }

private:
    char32_t CodePoint() {
        const QChar c = p[i++];
        if (c.isHighSurrogate() && i < n && p[i].isLowSurrogate()) return QChar::surrogateToUcs4(c, p[i++]);
        return c.unicode();
    }

    // A hex number of exactly `digits` digits at i, or nothing (then i is unchanged).
    std::optional<char32_t> Hex(int digits) {
        if (i + digits > n) return std::nullopt;
        char32_t value = 0;
        for (int k = 0; k < digits; ++k) {
            const int digit = HexValue(p[i + k]);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<char32_t>(digit);
        }
        i += digits;
        return value;
    }

    // Up to three octal digits, at most 0377 (the older engines' octal escape).
    char32_t Octal() {
        char32_t value = 0;
        int digits = 0;
        while (i < n && IsOctal(p[i]) && digits < 3) {
            const char32_t next = value * 8 + (p[i].unicode() - u'0');
            if (next > 0377) break;
            value = next;
            ++i;
            ++digits;
        }
        return value;
    }

    // A character escape; i is on the character after the backslash.
    char32_t CharEscape(bool inClass) {
        const QChar e = p[i];
        switch (e.unicode()) {
            case u'f':
                ++i;
                return 0x0C;
            case u'n':
                ++i;
                return 0x0A;
            case u'r':
                ++i;
                return 0x0D;
            case u't':
                ++i;
                return 0x09;
            case u'v':
                ++i;
                return 0x0B;
            case u'b':
                if (inClass) {
                    ++i;
                    return 0x08;
                }
                break;
            case u'x':
                ++i;
                if (auto v = Hex(2)) return *v;
                return u'x';
            case u'u':
                ++i;
                if (auto v = Hex(4)) return *v;
                return u'u';
            case u'c':
                if (i + 1 < n && IsAsciiLetter(p[i + 1])) {
                    i += 2;
                    return p[i - 1].unicode() % 32;
                }
                return u'\\';  // a backslash of its own; the c is read next as itself
            default:
                break;
        }
        if (IsOctal(e) && (inClass || e == u'0')) return Octal();
        return CodePoint();
    }

    void Escape() {
        const QChar e = p[i];
        if (const SetKind set = SetOf(e); set != SetKind::None) {
            out += IsComplement(set) ? NotSet(MembersOf(set)) : Set(MembersOf(set));
            ++i;
        } else if (e == u'b' || e == u'B') {
            out += e == u'b' ? kBoundary : kNonBoundary;
            ++i;
        } else if (e >= u'1' && e <= u'9') {
            // A back-reference, all its digits.
            out += QLatin1Char('\\');
            while (i < n && p[i] >= u'0' && p[i] <= u'9') out += p[i++];
        } else {
            out += Literal(CharEscape(false));
        }
    }

    Atom ClassAtom() {
        if (p[i] != u'\\') return Atom{SetKind::None, CodePoint()};
        ++i;
        if (i >= n) SyntaxError(QStringLiteral("\\ at end of pattern"));
        if (const SetKind set = SetOf(p[i]); set != SetKind::None) {
            ++i;
            return Atom{set, 0};
        }
        return Atom{SetKind::None, CharEscape(true)};
    }

    void Class() {
        bool negate = false;
        if (i < n && p[i] == u'^') {
            negate = true;
            ++i;
        }
        QString members;
        QStringList complements;  // members of \S, \W, \D: the class holds what these leave out
        auto addSet = [&](SetKind set) {
            if (IsComplement(set))
                complements << MembersOf(set);
            else
                members += MembersOf(set);
        };
        for (;;) {
            if (i >= n) SyntaxError(QStringLiteral("missing ]"));
            if (p[i] == u']') {
                ++i;
                break;
            }
            const Atom a = ClassAtom();
            if (a.set != SetKind::None) {
                addSet(a.set);
                continue;
            }
            if (i + 1 < n && p[i] == u'-' && p[i + 1] != u']') {
                ++i;
                const Atom b = ClassAtom();
                if (b.set != SetKind::None) {  // "a-\d": both stand for themselves, the hyphen too
                    members += Literal(a.cp) + Literal(u'-');
                    addSet(b.set);
                } else {
                    if (b.cp < a.cp) SyntaxError(QStringLiteral("range out of order in character class"));
                    members += Literal(a.cp) + QLatin1Char('-') + Literal(b.cp);
                }
                continue;
            }
            members += Literal(a.cp);
        }

        if (!negate) {
            if (complements.isEmpty()) {
                out += members.isEmpty() ? kNothing : Set(members);
                return;
            }
            QStringList alternatives;
            if (!members.isEmpty()) alternatives << Set(members);
            for (const QString& c : complements) alternatives << NotSet(c);
            out += QStringLiteral("(?:") + alternatives.join(QLatin1Char('|')) + QLatin1Char(')');
            return;
        }
        if (complements.isEmpty()) {
            out += members.isEmpty() ? kAnything : NotSet(members);
            return;
        }
        // Not a member, and inside every set that a complement leaves out.
        QString s = QStringLiteral("(?:");
        if (!members.isEmpty()) s += QStringLiteral("(?!") + Set(members) + QLatin1Char(')');
        for (qsizetype k = 0; k + 1 < complements.size(); ++k)
            s += QStringLiteral("(?=") + Set(complements[k]) + QLatin1Char(')');
        s += Set(complements.last()) + QLatin1Char(')');
        out += s;
    }

    const QString& p;
    const qsizetype n;
    qsizetype i = 0;
    QString out;
};

}  // namespace

QString RegExp::Translate(const QString& pattern) {
    return Translator(pattern).Run();
}

void RegExp::setPattern(const QString& pattern) {
    m_pattern = pattern;
    m_dirty = true;
}

void RegExp::setIgnoreCase(bool on) {
    m_ignoreCase = on;
    m_dirty = true;
}

const QRegularExpression& RegExp::Compiled() const {
    if (m_dirty) {
        QRegularExpression re(Translate(m_pattern), m_ignoreCase ? QRegularExpression::CaseInsensitiveOption
                                                                 : QRegularExpression::NoPatternOption);
        if (!re.isValid()) SyntaxError(re.errorString());
        m_compiled = re;
        m_dirty = false;
    }
    return m_compiled;
}

MatchCollection RegExp::Matches(const QString& text, bool all) const {
    const QRegularExpression& re = Compiled();
    const int groups = re.captureCount();
    MatchCollection result;
    qsizetype pos = 0;
    while (pos <= text.size()) {
        const QRegularExpressionMatch m = re.match(text, pos);
        if (!m.hasMatch()) break;
        Match one;
        one.FirstIndex = static_cast<int>(m.capturedStart(0));
        one.Length = static_cast<int>(m.capturedLength(0));
        one.Value = m.captured(0);
        for (int g = 1; g <= groups; ++g) {
            if (m.capturedStart(g) < 0)
                one.SubMatches << QString();
            else
                one.SubMatches << (m.capturedLength(g) == 0 ? QStringLiteral("") : m.captured(g));
        }
        result << one;
        if (!all) break;
        qsizetype next = m.capturedEnd(0);
        if (one.Length == 0) {
            // Step over the empty match, never into the middle of a surrogate pair.
            ++next;
            if (next < text.size() && text[next].isLowSurrogate() && text[next - 1].isHighSurrogate()) ++next;
        }
        pos = next;
    }
    return result;
}

bool RegExp::Test(const QString& text) const {
    return Compiled().match(text).hasMatch();
}

MatchCollection RegExp::Execute(const QString& text) const {
    return Matches(text, m_global);
}

QString RegExp::Replace(const QString& text, const QString& replacement) const {
    const MatchCollection matches = Matches(text, m_global);
    QString result;
    qsizetype last = 0;
    for (const Match& m : matches) {
        result += QStringView(text).mid(last, m.FirstIndex - last);
        for (qsizetype k = 0; k < replacement.size(); ++k) {
            const QChar c = replacement[k];
            if (c != u'$' || k + 1 >= replacement.size()) {
                result += c;
                continue;
            }
            const QChar d = replacement[k + 1];
            if (d == u'$') {
                result += u'$';
            } else if (d == u'&') {
                result += m.Value;
            } else if (d == u'`') {
                result += QStringView(text).left(m.FirstIndex);
            } else if (d == u'\'') {
                result += QStringView(text).mid(m.FirstIndex + m.Length);
            } else if (d >= u'1' && d <= u'9' && d.unicode() - u'0' <= m.SubMatches.size()) {
                result += m.SubMatches[d.unicode() - u'1'];
            } else {
                result += c;
                continue;
            }
            ++k;
        }
        last = m.FirstIndex + m.Length;
    }
    result += QStringView(text).mid(last);
    return result;
}

}  // namespace regexp
