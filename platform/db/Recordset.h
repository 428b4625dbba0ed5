#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace db {

class Database;
class Recordset;

// One column of the current row: reads as a QVariant (null = Null), takes a value by assignment
// between AddNew/Edit and Update.
class FieldRef {
public:
    FieldRef(Recordset& rs, QString name) : m_rs(rs), m_name(std::move(name)) {}

    QVariant value() const;
    operator QVariant() const { return value(); }
    FieldRef& operator=(const QVariant& v);
    FieldRef& operator=(const FieldRef& other) { return *this = other.value(); }

    bool isNull() const { return value().isNull(); }
    QString toString() const { return value().toString(); }
    int toInt() const { return value().toInt(); }
    qint64 toLongLong() const { return value().toLongLong(); }
    bool toBool() const { return value().toBool(); }
    QDate toDate() const { return value().toDate(); }
    QTime toTime() const { return value().toTime(); }
    QDateTime toDateTime() const { return value().toDateTime(); }

private:
    Recordset& m_rs;
    QString m_name;
};

// A recordset of the program's database (see design.md):
// - a table recordset is a lazy handle on one table: setIndex("PrimaryKey"), Seek("=", key),
//   NoMatch(), AddNew; moving runs one keyed query per step and never loads the table;
// - an SQL recordset holds the rows of its query, read at open; when the query reads one table its
//   rows can be edited and deleted (addressed by rowid) and new rows added.
// Update writes only the fields assigned since AddNew/Edit. No SQLite statement stays open.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    bool IsOpen() const;
    void Close();
    bool IsTable() const;
    bool Updatable() const;

    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();

    FieldRef Fields(const QString& name) { return FieldRef(*this, name); }
    QVariant Fields(const QString& name) const { return Value(name); }
    QVariant Value(const QString& name) const;
    QVariant Value(int index) const;
    int FieldCount() const;
    QString FieldName(int index) const;

    void AddNew();
    void Edit();
    void SetValue(const QString& name, const QVariant& value);
    void Update();
    void CancelUpdate();
    void Delete();
    bool EditInProgress() const;

    // Table recordsets only.
    void setIndex(const QString& indexName);
    QString Index() const;
    void Seek(const QString& comparison, const QVariantList& keys);
    void Seek(const QString& comparison, const QVariant& key) { Seek(comparison, QVariantList{key}); }
    bool NoMatch() const;

    // The key (rowid: the AutoNumber or INTEGER PRIMARY KEY) of the row the last AddNew/Update added.
    qint64 LastAddedKey() const;

    struct Impl;

private:
    friend class Database;
    explicit Recordset(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

}  // namespace db
