#pragma once

#include <QString>
#include <QWidget>

class QScrollBar;

namespace calendar {

// One appointment's box on the hour grid: its text over several lines, read-only, with a vertical
// scroll bar once the text is taller than the box. Light, since a busy week holds hundreds of them:
// the text is drawn, not edited, and the scroll bar is made only for a box that needs one. A box too
// narrow for a bar and a few characters beside it (a lane of a busy hour) has none: it scrolls with
// the wheel and shows its whole text as a tool tip, so a click anywhere in it opens the appointment.
class ApptBox : public QWidget {
    Q_OBJECT

public:
    explicit ApptBox(QWidget* parent = nullptr);

    void setPlainText(const QString& text);
    QString toPlainText() const { return m_text; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void fitText();
    void scrollTo(int offset);
    QRect textArea() const;

    QString m_text;
    int m_offset = 0;    // how far the text is scrolled up, in pixels
    int m_overflow = 0;  // how far it can be
    QScrollBar* m_bar = nullptr;
};

}  // namespace calendar
