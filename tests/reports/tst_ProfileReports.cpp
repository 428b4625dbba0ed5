#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/PrintPage.h"
#include "core/RecordEditor.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/Printer.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/PdfReader.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;
using testsupport::PdfReader;

namespace {

constexpr double kTolerance = 0.05;  // cm

enum Report { kContact, kProject };

// Everything both report tests need: the main window, an editor open on the record, its report
// dialog and the PDF it prints.
class ReportBench {
public:
    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;
    QString pdf;

    void start(const QString& pdfPath) {
        f = std::make_unique<Fixture>();
        pdf = pdfPath;
        QFile::remove(pdf);
        ui::SetPrinterOutputFile(pdf);
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        QApplication::setActiveWindow(w.get());
    }
    void stop() {
        modGeneral::CloseAllChildForms();
        settle();
        ui::SetNoPrinter(false);
        ui::FailPrinterAtDrawing(0);
        ui::Printer().AbandonDoc();
        ui::SetPrinterOutputFile(QString());
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    core::RecordEditor* editor(Report report, int id) {
        (report == kContact ? g_lngCurContID : g_lngCurProjID) = id;
        modGeneral::CloseAllChildForms();
        settle();
        auto* e = qobject_cast<core::RecordEditor*>(
            ui::ScreenRegistry::instance().open(report == kContact ? "frmContEntry" : "frmProjEntry"));
        settle();
        return e;
    }
    QDialog* dialog(Report report) const {
        return qobject_cast<QDialog*>(
            ui::ScreenRegistry::instance().find(report == kContact ? "frmPrintContact" : "frmPrintProject"));
    }
    // File > Print over the open editor.
    QDialog* openReport(Report report, const char* command = "mnuFilePrint") {
        w->findChild<QAction*>(QLatin1String(command))->trigger();
        return dialog(report);
    }
    template <class T>
    static T* control(QDialog* d, const QString& name) {
        T* c = d->findChild<T*>(name);
        if (!c) qFatal("no control %s", qPrintable(name));
        return c;
    }
    void print(QDialog* d, bool contacts = false, bool projects = false) {
        control<QCheckBox>(d, "Check1(1)")->setChecked(contacts);
        if (auto* box = d->findChild<QCheckBox*>("Check1(2)")) box->setChecked(projects);
        control<QPushButton>(d, "cmdOpts(0)")->click();
    }
    void addValues(Report report, int id, int count) {
        for (int i = 1; i <= count; ++i) {
            f->db().Execute(report == kContact
                                ? "INSERT INTO CUFldValues (fkContID, fkUserFld, Value) VALUES (?, ?, ?)"
                                : "INSERT INTO PUFldValues (fkProjID, fkUserFld, Value) VALUES (?, ?, ?)",
                            {id, QStringLiteral("Field %1").arg(i, 2, 10, QLatin1Char('0')),
                             QStringLiteral("Value %1").arg(i)});
        }
    }
};

// The height of one 8-point line, by which the related sections follow the last value row, and the
// width of a leading blank in the bold section bars.
double LineHeight8(bool bold = false) {
    auto& printer = ui::Printer();
    printer.SetScaleMode(ui::ScaleUnit::Centimeters);
    printer.SetFontName(core::print::FontName());
    printer.SetFontSize(8);
    printer.SetFontBold(bold);
    const double height = printer.TextHeight();
    printer.EndDoc();
    return height;
}
double BarIndent() {
    auto& printer = ui::Printer();
    printer.SetScaleMode(ui::ScaleUnit::Centimeters);
    printer.SetFontName(core::print::FontName());
    printer.SetFontSize(8);
    printer.SetFontBold(true);
    const double width = printer.TextWidth(QStringLiteral(" "));
    printer.EndDoc();
    return width;
}

// The words of the line at `y` that start between `x` and `untilX`, as one text; a null text when
// none stands there. A first word away from `x` shows where it stands instead.
QString TextAt(const PdfReader& pdf, double x, double y, double untilX = 100, int page = 1) {
    for (const PdfReader::Line& line : pdf.lines()) {
        if (line.page != page || qAbs(line.top - y) > kTolerance) continue;
        QStringList words;
        double firstLeft = 0;
        for (const PdfReader::Word& w : line.words) {
            if (w.left <= x - kTolerance || w.left >= untilX - kTolerance) continue;
            if (words.isEmpty()) firstLeft = w.left;
            words << w.text;
        }
        if (words.isEmpty()) continue;
        if (qAbs(firstLeft - x) >= kTolerance) words.prepend(QStringLiteral("<at %1>").arg(firstLeft));
        return words.join(u' ');
    }
    return {};
}

// No text but the footer starts below the lists' last row.
void ExpectNothingBelowRows(const PdfReader& pdf) {
    for (const PdfReader::Line& line : pdf.lines()) {
        if (!line.text().startsWith(QLatin1String("Page ")))
            QVERIFY2(line.top < 25.9 + kTolerance, qPrintable(line.text()));
    }
}

}  // namespace

Q_DECLARE_METATYPE(Report)

// The contact report: the dialog over the contact editor, the page it prints, its related sections.
class ContactReportTest : public QObject {
    Q_OBJECT

