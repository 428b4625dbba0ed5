#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "contacts/ContactScreens.h"
#include "contacts/dialogs/RelatedPicker.h"
#include "contacts/dialogs/UserFieldsDialog.h"
#include "contacts/frmContEntry.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "support/CaptionCheck.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

// The main window as far as the editor and its dialogs need it: an MDI area and the status line.
class Host : public core::MainWindowLink {
public:
    Host() {
        area = new QMdiArea(&window);
        window.setCentralWidget(area);
        window.resize(1000, 700);
        core::SetMainWindow(this);
        ui::ScreenRegistry::instance().setScreenHost([this](QWidget* screen) {
            QMdiSubWindow* frame = area->addSubWindow(screen);
            frame->setAttribute(Qt::WA_DeleteOnClose);
            frame->showMaximized();
        });
        window.show();
    }
    ~Host() override {
        modGeneral::CloseAllChildForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui::ScreenRegistry::instance().setScreenHost({});
        core::SetMainWindow(nullptr);
    }
    QWidget* Widget() override { return &window; }
    void SetStatusText(const QString& text) override { status = text; }
    QString StatusText() const override { return status; }
    void SetContextCommandsEnabled(bool) override {}
    int WindowStateCode() const override { return 0; }
    QRectF OuterFrameTwips() const override { return {}; }
    bool PositionKnown() const override { return true; }

    QMainWindow window;
    QMdiArea* area = nullptr;
    QString status = QStringLiteral("Ready ...");
};

void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A list's entries as "text|item data".
QStringList Entries(const ui::PickList& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.itemText(i) + u'|' + QString::number(list.itemData(i));
    return out;
}

// The first column's texts of the editor's list.
QStringList Shown(const ui::ListView* list) {
    QStringList out;
    for (int r = 0; r < list->rowCount(); ++r) out << list->text(r, 0);
    return out;
}

void ClickEntry(ui::ListBox* list, int index) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(index, 0)).center());
}

// Closes the editor alone, as its own close box does, leaving the dialogs open.
void CloseEditor(frmContEntry* editor) {
    qobject_cast<QMdiSubWindow*>(editor->parentWidget())->close();
    Settle();
}

enum class CloseBy { Button, Esc, CloseBox };

void CloseDialog(QDialog* dialog, CloseBy how, const char* button) {
    switch (how) {
        case CloseBy::Button:
            dialog->findChild<QPushButton*>(button)->click();
            break;
        case CloseBy::Esc:
            QTest::keyClick(dialog, Qt::Key_Escape);
            break;
        case CloseBy::CloseBox:
            dialog->close();
            break;
    }
    Settle();
}

}  // namespace

Q_DECLARE_METATYPE(CloseBy)

