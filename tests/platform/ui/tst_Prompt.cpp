#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "platform/ui/MessageBox.h"
#include "platform/ui/SaveFileDialog.h"
#include "support/PromptSeam.h"
#include "support/SaveFileSeam.h"
#include "support/TestRegistry.h"

using testsupport::PromptSeam;
using ui::Answer;

Q_DECLARE_METATYPE(ui::Answer)
Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// Shows the real dialogs for one scope, even inside a test run that installs a seam for everything.
struct RealDialogs {
    ui::PromptHandler* saved = ui::promptHandler();
    RealDialogs() { ui::setPromptHandler(nullptr); }
    ~RealDialogs() { ui::setPromptHandler(saved); }
};

struct RealSaveDialogs {
    ui::SaveFileHandler* saved = ui::saveFileHandler();
    RealSaveDialogs() { ui::setSaveFileHandler(nullptr); }
    ~RealSaveDialogs() { ui::setSaveFileHandler(saved); }
};

// Runs `fn` on the dialog once it is up.
template <typename Dialog, typename Fn>
void WhenShown(Fn fn) {
    QTimer::singleShot(0, qApp, [fn] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<Dialog*>(w); dialog && dialog->isVisible()) return fn(dialog);
        }
        QFAIL("no dialog came up");
    });
}

}  // namespace

class PromptTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void seamAnswersInOrderAndRecords() {
        PromptSeam seam;
        seam.answer(Answer::Yes).input("Smith").inputCancel().input("").answer(Answer::Cancel);

        QCOMPARE(ui::MsgBox("Save?", ui::YesNoCancel | ui::Question | ui::DefaultButton2, "Saving"),
                 Answer::Yes);
        QCOMPARE(ui::InputBox("Name:", "Names", "Jones"), QString("Smith"));
        QCOMPARE(ui::InputBoxMasked("Password:"), QString());
        QCOMPARE(ui::InputBoxEx({"Memo:", {}, {}, false, std::nullopt}), std::optional<QString>(""));
        ui::Beep();
        QCOMPARE(ui::MsgBox("Really?", ui::OKCancel), Answer::Cancel);

