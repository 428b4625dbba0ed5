#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

class QObject;

// The program's message box, input boxes and beep. Every one goes through an installable
// PromptHandler, so tests answer the boxes and read back what was shown (tests/support/PromptSeam).
namespace ui {

// The program's name in the title of its boxes and windows; a box given no title shows it.
inline QString ProgramTitle() {
    return QStringLiteral("Pomaret - Contact Manager");
}

// The button a message box was closed with.
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// Style word of a message box: one button set + one icon + one default button, added or or-ed
// together, e.g. ui::YesNo | ui::Question | ui::DefaultButton2.
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;

inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;

inline constexpr int DefaultButton1 = 0;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;

// The parts of a style word.
inline constexpr int StyleButtons(int style) {
    return style & 0x0F;
}
inline constexpr int StyleIcon(int style) {
    return style & 0x70;
}
inline constexpr int StyleDefaultButton(int style) {
    return style & 0x300;
}

// The buttons of a style, left to right.
QList<Answer> Buttons(int style);
// The button that Enter presses (the chosen default, or the first when the style names a missing one).
Answer DefaultAnswer(int style);
// The button that Esc and the close box press: Cancel, else No, else OK for an OK-only box; none
// for Abort/Retry/Ignore, which must be answered with a button.
std::optional<Answer> EscapeAnswer(int style);
// "OK", "Cancel", ... (for messages about answers).
QString AnswerName(Answer answer);

struct MessageRequest {
    QString prompt;
    int style = OKOnly;
    QString title;  // empty: the application's title shows
};

struct InputRequest {
    QString prompt;
    QString title;  // empty: the application's title shows
    QString defaultText;
    bool masked = false;            // password echo
    std::optional<QPoint> topLeft;  // screen position in pixels; none: centred on the active window
};

// Where boxes go. nullptr (the default) means the real dialogs.
class PromptHandler {
public:
    virtual ~PromptHandler() = default;
    virtual Answer message(const MessageRequest& request) = 0;
    // nullopt when cancelled.
    virtual std::optional<QString> input(const InputRequest& request) = 0;
    virtual void beep() = 0;
};

void setPromptHandler(PromptHandler* handler);
PromptHandler* promptHandler();

// A modal message box on the active window showing exactly this text and title.
Answer MsgBox(const QString& prompt, int style = OKOnly, const QString& title = {});

// Input boxes. Cancel gives the empty text, as an empty answer does.
QString InputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {});
QString InputBoxMasked(const QString& prompt, const QString& title = {}, const QString& defaultText = {});
// Any input box; tells Cancel (nullopt) apart from an empty answer.
std::optional<QString> InputBoxEx(const InputRequest& request);

void Beep();

// Runs `fn` once the event being handled is done (queued on the event loop). A box raised while a
// focus change is handled must wait for it, or it steals the focus from the change itself.
void afterEvent(std::function<void()> fn);
// The same, skipped when `context` has been destroyed by then.
void afterEvent(QObject* context, std::function<void()> fn);
// MsgBox after the current event; `then` receives the answer.
void MsgBoxQueued(const QString& prompt, int style = OKOnly, const QString& title = {},
                  std::function<void(Answer)> then = {});

}  // namespace ui
