#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <memory>

#include "StatusWindowStub.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ScreenRegistry.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

namespace {

using Lookup = QString (*)(int32_t);

}  // namespace

Q_DECLARE_METATYPE(Lookup)

class HelpersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::Fixture> f;

    void exec(const QString& sql, const QVariantList& params = {}) { f->db().Execute(sql, params); }

private Q_SLOTS:
    void init() { f = std::make_unique<testsupport::Fixture>(); }
    void cleanup() {
        ui::SetArrow();
        f.reset();
    }

    void fixQuotes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one") << "O'Brien"
                             << "O''Brien";
        QTest::newRow("three") << "'Tis Bob's 'x"
                               << "''Tis Bob''s ''x";
        QTest::newRow("adjacent") << "a''b"
                                  << "a''''b";
        QTest::newRow("none") << "Smith, John"
                              << "Smith, John";
        QTest::newRow("empty") << ""
                               << "";
    }
    void fixQuotes() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(modGeneral::FixQuotes(text), expected);
        // What it is for: the text stands between apostrophes in SQL and comes back unchanged.
        QCOMPARE(f->scalar(QStringLiteral("SELECT '") + modGeneral::FixQuotes(text) + QStringLiteral("'"))
                     .toString(),
                 text);
    }

    void lookups_data() {
        QTest::addColumn<Lookup>("lookup");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("expected");
        QTest::newRow("contact") << Lookup(modGeneral::ConvertContactName) << 1 << "Smith, John";
        QTest::newRow("contact untrimmed") << Lookup(modGeneral::ConvertContactName) << 3 << "  Padded  ";
        QTest::newRow("contact 0") << Lookup(modGeneral::ConvertContactName) << 0 << "";
        QTest::newRow("contact unknown") << Lookup(modGeneral::ConvertContactName) << 99 << "";
        QTest::newRow("contact Null name") << Lookup(modGeneral::ConvertContactName) << 2 << "";
        QTest::newRow("project") << Lookup(modGeneral::ConvertProjectName) << 7 << "Roof repair";
        QTest::newRow("project Null name") << Lookup(modGeneral::ConvertProjectName) << 8 << "";
        QTest::newRow("project unknown") << Lookup(modGeneral::ConvertProjectName) << 1 << "";
        QTest::newRow("first Home phone") << Lookup(modGeneral::GetPhoneNum) << 1 << "555-0102";
        QTest::newRow("no Home phone") << Lookup(modGeneral::GetPhoneNum) << 2 << "";
        QTest::newRow("Home phone Null") << Lookup(modGeneral::GetPhoneNum) << 3 << "";
        QTest::newRow("Personal e-mail") << Lookup(modGeneral::GetEMail) << 1 << "john@home.example";
        QTest::newRow("no Personal e-mail") << Lookup(modGeneral::GetEMail) << 2 << "";
    }
    void lookups() {
        QFETCH(Lookup, lookup);
        QFETCH(int, id);
        QFETCH(QString, expected);
        exec(QStringLiteral("INSERT INTO Contacts (ContID, ShownName) VALUES (1, 'Smith, John')"));
        exec(QStringLiteral("INSERT INTO Contacts (ContID, ShownName) VALUES (2, Null)"));
        exec(QStringLiteral("INSERT INTO Contacts (ContID, ShownName) VALUES (3, '  Padded  ')"));
        exec(QStringLiteral("INSERT INTO Projects (ProjID, PName) VALUES (7, 'Roof repair')"));
        exec(QStringLiteral("INSERT INTO Projects (ProjID, PName) VALUES (8, Null)"));
        const auto phone = [&](int contId, const char* kind, const QVariant& number) {
            exec(QStringLiteral("INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (?, ?, ?)"),
                 {contId, QString::fromLatin1(kind), number});
        };
        phone(1, "Work", QStringLiteral("555-0101"));
        phone(1, "Home", QStringLiteral("555-0102"));
        phone(1, "Home", QStringLiteral("555-0103"));
        phone(2, "Work", QStringLiteral("555-0201"));
        phone(2, "Mobile", QStringLiteral("555-0202"));
        phone(3, "Home", QVariant());
        exec(
            QStringLiteral("INSERT INTO CEMail (fkContID, fkLookup, Email) VALUES "
                           "(1, 'Work', 'john@work.example'), (1, 'Personal', 'john@home.example'), "
                           "(2, 'Work', 'jane@work.example')"));

        QCOMPARE(lookup(id), expected);
        QCOMPARE(f->rowCount(QStringLiteral("ErrLog")), 0);
    }

    void lookupFailureIsLoggedAndGivesEmptyText_data() {
        QTest::addColumn<Lookup>("lookup");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("procName");
        QTest::newRow("contact") << Lookup(modGeneral::ConvertContactName) << "Contacts"
                                 << "modGeneral.ConvertContactName";
        QTest::newRow("project") << Lookup(modGeneral::ConvertProjectName) << "Projects"
                                 << "modGeneral.ConvertProjectName";
        QTest::newRow("phone") << Lookup(modGeneral::GetPhoneNum) << "CPhone"
                               << "modGeneral.GetPhoneNum";
        QTest::newRow("e-mail") << Lookup(modGeneral::GetEMail) << "CEMail"
                                << "modGeneral.GetEMail";
    }
    void lookupFailureIsLoggedAndGivesEmptyText() {
        QFETCH(Lookup, lookup);
        QFETCH(QString, table);
        QFETCH(QString, procName);
        exec(QStringLiteral("DROP TABLE ") + table);
        QCOMPARE(lookup(1), QString());
        QCOMPARE(f->rowCount(QStringLiteral("ErrLog"), QStringLiteral("ModName = ?"), {procName}), 1);
        QCOMPARE(f->prompts().count(), 0);
    }

    // One kind only, in Description order whatever the case, Null descriptions passed over; the kind
    // is bound, so an apostrophe in it is only a character.
    void lookupListReadsOneKind() {
        exec(QStringLiteral(
            "INSERT INTO Lookup (ItemID, Description) VALUES ('TITLE', 'Manager'), "
            "('TITLE', NULL), ('TITLE', 'analyst'), ('GRP', 'Friends'), ('TITLE', 'O''Hara')"));
        QCOMPARE(modGeneral::LookupList(QStringLiteral("TITLE")),
                 (QStringList{"analyst", "Manager", "O'Hara"}));
        QCOMPARE(modGeneral::LookupList(QStringLiteral("GRP")), QStringList{"Friends"});
        QCOMPARE(modGeneral::LookupList(QStringLiteral("GRP' OR ''='")), QStringList());
    }

    void setStatus_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("wait");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("busyAfter");  // the hourglass was on before
        QTest::newRow("wait") << "Opening Database" << true << "Opening Database, please wait..." << true;
        QTest::newRow("plain") << "Opening Database" << false << "Opening Database" << true;
        QTest::newRow("clear") << "" << false << "Ready ..." << false;
        QTest::newRow("clear, wait ignored") << "" << true << "Ready ..." << false;
    }
    void setStatus() {
        QFETCH(QString, message);
        QFETCH(bool, wait);
        QFETCH(QString, shown);
        QFETCH(bool, busyAfter);
        StatusWindowStub window;
        ui::SetBusy();
        modGeneral::SetStatus(message, wait);
        QCOMPARE(window.status, shown);
        QCOMPARE(ui::IsBusy(), busyAfter);
    }

    void highLightSelectsTheWholeText() {
        QDialog form;
        auto* line = new QLineEdit(QStringLiteral("Smith, John"), &form);
        auto* memo = new QPlainTextEdit(QStringLiteral("Called\nno answer"), &form);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        line->setFocus();
        modGeneral::highLight();
        QCOMPARE(line->selectedText(), line->text());
        memo->setFocus();
        modGeneral::highLight();
        QCOMPARE(memo->textCursor().selectedText(), QStringLiteral("Called\u2029no answer"));
        QCOMPARE(f->rowCount(QStringLiteral("ErrLog")), 0);
    }

    void flatBorder() {
        QWidget form;
        auto* edit = new QLineEdit(&form);
        auto* spin = new QSpinBox(&form);
        auto* label = new QLabel(&form);
        modAPI::FlatBorder(edit);
        modAPI::FlatBorder(edit);  // twice: still one rule
        modAPI::FlatBorder(spin);
        modAPI::FlatBorder(label);
        const QString rule =
            QStringLiteral("border: 1px solid %1;").arg(edit->palette().color(QPalette::Dark).name());
        QCOMPARE(edit->styleSheet().count(rule), 1);
        QVERIFY(spin->styleSheet().contains(rule));
        QCOMPARE(label->frameShape(), QFrame::Box);
        QCOMPARE(label->frameShadow(), QFrame::Plain);

        modAPI::FlatBorder(nullptr);
        QCOMPARE(f->rowCount(QStringLiteral("ErrLog"), QStringLiteral("ModName = 'modAPI.FlatBorder'")), 1);
    }

    void closeAllChildFormsLeavesTheMainWindow() {
        StatusWindowStub window;
        window.widget.show();
        modGeneral::CloseAllChildForms();
        QVERIFY(window.widget.isVisible());

        auto* dialog = new QDialog(&window.widget);
        ui::ScreenRegistry::instance().add(dialog);
        dialog->show();
        modGeneral::CloseAllChildForms();
        QVERIFY(!dialog->isVisible());
        QVERIFY(window.widget.isVisible());
        delete dialog;
    }
};

POMARET_TEST(HelpersTest)
#include "tst_Helpers.moc"