// Contact 1 has Age 40; contact 2 has Shoe size 44; nobody has a Color.
class UserFieldsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<Host> host;
    QPointer<frmContEntry> editor;
    QPointer<UserFieldsDialog> dlg;

    void exec(const QString& sql, const QVariantList& params = {}) { f->db().Execute(sql, params); }

    void open() {
        g_lngCurContID = 1;
        editor = qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
        QVERIFY(editor);
        editor->findChild<QPushButton*>("cmdUserFld")->click();
        dlg = qobject_cast<UserFieldsDialog*>(ui::ScreenRegistry::instance().find("frmUserFields"));
        QVERIFY(dlg);
        QVERIFY(QTest::qWaitForWindowActive(dlg));
    }
    ui::ListBox* list() { return dlg->findChild<ui::ListBox*>("lstUserFld"); }
    QLineEdit* box() { return dlg->findChild<QLineEdit*>("txtValue"); }
    QAction* saveButton() { return dlg->findChild<QAction*>("Save"); }
    QPushButton* removeButton() { return dlg->findChild<QPushButton*>("cmdOpts(1)"); }

    void choose(const QString& field, int occurrence = 0) {
        for (int i = 0; i < list()->count(); ++i) {
            if (list()->itemText(i) == field && occurrence-- == 0) {
                ClickEntry(list(), i);
                Settle();
                return;
            }
        }
        QFAIL(qPrintable("no field " + field));
    }
    void type(const QString& text) {
        box()->selectAll();
        box()->del();
        QTest::keyClicks(box(), text);
    }
    void save() {
        QTest::mouseClick(dlg->findChild<QToolBar*>("tbrSave")->widgetForAction(saveButton()), Qt::LeftButton);
        Settle();
    }
    // The dialog's state: value box enabled, its text, Remove, Save.
    QString state() {
        return QStringLiteral("%1|%2|%3|%4")
            .arg(box()->isEnabled() ? "box" : "locked", box()->text(), removeButton()->isEnabled() ? "remove" : "-",
                 saveButton()->isEnabled() ? "save" : "-");
    }
    QStringList values() {
        QStringList out;
        for (db::Recordset rs = f->db().OpenRecordset(
                 "SELECT RefNum, fkContID, fkUserFld, Value FROM CUFldValues ORDER BY RefNum");
             !rs.Eof(); rs.MoveNext())
            out << QStringLiteral("%1|%2|%3|%4").arg(rs.Value(0).toString(), rs.Value(1).toString(),
                                                     rs.Value(2).toString(), rs.Value(3).toString());
        return out;
    }
    QStringList fields() {
        QStringList out;
        for (db::Recordset rs = f->db().OpenRecordset("SELECT Description FROM CUserFields ORDER BY RefNum");
             !rs.Eof(); rs.MoveNext())
            out << rs.Value(0).toString();
        return out;
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        // Other tests of this folder register doubles under these names.
        contacts::RegisterScreens();
        host = std::make_unique<Host>();
        exec("INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (1, 'I', 'Default', 'Berg, Anna'), "
             "(2, 'I', 'Default', 'Zeta, Carl')");
        exec("INSERT INTO CUserFields (RefNum, Description) VALUES (1, 'Age'), (2, 'Color'), (3, 'Shoe size')");
        exec("INSERT INTO CUFldValues (RefNum, fkContID, fkUserFld, Value) VALUES (10, 1, 'Age', '40'), "
             "(11, 2, 'Shoe size', '44')");
    }
    void cleanup() {
        host.reset();
        QCOMPARE(f->rowCount("ErrLog"), 0);
        f.reset();
    }

    // A field is added with the name as typed, while the field chosen before stays chosen.
    void addField_data() {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("added");
        QTest::newRow("100 characters") << false << QString(100, u'x') << true;
        QTest::newRow("101 characters") << false << QString(101, u'x') << false;
        QTest::newRow("empty") << false << "" << false;
        QTest::newRow("cancelled") << true << "" << false;
        QTest::newRow("blanks kept") << false << "  Age  " << true;
        QTest::newRow("duplicate") << false << "Age" << true;
    }
    void addField() {
        QFETCH(bool, cancel);
        QFETCH(QString, typed);
        QFETCH(bool, added);
        open();
        choose("Age");
        type("41");
        const QString chosen = state();
        QCOMPARE(chosen, QString("box|41|remove|save"));

        if (cancel) {
            f->prompts().inputCancel();
        } else {
            f->prompts().input(typed);
        }
        const bool tooLong = typed.size() > 100;
        if (tooLong) f->prompts().answer(ui::Answer::OK);
        dlg->findChild<QPushButton*>("cmdOpts(0)")->click();
        QCOMPARE(f->prompts().shown().first().text, QString("Enter the new User Field to be used."));
        QCOMPARE(f->prompts().shown().first().title, QString("Enter New User Field"));
        QCOMPARE(f->prompts().count(), tooLong ? 2 : 1);
        if (tooLong) QCOMPARE(f->prompts().lastText(), QString("The field entered is too long. (100 characters max)"));

        const QStringList before{"Age", "Color", "Shoe size"};
        QCOMPARE(fields(), added ? before + QStringList{typed} : before);
        QCOMPARE(list()->count(), fields().size());
        QCOMPARE(list()->listIndex(), added ? -1 : 0);
        QCOMPARE(state(), chosen);

        // The save still goes to the field chosen before.
        save();
        QCOMPARE(values(), (QStringList{"10|1|Age|41", "11|2|Shoe size|44"}));
        // Every entry of the new name shows the value stored under that name.
        for (int i = 0; added && i < fields().count(typed); ++i) {
            choose(typed, i);
            QCOMPARE(box()->text(), typed == "Age" ? QString("41") : QString());
        }
    }

    void saveValue_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<bool>("rowGone");
        QTest::addColumn<QString>("message");  // "text|title", empty for none
        QTest::addColumn<QStringList>("after");
        const QString other = "11|2|Shoe size|44";
        QTest::newRow("edit, Save button") << "Age" << "41" << false << false << "" << QStringList{"10|1|Age|41", other};
        QTest::newRow("edit, Enter") << "Age" << "41" << true << false << "" << QStringList{"10|1|Age|41", other};
        QTest::newRow("add, Save button")
            << "Color" << "Blue" << false << false << "" << QStringList{"10|1|Age|40", other, "12|1|Color|Blue"};
        QTest::newRow("add one blank, Enter")
            << "Color" << " " << true << false << "" << QStringList{"10|1|Age|40", other, "12|1|Color| "};
        QTest::newRow("empty refused") << "Age" << "" << false << false
                                       << "You Must Enter A User Field Value|Validate : User Field Value"
                                       << QStringList{"10|1|Age|40", other};
        QTest::newRow("value row deleted meanwhile")
            << "Age" << "41" << false << true << "Error Posting Record|Posting Error" << QStringList{other};
    }
    void saveValue() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(bool, rowGone);
        QFETCH(QString, message);
        QFETCH(QStringList, after);
        open();
        choose(field);
        QCOMPARE(box()->text(), field == "Age" ? QString("40") : QString());
        QVERIFY(box()->hasFocus());
        type(typed);
        if (rowGone) exec("DELETE * FROM CUFldValues WHERE RefNum = 10");
        if (!message.isEmpty()) f->prompts().answer(ui::Answer::OK);
        if (enter) {
            QTest::keyClick(box(), Qt::Key_Return);
            Settle();
        } else {
            save();
        }
        QCOMPARE(values(), after);
        QVERIFY(dlg);
        if (message.isEmpty()) {
            QCOMPARE(f->prompts().count(), 0);
            // Locked and grey until a field is chosen again.
            QCOMPARE(state(), QString("locked||-|-"));
            QCOMPARE(box()->palette().color(QPalette::Base), box()->palette().color(QPalette::Button));
            QCOMPARE(list()->itemText(list()->listIndex()), field);
            // The selected entry, clicked again, chooses its field again.
            ClickEntry(list(), list()->listIndex());
            QCOMPARE(box()->text(), after.filter("|1|" + field + '|').value(0).section('|', 3));
        } else {
            QCOMPARE(f->prompts().lastText() + '|' + f->prompts().lastTitle(), message);
            QCOMPARE(f->prompts().lastStyle(), typed.isEmpty() ? ui::OKOnly | ui::Information : ui::OKOnly);
            QCOMPARE(state(), QString("box|" + typed + "|remove|save"));
            if (typed.isEmpty()) QVERIFY(box()->hasFocus());
        }
        QCOMPARE(host->status, QString("Ready ..."));
    }

    // What the save does was settled when the field was chosen, whatever the program-wide edit mode
    // says by then.
    void saveActsOnTheFieldChosen() {
        open();
        choose("Age");
        choose("Color");
        g_lngEntryMode = 2;
        type("Blue");
        save();
        QCOMPARE(values(), (QStringList{"10|1|Age|40", "11|2|Shoe size|44", "12|1|Color|Blue"}));
        QCOMPARE(g_lngEntryMode, 2);
    }

    void removeField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("answer");  // 0: no question
        QTest::addColumn<QStringList>("fieldsAfter");
        QTest::addColumn<QString>("stateAfter");
        const QStringList all{"Age", "Color", "Shoe size"};
        QTest::newRow("used by another contact only") << "Shoe size" << 0 << all << "locked|x|-|-";
        QTest::newRow("used by this contact") << "Age" << 0 << all << "locked|x|-|-";
        QTest::newRow("unused, Yes") << "Color" << int(ui::Answer::Yes) << QStringList{"Age", "Shoe size"}
                                     << "locked|x|-|-";
        QTest::newRow("unused, No") << "Color" << int(ui::Answer::No) << all << "box|x|remove|save";
    }
    void removeField() {
        QFETCH(QString, field);
        QFETCH(int, answer);
        QFETCH(QStringList, fieldsAfter);
        QFETCH(QString, stateAfter);
        open();
        choose(field);
        type("x");
        f->prompts().answer(answer ? ui::Answer(answer) : ui::Answer::OK);
        removeButton()->click();
        QCOMPARE(f->prompts().count(), 1);
        if (answer) {
            QCOMPARE(f->prompts().lastText(),
                     "Are you sure you want to DELETE User Field\n[ " + field + " ] from the User Field List?");
            QCOMPARE(f->prompts().lastTitle(), QString("Warning : Delete User Field"));
            QCOMPARE(f->prompts().lastStyle(), ui::YesNo | ui::Critical);
        } else {
            QCOMPARE(f->prompts().lastText(),
                     QString("That field is in use in a Contact Record and cannot be removed."));
            QCOMPARE(f->prompts().lastTitle(), QString("Cannot Remove Used Field"));
            QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Information);
        }
        QCOMPARE(fields(), fieldsAfter);
        QCOMPARE(list()->count(), fieldsAfter.size());
        QCOMPARE(state(), stateAfter);
        QCOMPARE(values(), (QStringList{"10|1|Age|40", "11|2|Shoe size|44"}));
    }

    // A failure is logged under the dialog's name and told in the failing step's words; the dialog
    // stays as it was.
    void failures_data() {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("action");
        QTest::newRow("adding") << "AddNewUserField" << "cmdOpts(0)" << "Adding the new User Field";
        QTest::newRow("saving") << "PostEntry" << "Save" << "Posting the record";
        QTest::newRow("removing") << "DeleteUserField" << "cmdOpts(1)" << "Deleting the record";
    }
    void failures() {
        QFETCH(QString, procedure);
        QFETCH(QString, button);
        QFETCH(QString, action);
        open();
        choose("Color");
        type("Blue");
        core::InjectFault("frmUserFields." + procedure, 3022, "Refused.");
        f->prompts().answer(ui::Answer::OK);
        if (button == "Save") {
            save();
        } else {
            dlg->findChild<QPushButton*>(button)->click();
        }
        QCOMPARE(f->prompts().lastText(),
                 "An un-known error occurred while " + action + "!\nSorry for the inconvenience");
        QCOMPARE(f->rowCount("ErrLog", "ModName = ? AND ErrNum = 3022", {"frmUserFields." + procedure}), 1);
        QCOMPARE(state(), QString("box|Blue|remove|save"));
        QCOMPARE(fields().size(), 3);
        QCOMPARE(values().size(), 2);
        f->db().Execute("DELETE * FROM ErrLog");
    }

    void captionsShownWhole() {
        const testsupport::ScaledFont font(1.6);
        exec("INSERT INTO Projects (ProjID, PName) VALUES (1, 'Alpha')");
        open();
        editor->findChild<QPushButton*>("cmdRelProj")->click();
        for (const char* name : {"frmUserFields", "frmSetRelProject"}) {
            const QStringList cut = testsupport::CutCaptions(ui::ScreenRegistry::instance().shownDialog(name));
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
        }
    }

    // Every close reloads the editor's list of values, unless the editor has gone meanwhile.
    void closing_data() {
        QTest::addColumn<CloseBy>("how");
        QTest::addColumn<bool>("editorClosed");
        QTest::newRow("Close") << CloseBy::Button << false;
        QTest::newRow("Esc") << CloseBy::Esc << false;
        QTest::newRow("close box") << CloseBy::CloseBox << false;
        QTest::newRow("editor closed first") << CloseBy::Button << true;
    }
    void closing() {
        QFETCH(CloseBy, how);
        QFETCH(bool, editorClosed);
        open();
        // A second click on the editor's button brings this dialog forward as it is.
        choose("Color");
        type("half");
        editor->findChild<QPushButton*>("cmdUserFld")->click();
        QCOMPARE(ui::ScreenRegistry::instance().find("frmUserFields"), dlg.data());
        QCOMPARE(box()->text(), QString("half"));

        exec("INSERT INTO CUFldValues (fkContID, fkUserFld, Value) VALUES (1, 'Color', 'Red')");
        if (editorClosed) CloseEditor(editor);
        CloseDialog(dlg, how, "cmdOpts(2)");
        QVERIFY(!dlg);
        QCOMPARE(f->prompts().count(), 0);
        if (!editorClosed)
            QCOMPARE(Shown(editor->findChild<ui::ListView*>("lvUserDef")), (QStringList{"Age", "Color"}));
    }
};

