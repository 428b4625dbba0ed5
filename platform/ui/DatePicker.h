#pragma once

#include <QDateEdit>

class QFocusEvent;
class QKeyEvent;

namespace ui {

// The item dialogs' date picker: a date box in the fixed US form with a drop-down calendar.
//
// A date the user left unreadable (a day or month erased) stays as they left it: Qt would put its last
// date back as the focus leaves, and OK would then store a date the user no longer saw.
// hasAcceptableInput() is false for such a picker.
class DatePicker : public QDateEdit {
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ui
