#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

#include "platform/ui/TextLimit.h"
#include "support/TestRegistry.h"

namespace {

constexpr int kLimit = 5;

// A limited box of either kind, driven as a user drives it.
struct Box {
    std::unique_ptr<QLineEdit> line;
    std::unique_ptr<QPlainTextEdit> memo;

    explicit Box(bool multiLine) {
        if (multiLine) {
            memo = std::make_unique<QPlainTextEdit>();
            ui::LimitLength(memo.get(), kLimit);
        } else {
            line = std::make_unique<QLineEdit>();
            ui::LimitLength(line.get(), kLimit);
        }
        widget()->show();
        widget()->setFocus();
    }
    QWidget* widget() const { return line ? static_cast<QWidget*>(line.get()) : memo.get(); }
    QString text() const { return line ? line->text() : ui::PlainText(memo.get()); }
    void set(const QString& text) {
        if (line) {
            line->setText(text);
        } else {
            memo->setPlainText(text);
        }
    }
    void toEnd() { QTest::keyClick(widget(), Qt::Key_End, line ? Qt::NoModifier : Qt::ControlModifier); }
    void type(const QString& text) { QTest::keyClicks(widget(), text); }
    void paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(widget(), QKeySequence(QKeySequence::Paste));
    }
};

}  // namespace

class TextLimitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typingIsLimitedNotWhatTheProgramShows_data() {
        QTest::addColumn<bool>("multiLine");
        QTest::newRow("one line") << false;
        QTest::newRow("several lines") << true;
    }
    void typingIsLimitedNotWhatTheProgramShows() {
        QFETCH(bool, multiLine);
        Box box(multiLine);
        QCOMPARE(ui::LengthLimit(box.widget()), kLimit);

        box.type("abcdefg");
        QCOMPARE(box.text(), QString("abcde"));
        box.set(QString());
        box.paste("vwxyz12");
        QCOMPARE(box.text(), QString("vwxyz"));

        // A stored text longer than the limit is shown whole; the user may change it, but not make it
        // longer than it was.
        const QString stored = "Acme Holdings";
        box.set(stored);
        QCOMPARE(box.text(), stored);
        box.toEnd();
        box.type("!");
        QCOMPARE(box.text(), stored);
        QTest::keyClick(box.widget(), Qt::Key_Backspace);
        QTest::keyClick(box.widget(), Qt::Key_Backspace);
        QCOMPARE(box.text(), QString("Acme Holdin"));
        box.paste("xyz");
        QCOMPARE(box.text(), QString("Acme Holdinxy"));

        // Emptied, the box takes the limit again; a character that does not fit is left out whole.
        box.set(QString());
        box.type("abcd");
        QTest::sendKeyEvent(QTest::Click, box.widget(), Qt::Key_unknown, QStringLiteral("😀"), Qt::NoModifier);
        QCOMPARE(box.text(), QString("abcd"));
    }
};

POMARET_TEST(TextLimitTest)
#include "tst_TextLimit.moc"
