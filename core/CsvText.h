#pragma once

#include <QString>
#include <QStringView>

// The text of a comma-separated file as the list screens write it: every field in double quotes
// (inner quotes doubled), fields joined by commas, each line ended by CR LF. No files and no widgets:
// the export, its tests and the fuzzer share it.
namespace core::csv {

// One field between double quotes, each inner double quote doubled.
void AppendField(QString& out, QStringView text);

// One line of `fields` fields, `cell(c)` giving field c's text.
template <typename Cell>
void AppendLine(QString& out, int fields, Cell cell) {
    for (int c = 0; c < fields; ++c) {
        if (c > 0) out += QLatin1Char(',');
        AppendField(out, cell(c));
    }
    out += QLatin1String("\r\n");
}

}  // namespace core::csv
