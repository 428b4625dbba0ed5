#include "platform/ui/DatePicker.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace ui {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
}

// Qt puts the last date back whenever it reads an unreadable text: as the focus leaves, as it comes
// back and a part is selected, as Tab moves to the next part, on Enter. Those readings are left out
// here; typing or a pick from the calendar still makes the text a date again.
void DatePicker::focusOutEvent(QFocusEvent* event) {
    if (hasAcceptableInput()) {
        QDateEdit::focusOutEvent(event);
        return;
    }
    QCoreApplication::sendEvent(lineEdit(), event);
    QWidget::focusOutEvent(event);
}

void DatePicker::focusInEvent(QFocusEvent* event) {
    if (hasAcceptableInput()) {
        QDateEdit::focusInEvent(event);
    } else {
        QAbstractSpinBox::focusInEvent(event);
    }
}

bool DatePicker::focusNextPrevChild(bool next) {
    // Tab leaves at once, rather than through the date's other parts.
    if (!hasAcceptableInput()) return QWidget::focusNextPrevChild(next);
    return QDateEdit::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !hasAcceptableInput()) {
        event->ignore();  // the dialog's default button still takes it
        return;
    }
    QDateEdit::keyPressEvent(event);
}

}  // namespace ui
