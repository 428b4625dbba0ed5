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
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>

#include <SQLiteCpp/Database.h>

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
#include "seed/Seeder.h"
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

// The one box a step expects is answered with OK; any other goes on to the recorder.
class ExpectedMessage : public ui::PromptHandler {
public:
    explicit ExpectedMessage(QString text) : m_text(std::move(text)), m_previous(ui::promptHandler()) {
        ui::setPromptHandler(this);
    }
    ~ExpectedMessage() override { ui::setPromptHandler(m_previous); }
    ExpectedMessage(const ExpectedMessage&) = delete;
    ExpectedMessage& operator=(const ExpectedMessage&) = delete;

    ui::Answer message(const ui::MessageRequest& request) override {
        if (request.prompt == m_text) {
            ++m_count;
            return ui::Answer::OK;
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

// The posted work of the last step: layouts, the first paint, screens closed and deleted later.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The open screen of this name that is shown, other than `old`; nullptr when none comes in time.
QWidget* waitForScreen(const QString& name, const QPointer<QWidget>& old = {}) {
    const auto start = SteadyClock::now();
    for (;;) {
        for (QWidget* w : ui::ScreenRegistry::instance().openForms()) {
            if (w != old.data() && w->objectName() == name && w->isVisible()) return w;
        }
        if (msSince(start) > 60000) return nullptr;
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

    report.notes
        << QStringLiteral("one-hit search: \"%1\" (1 contact)").arg(picks.oneHit)
        << QStringLiteral("many-hit search: \"%1\" (%2 contacts)").arg(picks.manyHits).arg(picks.manyCount)
        << QStringLiteral("editor: ContID %1 with %2 history items")
               .arg(picks.busyContact)
               .arg(picks.busyItems)
        << QStringLiteral("project editor: ProjID %1 with %2 history items")
               .arg(picks.busyProject)
               .arg(picks.busyProjectItems);
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
    std::unique_ptr<db::Database> database = db::Database::Open(path, QStringLiteral("Contacts"));
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
// (binding, stepping and a value per cell, as a recordset reads them): that ratio is the layer's
// own overhead.
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

Compared comparedMeasurements(const QString& name, double target) {
    return {measurement(name, QStringLiteral("ms"), target),
            measurement(name + QStringLiteral(".program_sql"), QStringLiteral("ms"), std::nullopt),
            measurement(name + QStringLiteral(".sqlite"), QStringLiteral("ms"), std::nullopt),
            measurement(name + QStringLiteral(".ratio"), QStringLiteral("x"), std::nullopt),
            measurement(name + QStringLiteral(".layer"), QStringLiteral("ms"), std::nullopt),
            measurement(name + QStringLiteral(".layer_ratio"), QStringLiteral("x"), 3.0)};
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

    void startup() {
        Measurement m = measurement(QStringLiteral("startup"), QStringLiteral("ms"), 1000.0);
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            const auto start = SteadyClock::now();
            std::unique_ptr<frmMain> window = startWindow();
            add(m, rep, msSince(start));
            closeWindow(window);
        }
        m_report.measurements << m;
    }

    void open() {
        m_window = startWindow();
        // Its once-a-minute query must not land inside a timed step.
        if (auto* poll = m_window->findChild<QTimer*>(QStringLiteral("Timer1"))) poll->stop();
        m_search = m_window->findChild<QLineEdit*>(QStringLiteral("txtSrch"));
        m_viewHome = m_window->findChild<QAction*>(QStringLiteral("mnuViewHome"));
        m_viewNames = m_window->findChild<QAction*>(QStringLiteral("mnuViewNames"));
        m_viewCal = m_window->findChild<QAction*>(QStringLiteral("mnuViewCal"));
        m_viewProj = m_window->findChild<QAction*>(QStringLiteral("mnuViewProj"));
        m_viewToDo = m_window->findChild<QAction*>(QStringLiteral("mnuViewToDo"));
        if (!m_search || !m_viewHome || !m_viewNames || !m_viewCal || !m_viewProj || !m_viewToDo)
            throw Failure("the main window lacks its search box or a View command");
        m_trace = std::make_unique<StatementTrace>(g_dbLocal->Connection().getHandle());
    }

    void close() {
        if (!m_window) return;
        m_trace.reset();  // before the connection it watches closes
        closeWindow(m_window);
    }

    // Text typed into the search box, then Enter until the screen the search leads to is shown.
    void search(const QString& name, const QString& prefix, const QString& screen, double target) {
        Compared c = comparedMeasurements(name, target);
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

    // The contact editor opened the way a click on a contact opens it.
    void editorOpen() {
        Measurement m = measurement(QStringLiteral("editor_open"), QStringLiteral("ms"), 100.0);
        QWidget* editor = nullptr;
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            goHome();
            const auto start = SteadyClock::now();
            g_lngCurContID = m_picks.busyContact;
            modGeneral::CloseAllChildForms();
            ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmContEntry"));
            editor = requireScreen(QStringLiteral("frmContEntry"));
            settle();
            add(m, rep, msSince(start));
        }
        m_report.measurements << m;
        if (auto* history = editor->findChild<ui::ListView*>(QStringLiteral("lvHistPane"))) {
            m_report.notes
                << QStringLiteral("editor: the History tab lists %1 items").arg(history->rowCount());
        }
    }

    // The project editor opened the way a click on a project opens it.
    void projectOpen() {
        Measurement m = measurement(QStringLiteral("project_open"), QStringLiteral("ms"), 100.0);
        QWidget* editor = nullptr;
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            goHome();
            const auto start = SteadyClock::now();
            g_lngCurProjID = m_picks.busyProject;
            modGeneral::CloseAllChildForms();
            ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmProjEntry"));
            editor = requireScreen(QStringLiteral("frmProjEntry"));
            settle();
            add(m, rep, msSince(start));
        }
        m_report.measurements << m;
        if (auto* history = editor->findChild<ui::ListView*>(QStringLiteral("lvHistPane"))) {
            m_report.notes
                << QStringLiteral("project editor: the History tab lists %1 items").arg(history->rowCount());
        }
    }

    // The project editor's "Add Related Contact ..." until the picker shows every listed contact;
    // Cancel (untimed) closes it again without a write or a reload.
    void contactPicker() {
        Measurement m = measurement(QStringLiteral("contact_picker"), QStringLiteral("ms"), 200.0);
        goHome();
        g_lngCurProjID = m_picks.busyProject;
        modGeneral::CloseAllChildForms();
        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmProjEntry"));
        QWidget* editor = requireScreen(QStringLiteral("frmProjEntry"));
        settle();
        auto* button = editor->findChild<QPushButton*>(QStringLiteral("cmdRelCon"));
        if (!button) throw Failure("the project editor has no Add Related Contact button");
        int listed = 0;
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            const auto start = SteadyClock::now();
            button->click();
            auto* picker = qobject_cast<QDialog*>(requireScreen(QStringLiteral("frmSetRelContact")));
            auto* list = picker ? picker->findChild<ui::ListBox*>(QStringLiteral("lstContact")) : nullptr;
            if (!list || list->count() == 0) throw Failure("the contact picker came up without its list");
            settle();
            add(m, rep, msSince(start));
            listed = list->count();
            picker->reject();
            settle();
        }
        m_report.measurements << m;
        m_report.notes << QStringLiteral("contact picker: %1 contacts listed").arg(listed);
    }

    // The contact editor's "Add Related Project ..." until the picker shows every project; Cancel
    // (untimed) closes it again without a write or a reload.
    void projectPicker() {
        Measurement m = measurement(QStringLiteral("project_picker"), QStringLiteral("ms"), 200.0);
        goHome();
        g_lngCurContID = m_picks.busyContact;
        modGeneral::CloseAllChildForms();
        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmContEntry"));
        QWidget* editor = requireScreen(QStringLiteral("frmContEntry"));
        settle();
        auto* button = editor->findChild<QPushButton*>(QStringLiteral("cmdRelProj"));
        if (!button) throw Failure("the contact editor has no Add Related Project button");
        int listed = 0;
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            const auto start = SteadyClock::now();
            button->click();
            auto* picker = qobject_cast<QDialog*>(requireScreen(QStringLiteral("frmSetRelProject")));
            auto* list = picker ? picker->findChild<ui::ListBox*>(QStringLiteral("lstProject")) : nullptr;
            if (!list || list->count() == 0) throw Failure("the project picker came up without its list");
            settle();
            add(m, rep, msSince(start));
            listed = list->count();
            picker->reject();
            settle();
        }
        m_report.measurements << m;
        m_report.notes << QStringLiteral("project picker: %1 projects listed").arg(listed);
    }

    // A new item's dialog opened over the home screen, as the New menu opens it, until its name and
    // project lists hold every contact and project; Cancel (untimed) closes it without a reload.
    void itemDialog(const QString& name, const QString& form, const std::function<void()>& open) {
        Measurement m = measurement(name, QStringLiteral("ms"), 200.0);
        goHome();
        int names = 0;
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            const auto start = SteadyClock::now();
            open();
            auto* dialog = qobject_cast<QDialog*>(requireScreen(form));
            auto* list = dialog ? dialog->findChild<ui::ComboBox*>(QStringLiteral("Combo1(0)")) : nullptr;
            if (!list || list->count() <= 1)
                throw Failure(("the dialog " + form + " came up without its lists").toStdString());
            settle();
            add(m, rep, msSince(start));
            names = list->count() - 1;
            dialog->reject();
            settle();
        }
        m_report.measurements << m;
        m_report.notes << QStringLiteral("%1: %2 contacts listed").arg(name).arg(names);
    }

