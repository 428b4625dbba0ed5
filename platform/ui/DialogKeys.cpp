#include "platform/ui/DialogKeys.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>

namespace ui {

namespace {

// In a dialog without a default button no button is auto-default (Qt would otherwise make the first
// one the default when the dialog shows), so a focused button lets Enter pass to the dialog, which
// has nothing to press. This filter, on each button, presses the focused one instead.
class EnterPressesFocusedButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        // Watched are the buttons themselves: Enter typed elsewhere that a handler let pass on must not
        // press a button the focus moved to meanwhile.
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->isEnabled() || !button->hasFocus()) return false;
        button->click();
        return true;
    }
};

QObject* SharedFilter() {
    static QPointer<EnterPressesFocusedButton> filter;
    if (!filter) filter = new EnterPressesFocusedButton(QCoreApplication::instance());
    return filter;
}

}  // namespace

void SetDialogKeys(QDialog* dialog, QPushButton* defaultButton) {
    // With a default button Qt's auto-default does it all: the focused button takes Enter and hands
    // it back to the default when the focus moves on.
    const bool autoDefault = defaultButton != nullptr;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        button->setAutoDefault(autoDefault);
        button->setDefault(button == defaultButton);
        if (!autoDefault) button->installEventFilter(SharedFilter());
    }
    for (QPlainTextEdit* box : dialog->findChildren<QPlainTextEdit*>()) box->setTabChangesFocus(true);
    for (QTextEdit* box : dialog->findChildren<QTextEdit*>()) box->setTabChangesFocus(true);
}

}  // namespace ui
