// The personal-name parser (clsNameParse) on arbitrary text.
//
// Invariants: no error escapes a parser step (FuzzTrap aborts on one); every part holds only
// characters of the typed name; first, middle and last name are single words without commas; the
// title holds no comma; the middle initial is the start of the middle name; a name that does not
// parse says so with the parser's one message.
#include <QStringList>

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

void Check(const QString& name) {
    clsNameParse p;
    p.ParseName(name);
    const QStringList parts{p.Prefix(),   p.Suffix(),        p.FirstName(), p.MiddleName(),
                            p.LastName(), p.MiddleInitial(), p.Title()};
    for (const QString& part : parts)
        FUZZ_CHECK(fuzz::CharactersFrom(part, name), name,
                   QStringLiteral("part \"%1\"").arg(fuzz::Shown(part)));
    for (const QString& word : {p.FirstName(), p.MiddleName(), p.LastName()})
        FUZZ_CHECK(OneWord(word), name, QStringLiteral("name word \"%1\"").arg(fuzz::Shown(word)));
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
