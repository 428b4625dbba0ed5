#include "support/PromptSeam.h"

#include <QStringList>
#include <QTest>

#include "platform/db/Database.h"

namespace testsupport {

namespace {

QString Describe(const PromptSeam::Box& box) {
    return QStringLiteral("%1 \"%2\" (title \"%3\")")
        .arg(box.isInput ? QStringLiteral("input box") : QStringLiteral("message box"), box.text, box.title);
}

// The program decides inside a transaction, rolls back or commits, then asks.
void RequireNoTransaction(const PromptSeam::Box& box) {
    if (db::Transaction::OpenCount() > 0)
        Fail(QStringLiteral("%1 shown while a transaction is open").arg(Describe(box)));
}

}  // namespace

void Fail(const QString& message) {
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    else
        qWarning("%s", qPrintable(message));
}

PromptSeam::PromptSeam() : m_previous(ui::promptHandler()) {
    ui::setPromptHandler(this);
}

PromptSeam::~PromptSeam() {
    ui::setPromptHandler(m_previous);
    // A test that already failed has likely skipped the code that would have used them.
    if (m_replies.isEmpty() || QTest::currentTestFailed()) return;
    QStringList unused;
    for (const Reply& reply : m_replies) {
        if (reply.byDefault)
            unused << QStringLiteral("Enter");
        else if (!reply.isInput)
            unused << ui::AnswerName(reply.answer);
        else
            unused << (reply.text ? QStringLiteral("input \"%1\"").arg(*reply.text)
                                  : QStringLiteral("input Cancel"));
    }
    Fail(QStringLiteral("Replies queued for boxes that never came: %1")
             .arg(unused.join(QStringLiteral(", "))));
}

PromptSeam& PromptSeam::answer(ui::Answer answer) {
    m_replies.append({false, answer, std::nullopt});
    return *this;
}

PromptSeam& PromptSeam::answerDefault() {
    m_replies.append({false, ui::Answer::OK, std::nullopt, true});
    return *this;
}

PromptSeam& PromptSeam::input(const QString& text) {
    m_replies.append({true, ui::Answer::OK, text});
    return *this;
}

PromptSeam& PromptSeam::inputCancel() {
    m_replies.append({true, ui::Answer::Cancel, std::nullopt});
    return *this;
}

const PromptSeam::Box& PromptSeam::last() const {
    static const Box none;
    if (m_shown.isEmpty()) {
        Fail(QStringLiteral("No box was shown"));
        return none;
    }
    return m_shown.last();
}

void PromptSeam::clear() {
    m_shown.clear();
    m_beeps = 0;
}

std::optional<PromptSeam::Reply> PromptSeam::takeReply(bool isInput, const Box& box) {
    if (m_replies.isEmpty()) {
        if (m_escapeUnasked) return std::nullopt;
        Fail(QStringLiteral("Unexpected %1: nothing queued for it").arg(Describe(box)));
        return std::nullopt;
    }
    if (m_replies.first().isInput != isInput) {
        Fail(QStringLiteral("Unexpected %1: the next reply queued is for %2")
                 .arg(Describe(box),
                      isInput ? QStringLiteral("a message box") : QStringLiteral("an input box")));
        return std::nullopt;
    }
    return m_replies.takeFirst();
}

ui::Answer PromptSeam::message(const ui::MessageRequest& request) {
    Box box;
    box.text = request.prompt;
    box.title = request.title;
    box.style = request.style;
    m_shown.append(box);
    RequireNoTransaction(box);

    const auto reply = takeReply(false, box);
    if (!reply) return ui::EscapeAnswer(request.style).value_or(ui::Buttons(request.style).first());
    if (reply->byDefault) return ui::DefaultAnswer(request.style);
    if (!ui::Buttons(request.style).contains(reply->answer))
        Fail(QStringLiteral("Answer %1 is not a button of the %2")
                 .arg(ui::AnswerName(reply->answer), Describe(box)));
    return reply->answer;
}

std::optional<QString> PromptSeam::input(const ui::InputRequest& request) {
    Box box;
    box.isInput = true;
    box.text = request.prompt;
    box.title = request.title;
    box.defaultText = request.defaultText;
    box.masked = request.masked;
    m_shown.append(box);
    RequireNoTransaction(box);

    const auto reply = takeReply(true, box);
    return reply ? reply->text : std::nullopt;
}

void PromptSeam::beep() {
    ++m_beeps;
}

}  // namespace testsupport
