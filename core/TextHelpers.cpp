// The purely textual helpers of modGeneral: no widget, no database, so that they link on their own
// (the name parser's fuzz target builds them without the rest of the program).
#include "core/modGeneral.h"

namespace modGeneral {

QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ') ++first;
    while (last > first && text.at(last - 1) == u' ') --last;
    return text.mid(first, last - first);
}

}  // namespace modGeneral
