#pragma once

#include <QDate>
#include <QDateEdit>

#include "platform/ui/Resend.h"

class QFocusEvent;
class QKeyEvent;

namespace ui {

// The item dialogs' date picker: a date box in the fixed US form with a drop-down calendar.
//
// A date the user left unreadable (a day or month erased) stays as they left it: Qt would put its last
// date back as the focus leaves or comes back, and OK would then store a date the user no longer saw.
// hasAcceptableInput() is false for such a picker. A part typed short ("1/08/2026") is no such date:
// Qt's own fix-up reads it, and that is the date the picker holds.
class DatePicker : public QDateEdit {
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent);

    // The date it shows after Qt's fix-up (which it applies), however OK was reached; invalid when
    // the text does not read as a date.
    QDate ShownDate();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the text reads as a date, at once or after Qt's fix-up.
    bool Readable() const;

    Resend m_resend;
};

}  // namespace ui
