#include "platform/ui/TextLimit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QValidator>

namespace ui {

namespace {

bool SplitPairAt(const QString& text, qsizetype at) {
    return at > 0 && at < text.size() && text.at(at - 1).isHighSurrogate() && text.at(at).isLowSurrogate();
}

// Runs after the line box has applied its limit to a change: drops half a character left at the cut.
class WholeCharacters : public QValidator {
public:
    using QValidator::QValidator;

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
        return Acceptable;
    }
};

}  // namespace

void LimitLength(QLineEdit* box, int length) {
    box->setMaxLength(length);
    box->setValidator(new WholeCharacters(box));
}

void LimitLength(QPlainTextEdit* box, int length) {
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, length] {
        // Document positions and the plain text's indexes agree: a line break is one of each.
        const QString text = box->toPlainText();
        const qsizetype excess = text.size() - length;
        if (excess <= 0) return;
        QTextCursor cursor = box->textCursor();
        qsizetype end = cursor.position();
        qsizetype start = end - excess;
        if (start < 0) {
            start = length;
            end = text.size();
        }
        if (SplitPairAt(text, start)) --start;  // the character cut in two goes whole
        cursor.setPosition(static_cast<int>(start));
        cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    });
}

}  // namespace ui
