#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace db {

// The kinds of column the program uses and how each is stored:
//   Long      INTEGER                      AutoNumber  INTEGER PRIMARY KEY AUTOINCREMENT
//   Text(n)   VARCHAR(n) COLLATE NOCASE    Memo        TEXT COLLATE NOCASE
//   YesNo     BOOLEAN (-1 / 0)             DateTime    DATETIME (ISO text, see Values.h)
//   Double    REAL
enum class FieldType { Long, AutoNumber, Text, Memo, YesNo, DateTime, Double };

struct Field {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;                 // characters, for Text
    bool allowZeroLength = true;  // Text and Memo
    bool primaryKey = false;      // the column is the table's INTEGER PRIMARY KEY
    QVariant defaultValue;        // null: none
    QString defaultSql;           // a default given as an SQL expression, e.g. the current time

    static Field make(const QString& name, FieldType type, int size = 0) {
        Field f;
        f.name = name;
        f.type = type;
        f.size = size;
        return f;
    }
};

struct Index {
    QString name;
    QStringList fields;
    bool primary = false;
    bool unique = false;

    Index() = default;
    Index(QString indexName, QStringList indexFields, bool isPrimary = false, bool isUnique = false)
        : name(std::move(indexName)), fields(std::move(indexFields)), primary(isPrimary), unique(isUnique) {}
};

struct TableDef {
    QString name;
    QList<Field> fields;
    QList<Index> indexes;

    const Field* field(const QString& name) const;
};

}  // namespace db
