#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "support/CaptionCheck.h"
#include "core/CoreScreens.h"
#include "core/frmPassLogon.h"
#include "core/frmSecurity.h"
#include "core/modEncrypt.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArrayLiteral("<none>");
    return file.readAll();
}

void Flush() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class SecurityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;

    void addUser(const QString& name, const QString& password) {
        f->db().Execute("INSERT INTO Security (UserName, Password) VALUES (?, ?)",
                        {name, modEncrypt::HashPassword(password)});
    }
    QString key(const QString& name) { return modAPI::GetRegSetting(name, "<absent>"); }

    // A security dialog on screen, active, so focus moves as a user's would.
    frmSecurity* openSecurity() {
        frmSecurity* dlg = frmSecurity::Open(nullptr);
        if (!QTest::qWaitForWindowActive(dlg)) qWarning("security dialog not active");
        return dlg;
    }
    void selectUser(frmSecurity* dlg, const QString& name) {
        for (int r = 0; r < dlg->lvUser->rowCount(); ++r) {
            if (dlg->lvUser->text(r) == name) {
                const QRect rect = dlg->lvUser->rowRect(r);
                QTest::mouseClick(dlg->lvUser->viewport(), Qt::LeftButton, {}, rect.center());
                return;
            }
        }
        QFAIL("no such user row");
    }
    void typeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, text);
    }

    // A log-on dialog on screen without its real-time timer: ticks are fired by hand.
    std::unique_ptr<frmPassLogon> openLogon() {
        auto dlg = std::make_unique<frmPassLogon>();
        dlg->Timer1->stop();
        dlg->show();
        if (!QTest::qWaitForWindowActive(dlg.get())) qWarning("log-on dialog not active");
        return dlg;
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmSecurity*>(w)) delete w;
        }
        f.reset();
    }

    // ---- the security dialog

    void noUserSwitchesTheLogOnOff() {
        g_blnSecurity = true;
        modAPI::SaveRegSetting("Security", "-1");
        QPointer<frmSecurity> dlg = openSecurity();
        QVERIFY(!dlg->Check1->isEnabled());
        QVERIFY(!dlg->Check1->isChecked());
        QCOMPARE(key("Security"), QString("0"));
        QVERIFY(!g_blnSecurity);
        // With a user the switch is offered and writes its key at once.
        addUser("anna", "Secret1");
        dlg->close();
        Flush();
        dlg = openSecurity();
        QVERIFY(dlg->Check1->isEnabled());
        QTest::mouseClick(dlg->Check1, Qt::LeftButton);
        QCOMPARE(key("Security"), QString("-1"));
        QVERIFY(g_blnSecurity);
        QTest::mouseClick(dlg->Check1, Qt::LeftButton);
        QCOMPARE(key("Security"), QString("0"));
        QVERIFY(!g_blnSecurity);
    }

    void validationInOrder_data() {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("focus");
        QTest::newRow("no name") << "" << "x" << "" << "You Must Enter A User Name" << "Validate : User Name" << 0;
        QTest::newRow("no password") << "anna" << "" << "x" << "You Must Enter A Password (15 chrs. max.)" << "Validate : Password" << 1;
        QTest::newRow("not re-entered") << "anna" << "Secret1" << "" << "You Must Re-Enter The Password (15 chrs. max.)" << "Validate : Re-Enter The Password" << 2;
        QTest::newRow("case differs") << "anna" << "Secret1" << "secret1" << "The two password entries do not match. Please Re-Enter" << "Verify Password Entries" << 1;
        QTest::newRow("blank is text") << " " << " " << "  " << "The two password entries do not match. Please Re-Enter" << "Verify Password Entries" << 1;
        // clang-format on
    }
    void validationInOrder() {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, again);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(int, focus);
        frmSecurity* dlg = openSecurity();
        QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        QVERIFY(dlg->Text1[0]->hasFocus());
        typeInto(dlg->Text1[0], name);
        typeInto(dlg->Text1[1], password);
        typeInto(dlg->Text1[2], again);
        f->prompts().answer(ui::Answer::OK);
        dlg->cmdOpts[3]->click();
        QCOMPARE(f->prompts().lastText(), message);
        QCOMPARE(f->prompts().lastTitle(), title);
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Information);
        QVERIFY(dlg->Text1[focus]->hasFocus());
        QCOMPARE(f->rowCount("Security"), 0);
    }

    void addingStoresOnlyTheHash() {
        frmSecurity* dlg = openSecurity();
        for (const QString name : {"anna", "bob"}) {
            QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
            typeInto(dlg->Text1[0], name);
            typeInto(dlg->Text1[1], "Secret1");
            typeInto(dlg->Text1[2], "Secret1");
            dlg->cmdOpts[3]->click();
            // Back to idle: boxes empty and locked.
            QVERIFY(dlg->Text1[1]->text().isEmpty() && !dlg->Text1[1]->isEnabled());
        }
        QCOMPARE(dlg->lvUser->rowCount(), 2);

        const QString anna = f->scalar("SELECT Password FROM Security WHERE UserName = 'anna'").toString();
        const QString bob = f->scalar("SELECT Password FROM Security WHERE UserName = 'bob'").toString();
        QCOMPARE(anna.size(), 48);
        QVERIFY(anna != bob);
        QVERIFY(!modEncrypt::Base64Decode(anna).contains("Secret1"));
        QVERIFY(modEncrypt::VerifyPassword("Secret1", anna));
        // Closing an idle dialog asks nothing.
        dlg->close();
        QVERIFY(dlg->isHidden());
    }

    void removeAsksFirst() {
        addUser("O'Neil", "pw");
        QPointer<frmSecurity> dlg = openSecurity();
        g_blnSecurity = true;
        modAPI::SaveRegSetting("Security", "-1");

        selectUser(dlg, "O'Neil");
        QVERIFY(dlg->cmdOpts[1]->isEnabled());
        QVERIFY(dlg->cmdOpts[2]->isEnabled());
        f->prompts().answer(ui::Answer::No);
        dlg->cmdOpts[1]->click();
        QCOMPARE(f->prompts().lastText(),
                 QString("Are you sure you want to remove [ O'Neil ]\nas a User Name from the system?"));
        QCOMPARE(f->prompts().lastTitle(), QString("Verify User Name Delete"));
        QCOMPARE(f->rowCount("Security"), 1);
        QVERIFY(!dlg->cmdOpts[1]->isEnabled());

        // The last user gone switches the log-on off.
        selectUser(dlg, "O'Neil");
        f->prompts().answer(ui::Answer::Yes);
        dlg->cmdOpts[1]->click();
        QCOMPARE(f->rowCount("Security"), 0);
        QVERIFY(!dlg->Check1->isEnabled());
        QCOMPARE(key("Security"), QString("0"));
        QVERIFY(!g_blnSecurity);
    }

    void changePasswordAsksForTheCurrentOne() {
        addUser("anna", "Secret1");
        QPointer<frmSecurity> dlg = openSecurity();

        // Refused (wrong case): the selection goes.
        selectUser(dlg, "anna");
        f->prompts().input("secret1").answer(ui::Answer::OK);
        dlg->cmdOpts[2]->click();
        const auto& question = f->prompts().shown().at(0);
        QVERIFY(question.isInput && question.masked);
        QCOMPARE(question.text, QString("Enter your current password.\nRemember, it is Case Sensitive"));
        QCOMPARE(question.title, QString("Verify User Password"));
        QCOMPARE(f->prompts().lastText(), QString("You are not authorized to change this password."));
        QCOMPARE(f->prompts().lastTitle(), QString("Dis-allow Password Change"));
        QVERIFY(!dlg->cmdOpts[2]->isEnabled());

        // Accepted: the name is filled, the password boxes stay empty and the dialog counts as changed.
        selectUser(dlg, "anna");
        f->prompts().input("Secret1");
        dlg->cmdOpts[2]->click();
        QCOMPARE(dlg->Text1[0]->text(), QString("anna"));
        QVERIFY(dlg->Text1[1]->text().isEmpty());
        QVERIFY(dlg->Text1[2]->text().isEmpty());
        QVERIFY(dlg->cmdOpts[3]->isEnabled());

        // The close question: Yes keeps the dialog open and saves nothing.
        f->prompts().answer(ui::Answer::Yes);
        dlg->cmdOpts[4]->click();
        QCOMPARE(f->prompts().lastText(),
                 QString("The User Information has changed.\nWould you like to save the changes?"));
        QCOMPARE(f->prompts().lastTitle(), QString("Verify Changes"));
        QVERIFY(dlg->isVisible());

        typeInto(dlg->Text1[1], "NewOne");
        typeInto(dlg->Text1[2], "NewOne");
        dlg->cmdOpts[3]->click();
        QCOMPARE(f->rowCount("Security"), 1);
        const QString stored = f->scalar("SELECT Password FROM Security").toString();
        QVERIFY(modEncrypt::VerifyPassword("NewOne", stored));
        QVERIFY(!modEncrypt::VerifyPassword("Secret1", stored));

        // Changed again, and No closes without saving.
        QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        typeInto(dlg->Text1[0], "carl");
        f->prompts().answer(ui::Answer::No);
        QTest::keyClick(dlg, Qt::Key_Escape);
        Flush();
        QVERIFY(dlg.isNull());
        QCOMPARE(f->rowCount("Security"), 1);
    }

    // A password change saves the user whose current password was given, whichever row the list
    // shows selected when the save button is pressed.
    void changeSavesTheVerifiedUser_data() {
        QTest::addColumn<QString>("bobAnswer");  // current password given for bob; empty: not asked
        QTest::addColumn<QString>("changed");
        QTest::newRow("other row clicked") << ""
                                           << "anna";
        QTest::newRow("other row refused") << "secret2"
                                           << "anna";
        QTest::newRow("other row verified") << "Secret2"
                                            << "bob";
    }
    void changeSavesTheVerifiedUser() {
        QFETCH(QString, bobAnswer);
        QFETCH(QString, changed);
        addUser("anna", "Secret1");
        addUser("bob", "Secret2");
        frmSecurity* dlg = openSecurity();

        selectUser(dlg, "anna");
        f->prompts().input("Secret1");
        dlg->cmdOpts[2]->click();
        selectUser(dlg, "bob");
        if (!bobAnswer.isEmpty()) {
            f->prompts().input(bobAnswer);
            if (bobAnswer != "Secret2") f->prompts().answer(ui::Answer::OK);  // not authorized
            dlg->cmdOpts[2]->click();
        }
        QCOMPARE(dlg->Text1[0]->text(), changed);
        typeInto(dlg->Text1[1], "NewOne");
        typeInto(dlg->Text1[2], "NewOne");
        dlg->cmdOpts[3]->click();

        QCOMPARE(f->rowCount("Security"), 2);
        for (const QString name : {"anna", "bob"}) {
            const QString stored =
                f->scalar("SELECT Password FROM Security WHERE UserName = ?", {name}).toString();
            const QString password = name == changed ? "NewOne" : name == "anna" ? "Secret1" : "Secret2";
            QVERIFY2(modEncrypt::VerifyPassword(password, stored), qPrintable(name));
        }
    }

    // Every caption is shown whole at the program's font, whatever its size.
    void captionsShownWhole_data() {
        QTest::addColumn<bool>("logOn");
        QTest::addColumn<double>("scale");
        QTest::newRow("security") << false << 1.0;
        QTest::newRow("security, larger font") << false << 1.6;
        QTest::newRow("log-on") << true << 1.0;
        QTest::newRow("log-on, larger font") << true << 1.6;
    }
    void captionsShownWhole() {
        QFETCH(bool, logOn);
        QFETCH(double, scale);
        const testsupport::ScaledFont font(scale);
        std::unique_ptr<frmPassLogon> logon;
        QWidget* dlg = logOn ? (logon = openLogon()).get() : static_cast<QWidget*>(openSecurity());
        const QStringList cut = testsupport::CutCaptions(dlg);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
    }

    // ---- the log-on dialog

    void logOn_data() {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("loggedOn");
        QTest::addColumn<QString>("message");
        QTest::newRow("exact") << "anna" << "Secret1" << true << "";
        QTest::newRow("name in other case") << "ANNA" << "Secret1" << true << "";
        QTest::newRow("apostrophe in name") << "o'neil" << "pw'x" << true << "";
        QTest::newRow("password in other case") << "anna" << "secret1" << false << "In-Valid Password, Please Re-Enter!";
        QTest::newRow("other user's password") << "bob" << "Secret1" << false << "In-Valid Password, Please Re-Enter!";
        QTest::newRow("unknown name") << "nobody" << "Secret1" << false << "In-Correct User Name, Please Re-Enter.";
        QTest::newRow("stored value not a hash") << "eve" << "plain" << false << "In-Valid Password, Please Re-Enter!";
        QTest::newRow("stored value not Base64") << "zed" << "plain" << false << "";
        QTest::newRow("no password typed") << "anna" << "" << false << "";
        // clang-format on
    }
    void logOn() {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(bool, loggedOn);
        QFETCH(QString, message);
        addUser("anna", "Secret1");
        addUser("bob", "Other2");
        addUser("O'Neil", "pw'x");
        f->db().Execute("INSERT INTO Security (UserName, Password) VALUES ('eve', ?)",
                        {modEncrypt::Base64Encode("plain", 0)});
        f->db().Execute("INSERT INTO Security (UserName, Password) VALUES ('zed', 'pl-ain')");

        if (!message.isEmpty()) f->prompts().answer(ui::Answer::OK);
        auto dlg = openLogon();
        QCOMPARE(dlg->windowTitle(), QString("Password Logon"));
        QVERIFY(dlg->Text1[0]->hasFocus());
        QVERIFY(dlg->lblTimeTicker->text().isEmpty());
        for (QPushButton* button : dlg->cmdOpts) {
            QVERIFY(!button->autoDefault());
            QVERIFY(!button->isDefault());
        }
        QTest::keyClicks(dlg->Text1[0], name);
        QTest::keyClick(dlg->Text1[0], Qt::Key_Tab);  // leaving the box looks the name up
        QVERIFY(dlg->Text1[1]->hasFocus());
        QTest::keyClicks(dlg->Text1[1], password);
        QTest::keyClick(dlg->Text1[1], Qt::Key_Return);  // Enter presses nothing
        QVERIFY(dlg->isVisible());
        dlg->Timer1_Timer();
        QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        Flush();

        QCOMPARE(dlg->isVisible(), !loggedOn);
        QCOMPARE(dlg->m_blnEmerShutdown, !loggedOn);
        if (message.isEmpty()) {
            QCOMPARE(f->prompts().count(), 0);
        } else {
            QCOMPARE(f->prompts().lastText(), message);
        }
        if (message.startsWith("In-Valid")) {
            QCOMPARE(f->prompts().lastTitle(), QString("Password Did Not Match"));
            QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Critical);
            QVERIFY(dlg->Text1[1]->hasFocus());
        } else if (message.startsWith("In-Correct")) {
            QCOMPARE(f->prompts().lastTitle(), QString("User Name Not On File"));
            QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        }
        if (!loggedOn) {
            // The countdown goes on from where it was.
            dlg->Timer1_Timer();
            QCOMPARE(dlg->prbTimer->value(), 2);
            QCOMPARE(dlg->lblTimeTicker->text(), QString("Time remaining is 58 seconds."));
        }
    }

    // A name found once must not lend its password to a name typed afterwards.
    void previousUserCannotLogAnotherNameOn() {
        addUser("anna", "Secret1");
        addUser("bob", "Other2");
        auto dlg = openLogon();
        QTest::keyClicks(dlg->Text1[0], "anna");
        QTest::keyClick(dlg->Text1[0], Qt::Key_Tab);
        QTest::keyClicks(dlg->Text1[1], "Secret1");

        // Another name not on file, left by the mouse on OK: the message comes after the click.
        dlg->Text1[0]->setFocus();
        dlg->Text1[0]->clear();
        QTest::keyClicks(dlg->Text1[0], "mallory");
        f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        Flush();
        QCOMPARE(f->prompts().lastText(), QString("In-Correct User Name, Please Re-Enter."));
        QVERIFY(dlg->isVisible());
        QVERIFY(dlg->m_blnEmerShutdown);

        // OK pressed from the keyboard without leaving the name box: bob is looked up now.
        dlg->Text1[0]->setFocus();
        dlg->Text1[0]->clear();
        QTest::keyClicks(dlg->Text1[0], "bob");
        f->prompts().clear();
        f->prompts().answer(ui::Answer::OK);
        dlg->cmdOpts[0]->click();
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), QString("In-Valid Password, Please Re-Enter!"));
        QVERIFY(dlg->isVisible());

        // And anna's own password still logs anna on.
        dlg->Text1[0]->setFocus();
        dlg->Text1[0]->clear();
        QTest::keyClicks(dlg->Text1[0], "anna");
        dlg->cmdOpts[0]->click();
        QVERIFY(!dlg->isVisible());
        QVERIFY(!dlg->m_blnEmerShutdown);
    }

    // ---- the start-up's log-on step

    void runLogOn_data() {
        // clang-format off
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("right password") << "ok" << true;
        QTest::newRow("cancel") << "cancel" << false;
        QTest::newRow("escape") << "escape" << false;
        QTest::newRow("close box") << "close" << false;
        QTest::newRow("60 ticks") << "ticks" << false;
        // clang-format on
    }
    void runLogOn() {
        QFETCH(QString, ending);
        QFETCH(bool, goesOn);
        addUser("anna", "Secret1");
        modAPI::SaveRegSetting("Security", "-1");
        g_blnSecurity = true;
        const QByteArray before = FileBytes(f->settingsPath());

        bool acted = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<frmPassLogon*>(QApplication::activeModalWidget());
            if (!dlg) return;
            acted = true;
            dlg->Timer1->stop();
            if (ending == "ok") {
                dlg->Text1[0]->setText("Anna");
                dlg->Text1[1]->setText("Secret1");
                dlg->cmdOpts[0]->click();
            } else if (ending == "cancel") {
                dlg->cmdOpts[1]->click();
            } else if (ending == "escape") {
                QTest::keyClick(dlg, Qt::Key_Escape);
            } else if (ending == "close") {
                dlg->close();
            } else {
                for (int i = 0; i < 60; ++i) dlg->Timer1_Timer();
            }
        });
        QCOMPARE(core::RunLogOn(nullptr), goesOn);
        QVERIFY(acted);
        QCOMPARE(FileBytes(f->settingsPath()), before);
        QVERIFY(g_blnSecurity);
    }

    void runLogOnWithoutUsers() {
        // Option off: nothing shown (a dialog would block here).
        QVERIFY(core::RunLogOn(nullptr));
        QCOMPARE(key("Security"), QString("<absent>"));

        modAPI::SaveRegSetting("Security", "-1");
        g_blnSecurity = true;
        QVERIFY(core::RunLogOn(nullptr));
        QVERIFY(!g_blnSecurity);
        QCOMPARE(key("Security"), QString("0"));
        QCOMPARE(f->prompts().count(), 0);
    }
};

POMARET_TEST(SecurityTest)

#include "tst_Security.moc"
