#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/PrintPage.h"
#include "core/modGeneral.h"
#include "items/ItemDialog.h"
#include "items/ItemScreens.h"
#include "platform/ui/Printer.h"
#include "platform/ui/ScreenRegistry.h"
#include "support/Fixture.h"
#include "support/PdfReader.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;
using testsupport::PdfReader;

namespace {

constexpr double kTolerance = 0.05;  // cm

enum Kind { kToDo, kAppt, kNote };

// The stored item of each kind, opened and then edited without saving.
void OpenStored(Kind kind) {
    const modGeneral::ItemOpening item = modGeneral::StoredItem(1);
    if (kind == kToDo) modGeneral::OpenToDo(item);
    if (kind == kAppt) modGeneral::OpenAppt(item);
    if (kind == kNote) modGeneral::OpenNote(item);
}

ItemDialog* Dialog() {
    return ui::ScreenRegistry::instance().find<ItemDialog>();
}

template <class T>
T* Control(const char* name) {
    T* w = Dialog()->findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no control %s", name);
    return w;
}

}  // namespace

Q_DECLARE_METATYPE(Kind)

// The Print button of the item dialogs, read back from the PDF it prints.
class ItemPrintTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    QTemporaryDir m_dir;
    QString m_pdf;

    void open(Kind kind) {
        OpenStored(kind);
        QVERIFY(QTest::qWaitForWindowActive(Dialog()));
    }
    void print(ui::Answer answer = ui::Answer::Yes) {
        f->prompts().answer(answer);
        Control<QPushButton>("cmdOpts(2)")->click();
    }
    // Checks where a line starting with `text` stands; grid rows have their value at x 3.0.
    void expectAt(const PdfReader& pdf, const QString& text, double x, double y, bool gridRow = false, int page = 1) {
        const PdfReader::Line line = pdf.line(text, page);
        QVERIFY2(line.page == page, qPrintable(text));
        QVERIFY2(qAbs(line.left() - x) < kTolerance && qAbs(line.top - y) < kTolerance,
                 qPrintable(QStringLiteral("%1 at (%2, %3)").arg(line.text()).arg(line.left()).arg(line.top)));
        if (gridRow) QVERIFY2(qAbs(line.words.at(1).left - 3.0) < kTolerance, qPrintable(line.text()));
    }
    static double FooterLineHeight() {
        auto& printer = ui::Printer();
        printer.SetScaleMode(ui::ScaleUnit::Centimeters);
        printer.SetFontName(core::print::FontName());
        printer.SetFontSize(8);
        const double height = printer.TextHeight();
        printer.EndDoc();
        return height;
    }

