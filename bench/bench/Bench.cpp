#include "Bench.h"

#include <sys/resource.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>

#include <SQLiteCpp/Database.h>

#include "BareSqlite.h"
#include "StatementTrace.h"
#include "calendar/CalendarShell.h"
#include "core/BlankDatabase.h"
#include "core/Clock.h"
#include "core/DataRoot.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/settings/Settings.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/Printer.h"
#include "platform/ui/SaveFileDialog.h"
#include "platform/ui/ScreenRegistry.h"
#include "reports/QueryScreen.h"
#include "seed/Seeder.h"
#include "shell/frmBackRest.h"
#include "shell/frmMain.h"

namespace bench {

namespace {

using SteadyClock = std::chrono::steady_clock;

double msSince(SteadyClock::time_point start) {
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

void progress(const QString& text) {
    std::fprintf(stderr, "pomaret-bench: %s\n", qPrintable(text));
    std::fflush(stderr);
}

// No box may come up while the bench drives the program: each one is reported at once and kept
// for the report, and answered as Esc would, so that the run ends instead of waiting for a user.
class PromptRecorder : public ui::PromptHandler {
public:
    explicit PromptRecorder(QStringList& out) : m_out(out), m_previous(ui::promptHandler()) {
        ui::setPromptHandler(this);
    }
    ~PromptRecorder() override { ui::setPromptHandler(m_previous); }
    PromptRecorder(const PromptRecorder&) = delete;
    PromptRecorder& operator=(const PromptRecorder&) = delete;

    ui::Answer message(const ui::MessageRequest& request) override {
        record(QStringLiteral("message box \"%1\": %2").arg(request.title, request.prompt));
        return ui::EscapeAnswer(request.style).value_or(ui::DefaultAnswer(request.style));
    }
    std::optional<QString> input(const ui::InputRequest& request) override {
        record(QStringLiteral("input box \"%1\": %2").arg(request.title, request.prompt));
        return std::nullopt;
    }
    void beep() override {}

private:
    void record(const QString& line) {
        progress(QStringLiteral("A BOX CAME UP: ") + line);
        m_out << line;
    }
    QStringList& m_out;
    ui::PromptHandler* m_previous;
};

// The one box a step expects, known by how its text begins, is answered as a user would; any other
// goes on to the recorder.
class ExpectedMessage : public ui::PromptHandler {
public:
    ExpectedMessage(QString text, ui::Answer answer)
        : m_text(std::move(text)), m_answer(answer), m_previous(ui::promptHandler()) {
        ui::setPromptHandler(this);
    }
    ~ExpectedMessage() override { ui::setPromptHandler(m_previous); }
    ExpectedMessage(const ExpectedMessage&) = delete;
    ExpectedMessage& operator=(const ExpectedMessage&) = delete;

    ui::Answer message(const ui::MessageRequest& request) override {
        if (request.prompt.startsWith(m_text)) {
            ++m_count;
            return m_answer;
        }
        return m_previous->message(request);
    }
    std::optional<QString> input(const ui::InputRequest& request) override {
        return m_previous->input(request);
    }
    void beep() override {}
    int count() const { return m_count; }

private:
    QString m_text;
    ui::Answer m_answer;
    ui::PromptHandler* m_previous;
    int m_count = 0;
};

// The save dialog answered with one file, as a user choosing it would.
class ChosenFile : public ui::SaveFileHandler {
public:
    explicit ChosenFile(QString path) : m_path(std::move(path)), m_previous(ui::saveFileHandler()) {
        ui::setSaveFileHandler(this);
    }
    ~ChosenFile() override { ui::setSaveFileHandler(m_previous); }
    ChosenFile(const ChosenFile&) = delete;
    ChosenFile& operator=(const ChosenFile&) = delete;

    std::optional<QString> saveFile(const ui::SaveFileRequest&) override { return m_path; }

private:
    QString m_path;
    ui::SaveFileHandler* m_previous;
};

// Sees a window of this name come up, however the command runs it: the Backup/Restore window of a
// step that has begun.
class ShownWatch : public QObject {
public:
    explicit ShownWatch(QString name) : m_name(std::move(name)) { qApp->installEventFilter(this); }
    ~ShownWatch() override { qApp->removeEventFilter(this); }
    ShownWatch(const ShownWatch&) = delete;
    ShownWatch& operator=(const ShownWatch&) = delete;

    bool seen() const { return m_seen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == m_name) m_seen = true;
        return false;
    }

private:
    QString m_name;
    bool m_seen = false;
};

bool windowShown(const QString& name) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [&](const QWidget* w) { return w->objectName() == name && w->isVisible(); });
}

// The posted work of the last step: layouts, the first paint, screens closed and deleted later.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The process's resident memory now and at its peak so far, as Linux counts them: where the peak
// comes from.
QString memoryInUse() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return QStringLiteral("?");
    QString now, peak;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const auto megabytes = [&line] {
            return QString::number(line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024, 'f', 1);
        };
        if (line.startsWith("VmRSS:")) now = megabytes();
        if (line.startsWith("VmHWM:")) peak = megabytes();
    }
    return QStringLiteral("%1 MB, peak %2 MB").arg(now, peak);
}

