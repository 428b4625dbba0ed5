#include "contacts/dialogs/GroupMatch.h"

#include <QStringTokenizer>

namespace contacts {

bool InGroup(QStringView groups, QStringView name) {
    for (const QStringView part : groups.tokenize(u',')) {
        if (part == name) return true;
    }
    return false;
}

}  // namespace contacts
