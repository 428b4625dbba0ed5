// Shared pieces of the fuzz targets: the two ways of reading the fuzzer's bytes as text, and the
// check that stops a run with the text that broke an invariant.
#pragma once

#include <QString>
#include <bitset>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

inline QString Utf8(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The bytes as UTF-16 code units in machine order, unpaired surrogates and all: what a QString can
// hold but UTF-8 cannot carry. An odd last byte is dropped.
inline QString Utf16(const uint8_t* data, size_t size) {
    QString s(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(s.data(), data, (size / 2) * 2);
    return s;
}

// Printed with escapes, so that line breaks and unprintable characters show in the report.
inline QString Shown(const QString& text) {
    QString out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != u'\\')
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(static_cast<uint>(u), 4, 16, QLatin1Char('0'));
    }
    return out;
}

[[noreturn]] inline void Fail(const char* what, const QString& input, const QString& detail) {
    std::fprintf(stderr, "\n*** invariant broken: %s\n    input:  \"%s\"\n    detail: %s\n", what,
                 qPrintable(Shown(input)), qPrintable(detail));
    std::abort();
}

// True when every character of `part` occurs somewhere in `whole`.
inline bool CharactersFrom(const QString& part, const QString& whole) {
    static std::bitset<0x10000> seen;
    seen.reset();
    for (const QChar c : whole) seen.set(c.unicode());
    for (const QChar c : part) {
        if (!seen.test(c.unicode())) return false;
    }
    return true;
}

}  // namespace fuzz

#define FUZZ_CHECK(cond, input, detail)                      \
    do {                                                     \
        if (!(cond)) ::fuzz::Fail(#cond, (input), (detail)); \
    } while (0)
