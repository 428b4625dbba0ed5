#include "core/PrintPage.h"

#include <QLocale>

#include "platform/ui/Printer.h"

namespace core::print {

namespace {

constexpr double kLeft = 1.3;
constexpr double kTimeY = 1.5;
constexpr double kTitleY = 1.7;
constexpr double kDateY = 1.9;
constexpr double kFooterY = 26.3;
constexpr double kPageX = 18.5;
constexpr double kHeaderPoints = 10;
constexpr double kTitlePoints = 14;
constexpr double kFooterPoints = 8;

void SetFont(class ui::Printer& printer, double points) {
    printer.SetFontName(FontName());
    printer.SetFontSize(points);
    printer.SetFontBold(false);
}

}  // namespace

QString TimeText(const QTime& time) {
    return time.isValid() ? QLocale::c().toString(time, QStringLiteral("h:mm AP")) : QString();
}

QString DateText(const QDate& date) {
    return date.isValid() ? QLocale::c().toString(date, QStringLiteral("M/dd/yy")) : QString();
}

QString FontName() {
    return ui::Printer::DefaultFontName();
}

QString CellText(const QString& text, double width) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    auto& printer = ui::Printer();
    if (printer.TextWidth(line) <= width) return line;
    // The longest beginning that fits, never half a character.
    qsizetype fits = 0;
    qsizetype tooLong = line.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        (printer.TextWidth(line.left(middle)) <= width ? fits : tooLong) = middle;
    }
    if (fits > 0 && line.at(fits - 1).isHighSurrogate()) --fits;
    return line.left(fits);
}

void PrintHeader(const PageHeader& header) {
    auto& printer = ui::Printer();
    printer.SetScaleMode(ui::ScaleUnit::Centimeters);
    SetFont(printer, kHeaderPoints);
    printer.SetCurrentX(kLeft);
    printer.SetCurrentY(kTimeY);
    printer.Print(header.time, true);

    printer.SetCurrentY(kTitleY);
    SetFont(printer, kTitlePoints);
    printer.SetCurrentX((printer.ScaleWidth() - printer.TextWidth(header.title)) / 2);
    printer.Print(header.title);

    printer.SetCurrentX(kLeft);
    printer.SetCurrentY(kDateY);
    SetFont(printer, kHeaderPoints);
    printer.Print(header.date);
}

void PrintFooter(const QString& date) {
    auto& printer = ui::Printer();
    printer.SetScaleMode(ui::ScaleUnit::Centimeters);
    SetFont(printer, kFooterPoints);
    printer.SetCurrentY(kFooterY);
    if (!date.isEmpty()) {
        printer.SetCurrentX(kLeft);
        printer.Print(date);
    }
    printer.SetCurrentX(kPageX);
    printer.Print(QStringLiteral("Page ") + QString::number(printer.Page()));
}

void PrintDocument(const std::function<void()>& draw) {
    auto& printer = ui::Printer();
    // Whatever an earlier failure may have left is not part of this document.
    if (printer.InDocument()) printer.AbandonDoc();
    try {
        draw();
        printer.EndDoc();
    } catch (...) {
        printer.AbandonDoc();
        throw;
    }
}

}  // namespace core::print
