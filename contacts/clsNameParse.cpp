#include "contacts/clsNameParse.h"

#include <array>

#include "core/Trap.h"
#include "core/modGeneral.h"

namespace {

// Fixed in the program; not the user's editable prefix and suffix lists. Order matters: the first
// entry that matches wins.
constexpr std::array<const char*, 22> kPrefixes = {
    "mr",   "mrs",   "miss", "dr",     "prof", "pvt",  "pfc", "lcpl",  "cpl", "spc", "sgt",
    "ssgt", "gysgt", "msgt", "mgysgt", "lt",   "capt", "col", "ltcol", "gen", "adm", "rdm",
};
constexpr std::array<const char*, 18> kSuffixes = {
    "md", "i",   "ii", "iid", "iii", "iv", "jr",  "sr",   "v",
    "vi", "vii", "do", "dds", "np",  "pa", "phd", "ph d", "esq",
};

// "Last, First ...": a word ending in a comma, white space, and more.
const QString kLastFirst = QStringLiteral("[^ \\f\\n\\r\\t\\v\\,]+\\,\\s+\\S+");
const QString kThreeWords = QStringLiteral("^\\S+\\s+\\S+\\s+\\S+$");
const QString kTwoWords = QStringLiteral("^\\S+\\s+\\S+$");
const QString kTitleAtEnd = QStringLiteral("\\,\\s+\\S+\\s*$");

const QString kUnableToParse = QStringLiteral("Unable To Parse");

}  // namespace

clsNameParse::clsNameParse() {
    m_objRegEx.setIgnoreCase(true);
}

void clsNameParse::ParseName(QString Name) {
    core::trap(QStringLiteral("clsNameParse.ParseName"), core::Tail::Silent, [&] {
        QString s = Name;
        s = modGeneral::TrimBlanks(fncExtractSuffix(s));
        s = modGeneral::TrimBlanks(fncExtractPrefix(s));
        s = modGeneral::TrimBlanks(fncExtractTitle(s));

        m_objRegEx.setGlobal(true);
        m_objRegEx.setPattern(kLastFirst);
        if (m_objRegEx.Test(s)) {
            subParseLastFirst(s);
            return;
        }
        m_objRegEx.setPattern(kThreeWords);
        if (m_objRegEx.Test(s)) {
            subParseFirstMiddleLast(s);
            return;
        }
        m_objRegEx.setPattern(kTwoWords);
        if (m_objRegEx.Test(s)) {
            subParseFirstLast(s);
            return;
        }
        m_blnHasError = true;
        m_strErrorMessage = kUnableToParse;
    });
}

void clsNameParse::Clear() {
    setFirstName(QString());
    setMiddleInitial(QString());
    setMiddleName(QString());
    setLastName(QString());
    setSuffix(QString());
    setPrefix(QString());
    setTitle(QString());
    m_blnHasError = false;
    m_strErrorMessage.clear();
}

void clsNameParse::setMiddleName(const QString& value) {
    m_strMiddleName = value;
    const qsizetype first =
        (value.size() >= 2 && value[0].isHighSurrogate() && value[1].isLowSurrogate()) ? 2 : 1;
    m_strMiddleInitial = value.size() > first ? value.left(first) : QString();
}

bool clsNameParse::ExtractFirstOf(std::span<const char* const> list, const QString& start, const QString& end,
                                  QString& text, QString& found) {
    m_objRegEx.setGlobal(false);
    for (const char* entry : list) {
        m_objRegEx.setPattern(start + QLatin1String(entry) + end);
        if (!m_objRegEx.Test(text)) continue;
        found = modGeneral::TrimBlanks(m_objRegEx.Execute(text).first().Value);
        text = modGeneral::TrimBlanks(m_objRegEx.Replace(text, QString()));
        return true;
    }
    return false;
}

QString clsNameParse::fncExtractSuffix(const QString& text) {
    // Anywhere in the text, as a whole word; only the first suffix of the list that occurs goes.
    QString result;
    const bool ok = core::trap(QStringLiteral("clsNameParse.fncExtractSuffix"), core::Tail::Silent, [&] {
        result = text;
        QString found;
        if (ExtractFirstOf(kSuffixes, QStringLiteral("\\b"), QStringLiteral("\\.?(\\s+|$)"), result, found))
            setSuffix(found);
    });
    return ok ? result : QString();
}

