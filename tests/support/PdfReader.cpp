#include "support/PdfReader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>
#include <QtMath>
#include <algorithm>

namespace testsupport {

namespace {

constexpr double kPointsPerCm = 72.0 / 2.54;
constexpr double kMarginCm = 0.635;  // the PDF page's quarter-inch margin

// The font's ligatures ("ﬁ") read back as their letters.
QString WithoutLigatures(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 0xFB00 && c.unicode() <= 0xFB06)
            out += QString(c).normalized(QString::NormalizationForm_KC);
        else
            out += c;
    }
    return out;
}

}  // namespace

QString PdfReader::Line::text() const {
    QStringList texts;
    for (const Word& w : words) texts << w.text;
    return texts.join(QLatin1Char(' '));
}

QString PdfReader::Tool() {
    return QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
}

QString PdfReader::text(const QStringList& options) const {
    QProcess process;
    process.start(Tool(), options + QStringList{m_pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qWarning("pdftotext failed: %s", process.readAllStandardError().constData());
        return {};
    }
    return WithoutLigatures(QString::fromUtf8(process.readAllStandardOutput()));
}

QList<PdfReader::Word> PdfReader::words() const {
    QList<Word> result;
    const QString html = text({QStringLiteral("-bbox")});
    static const QRegularExpression wordRx(QStringLiteral(
        R"RX(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)RX"));
    int page = 0;
    for (const auto& m : wordRx.globalMatch(html)) {
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        const auto cm = [&](int i) { return m.captured(i).toDouble() / kPointsPerCm - kMarginCm; };
        QString word = m.captured(4);
        word.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        result.append({page, cm(1), cm(2), cm(3), word});
    }
    return result;
}

QList<PdfReader::Line> PdfReader::lines(double tolerance) const {
    // pdftotext's reading order may split a printed line (a label and its value, say): words are
    // gathered by their top instead, then read left to right and top to bottom.
    QList<Line> result;
    for (const Word& w : words()) {
        auto line = std::find_if(result.begin(), result.end(), [&](const Line& l) {
            return l.page == w.page && qAbs(l.top - w.top) <= tolerance;
        });
        if (line == result.end()) line = result.insert(result.end(), Line{w.page, w.top, {}});
        line->words.append(w);
    }
    for (Line& l : result)
        std::sort(l.words.begin(), l.words.end(),
                  [](const Word& a, const Word& b) { return a.left < b.left; });
    std::sort(result.begin(), result.end(), [](const Line& a, const Line& b) {
        return a.page != b.page ? a.page < b.page : a.top < b.top;
    });
    return result;
}

bool PdfReader::inkAt(double x, double y, int page) const {
    constexpr int kDpi = 150;
    if (m_renderedPage != page) {
        const QTemporaryDir dir;
        const QString prefix = dir.filePath(QStringLiteral("page"));
        QProcess process;
        process.start(
            QStandardPaths::findExecutable(QStringLiteral("pdftoppm")),
            {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-gray"),
             QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-f"), QString::number(page),
             QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"), m_pdf, prefix});
        if (!process.waitForFinished(30000) || process.exitCode() != 0) return false;
        m_rendered = QImage(prefix + QStringLiteral(".pgm"));
        m_renderedPage = page;
    }
    const auto pixels = [&](double cm) { return (cm + kMarginCm) * kDpi / 2.54; };
    const int reach = qCeil(0.03 * kDpi / 2.54);
    const int cx = qRound(pixels(x));
    const int cy = qRound(pixels(y));
    for (int py = cy - reach; py <= cy + reach; ++py) {
        for (int px = cx - reach; px <= cx + reach; ++px) {
            if (m_rendered.valid(px, py) && qGray(m_rendered.pixel(px, py)) < 160) return true;
        }
    }
    return false;
}

PdfReader::Line PdfReader::line(const QString& start, int page) const {
    for (const Line& l : lines()) {
        if ((page == 0 || l.page == page) && l.text().startsWith(start)) return l;
    }
    return {0, 0, {}};
}

}  // namespace testsupport
