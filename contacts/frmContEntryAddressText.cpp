// The address rule on its own: it reads nothing but the text, so the fuzz target builds this file
// without the editor's widgets or the database.
#include <QStringList>

#include "contacts/frmContEntry.h"
#include "core/Trap.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

}  // namespace

frmContEntry::AddressParts frmContEntry::ParseStrAddr(const QString& text) {
    AddressParts parts;
    core::trap(QStringLiteral("frmContEntry.ParseStrAddr"), core::Tail::Silent, [&] {
        // Boxes give LF, stored texts CR LF; an underscore is just a character.
        const QStringList lines = QString(text).replace(kCrLf, QStringLiteral("\n")).split(QLatin1Char('\n'));
        parts.Street = lines.at(0);
        if (lines.size() > 2) parts.Country = lines.at(2);
        if (lines.size() < 2) return;  // one line: only the street

        const QString& cityLine = lines.at(1);
        const qsizetype comma = cityLine.indexOf(QStringLiteral(", "));
        if (comma >= 0) {
            // "City, State Zip": state and code are what follows the comma, so that an address shown
            // without a city (", IL 62701") or without a state ("New York, ") is saved as it was. A
            // further ", " parts words as a blank does ("Springfield, IL, 62704").
            parts.City = cityLine.left(comma);
            const QStringList words = cityLine.mid(comma + 2)
                                          .replace(QStringLiteral(", "), QStringLiteral(" "))
                                          .split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (words.size() >= 2) {
                parts.State = words.at(words.size() - 2);
                parts.Zip = words.last();
            } else if (words.size() == 1) {
                parts.State = words.at(0);
            }
            return;
        }
        // Without a comma, state and code are taken from the end of the line, so that a city of any
        // length leaves them in place, and the city is what stands before them: no word is stored
        // twice.
        const QStringList words = cityLine.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        qsizetype taken = 0;
        if (words.size() >= 3) {
            parts.State = words.at(words.size() - 2);
            parts.Zip = words.last();
            taken = 2;
        } else if (words.size() == 2) {
            parts.State = words.at(1);
            taken = 1;
        }
        // The line's own text before the words taken and the blanks around them.
        const auto blank = [&](qsizetype at) { return cityLine.at(at) == QLatin1Char(' '); };
        qsizetype cityEnd = cityLine.size();
        for (qsizetype i = 0; i < taken; ++i) {
            while (cityEnd > 0 && blank(cityEnd - 1)) --cityEnd;
            while (cityEnd > 0 && !blank(cityEnd - 1)) --cityEnd;
            while (cityEnd > 0 && blank(cityEnd - 1)) --cityEnd;
        }
        parts.City = cityLine.left(cityEnd);
    });
    return parts;
}
