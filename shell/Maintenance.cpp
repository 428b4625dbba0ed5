// File > Database Utilities: compact, repair, backup and restore.
#include "shell/Maintenance.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/BlankDatabase.h"
#include "core/DataRoot.h"
#include "core/LongStep.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmBackRest.h"

using core::Tail;

namespace {

bool IsSound(const QStringList& problems) {
    return problems == QStringList{QStringLiteral("ok")};
}

QString Summary(const QStringList& problems) {
    return problems.mid(0, 3).join(QStringLiteral("; "));
}

// A rename is only durable once its folder has reached the disk.
void SyncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Puts `from` in place of `to` in one step: whoever opens `to` finds the old file or the new one.
void RenameOver(const QString& from, const QString& to) {
    // A journal left beside the old file would be taken for the new one's and played into it.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) QFile::remove(to + QLatin1String(suffix));
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        const int error = errno;
        throw db::DbError(db::kErrFileNotFound, QStringLiteral("Cannot put the new file at '%1': %2")
                                                    .arg(to, QString::fromLocal8Bit(std::strerror(error))));
    }
    SyncFolder(QFileInfo(to).absolutePath());
}

// Temporary copies are hidden files beside their target: ".PomaretData.db.XXXXXX".
QString TempPattern(const QFileInfo& target) {
    return QLatin1Char('.') + target.fileName() + QLatin1Char('.');
}

// A copy that a killed run left behind.
void RemoveLeftovers(const QFileInfo& target) {
    QDir folder(target.absolutePath());
    const QStringList names =
        folder.entryList({TempPattern(target) + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) folder.remove(name);
}

// Writes a snapshot of `source` to `target` without ever leaving a half-written file there: into a
// temporary file in the same folder, checked (when asked), then renamed over whatever `target` was.
void WriteCopy(db::Database& source, const QString& target, bool check, const db::Progress& progress) {
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        throw db::DbError(db::kErrFileNotFound, QStringLiteral("Cannot create the folder '%1'.").arg(folder));
    }
    RemoveLeftovers(info);
    QString temp;
    {
        QTemporaryFile file(folder + QLatin1Char('/') + TempPattern(info) + QStringLiteral("XXXXXX"));
        file.setAutoRemove(false);
        if (!file.open()) {
            throw db::DbError(db::kErrFileNotFound,
                              QStringLiteral("Cannot create a file in '%1'.").arg(folder));
        }
        temp = file.fileName();
    }
    struct RemoveUnlessKept {
        QString path;
        ~RemoveUnlessKept() {
            if (path.isEmpty()) return;
            QFile::remove(path);
            QFile::remove(path + QStringLiteral("-journal"));
        }
    } cleanup{temp};

    // The check reads the copy twice over.
    source.BackupTo(temp, db::Phase(progress, 0, 1, check ? 3 : 1));
    if (check) {
        const QStringList problems =
            db::Database::CheckFile(temp, core::ProgramSchema(), db::Phase(progress, 1, 3, 3));
        if (!IsSound(problems)) {
            throw db::DbError(db::kErrDamaged,
                              QStringLiteral("The new copy failed its check: ") + Summary(problems));
        }
    }
    RenameOver(temp, target);
    cleanup.path.clear();
}

// Which file is at `path` and when it last changed; empty when there is none. Equal stamps: the same
// content.
QString StampOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return QStringLiteral("%1 %2 %3 %4.%5 %6.%7")
        .arg(info.st_dev)
        .arg(info.st_ino)
        .arg(info.st_size)
        .arg(info.st_mtim.tv_sec)
        .arg(info.st_mtim.tv_nsec)
        .arg(info.st_ctim.tv_sec)
        .arg(info.st_ctim.tv_nsec);
}

// The backup as the restore command found it sound, before it closed anything.
QString g_checkedBackup;

