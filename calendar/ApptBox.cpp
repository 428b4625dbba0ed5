#include "calendar/ApptBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

namespace calendar {

namespace {
constexpr int kMargin = 2;
const QColor kBoxColour(0xFF, 0xFF, 0xE6);
const QColor kEdgeColour(0x80, 0x80, 0x80);
}  // namespace

ApptBox::ApptBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
}

void ApptBox::setPlainText(const QString& text) {
    m_text = text;
    if (isVisible()) fitScrollBar();
    update();
}

QRect ApptBox::textArea() const {
    QRect r = rect().adjusted(kMargin + 1, 1, -kMargin - 1, -1);
    if (m_bar && m_bar->isVisible()) r.setRight(m_bar->x() - kMargin);
    return r;
}

void ApptBox::fitScrollBar() {
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QRect full = rect().adjusted(kMargin + 1, 1, -kMargin - 1 - barWidth, -1);
    const int needed =
        fontMetrics().boundingRect(QRect(0, 0, std::max(1, full.width()), 1 << 20), Qt::TextWordWrap, m_text).height();
    const int overflow = needed - (height() - 2);
    if (overflow <= 0) {
        if (m_bar) m_bar->hide();
        return;
    }
    if (!m_bar) {
        m_bar = new QScrollBar(Qt::Vertical, this);
        connect(m_bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    }
    m_bar->setGeometry(width() - barWidth - 1, 1, barWidth, std::max(0, height() - 2));
    m_bar->setRange(0, overflow);
    m_bar->setPageStep(std::max(1, height() - 2));
    m_bar->setSingleStep(fontMetrics().lineSpacing());
    m_bar->show();
}

void ApptBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBoxColour);
    p.setPen(kEdgeColour);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Text));
    QRect area = textArea();
    p.setClipRect(area);
    if (m_bar && m_bar->isVisible()) area.translate(0, -m_bar->value());
    area.setHeight(1 << 20);
    p.drawText(area, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, m_text);
}

void ApptBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible()) fitScrollBar();
}

void ApptBox::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitScrollBar();
}

void ApptBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Q_EMIT clicked();
    QWidget::mouseReleaseEvent(event);
}

void ApptBox::wheelEvent(QWheelEvent* event) {
    if (m_bar && m_bar->isVisible()) {
        m_bar->setValue(m_bar->value() - event->angleDelta().y() / 120 * m_bar->singleStep());
        event->accept();
        return;
    }
    QWidget::wheelEvent(event);
}

}  // namespace calendar