    ReportBench b;
    QTemporaryDir m_dir;

    void seed() {
        auto& db = b.f->db();
        db.Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName, CompName, JobTitle) "
            "VALUES (5, 'I', 'Default', 'Anna M. Berg', 'Berg, Anna M.', 'Berg Tool Works', 'Owner'), "
            "(6, 'I', 'Default', 'Ann Zed', 'Zed, Ann', NULL, NULL), (7, 'I', 'Default', 'Bo Adams', 'Adams, "
            "Bo', NULL, NULL)");
        db.Execute(
            "INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (5, 'Home', '555-0101'), "
            "(5, 'Fax', '555-0105'), (6, 'Home', '555-0606'), (6, 'Work', '555-0607')");
        db.Execute(
            "INSERT INTO CEMail (fkContID, fkLookup, Email) VALUES (5, 'Other', 'a@berg.example'), "
            "(6, 'Personal', 'ann@zed.example')");
        db.Execute(
            "INSERT INTO CAddress (fkContID, fkLookup, Street, City, State, Zip, Country) VALUES "
            "(5, 'Home', '1 Elm St', 'Springfield', 'IL', '62701', 'USA'), "
            "(5, 'Ship To', '9 Dock Rd', NULL, NULL, NULL, NULL), (5, 'Cabin', 'Lost Lane', 'X', 'Y', 'Z', "
            "NULL)");
        // A value without its field's name keeps its row empty.
        db.Execute(
            "INSERT INTO CUFldValues (fkContID, fkUserFld, Value) VALUES (5, 'Size', '10'), "
            "(5, NULL, 'hidden'), (5, 'Color', NULL)");
    }

