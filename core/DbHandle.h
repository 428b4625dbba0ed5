#pragma once

#include <memory>

#include "platform/db/Database.h"

namespace core {

// The program's one open database (g_dbLocal). Using it while it is closed raises the layer's
// "not open" DbError, which the callers' traps handle like any other database error.
class DbHandle {
public:
    db::Database* operator->() const { return &get(); }
    db::Database& operator*() const { return get(); }
    db::Database& get() const {
        if (!m_db) throw db::DbError(db::kErrNotOpen, QStringLiteral("The database is not open."));
        return *m_db;
    }
    explicit operator bool() const { return m_db != nullptr && m_db->IsOpen(); }
    db::Database* pointer() const { return m_db; }

    // Takes ownership of a database the program opened.
    void reset(std::unique_ptr<db::Database> database) {
        m_owned = std::move(database);
        m_db = m_owned.get();
    }
    // Uses a database owned elsewhere (the test fixture).
    void borrow(db::Database* database) {
        m_owned.reset();
        m_db = database;
    }
    // Closes an owned database; forgets a borrowed one.
    void close() {
        m_db = nullptr;
        m_owned.reset();
    }

private:
    std::unique_ptr<db::Database> m_owned;
    db::Database* m_db = nullptr;
};

}  // namespace core
