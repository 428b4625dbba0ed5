#pragma once

#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The speed benchmark: drives the real main window offscreen on a generated database and times the
// steps a user waits for, each several times, beside the same statements run straight on SQLite.
namespace bench {

struct BenchOptions {
    QString dataDir;  // data root; seeded first when it holds no database
    int reps = 7;     // timed repetitions, after one untimed warm-up
    QString only;     // one measurement by name (see measurementNames), empty for all
    // The date the seeder spreads the items around and the program's clock stands at, so that the
    // date-bound lists hold the same rows in every run.
    QDate today = QDate(2026, 12, 8);
    // What to seed when the data root is empty.
    int seedContacts = 100000;
    int seedItems = 1000000;
    // The bench executable itself, which the start-up steps run once per start (see startOnce);
    // empty for this process's own.
    QString program;
};

// One figure: the warm-up value and the timed repetitions.
struct Measurement {
    QString name;
    QString unit;  // "ms", "x" or "MB"
    double first = 0;
    QList<double> values;
    std::optional<double> target;  // the figure must stay below it

    double quantile(double q) const;  // linear between the sorted values
    double median() const { return quantile(0.5); }
    std::optional<bool> pass() const;
};

struct BenchReport {
    QList<Measurement> measurements;
    QStringList prompts;  // boxes that came up, which none should
    QStringList errors;   // errors the program logged or the bench met
    QStringList notes;    // what was picked from the data, statement counts
    bool ok() const { return prompts.isEmpty() && errors.isEmpty(); }
    const Measurement* find(const QString& name) const;
};

// The steps --only accepts, in the order they run.
QStringList measurementNames();
// Those that also give their statements' figures: <step>.program_sql, .sqlite, .ratio, .layer and
// .layer_ratio.
QStringList comparedStepNames();
// Those timed beside the bare SQLite work they do: <step>.sqlite and <step>.ratio.
QStringList bareStepNames();

// Runs the benchmark in this process, which must have a QApplication. Sets the data root, the
// settings file and the clock the way the program's start does; progress goes to stderr.
BenchReport runBench(const BenchOptions& options);

// One start of the program in this fresh process, as a user starts it, for the start-up steps: prints
// "home <ms>" once the home screen is shown (<ms> from the main window's creation), then a line per
// box that came up ("box <text>") or error met ("error <text>"). `unclean`: after the home screen
// it saves a change and ends at once, as a copy that was killed, leaving its lock file and a
// write-ahead log with frames. Returns the exit code.
int startOnce(const BenchOptions& options, bool unclean);

QJsonObject toJson(const BenchReport& report, const BenchOptions& options);
// Writes toJson to `path`; false when the file cannot be written.
bool writeJson(const QString& path, const BenchReport& report, const BenchOptions& options);
// The figures as a table for the terminal.
QString formatTable(const BenchReport& report);

}  // namespace bench
