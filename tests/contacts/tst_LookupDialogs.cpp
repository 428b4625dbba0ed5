#include <algorithm>
// The group dialog and the dialogs that add an item to one of the user's pick lists.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <functional>
#include <memory>

#include "contacts/ContactScreens.h"
#include "contacts/dialogs/frmSelectGrp.h"
#include "contacts/frmContEntry.h"
#include "core/modGeneral.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "support/CaptionCheck.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

// The name details dialog as far as the prefix and suffix dialogs reach it: its loader, which reads
// both lists again, and its two drop-down lists.
class NameDetailDouble : public QDialog {
    Q_OBJECT

public:
    NameDetailDouble() {
        setObjectName("frmNameDetail");
        setAttribute(Qt::WA_DeleteOnClose);
        for (int i = 0; i < 2; ++i) {
            Combo1[i] = new QComboBox(this);
            Combo1[i]->setObjectName(QString("Combo1(%1)").arg(i));
        }
        InitializeScreen();
        ui::ScreenRegistry::instance().add(this);
        show();
    }
    Q_INVOKABLE void InitializeScreen() {
        for (int i = 0; i < 2; ++i) {
            Combo1[i]->clear();
            Combo1[i]->addItems(QStringList{"<Add new name", " "} +
                                modGeneral::LookupList(i ? "SUFF" : "PRE"));
        }
    }
    QComboBox* Combo1[2] = {};
};

// The entries of a list or combo box, and the one it is on.
QStringList Entries(QWidget* control) {
    QStringList out;
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    } else if (auto* list = qobject_cast<ui::ListBox*>(control)) {
        for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
    }
    return out;
}
QString Current(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText();
    return qobject_cast<ui::ListBox*>(control)->text();
}

}  // namespace

class LookupDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    QPointer<frmContEntry> e;
    QPointer<frmSelectGrp> dlg;

    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The group list, contact 1 in `groups`, its editor, and the group dialog from the editor's icon.
    void open(const QStringList& names, const QVariant& groups) {
        for (const QString& name : names)
            f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('GRP', ?)", {name});
        f->db().Execute(
            "INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName, [Group], JobTitle) "
            "VALUES (1, 'I', 'Default', 'Berg, Anna', ?, 'Engineer')",
            {groups});
        g_lngCurContID = 1;
        e = qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
        QTest::mouseClick(e->findChild<QWidget*>("picPop(1)"), Qt::LeftButton);
        dlg = ui::ScreenRegistry::instance().find<frmSelectGrp>();
    }
    ui::ListBox* list() { return dlg->findChild<ui::ListBox*>("lstGroup"); }
    QAbstractButton* button(QWidget* form, int i) {
        return form->findChild<QAbstractButton*>(QString("cmdOpts(%1)").arg(i));
    }
    // The entries, or the selected ones, joined with ",".
    QString entries(bool selectedOnly = false) {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            if (!selectedOnly || list()->selected(i)) out << list()->itemText(i);
        return out.join(',');
    }
    void click(const QString& entry) {
        const int row = entries().split(',').indexOf(entry);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(list()->model()->index(row, 0)).center());
    }
    QString stored() { return f->scalar("SELECT [Group] FROM Contacts WHERE ContID = 1").toString(); }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        contacts::RegisterScreens();
    }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        settle();
        f.reset();
    }

    // The contact's groups come up selected and stay so when the list is rebuilt; the group just
    // added is chosen too, and one no longer listed drops out.
    void selectionSurvivesRebuildsAndIsStored() {
        f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('TITLE', 'C')");
        open({"B", "A", "Zeta", "A"}, "A,Gone,B");
        QVERIFY(dlg);
        QCOMPARE(entries(), QString("A,A,B,Zeta"));
        QCOMPARE(entries(true), QString("A,B"));
        QVERIFY(!button(dlg, 1)->isEnabled());
        QCOMPARE(testsupport::CutCaptions(dlg), QStringList());
        // A second click on the icon brings this dialog forward as it is.
        click("Zeta");
        QTest::mouseClick(e->findChild<QWidget*>("picPop(1)"), Qt::LeftButton);
        const QList<QWidget*> forms = ui::ScreenRegistry::instance().openForms();
        QCOMPARE(std::count_if(forms.begin(), forms.end(), [](QWidget* w) { return qobject_cast<frmSelectGrp*>(w); }),
                 1);
        QCOMPARE(entries(true), QString("A,B,Zeta"));
        click("Zeta");

        QTest::mouseClick(button(dlg, 0), Qt::LeftButton);
        QWidget* add = ui::ScreenRegistry::instance().find("frmAddGroup");
        QVERIFY(add);
        QCOMPARE(add->parentWidget(), dlg.data());
        QTest::keyClicks(add->findChild<QLineEdit*>("Text1"), "C");
        QTest::mouseClick(button(add, 0), Qt::LeftButton);
        settle();
        QCOMPARE(entries(), QString("A,A,B,C,Zeta"));
        QCOMPARE(entries(true), QString("A,B,C"));
        QVERIFY(!button(dlg, 1)->isEnabled());

        // Added again while it is selected, a group stays selected once.
        QTest::mouseClick(button(dlg, 0), Qt::LeftButton);
        add = ui::ScreenRegistry::instance().find("frmAddGroup");
        add->findChild<QLineEdit*>("Text1")->setText("C");
        QTest::mouseClick(button(add, 0), Qt::LeftButton);
        settle();

        QTest::mouseClick(button(dlg, 2), Qt::LeftButton);
        settle();
        QVERIFY(!dlg);
        QCOMPARE(stored(), QString("A,B,C"));
        QCOMPARE(e->Text1Text(2), QString("A,B,C"));
    }

    void removeDeletesOnlyThatGroup() {
        f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('TITLE', 'O''Hara''s')");
        open({"A", "O'Hara's", "O'Hara's"}, "A,O'Hara's");
        click("O'Hara's");
        QVERIFY(button(dlg, 1)->isEnabled());

        f->prompts().answer(ui::Answer::No).answer(ui::Answer::Yes);
        QTest::mouseClick(button(dlg, 1), Qt::LeftButton);
        QCOMPARE(f->rowCount("Lookup"), 4);
        QTest::mouseClick(button(dlg, 1), Qt::LeftButton);
        QCOMPARE(f->prompts().lastText(), QString("Are you sure you want to Delete \nO'Hara's as one of the "
                                                  "Contact Groups?"));
        QCOMPARE(f->prompts().lastTitle(), QString("Warning : Deleting Group"));
        QCOMPARE(f->prompts().lastStyle(), ui::YesNo | ui::Question | ui::DefaultButton2);
        QCOMPARE(f->rowCount("Lookup", "Description = ?", {"O'Hara's"}), 1);
        QCOMPARE(f->rowCount("Lookup", "ItemID = 'TITLE'"), 1);
        QCOMPARE(entries(), QString("A"));
        QCOMPARE(entries(true), QString("A"));
        QVERIFY(!button(dlg, 1)->isEnabled());
        QCOMPARE(stored(), QString("A,O'Hara's"));  // until OK
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // Which ways out write, refresh the editor and close. Clicks "-": the contact is deleted meanwhile.
    void waysOut_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("refreshes");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message");
        // The tag's first part is the way out.
        const auto row = [](const char* tag, const char* clicks, bool closes, bool refreshes,
                            const char* stored, const char* message = "") {
            QTest::newRow(tag) << QString(tag).section(',', 0, 0) << QString(clicks) << closes << refreshes
                               << QString(stored) << QString(message);
        };
        row("OK", "A,B", true, true, "B");
        row("Cancel", "A,B", true, false, "A");
        row("close box", "A,B", true, true, "A");
        row("Esc", "A,B", false, false, "A");
        row("Enter, nothing selected", "A", false, false, "A",
            "You must select at least one item from the list.");
        row("OK, contact deleted", "-", false, false, "",
            "An un-known error occurred while updating the record!\nSorry for the inconvenience");
    }
    void waysOut() {
        QFETCH(QString, way);
        QFETCH(QString, clicks);
        QFETCH(bool, refreshes);
        QFETCH(QString, message);
        open({"A", "B"}, "A");
        if (clicks == "-") {
            f->db().Execute("DELETE * FROM Contacts WHERE ContID = 1");
        } else {
            for (const QString& entry : clicks.split(',')) click(entry);
            // Changed behind the editor: only a refresh shows it.
            f->db().Execute("UPDATE Contacts SET ShownName = 'Ek, Bo' WHERE ContID = 1");
        }
        if (!message.isEmpty()) f->prompts().answer(ui::Answer::OK);

        if (way == "OK") QTest::mouseClick(button(dlg, 2), Qt::LeftButton);
        if (way == "Cancel") QTest::mouseClick(button(dlg, 3), Qt::LeftButton);
        if (way == "close box") dlg->close();
        if (way == "Esc") QTest::keyClick(list(), Qt::Key_Escape);
        if (way == "Enter") QTest::keyClick(list(), Qt::Key_Return);
        settle();

        QTEST(dlg.isNull(), "closes");
        QCOMPARE(e->Text1Text(1), QString(refreshes ? "Ek, Bo" : "Berg, Anna"));
        QTEST(stored(), "stored");
        QCOMPARE(f->prompts().count(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) QCOMPARE(f->prompts().lastText(), message);
        QCOMPARE(f->rowCount("ErrLog"), clicks == "-" ? 1 : 0);
    }

    // The editor's Groups box shows a long group text whole and does not write it back.
    void longGroupTextShowsWhole() {
        const QString groups = QString("Group 0123,").repeated(30).left(300);
        open({}, groups);
        QCOMPARE(e->Text1Text(2), groups);
        e->Text1(2)->setFocus();
        e->Text1(1)->setFocus();
        settle();
        QCOMPARE(stored(), groups);
    }

    // The add dialogs. pick: the opener's control that shows the list and that Cancel puts back on
    // putBack.
    void addDialogs_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("pick");
        QTest::addColumn<QString>("putBack");
        const auto row = [](const char* tag, const char* member, const char* kind, int limit,
                            const char* message, const char* title, const char* pick, const char* putBack) {
            QTest::newRow(tag) << QString(member) << QString(kind) << limit << QString(message)
                               << QString(title) << QString(pick) << QString(putBack);
        };
        row("group", "frmAddGroup", "GRP", 100, "You Must Enter An Group Description",
            "Validate : Group Description", "lstGroup", "");
        row("prefix", "frmSetPrefix", "PRE", 20, "You Must Enter A Contact Prefix Description",
            "Validate : Contact Prefix Description", "Combo1(0)", " ");
        row("suffix", "frmSetSuffix", "SUFF", 20, "You Must Enter A Contact Suffix Description",
            "Validate : Contact Suffix Description", "Combo1(1)", " ");
        row("job title", "frmSetJobTitle", "TITLE", 100, "You Must Enter A Contact Job Title",
            "Validate : Contact Job Title Description", "lstJobTitle", "Engineer");
    }
    void addDialogs() {
        QFETCH(QString, member);
        QFETCH(QString, kind);
        QFETCH(int, limit);
        QFETCH(QString, pick);
        f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES (?, 'Staff'), (?, 'Engineer')",
                        {kind, kind});
        open({}, "Staff");
        auto& registry = ui::ScreenRegistry::instance();

        // The opener, and how it opens the member: the group dialog's New, the editor's job-title list
        // on "<Add Field...>", a name details list on its "add" entry.
        QPointer<QWidget> from = member == "frmAddGroup" ? static_cast<QWidget*>(dlg) : e;
        if (member == "frmSetPrefix" || member == "frmSetSuffix") from = new NameDetailDouble;
        QWidget* control = from->findChild<QWidget*>(pick);
        const std::function<void()> choose = [&] {
            if (member == "frmAddGroup") {
                QTest::mouseClick(button(from, 0), Qt::LeftButton);
            } else if (member == "frmSetJobTitle") {
                QTest::mouseClick(e->findChild<QWidget*>("picPop(2)"), Qt::LeftButton);
                QTest::mouseClick(e->lstJobTitle->viewport(), Qt::LeftButton, {},
                                  e->lstJobTitle->visualRect(e->lstJobTitle->model()->index(0, 0)).center());
            } else {
                qobject_cast<QComboBox*>(control)->setCurrentIndex(0);
                registry.open(member);
            }
        };
        const auto openMember = [&]() -> QDialog* {
            choose();
            auto* add = qobject_cast<QDialog*>(registry.find(member));
            return add && QTest::qWaitForWindowActive(add) ? add : nullptr;
        };
        const auto text = [](QWidget* add) { return add->findChild<QLineEdit*>("Text1"); };

        // Empty: the member's message with the information icon, and back to the box.
        QPointer<QDialog> add = openMember();
        QVERIFY(add);
        QCOMPARE(testsupport::CutCaptions(add), QStringList());
        f->prompts().answer(ui::Answer::OK);
        QTest::mouseClick(button(add, 0), Qt::LeftButton);
        QTEST(f->prompts().lastText(), "message");
        QTEST(f->prompts().lastTitle(), "title");
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Information);
        QVERIFY(text(add)->hasFocus());
        QTest::keyClicks(text(add), QString("x").repeated(limit + 5));
        QCOMPARE(text(add)->text().size(), limit);

        // Blanks only are stored as they are, a duplicate is listed twice: the opener reads its list
        // again each time.
        for (const QString item : {"   ", "Staff"}) {
            if (!add) add = openMember();
            text(add)->clear();
            QTest::keyClicks(text(add), item);
            QTest::mouseClick(button(add, 0), Qt::LeftButton);
            settle();
            QVERIFY(!add);
            const int times = item == "Staff" ? 2 : 1;
            QCOMPARE(f->rowCount("Lookup", "ItemID = ? AND Description = ?", {kind, item}), times);
            QCOMPARE(Entries(control).count(item), times);
        }

        // The close box leaves the opener's control on its "add" entry; Cancel (Esc) puts it back.
        if (member != "frmAddGroup") {
            add = openMember();
            const QString adding = Current(control);
            add->close();
            settle();
            QCOMPARE(Current(control), adding);
            add = openMember();
            QTest::keyClick(text(add), Qt::Key_Escape);
            settle();
            QVERIFY(!add);
            QTEST(Current(control), "putBack");
        }

        // With the opener closed the item is still added, and nothing else happens. The group
        // dialog's add dialog belongs to it and goes with it.
        add = openMember();
        from->close();
        settle();
        QCOMPARE(add.isNull(), member == "frmAddGroup");
        if (add) {
            QTest::keyClicks(text(add), "Late");
            QTest::mouseClick(button(add, 0), Qt::LeftButton);
            settle();
            QVERIFY(!add);
            QCOMPARE(f->rowCount("Lookup", "ItemID = ? AND Description = 'Late'", {kind}), 1);
        }
        QCOMPARE(f->rowCount("ErrLog"), 0);
        QCOMPARE(f->prompts().count(), 1);
    }
};

POMARET_TEST(LookupDialogsTest)
#include "tst_LookupDialogs.moc"