QString clsNameParse::fncExtractPrefix(const QString& text) {
    // Only at the start, and white space must follow: "mr" never takes the start of "Mrs.".
    QString result;
    const bool ok = core::trap(QStringLiteral("clsNameParse.fncExtractPrefix"), core::Tail::Silent, [&] {
        result = text;
        QString found;
        if (ExtractFirstOf(kPrefixes, QStringLiteral("^"), QStringLiteral("\\.?\\s+"), result, found))
            setPrefix(found);
    });
    return ok ? result : QString();
}

QString clsNameParse::fncExtractTitle(const QString& text) {
    // The global switch stays as the prefix step left it: off, so only the first match counts.
    QString result;
    const bool ok = core::trap(QStringLiteral("clsNameParse.fncExtractTitle"), core::Tail::Silent, [&] {
        result = text;
        const qsizetype firstComma = text.indexOf(u',');
        if (firstComma < 0) return;
        m_objRegEx.setPattern(kLastFirst);
        if (!m_objRegEx.Test(text)) return;
        if (text.indexOf(u',', firstComma + 1) < 0) return;
        if (modGeneral::TrimBlanks(text).endsWith(u',')) return;

        m_objRegEx.setPattern(kTitleAtEnd);
        const regexp::MatchCollection matches = m_objRegEx.Execute(text);
        if (matches.isEmpty()) {
            // A second comma without a one-word title after it ("Berg, Anna, Vice President"): the name
            // cannot be split, an outcome for the caller to report, not an error to log.
            result.clear();
            return;
        }
        setTitle(StripCommas(matches.first().Value));
        result = m_objRegEx.Replace(text, QString());
    });
    return ok ? result : QString();
}

void clsNameParse::subParseLastFirst(const QString& text) {
    core::trap(QStringLiteral("clsNameParse.subParseLastFirst"), core::Tail::Silent, [&] {
        // Every word up to the one holding the first comma is the last name ("van Berg", "de la Cruz");
        // of the rest the first word is the first name and all others the middle name: none is lost.
        m_objRegEx.setGlobal(true);
        m_objRegEx.setPattern(QStringLiteral("\\S+"));
        const regexp::MatchCollection runs = m_objRegEx.Execute(text);
        qsizetype i = 0;
        QStringList last;
        while (i < runs.size()) {
            const bool endsLast = runs[i].Value.contains(u',');
            last << runs[i++].Value;
            if (endsLast) break;
        }
        const auto joined = [this](const QStringList& words) {
            QStringList kept;
            for (const QString& w : words) {
                if (const QString s = StripCommas(w); !s.isEmpty()) kept << s;
            }
            return kept.join(u' ');
        };
        setLastName(joined(last));
        if (i < runs.size()) setFirstName(StripCommas(runs[i++].Value));
        if (i < runs.size()) {
            QStringList middle;
            for (; i < runs.size(); ++i) middle << runs[i].Value;
            setMiddleName(joined(middle));
        }
    });
}

void clsNameParse::subParseFirstMiddleLast(const QString& text) {
    core::trap(QStringLiteral("clsNameParse.subParseFirstMiddleLast"), core::Tail::Silent, [&] {
        const QStringList words = Words(text);
        if (words.size() > 0) setFirstName(words[0]);
        if (words.size() > 1) setMiddleName(words[1]);
        if (words.size() > 2) setLastName(words[2]);
    });
}

void clsNameParse::subParseFirstLast(const QString& text) {
    core::trap(QStringLiteral("clsNameParse.subParseFirstLast"), core::Tail::Silent, [&] {
        const QStringList words = Words(text);
        if (words.size() > 0) setFirstName(words[0]);
        if (words.size() > 1) setLastName(words[1]);
    });
}

QString clsNameParse::StripCommas(const QString& text) const {
    QString s = text;
    s.remove(u',');
    return modGeneral::TrimBlanks(s);
}

QStringList clsNameParse::Words(const QString& text) {
    m_objRegEx.setGlobal(true);
    m_objRegEx.setPattern(QStringLiteral("\\S+"));
    QStringList words;
    for (const regexp::Match& m : m_objRegEx.Execute(text)) words << StripCommas(m.Value);
    return words;
}
