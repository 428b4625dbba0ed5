#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "core/modGeneral.h"
#include "platform/ui/Printer.h"
#include "support/PdfReader.h"
#include "support/TestRegistry.h"

namespace {

constexpr double kTolerance = 0.02;  // cm

using Word = testsupport::PdfReader::Word;
using Line = testsupport::PdfReader::Line;

}  // namespace

class PrinterTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_pdf;

    QString pdftotext(const QStringList& options) { return testsupport::PdfReader(m_pdf).text(options); }
    QList<Word> words() { return testsupport::PdfReader(m_pdf).words(); }
    QList<Line> lines() { return testsupport::PdfReader(m_pdf).lines(kTolerance); }

    // Prints one document in centimetres, 10 pt, from (3, y) with PrintWrapped.
    void printWrapped(const QString& text, double y = 5, double topMargin = 0) {
        auto& printer = ui::Printer();
        printer.SetScaleMode(ui::ScaleUnit::Centimeters);
        printer.SetFontSize(10);
        printer.SetTopMargin(topMargin);
        printer.SetCurrentX(3);
        printer.SetCurrentY(y);
        modGeneral::PrintWrapped(text);
        printer.EndDoc();
    }

    static QString manyWords(int count) {
        static const QStringList pool{QStringLiteral("alpha"),     QStringLiteral("be"),
                                      QStringLiteral("gammaray"),  QStringLiteral("d"),
                                      QStringLiteral("epsilonic"), QStringLiteral("zeta")};
        QStringList out;
        for (int i = 0; i < count; ++i) out << pool[i % pool.size()] + QString::number(i);
        return out.join(QLatin1Char(' '));
    }

    void verifyWrapped(const QList<Line>& printed, double spaceWidth) {
        for (qsizetype i = 0; i < printed.size(); ++i) {
            const Line& line = printed[i];
            QVERIFY2(line.right() <= 19.8 + kTolerance, qPrintable(line.text()));
            if (i == 0) continue;
            QVERIFY2(qAbs(line.left() - 3) < kTolerance, qPrintable(line.text()));
            if (line.page == printed[i - 1].page)
                QVERIFY(qAbs(line.top - printed[i - 1].top - 0.38) < kTolerance);
            // Wrapped no earlier than needed: the first word did not fit after the previous line.
            const Word& first = line.words.first();
            QVERIFY2(printed[i - 1].right() + spaceWidth + (first.right - first.left) > 19.8 - kTolerance,
                     qPrintable(line.text()));
        }
    }

