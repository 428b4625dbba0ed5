#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <utility>

#include "platform/db/Recordset.h"
#include "platform/db/TableDef.h"

namespace db {

class Database;

struct Recordset::Impl {
    enum class EditMode { None, Add, Edit };

    static std::unique_ptr<Impl> openTable(Database& db, const TableDef& def);
    static std::unique_ptr<Impl> openQuery(Database& db, const QString& sql, const QVariantList& params);

    // Weak: a recordset may outlive its database (a dialog left open while the file is replaced).
    std::weak_ptr<Database> handle;
    // The database, or kErrNotOpen once it was closed or destroyed.
    Database& db() const;
    bool isTable = false;
    std::optional<TableDef> table;  // the table written to; none for a read-only query
    QStringList columns;

    // Query recordsets: every row, with its rowid when the query reads one table.
    QList<QVariantList> rows;
    QList<qint64> rowids;
    int pos = 0;
    bool afterDelete = false;

    // Table recordsets: the current row only.
    QString indexName;
    QStringList indexFields;
    bool hasCurrent = false;
    bool atEnd = false;    // moved past the last row
    bool atStart = false;  // moved before the first row
    qint64 currentRowid = 0;
    QVariantList current;
    bool noMatch = false;

    EditMode mode = EditMode::None;
    QList<std::pair<QString, QVariant>> assigned;  // column (as the table spells it), storage value
    qint64 lastAdded = 0;

    // Helpers shared by both kinds.
    const QVariantList* currentRow() const;
    qint64 currentRowidOrThrow() const;
    int columnIndex(const QString& name) const;
    const Field& tableField(const QString& name) const;
    QVariant storageValue(const Field& f, const QVariant& v) const;
    QVariant readBack(const Field& f, const QVariant& stored) const;
    void loadTableRow(const QString& whereOrder, const QVariantList& params);
    QVariantList readRowById(qint64 rowid) const;
};

}  // namespace db