    // View > Calendar until the month view's grid is filled: today's month, built as the view is
    // first activated.
    void monthOpen() {
        Measurement m = measurement(QStringLiteral("month_open"), QStringLiteral("ms"), 150.0);
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            goHome();
            const auto start = SteadyClock::now();
            m_viewCal->trigger();
            requireScreen(QStringLiteral("frmCalMnth"));
            settle();
            add(m, rep, msSince(start));
        }
        m_report.measurements << m;
        noteMonth(QStringLiteral("month_open"), m_options.today);
    }

    // A month chosen in the open month view's list, November and December in turn: the grid emptied
    // and filled again.
    void monthChange() {
        Measurement m = measurement(QStringLiteral("month_change"), QStringLiteral("ms"), 150.0);
        goHome();
        m_viewCal->trigger();
        QWidget* month = requireScreen(QStringLiteral("frmCalMnth"));
        settle();
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            const auto start = SteadyClock::now();
            choose(month, QStringLiteral("cboMonth"), rep % 2 == 0 ? 10 : 11);
            settle();
            add(m, rep, msSince(start));
        }
        m_report.measurements << m;
    }

    // The week or day view opened from the home screen until its boxes are placed; then an arrow
    // forward, back, forward ... with the boxes rebuilt each time.
    void hourViewOpen(const QString& name, const QString& form, double target, const std::function<void()>& open) {
        Measurement m = measurement(name, QStringLiteral("ms"), target);
        int boxes = 0;
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            goHome();
            const auto start = SteadyClock::now();
            open();
            QWidget* view = requireScreen(form);
            settle();
            add(m, rep, msSince(start));
            boxes = CountBoxes(view);
        }
        m_report.measurements << m;
        m_report.notes << QStringLiteral("%1: %2 boxes").arg(name).arg(boxes);
    }
    void hourViewArrow(const QString& name, const QString& form, double target, const std::function<void()>& open) {
        Measurement m = measurement(name, QStringLiteral("ms"), target);
        goHome();
        open();
        QWidget* view = requireScreen(form);
        settle();
        int boxes = 0;
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            auto* arrow = view->findChild<QAbstractButton*>(rep % 2 == 0 ? QStringLiteral("imgUp") : QStringLiteral("imgDown"));
            if (!arrow) throw std::runtime_error("the view has no arrows");
            const auto start = SteadyClock::now();
            arrow->click();
            settle();
            add(m, rep, msSince(start));
            boxes = std::max(boxes, CountBoxes(view));
        }
        m_report.measurements << m;
        m_report.notes << QStringLiteral("%1: up to %2 boxes").arg(name).arg(boxes);
    }
    static int CountBoxes(QWidget* view) {
        int n = 0;
        for (QWidget* w : view->findChildren<QWidget*>())
            if (w->objectName().startsWith(QLatin1String("txtAppt(")) && w->objectName() != QLatin1String("txtAppt(0)"))
                ++n;
        return n;
    }

    // View > Home: every screen closes and the home screen loads afresh.
    void homeReload() {
        Compared c = comparedMeasurements(QStringLiteral("home_reload"), 100.0);
        QPointer<QWidget> old;
        runCompared(
            c, nullptr,
            [&] {
                goHome();
                old = ui::ScreenRegistry::instance().find(QStringLiteral("frmHome"));
            },
            [&] {
                m_viewHome->trigger();
                requireScreen(QStringLiteral("frmHome"), old);
            });
    }

    // View > Names: every screen closes and the names list opens, filled with the "Default" contacts.
    void namesList() {
        Compared c = comparedMeasurements(QStringLiteral("names_list"), 500.0);
        QWidget* names = nullptr;
        runCompared(
            c, nullptr, [&] { goHome(); },
            [&] {
                m_viewNames->trigger();
                names = requireScreen(QStringLiteral("frmNames"));
            });
        noteRows(QStringLiteral("names_list"), names);
    }

    // View > Projects: every screen closes and the projects list opens on its "Default" projects.
    void projectsList() {
        viewList(QStringLiteral("projects_list"), m_viewProj, QStringLiteral("frmProjects"), 300.0);
    }

    // View > To Do: every screen closes and the to-do list opens, filled with every item.
    void todoList() {
        viewList(QStringLiteral("todo_list"), m_viewToDo, QStringLiteral("frmToDoList"), 1000.0);
    }

    // The group list's first entry, "All", chosen on the open names list: every "Default" contact.
    void namesGroupAll() {
        Compared c = comparedMeasurements(QStringLiteral("names_group_all"), 500.0);
        QWidget* names = nullptr;
        runCompared(
            c, nullptr, [&] { names = openNames(); }, [&] { choose(names, QStringLiteral("cboGroup"), 0); });
        noteRows(QStringLiteral("names_group_all"), names);
    }

    // "Save File As ..." on the names list of all contacts, the save dialog answered with a file in
    // the data root, until the success message.
    void namesExport() {
        Measurement m = measurement(QStringLiteral("names_export"), QStringLiteral("ms"), 1000.0);
        QWidget* names = openNames();
        choose(names, QStringLiteral("cboView"), 0);  // "All Contacts"
        auto* list = names->findChild<ui::ListView*>(QStringLiteral("lvResult"));
        auto* link = names->findChild<QLabel*>(QStringLiteral("lblSaveAs"));
        if (!list || !link) throw Failure("the names list has no list or no Save File As link");
        const QString path = QDir(m_options.dataDir).filePath(QStringLiteral("names-export.csv"));
        ChosenFile file(path);
        ExpectedMessage saved(QStringLiteral("The File was Sucessfully Created and Saved."));
        for (int rep = 0; rep <= m_options.reps; ++rep) {
            QFile::remove(path);
            const auto start = SteadyClock::now();
            QTest::mouseClick(link, Qt::LeftButton);
            settle();
            add(m, rep, msSince(start));
            if (saved.count() != rep + 1) throw Failure("the export did not report its file as saved");
        }
        m_report.measurements << m;
        qint64 lines = 0;
        QFile written(path);
        if (written.open(QIODevice::ReadOnly)) {
            lines = written.readAll().count("\r\n");
            written.close();
        }
        if (lines != qint64(list->rowCount()) + 1)
            throw Failure("the exported file does not hold every row of the list");
        m_report.notes << QStringLiteral("names_export: %1 rows, %2 MB")
                              .arg(list->rowCount())
                              .arg(double(QFileInfo(path).size()) / 1e6, 0, 'f', 1);
        QFile::remove(path);
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

private:
    void viewList(const QString& step, QAction* view, const QString& screen, double target) {
        Compared c = comparedMeasurements(step, target);
        QWidget* list = nullptr;
        runCompared(
            c, nullptr, [&] { goHome(); },
            [&] {
                view->trigger();
                list = requireScreen(screen);
            });
        noteRows(step, list);
    }

    // The names list, opened by View > Names unless it is open already.
    QWidget* openNames() {
        if (QWidget* names = ui::ScreenRegistry::instance().find(QStringLiteral("frmNames"))) return names;
        m_viewNames->trigger();
        QWidget* names = requireScreen(QStringLiteral("frmNames"));
        settle();
        return names;
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
        m_viewHome->trigger();
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
                g_dbLocal->Query(QString::fromUtf8(s.sql), params);
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
    QAction* m_viewHome = nullptr;
    QAction* m_viewNames = nullptr;
    QAction* m_viewCal = nullptr;
    QAction* m_viewProj = nullptr;
    QAction* m_viewToDo = nullptr;
};

// Errors the program trapped and logged while the bench ran.
void collectLoggedErrors(const QString& path, qint64 fromRowid, BenchReport& report) {
    std::unique_ptr<db::Database> database = db::Database::Open(path, QStringLiteral("Contacts"));
    const db::Database::Rows rows = database->Query(
        QStringLiteral("SELECT ModName, ErrNum, ErrDesc FROM ErrLog WHERE rowid > ? ORDER BY rowid"),
        {fromRowid});
    for (const QVariantList& row : rows.rows) {
        report.errors << QStringLiteral("logged by %1: %2 %3")
                             .arg(row.value(0).toString(), row.value(1).toString(), row.value(2).toString());
    }
}

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
    return {
        QStringLiteral("startup"),         QStringLiteral("search_one"),     QStringLiteral("search_many"),
        QStringLiteral("editor_open"),     QStringLiteral("project_open"),   QStringLiteral("project_picker"),
        QStringLiteral("contact_picker"),  QStringLiteral("todo_dialog"),    QStringLiteral("note_dialog"),
        QStringLiteral("appt_dialog"),     QStringLiteral("month_open"),     QStringLiteral("month_change"),
        QStringLiteral("home_reload"),     QStringLiteral("names_list"),     QStringLiteral("names_group_all"),
        QStringLiteral("names_export"),    QStringLiteral("projects_list"),  QStringLiteral("todo_list"),
        QStringLiteral("week_open"),       QStringLiteral("week_arrow"),     QStringLiteral("day_open"),
        QStringLiteral("day_arrow"),       QStringLiteral("report_contact"), QStringLiteral("report_project")};
}