        QCOMPARE(seam.count(), 5);
        QCOMPARE(seam.beeps(), 1);
        const auto& first = seam.shown()[0];
        QVERIFY(!first.isInput);
        QCOMPARE(first.text, QString("Save?"));
        QCOMPARE(first.title, QString("Saving"));
        QCOMPARE(first.style, ui::YesNoCancel | ui::Question | ui::DefaultButton2);
        const auto& name = seam.shown()[1];
        QVERIFY(name.isInput && !name.masked);
        QCOMPARE(name.defaultText, QString("Jones"));
        QVERIFY(seam.shown()[2].masked);
        QCOMPARE(seam.lastText(), QString("Really?"));
        QCOMPARE(seam.lastTitle(), QString());
        QCOMPARE(seam.lastStyle(), ui::OKCancel);
    }

    // The seam must fail the test on a box nobody expected, yet hand the code an answer so it finishes.
    void seamFailsOnUnexpectedBox_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("queueInput");
        QTest::addColumn<Answer>("returned");
        QTest::newRow("nothing queued, cancel button") << (ui::YesNoCancel) << false << Answer::Cancel;
        QTest::newRow("nothing queued, no button") << (ui::YesNo) << false << Answer::No;
        QTest::newRow("nothing queued, ok only") << (ui::OKOnly) << false << Answer::OK;
        QTest::newRow("next reply is for an input box") << (ui::OKCancel) << true << Answer::Cancel;
    }
    void seamFailsOnUnexpectedBox() {
        QFETCH(int, style);
        QFETCH(bool, queueInput);
        QFETCH(Answer, returned);
        Answer got = Answer::OK;
        {
            PromptSeam seam;
            if (queueInput) seam.input("x");
            QEXPECT_FAIL("", "a box with no reply fails the test", Continue);
            got = ui::MsgBox("Delete it?", style, "Delete");
            if (queueInput) QCOMPARE(ui::InputBox("x"), QString("x"));
        }
        QCOMPARE(got, returned);
    }

    void seamFailsOnWrongAnswerAndUnusedReplies() {
        {
            PromptSeam seam;
            seam.answer(Answer::Yes);
            QEXPECT_FAIL("", "Yes is not a button of an OK/Cancel box", Continue);
            ui::MsgBox("Continue?", ui::OKCancel);
        }
        QEXPECT_FAIL("", "a reply never used fails the test", Continue);
        {
            PromptSeam seam;
            seam.answer(Answer::OK).input("never asked");
        }
    }

    void saveSeamFailsWhenNothingQueued() {
        std::optional<QString> got = QString("not asked");
        {
            testsupport::SaveFileSeam seam;
            seam.choose("/tmp/a.csv");
            QCOMPARE(ui::GetSaveFileName({"First", {}, {}, {}, true}), std::optional<QString>("/tmp/a.csv"));
            QEXPECT_FAIL("", "a save dialog with no reply fails the test", Continue);
            got = ui::GetSaveFileName({"Second", {}, {}, {}, true});
        }
        QVERIFY(!got.has_value());
        QEXPECT_FAIL("", "a reply never used fails the test", Continue);
        {
            testsupport::SaveFileSeam seam;
            seam.cancel();
        }
    }

    // The real dialog saves (not opens), with the title, filter, folder and name asked for, and hands
    // back the name typed without adding an extension.
    void realSaveDialog() {
        RealSaveDialogs real;
        const QString folder = QDir::tempPath();
        QString title, filter, offered, dir;
        bool saves = false, confirms = false;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            filter = dialog->nameFilters().join('|');
            dir = dialog->directory().absolutePath();
            saves = dialog->acceptMode() == QFileDialog::AcceptSave;
            confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(edit);
            offered = edit->text();
            edit->setText("export-test-name");
            QTest::keyClick(edit, Qt::Key_Return);
        });
        const auto got = ui::GetSaveFileName(
            {"Save file as CSV File", "Comma Separated Values (*.csv)", folder, "names.csv", true});
        QCOMPARE(title, QString("Save file as CSV File"));
        QCOMPARE(filter, QString("Comma Separated Values (*.csv)"));
        QCOMPARE(dir, QDir(folder).absolutePath());
        QCOMPARE(offered, QString("names.csv"));
        QVERIFY(saves);
        QVERIFY(confirms);
        QCOMPARE(got, std::optional<QString>(QDir(folder).filePath("export-test-name")));
    }

    void queuedBoxWaitsForTheEvent() {
        PromptSeam seam;
        seam.answer(Answer::No);
        std::optional<Answer> got;
        ui::MsgBoxQueued("Keep it?", ui::YesNo, "Keep", [&](Answer a) { got = a; });
        QCOMPARE(seam.count(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(seam.count(), 1);
        QCOMPARE(got, std::optional<Answer>(Answer::No));

        // A form closed before its queued box came up is not called back.
        bool called = false;
        auto* form = new QObject;
        ui::afterEvent(form, [&] { called = true; });
        delete form;
        QCoreApplication::processEvents();
        QVERIFY(!called);
    }

    void realMessageBox_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<bool>("keyIgnored");
        QTest::addColumn<Answer>("answer");
        const int esc = Qt::Key_Escape, enter = Qt::Key_Return;
        QTest::newRow("ok only, Esc") << ui::OKOnly << esc << "OK" << false << Answer::OK;
        QTest::newRow("ok cancel, Esc") << ui::OKCancel << esc << "OK|Cancel" << false << Answer::Cancel;
        QTest::newRow("ok cancel, Enter") << ui::OKCancel << enter << "OK|Cancel" << false << Answer::OK;
        QTest::newRow("yes no cancel, second default")
            << (ui::YesNoCancel | ui::DefaultButton2) << enter << "&Yes|&No|Cancel" << false << Answer::No;
        QTest::newRow("yes no cancel, third default") << (ui::YesNoCancel | ui::DefaultButton3) << enter
                                                      << "&Yes|&No|Cancel" << false << Answer::Cancel;
        QTest::newRow("yes no, Esc") << ui::YesNo << esc << "&Yes|&No" << false << Answer::No;
        QTest::newRow("retry cancel, second default")
            << (ui::RetryCancel | ui::DefaultButton2) << enter << "&Retry|Cancel" << false << Answer::Cancel;
        QTest::newRow("abort retry ignore ignores Esc") << (ui::AbortRetryIgnore | ui::DefaultButton2) << esc
                                                        << "&Abort|&Retry|&Ignore" << true << Answer::Retry;
    }
    void realMessageBox() {
        QFETCH(int, style);
        QFETCH(int, key);
        QFETCH(QString, buttons);
        QFETCH(bool, keyIgnored);
        QFETCH(Answer, answer);
        RealDialogs real;
        QString shownButtons, title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool stayedOpen = false;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            QList<QAbstractButton*> list = box->buttons();
            std::sort(list.begin(), list.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
            QStringList texts;
            for (auto* b : list) texts << b->text();
            shownButtons = texts.join('|');
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            QTest::keyClick(box, Qt::Key(key));
            stayedOpen = box->isVisible();
            if (stayedOpen) QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(ui::MsgBox("Line 1\nLine <b>2</b>", style | ui::Exclamation, "A Title"), answer);
        QCOMPARE(shownButtons, buttons);
        QCOMPARE(stayedOpen, keyIgnored);
        QCOMPARE(title, QString("A Title"));
        QCOMPARE(text, QString("Line 1\nLine <b>2</b>"));
        QCOMPARE(icon, QMessageBox::Warning);
    }

    void realInputBox_data() {
        QTest::addColumn<bool>("masked");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<std::optional<QString>>("result");
        QTest::newRow("typed") << false << false << std::optional<QString>("def+abc");
        QTest::newRow("masked, typed") << true << false << std::optional<QString>("def+abc");
        QTest::newRow("cancelled") << false << true << std::optional<QString>();
    }
    void realInputBox() {
        QFETCH(bool, masked);
        QFETCH(bool, cancel);
        QFETCH(std::optional<QString>, result);
        RealDialogs real;
        QLineEdit::EchoMode echo = QLineEdit::Normal;
        QString label;
        WhenShown<QInputDialog>([&](QInputDialog* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>();
            QVERIFY(edit);
            echo = edit->echoMode();
            label = dialog->labelText();
            edit->end(false);
            QTest::keyClicks(edit, "+abc");
            QTest::keyClick(edit, cancel ? Qt::Key_Escape : Qt::Key_Return);
        });
        QCOMPARE(ui::InputBoxEx({"Enter it:", "Input", "def", masked, std::nullopt}), result);
        QCOMPARE(echo, masked ? QLineEdit::Password : QLineEdit::Normal);
        QCOMPARE(label, QString("Enter it:"));
    }
};

POMARET_TEST(PromptTest)
#include "tst_Prompt.moc"