// The open screen of this name that is shown, other than `old`; nullptr when none comes in time.
QWidget* waitForScreen(const QString& name, const QPointer<QWidget>& old = {}, int timeoutMs = 60000) {
    const auto start = SteadyClock::now();
    for (;;) {
        for (QWidget* w : ui::ScreenRegistry::instance().openForms()) {
            if (w != old.data() && w->objectName() == name && w->isVisible()) return w;
        }
        if (msSince(start) >= timeoutMs) return nullptr;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

QWidget* requireScreen(const QString& name, const QPointer<QWidget>& old = {}) {
    QWidget* w = waitForScreen(name, old);
    if (!w) throw Failure(("the screen " + name + " did not come up").toStdString());
    return w;
}

// The main window started as app/main.cpp and modMain start it; returns once the home screen is
// shown, its posted work done.
std::unique_ptr<frmMain> startWindow() {
    auto window = std::make_unique<frmMain>();
    if (window->MDIForm_Load() != frmMain::LoadResult::Running)
        throw Failure("the start-up ended the program");
    requireScreen(QStringLiteral("frmHome"));
    settle();
    return window;
}

// What the close path does after its question, then the window goes and the lock with it: the
// next start begins from nothing.
void closeWindow(std::unique_ptr<frmMain>& window) {
    modGeneral::ShutDown();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    shell::SingleInstance::release();
    if (!ui::ScreenRegistry::instance().openForms().isEmpty())
        throw Failure("screens were left open after the main window closed");
}

bool isPlainAscii(const QString& s) {
    for (QChar c : s) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
    }
    return true;
}

// A prefix the program's LIKE and SQLite's built-in one read alike: ASCII, no wildcard of either.
bool usablePrefix(const QString& p) {
    return !p.isEmpty() && isPlainAscii(p) && !p.contains(u'*') && !p.contains(u'?') && !p.contains(u'%') &&
           !p.contains(u'_') && !p.endsWith(u' ');
}

int commonPrefixCI(const QString& a, const QString& b) {
    const int n = int(std::min(a.size(), b.size()));
    int i = 0;
    while (i < n && a[i].toLower() == b[i].toLower()) ++i;
    return i;
}

// What the measurements are run on, read from the data before any clock runs.
struct Picks {
    QString oneHit;    // a name prefix that only one contact has
    QString manyHits;  // a name prefix about a thousand contacts share
    int manyCount = 0;
    int busyContact = 0;  // the contact with the longest history
    int busyItems = 0;
    int busyProject = 0;  // the project with the longest history
    int busyProjectItems = 0;
    int addressContact = 0;  // a listed contact with a "Home" address, for the address dialog
    // Items opened for editing: the busy contact's latest of each kind.
    int storedToDo = 0;
    int storedNote = 0;
    int storedAppt = 0;
    // A reminder that has fired already: closing its pop-up marks it done again, which changes nothing.
    int reminder = 0;
    int reminderItem = 0;
    QString reminderType;  // "AP" or "TD"
    QString contactField;  // the contact field with the most values
    int contactFieldValues = 0;
    QString oneHitValue;   // a value of it that one named contact has alone
    QString projectField;  // the same for projects
    int projectFieldValues = 0;
    qint64 errLogRows = 0;  // the error log's last rowid before the run
};

Picks pickFromData(db::Database& db, BenchReport& report) {
    Picks picks;
    auto scalar = [&db](const QString& sql, const QVariantList& params = {}) {
        const db::Database::Rows rows = db.Query(sql, params);
        return rows.rows.isEmpty() ? QVariant() : rows.rows.first().value(0);
    };
    // The program's own LIKE counts the matches, as its search will find them.
    auto matches = [&db](const QString& prefix) {
        return db
            .OpenRecordset(QStringLiteral("SELECT COUNT(*) AS N FROM Contacts WHERE ShownName LIKE ?"),
                           {prefix + u'*'})
            .Value(QStringLiteral("N"))
            .toInt();
    };
    picks.errLogRows = scalar(QStringLiteral("SELECT COALESCE(MAX(rowid), 0) FROM ErrLog")).toLongLong();

    // One hit: the names in the program's order; a prefix one character longer than what a name
    // shares with either neighbour is that name's alone. Taken from the middle of the list.
    const db::Database::Rows names = db.Query(
        QStringLiteral("SELECT ShownName FROM Contacts WHERE ShownName IS NOT NULL ORDER BY ShownName"), {});
    const qsizetype n = names.rows.size();
    for (qsizetype k = 0; k < n && picks.oneHit.isEmpty(); ++k) {
        const qsizetype i = (n / 2 + k) % n;
        const QString name = names.rows[i].value(0).toString();
        const QString before = i > 0 ? names.rows[i - 1].value(0).toString() : QString();
        const QString after = i + 1 < n ? names.rows[i + 1].value(0).toString() : QString();
        const int shared = std::max(commonPrefixCI(name, before), commonPrefixCI(name, after));
        if (shared >= name.size()) continue;
        int length = shared + 1;
        while (length < name.size() && name[length - 1] == u' ') ++length;
        const QString prefix = name.left(length);
        if (usablePrefix(prefix)) picks.oneHit = prefix;
    }
    if (picks.oneHit.isEmpty() || matches(picks.oneHit) != 1)
        throw Failure("no name prefix with exactly one contact was found");

    // About a thousand hits: the prefix count closest to it, over prefixes of one to four letters.
    QString grouped;
    for (int len = 1; len <= 4; ++len) {
        if (!grouped.isEmpty()) grouped += QStringLiteral(" UNION ALL ");
        grouped += QStringLiteral(
                       "SELECT substr(ShownName, 1, %1) COLLATE NOCASE AS P, COUNT(*) AS N FROM Contacts "
                       "WHERE length(ShownName) >= %1 GROUP BY P")
                       .arg(len);
    }
    const db::Database::Rows prefixes =
        db.Query(QStringLiteral("SELECT P, N FROM (") + grouped +
                     QStringLiteral(") ORDER BY abs(N - 1000), length(P) DESC, P LIMIT 100"),
                 {});
    for (const QVariantList& row : prefixes.rows) {
        if (usablePrefix(row.value(0).toString()) && row.value(1).toInt() > 1) {
            picks.manyHits = row.value(0).toString();
            break;
        }
    }
    if (picks.manyHits.isEmpty()) throw Failure("no name prefix with several contacts was found");
    picks.manyCount = matches(picks.manyHits);

    // The contact with the longest history (the seeder gives one contact about a thousand items).
    const db::Database::Rows busy =
        db.Query(QStringLiteral(
                     "SELECT C, SUM(N) FROM ("
                     "SELECT fkContID AS C, COUNT(*) AS N FROM ToDo WHERE fkContID > 0 GROUP BY fkContID "
                     "UNION ALL SELECT fkContID, COUNT(*) FROM Appts WHERE fkContID > 0 GROUP BY fkContID "
                     "UNION ALL SELECT fkContID, COUNT(*) FROM Attach WHERE fkContID > 0 GROUP BY fkContID) "
                     "GROUP BY C ORDER BY 2 DESC, C LIMIT 1"),
                 {});
    if (busy.rows.isEmpty()) throw Failure("no contact has any history");
    picks.busyContact = busy.rows.first().value(0).toInt();
    picks.busyItems = busy.rows.first().value(1).toInt();

    // The same for projects; a project without items would do too, so any project counts.
    const db::Database::Rows busyProject =
        db.Query(QStringLiteral("SELECT ProjID, (SELECT COUNT(*) FROM ToDo WHERE fkProjID = ProjID) + "
                                "(SELECT COUNT(*) FROM Appts WHERE fkProjID = ProjID) + "
                                "(SELECT COUNT(*) FROM Attach WHERE fkProjID = ProjID) AS N "
                                "FROM Projects ORDER BY N DESC, ProjID LIMIT 1"),
                 {});
    if (busyProject.rows.isEmpty()) throw Failure("the data holds no project");
    picks.busyProject = busyProject.rows.first().value(0).toInt();
    picks.busyProjectItems = busyProject.rows.first().value(1).toInt();

    picks.addressContact =
        scalar(
            QStringLiteral("SELECT A.fkContID FROM CAddress AS A JOIN Contacts AS C ON C.ContID = A.fkContID "
                           "WHERE A.fkLookup = 'Home' AND A.Street IS NOT NULL AND C.Setting = 'Default' "
                           "ORDER BY A.fkContID = ? DESC, A.fkContID LIMIT 1"),
            {picks.busyContact})
            .toInt();
    if (picks.addressContact == 0) throw Failure("no listed contact has a Home address");

    const auto latest = [&](const char* table) {
        const QString t = QLatin1String(table);
        QVariant n = scalar(QStringLiteral("SELECT MAX(RefNum) FROM %1 WHERE fkContID = ?").arg(t),
                            {picks.busyContact});
        if (n.isNull()) n = scalar(QStringLiteral("SELECT MAX(RefNum) FROM %1").arg(t));
        if (n.isNull()) throw Failure(("the table " + t + " is empty").toStdString());
        return n.toInt();
    };
    picks.storedToDo = latest("ToDo");
    picks.storedNote = latest("Attach");
    picks.storedAppt = latest("Appts");

    const db::Database::Rows reminder = db.Query(
        QStringLiteral(
            "SELECT RefNum, Type, CASE Type WHEN 'AP' THEN fkApptID ELSE fkToDoID END FROM Remind "
            "WHERE Completed <> 0 AND Type IN ('AP', 'TD') ORDER BY Type = 'AP' DESC, RefNum LIMIT 1"),
        {});
    if (reminder.rows.isEmpty()) throw Failure("no reminder has fired yet");
    picks.reminder = reminder.rows.first().value(0).toInt();
    picks.reminderType = reminder.rows.first().value(1).toString();
    picks.reminderItem = reminder.rows.first().value(2).toInt();

    const auto largestField = [&](const char* table, QString& field, int& values) {
        const db::Database::Rows rows =
            db.Query(QStringLiteral("SELECT fkUserFld, COUNT(*) AS N FROM %1 WHERE fkUserFld IS NOT NULL "
                                    "GROUP BY fkUserFld ORDER BY N DESC, fkUserFld LIMIT 1")
                         .arg(QLatin1String(table)),
                     {});
        if (rows.rows.isEmpty())
            throw Failure(QStringLiteral("%1 holds no value").arg(QLatin1String(table)).toStdString());
        field = rows.rows.first().value(0).toString();
        values = rows.rows.first().value(1).toInt();
    };
    largestField("CUFldValues", picks.contactField, picks.contactFieldValues);
    largestField("PUFldValues", picks.projectField, picks.projectFieldValues);
    picks.oneHitValue =
        scalar(
            QStringLiteral("SELECT V.Value FROM CUFldValues AS V JOIN Contacts AS C ON C.ContID = V.fkContID "
                           "WHERE V.fkUserFld = ? AND V.Value IS NOT NULL AND C.ShownName IS NOT NULL AND "
                           "(SELECT COUNT(*) FROM CUFldValues AS W WHERE W.fkUserFld = V.fkUserFld AND "
                           "W.Value = V.Value) = 1 ORDER BY V.RefNum LIMIT 1"),
            {picks.contactField})
            .toString();
    if (picks.oneHitValue.isEmpty())
        throw Failure("no value of the largest contact field has one contact alone");

    report.notes
        << QStringLiteral("one-hit search: \"%1\" (1 contact)").arg(picks.oneHit)
        << QStringLiteral("many-hit search: \"%1\" (%2 contacts)").arg(picks.manyHits).arg(picks.manyCount)
        << QStringLiteral("editor: ContID %1 with %2 history items")
               .arg(picks.busyContact)
               .arg(picks.busyItems)
        << QStringLiteral("project editor: ProjID %1 with %2 history items")
               .arg(picks.busyProject)
               .arg(picks.busyProjectItems)
        << QStringLiteral("item dialogs: to-do %1, note %2, appointment %3; reminder %4 (%5 %6)")
               .arg(picks.storedToDo)
               .arg(picks.storedNote)
               .arg(picks.storedAppt)
               .arg(picks.reminder)
               .arg(picks.reminderType)
               .arg(picks.reminderItem)
        << QStringLiteral(
               "contact query: field \"%1\" (%2 values), one hit \"%3\"; project query: field \"%4\" (%5 "
               "values)")
               .arg(picks.contactField)
               .arg(picks.contactFieldValues)
               .arg(picks.oneHitValue, picks.projectField)
               .arg(picks.projectFieldValues);
    return picks;
}

void seedIfEmpty(const BenchOptions& options, const QString& path, BenchReport& report) {
    const QFileInfo file(path);
    if (file.exists() && file.size() > 0) return;
    SeedOptions seedOptions;
    seedOptions.contacts = options.seedContacts;
    seedOptions.items = options.seedItems;
    seedOptions.today = options.today;
    progress(QStringLiteral("seeding %1 (%2 contacts, %3 items, today %4) ...")
                 .arg(path)
                 .arg(seedOptions.contacts)
                 .arg(seedOptions.items)
                 .arg(options.today.toString(Qt::ISODate)));
    const auto start = SteadyClock::now();
    core::EnsureDatabase(path);
    std::unique_ptr<db::Database> database = db::Database::Open(path, core::ProgramSchema());
    seed(*database, seedOptions);
    database->Close();
    report.notes << QStringLiteral("seeded the database in %1 s").arg(msSince(start) / 1000.0, 0, 'f', 1);
}

Measurement measurement(const QString& name, const QString& unit, std::optional<double> target) {
    Measurement m;
    m.name = name;
    m.unit = unit;
    m.target = target;
    return m;
}

void add(Measurement& m, int rep, double value) {
    if (rep == 0) {
        m.first = value;
    } else {
        m.values.append(value);
    }
}

// One step measured beside the same statements straight on SQLite: the step's own time; the time
// the program's connection spent in those statements, from their first step until they were done,
// the program's handling of each row in between included (their translation and preparing, cached
// by the program, are not); SQLite's time for them; and the ratio of the last two. The statements
// ran amid the screens' own work, which leaves the processor's caches cold for them, while SQLite's
// runs follow one another; so they are also run through the program's database layer back to back
// (translating, binding, stepping and a text per cell, as the list loaders read their rows): that ratio is
// the layer's own overhead.
struct Compared {
    Measurement total;
    Measurement inProgram;
    Measurement direct;
    Measurement ratio;
    Measurement layer;
    Measurement layerRatio;
};

// A statement's text with the numbers the program wrote into it made one: the same statement.
QByteArray statementShape(const QByteArray& sql) {
    static const QRegularExpression number(QStringLiteral("\\b\\d+\\b"));
    return QString::fromUtf8(sql).simplified().replace(number, QStringLiteral("#")).toUtf8();
}

Compared comparedMeasurements(const QString& name, double target, double layerTarget) {
    return {measurement(name, QStringLiteral("ms"), target),
            measurement(name + QStringLiteral(".program_sql"), QStringLiteral("ms"), std::nullopt),
            measurement(name + QStringLiteral(".sqlite"), QStringLiteral("ms"), std::nullopt),
            measurement(name + QStringLiteral(".ratio"), QStringLiteral("x"), std::nullopt),
            measurement(name + QStringLiteral(".layer"), QStringLiteral("ms"), std::nullopt),
            measurement(name + QStringLiteral(".layer_ratio"), QStringLiteral("x"), layerTarget)};
}

QString formatNumber(double v) {
    if (!std::isfinite(v)) return QStringLiteral("-");
    const double a = std::abs(v);
    return QString::number(v, 'f', a < 1 ? 3 : a < 100 ? 2 : 1);
}

class Session {
public:
    Session(const BenchOptions& options, BenchReport& report, const Picks& picks)
        : m_options(options), m_report(report), m_picks(picks) {}

    // Each start in a process of its own, as a user starts the program once per process: from the
    // launch until the home screen is shown; beside it the main window's own part of that time.
    void startup() {
        Measurement total = measurement(QStringLiteral("startup"), QStringLiteral("ms"), 150.0);
        Measurement window =
            measurement(QStringLiteral("startup.window"), QStringLiteral("ms"), std::nullopt);
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            const auto [launchToHome, windowToHome] = startProcess(false);
            add(total, rep, launchToHome);
            add(window, rep, windowToHome);
        }
        m_report.measurements << total << window;
    }

    // The same after a copy was killed having saved a change (untimed): the start takes over its lock
    // and checks the database its write-ahead log was left with. Beside it the check alone.
    void startupUnclean() {
        besideSqlite(
            QStringLiteral("startup_unclean"), 1.2,
            [this] {
                startProcess(true);
                return startProcess(false).first;
            },
            [] { bare::StartupCheck(core::DataRoot::DatabasePath()); });
    }

    void open() {
        m_window = startWindow();
        // Its once-a-minute query must not land inside a timed step.
        if (auto* poll = m_window->findChild<QTimer*>(QStringLiteral("Timer1"))) poll->stop();
        m_search = m_window->findChild<QLineEdit*>(QStringLiteral("txtSrch"));
        for (const char* name : {"mnuViewHome", "mnuViewNames", "mnuViewCal", "mnuViewProj", "mnuViewToDo",
                                 "mnuViewCQry", "mnuViewPQry"}) {
            auto* action = m_window->findChild<QAction*>(QLatin1String(name));
            if (!action) throw Failure(std::string("the main window lacks the command ") + name);
            m_view.insert(QLatin1String(name + 7), action);
        }
        if (!m_search) throw Failure("the main window lacks its search box");
        m_trace = std::make_unique<StatementTrace>(g_dbLocal->Connection().getHandle());
    }

    const Picks& picks() const { return m_picks; }

    void close() {
        if (!m_window) return;
        m_trace.reset();  // before the connection it watches closes
        closeWindow(m_window);
    }

    // Text typed into the search box, then Enter until the screen the search leads to is shown and
    // filled.
    void search(const QString& name, const QString& prefix, const QString& screen, double target) {
        Compared c = comparedMeasurements(name, target, 1.0);
        const auto likeOnly = [](const char* sql) { return QByteArray(sql).toUpper().contains(" LIKE "); };
        runCompared(
            c, likeOnly,
            [&] {
                goHome();
                m_search->clear();
                QTest::keyClicks(m_search, prefix);
            },
            [&] {
                QTest::keyClick(m_search, Qt::Key_Return);
                requireScreen(screen);
            });
    }

    // The contact or project editor opened the way a click on a contact or project opens it.
    void editorOpen() {
        const QWidget* editor = recordEditor(QStringLiteral("editor_open"), QStringLiteral("frmContEntry"),
                                             60.0, [this] { g_lngCurContID = m_picks.busyContact; });
        noteHistory(QStringLiteral("editor"), editor);
    }
    void projectOpen() {
        const QWidget* editor = recordEditor(QStringLiteral("project_open"), QStringLiteral("frmProjEntry"),
                                             100.0, [this] { g_lngCurProjID = m_picks.busyProject; });
        noteHistory(QStringLiteral("project editor"), editor);
    }

    // The project editor's "Add Related Contact ..." until the picker shows every listed contact;
    // Cancel (untimed) closes it again without a write or a reload.
    void contactPicker() {
        QWidget* editor = openProjectEditor();
        const int listed = dialogStep(
            QStringLiteral("contact_picker"), QStringLiteral("frmSetRelContact"), 200.0,
            [&] { clickButton(editor, "cmdRelCon"); }, listCount("lstContact"));
        m_report.notes << QStringLiteral("contact picker: %1 contacts listed").arg(listed);
    }

    // The contact editor's "Add Related Project ..." until the picker shows every project.
    void projectPicker() {
        QWidget* editor = openContactEditor(m_picks.busyContact);
        const int listed = dialogStep(
            QStringLiteral("project_picker"), QStringLiteral("frmSetRelProject"), 200.0,
            [&] { clickButton(editor, "cmdRelProj"); }, listCount("lstProject"));
        m_report.notes << QStringLiteral("project picker: %1 projects listed").arg(listed);
    }

    // An item's dialog opened over the home screen, new as the New menu opens it or stored as a click
    // in a list opens it, until its name and project lists hold every contact and project.
    void itemDialog(const QString& name, const QString& form, const std::function<void()>& open) {
        goHome();
        const int names = dialogStep(name, form, 200.0, open, [](QDialog* dialog) {
            auto* list = dialog->findChild<ui::ComboBox*>(QStringLiteral("Combo1(0)"));
            return list && list->count() > 1 ? int(list->count()) - 1 : 0;
        });
        m_report.notes << QStringLiteral("%1: %2 contacts listed").arg(name).arg(names);
    }

    // A dialog of the contact editor, opened by its icon or button on the contact with a Home address.
    void contactEditorDialog(const QString& name, const QString& form, const char* control) {
        QWidget* editor = openContactEditor(m_picks.addressContact);
        dialogStep(name, form, 200.0, [&] {
            QWidget* w = editor->findChild<QWidget*>(QLatin1String(control));
            if (!w) throw Failure(std::string("the contact editor has no ") + control);
            if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                button->click();
            } else {
                QTest::mouseClick(w, Qt::LeftButton);
            }
        });
    }

    // The pop-up of a reminder that has fired, opened as the reminder poll opens it, until it shows
    // its item; Close (untimed) marks it done, which it was, and opens the item, which is closed too.
    void reminderPopup() {
        goHome();
        const QString item = m_picks.reminderType == QLatin1String("AP") ? QStringLiteral("m_lngApptID")
                                                                         : QStringLiteral("m_lngToDoID");
        const QString itemForm = m_picks.reminderType == QLatin1String("AP") ? QStringLiteral("frmAppt")
                                                                             : QStringLiteral("frmToDo");
        QPointer<QWidget> popup;
        timed(
            QStringLiteral("reminder_popup"), 200.0, nullptr,
            [&] {
                popup = ui::ScreenRegistry::instance().open(
                    QStringLiteral("frmReminder"), {{QStringLiteral("m_lngRemindID"), m_picks.reminder},
                                                    {item, m_picks.reminderItem},
                                                    {QStringLiteral("m_strType"), m_picks.reminderType}});
                if (!popup) throw Failure("the reminder pop-up did not come up");
                popup->show();
            },
            [&] {
                auto* close = popup->findChild<QLabel*>(QStringLiteral("lblClose"));
                if (!close) throw Failure("the reminder pop-up has no Close");
                QTest::mouseClick(close, Qt::LeftButton);
                settle();
                auto* dialog = qobject_cast<QDialog*>(requireScreen(itemForm));
                if (!dialog) throw Failure("closing the reminder pop-up opened no item");
                dialog->reject();
                settle();
            });
    }

    // The Print button of a stored item's dialog, confirmed, until the PDF is written.
    void itemPrint(const QString& name, const QString& form, const std::function<void()>& open) {
        goHome();
        open();
        QWidget* dialog = requireScreen(form);
        settle();
        const QString pdf = QDir(m_options.dataDir).filePath(name + QStringLiteral(".pdf"));
        ui::SetPrinterOutputFile(pdf);
        ExpectedMessage confirm(QStringLiteral("Print this "), ui::Answer::Yes);
        int count = 0;
        timed(
            name, 500.0, [&] { QFile::remove(pdf); }, [&] { clickButton(dialog, "cmdOpts(2)"); },
            [&] {
                if (confirm.count() != ++count || QFileInfo(pdf).size() == 0)
                    throw Failure((name + ": no PDF was written").toStdString());
            });
        ui::SetPrinterOutputFile(QString());
        m_report.notes << QStringLiteral("%1: %2 kB").arg(name).arg(QFileInfo(pdf).size() / 1024);
        QFile::remove(pdf);
        if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
        settle();
    }

    // View > Calendar until the month view's grid is filled: today's month, built as the view is
    // first activated.
    void monthOpen() {
        timed(
            QStringLiteral("month_open"), 150.0, [this] { goHome(); },
            [this] {
                m_view.value(QStringLiteral("Cal"))->trigger();
                requireScreen(QStringLiteral("frmCalMnth"));
            });
        noteMonth(QStringLiteral("month_open"), m_options.today);
    }

    // A month chosen in the open month view's list, November and December in turn: the grid emptied
    // and filled again.
    void monthChange() {
        goHome();
        m_view.value(QStringLiteral("Cal"))->trigger();
        QWidget* month = requireScreen(QStringLiteral("frmCalMnth"));
        settle();
        int rep = 0;
        timed(QStringLiteral("month_change"), 150.0, nullptr,
              [&] { choose(month, QStringLiteral("cboMonth"), rep++ % 2 == 0 ? 10 : 11); });
    }

    // The week or day view opened from the home screen until its boxes are placed; then an arrow
    // forward, back, forward ... with the boxes rebuilt each time.
    void hourViewOpen(const QString& name, const QString& form, double target, const std::function<void()>& open) {
        QWidget* view = nullptr;
        timed(
            name, target, [this] { goHome(); },
            [&] {
                open();
                view = requireScreen(form);
            });
        m_report.notes << QStringLiteral("%1: %2 boxes").arg(name).arg(CountBoxes(view));
    }
    void hourViewArrow(const QString& name, const QString& form, double target,
                       const std::function<void()>& open) {
        goHome();
        open();
        QWidget* view = requireScreen(form);
        settle();
        int boxes = 0;
        int rep = 0;
        timed(
            name, target, nullptr,
            [&] {
                auto* arrow = view->findChild<QAbstractButton*>(rep++ % 2 == 0 ? QStringLiteral("imgUp")
                                                                               : QStringLiteral("imgDown"));
                if (!arrow) throw Failure("the view has no arrows");
                arrow->click();
            },
            [&] { boxes = std::max(boxes, CountBoxes(view)); });
        m_report.notes << QStringLiteral("%1: up to %2 boxes").arg(name).arg(boxes);
    }
    static int CountBoxes(QWidget* view) {
        int n = 0;
        for (QWidget* w : view->findChildren<QWidget*>())
            if (w->objectName().startsWith(QLatin1String("txtAppt(")) && w->objectName() != QLatin1String("txtAppt(0)"))
                ++n;
        return n;
    }

    // The List tab of the calendar until the appointment list is filled with the upcoming ones; then
    // "All Appointments" chosen on it.
    void apptListUpcoming() {
        QWidget* list = nullptr;
        compared(
            QStringLiteral("apptlist_upcoming"), 1000.0, [this] { goHome(); },
            [&] {
                calendar::OpenTab(calendar::kListTab);
                list = requireScreen(QStringLiteral("frmCalList"));
            });
        noteRows(QStringLiteral("apptlist_upcoming"), list);
    }
    void apptListAll() {
        QWidget* list = nullptr;
        compared(
            QStringLiteral("apptlist_all"), 1000.0,
            [&] {
                list = ui::ScreenRegistry::instance().find(QStringLiteral("frmCalList"));
                if (list) return;
                goHome();
                calendar::OpenTab(calendar::kListTab);
                list = requireScreen(QStringLiteral("frmCalList"));
                settle();
            },
            [&] { choose(list, QStringLiteral("cboFiltOpt"), 2); });
        noteRows(QStringLiteral("apptlist_all"), list);
    }

    // View > Home: every screen closes and the home screen loads afresh.
    void homeReload() {
        Compared c = comparedMeasurements(QStringLiteral("home_reload"), 100.0, 2.5);
        QPointer<QWidget> old;
        runCompared(
            c, nullptr,
            [&] {
                goHome();
                old = ui::ScreenRegistry::instance().find(QStringLiteral("frmHome"));
            },
            [&] {
                m_view.value(QStringLiteral("Home"))->trigger();
                requireScreen(QStringLiteral("frmHome"), old);
            });
    }

    // View > Names, Projects and To Do: every screen closes and the list opens, filled with the
    // "Default" contacts, the "Default" projects, every to-do item.
    void namesList() {
        viewList(QStringLiteral("names_list"), QStringLiteral("Names"), QStringLiteral("frmNames"), 500.0);
    }
    void projectsList() {
        viewList(QStringLiteral("projects_list"), QStringLiteral("Proj"), QStringLiteral("frmProjects"),
                 300.0);
    }
    void todoList() {
        viewList(QStringLiteral("todo_list"), QStringLiteral("ToDo"), QStringLiteral("frmToDoList"), 1000.0);
    }

    // The group list's first entry, "All", chosen on the open names list: every "Default" contact.
    void namesGroupAll() {
        QWidget* names = nullptr;
        compared(
            QStringLiteral("names_group_all"), 500.0,
            [&] { names = openScreen(QStringLiteral("Names"), QStringLiteral("frmNames")); },
            [&] { choose(names, QStringLiteral("cboGroup"), 0); });
        noteRows(QStringLiteral("names_group_all"), names);
    }

    // "Save File As ..." on the names list of all contacts, the projects list and the to-do list.
    void namesExport() {
        QWidget* names = openScreen(QStringLiteral("Names"), QStringLiteral("frmNames"));
        choose(names, QStringLiteral("cboView"), 0);  // "All Contacts"
        listExport(QStringLiteral("names_export"), names, 1000.0);
    }
    void projectsExport() {
        listExport(QStringLiteral("projects_export"),
                   openScreen(QStringLiteral("Proj"), QStringLiteral("frmProjects")), 300.0);
    }
    void todoExport() {
        listExport(QStringLiteral("todo_export"),
                   openScreen(QStringLiteral("ToDo"), QStringLiteral("frmToDoList")), 1000.0);
    }

    // View > Contact Query: the largest field picked until its value list is filled; then every contact
    // with a value in it ("<>" with no value), a value one contact has, and the export of the many.
    void contactValues() {
        reports::QueryScreen* screen = nullptr;
        compared(
            QStringLiteral("cquery_values"), 300.0,
            [&] { screen = queryScreen(QStringLiteral("CQry"), QStringLiteral("frmContQry")); },
            [&] { pickField(screen, m_picks.contactField); });
        m_report.notes << QStringLiteral("cquery_values: %1 values listed").arg(screen->cboValue->count());
    }
    void contactMany() {
        queryStep(QStringLiteral("cquery_many"), QStringLiteral("CQry"), QStringLiteral("frmContQry"),
                  m_picks.contactField, 3, QString());
    }
    void contactOne() {
        queryStep(QStringLiteral("cquery_one"), QStringLiteral("CQry"), QStringLiteral("frmContQry"),
                  m_picks.contactField, 0, m_picks.oneHitValue, 50.0);
    }
    void contactExport() {
        queryExport(QStringLiteral("cquery_export"), QStringLiteral("CQry"), QStringLiteral("frmContQry"),
                    m_picks.contactField);
    }
    void projectMany() {
        queryStep(QStringLiteral("pquery_many"), QStringLiteral("PQry"), QStringLiteral("frmProjQry"),
                  m_picks.projectField, 3, QString());
    }
    void projectExport() {
        queryExport(QStringLiteral("pquery_export"), QStringLiteral("PQry"), QStringLiteral("frmProjQry"),
                    m_picks.projectField);
    }

    // File > Print over the editor of the busy contact, or of the project with the most related
    // contacts, every section checked; OK until the PDF is written into the data root.
    void printReport(const QString& name, bool project) {
        Measurement m = measurement(name, QStringLiteral("ms"), 500.0);
        const auto count = [](const char* sql, int id) {
            return g_dbLocal->Query(QString::fromLatin1(sql), {id}).rows.value(0).value(0).toInt();
        };
        int id = m_picks.busyContact;
        if (project) {
            id = g_dbLocal
                     ->Query(QStringLiteral("SELECT fkProjID FROM RelateProject GROUP BY fkProjID "
                                            "ORDER BY COUNT(*) DESC, fkProjID LIMIT 1"),
                             {})
                     .rows.value(0)
                     .value(0)
                     .toInt();
        }
        const QString editor = project ? QStringLiteral("frmProjEntry") : QStringLiteral("frmContEntry");
        goHome();
        (project ? g_lngCurProjID : g_lngCurContID) = id;
        modGeneral::CloseAllChildForms();
        ui::ScreenRegistry::instance().openRequired(editor);
        requireScreen(editor);
        settle();
        m_window->findChild<QAction*>(QStringLiteral("mnuFilePrint"))->trigger();
        QWidget* dialog =
            requireScreen(project ? QStringLiteral("frmPrintProject") : QStringLiteral("frmPrintContact"));
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) box->setChecked(true);
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("cmdOpts(0)"));
        const QString pdf = QDir(m_options.dataDir).filePath(name + QStringLiteral(".pdf"));
        ui::SetPrinterOutputFile(pdf);
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            QFile::remove(pdf);
            const auto start = SteadyClock::now();
            ok->click();
            if (!QFile::exists(pdf)) throw Failure((name + ": no PDF was printed").toStdString());
            add(m, rep, msSince(start));
        }
        ui::SetPrinterOutputFile(QString());
        dialog->close();
        settle();
        m_report.measurements << m;
        if (project) {
            m_report.notes << QStringLiteral("%1: ProjID %2, %3 user-defined values, %4 related contacts")
                                  .arg(name)
                                  .arg(id)
                                  .arg(count("SELECT COUNT(*) FROM PUFldValues WHERE fkProjID = ?", id))
                                  .arg(count("SELECT COUNT(*) FROM RelateProject WHERE fkProjID = ?", id));
        } else {
            m_report.notes << QStringLiteral(
                                  "%1: ContID %2, %3 user-defined values, %4 related contacts, %5 related "
                                  "projects")
                                  .arg(name)
                                  .arg(id)
                                  .arg(count("SELECT COUNT(*) FROM CUFldValues WHERE fkContID = ?", id))
                                  .arg(count("SELECT COUNT(*) FROM RelateCont WHERE MasterContID = ?", id))
                                  .arg(count("SELECT COUNT(*) FROM RelateProject WHERE fkContID = ?", id));
        }
    }

    // File > Database Utilities > Backup Data ...: the copy written, checked and put in place, the
    // progress window gone.
    void backup() {
        maintenance(QStringLiteral("backup"), "mnuFileBackupDB", true, QString(), ui::Answer::OK,
                    [this] { bare::Backup(core::DataRoot::DatabasePath(), scratchFile("bench-copy.db")); });
    }

    // Restore Data ..., its question answered Yes: the backup checked, the database copied aside, the
    // backup copied in and checked, the database opened again and the home screen back. The backup
    // is the one the step before made, of the data every step before has read; without it (--only)
    // one is made first.
    void restore() {
        if (!QFileInfo::exists(core::DataRoot::BackupPath())) {
            m_trace.reset();
            utility("mnuFileBackupDB", true, QString(), ui::Answer::OK);
        }
        maintenance(QStringLiteral("restore"), "mnuFileRestoreDB", true,
                    QStringLiteral("Restoring the Database from backup files"), ui::Answer::Yes, [this] {
                        bare::Restore(core::DataRoot::DatabasePath(), core::DataRoot::BackupPath(),
                                      scratchFile("bench-aside.db"));
                    });
    }

    // Compact Database and Repair Database, until their closing message is answered.
    void compact() {
        maintenance(QStringLiteral("compact"), "mnuFileCompDB", false,
                    QStringLiteral("The database was sucessfully compacted"), ui::Answer::OK,
                    [] { bare::Compact(core::DataRoot::DatabasePath()); });
    }
    void repair() {
        maintenance(QStringLiteral("repair"), "mnuFileRepDB", false,
                    QStringLiteral("The Database was sucessfully repaired."), ui::Answer::OK,
                    [] { bare::Repair(core::DataRoot::DatabasePath()); });
    }

