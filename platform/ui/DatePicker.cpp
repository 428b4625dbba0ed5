#include "platform/ui/DatePicker.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace ui {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    lineEdit()->installEventFilter(this);
}

// The same test Qt makes before it reads the text: as it stands, or once fixed up.
bool DatePicker::Readable() const {
    QString text = lineEdit()->displayText();
    int pos = lineEdit()->cursorPosition();
    if (validate(text, pos) == QValidator::Acceptable) return true;
    fixup(text);
    return validate(text, pos) == QValidator::Acceptable;
}

QDate DatePicker::ShownDate() {
    if (!Readable()) return {};
    if (!hasAcceptableInput()) interpretText();
    return date();
}

// Qt puts the last date back whenever it reads an unreadable text: as the focus leaves, as it comes
// back and a part is selected or clicked, as Tab moves to the next part, on Enter. Those readings are
// left out here; typing or a pick from the calendar still makes the text a date again.
void DatePicker::focusOutEvent(QFocusEvent* event) {
    if (Readable()) {
        QDateEdit::focusOutEvent(event);
        return;
    }
    QCoreApplication::sendEvent(lineEdit(), event);
    QWidget::focusOutEvent(event);
}

void DatePicker::focusInEvent(QFocusEvent* event) {
    if (Readable()) {
        QDateEdit::focusInEvent(event);
    } else {
        QAbstractSpinBox::focusInEvent(event);
    }
}

bool DatePicker::focusNextPrevChild(bool next) {
    // Tab leaves at once, rather than through the date's other parts.
    if (!Readable()) return QWidget::focusNextPrevChild(next);
    return QDateEdit::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !Readable()) {
        event->ignore();  // the dialog's default button still takes it
        return;
    }
    QDateEdit::keyPressEvent(event);
}

// A click into another part moves the cursor there, and Qt reads the text as it follows the cursor:
// the box gets the click without that reading while its text is unreadable.
bool DatePicker::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // A middle click pastes, which must be seen.
    const bool mouse = (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                        type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove) &&
                       static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton;
    if (watched == lineEdit() && mouse && !m_resend.sending() && !Readable()) {
        const QSignalBlocker quiet(lineEdit());
        m_resend.send(lineEdit(), event);
        return true;
    }
    return QDateEdit::eventFilter(watched, event);
}

}  // namespace ui
