#include "platform/ui/TextLimit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>
#include <algorithm>
#include <memory>
#include <utility>

namespace ui {

namespace {

const char* const kLimitProperty = "pomaretLengthLimit";

bool SplitPairAt(const QString& text, qsizetype at) {
    return at > 0 && at < text.size() && text.at(at - 1).isHighSurrogate() && text.at(at).isLowSurrogate();
}

// The range of `text` to take out so that it is `excess` shorter: the end of what was just put in
// before `cursor`, widened so that no character is cut in two; the text's end when the cursor stands
// too near the start for that.
std::pair<qsizetype, qsizetype> ExcessRange(const QString& text, qsizetype cursor, qsizetype excess) {
    qsizetype end = cursor;
    qsizetype start = end - excess;
    if (start < 0 || end > text.size()) {
        end = text.size();
        start = end - excess;
    }
    if (SplitPairAt(text, start)) --start;
    if (SplitPairAt(text, end)) ++end;
    return {start, end};
}

// Drops half a character left by an edit, and takes back what the user typed or pasted past the limit,
// or past the length of a longer text the program showed. The box says whether the change is the
// user's: setText clears its modified flag before the text is checked, an edit sets it.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* box, int length) : QValidator(box), m_box(box), m_length(length) {}

    State validate(QString& input, int& pos) const override {
        for (qsizetype i = 0; i < input.size();) {
            if (input.at(i).isHighSurrogate() && i + 1 < input.size() && input.at(i + 1).isLowSurrogate()) {
                i += 2;
            } else if (input.at(i).isSurrogate()) {
                input.remove(i, 1);
                if (pos > i) --pos;
            } else {
                ++i;
            }
        }
        if (!m_box->isModified()) {
            m_shown = input.size();
        } else if (const qsizetype allowed = std::max<qsizetype>(m_length, m_shown); input.size() > allowed) {
            const auto [start, end] = ExcessRange(input, pos, input.size() - allowed);
            input.remove(start, end - start);
            if (pos > start) pos = static_cast<int>(std::max(start, pos - (end - start)));
        }
        return Acceptable;
    }

private:
    QLineEdit* m_box;
    int m_length;
    mutable qsizetype m_shown = 0;  // the length of the text the program last put in
};

}  // namespace

void ShowText(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

void LimitLength(QLineEdit* box, int length) {
    box->setProperty(kLimitProperty, length);
    box->setValidator(new TypingLimit(box, length));
}

void LimitLength(QPlainTextEdit* box, int length) {
    box->setProperty(kLimitProperty, length);
    // The document's own signal: a caller blocking the box's signals while it fills it blocks nothing
    // here, so the size stays known.
    QTextDocument* document = box->document();
    auto shown = std::make_shared<qsizetype>(PlainText(box).size());
    QObject::connect(document, &QTextDocument::contentsChanged, box, [box, document, length, shown] {
        const QString text = PlainText(box);
        if (!document->isUndoRedoEnabled()) {
            *shown = text.size();
            return;
        }
        const qsizetype allowed = std::max<qsizetype>(length, *shown);
        if (text.size() <= allowed) return;
        // Document positions and the text's indexes agree: a line break is one of each.
        QTextCursor cursor = box->textCursor();
        const auto [start, end] = ExcessRange(text, cursor.position(), text.size() - allowed);
        cursor.setPosition(static_cast<int>(start));
        cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    });
}

int LengthLimit(const QWidget* box) {
    return box ? box->property(kLimitProperty).toInt() : 0;
}

QString PlainText(const QPlainTextEdit* box) {
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

}  // namespace ui
