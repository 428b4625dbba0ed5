#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "bench/bench/Bench.h"
#include "platform/db/Database.h"
#include "support/RunningCopy.h"
#include "support/TestRegistry.h"

// The benchmark's whole routine on a small generated database, once per step: every figure must
// reach the JSON, with no box and no logged error on the way. Times are not judged here.
class BenchTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    // The figures of a run as the command writes them, by name.
    QHash<QString, QJsonObject> run(const QString& only) {
        bench::BenchOptions options;
        options.dataDir = dir.path();
        options.reps = 1;
        options.only = only;
        options.seedContacts = 300;
        options.seedItems = 3000;
        // The start-up steps run the bench command itself, once per start.
        options.program = testsupport::BuiltProgram(QStringLiteral("bench/pomaret-bench"));
        const bench::BenchReport report = bench::runBench(options);
        [&] {
            QVERIFY2(report.prompts.isEmpty(), qPrintable(report.prompts.join(u'\n')));
            QVERIFY2(report.errors.isEmpty(), qPrintable(report.errors.join(u'\n')));
        }();
        const QString path = dir.filePath(QStringLiteral("bench.json"));
        if (!bench::writeJson(path, report, options)) return {};
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return {};
        const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
        QHash<QString, QJsonObject> figures;
        for (const QJsonValue& v : json.value(QStringLiteral("measurements")).toArray())
            figures.insert(v.toObject().value(QStringLiteral("name")).toString(), v.toObject());
        if (!json.value(QStringLiteral("ok")).toBool()) figures.clear();
        return figures;
    }

    static QSet<QString> namesFor(const QStringList& steps) {
        QSet<QString> names{QStringLiteral("peak_memory")};
        const QStringList compared = bench::comparedStepNames();
        const QStringList bare = bench::bareStepNames();
        for (const QString& step : steps) {
            names << step;
            if (step == QLatin1String("startup")) names << QStringLiteral("startup.window");
            if (compared.contains(step)) {
                for (const char* part : {".program_sql", ".sqlite", ".ratio", ".layer", ".layer_ratio"})
                    names << step + QLatin1String(part);
            }
            if (bare.contains(step))
                names << step + QStringLiteral(".sqlite") << step + QStringLiteral(".ratio");
        }
        return names;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir.isValid()); }

    // The first run seeds the empty data root; the second finds it seeded.
    void everyFigureReachesTheJson_data() {
        QTest::addColumn<QString>("only");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("all") << QString() << bench::measurementNames();
        QTest::newRow("one step") << QStringLiteral("home_reload")
                                  << QStringList{QStringLiteral("home_reload")};
    }
    void everyFigureReachesTheJson() {
        QFETCH(QString, only);
        QFETCH(QStringList, steps);
        const QHash<QString, QJsonObject> figures = run(only);
        if (QTest::currentTestFailed()) return;
        const QList<QString> names = figures.keys();
        QCOMPARE(QSet<QString>(names.begin(), names.end()), namesFor(steps));
        for (const QJsonObject& figure : figures) {
            const QString name = figure.value(QStringLiteral("name")).toString();
            QCOMPARE(figure.value(QStringLiteral("reps")).toInt(), 1);
            for (const char* key : {"first", "median", "min", "max", "q1", "q3"}) {
                const QJsonValue v = figure.value(QLatin1String(key));
                QVERIFY2(v.isDouble() && v.toDouble() >= 0, qPrintable(name + u' ' + QLatin1String(key)));
            }
            QVERIFY2(!figure.value(QStringLiteral("unit")).toString().isEmpty(), qPrintable(name));
            // A figure with a target says whether it met it; one without says nothing.
            QCOMPARE(figure.value(QStringLiteral("pass")).isBool(),
                     figure.value(QStringLiteral("target")).isDouble());
        }
        QVERIFY(figures.value(QStringLiteral("home_reload.layer_ratio"))
                    .value(QStringLiteral("target"))
                    .isDouble());
        // The copies it killed left no save of theirs in the data.
        QVERIFY(db::Database::Open(dir.filePath(QStringLiteral("Data/PomaretData.db")))
                    ->Query(QStringLiteral("SELECT 1 FROM Company WHERE CompName = '-'"), {})
                    .rows.isEmpty());
    }
};

POMARET_TEST(BenchTest)
#include "tst_Bench.moc"