private Q_SLOTS:
    void initTestCase() {
        if (testsupport::PdfReader::Tool().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(m_dir.isValid());
    }
    void init() {
        m_pdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentTestFunction()));
        QFile::remove(m_pdf);
        ui::SetPrinterOutputFile(m_pdf);
    }
    void cleanup() {
        ui::Printer().EndDoc();
        ui::SetPrinterOutputFile(QString());
    }

    void positionsFollowTheScale() {
        auto& printer = ui::Printer();
        QCOMPARE(printer.DeviceName(), m_pdf);
        QCOMPARE(printer.ScaleMode(), ui::ScaleUnit::Twips);
        printer.SetCurrentX(1440);
        printer.SetCurrentY(720);
        printer.SetScaleMode(ui::ScaleUnit::Centimeters);
        QCOMPARE(printer.CurrentX(), 2.54);
        QCOMPARE(printer.CurrentY(), 1.27);
        printer.SetScaleMode(ui::ScaleUnit::Points);
        QCOMPARE(printer.CurrentX(), 72.0);

        // Letter paper with quarter-inch margins.
        printer.SetScaleMode(ui::ScaleUnit::Inches);
        QCOMPARE(printer.ScaleWidth(), 8.0);
        QCOMPARE(printer.ScaleHeight(), 10.5);
    }

    void printLineAndPages() {
        auto& printer = ui::Printer();
        printer.SetScaleMode(ui::ScaleUnit::Centimeters);
        printer.SetFontSize(14);
        printer.SetCurrentX(1.3);
        printer.SetCurrentY(1.5);
        const double width = printer.TextWidth(QStringLiteral("10:00 AM"));
        printer.Print(QStringLiteral("10:00 AM"), true);
        QVERIFY(qAbs(printer.CurrentX() - (1.3 + width)) < 1e-9);
        QCOMPARE(printer.CurrentY(), 1.5);
        printer.Print(QStringLiteral("Title"));
        QCOMPARE(printer.CurrentX(), 0.0);
        QVERIFY(qAbs(printer.CurrentY() - (1.5 + printer.TextHeight())) < 1e-9);

        printer.Line(1.3, 3.08, 20.3, 3.56);
        QCOMPARE(printer.CurrentY(), 3.56);
        printer.NewPage();
        QCOMPARE(printer.Page(), 2);
        QCOMPARE(printer.CurrentY(), 0.0);
        printer.Print(QStringLiteral("Page ") + QString::number(printer.Page()));
        printer.EndDoc();
        // The next document starts over.
        QCOMPARE(printer.Page(), 1);
        QCOMPARE(printer.ScaleMode(), ui::ScaleUnit::Twips);

        const QStringList pages = pdftotext({QStringLiteral("-layout")}).split(QLatin1Char('\f'));
        QVERIFY(pages.size() >= 2);
        QVERIFY(pages[0].contains(QStringLiteral("10:00 AMTitle")));
        QVERIFY(pages[1].contains(QStringLiteral("Page 2")));
        QVERIFY(qAbs(words().first().left - 1.3) < kTolerance);
    }

    void wrapsLongLinesAtTheRightEdge() {
        const QString text = manyWords(60);
        printWrapped(text);
        const QList<Line> printed = lines();
        QVERIFY(printed.size() >= 3);
        QStringList texts;
        for (const Line& line : printed) texts << line.text();
        QCOMPARE(texts.join(QLatin1Char(' ')), text);
        QVERIFY(qAbs(printed.first().left() - 3) < kTolerance);
        auto& printer = ui::Printer();
        printer.SetScaleMode(ui::ScaleUnit::Centimeters);
        printer.SetFontSize(10);
        verifyWrapped(printed, printer.TextWidth(QStringLiteral(" ")));
    }

    void blanksKeptAndLineFeedsBreak() {
        auto& printer = ui::Printer();
        printer.SetScaleMode(ui::ScaleUnit::Centimeters);
        printer.SetFontSize(10);
        const double space = printer.TextWidth(QStringLiteral(" "));

        printWrapped(QStringLiteral("one  two\r\nthree\tfour\nnine"));
        const QList<Line> printed = lines();
        QCOMPARE(printed.size(), 3);
        // Two blanks stay two blanks wide.
        QCOMPARE(printed[0].words.size(), 2);
        QVERIFY(qAbs(printed[0].words[1].left - printed[0].words[0].right - 2 * space) < kTolerance);
        // CR LF is one line break; a tab is dropped.
        QCOMPARE(printed[1].text(), QStringLiteral("threefour"));
        QCOMPARE(printed[2].text(), QStringLiteral("nine"));
        for (int i = 1; i < 3; ++i) {
            QVERIFY(qAbs(printed[i].left() - 3) < kTolerance);
            QVERIFY(qAbs(printed[i].top - printed[i - 1].top - 0.38) < kTolerance);
        }
        const QString layout = pdftotext({QStringLiteral("-layout")});
        static const QRegularExpression shape(QStringLiteral(R"(one +two *\n *threefour *\n *nine)"));
        QVERIFY2(layout.contains(shape), qPrintable(layout));
    }

    void longTextContinuesOnTheNextPage() {
        const QString text = manyWords(200);
        printWrapped(text, 24, 2.5);
        const QList<Line> printed = lines();
        QCOMPARE(printed.last().page, 2);
        QStringList texts;
        for (const Line& line : printed) texts << line.text();
        QCOMPARE(texts.join(QLatin1Char(' ')), text);

        // Page 2 starts at the top margin, as far below it as page 1's first line is below y 24.
        const double offset = printed.first().top - 24;
        qsizetype firstOnPage2 = 0;
        while (printed[firstOnPage2].page == 1) ++firstOnPage2;
        QVERIFY(qAbs(printed[firstOnPage2].top - offset - 2.5) < kTolerance);
        QVERIFY(qAbs(printed[firstOnPage2].left() - 3) < kTolerance);
        // The last line of page 1 stays within the printable area (26.67 cm high).
        QVERIFY(printed[firstOnPage2 - 1].top < 26.67);
        QCOMPARE(pdftotext({QStringLiteral("-layout")}).count(QLatin1Char('\f')), 2);
        verifyWrapped(printed, 0);
    }

    void overWideWordIsBroken() {
        const QString wide = QString(160, QLatin1Char('W'));
        printWrapped(QStringLiteral("start ") + wide + QStringLiteral(" end"));
        const QList<Line> printed = lines();
        QVERIFY(printed.size() >= 3);
        QCOMPARE(printed[0].text(), QStringLiteral("start"));
        QString joined;
        for (qsizetype i = 1; i < printed.size(); ++i) {
            QVERIFY2(printed[i].right() <= 19.8 + kTolerance, qPrintable(printed[i].text()));
            QVERIFY(qAbs(printed[i].left() - 3) < kTolerance);
            joined += printed[i].text();
        }
        // Every character printed once, and the text goes on after the last piece.
        QCOMPARE(joined, wide + QStringLiteral(" end"));
        QVERIFY(printed.last().text().endsWith(QStringLiteral(" end")));
    }
};

POMARET_TEST(PrinterTest)
#include "tst_Printer.moc"
