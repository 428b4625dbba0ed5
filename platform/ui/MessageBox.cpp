#include "platform/ui/MessageBox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QTimer>

#include "platform/ui/InputHold.h"

namespace ui {

QList<Answer> Buttons(int style) {
    switch (StyleButtons(style)) {
        case OKCancel:
            return {Answer::OK, Answer::Cancel};
        case AbortRetryIgnore:
            return {Answer::Abort, Answer::Retry, Answer::Ignore};
        case YesNoCancel:
            return {Answer::Yes, Answer::No, Answer::Cancel};
        case YesNo:
            return {Answer::Yes, Answer::No};
        case RetryCancel:
            return {Answer::Retry, Answer::Cancel};
        default:
            return {Answer::OK};
    }
}

Answer DefaultAnswer(int style) {
    const QList<Answer> buttons = Buttons(style);
    const int index = StyleDefaultButton(style) >> 8;
    return index < buttons.size() ? buttons[index] : buttons.first();
}

std::optional<Answer> EscapeAnswer(int style) {
    const QList<Answer> buttons = Buttons(style);
    if (buttons.contains(Answer::Cancel)) return Answer::Cancel;
    if (buttons.contains(Answer::No)) return Answer::No;
    if (buttons.size() == 1) return buttons.first();
    return std::nullopt;
}

QString AnswerName(Answer answer) {
    switch (answer) {
        case Answer::OK:
            return QStringLiteral("OK");
        case Answer::Cancel:
            return QStringLiteral("Cancel");
        case Answer::Abort:
            return QStringLiteral("Abort");
        case Answer::Retry:
            return QStringLiteral("Retry");
        case Answer::Ignore:
            return QStringLiteral("Ignore");
        case Answer::Yes:
            return QStringLiteral("Yes");
        case Answer::No:
            return QStringLiteral("No");
    }
    return QString::number(static_cast<int>(answer));
}

namespace {

PromptHandler* g_handler = nullptr;

// The answer's name; all but OK and Cancel (Enter and Esc) with an access key on the first letter.
QString ButtonText(Answer answer) {
    const QString name = AnswerName(answer);
    return answer == Answer::OK || answer == Answer::Cancel ? name : QLatin1Char('&') + name;
}

QMessageBox::Icon BoxIcon(int style) {
    switch (StyleIcon(style)) {
        case Critical:
            return QMessageBox::Critical;
        case Question:
            return QMessageBox::Question;
        case Exclamation:
            return QMessageBox::Warning;
        case Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// A box without a title of its own shows the program's title.
QString WindowTitle(const QString& title) {
    return title.isEmpty() ? ProgramTitle() : title;
}

Answer ShowMessageBox(const MessageRequest& request) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(WindowTitle(request.title));
    box.setText(request.prompt);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(BoxIcon(request.style));

    // Every button takes the same role so the box keeps the classic left-to-right order whatever
    // the desktop's button layout; that order is what DefaultButton2/3 count in.
    const QList<Answer> answers = Buttons(request.style);
    QList<QPushButton*> buttons;
    for (Answer answer : answers) buttons << box.addButton(ButtonText(answer), QMessageBox::ActionRole);
    box.setDefaultButton(buttons[answers.indexOf(DefaultAnswer(request.style))]);
    // With no escape button the box ignores Esc and its close box.
    if (const auto escape = EscapeAnswer(request.style))
        box.setEscapeButton(buttons[answers.indexOf(*escape)]);

    box.exec();
    const int clicked = buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    if (clicked >= 0) return answers[clicked];
    return EscapeAnswer(request.style).value_or(answers.first());
}

std::optional<QString> ShowInputBox(const InputRequest& request) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(WindowTitle(request.title));
    dialog.setLabelText(request.prompt);
    dialog.setTextValue(request.defaultText);
    dialog.setTextEchoMode(request.masked ? QLineEdit::Password : QLineEdit::Normal);
    if (request.topLeft) dialog.move(*request.topLeft);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

}  // namespace

void setPromptHandler(PromptHandler* handler) {
    g_handler = handler;
}

PromptHandler* promptHandler() {
    return g_handler;
}

Answer MsgBox(const QString& prompt, int style, const QString& title) {
    const MessageRequest request{prompt, style, title};
    return g_handler ? g_handler->message(request) : ShowMessageBox(request);
}

std::optional<QString> InputBoxEx(const InputRequest& request) {
    return g_handler ? g_handler->input(request) : ShowInputBox(request);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return InputBoxEx({prompt, title, defaultText, false, std::nullopt}).value_or(QString());
}

QString InputBoxMasked(const QString& prompt, const QString& title, const QString& defaultText) {
    return InputBoxEx({prompt, title, defaultText, true, std::nullopt}).value_or(QString());
}

void Beep() {
    if (g_handler)
        g_handler->beep();
    else
        QApplication::beep();
}

void afterEvent(std::function<void()> fn) {
    afterEvent(QCoreApplication::instance(), std::move(fn));
}

void afterEvent(QObject* context, std::function<void()> fn) {
    // A call posted to an object is dropped with the object, so a closed form is never called back.
    QMetaObject::invokeMethod(
        context,
        [context, fn = std::move(fn)] {
            // Boxes and database work wait until a long step has given the program back.
            constexpr int kRetryMs = 50;
            if (InputHold::active())
                QTimer::singleShot(kRetryMs, context, [context, fn] { afterEvent(context, fn); });
            else
                fn();
        },
        Qt::QueuedConnection);
}

void MsgBoxQueued(const QString& prompt, int style, const QString& title, std::function<void(Answer)> then) {
    afterEvent([prompt, style, title, then = std::move(then)] {
        const Answer answer = MsgBox(prompt, style, title);
        if (then) then(answer);
    });
}

}  // namespace ui