BenchReport runBench(const BenchOptions& options) {
    BenchReport report;
    PromptRecorder prompts(report.prompts);
    auto wanted = [&options](const char* name) {
        return options.only.isEmpty() || options.only == QLatin1String(name);
    };

    core::DataRoot::Set(options.dataDir);
    settings::SetFile(core::DataRoot::SettingsPath());
    QApplication::setQuitOnLastWindowClosed(false);
    core::Clock::SetNow(QDateTime(options.today, QTime(10, 0)));
    const QString path = core::DataRoot::DatabasePath();

    Picks picks;
    bool picked = false;
    Session session(options, report, picks);
    try {
        seedIfEmpty(options, path, report);
        {
            std::unique_ptr<db::Database> database = db::Database::Open(path, QStringLiteral("Contacts"));
            picks = pickFromData(*database, report);
            picked = true;
        }
        if (wanted("startup")) {
            progress(QStringLiteral("startup ..."));
            session.startup();
        }
        const QStringList windowSteps = measurementNames().mid(1);
        if (std::any_of(windowSteps.cbegin(), windowSteps.cend(),
                        [&](const QString& step) { return wanted(qPrintable(step)); })) {
            session.open();
            if (wanted("search_one")) {
                progress(QStringLiteral("search_one ..."));
                session.search(QStringLiteral("search_one"), picks.oneHit, QStringLiteral("frmContEntry"),
                               50.0);
            }
            if (wanted("search_many")) {
                progress(QStringLiteral("search_many ..."));
                session.search(QStringLiteral("search_many"), picks.manyHits,
                               QStringLiteral("frmNameSrchResult"), 50.0);
            }
            if (wanted("editor_open")) {
                progress(QStringLiteral("editor_open ..."));
                session.editorOpen();
            }
            if (wanted("project_open")) {
                progress(QStringLiteral("project_open ..."));
                session.projectOpen();
            }
            if (wanted("project_picker")) {
                progress(QStringLiteral("project_picker ..."));
                session.projectPicker();
            }
            if (wanted("contact_picker")) {
                progress(QStringLiteral("contact_picker ..."));
                session.contactPicker();
            }
            if (wanted("todo_dialog")) {
                progress(QStringLiteral("todo_dialog ..."));
                session.itemDialog(QStringLiteral("todo_dialog"), QStringLiteral("frmToDo"),
                                   [] { modGeneral::OpenToDo(modGeneral::NewItem()); });
            }
            if (wanted("note_dialog")) {
                progress(QStringLiteral("note_dialog ..."));
                session.itemDialog(QStringLiteral("note_dialog"), QStringLiteral("frmNotes"),
                                   [] { modGeneral::OpenNote(modGeneral::NewItem()); });
            }
            if (wanted("appt_dialog")) {
                progress(QStringLiteral("appt_dialog ..."));
                session.itemDialog(QStringLiteral("appt_dialog"), QStringLiteral("frmAppt"),
                                   [] { modGeneral::OpenAppt(modGeneral::NewItem()); });
            }
            if (wanted("month_open")) {
                progress(QStringLiteral("month_open ..."));
                session.monthOpen();
            }
            if (wanted("month_change")) {
                progress(QStringLiteral("month_change ..."));
                session.monthChange();
            }
            const auto openWeek = [] { calendar::OpenTab(calendar::kWeekTab); };
            const auto openDay = [] { calendar::OpenDayView(true); };
            if (wanted("week_open")) {
                progress(QStringLiteral("week_open ..."));
                session.hourViewOpen(QStringLiteral("week_open"), QStringLiteral("frmCalWeek"), 300.0, openWeek);
            }
            if (wanted("week_arrow")) {
                progress(QStringLiteral("week_arrow ..."));
                session.hourViewArrow(QStringLiteral("week_arrow"), QStringLiteral("frmCalWeek"), 250.0, openWeek);
            }
            if (wanted("day_open")) {
                progress(QStringLiteral("day_open ..."));
                session.hourViewOpen(QStringLiteral("day_open"), QStringLiteral("frmCalDay"), 150.0, openDay);
            }
            if (wanted("day_arrow")) {
                progress(QStringLiteral("day_arrow ..."));
                session.hourViewArrow(QStringLiteral("day_arrow"), QStringLiteral("frmCalDay"), 100.0, openDay);
            }
            if (wanted("home_reload")) {
                progress(QStringLiteral("home_reload ..."));
                session.homeReload();
            }
            if (wanted("names_list")) {
                progress(QStringLiteral("names_list ..."));
                session.namesList();
            }
            if (wanted("names_group_all")) {
                progress(QStringLiteral("names_group_all ..."));
                session.namesGroupAll();
            }
            if (wanted("names_export")) {
                progress(QStringLiteral("names_export ..."));
                session.namesExport();
            }
            if (wanted("projects_list")) {
                progress(QStringLiteral("projects_list ..."));
                session.projectsList();
            }
            if (wanted("todo_list")) {
                progress(QStringLiteral("todo_list ..."));
                session.todoList();
            }
            if (wanted("report_contact")) {
                progress(QStringLiteral("report_contact ..."));
                session.printReport(QStringLiteral("report_contact"), false);
            }
            if (wanted("report_project")) {
                progress(QStringLiteral("report_project ..."));
                session.printReport(QStringLiteral("report_project"), true);
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
    Measurement memory = measurement(QStringLiteral("peak_memory"), QStringLiteral("MB"), 300.0);
    memory.first = double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    memory.values << memory.first;
    report.measurements << memory;

    core::Clock::Reset();
    return report;
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
