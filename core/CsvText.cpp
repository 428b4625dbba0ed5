#include "core/CsvText.h"

namespace core::csv {

// Appended in pieces, with no copy of the text.
void AppendField(QString& out, QStringView text) {
    out += QLatin1Char('"');
    qsizetype from = 0;
    for (qsizetype quote = text.indexOf(u'"'); quote >= 0; quote = text.indexOf(u'"', from)) {
        out += text.mid(from, quote + 1 - from);
        out += QLatin1Char('"');
        from = quote + 1;
    }
    out += text.mid(from);
    out += QLatin1Char('"');
}

}  // namespace core::csv