private:
    // The Backup/Restore window closes itself on the third tick of its timer, 2.1 s after the copy at
    // its own pace; timed at this one, the figure is the step's work and its window, not that wait.
    static constexpr int kBackRestTickMs = 10;

    // One figure beside the bare SQLite work of the same step (see BareSqlite.h), both in every
    // repetition on the same file, the step first: `step` gives its time, `bareWork` is timed here;
    // and the ratio of the two.
    void besideSqlite(const QString& name, double ratioTarget, const std::function<double()>& step,
                      const std::function<void()>& bareWork) {
        Measurement total = measurement(name, QStringLiteral("ms"), std::nullopt);
        Measurement direct =
            measurement(name + QStringLiteral(".sqlite"), QStringLiteral("ms"), std::nullopt);
        Measurement ratio = measurement(name + QStringLiteral(".ratio"), QStringLiteral("x"), ratioTarget);
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            const double ms = step();
            const auto start = SteadyClock::now();
            bareWork();
            const double bareMs = msSince(start);
            add(total, rep, ms);
            add(direct, rep, bareMs);
            add(ratio, rep, ms / std::max(bareMs, 1e-6));
        }
        m_report.measurements << total << direct << ratio;
    }

    // A Database Utilities command from the home screen beside SQLite's part of it.
    void maintenance(const QString& name, const char* command, bool progressWindow, const QString& box,
                     ui::Answer answer, const std::function<void()>& bareWork) {
        // The restore closes the connection the trace watches and opens another.
        m_trace.reset();
        struct Ticks {
            int before = frmBackRest::TickInterval();
            ~Ticks() { frmBackRest::SetTickInterval(before); }
        } ticks;
        frmBackRest::SetTickInterval(kBackRestTickMs);
        besideSqlite(
            name, 1.3,
            [&] {
                goHome();
                return utility(command, progressWindow, box, answer);
            },
            bareWork);
        m_trace = std::make_unique<StatementTrace>(g_dbLocal->Connection().getHandle());
    }

    // The command from the File menu until the window is back at rest: the box that ends it (`box`,
    // how its text begins, when it has one) answered, the Backup/Restore window (`progressWindow`)
    // come and gone, the database open, the home screen shown, no box or modal window up and the
    // pointer an arrow. Gives the milliseconds.
    double utility(const char* command, bool progressWindow, const QString& box, ui::Answer answer) {
        auto* action = m_window->findChild<QAction*>(QLatin1String(command));
        if (!action) throw Failure(std::string("the main window lacks the command ") + command);
        std::optional<ExpectedMessage> expected;
        if (!box.isEmpty()) expected.emplace(box, answer);
        const QString backRest = QStringLiteral("frmBackRest");
        ShownWatch shown(backRest);
        const auto atRest = [&] {
            const QWidget* home = ui::ScreenRegistry::instance().find(QStringLiteral("frmHome"));
            return (!expected || expected->count() > 0) && (!progressWindow || shown.seen()) &&
                   !windowShown(backRest) && g_dbLocal && home && home->isVisible() &&
                   !QApplication::activeModalWidget() && !QApplication::overrideCursor();
        };
        const auto start = SteadyClock::now();
        action->trigger();
        if (!atRest()) {
            // The step may run on while the event loop does: looked at every few milliseconds.
            QEventLoop loop;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
                if (atRest() || msSince(start) > 600000) loop.quit();
            });
            poll.start(2);
            loop.exec();
        }
        settle();
        const double ms = msSince(start);
        if (!atRest()) throw Failure(std::string(command) + " did not bring the window back to rest");
        if (expected && expected->count() != 1)
            throw Failure(std::string(command) + " did not end with its one message");
        return ms;
    }

    QString scratchFile(const char* name) const {
        return QDir(m_options.dataDir).filePath(QLatin1String(name));
    }

    // One step's figure: before each repetition `prepare` (untimed), then `act` timed together with
    // the posted work it leaves, then `after` (untimed); a warm-up and the timed repetitions.
    void timed(const QString& name, double target, const std::function<void()>& prepare,
               const std::function<void()>& act, const std::function<void()>& after = nullptr) {
        Measurement m = measurement(name, QStringLiteral("ms"), target);
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            if (prepare) prepare();
            const auto start = SteadyClock::now();
            act();
            settle();
            add(m, rep, msSince(start));
            if (after) after();
        }
        m_report.measurements << m;
    }

    // Runs startOnce in a fresh process; gives the time from its launch until it said the home screen
    // was shown, and the main window's part of it as the process measured it.
    std::pair<double, double> startProcess(bool unclean) {
        QProcess child;
        child.setProgram(m_options.program.isEmpty() ? QCoreApplication::applicationFilePath()
                                                     : m_options.program);
        QStringList arguments{QStringLiteral("--one-start"), QStringLiteral("--data-dir"), m_options.dataDir,
                              QStringLiteral("--today"), m_options.today.toString(Qt::ISODate)};
        if (unclean) arguments << QStringLiteral("--unclean");
        child.setArguments(arguments);
        const auto start = SteadyClock::now();
        child.start();
        double launchToHome = -1;
        double windowToHome = -1;
        QStringList lines;
        while (child.waitForReadyRead(120000)) {
            while (child.canReadLine()) {
                const QString line = QString::fromUtf8(child.readLine()).trimmed();
                if (line.startsWith(QLatin1String("home ")) && launchToHome < 0) {
                    launchToHome = msSince(start);
                    windowToHome = line.mid(5).toDouble();
                } else {
                    lines << line;
                }
            }
        }
        child.waitForFinished(120000);
        lines << QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1String("box "))) m_report.prompts << line.mid(4);
            if (line.startsWith(QLatin1String("error "))) m_report.errors << line.mid(6);
        }
        // The unclean one ends by being killed; every other one by returning.
        const bool endedAsMeant = unclean
                                      ? child.exitStatus() == QProcess::CrashExit
                                      : child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
        // Its warnings are said only when it failed: each start would repeat them.
        if (launchToHome < 0 || !endedAsMeant) {
            throw Failure(("a start in a process of its own failed: " + child.errorString() + u'\n' +
                           QString::fromLocal8Bit(child.readAllStandardError()))
                              .toStdString());
        }
        return {launchToHome, windowToHome};
    }

    // A dialog opened by `open` until it is shown, its lists filled, then closed by Cancel (untimed).
    // Gives what `count` counted in the last one.
    int dialogStep(const QString& name, const QString& form, double target, const std::function<void()>& open,
                   const std::function<int(QDialog*)>& count = nullptr) {
        QDialog* dialog = nullptr;
        int counted = 0;
        timed(
            name, target, nullptr,
            [&] {
                open();
                dialog = qobject_cast<QDialog*>(requireScreen(form));
                if (!dialog) throw Failure((form + " is not a dialog").toStdString());
            },
            [&] {
                if (count) {
                    counted = count(dialog);
                    if (counted == 0)
                        throw Failure(("the dialog " + form + " came up without its list").toStdString());
                }
                dialog->reject();
                settle();
                if (waitForScreen(form, {}, 0))
                    throw Failure(("the dialog " + form + " did not close").toStdString());
            });
        return counted;
    }
    static std::function<int(QDialog*)> listCount(const char* name) {
        return [name](QDialog* dialog) {
            auto* list = dialog->findChild<ui::ListBox*>(QLatin1String(name));
            return list ? int(list->count()) : 0;
        };
    }

    // A screen step beside the same statements straight on SQLite (see runCompared).
    void compared(const QString& name, double target, const std::function<void()>& setup,
                  const std::function<void()>& action) {
        Compared c = comparedMeasurements(name, target, 3.0);
        runCompared(c, nullptr, setup, action);
    }

    const QWidget* recordEditor(const QString& name, const QString& form, double target,
                                const std::function<void()>& choose) {
        QWidget* editor = nullptr;
        timed(
            name, target, [this] { goHome(); },
            [&] {
                choose();
                modGeneral::CloseAllChildForms();
                ui::ScreenRegistry::instance().openRequired(form);
                editor = requireScreen(form);
            });
        return editor;
    }
    void noteHistory(const QString& what, const QWidget* editor) {
        if (auto* history = editor->findChild<ui::ListView*>(QStringLiteral("lvHistPane")))
            m_report.notes
                << QStringLiteral("%1: the History tab lists %2 items").arg(what).arg(history->rowCount());
    }
    QWidget* openContactEditor(int contact) {
        goHome();
        g_lngCurContID = contact;
        modGeneral::CloseAllChildForms();
        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmContEntry"));
        QWidget* editor = requireScreen(QStringLiteral("frmContEntry"));
        settle();
        return editor;
    }
    QWidget* openProjectEditor() {
        goHome();
        g_lngCurProjID = m_picks.busyProject;
        modGeneral::CloseAllChildForms();
        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmProjEntry"));
        QWidget* editor = requireScreen(QStringLiteral("frmProjEntry"));
        settle();
        return editor;
    }
    static void clickButton(QWidget* screen, const char* name) {
        auto* button = screen->findChild<QAbstractButton*>(QLatin1String(name));
        if (!button) throw Failure(std::string("no button ") + name);
        button->click();
    }

    void viewList(const QString& step, const QString& command, const QString& screen, double target) {
        QWidget* list = nullptr;
        compared(
            step, target, [&] { goHome(); },
            [&] {
                m_view.value(command)->trigger();
                list = requireScreen(screen);
            });
        noteRows(step, list);
    }

    // The screen of a View command, opened unless it is open already.
    QWidget* openScreen(const QString& command, const QString& form) {
        if (QWidget* screen = ui::ScreenRegistry::instance().find(form)) return screen;
        m_view.value(command)->trigger();
        QWidget* screen = requireScreen(form);
        settle();
        return screen;
    }
    reports::QueryScreen* queryScreen(const QString& command, const QString& form) {
        auto* screen = qobject_cast<reports::QueryScreen*>(openScreen(command, form));
        if (!screen) throw Failure((form + " is not a query screen").toStdString());
        return screen;
    }
    // A field picked as the user picks it; its values are listed.
    static void pickField(reports::QueryScreen* screen, const QString& field) {
        const int index = screen->cboUserDef->findText(field);
        if (index < 0) throw Failure(("the field list lacks " + field).toStdString());
        screen->cboUserDef->setCurrentIndex(index);
        Q_EMIT screen->cboUserDef->activated(index);
    }
    // An operator clicked, a value typed and Enter.
    static void runQuery(reports::QueryScreen* screen, int op, const QString& value) {
        screen->optWhere[op]->click();
        screen->cboValue->setEditText(value);
        QTest::keyClick(screen->cboValue, Qt::Key_Return);
    }
    reports::QueryScreen* fieldPicked(const QString& command, const QString& form, const QString& field) {
        reports::QueryScreen* screen = queryScreen(command, form);
        if (screen->cboUserDef->text() != field) {
            pickField(screen, field);
            settle();
        }
        return screen;
    }
    void queryStep(const QString& name, const QString& command, const QString& form, const QString& field,
                   int op, const QString& value, double target = 300.0) {
        reports::QueryScreen* screen = nullptr;
        compared(
            name, target, [&] { screen = fieldPicked(command, form, field); },
            [&] { runQuery(screen, op, value); });
        noteRows(name, screen);
    }
    void queryExport(const QString& name, const QString& command, const QString& form, const QString& field) {
        reports::QueryScreen* screen = fieldPicked(command, form, field);
        runQuery(screen, 3, QString());
        settle();
        listExport(name, screen, 300.0);
    }

    // "Save File As ..." on a list screen, the save dialog answered with a file in the data root,
    // until the success message; the file must hold every row.
    void listExport(const QString& name, QWidget* screen, double target) {
        auto* list = screen->findChild<ui::ListView*>(QStringLiteral("lvResult"));
        auto* link = screen->findChild<QLabel*>(QStringLiteral("lblSaveAs"));
        if (!list || !link)
            throw Failure((name + ": the screen has no list or no Save File As link").toStdString());
        if (list->rowCount() == 0) throw Failure((name + ": the list is empty").toStdString());
        const QString path = QDir(m_options.dataDir).filePath(name + QStringLiteral(".csv"));
        ChosenFile file(path);
        ExpectedMessage saved(QStringLiteral("The File was Sucessfully Created and Saved."), ui::Answer::OK);
        int count = 0;
        timed(
            name, target, [&] { QFile::remove(path); }, [&] { QTest::mouseClick(link, Qt::LeftButton); },
            [&] {
                if (saved.count() != ++count)
                    throw Failure((name + ": the export did not report its file as saved").toStdString());
            });
        qint64 lines = 0;
        QFile written(path);
        if (written.open(QIODevice::ReadOnly)) {
            // Read in pieces: the bench must not add a copy of a large file to the peak memory.
            QByteArray previous;
            while (!written.atEnd()) {
                const QByteArray block = written.read(1 << 16);
                lines += block.count("\r\n") + (previous.endsWith('\r') && block.startsWith('\n') ? 1 : 0);
                previous = block;
            }
            written.close();
        }
        if (lines != qint64(list->rowCount()) + 1)
            throw Failure((name + ": the exported file does not hold every row of the list").toStdString());
        m_report.notes << QStringLiteral("%1: %2 rows, %3 MB")
                              .arg(name)
                              .arg(list->rowCount())
                              .arg(double(QFileInfo(path).size()) / 1e6, 0, 'f', 1);
        QFile::remove(path);
    }

    // An entry of one of the screen's drop-down lists, chosen as a user chooses it.
    static void choose(QWidget* screen, const QString& boxName, int index) {
        auto* box = screen->findChild<QComboBox*>(boxName);
        if (!box || box->count() <= index)
            throw Failure(("the screen has no entry to choose in " + boxName).toStdString());
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }

    // How many appointments start in the month of `day`, as the month view lists them.
    void noteMonth(const QString& step, const QDate& day) {
        const QDate first(day.year(), day.month(), 1);
        const db::Database::Rows rows =
            g_dbLocal->Query(QStringLiteral("SELECT COUNT(*) FROM Appts WHERE DateFrom BETWEEN ? AND ?"),
                             {first, first.addMonths(1).addDays(-1)});
        m_report.notes << QStringLiteral("%1: %2 appointments in %3")
                              .arg(step)
                              .arg(rows.rows.value(0).value(0).toInt())
                              .arg(first.toString(QStringLiteral("MM/yyyy")));
    }

    void noteRows(const QString& step, QWidget* screen) {
        auto* list = screen ? screen->findChild<ui::ListView*>(QStringLiteral("lvResult")) : nullptr;
        if (!list || list->rowCount() == 0) throw Failure((step + ": the list is empty").toStdString());
        m_report.notes << QStringLiteral("%1: %2 rows listed").arg(step).arg(list->rowCount());
    }

    void goHome() {
        QPointer<QWidget> old = ui::ScreenRegistry::instance().find(QStringLiteral("frmHome"));
        if (old && ui::ScreenRegistry::instance().openForms().size() == 1) return;
        m_view.value(QStringLiteral("Home"))->trigger();
        requireScreen(QStringLiteral("frmHome"), old);
        settle();
    }

    void runCompared(Compared& c, const StatementTrace::Filter& filter, const std::function<void()>& setup,
                     const std::function<void()>& action) {
        // Per statement shape, summed over the timed repetitions: runs, rows, program and SQLite time.
        struct Shape {
            int runs = 0;
            qint64 rows = 0;
            qint64 programNs = 0;
            qint64 sqliteNs = 0;
        };
        QHash<QByteArray, QByteArray> shapeOf;
        QMap<QByteArray, Shape> shapes;

        QList<CapturedStatement> statements;
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            setup();
            m_trace->begin(filter, rep == 0);
            const auto start = SteadyClock::now();
            action();
            settle();
            const double ms = msSince(start);
            m_trace->end();
            add(c.total, rep, ms);
            add(c.inProgram, rep, double(m_trace->elapsedNs()) / 1e6);
            if (rep == 0) {
                statements = m_trace->captured();
                if (m_trace->unreadable() > 0)
                    throw Failure("the values bound to a statement could not be read back");
                if (statements.isEmpty())
                    throw Failure(("no statement was seen during " + c.total.name).toStdString());
                for (const CapturedStatement& s : std::as_const(statements)) {
                    const QByteArray shape = statementShape(s.sql);
                    shapeOf.insert(s.sql, shape);
                    ++shapes[shape].runs;
                }
            } else {
                const QHash<QByteArray, qint64>& bySql = m_trace->elapsedNsBySql();
                for (auto it = bySql.cbegin(); it != bySql.cend(); ++it)
                    shapes[shapeOf.value(it.key(), it.key())].programNs += it.value();
            }
        }

        // SQLite's runs follow one another, so they measure the statements themselves rather than
        // caches emptied by the screens in between: a statement of a few microseconds would
        // otherwise be timed by what the screens left behind.
        DirectReplay replay(core::DataRoot::DatabasePath());
        qint64 rows = 0;
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            const DirectReplay::Result r = replay.run(statements);
            add(c.direct, rep, double(r.ns) / 1e6);
            rows = r.rows;
            if (rep == 0) continue;
            for (auto it = r.nsBySql.cbegin(); it != r.nsBySql.cend(); ++it) {
                Shape& shape = shapes[shapeOf.value(it.key())];
                shape.sqliteNs += it.value();
                shape.rows += r.rowsBySql.value(it.key());
            }
        }
        c.ratio.first = c.inProgram.first / std::max(c.direct.first, 1e-6);
        for (int i = 0; i < c.direct.values.size(); ++i)
            c.ratio.values << c.inProgram.values[i] / std::max(c.direct.values[i], 1e-6);

        for (int rep = 0; rep <= m_options.reps; ++rep) {
            const auto start = SteadyClock::now();
            for (const CapturedStatement& s : std::as_const(statements)) {
                QVariantList params;
                for (const BoundValue& value : s.params) params << value.value;
                // Streamed, as the list loaders read their rows: no copy of the whole result.
                g_dbLocal->ForEachRow(QString::fromUtf8(s.sql), params, [](const db::Database::RowView& row) {
                    for (int i = 0; i < row.columnCount(); ++i) {
                        if (!row.isNull(i)) (void)row.text(i);
                    }
                });
            }
            add(c.layer, rep, msSince(start));
        }
        c.layerRatio.first = c.layer.first / std::max(c.direct.first, 1e-6);
        for (int i = 0; i < c.direct.values.size(); ++i)
            c.layerRatio.values << c.layer.values[i] / std::max(c.direct.values[i], 1e-6);

        m_report.notes << QStringLiteral("%1: %2 statement runs, %3 rows; whole step / SQLite = %4x")
                              .arg(c.total.name)
                              .arg(statements.size())
                              .arg(rows)
                              .arg(c.total.median() / std::max(c.direct.median(), 1e-6), 0, 'f', 1);
        const double reps = m_options.reps;
        for (auto it = shapes.cbegin(); it != shapes.cend(); ++it) {
            m_report.notes << QStringLiteral("  %1x, %2 rows, program %3 ms, SQLite %4 ms: %5")
                                  .arg(it->runs)
                                  .arg(double(it->rows) / reps, 0, 'f', 0)
                                  .arg(formatNumber(double(it->programNs) / reps / 1e6))
                                  .arg(formatNumber(double(it->sqliteNs) / reps / 1e6))
                                  .arg(QString::fromUtf8(it.key()));
        }
        m_report.measurements << c.total << c.inProgram << c.direct << c.ratio << c.layer << c.layerRatio;
    }

    const BenchOptions& m_options;
    BenchReport& m_report;
    const Picks& m_picks;
    std::unique_ptr<frmMain> m_window;
    std::unique_ptr<StatementTrace> m_trace;
    QLineEdit* m_search = nullptr;
    QHash<QString, QAction*> m_view;  // the View commands by name: "Home" for mnuViewHome
};

