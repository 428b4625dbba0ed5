#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <memory>

#include "contacts/ContactScreens.h"
#include "contacts/dialogs/frmNameDetail.h"
#include "contacts/frmContEntry.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "shell/frmMain.h"
#include "support/CaptionCheck.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kAddPrefix = QStringLiteral("<Add new name: prefix");
const QString kAddSuffix = QStringLiteral("<Add new name: suffix");
const QStringList kPrefixes{kAddPrefix, " ", "Mr.", "Mrs."};
const QStringList kSuffixes{kAddSuffix, " ", "Jr.", "Sr."};
// A Contacts row as the tests write and read it: these columns joined by "|", Null as "-".
const QStringList kColumns{"CTYPE",  "FullName", "ShownName", "Prefix",  "FName",
                           "Middle", "LName",    "Suffix",    "CompName"};

}  // namespace

class NameDetailTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;
    QPointer<frmNameDetail> dlg;

    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void store(int id, const QString& row, const QString& setting = "Default") {
        QVariantList values{id, setting};
        for (const QString& cell : row.split(u'|')) values << (cell == "-" ? QVariant() : QVariant(cell));
        f->db().Execute("INSERT INTO Contacts (ContID, Setting, " + kColumns.join(", ") +
                            ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                        values);
    }
    QString row(int id) {
        db::Recordset rs =
            f->db().OpenRecordset("SELECT " + kColumns.join(", ") + " FROM Contacts WHERE ContID = ?", {id});
        if (rs.Eof()) return "no row";
        QStringList cells;
        for (int i = 0; i < rs.FieldCount(); ++i)
            cells << (rs.Value(i).isNull() ? "-" : rs.Value(i).toString());
        return cells.join(u'|');
    }

    // The main window and the editor on `id`; the dialog opened by the editor's name icon.
    frmContEntry* openEditor(int id) {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        g_lngCurContID = id;
        modGeneral::CloseAllChildForms();
        settle();
        auto* editor = qobject_cast<frmContEntry*>(ui::ScreenRegistry::instance().open("frmContEntry"));
        QTest::mouseClick(editor->findChild<QLabel*>("picPop(0)"), Qt::LeftButton);
        dlg = ui::ScreenRegistry::instance().find<frmNameDetail>();
        return editor;
    }
    // The dialog alone, on `id`.
    void open(int id) {
        g_lngCurContID = id;
        dlg = qobject_cast<frmNameDetail*>(ui::ScreenRegistry::instance().open("frmNameDetail"));
        QVERIFY(dlg);
        QVERIFY(QTest::qWaitFor([this] { return QApplication::activeWindow() == dlg; }));
    }

    QLineEdit* box(int i) { return dlg->findChild<QLineEdit*>(QString("Text1(%1)").arg(i)); }
    ui::ComboBox* list(int i) { return dlg->findChild<ui::ComboBox*>(QString("Combo1(%1)").arg(i)); }
    QAbstractButton* button(const QString& name) { return dlg->findChild<QAbstractButton*>(name); }
    QStringList entries(int i) {
        QStringList out;
        for (int n = 0; n < list(i)->count(); ++n) out << list(i)->itemText(n);
        return out;
    }
    void retype(int i, const QString& text) {
        box(i)->setFocus();
        box(i)->selectAll();
        QTest::keyClick(box(i), Qt::Key_Delete);
        QTest::keyClicks(box(i), text);
    }
    // A pick in a list as the user makes it; `signal` false: set from code, as the add dialog's
    // Cancel does.
    void choose(int i, const QString& entry, bool signal = true) {
        const int at = entries(i).indexOf(entry);
        list(i)->setCurrentIndex(at);
        if (signal) Q_EMIT list(i)->activated(at);
    }
    void ok() { QTest::mouseClick(button("cmdOpts(0)"), Qt::LeftButton); }

