#include "platform/ui/Printer.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/ui/ProgramFont.h"

namespace ui {

namespace {

QString& OutputFile() {
    static QString path;
    return path;
}

bool g_noPrinter = false;
int g_failAtDrawing = 0;

PrinterError NoPrinter() {
    return PrinterError(QStringLiteral("Printer error"));
}

}  // namespace

void SetPrinterOutputFile(const QString& pdfPath) {
    OutputFile() = pdfPath;
}

QString PrinterOutputFile() {
    return OutputFile();
}

void SetNoPrinter(bool none) {
    g_noPrinter = none;
}

void FailPrinterAtDrawing(int n) {
    g_failAtDrawing = n;
}

class Printer& Printer() {
    static class Printer printer;
    static const bool hooked = [] {
        // A document still open when the program ends is sent while the application still stands;
        // fonts and the print engine are gone once it is destroyed.
        qAddPostRoutine([] {
            try {
                Printer().EndDoc();
            } catch (...) {
            }
        });
        return true;
    }();
    (void)hooked;
    return printer;
}

Printer::Printer() {
    Reset();
}

Printer::~Printer() = default;

QString Printer::DefaultFontName() {
    return ProgramFontFamily();
}

void Printer::Reset() {
    m_scale = ScaleUnit::Twips;
    m_x = m_y = m_topMargin = m_pageBottom = 0;
    m_fontName = ProgramFontFamily();
    m_fontSize = 10;
    m_fontBold = false;
    m_page = 1;
}

QPrinter& Printer::Device() const {
    if (!m_printer) {
        const QString file = OutputFile();
        if (file.isEmpty()) {
            m_printer = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        } else {
            m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            m_printer->setOutputFormat(QPrinter::PdfFormat);
            m_printer->setOutputFileName(file);
            // Letter with quarter-inch margins: the printable area the print-outs were laid out for
            // (20.32 cm wide, the footer at 26.3 cm still on the page).
            m_printer->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                                 QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
        }
        m_printer->setFullPage(false);
    }
    return *m_printer;
}

void Printer::BeginDrawing() {
    if (!m_inDocument) {
        if (g_noPrinter || (OutputFile().isEmpty() && QPrinterInfo::defaultPrinterName().isEmpty()))
            throw NoPrinter();
        m_inDocument = true;
    }
    if (g_failAtDrawing > 0 && --g_failAtDrawing == 0) throw NoPrinter();
}

void Printer::EndDoc() {
    if (m_inDocument) {
        try {
            Send();
        } catch (...) {
            AbandonDoc();
            throw;
        }
    }
    m_drawings.clear();
    m_inDocument = false;
    m_printer.reset();
    Reset();
}

// Draws the kept pages on the printer and sends them.
void Printer::Send() {
    QPrinter& device = Device();
    QPainter painter;
    if (!painter.begin(&device)) throw NoPrinter();
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    int page = 1;
    const auto fail = [&] {
        device.abort();
        painter.end();
        if (!OutputFile().isEmpty()) QFile::remove(OutputFile());
        throw NoPrinter();
    };
    const auto toPage = [&](int target) {
        for (; page < target; ++page) {
            if (!device.newPage()) fail();
        }
    };
    for (const Drawing& d : m_drawings) {
        toPage(d.page);
        switch (d.kind) {
            case Drawing::Text:
                painter.setFont(d.font);
                painter.drawText(d.from, d.text);
                break;
            case Drawing::Line:
                painter.drawLine(d.from, d.to);
                break;
            case Drawing::Box:
                painter.drawRect(QRectF(d.from, d.to).normalized());
                break;
        }
    }
    toPage(m_page);
    if (!painter.end()) fail();
}

void Printer::AbandonDoc() {
    m_drawings.clear();
    m_inDocument = false;
    if (m_printer) m_printer->abort();
    m_printer.reset();
    Reset();
}

QString Printer::DeviceName() const {
    if (g_noPrinter) throw NoPrinter();
    if (!OutputFile().isEmpty()) return OutputFile();
    const QString name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty()) throw NoPrinter();
    return name;
}

double Printer::DeviceDpi() const {
    return Device().resolution();
}