// The data root, settings file and clock, set the way the program's start sets them.
void startAsTheProgram(const BenchOptions& options) {
    core::DataRoot::Set(options.dataDir);
    settings::SetFile(core::DataRoot::SettingsPath());
    QApplication::setQuitOnLastWindowClosed(false);
    core::Clock::SetNow(QDateTime(options.today, QTime(10, 0)));
}

// Errors the program trapped and logged while the bench ran.
void collectLoggedErrors(const QString& path, qint64 fromRowid, BenchReport& report) {
    std::unique_ptr<db::Database> database = db::Database::Open(path, core::ProgramSchema());
    const db::Database::Rows rows = database->Query(
        QStringLiteral("SELECT ModName, ErrNum, ErrDesc FROM ErrLog WHERE rowid > ? ORDER BY rowid"),
        {fromRowid});
    for (const QVariantList& row : rows.rows) {
        report.errors << QStringLiteral("logged by %1: %2 %3")
                             .arg(row.value(0).toString(), row.value(1).toString(), row.value(2).toString());
    }
}

// The steps in the order they run; the start-up ones first, each start in a process of its own,
// before the window the others share opens.
// `compared`: the step also runs its statements straight on SQLite (the .ratio and .layer_ratio
// figures).
// `bare`: the step is timed beside the bare SQLite work it does (the .sqlite and .ratio figures).
struct Step {
    const char* name;
    bool compared;
    void (*run)(Session&);
    bool bare = false;
};

