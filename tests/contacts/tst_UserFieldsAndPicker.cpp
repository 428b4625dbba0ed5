#include <QAction>
#include <QDialog>
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

// The main window as the editor and its dialogs use it: screens in an MDI area, a status line.
class Host : public core::MainWindowLink {
public:
    Host() {
        auto* area = new QMdiArea(&window);
        window.setCentralWidget(area);
        window.resize(1000, 700);
        core::SetMainWindow(this);
        ui::ScreenRegistry::instance().setScreenHost([area](QWidget* screen) {
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
    QString status = QStringLiteral("Ready ...");
};

void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The rows of a query, each as its columns joined by "|".
QStringList Rows(Fixture& f, const QString& sql) {
    QStringList out;
    for (db::Recordset rs = f.db().OpenRecordset(sql); !rs.Eof(); rs.MoveNext()) {
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i) cells << rs.Value(i).toString();
        out << cells.join(u'|');
    }
    return out;
}

// The first column of one of the editor's lists.
QStringList Shown(const frmContEntry* editor, const char* list) {
    auto* lv = editor->findChild<ui::ListView*>(list);
    QStringList out;
    for (int r = 0; r < lv->rowCount(); ++r) out << lv->text(r, 0);
    return out;
}

// A mouse click on the `occurrence`-th entry of that text.
void ClickEntry(ui::ListBox* list, const QString& text, int occurrence = 0) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) != text || occurrence-- > 0) continue;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(i, 0)).center());
        Settle();
        return;
    }
    QFAIL(qPrintable("no entry " + text));
}

frmContEntry* OpenEditor(int id) {
    g_lngCurContID = id;
    return qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
}

// The editor closed alone, as by its own close box; its dialogs stay.
void CloseEditor(frmContEntry* editor) {
    qobject_cast<QMdiSubWindow*>(editor->parentWidget())->close();
    Settle();
}

enum class CloseBy { Button, Esc, CloseBox };

void CloseDialog(QDialog* dialog, CloseBy how, const char* button) {
    if (how == CloseBy::Button) dialog->findChild<QPushButton*>(button)->click();
    if (how == CloseBy::Esc) QTest::keyClick(dialog, Qt::Key_Escape);
    if (how == CloseBy::CloseBox) dialog->close();
    Settle();
}

}  // namespace

Q_DECLARE_METATYPE(CloseBy)