private Q_SLOTS:
    void initTestCase() {
        if (PdfReader::Tool().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void init() {
        b.start(m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentTestFunction())));
        seed();
    }
    void cleanup() { b.stop(); }

    // File > Print and the Print button open one dialog over the editor, titled with the full name
    // and ready to be typed over; Enter prints, Esc closes.
    void openingAndKeys() {
        core::RecordEditor* editor = b.editor(kContact, 5);
        QDialog* d = b.openReport(kContact);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Print Contact Report"));
        QCOMPARE(d->parentWidget(), b.w.get());
        QVERIFY(QTest::qWaitForWindowActive(d));
        // The selection follows the focus event.
        ReportBench::settle();
        ReportBench::settle();
        auto* title = ReportBench::control<QLineEdit>(d, "txtTitle");
        QCOMPARE(title->text(), QStringLiteral("Anna M. Berg"));
        QCOMPARE(d->focusWidget(), title);
        QCOMPARE(title->selectedText(), QStringLiteral("Anna M. Berg"));

        title->setText(QStringLiteral("Mine"));
        QCOMPARE(b.openReport(kContact, "Print"), d);
        QCOMPARE(title->text(), QStringLiteral("Mine"));
        QCOMPARE(int(ui::ScreenRegistry::instance().openForms().count(d)), 1);

        QTest::keyClick(title, Qt::Key_Return);
        QVERIFY(QFile::exists(b.pdf));
        QCOMPARE(PdfReader(b.pdf).line(QStringLiteral("Mine")).text(), QStringLiteral("Mine"));
        QPointer<QDialog> guard(d);
        QTest::keyClick(title, Qt::Key_Escape);
        ReportBench::settle();
        QVERIFY(!guard);
        QVERIFY(editor->isVisible());
        QCOMPARE(b.f->prompts().count(), 0);
    }

    // The page as the editor shows the contact, an unsaved edit included.
    void page() {
        core::RecordEditor* editor = b.editor(kContact, 5);
        qobject_cast<QLineEdit*>(editor->Text1(4))->setText(QStringLiteral("Chief Welder"));
        QDialog* d = b.openReport(kContact);
        ReportBench::control<QLineEdit>(d, "txtTitle")->clear();
        b.print(d);
        QCOMPARE(b.f->prompts().count(), 0);
        const PdfReader pdf(b.pdf);

        QCOMPARE(TextAt(pdf, 1.3, 1.5), QStringLiteral("10:00 AM"));
        QCOMPARE(TextAt(pdf, 1.3, 1.9), QStringLiteral("12/08/26"));
        const PdfReader::Line title = pdf.line(QStringLiteral("Contact Profile Report"));
        QVERIFY(qAbs(title.top - 1.7) < kTolerance);
        QVERIFY(qAbs((title.left() + title.right()) / 2 - 20.32 / 2) < kTolerance);

        const QStringList rows[] = {{"Name", "Anna M. Berg"},
                                    {"Shown As", "Berg, Anna M."},
                                    {"Setting", "Default"},
                                    {"Company", "Berg Tool Works"},
                                    {"Job Title", "Chief Welder"},
                                    {"Home Phone", "555-0101"},
                                    {"Work Phone", ""},
                                    {"Mobile Phone", ""},
                                    {"Other Phone", ""},
                                    {"Fax Phone", "555-0105"},
                                    {"Personal E-Mail", ""},
                                    {"Work E-Mail", ""},
                                    {"Other E-Mail", "a@berg.example"}};
        for (int r = 0; r < 13; ++r) {
            const double y = 3.20 + 0.48 * r;
            QCOMPARE(TextAt(pdf, 1.4, y, 3.7), rows[r][0]);
            QCOMPARE(TextAt(pdf, 3.75, y, 11.0), rows[r][1].isEmpty() ? QString() : rows[r][1]);
            if (r < 12) QVERIFY2(pdf.inkAt(8.0, 3.63 + 0.48 * r), qPrintable(rows[r][0]));
        }
        // The grid's box and column rule, the address frames and their rule, the double rules.
        const std::pair<double, double> edges[] = {{1.3, 6.0},    {10.6, 6.0},   {3.65, 6.0},  {5.0, 9.39},
                                                   {11.1, 5.0},   {20.3, 5.0},   {13.45, 5.0}, {15.0, 3.1},
                                                   {15.0, 10.19}, {15.0, 10.25}, {15.0, 10.64}};
        for (const auto& [x, y] : edges)
            QVERIFY2(pdf.inkAt(x, y), qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));

        const char* captions[] = {"Address: Home", "Address: Work", "Address: Bill To", "Address: Ship To"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(TextAt(pdf, 11.2, 3.20 + 1.44 * i, 13.4), QLatin1String(captions[i]));
        QCOMPARE(TextAt(pdf, 13.47, 3.20), QStringLiteral("1 Elm St"));
        QCOMPARE(TextAt(pdf, 13.47, 3.68), QStringLiteral("Springfield, IL 62701"));
        QCOMPARE(TextAt(pdf, 13.47, 4.16), QStringLiteral("USA"));
        QCOMPARE(TextAt(pdf, 13.47, 7.52), QStringLiteral("9 Dock Rd"));
        QCOMPARE(TextAt(pdf, 13.47, 8.00), QStringLiteral(","));
        QVERIFY(!pdf.text().contains(QStringLiteral("Lost Lane")));

        QCOMPARE(TextAt(pdf, 1.4 + BarIndent(), 9.79), QStringLiteral("User Defined Contact Fields"));
        QCOMPARE(TextAt(pdf, 1.4, 10.24, 10.0), QStringLiteral("User Field Description"));
        QCOMPARE(TextAt(pdf, 10.3, 10.24), QStringLiteral("Field Value"));
        QCOMPARE(TextAt(pdf, 1.4, 10.74), QStringLiteral("Size 10"));
        QCOMPARE(TextAt(pdf, 10.3, 10.74), QStringLiteral("10"));
        QVERIFY(!pdf.text().contains(QStringLiteral("hidden")));
        QCOMPARE(TextAt(pdf, 1.4, 11.44), QStringLiteral("Color"));
        QCOMPARE(TextAt(pdf, 18.5, 26.3), QStringLiteral("Page 1"));
        // The first bar follows the header's lines, its whole line clear of the rule at 3.1.
        const PdfReader::Line bar = pdf.line(QStringLiteral("Name Profile"));
        QVERIFY(bar.top > 1.9 && bar.top + LineHeight8(true) <= 3.1);
        // No related section was asked for.
        QVERIFY(!pdf.text().contains(QStringLiteral("Related")));
        QVERIFY(!pdf.inkAt(15.0, 11.44 + LineHeight8() + 1.0));
        QCOMPARE(pdf.text().count(QLatin1Char('\f')), 1);
    }

    // Each related section only when its box is checked: the contacts by name with memo, "Home"
    // phone and "Personal" e-mail, the projects in link order; links to nobody keep their rows.
    void relatedSections_data() {
        QTest::addColumn<bool>("contacts");
        QTest::addColumn<bool>("projects");
        QTest::newRow("contacts") << true << false;
        QTest::newRow("projects") << false << true;
        QTest::newRow("both") << true << true;
    }
    void relatedSections() {
        QFETCH(bool, contacts);
        QFETCH(bool, projects);
        auto& db = b.f->db();
        db.Execute(
            "INSERT INTO RelateCont (MasterContID, SubContID, LinkMemo, SubContShowName) VALUES "
            "(5, 6, 'Sister', 'Zed, Ann'), (5, 7, NULL, 'Adams, Bo'), (5, NULL, 'x', 'Lost'), "
            "(5, 8, 'y', NULL)");
        db.Execute(
            "INSERT INTO Projects (ProjID, PName, Status) VALUES (7, 'Roof', 'Active'), (8, NULL, 'On "
            "Hold')");
        // The last one a second link to Roof, as the picker writes it: printed once, as the editor lists it.
        db.Execute("INSERT INTO RelateProject (fkProjID, fkContID) VALUES (7, 5), (99, 5), (8, 5), (7, 5)");
        b.editor(kContact, 5);
        b.print(b.openReport(kContact), contacts, projects);
        const PdfReader pdf(b.pdf);

        double y0 = 11.44 + LineHeight8();
        const auto section = [&](const QString& bar, const QStringList& headings, const QList<double>& xs) {
            QCOMPARE(TextAt(pdf, 1.4 + BarIndent(), y0 + 0.6), bar);
            QVERIFY(pdf.inkAt(15.0, y0 + 1.0) && pdf.inkAt(15.0, y0 + 1.06) && pdf.inkAt(15.0, y0 + 1.45));
            for (int i = 0; i < headings.size(); ++i)
                QCOMPARE(TextAt(pdf, xs[i], y0 + 1.05, i + 1 < xs.size() ? xs[i + 1] : 100), headings[i]);
        };
        const auto row = [&](int n) { return y0 + 1.55 + (n - 1) * 0.35; };
        if (contacts) {
            section(QStringLiteral("All Related Contacts"), {"Name", "Memo", "Phone", "E-Mail"},
                    {1.4, 6.47, 11.54, 16.61});
            // Sorted by name: the nameless link, "Adams, Bo", the link without a contact, "Zed, Ann".
            QCOMPARE(TextAt(pdf, 0, row(1)), QString());
            QCOMPARE(TextAt(pdf, 1.4, row(2)), QStringLiteral("Adams, Bo"));
            QCOMPARE(TextAt(pdf, 0, row(3)), QString());
            const QString zed[] = {"Zed, Ann", "Sister", "555-0606", "ann@zed.example"};
            const double xs[] = {1.4, 6.47, 11.54, 16.61, 100};
            for (int i = 0; i < 4; ++i) QCOMPARE(TextAt(pdf, xs[i], row(4), xs[i + 1]), zed[i]);
            y0 = row(5);
        } else {
            QVERIFY(!pdf.text().contains(QStringLiteral("Related Contacts")));
        }
        if (projects) {
            section(QStringLiteral("All Related Projects"), {"Project Name", "Project Status"}, {1.4, 10.3});
            QCOMPARE(TextAt(pdf, 1.4, row(1), 10.0), QStringLiteral("Roof"));
            QCOMPARE(TextAt(pdf, 10.3, row(1)), QStringLiteral("* Active"));
            QCOMPARE(TextAt(pdf, 0, row(2)), QString());
            QCOMPARE(TextAt(pdf, 10.3, row(3)), QStringLiteral("* On Hold"));
            QCOMPARE(pdf.text().count(QStringLiteral("Roof")), 1);
        } else {
            QVERIFY(!pdf.text().contains(QStringLiteral("Related Projects")));
        }
        QCOMPARE(TextAt(pdf, 18.5, 26.3), QStringLiteral("Page 1"));
    }

    // A stored text prints on one line, inside its cell: cut at the column's edge, its line breaks
    // (written by another program) as blanks.
    void storedTextsKeepToTheirCells_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("right");
        QTest::newRow("related name") << "INSERT INTO RelateCont (MasterContID, SubContID, LinkMemo, "
                                         "SubContShowName) VALUES (5, 6, 'Sister', ?)"
                                      << "Zedekiah Alexander Montgomery-Fitzwilliam of Springfield" << 6.47;
        QTest::newRow("line breaks")
            << "INSERT INTO CUFldValues (fkContID, fkUserFld, Value) VALUES (5, 'N', ?)"
            << "One\r\nTwo\nthree" << 20.3;
    }
    void storedTextsKeepToTheirCells() {
        QFETCH(QString, sql);
        QFETCH(QString, text);
        QFETCH(double, right);
        b.f->db().Execute(sql, {text});
        b.editor(kContact, 5);
        b.print(b.openReport(kContact), true);
        QStringList printed;  // the text's words on the page, a cut last one too
        double top = -1;
        for (const PdfReader::Word& w : PdfReader(b.pdf).words()) {
            if (w.text.size() < 2 || !text.contains(w.text)) continue;
            if (top < 0) top = w.top;
            QVERIFY2(qAbs(w.top - top) < kTolerance && w.right <= right, qPrintable(w.text));
            printed << w.text;
        }
        const QString words = text.simplified();
        QVERIFY(printed.size() > 1 && words.startsWith(printed.join(u' ')));
        QCOMPARE(printed.join(u' ') == words, right > 20);
    }

    // The progress during a run; the dialog stays as it was and prints again.
    void progressAndSecondRun() {
        b.editor(kContact, 5);
        QDialog* d = b.openReport(kContact);
        auto* ok = ReportBench::control<QPushButton>(d, "cmdOpts(0)");
        QList<int> values;
        bool enabledDuring = false;
        auto* cancel = ReportBench::control<QPushButton>(d, "cmdOpts(1)");
        const auto watch = connect(
            ReportBench::control<QProgressBar>(d, "prbPrint"), &QProgressBar::valueChanged, this, [&](int v) {
                values << v;
                if (v > 0) enabledDuring = enabledDuring || ok->isEnabled() || cancel->isEnabled();
            });
        b.print(d, true, false);
        disconnect(watch);
        QCOMPARE(values, (QList<int>{10, 20, 30, 50, 60, 70, 80, 90, 0}));
        QVERIFY(!enabledDuring);
        QVERIFY(ok->isEnabled() && d->isVisible());
        QVERIFY(!ReportBench::control<QWidget>(d, "picMsg")->isVisible());
        QVERIFY(ReportBench::control<QCheckBox>(d, "Check1(1)")->isChecked());
        QVERIFY(QFile::remove(b.pdf));
        ok->click();
        QVERIFY(QFile::exists(b.pdf));
        QCOMPARE(b.f->prompts().count(), 0);
    }

    // A run that fails prints nothing, leaves the dialog ready and says so; a failing related list
    // is only logged and the page is completed.
    void failures_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<bool>("printed");
        QTest::newRow("no printer") << "no printer"
                                    << "frmPrintContact.cmdOpts_Click" << false;
        QTest::newRow("printer fails") << "printer fails"
                                       << "frmPrintContact.cmdOpts_Click" << false;
        QTest::newRow("values unreadable") << "values unreadable"
                                           << "frmPrintContact.cmdOpts_Click" << false;
        QTest::newRow("related contacts fail") << "related contacts fail"
                                               << "frmPrintContact.PopulateRelContacts" << true;
    }
    void failures() {
        QFETCH(QString, failure);
        QFETCH(QString, logged);
        QFETCH(bool, printed);
        b.editor(kContact, 5);
        QDialog* d = b.openReport(kContact);
        if (failure == "no printer") ui::SetNoPrinter(true);
        if (failure == "printer fails") ui::FailPrinterAtDrawing(8);
        if (failure == "values unreadable") b.f->db().Execute("ALTER TABLE CUFldValues RENAME TO Gone");
        if (failure == "related contacts fail")
            core::InjectFault(logged, 3021, QStringLiteral("No current record."));
        if (!printed) b.f->prompts().answer(ui::Answer::OK);
        b.print(d, true, true);
        QCOMPARE(b.f->scalar("SELECT ModName FROM ErrLog").toString(), logged);
        QCOMPARE(b.f->rowCount("ErrLog"), 1);
        QCOMPARE(QFile::exists(b.pdf), printed);
        QVERIFY(!ui::Printer().InDocument());
        if (printed) {
            QCOMPARE(b.f->prompts().count(), 0);
            const PdfReader pdf(b.pdf);
            QCOMPARE(TextAt(pdf, 18.5, 26.3), QStringLiteral("Page 1"));
            QVERIFY(pdf.text().contains(QStringLiteral("All Related Projects")));
        } else {
            QVERIFY(b.f->prompts().lastText().startsWith(QStringLiteral("The following Error occurred:")));
        }
        QVERIFY(ReportBench::control<QPushButton>(d, "cmdOpts(0)")->isEnabled());
        QVERIFY(ReportBench::control<QPushButton>(d, "cmdOpts(1)")->isEnabled());
        QVERIFY(!ReportBench::control<QWidget>(d, "picMsg")->isVisible());
        QCOMPARE(ReportBench::control<QProgressBar>(d, "prbPrint")->value(), 0);

        // Once the cause is gone it prints at once.
        ui::SetNoPrinter(false);
        if (failure == "values unreadable") b.f->db().Execute("ALTER TABLE Gone RENAME TO CUFldValues");
        QFile::remove(b.pdf);
        ReportBench::control<QPushButton>(d, "cmdOpts(0)")->click();
        QVERIFY(QFile::exists(b.pdf));
        QCOMPARE(b.f->rowCount("ErrLog"), 1);
    }

    // Closing the editor by its close box takes the report dialog along.
    void closesWithItsEditor() {
        core::RecordEditor* editor = b.editor(kContact, 5);
        QPointer<QDialog> d = b.openReport(kContact);
        QVERIFY(d);
        auto* frame = qobject_cast<QMdiSubWindow*>(editor->parentWidget());
        QVERIFY(frame);
        frame->close();
        ReportBench::settle();
        QVERIFY(!d);
        QCOMPARE(b.f->prompts().count(), 0);
    }

    // Texts of every kind in the title, the boxes and the values print as they are.
    void hostileTexts() {
        const QString texts[] = {QStringLiteral("O'Brien; DROP TABLE Contacts --"),
                                 QStringLiteral("\"quoted\" & <b>"), QStringLiteral("Smile \U0001F600"),
                                 QStringLiteral("\u05E9\u05DC\u05D5\u05DD"), QStringLiteral("tab\there\x01")};
        core::RecordEditor* editor = b.editor(kContact, 5);
        qobject_cast<QLineEdit*>(editor->Text1(3))->setText(texts[1]);
        qobject_cast<QLineEdit*>(editor->Text1(4))->setText(texts[2]);
        b.f->db().Execute(
            "INSERT INTO CUFldValues (fkContID, fkUserFld, Value) VALUES (5, ?, ?), (5, 'Z', ?)",
            {texts[0], texts[3], texts[4]});
        QDialog* d = b.openReport(kContact);
        ReportBench::control<QLineEdit>(d, "txtTitle")->setText(texts[0]);
        b.print(d);
        QCOMPARE(b.f->prompts().count(), 0);
        QCOMPARE(b.f->rowCount("ErrLog"), 0);
        const QString text = PdfReader(b.pdf).text();
        // What the print font has no glyph for cannot be read back, nor a character beyond the BMP (an
        // emoji): it is drawn, but the PDF's text map does not carry it back.
        QFont font(core::print::FontName());
        const QFontMetricsF metrics(font);
        for (const QString& t : texts) {
            for (const QString& word :
                 QString(t).remove(QChar(1)).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts)) {
                const QList<uint> chars = word.toUcs4();
                if (std::all_of(chars.begin(), chars.end(),
                                [&](uint c) { return c < 0x10000 && metrics.inFontUcs4(c); }))
                    QVERIFY2(text.contains(word), qPrintable(word));
            }
        }
    }
};