// The restore proper, on a connection of its own while the program's is closed. Its share of the
// bar: one part for the copy of the database, three for the restore (the check of the backup, unless
// `checked` already, and the copy in), two for the check of the result.
void RestoreFromBackup(const db::Progress& progress, bool checked) {
    std::unique_ptr<db::Database> database =
        db::Database::Open(core::DataRoot::DatabasePath(), core::ProgramSchema());
    // A copy kept by an earlier restore that was cut off may hold the only copy of the data: it moves
    // to the next free number, out of the way of this restore's own copy. (A folder of that name is
    // no copy; the restore fails on it below, before anything is changed.)
    if (!QFileInfo(shell::PreRestorePath()).isDir()) db::SetAside(shell::PreRestorePath(), QString(), true);
    // The database as it is now stays beside it until the restore has worked. It is not checked: a
    // damaged database is the usual reason to restore.
    WriteCopy(*database, shell::PreRestorePath(), false, db::Phase(progress, 0, 1, 6));
    try {
        database->RestoreFrom(core::DataRoot::BackupPath(), core::ProgramSchema(),
                              db::Phase(progress, 1, 4, 6), checked);
    } catch (...) {
        // Rolled back: the database is as it was, and its copy would only be left for nobody.
        QFile::remove(shell::PreRestorePath());
        throw;
    }
    const QStringList problems = database->IntegrityCheck(db::Phase(progress, 4, 6, 6));
    if (!IsSound(problems)) {
        throw db::DbError(db::kErrDamaged,
                          QStringLiteral("The restored database failed its check: ") + Summary(problems));
    }
    database->Close();
    QFile::remove(shell::PreRestorePath());
}

// Dialogs float beside the screens: one left open leaves the screen area empty all the same.
bool AnyScreenOpen() {
    for (QWidget* form : ui::ScreenRegistry::instance().openForms()) {
        if (!qobject_cast<QDialog*>(form)) return true;
    }
    return false;
}

void ShowHome() {
    if (!AnyScreenOpen()) ui::ScreenRegistry::instance().open(QStringLiteral("frmHome"));
}

// Called once CloseAllChildForms has run. A form still open (a dialog whose save question was
// answered Yes) holds recordsets on the database, so the command must not go on under it: nothing is
// touched, the user is told, and the home screen comes back. True when the command is refused.
bool RefusedWhileFormsOpen(const QString& action) {
    if (ui::ScreenRegistry::instance().openForms().isEmpty()) return false;
    ui::SetArrow();
    modGeneral::SetStatus(QString());
    ShowHome();
    ui::MsgBox(QStringLiteral("Please close every open window before %1 the database.").arg(action),
               ui::OKOnly | ui::Exclamation, ui::ProgramTitle());
    return true;
}

// The failure box of `action`; when the database is damaged, followed by what that means as there is
// a backup or none.
void ShowFailure(const QString& action, bool damaged, const QString& withBackup,
                 const QString& withoutBackup) {
    QString text = core::ActionFailureText(action);
    if (damaged) {
        text += QStringLiteral("\n\n") +
                (shell::FileExists(core::DataRoot::BackupPath()) ? withBackup : withoutBackup);
    }
    ui::MsgBox(text, ui::OKOnly, ui::ProgramTitle());
}

}  // namespace

