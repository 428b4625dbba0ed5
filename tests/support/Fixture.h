#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>
#include <memory>

#include "platform/db/Database.h"
#include "support/PromptSeam.h"
#include "support/ShellSeam.h"

namespace testsupport {

// Everything a test of the program needs around it, fresh for each test:
// - a temporary data root (removed afterwards) holding a blank database, opened as db();
// - the settings file inside that root, never the user's own;
// - prompts() and shell() seams installed, so no real box, browser or sound;
// - the clock standing still at 12/08/2026 10:00 (setNow to change).
//
//   std::unique_ptr<testsupport::Fixture> f;
//   void init() { f = std::make_unique<testsupport::Fixture>(); }
//   void cleanup() { f.reset(); }   // also fails the test if queued prompt replies went unused
class Fixture {
public:
    static QDateTime defaultNow();

    explicit Fixture(const QDateTime& now = defaultNow());
    ~Fixture();
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    db::Database& db() { return *m_db; }
    PromptSeam& prompts() { return m_prompts; }
    ShellSeam& shell() { return m_shell; }

    QString root() const { return m_dir.path(); }
    QString databasePath() const;
    QString settingsPath() const;

    void setNow(const QDateTime& now);

    // Closes the database and opens it again (to see what really reached the file).
    void reopen();

    // Fills Contacts with ContID 1 to `count` in one statement, names out of order so that their
    // index is spread over the file; 100,000 rows make a file of some 50 MB, whose long steps take
    // a good part of a second. The rows are checkpointed into the file.
    void seedContacts(int count);

    // COUNT(*) of a table, optionally with a WHERE condition in the program's SQL and its parameters.
    int rowCount(const QString& table, const QString& where = {}, const QVariantList& params = {});
    // The first column of the first row of a query; a null QVariant when it returns no row.
    QVariant scalar(const QString& sql, const QVariantList& params = {});

private:
    void open();
    void close();
    // Hands the open database (or nullptr) to the program-wide state.
    static void publish(db::Database* database);

    QTemporaryDir m_dir;  // first member: removed after everything else has let go of it
    PromptSeam m_prompts;
    ShellSeam m_shell;
    std::unique_ptr<db::Database> m_db;
};

}  // namespace testsupport