const Step kSteps[] = {
    {"startup", false, [](Session& s) { s.startup(); }},
    {"startup_unclean", false, [](Session& s) { s.startupUnclean(); }, true},
    {"search_one", true,
     [](Session& s) {
         s.search(QStringLiteral("search_one"), s.picks().oneHit, QStringLiteral("frmContEntry"), 40.0);
     }},
    {"search_many", true,
     [](Session& s) {
         s.search(QStringLiteral("search_many"), s.picks().manyHits, QStringLiteral("frmNameSrchResult"),
                  100.0);
     }},
    {"editor_open", false, [](Session& s) { s.editorOpen(); }},
    {"project_open", false, [](Session& s) { s.projectOpen(); }},
    {"project_picker", false, [](Session& s) { s.projectPicker(); }},
    {"contact_picker", false, [](Session& s) { s.contactPicker(); }},
    {"todo_dialog", false,
     [](Session& s) {
         s.itemDialog(QStringLiteral("todo_dialog"), QStringLiteral("frmToDo"),
                      [] { modGeneral::OpenToDo(modGeneral::NewItem()); });
     }},
    {"note_dialog", false,
     [](Session& s) {
         s.itemDialog(QStringLiteral("note_dialog"), QStringLiteral("frmNotes"),
                      [] { modGeneral::OpenNote(modGeneral::NewItem()); });
     }},
    {"appt_dialog", false,
     [](Session& s) {
         s.itemDialog(QStringLiteral("appt_dialog"), QStringLiteral("frmAppt"),
                      [] { modGeneral::OpenAppt(modGeneral::NewItem()); });
     }},
    {"todo_edit", false,
     [](Session& s) {
         s.itemDialog(QStringLiteral("todo_edit"), QStringLiteral("frmToDo"),
                      [n = s.picks().storedToDo] { modGeneral::OpenToDo(modGeneral::StoredItem(n)); });
     }},
    {"note_edit", false,
     [](Session& s) {
         s.itemDialog(QStringLiteral("note_edit"), QStringLiteral("frmNotes"),
                      [n = s.picks().storedNote] { modGeneral::OpenNote(modGeneral::StoredItem(n)); });
     }},
    {"appt_edit", false,
     [](Session& s) {
         s.itemDialog(QStringLiteral("appt_edit"), QStringLiteral("frmAppt"),
                      [n = s.picks().storedAppt] { modGeneral::OpenAppt(modGeneral::StoredItem(n)); });
     }},
    {"name_details", false,
     [](Session& s) {
         s.contactEditorDialog(QStringLiteral("name_details"), QStringLiteral("frmNameDetail"), "picPop(0)");
     }},
    {"address_details", false,
     [](Session& s) {
         s.contactEditorDialog(QStringLiteral("address_details"), QStringLiteral("frmAddrDetail"),
                               "picPop(3)");
     }},
    {"user_fields", false,
     [](Session& s) {
         s.contactEditorDialog(QStringLiteral("user_fields"), QStringLiteral("frmUserFields"), "cmdUserFld");
     }},
    {"linked_contact", false,
     [](Session& s) {
         s.contactEditorDialog(QStringLiteral("linked_contact"), QStringLiteral("frmNewLinkCont"),
                               "cmdRelCon");
     }},
    {"reminder_popup", false, [](Session& s) { s.reminderPopup(); }},
    {"todo_print", false,
     [](Session& s) {
         s.itemPrint(QStringLiteral("todo_print"), QStringLiteral("frmToDo"),
                     [n = s.picks().storedToDo] { modGeneral::OpenToDo(modGeneral::StoredItem(n)); });
     }},
    {"note_print", false,
     [](Session& s) {
         s.itemPrint(QStringLiteral("note_print"), QStringLiteral("frmNotes"),
                     [n = s.picks().storedNote] { modGeneral::OpenNote(modGeneral::StoredItem(n)); });
     }},
    {"appt_print", false,
     [](Session& s) {
         s.itemPrint(QStringLiteral("appt_print"), QStringLiteral("frmAppt"),
                     [n = s.picks().storedAppt] { modGeneral::OpenAppt(modGeneral::StoredItem(n)); });
     }},
    {"report_contact", false, [](Session& s) { s.printReport(QStringLiteral("report_contact"), false); }},
    {"report_project", false, [](Session& s) { s.printReport(QStringLiteral("report_project"), true); }},
    {"month_open", false, [](Session& s) { s.monthOpen(); }},
    {"month_change", false, [](Session& s) { s.monthChange(); }},
    {"week_open", false,
     [](Session& s) {
         s.hourViewOpen(QStringLiteral("week_open"), QStringLiteral("frmCalWeek"), 300.0,
                        [] { calendar::OpenTab(calendar::kWeekTab); });
     }},
    {"week_arrow", false,
     [](Session& s) {
         s.hourViewArrow(QStringLiteral("week_arrow"), QStringLiteral("frmCalWeek"), 250.0,
                         [] { calendar::OpenTab(calendar::kWeekTab); });
     }},
    {"day_open", false,
     [](Session& s) {
         s.hourViewOpen(QStringLiteral("day_open"), QStringLiteral("frmCalDay"), 150.0,
                        [] { calendar::OpenDayView(true); });
     }},
    {"day_arrow", false,
     [](Session& s) {
         s.hourViewArrow(QStringLiteral("day_arrow"), QStringLiteral("frmCalDay"), 100.0,
                         [] { calendar::OpenDayView(true); });
     }},
    {"apptlist_upcoming", true, [](Session& s) { s.apptListUpcoming(); }},
    {"apptlist_all", true, [](Session& s) { s.apptListAll(); }},
    {"home_reload", true, [](Session& s) { s.homeReload(); }},
    {"names_list", true, [](Session& s) { s.namesList(); }},
    {"names_group_all", true, [](Session& s) { s.namesGroupAll(); }},
    {"names_export", false, [](Session& s) { s.namesExport(); }},
    {"projects_list", true, [](Session& s) { s.projectsList(); }},
    {"projects_export", false, [](Session& s) { s.projectsExport(); }},
    {"todo_list", true, [](Session& s) { s.todoList(); }},
    {"todo_export", false, [](Session& s) { s.todoExport(); }},
    {"cquery_values", true, [](Session& s) { s.contactValues(); }},
    {"cquery_many", true, [](Session& s) { s.contactMany(); }},
    {"cquery_one", true, [](Session& s) { s.contactOne(); }},
    {"cquery_export", false, [](Session& s) { s.contactExport(); }},
    {"pquery_many", true, [](Session& s) { s.projectMany(); }},
    {"pquery_export", false, [](Session& s) { s.projectExport(); }},
    // Last, as they replace or rewrite the database. The backup is made first, of the data every step
    // before has read, so that the restore gives back the same rows.
    {"backup", false, [](Session& s) { s.backup(); }, true},
    {"restore", false, [](Session& s) { s.restore(); }, true},
    {"compact", false, [](Session& s) { s.compact(); }, true},
    {"repair", false, [](Session& s) { s.repair(); }, true},
};

