// The personal-name parser (clsNameParse) on arbitrary text.
//
// Invariants: no error escapes a parser step (FuzzTrap aborts on one); every part is made of the
// typed name's characters, in the order typed; the first name is a single word, middle and last
// names are words joined by single blanks (whatever white space parted them when typed), none with
// commas; the title holds no comma; the middle initial is the start of the middle name; a name that
// does not parse says so with the parser's one message; a name that parses loses no word: every
// character of it but white space and commas is in exactly one part.
#include <QStringList>
#include <algorithm>

#include "FuzzCommon.h"
#include "contacts/clsNameParse.h"

namespace {

const QString kWhite = QStringLiteral(" \f\n\r\t\v");

bool OneWord(const QString& part) {
    for (const QChar c : part) {
        if (kWhite.contains(c) || c == u',') return false;
    }
    return true;
}

bool Words(const QString& part) {
    if (part.startsWith(u' ') || part.endsWith(u' ') || part.contains(QLatin1String("  "))) return false;
    return OneWord(QString(part).remove(u' '));
}

// True when the characters of `part`, the blanks that join its words left out, stand in `whole` in
// the same order (the parser only drops text, it never moves or makes any).
bool InOrderFrom(const QString& part, const QString& whole) {
    qsizetype at = 0;
    for (const QChar c : part) {
        if (c == u' ') continue;
        at = whole.indexOf(c, at);
        if (at < 0) return false;
        ++at;
    }
    return true;
}

// The characters of the texts but white space and commas, in order of code unit.
QString Kept(const QStringList& texts) {
    QString out;
    for (const QString& t : texts) {
        for (const QChar c : t) {
            if (!kWhite.contains(c) && c != u',') out += c;
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

void Check(const QString& name) {
    clsNameParse p;
    p.ParseName(name);
    const QStringList parts{p.Prefix(),   p.Suffix(),        p.FirstName(), p.MiddleName(),
                            p.LastName(), p.MiddleInitial(), p.Title()};
    for (const QString& part : parts)
        FUZZ_CHECK(InOrderFrom(part, name), name, QStringLiteral("part \"%1\"").arg(fuzz::Shown(part)));
    // Only the several-word parts may hold a blank the name did not: the one joining two words.
    for (const QString& part : {p.Prefix(), p.Suffix(), p.FirstName(), p.MiddleInitial(), p.Title()})
        FUZZ_CHECK(fuzz::CharactersFrom(part, name), name,
                   QStringLiteral("part \"%1\"").arg(fuzz::Shown(part)));
    FUZZ_CHECK(OneWord(p.FirstName()), name,
               QStringLiteral("first name \"%1\"").arg(fuzz::Shown(p.FirstName())));
    for (const QString& words : {p.MiddleName(), p.LastName()})
        FUZZ_CHECK(Words(words), name, QStringLiteral("name words \"%1\"").arg(fuzz::Shown(words)));
    if (!p.HasError()) {
        const QString kept =
            Kept({p.Prefix(), p.Suffix(), p.FirstName(), p.MiddleName(), p.LastName(), p.Title()});
        FUZZ_CHECK(kept == Kept({name}), name, QStringLiteral("parts keep \"%1\"").arg(fuzz::Shown(kept)));
    }
    FUZZ_CHECK(!p.Title().contains(u','), name, fuzz::Shown(p.Title()));
    FUZZ_CHECK(p.MiddleName().startsWith(p.MiddleInitial()), name,
               QStringLiteral("initial \"%1\" of \"%2\"")
                   .arg(fuzz::Shown(p.MiddleInitial()), fuzz::Shown(p.MiddleName())));
    FUZZ_CHECK(p.HasError() == !p.ErrorMessage().isEmpty(), name, p.ErrorMessage());
    if (p.HasError())
        FUZZ_CHECK(p.ErrorMessage() == QLatin1String("Unable To Parse"), name, p.ErrorMessage());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(fuzz::Utf8(data, size));
    Check(fuzz::Utf16(data, size));
    return 0;
}