// Contact 1 has Age 40, contact 2 Shoe size 44, nobody a Color; projects 10 Beta (Default), 11 alpha
// (Hidden) and 12 Gamma (Private). The editor is on contact 1.
class UserFieldsAndPickerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<Host> host;
    QPointer<frmContEntry> editor;
    QPointer<QDialog> dlg;

    void open(const char* button, const char* dialog) {
        if (!editor) editor = OpenEditor(1);
        editor->findChild<QPushButton*>(button)->click();
        dlg = qobject_cast<QDialog*>(ui::ScreenRegistry::instance().find(dialog));
    }
    void openFields() {
        open("cmdUserFld", "frmUserFields");
        QVERIFY(dlg && QTest::qWaitForWindowActive(dlg));
    }
    void openPicker() { open("cmdRelProj", "frmSetRelProject"); }
    ui::ListBox* list() { return dlg->findChild<ui::ListBox*>(); }
    QLineEdit* box() { return dlg->findChild<QLineEdit*>("txtValue"); }
    void choose(const QString& entry, int occurrence = 0) { ClickEntry(list(), entry, occurrence); }
    void type(const QString& text) {
        box()->clear();
        QTest::keyClicks(box(), text);
    }
    void save() {
        auto* bar = dlg->findChild<QToolBar*>("tbrSave");
        QTest::mouseClick(bar->widgetForAction(bar->actions().value(0)), Qt::LeftButton);
        Settle();
    }
    void click(const char* button) {
        dlg->findChild<QPushButton*>(button)->click();
        Settle();
    }
    // Value box (enabled or locked, its text), Remove and Save.
    QString state() {
        return QStringLiteral("%1|%2|%3|%4")
            .arg(box()->isEnabled() ? "box" : "locked", box()->text(),
                 dlg->findChild<QPushButton*>("cmdOpts(1)")->isEnabled() ? "remove" : "-",
                 dlg->findChild<QAction*>("Save")->isEnabled() ? "save" : "-");
    }
    QStringList values() {
        return Rows(*f, "SELECT RefNum, fkContID, fkUserFld, Value FROM CUFldValues ORDER BY RefNum");
    }
    QStringList fields() { return Rows(*f, "SELECT Description FROM CUserFields ORDER BY RefNum"); }
    QStringList links() {
        return Rows(*f, "SELECT fkProjID, fkContID, ContShowName FROM RelateProject ORDER BY RefNum");
    }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        contacts::RegisterScreens();  // other tests of this folder register doubles under these names
        host = std::make_unique<Host>();
        f->db().Execute(
            "INSERT INTO Contacts (ContID, ShownName) VALUES (1, ' Berg, Anna '), (2, 'Zeta, Carl')");
        f->db().Execute(
            "INSERT INTO CUserFields (RefNum, Description) VALUES (1, 'Age'), (2, 'Color'), (3, 'Shoe "
            "size')");
        f->db().Execute(
            "INSERT INTO CUFldValues (RefNum, fkContID, fkUserFld, Value) "
            "VALUES (10, 1, 'Age', '40'), (11, 2, 'Shoe size', '44')");
        f->db().Execute(
            "INSERT INTO Projects (ProjID, PName, Setting) VALUES (10, 'Beta', 'Default'), "
            "(11, 'alpha', 'Hidden'), (12, 'Gamma', 'Private')");
    }
    void cleanup() {
        host.reset();
        QCOMPARE(f->rowCount("ErrLog"), 0);
        f.reset();
    }

    // Names are stored as typed; the field chosen before stays chosen and still takes the save.
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
        openFields();
        choose("Age");
        type("41");
        cancel ? f->prompts().inputCancel() : f->prompts().input(typed);
        const bool tooLong = typed.size() > 100;
        if (tooLong) f->prompts().answer(ui::Answer::OK);
        click("cmdOpts(0)");
        QCOMPARE(f->prompts().count(), tooLong ? 2 : 1);
        QCOMPARE(f->prompts().lastText(), tooLong
                                              ? QString("The field entered is too long. (100 characters max)")
                                              : QString("Enter the new User Field to be used."));
        QCOMPARE(fields(),
                 QStringList({"Age", "Color", "Shoe size"}) + (added ? QStringList{typed} : QStringList()));
        QCOMPARE(list()->count(), fields().size());
        QCOMPARE(state(), QString("box|41|remove|save"));
        save();
        QCOMPARE(values(), QStringList({"10|1|Age|41", "11|2|Shoe size|44"}));
        // Every entry of the name shows what is stored under it.
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
        const QString age = "10|1|Age|40", other = "11|2|Shoe size|44";
        const QStringList edited{"10|1|Age|41", other};
        QTest::newRow("edit, Save") << "Age"
                                    << "41" << false << false << "" << edited;
        QTest::newRow("edit, Enter") << "Age"
                                     << "41" << true << false << "" << edited;
        QTest::newRow("add, Save") << "Color"
                                   << "Blue" << false << false << ""
                                   << QStringList{age, other, "12|1|Color|Blue"};
        QTest::newRow("add a blank, Enter")
            << "Color"
            << " " << true << false << "" << QStringList{age, other, "12|1|Color| "};
        QTest::newRow("empty") << "Age"
                               << "" << true << false
                               << "You Must Enter A User Field Value|Validate : User Field Value"
                               << QStringList{age, other};
        QTest::newRow("row deleted meanwhile")
            << "Age"
            << "41" << false << true << "Error Posting Record|Posting Error" << QStringList{other};
    }
    void saveValue() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(bool, rowGone);
        QFETCH(QString, message);
        QFETCH(QStringList, after);
        openFields();
        choose(field);
        QCOMPARE(box()->text(), field == "Age" ? QString("40") : QString());
        type(typed);
        if (rowGone) f->db().Execute("DELETE * FROM CUFldValues WHERE RefNum = 10");
        if (!message.isEmpty()) f->prompts().answer(ui::Answer::OK);
        enter ? QTest::keyClick(box(), Qt::Key_Return) : save();
        Settle();
        QCOMPARE(values(), after);
        QCOMPARE(host->status, QString("Ready ..."));
        if (!message.isEmpty()) {
            QCOMPARE(f->prompts().lastText() + '|' + f->prompts().lastTitle(), message);
            QCOMPARE(state(), "box|" + typed + "|remove|save");
            QVERIFY(box()->hasFocus());
            return;
        }
        QCOMPARE(f->prompts().count(), 0);  // Enter pressed no button
        QCOMPARE(state(), QString("locked||-|-"));
        QCOMPARE(box()->palette().color(QPalette::Base), box()->palette().color(QPalette::Button));
        // The entry still selected, clicked again, chooses its field again.
        choose(field);
        QCOMPARE(box()->text(), after.filter("|1|" + field + '|').value(0).section('|', 3));
    }

    // The save goes by what was found when the field was chosen, whatever the program-wide mode says.
    void saveActsOnTheFieldChosen() {
        openFields();
        choose("Age");
        choose("Color");
        g_lngEntryMode = 2;
        type("Blue");
        save();
        QCOMPARE(values(), QStringList({"10|1|Age|40", "11|2|Shoe size|44", "12|1|Color|Blue"}));
    }

    void removeField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("stateAfter");
        const int ok = int(ui::Answer::OK);
        const QString refused = "Cannot Remove Used Field", asked = "Warning : Delete User Field";
        QTest::newRow("used by another contact") << "Shoe size" << ok << refused << "locked|x|-|-";
        QTest::newRow("used by this contact") << "Age" << ok << refused << "locked|x|-|-";
        QTest::newRow("unused, Yes") << "Color" << int(ui::Answer::Yes) << asked << "locked|x|-|-";
        QTest::newRow("unused, No") << "Color" << int(ui::Answer::No) << asked << "box|x|remove|save";
    }
    void removeField() {
        QFETCH(QString, field);
        QFETCH(int, answer);
        QFETCH(QString, title);
        QFETCH(QString, stateAfter);
        openFields();
        choose(field);
        type("x");
        f->prompts().answer(ui::Answer(answer));
        click("cmdOpts(1)");
        QCOMPARE(f->prompts().lastTitle(), title);
        if (answer == int(ui::Answer::OK))
            QCOMPARE(f->prompts().lastText(),
                     QString("That field is in use in a Contact Record and cannot be removed."));
        const bool removed = answer == int(ui::Answer::Yes);
        QCOMPARE(fields().contains(field), !removed);
        QCOMPARE(list()->findText(field) >= 0, !removed);
        QCOMPARE(state(), stateAfter);
        QCOMPARE(values().size(), 2);
    }

    // Every close reloads the editor's values, unless the editor has closed meanwhile.
    void closeFields_data() {
        QTest::addColumn<CloseBy>("how");
        QTest::addColumn<bool>("editorClosed");
        QTest::newRow("Close") << CloseBy::Button << false;
        QTest::newRow("Esc") << CloseBy::Esc << false;
        QTest::newRow("close box") << CloseBy::CloseBox << false;
        QTest::newRow("editor closed first") << CloseBy::Button << true;
    }
    void closeFields() {
        QFETCH(CloseBy, how);
        QFETCH(bool, editorClosed);
        openFields();
        // A second click on the editor's button brings this dialog forward as it is.
        choose("Color");
        type("half");
        editor->findChild<QPushButton*>("cmdUserFld")->click();
        QCOMPARE(ui::ScreenRegistry::instance().find("frmUserFields"), dlg.data());
        QCOMPARE(box()->text(), QString("half"));

        f->db().Execute("INSERT INTO CUFldValues (fkContID, fkUserFld, Value) VALUES (1, 'Color', 'Red')");
        if (editorClosed) CloseEditor(editor);
        CloseDialog(dlg, how, "cmdOpts(2)");
        QVERIFY(!dlg);
        if (!editorClosed) QCOMPARE(Shown(editor, "lvUserDef"), QStringList({"Age", "Color"}));
    }

    void pickerOffersEveryProject() {
        openPicker();
        QVERIFY(dlg && QTest::qWaitForWindowActive(dlg));
        QCOMPARE(QStringList({list()->itemText(0), list()->itemText(1), list()->itemText(2)}),
                 QStringList({"alpha", "Beta", "Gamma"}));
        QCOMPARE(list()->count(), 3);

        // OK before a choice, and a click beside the entries: told so, nothing written.
        f->prompts().answer(ui::Answer::OK).answer(ui::Answer::OK);
        click("cmdOpts(0)");
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          QPoint(5, list()->viewport()->height() - 3));
        QCOMPARE(f->prompts().shown().value(0).text, QString("You must select a Project from the list."));
        QCOMPARE(f->prompts().lastText(), QString("There is nothing from the list to select"));
        QVERIFY(dlg);
        QCOMPARE(links(), QStringList());

        // Linked twice (the second time by Enter): two rows, listed once.
        choose("Gamma");
        click("cmdOpts(0)");
        QVERIFY(!dlg);
        openPicker();
        choose("Gamma");
        QTest::keyClick(list(), Qt::Key_Return);
        Settle();
        QVERIFY(!dlg);
        QCOMPARE(links(), QStringList({"12|1| Berg, Anna ", "12|1| Berg, Anna "}));
        QCOMPARE(Shown(editor, "lvRelPrj"), QStringList{"Gamma"});
    }

    // OK links the chosen project to the contact on view when the picker opened, under its stored
    // shown name, even with the editor gone; a failed write is told and still closes. Every close
    // but Cancel and Esc reloads the editor's list.
    void pickerCloses_data() {
        QTest::addColumn<CloseBy>("how");
        QTest::addColumn<QString>("ending");  // "", "editor closed", "failure"
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QStringList>("listed");
        const QString other = "11|1|";
        const QStringList linked{other, "10|1| Berg, Anna "};
        QTest::newRow("OK") << CloseBy::Button << "" << linked << QStringList{"alpha", "Beta"};
        QTest::newRow("OK, editor closed") << CloseBy::Button << "editor closed" << linked << QStringList();
        QTest::newRow("OK fails") << CloseBy::Button << "failure" << QStringList{other}
                                  << QStringList{"alpha"};
        QTest::newRow("Cancel") << CloseBy::Button << "cancel" << QStringList{other} << QStringList();
        QTest::newRow("Esc") << CloseBy::Esc << "" << QStringList{other} << QStringList();
        QTest::newRow("close box") << CloseBy::CloseBox << "" << QStringList{other} << QStringList{"alpha"};
    }
    void pickerCloses() {
        QFETCH(CloseBy, how);
        QFETCH(QString, ending);
        QFETCH(QStringList, links);
        QFETCH(QStringList, listed);
        openPicker();
        choose("Beta");
        f->db().Execute("INSERT INTO RelateProject (fkProjID, fkContID) VALUES (11, 1)");
        if (ending == "editor closed") {
            CloseEditor(editor);
            g_lngCurContID = 0;
        }
        if (ending == "failure") {
            core::InjectFault("frmSetRelProject.PostEntry", 3022, "Refused.");
            f->prompts().answer(ui::Answer::OK);
        }
        CloseDialog(dlg, how, ending == "cancel" ? "cmdOpts(1)" : "cmdOpts(0)");
        QVERIFY(!dlg);
        QCOMPARE(this->links(), links);
        if (editor) QCOMPARE(Shown(editor, "lvRelPrj"), listed);
        if (ending == "failure") {
            QCOMPARE(
                f->prompts().lastText(),
                QString(
                    "An un-known error occurred while Posting this record!\nSorry for the inconvenience"));
            f->db().Execute("DELETE * FROM ErrLog");
        }
    }

    void pickerWithoutProjects() {
        f->db().Execute("DELETE * FROM Projects");
        f->prompts().answer(ui::Answer::OK);
        openPicker();
        Settle();
        QCOMPARE(f->prompts().lastText(), QString("There are no Projects entered to select."));
        QVERIFY(!ui::ScreenRegistry::instance().find("frmSetRelProject"));
    }

    void captionsShownWhole() {
        const testsupport::ScaledFont font(1.6);
        openFields();
        openPicker();
        for (const char* name : {"frmUserFields", "frmSetRelProject"}) {
            const QStringList cut =
                testsupport::CutCaptions(ui::ScreenRegistry::instance().find(name));
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
        }
    }
};

POMARET_TEST(UserFieldsAndPickerTest)
#include "tst_UserFieldsAndPicker.moc"
