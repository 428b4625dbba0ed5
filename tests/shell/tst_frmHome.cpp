#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QTest>
#include <memory>

#include "core/modGeneral.h"
#include "items/ItemDialog.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"
#include "calendar/frmCalDay.h"
#include "shell/frmHome.h"
#include "shell/frmMain.h"
#include "support/CaptionCheck.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;

namespace {

const QString kTitle = QStringLiteral("Pomaret - Contact Manager");

QWidget* Open(const QString& name) {
    return ui::ScreenRegistry::instance().find(name);
}

// A list's rows as "key|text|sub-item" lines.
QStringList Rows(const ui::ListView& list) {
    QStringList rows;
    for (int r = 0; r < list.rowCount(); ++r) {
        QString line = list.key(r) + QLatin1Char('|') + list.text(r, 0);
        for (int c = 1; c < list.columnCount(); ++c) line += QLatin1Char('|') + list.text(r, c);
        rows << line;
    }
    return rows;
}

void ClickRow(ui::ListView& list, int row) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.rowRect(row).center());
}

void ClickBelowRows(ui::ListView& list) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 3));
}

}  // namespace

// The home screen as the start-up shows it: what each list takes from the database, and where a
// click on it leads.
class frmHomeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    frmHome* start() {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        return home();
    }
    static frmHome* home() { return qobject_cast<frmHome*>(Open(QStringLiteral("frmHome"))); }
    ui::ListView* list(const QString& name) const { return home()->findChild<ui::ListView*>(name); }

    void addContact(int id, const QString& setting, const QString& name) {
        f->db().Execute("INSERT INTO Contacts (ContID, CTYPE, Setting, ShownName) VALUES (?, 'C', ?, ?)",
                        {id, setting, name});
    }

    // One of each case the lists must tell apart; the clock stands at Tuesday 12/08/2026 10:00.
    void seedItems() {
        f->db().Execute(
            "INSERT INTO Projects (ProjID, PName, Status, Setting) VALUES (1, 'Alpha', 'Complete', "
            "'Default'), "
            "(2, 'Bravo', 'Closed', 'Default'), (6, 'Charlie', 'complete', 'Default'), "
            "(3, 'Delta', NULL, 'Default'), (5, 'Echo', 'Active', 'Hidden'), (4, 'Foxtrot', 'Active', "
            "'Private')");
        f->db().Execute(
            "INSERT INTO ToDo (Subject, DueDate, Completed, Private) VALUES "
            "('Call plumber', #12/10/2026#, False, False), ('Done thing', #12/20/2026#, True, False), "
            "('Secret', #12/21/2026#, False, True), ('Later', #01/15/2027#, False, False), "
            "('Overdue', #11/30/2026#, False, False)");
        // The last note, entered without links, keeps the table's defaults.
        f->db().Execute(
            "INSERT INTO Attach (TextBody, NType, fkContID, fkProjID) VALUES ('Free note', 'N', 0, 0), "
            "('A call', 'C', 0, 0), ('Contact note', 'N', 5, 0), ('Project note', 'N', 0, 7)");
        f->db().Execute("INSERT INTO Attach (TextBody, NType) VALUES ('Second free note', 'N')");
        f->db().Execute(
            "INSERT INTO Appts (Subject, DateFrom, Private) VALUES ('Yesterday', #12/07/2026#, False), "
            "('Next year', #12/08/2027#, False), ('Private today', #12/08/2026#, True), "
            "('Today', #12/08/2026 9:00 AM#, False), ('Next week', #12/15/2026#, False)");
    }

