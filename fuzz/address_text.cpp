// The address rule (frmContEntry::ParseStrAddr) on arbitrary text.
//
// Invariants: no error escapes; every part holds only characters of the text; no part spans a line
// break; state and code are single words; the city stops before the first ", " of its line.
#include "FuzzCommon.h"
#include "contacts/frmContEntry.h"

namespace {

void Check(const QString& text) {
    const frmContEntry::AddressParts a = frmContEntry::ParseStrAddr(text);
    for (const QString* part : {&a.Street, &a.City, &a.State, &a.Zip, &a.Country}) {
        FUZZ_CHECK(fuzz::CharactersFrom(*part, text), text, fuzz::Shown(*part));
        FUZZ_CHECK(!part->contains(u'\n'), text, fuzz::Shown(*part));
    }
    for (const QString* word : {&a.State, &a.Zip})
        FUZZ_CHECK(!word->contains(u' ') && !word->contains(QLatin1String(", ")), text, fuzz::Shown(*word));
    FUZZ_CHECK(!a.City.contains(QLatin1String(", ")), text, fuzz::Shown(a.City));
    // Nothing below the street without a second line.
    if (!text.contains(u'\n')) FUZZ_CHECK(a.City.isEmpty() && a.Country.isEmpty(), text, fuzz::Shown(a.City));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(fuzz::Utf8(data, size));
    Check(fuzz::Utf16(data, size));
    return 0;
}
