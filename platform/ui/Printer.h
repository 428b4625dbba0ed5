#pragma once

#include "platform/Error.h"

#include <QFont>
#include <QPointF>
#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

class QPrinter;

namespace ui {

// Units of the printer's coordinates; positions and sizes read and write in the current one.
enum class ScaleUnit { Twips, Points, Pixels, Inches, Millimeters, Centimeters };

// No printer, or the job cannot be started or continued.
class PrinterError : public platform::Error {
public:
    explicit PrinterError(const QString& description, int number = 482) : platform::Error(number, description) {}
};

// The printer of the print-outs: one drawing surface per document on the default printer (or the
// PDF file of SetPrinterOutputFile), addressed from the top-left corner of the printable area. The
// document starts with the first drawing and ends with EndDoc or AbandonDoc, after which everything
// starts over: page 1, position (0, 0), twips, the default font.
//
// The pages are kept until EndDoc and only then sent, so a document abandoned half-way leaves
// nothing at the printer or in the PDF file.
//
//   auto& p = ui::Printer();
//   p.SetScaleMode(ui::ScaleUnit::Centimeters);
//   p.SetCurrentX(1.3); p.SetCurrentY(1.5);
//   p.Print("10:00 AM", true);
//   p.EndDoc();
class Printer {
public:
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    ScaleUnit ScaleMode() const { return m_scale; }
    void SetScaleMode(ScaleUnit unit) { m_scale = unit; }

    double CurrentX() const;
    double CurrentY() const;
    void SetCurrentX(double x);
    void SetCurrentY(double y);
    // Where text continues on a page that wrapping started (PrintWrapped); 0 unless set.
    double TopMargin() const;
    void SetTopMargin(double y);
    // Where wrapped text leaves the page for the next one (PrintWrapped); 0: the printable bottom.
    double PageBottom() const;
    void SetPageBottom(double y);

    QString FontName() const;
    void SetFontName(const QString& name);
    double FontSize() const;  // points
    void SetFontSize(double points);
    bool FontBold() const;
    void SetFontBold(bool bold);

    double TextWidth(const QString& text);
    // The height of the text's lines in the current font, one line for an empty text.
    double TextHeight(const QString& text = QString());
    // The printable area.
    double ScaleWidth();
    double ScaleHeight();

    // Draws the text with its top-left corner at the current position. stayOnLine: X moves to the
    // end of the text; otherwise X goes back to 0 and Y down one line. Line breaks in the text
    // (CR LF, LF) end lines of their own.
    void Print(const QString& text = QString(), bool stayOnLine = false);
    // Thin black line; the position becomes (x2, y2).
    void Line(double x1, double y1, double x2, double y2);
    // Outline of the rectangle with these corners; the position becomes (x2, y2).
    void Box(double x1, double y1, double x2, double y2);
    // Ends the page; the next one starts at (0, 0).
    void NewPage();
    int Page() const { return m_page; }
    // Sends the document; the next drawing starts a new one. Raises PrinterError when the printer
    // refuses it; the document is then dropped.
    void EndDoc();
    // Drops the document: nothing of it is sent.
    void AbandonDoc();
    bool InDocument() const { return m_inDocument; }

    // The printer the next document goes to. Raises PrinterError when there is none.
    QString DeviceName() const;

    // The sans-serif font every document starts in.
    static QString DefaultFontName();

private:
    friend Printer& Printer();
    Printer();

    double PerInch(ScaleUnit unit) const;
    double ToInches(double value) const { return value / PerInch(m_scale); }
    double FromInches(double inches) const { return inches * PerInch(m_scale); }
    double DeviceDpi() const;
    // The printer (or PDF file) of the next or current document, made at first need.
    QPrinter& Device() const;
    // Every drawing goes through here: starts the document at the first one.
    void BeginDrawing();
    QFont CurrentFont() const;
    void Reset();
    void DrawLine(const QString& line);
    void Send();

    // One drawing of the document, in device pixels, kept until the document is sent.
    struct Drawing {
        enum Kind { Text, Line, Box } kind;
        int page;
        QPointF from, to;
        QString text;
        QFont font;
    };

    mutable std::unique_ptr<QPrinter> m_printer;
    std::vector<Drawing> m_drawings;
    bool m_inDocument = false;
    ScaleUnit m_scale = ScaleUnit::Twips;
    double m_x = 0;  // inches
    double m_y = 0;
    double m_topMargin = 0;
    double m_pageBottom = 0;
    QString m_fontName;
    double m_fontSize = 10;
    bool m_fontBold = false;
    int m_page = 1;
};

// The program's one printer. The function hides the class name, as a global printer object would:
// write `auto& p = ui::Printer();` (or `class ui::Printer&` where the type must be spelt).
Printer& Printer();

// Tests: documents go to this PDF file instead of the default printer; empty: the default printer.
void SetPrinterOutputFile(const QString& pdfPath);
QString PrinterOutputFile();
// Tests: a machine without any printer, whatever printers this one has (the PDF file included).
void SetNoPrinter(bool none);
// Tests: the n-th drawing (or NewPage) of the next document raises PrinterError, as a driver that
// fails half-way; 0: none.
void FailPrinterAtDrawing(int n);

}  // namespace ui