// Projects 10 Beta (Default), 11 alpha (Hidden) and 12 Gamma (Private); contact 1 is on view.
class RelatedProjectPickerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<Host> host;
    QPointer<frmContEntry> editor;
    QPointer<RelatedPicker> dlg;

    void exec(const QString& sql, const QVariantList& params = {}) { f->db().Execute(sql, params); }

    void open() {
        if (!editor) {
            g_lngCurContID = 1;
            editor = qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
            QVERIFY(editor);
        }
        editor->findChild<QPushButton*>("cmdRelProj")->click();
        dlg = qobject_cast<RelatedPicker*>(ui::ScreenRegistry::instance().find("frmSetRelProject"));
    }
    ui::ListBox* list() { return dlg->findChild<ui::ListBox*>("lstProject"); }
    void choose(const QString& project) { ClickEntry(list(), list()->findText(project)); }
    void ok() {
        dlg->findChild<QPushButton*>("cmdOpts(0)")->click();
        Settle();
    }
    QStringList links() {
        QStringList out;
        for (db::Recordset rs =
                 f->db().OpenRecordset("SELECT fkProjID, fkContID, ContShowName FROM RelateProject ORDER BY RefNum");
             !rs.Eof(); rs.MoveNext())
            out << QStringLiteral("%1|%2|%3").arg(rs.Value(0).toString(), rs.Value(1).toString(),
                                                  rs.Value(2).toString());
        return out;
    }
    QStringList editorList() { return Shown(editor->findChild<ui::ListView*>("lvRelPrj")); }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        contacts::RegisterScreens();
        host = std::make_unique<Host>();
        exec("INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (1, 'I', 'Default', ' Berg, Anna ')");
        exec("INSERT INTO Projects (ProjID, PName, Setting) VALUES (10, 'Beta', 'Default'), (11, 'alpha', 'Hidden'), "
             "(12, 'Gamma', 'Private')");
    }
    void cleanup() {
        host.reset();
        QCOMPARE(f->rowCount("ErrLog"), 0);
        f.reset();
    }

    void linksTheChosenProject() {
        open();
        QVERIFY(dlg);
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        QCOMPARE(Entries(*list()), (QStringList{"alpha|11", "Beta|10", "Gamma|12"}));

        // Nothing chosen yet, or a click beside the entries: told so, nothing written.
        f->prompts().answer(ui::Answer::OK).answer(ui::Answer::OK);
        ok();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(5, list()->viewport()->height() - 3));
        QCOMPARE(f->prompts().shown().value(0).text, QString("You must select a Project from the list."));
        QCOMPARE(f->prompts().lastText(), QString("There is nothing from the list to select"));
        QVERIFY(dlg);
        QCOMPARE(links(), QStringList());

        // The contact's shown name as stored, blanks and all; the editor lists the project.
        choose("Gamma");
        ok();
        QVERIFY(!dlg);
        QCOMPARE(links(), QStringList{"12|1| Berg, Anna "});
        QCOMPARE(editorList(), QStringList{"Gamma"});

        // Linked again: a second row, listed once. Enter is OK.
        open();
        choose("Gamma");
        QTest::keyClick(list(), Qt::Key_Return);
        Settle();
        QVERIFY(!dlg);
        QCOMPARE(links(), (QStringList{"12|1| Berg, Anna ", "12|1| Berg, Anna "}));
        QCOMPARE(editorList(), QStringList{"Gamma"});
        QCOMPARE(f->prompts().count(), 2);
    }

    // Cancel (and Esc) neither writes nor reloads; the close box reloads. With the editor gone, the
    // link is still made for the contact that was on view.
    void closing_data() {
        QTest::addColumn<CloseBy>("how");
        QTest::addColumn<bool>("reloads");
        QTest::newRow("Cancel") << CloseBy::Button << false;
        QTest::newRow("Esc") << CloseBy::Esc << false;
        QTest::newRow("close box") << CloseBy::CloseBox << true;
    }
    void closing() {
        QFETCH(CloseBy, how);
        QFETCH(bool, reloads);
        open();
        QVERIFY(dlg);
        choose("Beta");
        exec("INSERT INTO RelateProject (fkProjID, fkContID) VALUES (11, 1)");
        CloseDialog(dlg, how, "cmdOpts(1)");
        QVERIFY(!dlg);
        QCOMPARE(links(), QStringList{"11|1|"});
        QCOMPARE(editorList(), reloads ? QStringList{"alpha"} : QStringList());
    }
    void editorClosedMeanwhile() {
        open();
        QVERIFY(dlg);
        CloseEditor(editor);
        g_lngCurContID = 0;
        choose("alpha");
        ok();
        QVERIFY(!dlg);
        QCOMPARE(links(), QStringList{"11|1| Berg, Anna "});
    }

    // A failed write is told, and the picker still closes and reloads the editor's list.
    void failedLinkStillCloses() {
        open();
        QVERIFY(dlg);
        choose("Beta");
        exec("INSERT INTO RelateProject (fkProjID, fkContID) VALUES (11, 1)");
        core::InjectFault("frmSetRelProject.PostEntry", 3022, "Refused.");
        f->prompts().answer(ui::Answer::OK);
        ok();
        QCOMPARE(f->prompts().lastText(),
                 QString("An un-known error occurred while Posting this record!\nSorry for the inconvenience"));
        QVERIFY(!dlg);
        QCOMPARE(links(), QStringList{"11|1|"});
        QCOMPARE(editorList(), QStringList{"alpha"});
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmSetRelProject.PostEntry'"), 1);
        exec("DELETE * FROM ErrLog");
    }

    void noProjectToOffer() {
        exec("DELETE * FROM Projects");
        f->prompts().answer(ui::Answer::OK);
        open();
        Settle();
        QCOMPARE(f->prompts().lastText(), QString("There are no Projects entered to select."));
        QCOMPARE(f->prompts().lastTitle(), QString("Pomaret - Contact Manager"));
        QVERIFY(!ui::ScreenRegistry::instance().find("frmSetRelProject"));
        QCOMPARE(links(), QStringList());
    }
};

POMARET_TEST(UserFieldsTest)
POMARET_TEST(RelatedProjectPickerTest)
#include "tst_UserFieldsAndPicker.moc"
