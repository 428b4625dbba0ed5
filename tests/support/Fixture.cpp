#include "support/Fixture.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <string>

#include "core/BlankDatabase.h"
#include "core/Clock.h"
#include "core/DataRoot.h"
#include "core/modGeneral.h"
#include "platform/settings/Settings.h"

namespace testsupport {

namespace {

// Building the blank database from its script is most of a fixture's cost; each fixture of a run
// gets a copy of the one built first, byte for byte what the program builds.
QString BlankDatabase() {
    static QTemporaryDir dir;
    static const QString path = [] {
        if (!dir.isValid()) qFatal("Fixture: no temporary folder: %s", qPrintable(dir.errorString()));
        const QString file = dir.filePath(QStringLiteral("Blank.db"));
        core::EnsureDatabase(file);
        return file;
    }();
    return path;
}

}  // namespace

QDateTime Fixture::defaultNow() {
    return QDateTime(QDate(2026, 12, 8), QTime(10, 0));
}

Fixture::Fixture(const QDateTime& now) {
    if (!m_dir.isValid()) qFatal("Fixture: no temporary folder: %s", qPrintable(m_dir.errorString()));
    core::DataRoot::Set(m_dir.path());
    QDir().mkpath(QFileInfo(core::DataRoot::DatabasePath()).absolutePath());
    if (!QFile::copy(BlankDatabase(), core::DataRoot::DatabasePath()))
        qFatal("Fixture: the blank database was not copied");
    core::Clock::SetNow(now);
    // The program's settings and its program-wide values start afresh for every test.
    settings::SetFile(settingsPath());
    core::ResetProgramState();
    open();
}

Fixture::~Fixture() {
    close();
    core::ResetProgramState();
    core::Clock::Reset();
}

QString Fixture::databasePath() const {
    return core::DataRoot::DatabasePath();
}

QString Fixture::settingsPath() const {
    return core::DataRoot::SettingsPath();
}

void Fixture::setNow(const QDateTime& now) {
    core::Clock::SetNow(now);
}

void Fixture::reopen() {
    close();
    open();
}

void Fixture::open() {
    m_db = db::Database::Open(core::DataRoot::DatabasePath(), core::ProgramSchema());
    publish(m_db.get());
}

void Fixture::close() {
    publish(nullptr);
    if (m_db) m_db->Close();
    m_db.reset();
}

void Fixture::publish(db::Database* database) {
    if (database) {
        g_dbLocal.borrow(database);
    } else {
        g_dbLocal.close();
    }
}

void Fixture::seedContacts(int count) {
    m_db->Connection().exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(count) +
        ") INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName, FullName, CompName) SELECT i, 'C', "
        "'Default', printf('Name %07d %.60c', i * 7919 % 1000003, 'x'), printf('Full %07d %.100c', i, 'y'), "
        "printf('Company %.80c', 'z') FROM n; PRAGMA wal_checkpoint(TRUNCATE)");
}

int Fixture::rowCount(const QString& table, const QString& where, const QVariantList& params) {
    QString sql = QStringLiteral("SELECT COUNT(*) FROM %1").arg(table);
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where;
    return scalar(sql, params).toInt();
}

QVariant Fixture::scalar(const QString& sql, const QVariantList& params) {
    db::Recordset rs = m_db->OpenRecordset(sql, params);
    return rs.Eof() ? QVariant() : rs.Value(0);
}

}  // namespace testsupport
