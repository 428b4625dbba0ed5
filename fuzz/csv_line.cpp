// The list export's CSV text (core::csv::AppendLine) for any rows of any texts, read back by a strict
// RFC 4180 reader of its own.
//
// Invariants: the file reads back, as UTF-8, into exactly the rows and fields written (a text that
// UTF-8 cannot carry as it is, an unpaired surrogate, as UTF-8 writes it); every field is quoted,
// every line ends in CR LF, every line has as many fields as the header.
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

#include "FuzzCommon.h"
#include "core/CsvText.h"

namespace {

using Rows = std::vector<QStringList>;

// RFC 4180 with every field quoted: '"' text '"' with inner quotes doubled, fields separated by
// ',', each record ended by CR LF. Anything else is no file of ours. The fields are UTF-8.
std::optional<Rows> ReadStrict(const QByteArray& bytes, QString& why) {
    Rows rows;
    QStringList record;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        if (bytes[i] != '"') {
            why = QStringLiteral("no opening quote at %1").arg(i);
            return std::nullopt;
        }
        ++i;
        QByteArray field;
        for (;;) {
            if (i >= n) {
                why = QStringLiteral("unclosed quote");
                return std::nullopt;
            }
            if (bytes[i] == '"') {
                if (i + 1 < n && bytes[i + 1] == '"') {
                    field += '"';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            field += bytes[i++];
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(field);
        if (utf8.hasError()) {
            why = QStringLiteral("a field is not UTF-8");
            return std::nullopt;
        }
        record << text;
        if (i < n && bytes[i] == ',') {
            ++i;
            if (i >= n) {
                why = QStringLiteral("the file ends after a comma");
                return std::nullopt;
            }
        } else if (i + 1 < n && bytes[i] == '\r' && bytes[i + 1] == '\n') {
            i += 2;
            rows.push_back(record);
            record.clear();
        } else {
            why = QStringLiteral("no comma or CR LF after a field at %1").arg(i);
            return std::nullopt;
        }
    }
    if (!record.isEmpty()) {
        why = QStringLiteral("the last line has no CR LF");
        return std::nullopt;
    }
    return rows;
}

// The fuzzer's bytes as rows: 0x1E ends a row, 0x1F a field; the first row is the header. Odd
// inputs hold their texts as UTF-16 (unpaired surrogates included), even ones as UTF-8.
Rows Parse(const uint8_t* data, size_t size) {
    const bool utf16 = size % 2 == 1;
    const QString text = utf16 ? fuzz::Utf16(data, size) : fuzz::Utf8(data, size);
    Rows rows;
    for (const QStringView line : QStringView(text).tokenize(u'\x1e')) {
        QStringList fields;
        for (const QStringView field : line.tokenize(u'\x1f')) fields << field.toString();
        rows.push_back(fields);
    }
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Rows rows = Parse(data, size);
    // As the export writes them: the header's count of fields on every line, missing cells empty,
    // cells beyond the header left out.
    const int fields = static_cast<int>(std::max<qsizetype>(rows.front().size(), 1));
    QString text;
    for (const QStringList& row : rows)
        core::csv::AppendLine(text, fields, [&](int c) { return c < row.size() ? row[c] : QString(); });
    const QByteArray bytes = text.toUtf8();

    QString input;
    for (const QStringList& row : rows) input += row.join(u'\x1f') + QLatin1Char('\x1e');
    QString why;
    const std::optional<Rows> read = ReadStrict(bytes, why);
    FUZZ_CHECK(read.has_value(), input, why);
    FUZZ_CHECK(read->size() == rows.size(), input, QStringLiteral("%1 lines read").arg(read->size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const QStringList& got = (*read)[r];
        FUZZ_CHECK(got.size() == fields, input, QStringLiteral("line %1 has %2 fields").arg(r).arg(got.size()));
        for (int c = 0; c < fields; ++c) {
            const QString written = c < rows[r].size() ? rows[r][c] : QString();
            const QString expected = QString::fromUtf8(written.toUtf8());
            FUZZ_CHECK(got[c] == expected, input,
                       QStringLiteral("line %1 field %2: \"%3\"").arg(r).arg(c).arg(fuzz::Shown(got[c])));
        }
    }
    return 0;
}
