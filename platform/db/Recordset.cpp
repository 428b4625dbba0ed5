#include "platform/db/Recordset.h"

#include <climits>
#include <cmath>
#include <limits>

#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/db/RecordsetImpl.h"
#include "platform/db/SqlDialect.h"
#include "platform/db/Values.h"

namespace db {
namespace {

const QString kRowidColumn = QStringLiteral("__rowid__");

QString quoteId(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

DbError noCurrentRecord() { return DbError(kErrNoCurrentRecord, QStringLiteral("No current record.")); }

DbError notOpen() { return DbError(kErrNotOpen, QStringLiteral("The recordset is not open.")); }

DbError databaseNotOpen() {
    return DbError(kErrNotOpen, QStringLiteral("The database is not open."));
}

// Every use of a recordset starts here: closed itself, or its database closed, it is not open.
void requireOpen(const std::unique_ptr<Recordset::Impl>& d) {
    if (!d) throw notOpen();
    if (d->handle.expired()) throw databaseNotOpen();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Impl

std::unique_ptr<Recordset::Impl> Recordset::Impl::openTable(Database& db, const TableDef& def) {
    auto d = std::make_unique<Impl>();
    d->handle = db.Handle();
    d->isTable = true;
    d->table = def;
    d->columns << kRowidColumn;
    for (const Field& f : def.fields) d->columns << f.name;
    d->loadTableRow(QStringLiteral("ORDER BY rowid LIMIT 1"), {});
    return d;
}

std::unique_ptr<Recordset::Impl> Recordset::Impl::openQuery(Database& db, const QString& sql,
                                                            const QVariantList& params) {
    auto d = std::make_unique<Impl>();
    d->handle = db.Handle();
    const SqlDialect::Translation& t = SqlDialect::translate(sql);
    const bool updatable = !t.table.isEmpty();
    const QString table = t.table;
    const QString text = updatable ? t.sqlWithRowid : t.sql;
    Database::Rows r = db.Query(text, params);
    if (updatable) {
        d->table = db.Table(table);
        r.columns.removeFirst();
        for (QVariantList& row : r.rows) d->rowids << row.takeFirst().toLongLong();
    }
    d->columns = r.columns;
    d->rows = std::move(r.rows);
    return d;
}

Database& Recordset::Impl::db() const {
    const std::shared_ptr<Database> database = handle.lock();
    if (!database) throw databaseNotOpen();
    return *database;  // the handle owns nothing: the database lives on without it
}

const QVariantList* Recordset::Impl::currentRow() const {
    if (isTable) return hasCurrent ? &current : nullptr;
    if (afterDelete || pos < 0 || pos >= rows.size()) return nullptr;
    return &rows.at(pos);
}

qint64 Recordset::Impl::currentRowidOrThrow() const {
    if (!currentRow()) throw noCurrentRecord();
    return isTable ? currentRowid : rowids.at(pos);
}

int Recordset::Impl::columnIndex(const QString& name) const {
    for (int i = isTable ? 1 : 0; i < columns.size(); ++i) {
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

const Field& Recordset::Impl::tableField(const QString& name) const {
    if (!table) {
        throw DbError(kErrNotUpdatable, QStringLiteral("This recordset cannot be updated."));
    }
    const Field* f = table->field(name);
    if (!f) {
        throw DbError(kErrUnknownField,
                      QStringLiteral("Table '%1' has no field named '%2'.").arg(table->name, name));
    }
    return *f;
}

QVariant Recordset::Impl::storageValue(const Field& f, const QVariant& v) const {
    if (v.isNull()) return QVariant();
    const auto bad = [&] {
        return DbError(kErrBadValue, QStringLiteral("'%1' is not a valid value for field '%2'.")
                                         .arg(v.toString(), f.name));
    };
    switch (f.type) {
        case FieldType::Text:
        case FieldType::Memo: {
            QString s = v.typeId() == QMetaType::Bool ? (v.toBool() ? QStringLiteral("True")
                                                                    : QStringLiteral("False"))
                                                      : v.toString();
            if (f.type == FieldType::Text && f.size > 0 && s.size() > f.size) {
                throw DbError(kErrFieldTooLong,
                              QStringLiteral("The text for field '%1' is %2 characters long; the field "
                                             "holds at most %3.")
                                  .arg(f.name)
                                  .arg(s.size())
                                  .arg(f.size));
            }
            return s;
        }
        case FieldType::Long:
        case FieldType::AutoNumber: {
            switch (v.typeId()) {
                case QMetaType::Bool:
                    return v.toBool() ? -1 : 0;
                case QMetaType::Double:
                case QMetaType::Float: {
                    const double x = v.toDouble();
                    if (!std::isfinite(x)) throw bad();
                    return static_cast<qint64>(std::nearbyint(x));
                }
                case QMetaType::QString: {
                    bool ok = false;
                    const qint64 n = v.toString().trimmed().toLongLong(&ok);
                    if (!ok) throw bad();
                    return n;
                }
                default: {
                    bool ok = false;
                    const qint64 n = v.toLongLong(&ok);
                    if (!ok) throw bad();
                    return n;
                }
            }
        }
        case FieldType::YesNo:
            if (v.typeId() == QMetaType::QString) {
                const QString s = v.toString().trimmed().toLower();
                if (s == QLatin1String("true") || s == QLatin1String("yes") || s == QLatin1String("on")) return -1;
                if (s == QLatin1String("false") || s == QLatin1String("no") || s == QLatin1String("off")) return 0;
                bool ok = false;
                const double n = s.toDouble(&ok);
                if (!ok) throw bad();
                return n != 0 ? -1 : 0;
            }
            return v.toBool() ? -1 : 0;
        case FieldType::DateTime: {
            switch (v.typeId()) {
                case QMetaType::QDate:
                case QMetaType::QTime:
                case QMetaType::QDateTime:
                    if (!v.toDateTime().isValid() && !v.toDate().isValid() && !v.toTime().isValid()) throw bad();
                    return values::toStorage(v);
                default: {
                    const auto parsed = values::parseDateTime(v.toString());
                    if (!parsed) throw bad();
                    return values::toStorage(*parsed);
                }
            }
        }
        case FieldType::Double: {
            bool ok = false;
            const double x = v.toDouble(&ok);
            if (!ok) throw bad();
            return x;
        }
    }
    return v;
}

QVariant Recordset::Impl::readBack(const Field& f, const QVariant& stored) const {
    if (stored.isNull()) return stored;
    switch (f.type) {
        case FieldType::YesNo:
            return stored.toLongLong() != 0;
        case FieldType::DateTime:
            return values::fromStorage(stored.toString());
        case FieldType::Long:
        case FieldType::AutoNumber: {
            const qint64 n = stored.toLongLong();
            if (n >= INT_MIN && n <= INT_MAX) return static_cast<int>(n);
            return n;
        }
        default:
            return stored;
    }
}

void Recordset::Impl::loadTableRow(const QString& whereOrder, const QVariantList& params) {
    const Database::Rows r = db().Query(QStringLiteral("SELECT rowid AS %1, * FROM %2 %3")
                                            .arg(kRowidColumn, quoteId(table->name), whereOrder),
                                        params);
    afterDelete = false;
    if (r.rows.isEmpty()) {
        hasCurrent = false;
        current.clear();
        return;
    }
    hasCurrent = true;
    current = r.rows.first();
    currentRowid = current.first().toLongLong();
    atEnd = atStart = false;
}

QVariantList Recordset::Impl::readRowById(qint64 rowid) const {
    const Database::Rows r =
        db().Query(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoteId(table->name)), {rowid});
    QVariantList row;
    for (int i = 0; i < columns.size(); ++i) {
        const int at = r.rows.isEmpty() ? -1 : r.columns.indexOf(columns.at(i));
        row << (at >= 0 ? r.rows.first().at(at) : QVariant());
    }
    return row;
}

// ---------------------------------------------------------------------------------------------
// FieldRef

QVariant FieldRef::value() const { return m_rs.Value(m_name); }

FieldRef& FieldRef::operator=(const QVariant& v) {
    m_rs.SetValue(m_name, v);
    return *this;
}

// ---------------------------------------------------------------------------------------------
// Recordset

Recordset::Recordset() = default;
Recordset::Recordset(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

bool Recordset::IsOpen() const {
    return d != nullptr && !d->handle.expired();
}
void Recordset::Close() { d.reset(); }
bool Recordset::IsTable() const { return d && d->isTable; }
bool Recordset::Updatable() const { return d && d->table.has_value(); }

bool Recordset::Eof() const {
    requireOpen(d);
    if (d->isTable) return !d->afterDelete && !d->hasCurrent && !d->atStart;
    return d->rows.isEmpty() || d->pos >= d->rows.size();
}

bool Recordset::Bof() const {
    requireOpen(d);
    if (d->isTable) return !d->afterDelete && (d->atStart || (!d->hasCurrent && !d->atEnd));
    return d->rows.isEmpty() || d->pos < 0;
}

int Recordset::RecordCount() const {
    requireOpen(d);
    if (!d->isTable) return d->rows.size();
    const Database::Rows r =
        d->db().Query(QStringLiteral("SELECT count(*) FROM %1").arg(quoteId(d->table->name)), {});
    return r.rows.first().first().toInt();
}

void Recordset::MoveFirst() {
    requireOpen(d);
    CancelUpdate();
    if (d->isTable) {
        d->loadTableRow(QStringLiteral("ORDER BY rowid LIMIT 1"), {});
        if (!d->hasCurrent) throw noCurrentRecord();
        return;
    }
    if (d->rows.isEmpty()) throw noCurrentRecord();
    d->pos = 0;
    d->afterDelete = false;
}

void Recordset::MoveLast() {
    requireOpen(d);
    CancelUpdate();
    if (d->isTable) {
        d->loadTableRow(QStringLiteral("ORDER BY rowid DESC LIMIT 1"), {});
        if (!d->hasCurrent) throw noCurrentRecord();
        return;
    }
    if (d->rows.isEmpty()) throw noCurrentRecord();
    d->pos = d->rows.size() - 1;
    d->afterDelete = false;
}

void Recordset::MoveNext() {
    requireOpen(d);
    if (Eof()) throw noCurrentRecord();
    CancelUpdate();
    if (d->isTable) {
        const qint64 from = d->atStart ? 0 : d->currentRowid;
        d->loadTableRow(QStringLiteral("WHERE rowid > ? ORDER BY rowid LIMIT 1"), {from});
        if (!d->hasCurrent) d->atEnd = true;
        return;
    }
    if (d->afterDelete) {
        d->afterDelete = false;  // the row after the deleted one moved into its place
    } else {
        ++d->pos;
    }
}

void Recordset::MovePrevious() {
    requireOpen(d);
    if (Bof()) throw noCurrentRecord();
    CancelUpdate();
    if (d->isTable) {
        const qint64 from = d->atEnd ? std::numeric_limits<qint64>::max() : d->currentRowid;
        d->loadTableRow(QStringLiteral("WHERE rowid < ? ORDER BY rowid DESC LIMIT 1"), {from});
        if (!d->hasCurrent) d->atStart = true;
        return;
    }
    d->afterDelete = false;
    --d->pos;
}

QVariant Recordset::Value(const QString& name) const {
    requireOpen(d);
    const int i = d->columnIndex(name);
    if (i < 0) {
        throw DbError(kErrUnknownField, QStringLiteral("The recordset has no field named '%1'.").arg(name));
    }
    if (d->mode != Impl::EditMode::None && d->table) {
        for (const auto& [col, v] : d->assigned) {
            if (col.compare(name, Qt::CaseInsensitive) == 0) return d->readBack(d->tableField(col), v);
        }
        if (d->mode == Impl::EditMode::Add) return QVariant();
    }
    const QVariantList* row = d->currentRow();
    if (!row) throw noCurrentRecord();
    return row->at(i);
}

QVariant Recordset::Value(int index) const {
    requireOpen(d);
    if (index < 0 || index >= FieldCount()) {
        throw DbError(kErrUnknownField, QStringLiteral("The recordset has no field number %1.").arg(index));
    }
    // Lists read every cell of thousands of rows by number: straight to the row, unless an
    // assignment may stand in for the stored value.
    if (d->mode != Impl::EditMode::None) return Value(FieldName(index));
    const QVariantList* row = d->currentRow();
    if (!row) throw noCurrentRecord();
    return row->at(index + (d->isTable ? 1 : 0));
}

int Recordset::FieldCount() const {
    requireOpen(d);
    return d->columns.size() - (d->isTable ? 1 : 0);
}

QString Recordset::FieldName(int index) const {
    requireOpen(d);
    return d->columns.value(index + (d->isTable ? 1 : 0));
}

void Recordset::AddNew() {
    requireOpen(d);
    if (!d->table) throw DbError(kErrNotUpdatable, QStringLiteral("This recordset cannot be updated."));
    d->mode = Impl::EditMode::Add;
    d->assigned.clear();
}

void Recordset::Edit() {
    requireOpen(d);
    if (!d->table) throw DbError(kErrNotUpdatable, QStringLiteral("This recordset cannot be updated."));
    d->currentRowidOrThrow();
    d->mode = Impl::EditMode::Edit;
    d->assigned.clear();
}

bool Recordset::EditInProgress() const { return d && d->mode != Impl::EditMode::None; }

void Recordset::SetValue(const QString& name, const QVariant& value) {
    requireOpen(d);
    if (d->mode == Impl::EditMode::None) {
        throw DbError(kErrUpdateWithoutEdit, QStringLiteral("Assigning field '%1' needs AddNew or Edit first.")
                                                 .arg(name));
    }
    const Field& f = d->tableField(name);
    const QVariant stored = d->storageValue(f, value);
    for (auto& [col, v] : d->assigned) {
        if (col == f.name) {
            v = stored;
            return;
        }
    }
    d->assigned.append({f.name, stored});
}

void Recordset::Update() {
    requireOpen(d);
    if (d->mode == Impl::EditMode::None) {
        throw DbError(kErrUpdateWithoutEdit, QStringLiteral("Update without AddNew or Edit."));
    }
    const QString table = quoteId(d->table->name);
    QStringList cols;
    QVariantList params;
    for (const auto& [col, v] : d->assigned) {
        cols << quoteId(col);
        params << v;
    }
    if (d->mode == Impl::EditMode::Add) {
        if (cols.isEmpty()) {
            d->db().Run(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table), {});
        } else {
            QStringList marks;
            for (int i = 0; i < cols.size(); ++i) marks << QStringLiteral("?");
            d->db().Run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                        params);
        }
        d->lastAdded = d->db().LastInsertRowid();
        if (!d->isTable) {
            d->rows << d->readRowById(d->lastAdded);
            d->rowids << d->lastAdded;
        }
    } else {
        const qint64 rowid = d->currentRowidOrThrow();
        if (!cols.isEmpty()) {
            QStringList sets;
            for (const QString& c : cols) sets << c + QStringLiteral(" = ?");
            params << rowid;
            const int changed = d->db().Run(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                                .arg(table, sets.join(QStringLiteral(", "))),
                                            params);
            if (changed == 0) throw DbError(kErrNoCurrentRecord, QStringLiteral("The record no longer exists."));
        }
        if (d->isTable) {
            d->current = d->readRowById(rowid);
            d->current[0] = rowid;
        } else {
            for (const auto& [col, v] : d->assigned) {
                const int i = d->columnIndex(col);
                if (i >= 0) d->rows[d->pos][i] = d->readBack(d->tableField(col), v);
            }
        }
    }
    d->mode = Impl::EditMode::None;
    d->assigned.clear();
}

void Recordset::CancelUpdate() {
    if (!d) return;
    d->mode = Impl::EditMode::None;
    d->assigned.clear();
}

void Recordset::Delete() {
    requireOpen(d);
    if (!d->table) throw DbError(kErrNotUpdatable, QStringLiteral("This recordset cannot be updated."));
    const qint64 rowid = d->currentRowidOrThrow();
    CancelUpdate();
    if (d->db().Run(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteId(d->table->name)), {rowid}) ==
        0) {
        throw DbError(kErrNoCurrentRecord, QStringLiteral("The record no longer exists."));
    }
    if (d->isTable) {
        d->hasCurrent = false;  // MoveNext and MovePrevious go on from the deleted row's place
        d->afterDelete = true;
        d->atEnd = d->atStart = false;
        d->current.clear();
        return;
    }
    d->rows.removeAt(d->pos);
    d->rowids.removeAt(d->pos);
    d->afterDelete = true;
}

void Recordset::setIndex(const QString& indexName) {
    requireOpen(d);
    if (!d->isTable) throw DbError(kErrNoIndex, QStringLiteral("Only a table recordset has an index."));
    for (const db::Index& i : d->table->indexes) {
        if (i.name.compare(indexName, Qt::CaseInsensitive) == 0) {
            d->indexName = i.name;
            d->indexFields = i.fields;
            return;
        }
    }
    throw DbError(kErrNoIndex, QStringLiteral("Table '%1' has no index named '%2'.").arg(d->table->name, indexName));
}

QString Recordset::Index() const { return d ? d->indexName : QString(); }

void Recordset::Seek(const QString& comparison, const QVariantList& keys) {
    requireOpen(d);
    if (!d->isTable || d->indexFields.isEmpty()) {
        throw DbError(kErrNoIndex, QStringLiteral("Seek needs a table recordset with an index set."));
    }
    if (keys.isEmpty() || keys.size() > d->indexFields.size()) {
        throw DbError(kErrParameterCount, QStringLiteral("Seek on index '%1' takes 1 to %2 key(s).")
                                              .arg(d->indexName)
                                              .arg(d->indexFields.size()));
    }
    CancelUpdate();
    QStringList cols;
    QVariantList params;
    for (int i = 0; i < keys.size(); ++i) {
        const Field& f = d->tableField(d->indexFields.at(i));
        cols << quoteId(f.name);
        params << d->storageValue(f, keys.at(i));
    }
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i) marks << QStringLiteral("?");
    const QString lhs = QLatin1Char('(') + cols.join(QStringLiteral(", ")) + QLatin1Char(')');
    const QString rhs = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    const QString asc = cols.join(QStringLiteral(", ")) + QStringLiteral(", rowid");
    QString descList;
    for (const QString& c : cols) descList += c + QStringLiteral(" DESC, ");
    descList += QStringLiteral("rowid DESC");

    QString where;
    const QString op = comparison.trimmed();
    if (op == QLatin1String("=")) {
        where = QStringLiteral("WHERE %1 = %2 ORDER BY rowid LIMIT 1").arg(lhs, rhs);
    } else if (op == QLatin1String(">=") || op == QLatin1String(">")) {
        where = QStringLiteral("WHERE %1 %2 %3 ORDER BY %4 LIMIT 1").arg(lhs, op, rhs, asc);
    } else if (op == QLatin1String("<=") || op == QLatin1String("<")) {
        where = QStringLiteral("WHERE %1 %2 %3 ORDER BY %4 LIMIT 1").arg(lhs, op, rhs, descList);
    } else {
        throw DbError(kErrBadValue, QStringLiteral("'%1' is not a Seek comparison.").arg(comparison));
    }
    d->loadTableRow(where, params);
    d->noMatch = !d->hasCurrent;
    if (d->noMatch) d->atEnd = true;
}

bool Recordset::NoMatch() const { return d && d->noMatch; }

qint64 Recordset::LastAddedKey() const { return d ? d->lastAdded : 0; }

}  // namespace db