private Q_SLOTS:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
    }

    void recentNamesAreTheNewestDefaultContacts() {
        for (int id = 1; id <= 30; ++id) addContact(id, "Default", QStringLiteral("Name %1").arg(id));
        addContact(31, "Hidden", "Hidden newest");
        addContact(32, "Private", "Private newest");
        // The phone is GetPhoneNum's: the first "Home" row entered (any letter case), even an empty one.
        f->db().Execute(
            "INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (29, 'Home', '555-0129'), "
            "(28, 'Work', '555-0228'), (27, 'Home', '555-0127'), (27, 'Home', '555-0227'), "
            "(26, 'HOME', '555-0126'), (25, 'Home', NULL), (25, 'Home', '555-0125')");

        const QStringList rows = Rows(*start()->lvRecNames);
        QCOMPARE(rows.size(), 22);
        QCOMPARE(rows.mid(0, 6),
                 (QStringList{"ID30|Name 30|", "ID29|Name 29|555-0129", "ID28|Name 28|",
                              "ID27|Name 27|555-0127", "ID26|Name 26|555-0126", "ID25|Name 25|"}));
        QCOMPARE(rows.last(), QStringLiteral("ID9|Name 9|"));
        for (int id = 25; id <= 30; ++id)
            QVERIFY(rows.contains(QStringLiteral("ID%1|Name %1|").arg(id) + modGeneral::GetPhoneNum(id)));
    }

    void listsTakeTheirRows_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("anyOrder");
        // Finished by the exact words only; every visibility setting is listed; names in order.
        QTest::newRow("projects") << "lvProjects"
                                  << QStringList{"ID6|Charlie|* complete", "ID3|Delta|* ",
                                                 "ID5|Echo|* Active", "ID4|Foxtrot|* Active"}
                                  << false;
        QTest::newRow("to-dos, latest due first")
            << "lvToDo" << QStringList{"ID4|Later|01/15", "ID1|Call plumber|12/10", "ID5|Overdue|11/30"}
            << false;
        QTest::newRow("free notes only")
            << "lvNotes" << QStringList{"ID1|Free note", "ID5|Second free note"} << true;
        QTest::newRow("appointments from today on")
            << "lvAppts"
            << QStringList{"ID4|Tue 12/08|Today", "ID5|Tue 12/15|Next week", "ID2|Wed 12/08|Next year"}
            << false;
    }
    void listsTakeTheirRows() {
        QFETCH(QString, list);
        QFETCH(QStringList, rows);
        QFETCH(bool, anyOrder);
        seedItems();
        start();
        QStringList shown = Rows(*this->list(list));
        if (anyOrder) {
            shown.sort();
            rows.sort();
        }
        QCOMPARE(shown, rows);
        QCOMPARE(f->prompts().count(), 0);
    }

    // The phone and date columns show their longest value whole, at the program's font and larger.
    void valueColumnsShownWhole_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("column");
        QTest::addColumn<double>("scale");
        QTest::newRow("recent names' phone") << "lvRecNames" << 1 << 1.0;
        QTest::newRow("appointment date") << "lvAppts" << 0 << 1.0;
        QTest::newRow("recent names' phone, larger font") << "lvRecNames" << 1 << 1.5;
        QTest::newRow("appointment date, larger font") << "lvAppts" << 0 << 1.5;
    }
    void valueColumnsShownWhole() {
        QFETCH(QString, list);
        QFETCH(int, column);
        QFETCH(double, scale);
        const testsupport::ScaledFont font(scale);
        addContact(1, "Default", "Bartholomew Featherstonehaugh-Worthington");
        addContact(2, "Default", "Ann Lee");
        f->db().Execute(
            "INSERT INTO CPhone (fkContID, fkLookup, PhoneNum) VALUES (1, 'Home', '(217) 555-0123'), "
            "(2, 'Home', '555-0100')");
        f->db().Execute(
            "INSERT INTO Appts (Subject, DateFrom, Private) VALUES "
            "('Quarterly planning with the whole regional team', #12/09/2026 9:00 AM#, False), "
            "('Lunch', #12/12/2026#, False)");
        start();
        w->resize(2400, 1400);  // a wide window
        QApplication::processEvents();
        ui::ListView* lv = this->list(list);
        QStringList texts;
        for (int r = 0; r < lv->rowCount(); ++r) texts << lv->text(r, column);
        QCOMPARE(texts.size(), 2);
        const QStringList cut = testsupport::CutCells(*lv, column, texts);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
    }

    void dialogReloadRefillsOneList() {
        seedItems();
        frmHome* screen = start();
        f->db().Execute("INSERT INTO ToDo (Subject, DueDate) VALUES ('Added', ?)", {QDate(2027, 6, 1)});
        addContact(40, "Default", "Added contact");
        screen->lvToDo->setSelectedRow(1);
        // As the to-do dialog calls it after a save, by name.
        QVERIFY(QMetaObject::invokeMethod(screen, "LoadToDo"));
        QCOMPARE(screen->lvToDo->rowCount(), 4);
        QCOMPARE(screen->lvToDo->key(0), QStringLiteral("ID6"));
        QCOMPARE(screen->lvRecNames->rowCount(), 0);
    }

    void clickOpensTheRecord_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("member");  // the dialog's record number; empty for the editors
        const char* const rows[][4] = {{"contact", "lvRecNames", "frmContEntry", ""},
                                       {"project", "lvProjects", "frmProjEntry", ""},
                                       {"to-do", "lvToDo", "frmToDo", "m_lngToDoID"},
                                       {"note", "lvNotes", "frmNotes", "m_lngNoteID"},
                                       {"appointment", "lvAppts", "frmAppt", "m_lngApptID"}};
        for (const auto& r : rows) QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]);
    }
    void clickOpensTheRecord() {
        QFETCH(QString, list);
        QFETCH(QString, form);
        QFETCH(QString, member);
        seedItems();
        addContact(7, "Default", "Seventh");
        addContact(12, "Default", "Twelfth");
        start();
        g_lngEntryMode = 7;
        ui::ListView* lv = this->list(list);
        const int number = lv->key(1).mid(2).toInt();

        ClickRow(*lv, 1);

        QCOMPARE(f->prompts().count(), 0);
        QWidget* opened = Open(form);
        QVERIFY(opened);
        if (member.isEmpty()) {
            // The editors replace the home screen.
            QCOMPARE(list == "lvRecNames" ? g_lngCurContID : g_lngCurProjID, number);
            QVERIFY(!home());
        } else {
            // The dialog holds its stored item as its own; the program-wide mode is left alone.
            QCOMPARE(g_lngEntryMode, 7);
            if (auto* item = qobject_cast<ItemDialog*>(opened)) {
                QCOMPARE(item->EntryMode(), 2);
                QCOMPARE(item->RecordNumber(), number);
            } else {
                QCOMPARE(opened->property("m_lngEntryMode").toInt(), 2);
                QCOMPARE(opened->property(member.toLatin1()).toInt(), number);
            }
            QVERIFY(home());
            QCOMPARE(g_strCurScreen, QStringLiteral("Home"));
        }
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    void clickWithoutRowSaysSo_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("seeded");
        QTest::newRow("empty list") << "lvNotes" << false;
        QTest::newRow("below the rows") << "lvAppts" << true;
    }
    void clickWithoutRowSaysSo() {
        QFETCH(QString, list);
        QFETCH(bool, seeded);
        if (seeded) seedItems();
        frmHome* screen = start();
        ui::ListView* lv = this->list(list);
        if (seeded) {
            lv->setSelectedRow(0);
        } else {
            // An empty database: five empty lists and no message.
            for (ui::ListView* l :
                 {screen->lvRecNames, screen->lvProjects, screen->lvToDo, screen->lvNotes, screen->lvAppts})
                QCOMPARE(l->rowCount(), 0);
            QCOMPARE(f->prompts().count(), 0);
            QCOMPARE(g_strCurScreen, QStringLiteral("Home"));
            QCOMPARE(screen->CalMain->selectedDate(), QDate(2026, 12, 8));
        }
        f->prompts().answer(ui::Answer::OK);

        ClickBelowRows(*lv);

        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->prompts().lastText(), QStringLiteral("There is nothing from the list to select"));
        QCOMPARE(f->prompts().lastTitle(), kTitle);
        QCOMPARE(f->prompts().lastStyle(), ui::OKOnly);
        QCOMPARE(f->rowCount("ErrLog"), 0);
        QVERIFY(home());
    }

    void calendarDateOpensTheDayView() {
        frmHome* screen = start();
        const QDate date(2026, 12, 17);
        Q_EMIT screen->CalMain->clicked(date);

        auto* day = qobject_cast<frmCalDay*>(Open(QStringLiteral("frmCalDay")));
        QVERIFY(day);
        QCOMPARE(day->m_vDay1, date);
        QCOMPARE(day->m_vDay2, date.addDays(1));
        QVERIFY(!home());
        QCOMPARE(f->prompts().count(), 0);
    }
};

POMARET_TEST(frmHomeTest)
#include "tst_frmHome.moc"
