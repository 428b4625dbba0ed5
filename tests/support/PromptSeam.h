#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "platform/ui/MessageBox.h"

namespace testsupport {

// Fails the running test; outside any test function (a seam living for the whole run) it can
// only warn.
void Fail(const QString& message);

// Answers the program's message and input boxes in a test and records what they showed.
//
//   PromptSeam seam;                       // installed until it goes out of scope
//   seam.answer(ui::Answer::Yes).input("Smith");   // answerDefault(): Enter
//   ... code that asks ...
//   QCOMPARE(seam.lastText(), "Save the changes?");
//   QCOMPARE(seam.lastStyle(), ui::YesNo | ui::Question);
//
// Replies are used in the order queued, each by the next box of its kind: an answer by a message
// box, an input (or inputCancel) by an input box, plain or masked. The running test fails at once
// when a box comes with no fitting reply (the box then gets Cancel or the empty text, so the code
// finishes), when an answer is not one of the box's buttons, and when the seam goes away with
// replies never used.
class PromptSeam : public ui::PromptHandler {
public:
    struct Box {
        bool isInput = false;
        QString text;
        QString title;
        int style = ui::OKOnly;  // message boxes
        QString defaultText;     // input boxes
        bool masked = false;     // input boxes
    };

    PromptSeam();
    ~PromptSeam() override;
    PromptSeam(const PromptSeam&) = delete;
    PromptSeam& operator=(const PromptSeam&) = delete;

    PromptSeam& answer(ui::Answer answer);
    // The user presses Enter: the box's default button answers.
    PromptSeam& answerDefault();
    PromptSeam& input(const QString& text);
    PromptSeam& inputCancel();
    // Boxes that come with no reply get Esc (the input box Cancel) instead of failing the test: for
    // tests that press every button of a dialog in turn and look only at what the buttons did.
    void escapeUnasked(bool on) { m_escapeUnasked = on; }
    // Replies still waiting for their box.
    int pending() const { return static_cast<int>(m_replies.size()); }

    const QList<Box>& shown() const { return m_shown; }
    int count() const { return static_cast<int>(m_shown.size()); }
    const Box& last() const;
    QString lastText() const { return last().text; }
    QString lastTitle() const { return last().title; }
    int lastStyle() const { return last().style; }
    // The button Enter presses in the last message box.
    ui::Answer lastDefault() const { return ui::DefaultAnswer(last().style); }
    int beeps() const { return m_beeps; }
    // Forgets the boxes shown and the beeps; queued replies stay.
    void clear();

private:
    ui::Answer message(const ui::MessageRequest& request) override;
    std::optional<QString> input(const ui::InputRequest& request) override;
    void beep() override;

    struct Reply {
        bool isInput = false;
        ui::Answer answer = ui::Answer::OK;
        std::optional<QString> text;
        bool byDefault = false;
    };

    std::optional<Reply> takeReply(bool isInput, const Box& box);

    ui::PromptHandler* m_previous = nullptr;
    QList<Reply> m_replies;
    QList<Box> m_shown;
    int m_beeps = 0;
    bool m_escapeUnasked = false;
};

}  // namespace testsupport
