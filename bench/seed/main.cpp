// seed --data-dir DIR [--contacts N] [--items M] [--today YYYY-MM-DD] [--seed S] [--force]
// Fills the data root DIR with a generated database for the speed benchmarks.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <exception>
#include <memory>

#include "Seeder.h"
#include "core/BlankDatabase.h"
#include "core/DataRoot.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "seed: %s\n", qPrintable(message));
    return 1;
}

bool readCount(const QCommandLineParser& args, const QString& name, qint64 max, int& out) {
    bool ok = false;
    const qint64 v = args.value(name).toLongLong(&ok);
    if (!ok || v < 0 || v > max) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser args;
    args.setApplicationDescription(QStringLiteral("Fills a data root with a generated database."));
    args.addHelpOption();
    args.addOptions({
        {QStringLiteral("data-dir"), QStringLiteral("The data root to fill."), QStringLiteral("DIR")},
        {QStringLiteral("contacts"), QStringLiteral("Number of contacts."), QStringLiteral("N"),
         QStringLiteral("100000")},
        {QStringLiteral("items"), QStringLiteral("Number of to-dos, notes, calls and appointments."),
         QStringLiteral("M"), QStringLiteral("1000000")},
        {QStringLiteral("today"), QStringLiteral("The date the items spread around (default: today)."),
         QStringLiteral("YYYY-MM-DD")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the generator."), QStringLiteral("S"),
         QStringLiteral("1")},
        {QStringLiteral("force"), QStringLiteral("Replace an existing database.")},
    });
    args.process(app);

    if (!args.isSet(QStringLiteral("data-dir")) || args.value(QStringLiteral("data-dir")).isEmpty()) {
        return fail(QStringLiteral("--data-dir DIR is required."));
    }
    bench::SeedOptions options;
    if (!readCount(args, QStringLiteral("contacts"), 10000000, options.contacts)) {
        return fail(QStringLiteral("--contacts takes a whole number from 0 to 10000000."));
    }
    if (!readCount(args, QStringLiteral("items"), 100000000, options.items)) {
        return fail(QStringLiteral("--items takes a whole number from 0 to 100000000."));
    }
    if (options.items > 0 && options.contacts == 0)
        return fail(QStringLiteral("Items need at least one contact."));
    options.today = QDate::currentDate();
    if (args.isSet(QStringLiteral("today"))) {
        options.today = QDate::fromString(args.value(QStringLiteral("today")), Qt::ISODate);
        if (!options.today.isValid()) return fail(QStringLiteral("--today takes a date as YYYY-MM-DD."));
    }
    bool seedOk = false;
    options.seed = args.value(QStringLiteral("seed")).toULongLong(&seedOk);
    if (!seedOk) return fail(QStringLiteral("--seed takes a whole number."));

    core::DataRoot::Set(args.value(QStringLiteral("data-dir")));
    const QString path = core::DataRoot::DatabasePath();
    const QFileInfo existing(path);
    if (existing.exists() && existing.size() > 0) {
        if (!args.isSet(QStringLiteral("force"))) {
            return fail(QStringLiteral("%1 exists and is not empty; use --force to replace it.").arg(path));
        }
        for (const QString& suffix :
             {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")}) {
            if (QFileInfo::exists(path + suffix) && !QFile::remove(path + suffix)) {
                return fail(QStringLiteral("Cannot remove %1.").arg(path + suffix));
            }
        }
    }

    QElapsedTimer timer;
    timer.start();
    bench::SeedReport report;
    try {
        core::EnsureDatabase(path);
        std::unique_ptr<db::Database> database = db::Database::Open(path, core::ProgramSchema());
        report = bench::seed(*database, options);
        database->Close();  // checkpoints the log into the file
    } catch (const db::DbError& e) {
        return fail(QStringLiteral("database error %1: %2").arg(e.number()).arg(e.description()));
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;

    std::printf("Seeded %s (seed %llu, today %s)\n", qPrintable(QDir::toNativeSeparators(path)),
                static_cast<unsigned long long>(options.seed),
                qPrintable(options.today.toString(Qt::ISODate)));
    for (const auto& [table, rows] : report.rows) {
        std::printf("  %-14s %10lld\n", qPrintable(table), static_cast<long long>(rows));
    }
    std::printf("  %-14s %10lld\n", "total", static_cast<long long>(report.totalRows()));
    std::printf("Elapsed: %.1f s\n", seconds);
    std::printf("File size: %.1f MB (%lld bytes)\n", static_cast<double>(QFileInfo(path).size()) / 1048576.0,
                static_cast<long long>(QFileInfo(path).size()));
    if (report.busyContact > 0) {
        std::printf("Contact with the long history: ContID %d (%d items)\n", report.busyContact,
                    report.busyContactItems);
    }
    if (report.busyProject > 0) {
        std::printf("Project with the long history: ProjID %d (%d items)\n", report.busyProject,
                    report.busyProjectItems);
    }
    return 0;
}
