#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>

#include "support/CaptionCheck.h"
#include "core/CoreScreens.h"
#include "core/frmAbout.h"
#include "core/frmPreference.h"
#include "core/frmSecurity.h"
#include "core/frmSetting.h"
#include "core/modGeneral.h"
#include "platform/ui/ScreenRegistry.h"
#include "support/Fixture.h"
#include "support/FocusMoves.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

void Flush() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

// Stands in for the contact and project editors: only their public loader is called.
class EditorStub : public QWidget {
    Q_OBJECT

public:
    explicit EditorStub(const QString& name) {
        setObjectName(name);
        ui::ScreenRegistry::instance().add(this);
    }
    Q_INVOKABLE void LoadMainContactInfo() { ++loads; }
    Q_INVOKABLE void LoadMainProjectInfo() { ++loads; }
    int loads = 0;
};

class PreferencesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;

    QString key(const QString& name) { return modAPI::GetRegSetting(name, "<absent>"); }
    QVariant company(const QString& column) { return f->scalar("SELECT " + column + " FROM Company"); }

    frmPreference* openPreferences() {
        frmPreference* dlg = frmPreference::Open(nullptr);
        if (!QTest::qWaitForWindowActive(dlg)) qWarning("preferences not active");
        return dlg;
    }
    void type(frmPreference* dlg, int box, const QString& text) {
        dlg->tbsMain->setCurrentIndex(1);
        dlg->Text1[box]->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(dlg->Text1[box])) line->clear();
        if (auto* memo = qobject_cast<QPlainTextEdit*>(dlg->Text1[box])) memo->clear();
        QTest::keyClicks(dlg->Text1[box], text);
    }

    void addContact(int id, const QVariant& setting) {
        f->db().Execute("INSERT INTO Contacts (ContID, CTYPE, ShownName, Setting) VALUES (?, 'C', 'Berg', ?)",
                        {id, setting});
    }
    void addProject(int id, const QVariant& setting) {
        f->db().Execute("INSERT INTO Projects (ProjID, PName, Setting) VALUES (?, 'Roof', ?)", {id, setting});
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmPreference*>(w) || qobject_cast<frmSetting*>(w) ||
                qobject_cast<frmSecurity*>(w))
                delete w;
        }
        f.reset();
    }

    // ---- preferences

    void optionsWriteAtOnceAndCancelKeepsThem_data() {
        // clang-format off
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("key");
        QTest::newRow("alternate colours") << "chkAltColor" << "AltColors";
        QTest::newRow("grid lines") << "chkGridLines" << "GridLines";
        // clang-format on
    }
    void optionsWriteAtOnceAndCancelKeepsThem() {
        QFETCH(QString, box);
        QFETCH(QString, key);
        bool& flag = key == "AltColors" ? g_blnAltColors : g_blnGridLines;
        flag = false;
        QPointer<frmPreference> dlg = openPreferences();
        QCOMPARE(dlg->windowTitle(), QString("Preferences"));
        QCOMPARE(dlg->tbsMain->currentIndex(), 0);
        auto* check = dlg->findChild<QCheckBox*>(box);
        QVERIFY(!check->isChecked());

        QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(this->key(key), QString("-1"));
        QVERIFY(flag);
        QTest::mouseClick(dlg->cmdOpts[1], Qt::LeftButton);
        Flush();
        QVERIFY(dlg.isNull());
        QCOMPARE(this->key(key), QString("-1"));
        QVERIFY(flag);

        // Shown ticked on the next opening; clearing it writes "0".
        dlg = openPreferences();
        check = dlg->findChild<QCheckBox*>(box);
        QVERIFY(check->isChecked());
        QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(this->key(key), QString("0"));
        QVERIFY(!flag);
        QCOMPARE(f->prompts().count(), 0);
    }

    void companyNameIsRequired() {
        QPointer<frmPreference> dlg = openPreferences();
        for (QPushButton* button : dlg->cmdOpts) {
            QVERIFY(!button->autoDefault());
            QVERIFY(!button->isDefault());
        }
        // Only an option used, and OK: the empty company name still refuses.
        QTest::mouseClick(dlg->chkGridLines, Qt::LeftButton);
        f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        QCOMPARE(f->prompts().lastText(), QString("You Must Enter A Company Name"));
        QCOMPARE(f->prompts().lastTitle(), QString("Validate : Company Name"));
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Information);
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->tbsMain->currentIndex(), 1);
        QVERIFY(dlg->Text1[0]->hasFocus());

        // Enter in a box presses nothing.
        type(dlg, 2, "Norway");
        QTest::keyClick(dlg->Text1[2], Qt::Key_Return);
        QVERIFY(dlg->isVisible());
        QVERIFY(company("Country").isNull());
    }

    // The address takes no more than its column holds, typed as one line or several.
    void addressTypingStopsAtTheColumnsSize() {
        QPointer<frmPreference> dlg = openPreferences();
        type(dlg, 0, "Berg Tool Works");
        type(dlg, 1, QString(250, QLatin1Char('a')));
        QTest::keyClick(dlg->Text1[1], Qt::Key_Return);
        QTest::keyClicks(dlg->Text1[1], "bcdefgh");
        QCOMPARE(dlg->Text1Text(1), QString(250, QLatin1Char('a')) + "\nbcde");
        QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        Flush();
        QCOMPARE(company("Address").toString(), QString(250, QLatin1Char('a')) + "\r\nbcde");
    }

    void detailsRoundTrip() {
        QPointer<frmPreference> dlg = openPreferences();
        type(dlg, 0, "Berg Tool Works");
        type(dlg, 1, "12 Main St");
        QTest::keyClick(dlg->Text1[1], Qt::Key_Return);
        QTest::keyClicks(dlg->Text1[1], "Suite 4");
        type(dlg, 4, "555-0101");
        type(dlg, 6, "berg.example");
        QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        Flush();
        QVERIFY(dlg.isNull());
        QCOMPARE(f->rowCount("Company"), 1);
        QCOMPARE(company("CompName").toString(), QString("Berg Tool Works"));
        QCOMPARE(company("Address").toString(), QString("12 Main St\r\nSuite 4"));
        QCOMPARE(company("Fax").toString(), QString("555-0101"));
        QVERIFY(company("Country").isNull());

        // Shown again on two lines; a cleared box clears its column.
        dlg = openPreferences();
        QCOMPARE(dlg->Text1Text(1), QString("12 Main St\nSuite 4"));
        QCOMPARE(qobject_cast<QPlainTextEdit*>(dlg->Text1[1])->blockCount(), 2);
        QCOMPARE(dlg->Text1Text(6), QString("berg.example"));
        type(dlg, 4, "");
        QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        Flush();
        QVERIFY(dlg.isNull());
        QVERIFY(company("Fax").isNull());
        QCOMPARE(company("WebSite").toString(), QString("berg.example"));
        QCOMPARE(f->prompts().count(), 0);
    }

    void saveQuestionOnClose_data() {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("No closes without saving") << "Berg" << false << true << false;
        QTest::newRow("Yes with a name saves") << "Berg" << true << true << true;
        QTest::newRow("Yes without a name stays open") << "" << true << false << false;
        // clang-format on
    }
    void saveQuestionOnClose() {
        QFETCH(QString, name);
        QFETCH(bool, yes);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        QPointer<frmPreference> dlg = openPreferences();
        type(dlg, 0, name);
        type(dlg, 3, "555-0100");
        f->prompts().answer(yes ? ui::Answer::Yes : ui::Answer::No);
        if (yes) f->prompts().answer(ui::Answer::OK);                    // "Press the OK button ..."
        if (yes && name.isEmpty()) f->prompts().answer(ui::Answer::OK);  // the company-name check
        dlg->close();                                                    // the close box
        Flush();

        const auto& question = f->prompts().shown().at(0);
        QCOMPARE(question.text,
                 QString("The Company information has changed.\nWould you like to save the changes?"));
        QCOMPARE(question.title, QString("Save Changes"));
        QCOMPARE(question.style, ui::YesNo | ui::Question);
        if (yes) {
            QCOMPARE(f->prompts().shown().at(1).text, QString("Press the OK button to save the changes?"));
            QCOMPARE(f->prompts().shown().at(1).title, QString());
        }
        QCOMPARE(dlg.isNull(), closes);
        QCOMPARE(company("Phone").isNull(), !saved);
        if (saved) QCOMPARE(company("CompName").toString(), name);
        if (!closes) {
            // Still changed: Cancel asks again, and No closes.
            f->prompts().answer(ui::Answer::No);
            QTest::mouseClick(dlg->cmdOpts[1], Qt::LeftButton);
            Flush();
            QVERIFY(dlg.isNull());
        }
    }

    // Only a return from another window of the program shows the first tab again.
    void returningShowsTheFirstTab_data() {
        QTest::addColumn<testsupport::FocusMove>("move");
        QTest::addColumn<int>("tab");
        QTest::newRow("another window") << testsupport::FocusMove::OtherWindow << 0;
        QTest::newRow("another application") << testsupport::FocusMove::OtherApplication << 1;
        QTest::newRow("a message box") << testsupport::FocusMove::MessageBox << 1;
    }
    void returningShowsTheFirstTab() {
        QFETCH(testsupport::FocusMove, move);
        QFETCH(int, tab);
        frmPreference* dlg = openPreferences();
        dlg->tbsMain->setCurrentIndex(1);
        QVERIFY(testsupport::LeaveAndReturn(dlg, move));
        QCOMPARE(dlg->tbsMain->currentIndex(), tab);
        if (tab == 0) QVERIFY(dlg->chkAltColor->hasFocus());
    }

    void captionsShownWhole_data() {
        QTest::addColumn<double>("scale");
        QTest::newRow("program's font") << 1.0;
        QTest::newRow("larger font") << 1.6;
    }
    void captionsShownWhole() {
        QFETCH(double, scale);
        const testsupport::ScaledFont font(scale);
        frmPreference* dlg = openPreferences();
        const QStringList cut = testsupport::CutCaptions(dlg);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
    }

    // ---- record visibility

    void visibility_data() {
        // clang-format off
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("present");  // "<null>" for Null
        QTest::addColumn<int>("shown");        // option selected on opening
        QTest::addColumn<int>("choice");       // -1: none
        QTest::addColumn<QString>("ending");   // ok, cancel, escape, close
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("loads");
        QTest::newRow("contact: hide it") << "CEnt" << "Default" << 1 << 0 << "ok" << "Hidden" << 1;
        QTest::newRow("contact: private stays") << "CEnt" << "Private" << 2 << -1 << "ok" << "Private" << 1;
        QTest::newRow("contact: null opens default") << "CEnt" << "<null>" << 1 << 2 << "ok" << "Private" << 1;
        QTest::newRow("contact: cancel") << "CEnt" << "Default" << 1 << 0 << "cancel" << "Default" << 0;
        QTest::newRow("contact: escape") << "CEnt" << "Default" << 1 << 2 << "escape" << "Default" << 0;
        QTest::newRow("contact: close box refreshes") << "CEnt" << "Hidden" << 0 << 1 << "close" << "Hidden" << 1;
        QTest::newRow("project: private") << "PEnt" << "hidden" << 0 << 2 << "ok" << "Private" << 1;
        QTest::newRow("project: cancel") << "PEnt" << "Default" << 1 << 0 << "cancel" << "Default" << 0;
        // clang-format on
    }
    void visibility() {
        QFETCH(QString, screen);
        QFETCH(QString, present);
        QFETCH(int, shown);
        QFETCH(int, choice);
        QFETCH(QString, ending);
        QFETCH(QString, stored);
        QFETCH(int, loads);
        const bool contact = screen == "CEnt";
        const QVariant value = present == "<null>" ? QVariant() : QVariant(present);
        addContact(7, contact ? value : QVariant("Default"));
        addProject(7, contact ? QVariant("Default") : value);
        addContact(8, "Default");  // another record stays as it is
        EditorStub editor(contact ? "frmContEntry" : "frmProjEntry");
        g_strCurScreen = screen;
        (contact ? g_lngCurContID : g_lngCurProjID) = 7;

        QPointer<frmSetting> dlg = frmSetting::Open(nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
        QCOMPARE(dlg->windowTitle(), QString("Select Setting"));
        QVERIFY(dlg->optSet[shown]->isChecked());
        // On the button's circle: only it and the caption take a click.
        if (choice >= 0)
            QTest::mouseClick(dlg->optSet[choice], Qt::LeftButton, {},
                              QPoint(8, dlg->optSet[choice]->height() / 2));
        if (ending == "ok") {
            QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        } else if (ending == "cancel") {
            QTest::mouseClick(dlg->cmdOpts[1], Qt::LeftButton);
        } else if (ending == "escape") {
            QTest::keyClick(dlg, Qt::Key_Escape);
        } else {
            dlg->close();
        }
        Flush();
        QVERIFY(dlg.isNull());
        const QString table = contact ? "Contacts" : "Projects";
        const QString keyCol = contact ? "ContID" : "ProjID";
        QCOMPARE(f->scalar("SELECT Setting FROM " + table + " WHERE " + keyCol + " = 7").toString(), stored);
        if (present == "<null>" && ending != "ok")
            QVERIFY(f->scalar("SELECT Setting FROM " + table + " WHERE " + keyCol + " = 7").isNull());
        QCOMPARE(f->scalar("SELECT Setting FROM Contacts WHERE ContID = 8").toString(), QString("Default"));
        QCOMPARE(editor.loads, loads);
        QCOMPARE(f->prompts().count(), 0);
    }

    void visibilityOfAGoneRecord() {
        EditorStub editor("frmContEntry");
        g_strCurScreen = "CEnt";
        g_lngCurContID = 99;
        QPointer<frmSetting> dlg = frmSetting::Open(nullptr);
        QVERIFY(dlg->optSet[1]->isChecked());
        f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(dlg->cmdOpts[0], Qt::LeftButton);
        Flush();
        QCOMPARE(
            f->prompts().lastText(),
            QString("An un-known error occurred while updating the record!\nSorry for the inconvenience"));
        QVERIFY(!dlg.isNull());
        QVERIFY(dlg->isVisible());
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmSetting.PostContactEntry'"), 1);
        QCOMPARE(editor.loads, 0);
    }

    // ---- about box and the registered names

    void aboutShowsTheVersion() {
        frmAbout box;
        box.show();
        QCOMPARE(box.lblVersion->text(), QString("Version / Build 1.0.9"));
        QVERIFY(box.isModal());
    }

    void registeredNames() {
        core::RegisterCoreScreens();
        auto& registry = ui::ScreenRegistry::instance();
        for (const char* name : {"frmSecurity", "frmPreference", "frmSetting", "frmAbout"})
            QVERIFY2(registry.hasScreen(name), name);

        // Modeless ones come back as the same dialog while open.
        QWidget* first = registry.open("frmPreference");
        QVERIFY(qobject_cast<frmPreference*>(first));
        QCOMPARE(registry.open("frmPreference"), first);
        QVERIFY(qobject_cast<frmSecurity*>(registry.open("frmSecurity")));
    }
};

POMARET_TEST(PreferencesTest)

#include "tst_Preferences.moc"
