// Base64Decode and Base64Encode on arbitrary text.
//
// Invariants: no error escapes; a decoded text holds only characters 0 to 255 and has the length its
// groups give; what is decoded encodes back to text that decodes to it again; any text survives
// Encode then Decode, with every character above 255 read as "?"; a wrapped encoding has lines of
// at most the wrap length and no break at its end.
#include <QStringList>

#include "FuzzCommon.h"
#include "core/modEncrypt.h"

namespace {

QString Latin1View(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() > 0xFF) c = u'?';
    }
    return out;
}

void CheckDecode(const QString& text) {
    const QString decoded = modEncrypt::Base64Decode(text);
    if (decoded.isEmpty()) return;
    FUZZ_CHECK(decoded == Latin1View(decoded), text, fuzz::Shown(decoded));

    QString groups = text;
    groups.remove(u' ').remove(u'\r').remove(u'\n');
    const qsizetype padding = groups.endsWith(QLatin1String("==")) ? 2 : groups.endsWith(u'=') ? 1 : 0;
    FUZZ_CHECK(decoded.size() == groups.size() / 4 * 3 - padding, text,
               QStringLiteral("%1 characters from %2").arg(decoded.size()).arg(groups.size()));
    FUZZ_CHECK(modEncrypt::Base64Decode(modEncrypt::Base64Encode(decoded, 0)) == decoded, text,
               fuzz::Shown(decoded));
}

void CheckRoundTrip(const QString& text, int16_t wrap) {
    const QString encoded = modEncrypt::Base64Encode(text, wrap);
    FUZZ_CHECK(modEncrypt::Base64Decode(encoded) == Latin1View(text), text, fuzz::Shown(encoded));
    if (wrap < 1 || encoded.isEmpty()) {
        FUZZ_CHECK(!encoded.contains(u'\r'), text, fuzz::Shown(encoded));
        return;
    }
    FUZZ_CHECK(!encoded.endsWith(QLatin1String("\r\n")), text, fuzz::Shown(encoded));
    for (const QString& line : encoded.split(QStringLiteral("\r\n")))
        FUZZ_CHECK(line.size() <= wrap && !line.isEmpty(), text, fuzz::Shown(encoded));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString utf8 = fuzz::Utf8(data, size);
    const QString utf16 = fuzz::Utf16(data, size);
    CheckDecode(utf8);
    CheckDecode(utf16);
    // The first byte also picks a wrap length, blanks and negatives included.
    const int16_t wrap = size > 0 ? static_cast<int8_t>(data[0]) : 0;
    CheckRoundTrip(utf8, wrap);
    CheckRoundTrip(utf16, wrap);
    return 0;
}