// The first steps, which start the program in processes of their own.
constexpr int kFreshProcessSteps = 2;

}  // namespace

// ---------------------------------------------------------------------------------------------

double Measurement::quantile(double q) const {
    if (values.isEmpty()) return first;
    QList<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const double at = q * double(sorted.size() - 1);
    const auto lo = qsizetype(std::floor(at));
    const auto hi = qsizetype(std::ceil(at));
    return sorted[lo] + (sorted[hi] - sorted[lo]) * (at - double(lo));
}

std::optional<bool> Measurement::pass() const {
    if (!target) return std::nullopt;
    return median() < *target;
}

const Measurement* BenchReport::find(const QString& name) const {
    for (const Measurement& m : measurements) {
        if (m.name == name) return &m;
    }
    return nullptr;
}

QStringList measurementNames() {
    QStringList names;
    for (const Step& step : kSteps) names << QLatin1String(step.name);
    return names;
}

namespace {

// The steps that have `flag` set.
QStringList stepNames(bool Step::*flag) {
    QStringList names;
    for (const Step& step : kSteps) {
        if (step.*flag) names << QLatin1String(step.name);
    }
    return names;
}

}  // namespace

QStringList comparedStepNames() {
    return stepNames(&Step::compared);
}

QStringList bareStepNames() {
    return stepNames(&Step::bare);
}

