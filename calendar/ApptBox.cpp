#include "calendar/ApptBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

namespace calendar {

namespace {
constexpr int kMargin = 2;
// A scroll bar is given only to a box that keeps this much text beside it.
constexpr int kLeastCharsBesideBar = 4;
const QColor kBoxColour(0xFF, 0xFF, 0xE6);
const QColor kEdgeColour(0x80, 0x80, 0x80);
}  // namespace

ApptBox::ApptBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
}

void ApptBox::setPlainText(const QString& text) {
    m_text = text;
    if (isVisible()) fitText();
    update();
}

QRect ApptBox::textArea() const {
    QRect r = rect().adjusted(kMargin + 1, 1, -kMargin - 1, -1);
    if (m_bar && m_bar->isVisible()) r.setRight(m_bar->x() - kMargin);
    return r;
}

void ApptBox::fitText() {
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QRect inside = rect().adjusted(kMargin + 1, 1, -kMargin - 1, -1);
    const int besideBar = inside.width() - barWidth - kMargin;
    const bool barFits = besideBar >= kLeastCharsBesideBar * fontMetrics().averageCharWidth();
    const int textWidth = std::max(1, barFits ? besideBar : inside.width());
    const int needed =
        fontMetrics().boundingRect(QRect(0, 0, textWidth, 1 << 20), Qt::TextWordWrap, m_text).height();
    m_overflow = std::max(0, needed - inside.height());
    setToolTip(barFits ? QString() : m_text);

    const bool withBar = barFits && m_overflow > 0;
    if (withBar && !m_bar) {
        m_bar = new QScrollBar(Qt::Vertical, this);
        connect(m_bar, &QScrollBar::valueChanged, this, &ApptBox::scrollTo);
    }
    if (m_bar) {
        m_bar->setGeometry(width() - barWidth - 1, 1, barWidth, std::max(0, height() - 2));
        m_bar->setRange(0, m_overflow);
        m_bar->setPageStep(std::max(1, inside.height()));
        m_bar->setSingleStep(fontMetrics().lineSpacing());
        m_bar->setVisible(withBar);
    }
    scrollTo(m_offset);
}

void ApptBox::scrollTo(int offset) {
    offset = std::clamp(offset, 0, m_overflow);
    if (offset == m_offset) return;
    m_offset = offset;
    if (m_bar) m_bar->setValue(offset);
    update();
}

void ApptBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBoxColour);
    p.setPen(kEdgeColour);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Text));
    QRect area = textArea();
    p.setClipRect(area);
    area.translate(0, -m_offset);
    area.setHeight(1 << 20);
    p.drawText(area, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, m_text);
}

void ApptBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible()) fitText();
}

void ApptBox::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitText();
}

void ApptBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Q_EMIT clicked();
    QWidget::mouseReleaseEvent(event);
}

void ApptBox::wheelEvent(QWheelEvent* event) {
    if (m_overflow > 0) {
        scrollTo(m_offset - event->angleDelta().y() / 120 * fontMetrics().lineSpacing());
        event->accept();
        return;
    }
    QWidget::wheelEvent(event);
}

}  // namespace calendar
