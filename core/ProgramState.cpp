// The program-wide values, the settings of the main window and the options, and the one database
// connection with its start-up schema check.
#include <QFileInfo>
#include <QRectF>
#include <array>
#include <charconv>
#include <cmath>
#include <exception>

#include "core/BlankDatabase.h"
#include "core/DataRoot.h"
#include "core/LongStep.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/settings/Settings.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"

std::unique_ptr<Workspace> g_wsMain;
core::DbHandle g_dbLocal;
QString g_strDBPath;
int32_t g_lngCurContID = 0;
int32_t g_lngCurProjID = 0;
QString g_strCurScreen;
QString g_strNameSrchSQL;
bool g_blnAltColors = false;
bool g_blnGridLines = false;
bool g_blnSecurity = false;
int32_t g_lngEntryMode = 0;

namespace core {
namespace {

MainWindowLink* g_mainWindow = nullptr;

}  // namespace

void SetMainWindow(MainWindowLink* window) {
    g_mainWindow = window;
}

MainWindowLink* MainWindow() {
    return g_mainWindow;
}

void ResetProgramState() {
    g_wsMain.reset();
    g_dbLocal.close();
    g_strDBPath.clear();
    g_lngCurContID = 0;
    g_lngCurProjID = 0;
    g_strCurScreen.clear();
    g_strNameSrchSQL.clear();
    g_blnAltColors = false;
    g_blnGridLines = false;
    g_blnSecurity = false;
    g_lngEntryMode = 0;
}

}  // namespace core

