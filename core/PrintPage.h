#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

// The page frame every print-out shares, drawn on ui::Printer in centimetres from the printable
// area's top-left corner: a header with a time, a centred title and a date, and a footer with the
// page number.
namespace core::print {

struct PageHeader {
    QString time;   // TimeText
    QString title;
    QString date;   // DateText
};

// "9:05 AM" and "3/07/26", whatever the user's locale; empty for an invalid value.
QString TimeText(const QTime& time);
QString DateText(const QDate& date);

// The font every print-out is printed in, never bold.
QString FontName();

// A stored text as one line of a cell `width` wide in the printer's current font: its line breaks
// (another program may have written some) as blanks, cut where the cell ends.
QString CellText(const QString& text, double width);

// Sets the centimetre scale and draws the time at (1.3, 1.5) and the date at (1.3, 1.9) in 10 pt, and
// the title in 14 pt centred on the printable width at y 1.7. The position is then below the date.
void PrintHeader(const PageHeader& header);

// "Page n" in 8 pt at (18.5, 26.3). With a date: the date at (1.3, 26.3) and "Page n" at x 18.5 one
// line lower.
void PrintFooter(const QString& date = QString());

// Runs `draw` as one printer document and sends it. Anything that fails abandons the document, so
// nothing half-drawn reaches the printer, and goes on to the caller.
void PrintDocument(const std::function<void()>& draw);

}  // namespace core::print