private Q_SLOTS:
    void initTestCase() {
        if (PdfReader::Tool().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(m_dir.isValid());
        items::RegisterScreens();
    }
    void init() {
        f = std::make_unique<Fixture>();
        m_pdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentTestFunction()));
        QFile::remove(m_pdf);
        ui::SetPrinterOutputFile(m_pdf);
        f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (5, 'Berg, Anna')");
        f->db().Execute("INSERT INTO Projects (ProjID, PName) VALUES (7, 'Roof')");
        f->db().Execute(
            "INSERT INTO ToDo (Subject, TextBody, DueDate, fkContID, fkProjID, Urgent) "
            "VALUES ('Call back', 'Bring the plans', '2025-01-06', 5, 7, -1)");
        f->db().Execute(
            "INSERT INTO Appts (Subject, TextBody, DateFrom, DateTo, TimeFrom, TimeTo, fkContID) "
            "VALUES (NULL, 'Site visit', '2025-01-06', '2025-01-07', '08:30:00', '14:00:00', 5)");
        f->db().Execute(
            "INSERT INTO Attach (TextBody, NType, fkProjID, DateStamp) "
            "VALUES ('Asked for a quote', 'C', 7, '2025-01-06 14:30:00')");
    }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui::SetNoPrinter(false);
        ui::FailPrinterAtDrawing(0);
        ui::Printer().AbandonDoc();
        ui::SetPrinterOutputFile(QString());
        f.reset();
    }

    // Each print-out's header, grid and footer where they belong, with what the dialog shows.
    void printOuts_data() {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("to-do") << kToDo;
        QTest::newRow("appointment") << kAppt;
        QTest::newRow("note") << kNote;
    }
    void printOuts() {
        QFETCH(Kind, kind);
        open(kind);
        if (kind == kToDo) {
            // Not saved: the empty subject and the ticked Completed box are printed as they stand.
            Control<QLineEdit>("Text1(0)")->clear();
            Control<QCheckBox>("Check1(3)")->setChecked(true);
        }
        print();
        QCOMPARE(f->prompts().lastTitle(), QStringLiteral("Confirm Print Record"));
        QCOMPARE(f->prompts().lastStyle(), ui::YesNo | ui::Question);
        const QString question[] = {QStringLiteral("Print this To Do item on printer "),
                                    QStringLiteral("Print this Appointment on printer "),
                                    QStringLiteral("Print this Note/Call on printer ")};
        QCOMPARE(f->prompts().lastText(), question[kind] + m_pdf);
        QCOMPARE(f->prompts().count(), 1);

        const PdfReader pdf(m_pdf);
        // The note's header shows when it was made; the others when they are printed.
        expectAt(pdf, kind == kNote ? "2:30 PM" : "10:00 AM", 1.3, 1.5);
        expectAt(pdf, kind == kNote ? "1/06/25" : "12/08/26", 1.3, 1.9);
        const QString title[] = {QStringLiteral("To Do"), QStringLiteral("Appointment"), QStringLiteral("Call")};
        const PdfReader::Line titleLine = pdf.line(title[kind]);
        QCOMPARE(titleLine.text(), title[kind]);
        QVERIFY(qAbs(titleLine.top - 1.7) < kTolerance);
        QVERIFY(qAbs((titleLine.left() + titleLine.right()) / 2 - 20.32 / 2) < kTolerance);

        // Label and value of each row; pdftotext may run a short label into its value.
        QList<QStringList> rows{{"Project", kind == kAppt ? "" : "Roof"}, {"Contact", kind == kNote ? "" : "Berg, Anna"}};
        if (kind == kToDo)
            rows << QStringList{"Due", "01/06/2025 at [No Time Selected]"} << QStringList{"Urgent", "Yes"}
                 << QStringList{"Completed", "Yes"} << QStringList{"Description", "Bring the plans"};
        if (kind == kAppt)
            rows << QStringList{"From", "01/06/2025 at 8:30 AM"} << QStringList{"To", "01/07/2025 at 2:00 PM"}
                 << QStringList{"Description", "Site visit"};
        if (kind == kNote) rows << QStringList{"Description", "Asked for a quote"};
        for (int i = 0; i < rows.size(); ++i) {
            const PdfReader::Line line = pdf.line(rows[i][0]);
            QCOMPARE(QString(line.text()).remove(u' '), QString(rows[i][0] + rows[i][1]).remove(u' '));
            expectAt(pdf, rows[i][0], 1.4, 2.65 + 0.48 * i, line.words.size() > 1 && line.words[0].text == rows[i][0]);
        }

        if (kind == kNote) {
            expectAt(pdf, "12/8/2026", 1.3, 26.3);
            expectAt(pdf, "Page 1", 18.5, 26.3 + FooterLineHeight());
        } else {
            expectAt(pdf, "Page 1", 18.5, 26.3);
        }
        QCOMPARE(pdf.text().count(QLatin1Char('\f')), 1);
    }

    void longDescriptionGoesOnToPage2() {
        open(kToDo);
        QStringList lines;
        for (int i = 1; i <= 80; ++i) lines << QStringLiteral("line%1").arg(i);
        Control<QPlainTextEdit>("Text1(1)")->setPlainText(lines.join(QLatin1Char('\n')));
        print();
        const PdfReader pdf(m_pdf);
        expectAt(pdf, "Description", 1.4, 5.05);
        QCOMPARE(pdf.line("Page").page, 2);
        expectAt(pdf, "Page 2", 18.5, 26.3, false, 2);
        expectAt(pdf, "line", 3.0, 1.5, false, 2);
        const QList<PdfReader::Line> printed = pdf.lines();
        QStringList words;
        for (const PdfReader::Line& line : printed) {
            if (line.text().startsWith("line") || line.text().startsWith("Description"))
                words << QString(line.words.last().text).remove(QStringLiteral("Description"));
            // Nothing runs into the footer.
            if (line.text() != QLatin1String("Page 2")) QVERIFY2(line.top < 26.3 - 0.3, qPrintable(line.text()));
        }
        QCOMPARE(words, lines);
    }

    // No prints nothing; without a printer, or when the printer fails half-way, the dialog's message
    // is shown, the failure logged and no document produced.
    void failuresPrintNothing_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("failure");
        const char* failures[] = {"answered No", "no printer", "fails after the header"};
        for (const char* failure : failures) {
            QTest::addRow("to-do, %s", failure) << kToDo << QString::fromLatin1(failure);
            QTest::addRow("appointment, %s", failure) << kAppt << QString::fromLatin1(failure);
            QTest::addRow("note, %s", failure) << kNote << QString::fromLatin1(failure);
        }
    }
    void failuresPrintNothing() {
        QFETCH(Kind, kind);
        QFETCH(QString, failure);
        open(kind);
        if (failure == "answered No") {
            print(ui::Answer::No);
            QCOMPARE(f->prompts().count(), 1);
        } else {
            if (failure == "no printer") {
                ui::SetNoPrinter(true);
                f->prompts().answer(ui::Answer::OK);
                Control<QPushButton>("cmdOpts(2)")->click();
            } else {
                // The header is three drawings; the grid's first line fails.
                ui::FailPrinterAtDrawing(4);
                f->prompts().answer(ui::Answer::Yes).answer(ui::Answer::OK);
                Control<QPushButton>("cmdOpts(2)")->click();
            }
            const char* form[] = {"frmToDo", "frmAppt", "frmNotes"};
            QCOMPARE(f->prompts().lastText(),
                     QStringLiteral("%1\nSorry for the inconvenience")
                         .arg(kind == kAppt ? "An un-known error occurred during the procedure!"
                                            : "An un-known error occurred!"));
            QCOMPARE(f->scalar("SELECT ModName FROM ErrLog").toString(),
                     QStringLiteral("%1.cmdOpts_Click").arg(form[kind]));
            QCOMPARE(f->rowCount("ErrLog"), 1);
        }
        QVERIFY(!QFile::exists(m_pdf));
        QVERIFY(!ui::Printer().InDocument());
        // The dialog stays as it was and prints once the printer is back.
        ui::SetNoPrinter(false);
        QVERIFY(Dialog()->isVisible());
        print();
        QVERIFY(QFile::exists(m_pdf));
    }
};

POMARET_TEST(ItemPrintTest)
#include "tst_ItemPrint.moc"