namespace {

const QString kApplication = QStringLiteral("Application");
const QString kSection = QStringLiteral("Pomaret");

// The store always follows the data root, so a start with --data-dir (or a test's own root) reads
// and writes that root's file and no other.
void pointStoreAtDataRoot() {
    const QString path = core::DataRoot::SettingsPath();
    if (settings::File() != QFileInfo(path).absoluteFilePath()) settings::SetFile(path);
}

void saveSetting(const QString& key, const QString& value) {
    pointStoreAtDataRoot();
    settings::SaveSetting(kApplication, kSection, key, value);
}

// Placement is kept as the shortest decimal text of a single-precision number: 1500 -> "1500",
// 1234.5 -> "1234.5".
QString singleText(double value) {
    std::array<char, 32> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<float>(value));
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

template <class Step>
void ignoringErrors(Step step) {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

namespace modAPI {

QString GetRegSetting(const QString& key, const QString& defaultValue) {
    pointStoreAtDataRoot();
    return settings::GetSetting(kApplication, kSection, key, defaultValue);
}

}  // namespace modAPI

namespace modGeneral {

double SettingNumber(const QString& text) {
    const qsizetype n = text.size();
    auto isDigit = [&](qsizetype i) { return i < n && text.at(i) >= u'0' && text.at(i) <= u'9'; };

    qsizetype i = 0;
    while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t')) ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    const qsizetype start = i;
    int digits = 0;
    while (isDigit(i)) ++i, ++digits;
    if (i < n && text.at(i) == u'.') {
        ++i;
        while (isDigit(i)) ++i, ++digits;
    }
    if (digits == 0) return 0;
    qsizetype end = i;
    // An exponent counts only when complete: "1e" and "1e+" are just 1.
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text.at(j) == u'+' || text.at(j) == u'-')) ++j;
        if (isDigit(j)) {
            while (isDigit(j)) ++j;
            end = j;
        }
    }
    // from_chars, unlike strtod, ignores the process locale's decimal separator.
    const QByteArray number = text.mid(start, end - start).toLatin1();
    double value = 0;
    const auto result = std::from_chars(number.constData(), number.constData() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

void LoadRegistrySettings() {
    core::trap(
        QStringLiteral("modGeneral.LoadRegistrySettings"), core::Tail::Action,
        QStringLiteral("loading Saved Settings"), [] {
            // Each flag takes its value as soon as it is read: a failure keeps the earlier ones.
            g_blnAltColors =
                SettingNumber(modAPI::GetRegSetting(QStringLiteral("AltColors"), QStringLiteral("-1"))) != 0;
            g_blnGridLines =
                SettingNumber(modAPI::GetRegSetting(QStringLiteral("GridLines"), QStringLiteral("0"))) != 0;
            g_blnSecurity =
                SettingNumber(modAPI::GetRegSetting(QStringLiteral("Security"), QStringLiteral("0"))) != 0;
        });
}

void SaveWindowSettings() {
    core::MainWindowLink* window = core::MainWindow();
    if (!window) return;
    int state = -1;
    ignoringErrors([&] {
        state = window->WindowStateCode();
        saveSetting(QStringLiteral("WindowState"), QString::number(state));
    });
    // Placement only in the normal state, so a maximised close keeps the last normal placement.
    if (state != 0) return;
    QRectF frame;
    bool haveFrame = false;
    bool positionKnown = false;
    ignoringErrors([&] {
        frame = window->OuterFrameTwips();
        positionKnown = window->PositionKnown();
        haveFrame = true;
    });
    if (!haveFrame) return;
    // Where the platform does not tell the position, the stored one is the better guess.
    if (positionKnown) {
        ignoringErrors([&] { saveSetting(QStringLiteral("WindowTop"), singleText(frame.top())); });
        ignoringErrors([&] { saveSetting(QStringLiteral("WindowLeft"), singleText(frame.left())); });
    }
    ignoringErrors([&] { saveSetting(QStringLiteral("WindowWidth"), singleText(frame.width())); });
    ignoringErrors([&] { saveSetting(QStringLiteral("WindowHeight"), singleText(frame.height())); });
}

void OpenLocalDB() {
    SetStatus(QStringLiteral("Opening Database"), true);
    ui::SetBusy();
    bool failed = true;
    int32_t number = 0;
    QString description;
    QString builtNotice;
    try {
        g_strDBPath = core::DataRoot::DatabasePath();
        // Without the workspace nothing can be opened, so nothing is built either.
        if (!g_wsMain) {
            throw db::DbError(db::kErrNotOpen,
                              QStringLiteral("The database workspace has not been created."));
        }
        // After an unclean end the open reads the whole file first, which takes a while; a clean
        // start shows none of it.
        std::unique_ptr<db::Database> opened;
        if (db::Database::EndedUncleanly(g_strDBPath)) {
            core::RunLongStep(QStringLiteral("Checking Database"), [&](const db::Progress& progress) {
                opened = core::OpenProgramDatabase(g_strDBPath, &builtNotice, progress);
            });
        } else {
            opened = core::OpenProgramDatabase(g_strDBPath, &builtNotice);
        }
        // Replaced only once the open has worked: a failed open keeps what was there.
        g_dbLocal.reset(std::move(opened));
        failed = false;
    } catch (const db::DbError& e) {
        number = e.number();
        description = e.description();
        // The damaged file has been set aside; the last backup is the way back to the data.
        const QFileInfo backup(core::DataRoot::BackupPath());
        if (number == db::kErrDamaged && QFileInfo(g_strDBPath).size() == 0 && backup.isFile() &&
            backup.size() > 0) {
            description += QStringLiteral(
                               " A backup of it is '%1': copy it to '%2' to go on with the data "
                               "of that backup.")
                               .arg(backup.filePath(), g_strDBPath);
        }
    } catch (const std::exception& e) {
        number = 1;
        description = QString::fromLocal8Bit(e.what());
    }
    SetStatus(QString());
    // Not logged: the log lives in the database that just failed to open.
    if (failed) ShowError(number, description);
    if (!builtNotice.isEmpty()) ui::MsgBox(builtNotice, ui::OKOnly | ui::Exclamation, ui::ProgramTitle());
}

void ReportSettingsSetAside() {
    if (const QString unusable = settings::TakeUnusableFile(); !unusable.isEmpty()) {
        const QString description =
            QStringLiteral("The settings file '%1' %2; Pomaret started with its default settings.")
                .arg(unusable, QFileInfo(unusable).isDir() ? QStringLiteral("is a folder, not a file")
                                                           : QStringLiteral("cannot be read"));
        LogErrors(QStringLiteral("modGeneral.LoadRegistrySettings"), settings::kErrSettingsRead, description);
        ui::MsgBox(
            description + QStringLiteral("\nNothing was renamed, and settings are not saved this session."),
            ui::OKOnly | ui::Exclamation, ui::ProgramTitle());
    }
    const QString keptAs = settings::TakeSetAsideFile();
    if (keptAs.isEmpty()) return;
    const QString description =
        QStringLiteral(
            "The settings file could not be read; Pomaret started with its default settings "
            "and kept the unreadable file as '%1'.")
            .arg(keptAs);
    LogErrors(QStringLiteral("modGeneral.LoadRegistrySettings"), settings::kErrSettingsSetAside, description);
    ui::MsgBox(description + QStringLiteral("\nA new settings file is written when Pomaret closes."),
               ui::OKOnly | ui::Exclamation, ui::ProgramTitle());
}

void CheckDatabaseVersion() {
    // No trap: without an open database this throws to the start-up's own handler.
    db::Database& database = g_dbLocal.get();
    // SQLite table names ignore case, so "SECURITY" is the same table and must count as present.
    if (database.TableExists(QStringLiteral("Security"))) return;
    ui::MsgBox(QStringLiteral("The database is not current.\nIt will be updated for you automatically"),
               ui::OKOnly, QStringLiteral("Updating Database"));
    CreateSecurityTable();
    // A failed creation has shown its error box and left nothing behind: no "complete" then.
    if (database.TableExists(QStringLiteral("Security"))) {
        ui::MsgBox(QStringLiteral("Update Complete."), ui::OKOnly, ui::ProgramTitle());
    }
}

void CreateSecurityTable() {
    core::trap(QStringLiteral("modGeneral.CreateSecurityTable"), core::Tail::ErrorBox, [] {
        db::Database& database = g_dbLocal.get();
        db::TableDef def;
        def.name = QStringLiteral("Security");
        def.fields << db::Field::make(QStringLiteral("RefNum"), db::FieldType::AutoNumber);
        db::Field userName = db::Field::make(QStringLiteral("UserName"), db::FieldType::Text, 50);
        userName.allowZeroLength = true;
        def.fields << userName;
        db::Field password = db::Field::make(QStringLiteral("Password"), db::FieldType::Text, 50);
        password.allowZeroLength = true;
        def.fields << password;

        // All of it or nothing: a table without its indexes would never be repaired later, since
        // the next start finds the table present.
        db::Transaction transaction(database);
        database.CreateTable(def);
        database.CreateIndex(def.name,
                             db::Index(QStringLiteral("PrimaryKey"), {QStringLiteral("RefNum")}, true));
        database.CreateIndex(def.name, db::Index(QStringLiteral("RefNum"), {QStringLiteral("RefNum")}));
        transaction.commit();
    });
}

void DisableContextCommands() {
    if (core::MainWindowLink* window = core::MainWindow()) window->SetContextCommandsEnabled(false);
}

void ShutDown() {
    ignoringErrors([] { SaveWindowSettings(); });
    ignoringErrors([] { CloseAllChildForms(); });
    ignoringErrors([] {
        if (db::Database* database = g_dbLocal.pointer()) database->Close();
    });
    g_dbLocal.close();
}

}  // namespace modGeneral