private Q_SLOTS:
    void init() {
        f = std::make_unique<Fixture>();
        contacts::RegisterScreens();
        for (const QString& prefix : kPrefixes.mid(2))
            f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('PRE', ?)", {prefix});
        for (const QString& suffix : kSuffixes.mid(2))
            f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('SUFF', ?)", {suffix});
    }
    void cleanup() {
        delete dlg.data();
        modGeneral::CloseAllChildForms();
        settle();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }

    // The stored row is shown as it is, every part whole, and OK without a change writes it back.
    void opensOnTheStoredName_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("prefixes");
        QTest::addColumn<QStringList>("suffixes");
        QTest::addColumn<QString>("after");  // when OK changes the row
        const QString longName = "Mr. " + QString(40, 'F') + " " + QString(25, 'M') + " " + QString(60, 'L');
        QTest::newRow("prefix typed in the new-contact dialog")
            << "I|Dr. Anna Maria Berg Jr.|Berg, Anna Maria|Dr.|Anna|Maria|Berg|Jr.|-"
            << QStringList{kAddPrefix, " ", "Dr.", "Mr.", "Mrs."} << kSuffixes << "";
        QTest::newRow("letter case kept, suffix not listed")
            << "I|mrs. Anna Berg PhD|Berg, Anna|mrs.|Anna|-|Berg|PhD|-"
            << QStringList{kAddPrefix, " ", "mrs.", "Mr.", "Mrs."}
            << QStringList{kAddSuffix, " ", "PhD", "Jr.", "Sr."} << "";
        QTest::newRow("no prefix or suffix stored: OK stores the blank entry")
            << "I|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|Acme" << kPrefixes << kSuffixes
            << "I|Anna Berg|Berg, Anna| |Anna|-|Berg| |Acme";
        QTest::newRow("parts longer than their boxes")
            << "I|" + longName + "|" + QString(60, 'L') + ", " + QString(40, 'F') + " " + QString(25, 'M') +
                   "|Mr.|" + QString(40, 'F') + "|" + QString(25, 'M') + "|" + QString(60, 'L') + "| |-"
            << kPrefixes << kSuffixes << "";
        QTest::newRow("company") << "C|Anna Berg|" + QString(200, 'C') + "|-|Anna|-|Berg|-|" +
                                        QString(200, 'C')
                                 << kPrefixes << kSuffixes << "";
    }
    void opensOnTheStoredName() {
        QFETCH(QString, stored);
        QFETCH(QStringList, prefixes);
        QFETCH(QStringList, suffixes);
        QFETCH(QString, after);
        store(4, stored);
        open(4);

        QCOMPARE(testsupport::CutCaptions(dlg), QStringList());
        const QStringList cells = stored.split(u'|');
        const auto shown = [&](int column) { return cells[column] == "-" ? " " : cells[column]; };
        QCOMPARE(entries(0), prefixes);
        QCOMPARE(entries(1), suffixes);
        QCOMPARE(QStringList({list(0)->currentText(), list(1)->currentText()}),
                 QStringList({shown(3), shown(7)}));
        const int columnOfBox[4] = {4, 5, 6, 8};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(box(i)->text(), QString(cells[columnOfBox[i]]).remove(QRegularExpression("^-$")));
        const bool person = cells[0] == "I";
        QCOMPARE(button("optType(0)")->isChecked(), person);
        const QImage shot = dlg->grab().toImage();
        for (QWidget* control : QList<QWidget*>{box(0), box(1), box(2), list(0), list(1), box(3)}) {
            const bool editable = (control == box(3)) != person;
            QCOMPARE(control->isEnabled(), editable);
            QCOMPARE(shot.pixelColor(control->geometry().topLeft() + QPoint(3, 3)),
                     editable ? QColor(Qt::white) : dlg->palette().color(QPalette::Button));
        }
        QVERIFY((person ? static_cast<QWidget*>(list(0)) : box(3))->hasFocus());

        ok();
        settle();
        QVERIFY(!dlg);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(row(4), after.isEmpty() ? stored : after);
    }

    // What OK stores from what the user entered, or the first check that fails, its focus and title.
    void okStoresOrRefuses_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("entered");  // kind, prefix, first, middle, last, suffix, company
        QTest::addColumn<QString>("expected");     // the row, or message|title|box with the focus

        const QString person = "I|Mr. Old Mid Name Jr.|Name, Old Mid|Mr.|Old|Mid|Name|Jr.|Old Co";
        const QString company = "C|-|Acme|-|-|-|-|-|Acme";
        const QString first = "You must enter an individual first name.|Validate : First Name Entry|0";
        const QString last = "You must enter an individual last name.|Validate : Last Name Entry|2";
        QTest::newRow("first and last, middle emptied")
            << person << QStringList{"I", " ", "Anna", "", "Berg", " ", ""}
            << "I|Anna Berg|Berg, Anna| |Anna|-|Berg| |Old Co";
        QTest::newRow("with a middle name")
            << person << QStringList{"I", " ", "Anna", "Maria", "Berg", " ", ""}
            << "I|Anna Maria Berg|Berg, Anna Maria| |Anna|Maria|Berg| |Old Co";
        QTest::newRow("all parts") << person << QStringList{"I", "Mrs.", "Anna", "M", "Berg", "Sr.", ""}
                                   << "I|Mrs. Anna M Berg Sr.|Berg, Anna M|Mrs.|Anna|M|Berg|Sr.|Old Co";
        QTest::newRow("add entries count as none")
            << person << QStringList{"I", kAddPrefix, "Anna", "", "Berg", kAddSuffix, ""}
            << "I|Anna Berg|Berg, Anna| |Anna|-|Berg| |Old Co";
        QTest::newRow("nothing trimmed, blanks are text")
            << person << QStringList{"I", " ", " Anna ", " M ", " ", " ", ""}
            << "I| Anna   M   | ,  Anna   M | | Anna | M | | |Old Co";
        QTest::newRow("company keeps the person's columns")
            << person << QStringList{"C", "", "", "", "", "", "Acme Tools"}
            << "C|Mr. Old Mid Name Jr.|Acme Tools|Mr.|Old|Mid|Name|Jr.|Acme Tools";
        QTest::newRow("no first name, before the last")
            << person << QStringList{"I", " ", "", "", "", " ", ""} << first;
        QTest::newRow("no last name") << person << QStringList{"I", " ", "Anna", "", "", " ", ""} << last;
        QTest::newRow("no company name") << company << QStringList{"C", "", "", "", "", "", ""}
                                         << "You must enter a company name.|Validate : Company Name Entry|3";
        QTest::newRow("company turned person needs a first name")
            << company << QStringList{"I", " ", "", "", "Berg", " ", ""} << first;
        QTest::newRow("company turned person needs a last name")
            << company << QStringList{"I", " ", "Anna", "", "", " ", ""} << last;
    }
    void okStoresOrRefuses() {
        QFETCH(QString, stored);
        QFETCH(QStringList, entered);
        QFETCH(QString, expected);
        store(5, stored);
        open(5);
        const bool person = entered[0] == "I";
        QTest::mouseClick(button(person ? "optType(0)" : "optType(1)"), Qt::LeftButton);
        if (person) {
            // From code: a pick of the add entry would open its dialog.
            choose(0, entered[1], false);
            choose(1, entered[5], false);
            for (int i = 0; i < 3; ++i) retype(i, entered[i + 2]);
        } else {
            retype(3, entered[6]);
        }
        const QStringList refusal = expected.split(u'|');
        const bool refused = refusal.size() == 3;
        if (refused) f->prompts().answer(ui::Answer::OK);
        ok();
        settle();
        if (refused) {
            QCOMPARE(f->prompts().count(), 1);
            QCOMPARE(QStringList({f->prompts().lastText(), f->prompts().lastTitle()}), refusal.mid(0, 2));
            QCOMPARE(f->prompts().lastStyle(), ui::OKOnly | ui::Information);
            QVERIFY(box(refusal[2].toInt())->hasFocus());
            QCOMPARE(row(5), stored);
            return;
        }
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(row(5), expected);
        // The next opening shows what was stored.
        open(5);
        QCOMPARE(list(0)->currentText(), expected.split(u'|')[3]);
        QCOMPARE(button("optType(0)")->isChecked(), person);
    }

    // OK refreshes the editor's names, a long full name whole, and its switcher; Cancel writes and
    // refreshes nothing.
    void theEditorFollows_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("OK") << false;
        QTest::newRow("Cancel") << true;
    }
    void theEditorFollows() {
        QFETCH(bool, cancel);
        // The longest name the boxes and lists take: 144 characters.
        const QString parts[5] = {QString(20, 'P'), QString(30, 'F'), QString(20, 'M'), QString(50, 'L'),
                                  QString(20, 'S')};
        f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('PRE', ?)", {parts[0]});
        f->db().Execute("INSERT INTO Lookup (ItemID, Description) VALUES ('SUFF', ?)", {parts[4]});
        // Hidden: the editor then puts it in its switcher only when told to.
        store(3, "I|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|-", "Hidden");
        frmContEntry* e = openEditor(3);
        QVERIFY(dlg);
        choose(0, parts[0]);
        choose(1, parts[4]);
        for (int i = 0; i < 3; ++i) retype(i, parts[i + 1]);

        QTest::mouseClick(button(cancel ? "cmdOpts(1)" : "cmdOpts(0)"), Qt::LeftButton);
        settle();
        QVERIFY(!dlg);
        QCOMPARE(f->prompts().count(), 0);
        const QString full = QStringList(std::begin(parts), std::end(parts)).join(u' ');
        const QString shown = parts[3] + ", " + parts[1] + " " + parts[2];
        QCOMPARE(full.size(), 144);
        const QStringList stored{"I", full, shown, parts[0], parts[1], parts[2], parts[3], parts[4], "-"};
        QCOMPARE(row(3), cancel ? "I|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|-" : stored.join(u'|'));
        QCOMPARE(QStringList({e->Text1Text(0), e->Text1Text(1), e->cboContList->currentText()}),
                 cancel ? QStringList({"Anna Berg", "Berg, Anna", ""}) : QStringList({full, shown, shown}));
    }

    // The add entries open their dialogs. The prefix dialog's OK adds an entry: the list is refilled
    // and every box shows the stored row again. Their Cancel puts the list on the blank entry, which OK
    // stores.
    void addingAPrefix() {
        auto& registry = ui::ScreenRegistry::instance();
        const auto answer = [&](const char* name, const QString& typed) {
            QWidget* add = registry.find(name);
            QVERIFY2(add, name);
            if (!typed.isEmpty()) QTest::keyClicks(add->findChild<QLineEdit*>("Text1"), typed);
            QTest::mouseClick(add->findChild<QAbstractButton*>(typed.isEmpty() ? "cmdOpts(1)" : "cmdOpts(0)"),
                              Qt::LeftButton);
            settle();
        };
        store(7, "I|Mr. Carl Lind|Lind, Carl|Mr.|Carl|-|Lind|-|-");
        open(7);
        retype(0, "Changed");
        retype(1, "Unsaved");
        list(0)->setFocus();
        QTest::keyClick(list(0), Qt::Key_Home);
        answer("frmSetPrefix", "Prof.");
        QCOMPARE(entries(0), kPrefixes + QStringList{"Prof."});
        QCOMPARE(
            QStringList({list(0)->currentText(), list(1)->currentText(), box(0)->text(), box(1)->text()}),
            QStringList({"Mr.", " ", "Carl", ""}));

        choose(1, kAddSuffix);
        answer("frmSetSuffix", {});
        choose(0, kAddPrefix);
        answer("frmSetPrefix", {});
        QCOMPARE(list(0)->currentText(), QString(" "));
        ok();
        settle();
        QCOMPARE(row(7), QString("I|Carl Lind|Lind, Carl| |Carl|-|Lind| |-"));
    }

    // A failed save shows its message, ends the dialog and leaves the editor; a failed load shows its own.
    void failures_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("logged");
        QTest::newRow("the write fails") << "fault"
                                         << "frmNameDetail.PostEntry";
        QTest::newRow("the contact deleted meanwhile") << "deleted"
                                                       << "frmNameDetail.PostEntry";
        QTest::newRow("no such contact") << "missing"
                                         << "frmNameDetail.PopulateFields";
    }
    void failures() {
        QFETCH(QString, failure);
        QFETCH(QString, logged);
        const QString stored = "I|Anna Berg|Berg, Anna|-|Anna|-|Berg|-|-";
        store(8, stored);
        f->prompts().answer(ui::Answer::OK);
        if (failure == "missing") {
            open(9);
            QCOMPARE(f->prompts().lastText(), QString("An un-known error occurred while loading the "
                                                      "information!\nSorry for the inconvenience"));
        } else {
            frmContEntry* e = openEditor(8);
            QVERIFY(dlg);
            retype(0, "Carl");
            if (failure == "fault") core::InjectFault("frmNameDetail.PostEntry", 3022, "Write failed");
            if (failure == "deleted") f->db().Execute("DELETE FROM Contacts WHERE ContID = 8");
            ok();
            settle();
            QVERIFY(!dlg);
            QCOMPARE(f->prompts().lastText(), QString("An un-known error occurred while Posting the "
                                                      "information!\nSorry for the inconvenience"));
            QCOMPARE(e->Text1Text(0), QString("Anna Berg"));
            QCOMPARE(row(8), failure == "deleted" ? "no row" : stored);
            QCOMPARE(f->rowCount("Contacts"), failure == "deleted" ? 0 : 1);
        }
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->rowCount("ErrLog"), 1);
        QCOMPARE(f->scalar("SELECT ModName FROM ErrLog").toString(), logged);
    }
};

POMARET_TEST(NameDetailTest)
#include "tst_frmNameDetail.moc"
