// pomaret-bench [--data-dir DIR] [--reps N] [--json FILE] [--only NAME] [--today YYYY-MM-DD]
//               [--contacts N] [--items M]
// Times every screen and dialog a user waits for on a generated database (seeded first when DIR
// holds none); the lists also beside the same statements run straight on SQLite.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "Bench.h"
#include "platform/ui/ProgramFont.h"

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "pomaret-bench: %s\n", qPrintable(message));
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Measured offscreen unless told otherwise, so that no window system adds its own time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pomaret"));
    ui::UseProgramFont();

    QCommandLineParser args;
    args.setApplicationDescription(QStringLiteral("Times Pomaret on a generated database."));
    args.addHelpOption();
    args.addOptions({
        {QStringLiteral("data-dir"), QStringLiteral("The data root (seeded when it holds no database)."),
         QStringLiteral("DIR"), QStringLiteral("/tmp/pomaret-bench")},
        {QStringLiteral("reps"), QStringLiteral("Timed repetitions of each step, after one warm-up."),
         QStringLiteral("N"), QStringLiteral("7")},
        {QStringLiteral("json"), QStringLiteral("Where the figures go as JSON."), QStringLiteral("FILE"),
         QStringLiteral("bench-results.json")},
        {QStringLiteral("only"),
         QStringLiteral("Only this step: %1.").arg(bench::measurementNames().join(QStringLiteral(", "))),
         QStringLiteral("NAME")},
        {QStringLiteral("today"),
         QStringLiteral("The date the data is seeded around and the clock stands at."),
         QStringLiteral("YYYY-MM-DD"), QStringLiteral("2026-12-08")},
        {QStringLiteral("contacts"), QStringLiteral("Contacts to seed when the data root is empty."),
         QStringLiteral("N"), QStringLiteral("100000")},
        {QStringLiteral("items"), QStringLiteral("Items to seed when the data root is empty."),
         QStringLiteral("M"), QStringLiteral("1000000")},
    });
    // What the start-up steps run, once per process (see bench::startOnce).
    QCommandLineOption oneStart(QStringLiteral("one-start"), QStringLiteral("One start, timed."));
    QCommandLineOption unclean(QStringLiteral("unclean"), QStringLiteral("Ends that start as if killed."));
    oneStart.setFlags(QCommandLineOption::HiddenFromHelp);
    unclean.setFlags(QCommandLineOption::HiddenFromHelp);
    args.addOptions({oneStart, unclean});
    args.process(app);

    bench::BenchOptions options;
    options.dataDir = args.value(QStringLiteral("data-dir"));
    bool ok = false;
    options.reps = args.value(QStringLiteral("reps")).toInt(&ok);
    if (!ok || options.reps < 1 || options.reps > 1000)
        return fail(QStringLiteral("--reps takes 1 to 1000."));
    options.seedContacts = args.value(QStringLiteral("contacts")).toInt(&ok);
    if (!ok || options.seedContacts < 1) return fail(QStringLiteral("--contacts takes a number above 0."));
    options.seedItems = args.value(QStringLiteral("items")).toInt(&ok);
    if (!ok || options.seedItems < 0) return fail(QStringLiteral("--items takes a number, 0 or more."));
    options.only = args.value(QStringLiteral("only"));
    if (!options.only.isEmpty() && !bench::measurementNames().contains(options.only))
        return fail(QStringLiteral("--only takes one of: %1.")
                        .arg(bench::measurementNames().join(QStringLiteral(", "))));
    options.today = QDate::fromString(args.value(QStringLiteral("today")), Qt::ISODate);
    if (!options.today.isValid()) return fail(QStringLiteral("--today takes a date as YYYY-MM-DD."));
    if (options.dataDir.isEmpty()) return fail(QStringLiteral("--data-dir takes a folder."));
    if (args.isSet(oneStart)) return bench::startOnce(options, args.isSet(unclean));

    const bench::BenchReport report = bench::runBench(options);
    std::fputs(qPrintable(bench::formatTable(report)), stdout);

    const QString jsonPath = args.value(QStringLiteral("json"));
    if (!bench::writeJson(jsonPath, report, options))
        return fail(QStringLiteral("cannot write %1").arg(jsonPath));
    std::printf("JSON: %s\n", qPrintable(jsonPath));
    return report.ok() ? 0 : 1;
}
