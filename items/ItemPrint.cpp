#include "items/ItemPrint.h"

#include <QLocale>

#include "core/modGeneral.h"
#include "platform/ui/Printer.h"

namespace items {

namespace {

constexpr double kLeft = 1.3;
constexpr double kSeparator = 2.95;
constexpr double kRight = 20.3;
constexpr double kGridTop = 2.6;
constexpr double kRowHeight = 0.48;
constexpr double kLabelX = 1.4;
constexpr double kValueX = 3.0;
constexpr double kTextDrop = 0.05;
constexpr double kGridPoints = 8;
// A description carried over to a further page starts level with the header; it never runs into
// the footer.
constexpr double kContinuedTop = 1.5;
constexpr double kTextBottom = 26.2;

// The edges of one boxed row and its bottom line, then its label.
void PrintBox(class ui::Printer& printer, double top, double bottom, const QString& label) {
    for (const double x : {kLeft, kSeparator, kRight}) printer.Line(x, top, x, bottom);
    printer.Line(kLeft, bottom, kRight, bottom);
    printer.SetCurrentX(kLabelX);
    printer.SetCurrentY(top + kTextDrop);
    printer.Print(label, true);
    printer.SetCurrentX(kValueX);
}

}  // namespace

QString PrintedDate(const QDate& date) {
    return date.isValid() ? QLocale::c().toString(date, QStringLiteral("MM/dd/yyyy")) : QString();
}

void PrintItem(const ItemPrintOut& printOut) {
    core::print::PrintDocument([&] {
        auto& printer = ui::Printer();
        core::print::PrintHeader(printOut.header);
        printer.SetFontSize(kGridPoints);
        printer.Line(kLeft, kGridTop, kRight, kGridTop);
        double top = kGridTop;
        for (const PrintRow& row : printOut.rows) {
            PrintBox(printer, top, top + kRowHeight, row.label);
            printer.Print(row.value);
            top += kRowHeight;
        }
        PrintBox(printer, top, printOut.descriptionBottom, QStringLiteral("Description"));
        printer.SetTopMargin(kContinuedTop);
        printer.SetPageBottom(kTextBottom);
        modGeneral::PrintWrapped(printOut.description);
        core::print::PrintFooter(printOut.footerDate);
    });
}

}  // namespace items
