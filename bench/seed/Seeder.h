#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QtGlobal>

namespace db {
class Database;
}

// The data generator: fills a blank database with a realistic, reproducible load of contacts,
// projects and items for the speed benchmarks. The same options always give the same rows.
namespace bench {

struct SeedOptions {
    int contacts = 100000;
    int items = 1000000;  // to-dos, notes and calls, appointments together
    QDate today;          // the items spread from four years before it to one year after
    quint64 seed = 1;
};

struct SeedReport {
    QList<QPair<QString, qint64>> rows;  // rows written per table, in the order they were filled
    int busyContact = 0;                 // the ContID given a long history (0 when there are no items)
    int busyContactItems = 0;            // how many items are linked to it
    int busyProject = 0;                 // the same for a project
    int busyProjectItems = 0;
    qint64 rowsFor(const QString& table) const;
    qint64 totalRows() const;
};

// Writes everything through the database layer, in transactions of kRowsPerTransaction rows.
// The database must hold no contacts, projects or items yet (a blank one); throws
// std::invalid_argument otherwise or for options out of range, db::DbError from the layer.
SeedReport seed(db::Database& database, const SeedOptions& options);

constexpr int kRowsPerTransaction = 50000;

}  // namespace bench