BenchReport runBench(const BenchOptions& options) {
    BenchReport report;
    PromptRecorder prompts(report.prompts);
    auto wanted = [&options](const char* name) {
        return options.only.isEmpty() || options.only == QLatin1String(name);
    };

    startAsTheProgram(options);
    const QString path = core::DataRoot::DatabasePath();

    Picks picks;
    bool picked = false;
    Session session(options, report, picks);
    try {
        seedIfEmpty(options, path, report);
        {
            std::unique_ptr<db::Database> database = db::Database::Open(path, core::ProgramSchema());
            picks = pickFromData(*database, report);
            picked = true;
        }
        const Step* const shared = std::begin(kSteps) + kFreshProcessSteps;
        for (const Step* step = std::begin(kSteps); step != shared; ++step) {
            if (!wanted(step->name)) continue;
            progress(QLatin1String(step->name) + QStringLiteral(" ..."));
            step->run(session);
        }
        const Step* const end = std::end(kSteps);
        if (std::any_of(shared, end, [&](const Step& step) { return wanted(step.name); })) {
            session.open();
            for (const Step* step = shared; step != end; ++step) {
                if (!wanted(step->name)) continue;
                progress(QLatin1String(step->name) + QStringLiteral(" ..."));
                step->run(session);
                report.notes
                    << QStringLiteral("memory after %1: %2").arg(QLatin1String(step->name), memoryInUse());
            }
            session.close();
        }
    } catch (const db::DbError& e) {
        report.errors << QStringLiteral("database error %1: %2").arg(e.number()).arg(e.description());
    } catch (const std::exception& e) {
        report.errors << QString::fromUtf8(e.what());
    }
    try {
        session.close();
    } catch (const std::exception& e) {
        report.errors << QString::fromUtf8(e.what());
    }
    shell::SingleInstance::release();

    if (picked) {
        try {
            collectLoggedErrors(path, picks.errLogRows, report);
        } catch (const std::exception& e) {
            report.errors << QString::fromUtf8(e.what());
        }
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    Measurement memory = measurement(QStringLiteral("peak_memory"), QStringLiteral("MB"), 200.0);
    memory.first = double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    memory.values << memory.first;
    report.measurements << memory;

    core::Clock::Reset();
    return report;
}

int startOnce(const BenchOptions& options, bool unclean) {
    QStringList prompts;
    PromptRecorder recorder(prompts);
    startAsTheProgram(options);
    QStringList errors;
    try {
        const auto start = SteadyClock::now();
        std::unique_ptr<frmMain> window = startWindow();
        std::printf("home %.3f\n", msSince(start));
        std::fflush(stdout);
        if (unclean) {
            // Saves the next start finds only in the write-ahead log, which in the end change nothing
            // (a save of the same value would not even be written).
            const QVariant name =
                g_dbLocal->Query(QStringLiteral("SELECT CompName FROM Company"), {}).rows.value(0).value(0);
            g_dbLocal->Execute(QStringLiteral("UPDATE Company SET CompName = ?"), {QStringLiteral("-")});
            g_dbLocal->Execute(QStringLiteral("UPDATE Company SET CompName = ?"), {name});
            std::raise(SIGKILL);
        }
        closeWindow(window);
    } catch (const db::DbError& e) {
        errors << QStringLiteral("database error %1: %2").arg(e.number()).arg(e.description());
    } catch (const std::exception& e) {
        errors << QString::fromUtf8(e.what());
    }
    shell::SingleInstance::release();
    for (const QString& prompt : prompts) std::printf("box %s\n", qPrintable(prompt));
    for (const QString& error : errors) std::printf("error %s\n", qPrintable(error));
    return prompts.isEmpty() && errors.isEmpty() ? 0 : 1;
}

QJsonObject toJson(const BenchReport& report, const BenchOptions& options) {
    QJsonArray measurements;
    for (const Measurement& m : report.measurements) {
        QJsonObject o{{"name", m.name},
                      {"unit", m.unit},
                      {"reps", int(m.values.size())},
                      {"first", m.first},
                      {"median", m.median()},
                      {"min", m.quantile(0)},
                      {"max", m.quantile(1)},
                      {"q1", m.quantile(0.25)},
                      {"q3", m.quantile(0.75)},
                      {"target", m.target ? QJsonValue(*m.target) : QJsonValue()},
                      {"pass", m.pass() ? QJsonValue(*m.pass()) : QJsonValue()}};
        measurements.append(o);
    }
    return {{"data_dir", options.dataDir},
            {"reps", options.reps},
            {"today", options.today.toString(Qt::ISODate)},
            {"generated", QDateTime::currentDateTime().toString(Qt::ISODate)},
            {"ok", report.ok()},
            {"measurements", measurements},
            {"prompts", QJsonArray::fromStringList(report.prompts)},
            {"errors", QJsonArray::fromStringList(report.errors)},
            {"notes", QJsonArray::fromStringList(report.notes)}};
}

bool writeJson(const QString& path, const BenchReport& report, const BenchOptions& options) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(QJsonDocument(toJson(report, options)).toJson()) >= 0 && file.flush();
}

