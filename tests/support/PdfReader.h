#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace testsupport {

// A PDF printed through ui::SetPrinterOutputFile (Letter, quarter-inch margins), read back with
// poppler's pdftotext. Positions are in centimetres from the printable area's top-left corner.
class PdfReader {
public:
    struct Word {
        int page;  // from 1
        double left, top, right;
        QString text;
    };
    // Words on one baseline, left to right.
    struct Line {
        int page;
        double top;
        QList<Word> words;
        double left() const { return words.first().left; }
        double right() const { return words.last().right; }
        QString text() const;
    };

    // Empty when pdftotext is not installed.
    static QString Tool();

    explicit PdfReader(QString pdf) : m_pdf(std::move(pdf)) {}

    // pdftotext's text output with these options ("-layout"); empty when it fails.
    QString text(const QStringList& options = {}) const;
    QList<Word> words() const;
    // Words within `tolerance` cm of one top make one line.
    QList<Line> lines(double tolerance = 0.02) const;
    // The first line whose text starts with `start`, or a line with page 0.
    Line line(const QString& start, int page = 0) const;
    // Whether the page, rendered by poppler's pdftoppm, has ink within 0.03 cm of (x, y): where a
    // rule or a box edge is to be found.
    bool inkAt(double x, double y, int page = 1) const;

private:
    QString m_pdf;
    mutable QImage m_rendered;
    mutable int m_renderedPage = 0;
};

}  // namespace testsupport