namespace shell {

bool FileExists(const QString& path) {
    if (path.isEmpty() || QFileInfo(path).isDir()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    file.close();
    return true;
}

QString PreRestorePath() {
    return core::DataRoot::DatabasePath() + QStringLiteral(".pre-restore");
}

void ReportLeftovers() {
    // Half-written copies of a backup, a restore or a first start's blank database that was killed
    // (the restore's copies are named after the database too); never a finished file.
    RemoveLeftovers(QFileInfo(core::DataRoot::BackupPath()));
    RemoveLeftovers(QFileInfo(core::DataRoot::DatabasePath()));
    // Kept, as each may hold the only copy of the data, and said at each start while one is there.
    const QStringList kept = db::AllSetAside(core::DataRoot::DatabasePath(), QStringLiteral("pre-restore"));
    if (kept.isEmpty()) return;
    const QString database = core::DataRoot::DatabasePath();
    if (kept.size() == 1) {
        ui::MsgBox(
            QStringLiteral("A restore of the database did not finish. The database as it was before it "
                           "is kept as '%1'.\nIf the data is not what you expect, close Pomaret and "
                           "copy that file over '%2'. Delete it once you no longer need it; until then "
                           "this message comes at each start.")
                .arg(kept.first(), database),
            ui::OKOnly | ui::Exclamation, ui::ProgramTitle());
        return;
    }
    ui::MsgBox(
        QStringLiteral("Restores of the database did not finish. The database as it was before each of "
                       "them is kept as '%1'.\nIf the data is not what you expect, close Pomaret and "
                       "copy the file you need over '%2'. Delete them once you no longer need them; "
                       "until then this message comes at each start.")
            .arg(kept.join(QStringLiteral("', '")), database),
        ui::OKOnly | ui::Exclamation, ui::ProgramTitle());
}

void ReopenDatabase() {
    if (!g_dbLocal) modGeneral::OpenLocalDB();
    if (g_dbLocal) {
        // A backup from an older database may lack a table this version adds.
        try {
            modGeneral::CheckDatabaseVersion();
        } catch (...) {
        }
    }
    ShowHome();
}

void mnuFileCompDB_Click() {
    modGeneral::CompactDB();
}

void mnuFileRepDB_Click() {
    bool damaged = false;
    const bool repaired = core::trap(QStringLiteral("frmMain.mnuFileRepDB_Click"), Tail::Silent, [&] {
        const QString status = QStringLiteral("Repairing ") + core::DataRoot::DatabasePath();
        ui::SetBusy();
        modGeneral::SetStatus(status, true);
        modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
        if (RefusedWhileFormsOpen(QStringLiteral("repairing"))) return;
        db::Database& database = g_dbLocal.get();
        // Only a sound file is "repaired": rebuilding indexes over damaged tables would hide the damage.
        // The check reads the file twice over, the rebuild once.
        QStringList problems;
        try {
            core::RunLongStep(status, [&](const db::Progress& progress) {
                problems = database.IntegrityCheck(db::Phase(progress, 0, 2, 3));
                if (IsSound(problems)) database.Reindex(db::Phase(progress, 2, 3, 3));
            });
        } catch (const db::DbError& e) {
            // Damage bad enough stops the check itself (which then gave no answer).
            damaged = problems.isEmpty() && db::IsDamage(e);
            throw;
        }
        if (!IsSound(problems)) {
            damaged = true;
            throw db::DbError(db::kErrDamaged, QStringLiteral("The database failed its integrity check: ") +
                                                   Summary(problems));
        }
        ui::SetArrow();
        modGeneral::SetStatus(QString());
        ReopenDatabase();
        ui::MsgBox(QStringLiteral("The Database was sucessfully repaired."), ui::OKOnly, ui::ProgramTitle());
    });
    if (repaired) return;

    try {
        ReopenDatabase();
    } catch (...) {
    }
    if (!damaged) {
        ui::MsgBox(core::ActionFailureText(QStringLiteral("Repairing the Database")), ui::OKOnly,
                   ui::ProgramTitle());
        return;
    }
    // The repair did what it is for: it found the damage. Said as that alone, not as an unknown error.
    ui::MsgBox(FileExists(core::DataRoot::BackupPath())
                   ? QStringLiteral("The database is damaged. Restore it from the last backup with "
                                    "File > Database Utilities > Restore Data ...")
                   : QStringLiteral("The database is damaged, and there is no backup to restore it from."),
               ui::OKOnly | ui::Critical, ui::ProgramTitle());
}

void mnuFileBackupDB_Click() {
    core::trap(QStringLiteral("frmMain.mnuFileBackupDB_Click"), Tail::Action,
               QStringLiteral("Backing Up the Database"), [] { frmBackRest::Run(QStringLiteral("Backup")); });
}

void mnuFileRestoreDB_Click() {
    const bool ran = core::trap(
        QStringLiteral("frmMain.mnuFileRestoreDB_Click"), Tail::Action,
        QStringLiteral("Restoring the Database"), [] {
            const QString backup = core::DataRoot::BackupPath();
            if (!FileExists(backup)) {
                ui::MsgBox(QStringLiteral("There is no Backup Data to Restore from"), ui::OKOnly,
                           ui::ProgramTitle());
                return;
            }
            if (ui::MsgBox(
                    QStringLiteral("Restoring the Database from backup files will replace the existing "
                                   "database.\nAre you sure you want to Contunue?"),
                    ui::YesNo, QStringLiteral("Restore From Backup Data")) != ui::Answer::Yes) {
                ui::MsgBox(QStringLiteral("Database Restore Canceled"), ui::OKOnly, ui::ProgramTitle());
                return;
            }
            // Looked at before anything is closed: a damaged backup leaves everything as it was.
            QStringList problems;
            core::RunLongStep(QStringLiteral("Restoring Data Files"), [&](const db::Progress& progress) {
                problems = db::Database::CheckFile(backup, core::ProgramSchema(), progress);
            });
            ui::SetArrow();
            modGeneral::SetStatus(QString());
            // Unchanged until the copy, it need not be read through again there.
            g_checkedBackup = IsSound(problems) ? StampOf(backup) : QString();
            if (!IsSound(problems)) {
                modGeneral::LogErrors(QStringLiteral("frmMain.mnuFileRestoreDB_Click"), db::kErrDamaged,
                                      QStringLiteral("The backup failed its check: ") + Summary(problems));
                ui::MsgBox(QStringLiteral("The Backup Data is damaged and cannot be restored from.\n"
                                          "The current database has not been changed."),
                           ui::OKOnly | ui::Critical, ui::ProgramTitle());
                return;
            }
            modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
            if (RefusedWhileFormsOpen(QStringLiteral("restoring"))) return;
            g_dbLocal.close();
            frmBackRest::Run(QStringLiteral("Restore"));
        });
    if (!ran) {
        try {
            ReopenDatabase();
        } catch (...) {
        }
    }
}

}  // namespace shell

namespace modGeneral {

void CompactDB() {
    const bool compacted = core::trap(
        QStringLiteral("modGeneral.CompactDB"), Tail::Action, QStringLiteral("Compacting the Database"), [] {
            const QString status =
                QStringLiteral("Compacting ") + ui::ProgramTitle() + QStringLiteral(" database.");
            ui::SetBusy();
            SetStatus(status, true);
            CloseAllChildForms(Closing::ScreenSwitch);
            if (RefusedWhileFormsOpen(QStringLiteral("compacting"))) return;
            db::Database& database = g_dbLocal.get();
            core::RunLongStep(status, [&](const db::Progress& progress) { database.Compact(progress); });
            shell::ReopenDatabase();
            SetStatus(QString());
            ui::MsgBox(QStringLiteral("The database was sucessfully compacted"), ui::OKOnly,
                       ui::ProgramTitle());
        });
    if (compacted) return;
    try {
        shell::ReopenDatabase();
    } catch (...) {
    }
}

}  // namespace modGeneral

namespace modAPI {

bool BackupDataFiles() {
    bool damaged = false;
    const bool copied = core::trap(QStringLiteral("modAPI.BackupDataFiles"), Tail::Silent, [&] {
        db::Database& database = g_dbLocal.get();
        const QString target = core::DataRoot::BackupPath();
        try {
            // The screens stay open: the copy reads on a connection of its own.
            core::RunLongStep(QStringLiteral("Backing Up Data Files"), [&](const db::Progress& progress) {
                WriteCopy(database, target, true, progress);
            });
        } catch (const db::DbError& e) {
            damaged = db::IsDamage(e);
            throw;
        }
        ui::SetArrow();
        modGeneral::SetStatus(QString());
    });
    if (copied) return true;
    // A copy of a damaged database would put damage in place of the last good backup.
    ShowFailure(QStringLiteral("Backing Up the Database"), damaged,
                QStringLiteral("The database is damaged, so no backup was made; the last backup was kept "
                               "as it was."),
                QStringLiteral("The database is damaged, so no backup was made."));
    return false;
}

bool RestoreDataFiles() {
    return core::trap(QStringLiteral("modAPI.RestoreDataFiles"), Tail::Action,
                      QStringLiteral("Restoring the Database"), [] {
                          try {
                              const bool checked = !g_checkedBackup.isEmpty() &&
                                                   g_checkedBackup == StampOf(core::DataRoot::BackupPath());
                              g_checkedBackup.clear();
                              core::RunLongStep(QStringLiteral("Restoring Data Files"),
                                                [checked](const db::Progress& progress) {
                                                    RestoreFromBackup(progress, checked);
                                                });
                          } catch (...) {
                              // The error log lives in the database: open it again before this is logged.
                              try {
                                  if (!g_dbLocal) modGeneral::OpenLocalDB();
                              } catch (...) {
                              }
                              throw;
                          }
                          ui::SetArrow();
                          modGeneral::SetStatus(QString());
                      });
}

}  // namespace modAPI