// The project report, and the lists of both reports running over further pages.
class ProjectReportTest : public QObject {
    Q_OBJECT

    ReportBench b;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() {
        if (PdfReader::Tool().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void init() {
        b.start(m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentTestFunction())));
        auto& db = b.f->db();
        db.Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, FullName, ShownName) VALUES "
            "(5, 'I', 'Default', 'Anna Berg', 'Berg, Anna'), (6, 'I', 'Default', 'Ann Zed', 'Zed, Ann')");
        db.Execute("INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (6, 'Home', '555-0606')");
        db.Execute(
            "INSERT INTO CEMail (fkContID, fkLookup, Email) VALUES (6, 'Personal', 'ann@zed.example')");
        db.Execute(
            "INSERT INTO Projects (ProjID, PName, Status, PrjType, StartDate, EndDate, Budget, Setting) "
            "VALUES (7, 'Roof', 'Active', 'Construction', '2026-03-01', '2026-09-30', '$5,000', 'Default')");
        db.Execute(
            "INSERT INTO RelateProject (fkProjID, fkContID, ContShowName) VALUES (7, 6, 'Zed, Ann'), "
            "(7, 5, 'Berg, Anna')");
    }
    void cleanup() { b.stop(); }

    // The grid across the page, the values, and the related contacts following them when asked for;
    // without values the related bar stands at 8.24.
    void page_data() {
        QTest::addColumn<int>("values");
        QTest::addColumn<bool>("contacts");
        QTest::newRow("values, no related") << 2 << false;
        QTest::newRow("no values, related") << 0 << true;
    }
    void page() {
        QFETCH(int, values);
        QFETCH(bool, contacts);
        b.addValues(kProject, 7, values);
        // A second link to Ann Zed, as the picker writes it: she is printed once, as the editor lists her.
        b.f->db().Execute(
            "INSERT INTO RelateProject (fkProjID, fkContID, ContShowName) VALUES (7, 6, 'Zed, Ann')");
        core::RecordEditor* editor = b.editor(kProject, 7);
        qobject_cast<QLineEdit*>(editor->Text1(5))->setText(QStringLiteral("$6,000"));
        QDialog* d = b.openReport(kProject, "Print");
        QCOMPARE(d->windowTitle(), QStringLiteral("Print Project Report"));
        QCOMPARE(ReportBench::control<QLineEdit>(d, "txtTitle")->text(), QStringLiteral("Roof"));
        QList<int> progress;
        const auto watch = connect(ReportBench::control<QProgressBar>(d, "prbPrint"),
                                   &QProgressBar::valueChanged, this, [&](int v) { progress << v; });
        b.print(d, contacts);
        disconnect(watch);
        const PdfReader pdf(b.pdf);

        const QStringList rows[] = {{"Name", "Roof"},
                                    {"Status", "Active"},
                                    {"Setting", "Default"},
                                    {"Project Type", "Construction"},
                                    {"Start Date", "03/01/2026"},
                                    {"End Date", "09/30/2026"},
                                    {"Budget", "$6,000"}};
        for (int r = 0; r < 7; ++r) {
            QCOMPARE(TextAt(pdf, 1.4, 3.20 + 0.48 * r, 3.7), rows[r][0]);
            QCOMPARE(TextAt(pdf, 3.75, 3.20 + 0.48 * r), rows[r][1]);
            QVERIFY(pdf.inkAt(15.0, 3.63 + 0.48 * r));
        }
        QVERIFY(pdf.inkAt(20.3, 5.0) && pdf.inkAt(3.65, 5.0));
        QCOMPARE(TextAt(pdf, 1.4 + BarIndent(), 6.79), QStringLiteral("User Defined Project Fields"));
        QCOMPARE(TextAt(pdf, 10.3, 7.24), QStringLiteral("Field Value"));
        for (int i = 1; i <= values; ++i)
            QCOMPARE(TextAt(pdf, 1.4, 7.74 + 0.35 * (i - 1)), QStringLiteral("Field 0%1 Value %1").arg(i));
        QCOMPARE(TextAt(pdf, 18.5, 26.3), QStringLiteral("Page 1"));
        if (contacts) {
            QCOMPARE(TextAt(pdf, 1.4 + BarIndent(), 8.24), QStringLiteral("All Related Contacts"));
            QCOMPARE(TextAt(pdf, 4.4, 8.69, 7.3), QStringLiteral("Phone"));
            const QString zed[] = {"Zed, Ann", "555-0606", "ann@zed.example"};
            const double xs[] = {1.4, 4.4, 7.4, 100};
            QCOMPARE(TextAt(pdf, 1.4, 9.19), QStringLiteral("Berg, Anna"));
            for (int i = 0; i < 3; ++i) QCOMPARE(TextAt(pdf, xs[i], 9.54, xs[i + 1]), zed[i]);
            QCOMPARE(pdf.text().count(zed[0]), 1);
            QCOMPARE(progress, (QList<int>{10, 20, 30, 50, 60, 70, 80, 90, 0}));
        } else {
            QVERIFY(!pdf.text().contains(QStringLiteral("Related")));
            QCOMPARE(progress, (QList<int>{10, 20, 30, 50, 60, 70, 90, 0}));
        }
    }

    // Long lists go on over further pages with their headings again; a related section that would
    // not fit begins a page of its own.
    void pageBreaks_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("values");
        QTest::addColumn<int>("onFirstPage");
        QTest::addColumn<bool>("related");
        QTest::newRow("contact, 60 values") << kContact << 60 << 44 << false;
        QTest::newRow("project, 60 values") << kProject << 60 << 52 << false;
        QTest::newRow("contact, related section after 43 values") << kContact << 43 << 43 << true;
        QTest::newRow("project, related contacts after 51 values") << kProject << 51 << 51 << true;
    }
    void pageBreaks() {
        QFETCH(Report, report);
        QFETCH(int, values);
        QFETCH(int, onFirstPage);
        QFETCH(bool, related);
        const int id = report == kContact ? 5 : 7;
        b.addValues(report, id, values);
        if (report == kContact)
            b.f->db().Execute(
                "INSERT INTO RelateCont (MasterContID, SubContID, SubContShowName) VALUES (5, 6, 'Zed, "
                "Ann')");
        b.editor(report, id);
        b.print(b.openReport(report), related);
        const PdfReader pdf(b.pdf);

        const double first = report == kContact ? 10.74 : 7.74;
        const auto value = [](int i) { return QStringLiteral("Field %1").arg(i, 2, 10, QLatin1Char('0')); };
        for (int i = 1; i <= values; ++i) {
            const bool firstPage = i <= onFirstPage;
            const PdfReader::Line line = pdf.line(value(i));
            QCOMPARE(line.page, firstPage ? 1 : 2);
            QVERIFY2(qAbs(line.top - (firstPage ? first + 0.35 * (i - 1)
                                                : 2.0 + 0.35 * (i - onFirstPage - 1))) < kTolerance,
                     qPrintable(value(i)));
        }
        if (values > onFirstPage) {
            QCOMPARE(TextAt(pdf, 1.4, 1.5, 10.0, 2), QStringLiteral("User Field Description"));
            QVERIFY(pdf.inkAt(15.0, 1.9, 2));
        }
        if (related) {
            QCOMPARE(TextAt(pdf, 1.4 + BarIndent(), 1.5, 100, 2), QStringLiteral("All Related Contacts"));
            QCOMPARE(TextAt(pdf, 1.4, 2.45, 4.0, 2),
                     report == kContact ? QStringLiteral("Zed, Ann") : QStringLiteral("Berg, Anna"));
        }
        QCOMPARE(TextAt(pdf, 18.5, 26.3, 100, 1), QStringLiteral("Page 1"));
        QCOMPARE(TextAt(pdf, 18.5, 26.3, 100, 2), QStringLiteral("Page 2"));
        QCOMPARE(pdf.text().count(QLatin1Char('\f')), 2);
        ExpectNothingBelowRows(pdf);
    }
};

POMARET_TEST(ContactReportTest)
POMARET_TEST(ProjectReportTest)
#include "tst_ProfileReports.moc"