QString formatTable(const BenchReport& report) {
    QString out;
    auto line = [&out](const QStringList& cells) {
        static const int widths[] = {-24, -4, 9, 9, 9, 9, 9, 9, 8, -4};
        QString row;
        for (int i = 0; i < cells.size(); ++i) row += QStringLiteral("%1 ").arg(cells[i], widths[i]);
        while (row.endsWith(u' ')) row.chop(1);
        out += row + u'\n';
    };
    line({QStringLiteral("measurement"), QStringLiteral("unit"), QStringLiteral("first"),
          QStringLiteral("median"), QStringLiteral("min"), QStringLiteral("max"), QStringLiteral("q1"),
          QStringLiteral("q3"), QStringLiteral("target"), QStringLiteral("")});
    for (const Measurement& m : report.measurements) {
        const std::optional<bool> pass = m.pass();
        line({m.name, m.unit, formatNumber(m.first), formatNumber(m.median()), formatNumber(m.quantile(0)),
              formatNumber(m.quantile(1)), formatNumber(m.quantile(0.25)), formatNumber(m.quantile(0.75)),
              m.target ? QStringLiteral("< ") + QString::number(*m.target) : QString(),
              pass ? (*pass ? QStringLiteral("PASS") : QStringLiteral("MISS")) : QString()});
    }
    for (const QString& note : report.notes) out += QStringLiteral("  ") + note + u'\n';
    for (const QString& prompt : report.prompts) out += QStringLiteral("BOX: ") + prompt + u'\n';
    for (const QString& error : report.errors) out += QStringLiteral("ERROR: ") + error + u'\n';
    return out;
}

}  // namespace bench