double Printer::PerInch(ScaleUnit unit) const {
    switch (unit) {
        case ScaleUnit::Twips:
            return 1440.0;
        case ScaleUnit::Points:
            return 72.0;
        case ScaleUnit::Pixels:
            return DeviceDpi();
        case ScaleUnit::Inches:
            return 1.0;
        case ScaleUnit::Millimeters:
            return 25.4;
        case ScaleUnit::Centimeters:
            return 2.54;
    }
    return 1440.0;
}

double Printer::CurrentX() const {
    return FromInches(m_x);
}

double Printer::CurrentY() const {
    return FromInches(m_y);
}

void Printer::SetCurrentX(double x) {
    m_x = ToInches(x);
}

void Printer::SetCurrentY(double y) {
    m_y = ToInches(y);
}

double Printer::TopMargin() const {
    return FromInches(m_topMargin);
}

void Printer::SetTopMargin(double y) {
    m_topMargin = ToInches(y);
}

double Printer::PageBottom() const {
    return FromInches(m_pageBottom);
}

void Printer::SetPageBottom(double y) {
    m_pageBottom = ToInches(y);
}

QString Printer::FontName() const {
    return m_fontName;
}

void Printer::SetFontName(const QString& name) {
    m_fontName = name;
}

double Printer::FontSize() const {
    return m_fontSize;
}

void Printer::SetFontSize(double points) {
    if (points > 0) m_fontSize = points;
}

bool Printer::FontBold() const {
    return m_fontBold;
}

void Printer::SetFontBold(bool bold) {
    m_fontBold = bold;
}

QFont Printer::CurrentFont() const {
    QFont font(m_fontName);
    font.setPointSizeF(m_fontSize);
    font.setBold(m_fontBold);
    return font;
}

double Printer::TextWidth(const QString& text) {
    const QFontMetricsF metrics(CurrentFont(), &Device());
    return FromInches(metrics.horizontalAdvance(text) / DeviceDpi());
}

double Printer::TextHeight(const QString& text) {
    const QFontMetricsF metrics(CurrentFont(), &Device());
    const qsizetype lines =
        text.isEmpty() ? 1 : QString(text).remove(QLatin1Char('\r')).count(QLatin1Char('\n')) + 1;
    return FromInches(lines * metrics.lineSpacing() / DeviceDpi());
}

double Printer::ScaleWidth() {
    return FromInches(Device().pageLayout().paintRect(QPageLayout::Inch).width());
}

double Printer::ScaleHeight() {
    return FromInches(Device().pageLayout().paintRect(QPageLayout::Inch).height());
}

void Printer::DrawLine(const QString& line) {
    if (line.isEmpty()) return;
    const QFont font = CurrentFont();
    const QFontMetricsF metrics(font, &Device());
    const double dpi = DeviceDpi();
    m_drawings.push_back({Drawing::Text, m_page, QPointF(m_x * dpi, m_y * dpi + metrics.ascent()), {}, line, font});
    m_x += metrics.horizontalAdvance(line) / dpi;
}

void Printer::Print(const QString& text, bool stayOnLine) {
    // Even an empty line belongs to the document.
    BeginDrawing();
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = normalised.split(QLatin1Char('\n'));
    const QFontMetricsF metrics(CurrentFont(), &Device());
    const double lineHeight = metrics.lineSpacing() / DeviceDpi();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        DrawLine(lines[i]);
        const bool last = i == lines.size() - 1;
        if (!last || !stayOnLine) {
            m_x = 0;
            m_y += lineHeight;
        }
    }
}

void Printer::Line(double x1, double y1, double x2, double y2) {
    BeginDrawing();
    const double dpi = DeviceDpi();
    m_drawings.push_back({Drawing::Line, m_page, QPointF(ToInches(x1) * dpi, ToInches(y1) * dpi),
                          QPointF(ToInches(x2) * dpi, ToInches(y2) * dpi), {}, {}});
    m_x = ToInches(x2);
    m_y = ToInches(y2);
}

void Printer::Box(double x1, double y1, double x2, double y2) {
    BeginDrawing();
    const double dpi = DeviceDpi();
    m_drawings.push_back({Drawing::Box, m_page, QPointF(ToInches(x1) * dpi, ToInches(y1) * dpi),
                          QPointF(ToInches(x2) * dpi, ToInches(y2) * dpi), {}, {}});
    m_x = ToInches(x2);
    m_y = ToInches(y2);
}

void Printer::NewPage() {
    BeginDrawing();
    ++m_page;
    m_x = m_y = 0;
}

}  // namespace ui
