#include "platform/db/TableDef.h"

namespace db {

const Field* TableDef::field(const QString& name) const {
    for (const Field& f : fields) {
        if (f.name.compare(name, Qt::CaseInsensitive) == 0) return &f;
    }
    return nullptr;
}

}  // namespace db
