#include "platform/ui/Printer.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>

namespace ui {

namespace {

const QString kDefaultFont = QStringLiteral("Arial");

QString& OutputFile() {
    static QString path;
    return path;
}

}  // namespace

void SetPrinterOutputFile(const QString& pdfPath) {
    OutputFile() = pdfPath;
}

QString PrinterOutputFile() {
    return OutputFile();
}

class Printer& Printer() {
    static class Printer printer;
    static const bool hooked = [] {
        // A document still open when the program ends is sent while the application still stands;
        // fonts and the print engine are gone once it is destroyed.
        qAddPostRoutine([] { Printer().EndDoc(); });
        return true;
    }();
    (void)hooked;
    return printer;
}

Printer::Printer() {
    Reset();
}

Printer::~Printer() = default;

void Printer::Reset() {
    m_scale = ScaleUnit::Twips;
    m_x = m_y = m_topMargin = 0;
    m_fontName = kDefaultFont;
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

QPainter& Printer::Painter() {
    if (!m_painter) {
        if (OutputFile().isEmpty() && QPrinterInfo::defaultPrinterName().isEmpty())
            throw PrinterError(QStringLiteral("Printer error"));
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(&Device())) {
            m_printer.reset();
            throw PrinterError(QStringLiteral("Printer error"));
        }
        painter->setPen(QPen(Qt::black, 0));
        painter->setBrush(Qt::NoBrush);
        m_painter = std::move(painter);
    }
    return *m_painter;
}

bool Printer::InDocument() const {
    return m_painter != nullptr;
}

void Printer::EndDoc() {
    if (m_painter) m_painter->end();
    m_painter.reset();
    m_printer.reset();
    Reset();
}

QString Printer::DeviceName() const {
    if (!OutputFile().isEmpty()) return OutputFile();
    const QString name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty()) throw PrinterError(QStringLiteral("Printer error"));
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
    QPainter& painter = Painter();
    const QFont font = CurrentFont();
    painter.setFont(font);
    const QFontMetricsF metrics(font, &Device());
    const double dpi = DeviceDpi();
    painter.drawText(QPointF(m_x * dpi, m_y * dpi + metrics.ascent()), line);
    m_x += metrics.horizontalAdvance(line) / dpi;
}

void Printer::Print(const QString& text, bool stayOnLine) {
    // Even an empty line belongs to the document.
    Painter();
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
    QPainter& painter = Painter();
    const double dpi = DeviceDpi();
    painter.drawLine(QPointF(ToInches(x1) * dpi, ToInches(y1) * dpi),
                     QPointF(ToInches(x2) * dpi, ToInches(y2) * dpi));
    m_x = ToInches(x2);
    m_y = ToInches(y2);
}

void Printer::Box(double x1, double y1, double x2, double y2) {
    QPainter& painter = Painter();
    const double dpi = DeviceDpi();
    painter.drawRect(QRectF(QPointF(ToInches(x1) * dpi, ToInches(y1) * dpi),
                            QPointF(ToInches(x2) * dpi, ToInches(y2) * dpi))
                         .normalized());
    m_x = ToInches(x2);
    m_y = ToInches(y2);
}

void Printer::NewPage() {
    Painter();
    if (!Device().newPage()) throw PrinterError(QStringLiteral("Printer error"));
    ++m_page;
    m_x = m_y = 0;
}

}  // namespace ui
