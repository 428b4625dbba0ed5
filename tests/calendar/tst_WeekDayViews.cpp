#include <SQLiteCpp/Database.h>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <cmath>
#include <memory>

#include "calendar/ApptBox.h"
#include "calendar/CalendarShell.h"
#include "calendar/HourGrid.h"
#include "calendar/frmCalDay.h"
#include "calendar/frmCalWeek.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"
#include "shell/frmMain.h"
#include "support/Fixture.h"
#include "support/TestRegistry.h"

using testsupport::Fixture;
namespace hours = calendar::hours;

namespace {

QTime T(const char* text) {
    return text[0] ? QTime::fromString(QString::fromLatin1(text), QStringLiteral("h:mm")) : QTime();
}

double Twips(int pixels) {
    return ui::twips::FromPixelsX(pixels);
}

calendar::ApptBox* Box(QWidget* view, int index) {
    return view->findChild<calendar::ApptBox*>(QStringLiteral("txtAppt(%1)").arg(index));
}

QString Header(QWidget* view, int i) {
    return view->findChild<QLabel*>(QStringLiteral("lblDay(%1)").arg(i))->text();
}

bool IsRed(QWidget* view, int i) {
    return view->findChild<QLabel*>(QStringLiteral("lblDay(%1)").arg(i))->palette().color(QPalette::WindowText) ==
           QColor(Qt::red);
}

}  // namespace

// The week and day views: the box geometry, the ranges and headers, the boxes on the grid and their
// clicks, and the quick-add panel.
class WeekDayViewsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    void start(const QDate& today) {
        f->setNow(QDateTime(today, QTime(10, 0)));
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
    }
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    template <class View>
    View* open(const QString& name) {
        settle();
        return qobject_cast<View*>(ui::ScreenRegistry::instance().find(name));
    }
    frmCalWeek* openWeek(const QDate& today) {
        if (!w) start(today);
        calendar::OpenTab(calendar::kWeekTab);
        return open<frmCalWeek>(QStringLiteral("frmCalWeek"));
    }
    frmCalDay* openDay(const QDate& today, const QDate& date = {}) {
        if (!w) start(today);
        calendar::OpenDayView(!date.isValid(), date);
        return open<frmCalDay>(QStringLiteral("frmCalDay"));
    }
    qint64 addAppt(const QDate& from, const char* start, const char* end, const QString& subject,
                   const QVariant& contact = {}, const QVariant& body = {}) {
        f->db().Execute(
            "INSERT INTO Appts (DateFrom, DateTo, TimeFrom, TimeTo, Subject, fkContID, TextBody) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)",
            {from, from, start[0] ? QVariant(T(start)) : QVariant(), end[0] ? QVariant(T(end)) : QVariant(), subject,
             contact, body});
        return f->scalar("SELECT MAX(RefNum) FROM Appts").toLongLong();
    }
    // The box of an appointment by its subject (its second line).
    calendar::ApptBox* BoxOf(QWidget* view, const QString& subject) {
        for (auto* box : view->findChildren<calendar::ApptBox*>())
            if (box->isVisible() && box->toPlainText().section(QLatin1Char('\n'), 1, 1) == subject) return box;
        return nullptr;
    }

private Q_SLOTS:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        f = std::make_unique<Fixture>();
    }
    void cleanup() {
        modGeneral::CloseAllChildForms();
        settle();
        w.reset();
        shell::SingleInstance::release();
        f.reset();
        QLocale::setDefault(QLocale::c());
    }

    // -----------------------------------------------------------------------------------------
    // The geometry, to the twip: a Tuesday of the week grid (column 1: Left 2250, Width 1515).
    void boxGeometry_data() {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<QTime>("end");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("height");
        QTest::newRow("9:00-10:00") << T("9:00") << T("10:00") << 6075.0 << 675.0;
        QTest::newRow("9:30-10:30") << T("9:30") << T("10:30") << 6420.0 << 660.0;
        QTest::newRow("9:00-9:15") << T("9:00") << T("9:15") << 6075.0 << 345.0;
        QTest::newRow("8:15-8:45") << T("8:15") << T("8:45") << 5400.0 << 345.0;
        QTest::newRow("11:00 PM-11:30 PM") << T("23:00") << T("23:30") << 15525.0 << 330.0;
        QTest::newRow("11:00 PM-12:00 AM") << T("23:00") << T("0:00") << 15525.0 << 345.0;
        QTest::newRow("end before start") << T("14:00") << T("9:00") << 9450.0 << 345.0;
        QTest::newRow("no times") << T("") << T("") << 0.0 << 345.0;
        QTest::newRow("no end") << T("13:30") << T("") << 9120.0 << 345.0;
    }
    void boxGeometry() {
        QFETCH(QTime, start);
        QFETCH(QTime, end);
        QFETCH(double, top);
        QFETCH(double, height);
        const std::vector<hours::ColumnSpan> week{{750, 1515}, {2250, 1515}};
        const auto places = hours::PlaceBoxes({{1, start, end}}, week);
        QCOMPARE(places.at(0).left, 2250.0);
        QCOMPARE(places.at(0).width, 1515.0);
        QCOMPARE(places.at(0).top, top);
        QCOMPARE(places.at(0).height, height);
    }

    // Overlapping boxes take lanes; a group ends where no box reaches; other columns stay whole.
    void lanes() {
        const std::vector<hours::ColumnSpan> day{{750, 3390}, {4875, 3390}};
        const auto p = hours::PlaceBoxes({{0, T("9:00"), T("11:00")},
                                          {0, T("10:00"), T("12:00")},
                                          {0, T("11:00"), T("11:30")},  // lane 0 is free again at 11
                                          {0, T("14:00"), T("15:00")},
                                          {1, T("10:00"), T("11:00")}},
                                         day);
        const std::vector<std::pair<double, double>> expected{
            {750, 1695}, {2445, 1695}, {750, 1695}, {750, 3390}, {4875, 3390}};
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QCOMPARE(p[i].left, expected[i].first);
            QCOMPARE(p[i].width, expected[i].second);
        }
        QCOMPARE(hours::RowTop(12), 8100.0);
        QCOMPARE(hours::RowTop(23), 15525.0);
    }

    // -----------------------------------------------------------------------------------------
    void weekRanges_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("red");
        QTest::newRow("Wednesday") << QDate(2025, 1, 8) << "Mon 1/06" << "Fri 1/10" << "Jan 6 - 10, 2025" << 2;
        QTest::newRow("Saturday") << QDate(2025, 1, 11) << "Mon 1/06" << "Fri 1/10" << "Jan 6 - 10, 2025" << -1;
        QTest::newRow("Sunday") << QDate(2025, 1, 12) << "Mon 1/13" << "Fri 1/17" << "Jan 13 - 17, 2025" << -1;
        QTest::newRow("two months") << QDate(2025, 3, 31) << "Mon 3/31" << "Fri 4/04" << "Mar 31 - Apr 4, 2025" << 0;
        QTest::newRow("new year") << QDate(2024, 12, 30) << "Mon 12/30" << "Fri 1/03" << "Dec 30 - Jan 3, 2025"
                                  << 0;
    }
    void weekRanges() {
        QFETCH(QDate, today);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, title);
        QFETCH(int, red);
        frmCalWeek* week = openWeek(today);
        QVERIFY(week);
        QCOMPARE(week->windowTitle(), QStringLiteral("By Week"));
        QCOMPARE(Header(week, 0), first);
        QCOMPARE(Header(week, 4), last);
        QCOMPARE(week->findChild<QLabel*>("lblHdr")->text(), title);
        for (int i = 0; i < 5; ++i) QCOMPARE(IsRed(week, i), i == red);
        QCOMPARE(g_strCurScreen, QStringLiteral("CWk"));

        // Each arrow moves exactly a week; the same weekday stays red.
        const QDate monday = week->m_vStartDate;
        week->findChild<QToolButton*>("imgUp")->click();
        QCOMPARE(week->m_vStartDate, monday.addDays(7));
        for (int i = 0; i < 5; ++i) QCOMPARE(IsRed(week, i), i == red);
        week->imgDown_Click();
        week->imgDown_Click();
        QCOMPARE(week->m_vStartDate, monday.addDays(-7));
        QCOMPARE(week->findChild<QLabel*>("lblDay(0)")->property("Tag").toString(),
                 monday.addDays(-7).toString(QStringLiteral("MM/dd/yyyy")));
        QCOMPARE(f->prompts().count(), 0);
    }

    // The grid's scroll range and opening position, and the boxes as the widgets place them.
    void weekGridAndBoxes() {
        const QDate tuesday(2025, 1, 7);
        f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (4, 'Brandt, Ilse')");
        addAppt(tuesday, "9:00", "10:00", "Review", 4);
        addAppt(tuesday, "9:30", "10:30", "Later");
        addAppt(QDate(2025, 1, 6), "", "", "Undated");
        f->db().Execute("UPDATE Appts SET DateTo = ? WHERE Subject = 'Undated'", {QDate(2025, 1, 8)});
        addAppt(QDate(2025, 1, 13), "9:00", "10:00", "Next week");

        frmCalWeek* week = openWeek(QDate(2025, 1, 8));
        QCOMPARE(w->StatusText(), QStringLiteral("There are 3 appointments listed for this date range."));
        auto* strip = w->findChild<QWidget*>("picStatus");
        QCOMPARE(strip->palette().color(strip->backgroundRole()), QColor(0x4A, 0x4A, 0x4A));
        auto* bar = week->findChild<QScrollBar*>("vBarScroll");
        QCOMPARE(bar->maximum() - bar->minimum(), 9710);
        // 8:00a is the first caption seen, also after the user scrolled and the view came back.
        bar->setValue(0);
        week->Form_Activate();
        auto* inner = week->findChild<QWidget*>("picInner");
        const double captionTop = Twips(inner->y() + week->findChild<QLabel*>("lblHour(8)")->y());
        QVERIFY(captionTop >= 0 && captionTop < 60);
        QVERIFY(Twips(inner->y() + week->findChild<QLabel*>("lblHour(7)")->y()) < 0);
        QCOMPARE(std::round(Twips(week->findChild<QWidget*>("shpDay3(12)")->y())), 8100.0);

        const struct {
            const char* subject;
            double left, top, width, height;
            const char* text;
        } boxes[] = {
            // The two Tuesday boxes overlap: half the cell each.
            {"Review", 2250, 6075, 757, 675, "9:00a - 10:00a\nReview\nBrandt, Ilse"},
            {"Later", 3007, 6420, 757, 660, "9:30a - 10:30a\nLater"},
            {"Undated", 750, 0, 1515, 345, " - \nUndated"},
        };
        for (const auto& b : boxes) {
            calendar::ApptBox* box = BoxOf(week, QString::fromLatin1(b.subject));
            QVERIFY2(box, b.subject);
            QCOMPARE(box->toPlainText(), QString::fromLatin1(b.text));
            const QRect g = box->geometry();
            QVERIFY(std::abs(Twips(g.x()) - b.left) <= 15);
            QVERIFY(std::abs(Twips(g.y()) - b.top) <= 15);
            QVERIFY(std::abs(Twips(g.width()) - b.width) <= 15);
            QVERIFY(std::abs(Twips(g.height()) - b.height) <= 15);
        }

        // The dialog's reload: one box per appointment, numbered from 1.
        for (const char* loader : {"CalculateDates", "DestroyTextBoxArray", "LoadAppointments"})
            modGeneral::CallLoader(QStringLiteral("frmCalWeek"), loader);
        QVERIFY(Box(week, 3));
        QVERIFY(!Box(week, 4));
        QVERIFY(Box(week, 0) && !Box(week, 0)->isVisible());

        // An empty week.
        week->imgUp_Click();
        week->imgUp_Click();
        QVERIFY(!Box(week, 1));
        QCOMPARE(w->StatusText(), QStringLiteral("Ready ..."));
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // A box opens its own appointment; an open dialog with typed input stays on its appointment.
    void boxClicks() {
        const QDate day(2024, 2, 28);
        addAppt(day, "9:00", "11:00", "First");
        addAppt(day, "10:00", "12:00", "Second");
        frmCalDay* view = openDay(day, day);
        calendar::ApptBox* first = BoxOf(view, "First");
        calendar::ApptBox* second = BoxOf(view, "Second");
        QVERIFY(first && second);
        QTest::mouseClick(first, Qt::LeftButton);
        settle();
        QWidget* dialog = ui::ScreenRegistry::instance().find(QStringLiteral("frmAppt"));
        QVERIFY(dialog);
        auto* subject = dialog->findChild<QLineEdit*>("Text1(0)");
        QCOMPARE(subject->text(), QStringLiteral("First"));
        subject->setText(QStringLiteral("First, moved"));
        f->prompts().answer(ui::Answer::OK);  // finish or cancel the open one first
        QTest::mouseClick(second, Qt::LeftButton);
        settle();
        QCOMPARE(ui::ScreenRegistry::instance().find(QStringLiteral("frmAppt")), dialog);
        QCOMPARE(subject->text(), QStringLiteral("First, moved"));
        dialog->findChild<QPushButton*>("cmdOpts(3)")->click();
        settle();
        QCOMPARE(f->rowCount("Appts", "Subject = 'First, moved'"), 1);
        QCOMPARE(f->rowCount("Appts", "Subject = 'Second'"), 1);
        QVERIFY(BoxOf(view, "First, moved"));
    }

    // A click at each box's middle, through the window's hit test, opens that box's appointment
    // however many share the hour; a lane too narrow for a scroll bar beside its text shows the text
    // as a tool tip.
    void clicksReachEveryLane_data() {
        QTest::addColumn<int>("lanes");
        for (int lanes : {2, 4, 8}) QTest::addRow("%d lanes", lanes) << lanes;
    }
    void clicksReachEveryLane() {
        QFETCH(int, lanes);
        for (int i = 0; i < lanes; ++i) addAppt(QDate(2025, 1, 7), "9:00", "10:00", QString::number(i));
        frmCalWeek* week = openWeek(QDate(2025, 1, 7));
        for (int i = 0; i < lanes; ++i) {
            calendar::ApptBox* box = BoxOf(week, QString::number(i));
            QCOMPARE(box->toolTip(), lanes > 2 ? box->toPlainText() : QString());
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {},
                              box->mapTo(w.get(), box->rect().center()));
            settle();
            QWidget* dialog = ui::ScreenRegistry::instance().find(QStringLiteral("frmAppt"));
            QVERIFY(dialog);
            QCOMPARE(dialog->findChild<QLineEdit*>("Text1(0)")->text(), QString::number(i));
            dialog->close();
            settle();
        }
    }

    // A range query failing part way (at Friday's row, whose contact's name cannot be read) keeps the
    // boxes of the rows read before it, and counts them.
    void failingQueryKeepsTheBoxesRead() {
        f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (9, 'Ek, Bo')");
        for (int day : {6, 7, 10})
            addAppt(QDate(2025, 1, day), "9:00", "10:00", QString::number(day), day / 10 * 9);
        start(QDate(2025, 1, 6));
        f->db().Connection().exec(
            "ALTER TABLE Contacts RENAME TO ContactRows; CREATE VIEW Contacts AS SELECT ContID, "
            "abs(-9223372036854775807 - 1) AS ShownName FROM ContactRows");
        f->prompts().answer(ui::Answer::OK);
        frmCalWeek* week = openWeek(QDate(2025, 1, 6));
        QVERIFY(BoxOf(week, "6") && !BoxOf(week, "10"));
        QCOMPARE(w->StatusText(), QStringLiteral("There are %1 appointments listed for this date range.")
                                      .arg(week->findChildren<calendar::ApptBox*>().size() - 1));
    }

    // -----------------------------------------------------------------------------------------
    void dayView() {
        const QDate today(2024, 12, 31);
        addAppt(today, "9:00", "10:00", "With notes", {}, QStringLiteral("line one\r\nline two"));
        addAppt(today, "14:00", "15:00", "Without");
        addAppt(today.addDays(1), "9:00", "10:00", "Tomorrow");
        frmCalDay* view = openDay(today);
        QVERIFY(view);
        QCOMPARE(view->windowTitle(), QStringLiteral("By Day"));
        QCOMPARE(Header(view, 0), QStringLiteral("Tuesday 12/31"));
        QCOMPARE(Header(view, 1), QStringLiteral("Wednesday 1/01"));
        QVERIFY(IsRed(view, 0));
        QCOMPARE(w->StatusText(), QStringLiteral("Ready ..."));
        QCOMPARE(g_strCurScreen, QStringLiteral("CDay"));
        QCOMPARE(BoxOf(view, "With notes")->toPlainText(), QStringLiteral("9:00a - 10:00a\nWith notes\nline one\nline two"));
        QCOMPARE(BoxOf(view, "Without")->toPlainText(), QStringLiteral("2:00p - 3:00p\nWithout"));
        QCOMPARE(std::round(Twips(BoxOf(view, "Without")->x())), 750.0);
        QCOMPARE(std::round(Twips(BoxOf(view, "Tomorrow")->x())), 4875.0);
        auto* bar = view->findChild<QScrollBar*>("vBarScroll");
        QCOMPARE(bar->maximum() - bar->minimum(), 9485);

        // Back one day: yesterday and today, neither red.
        view->imgDown_Click();
        QCOMPARE(Header(view, 0), QStringLiteral("Monday 12/30"));
        QVERIFY(!IsRed(view, 0) && !IsRed(view, 1));
        QCOMPARE(BoxOf(view, "Without")->x(), view->findChild<QWidget*>("shpDay2(0)")->x());

        // A date from the week's calendar: that day and the next, the calendar still on today.
        calendar::OpenTab(calendar::kWeekTab);
        frmCalWeek* week = open<frmCalWeek>(QStringLiteral("frmCalWeek"));
        auto* calendarWidget = week->findChild<QCalendarWidget*>("mvwCal");
        calendarWidget->setSelectedDate(QDate(2024, 2, 28));
        week->mvwCal_DateClick();
        view = open<frmCalDay>(QStringLiteral("frmCalDay"));
        QCOMPARE(Header(view, 0), QStringLiteral("Wednesday 2/28"));
        QCOMPARE(Header(view, 1), QStringLiteral("Thursday 2/29"));
        QCOMPARE(view->findChild<QCalendarWidget*>("mvwCal")->selectedDate(), today);
        QCOMPARE(f->prompts().count(), 0);
    }

    // -----------------------------------------------------------------------------------------
    void quickAdd() {
        f->db().Execute("INSERT INTO Contacts (ContID, ShownName) VALUES (7, 'Okafor, Ada')");
        f->db().Execute("INSERT INTO Projects (ProjID, PName) VALUES (3, 'Roof')");
        frmCalWeek* week = openWeek(QDate(2025, 1, 8));
        auto* subject = week->findChild<QLineEdit*>("Text1");
        auto* startTime = week->findChild<ui::ComboBox*>("Combo1(0)");
        auto* endTime = week->findChild<ui::ComboBox*>("Combo1(1)");
        auto* names = week->findChild<ui::ComboBox*>("Combo1(2)");
        auto* projects = week->findChild<ui::ComboBox*>("Combo1(3)");
        auto* add = week->findChild<QPushButton*>("cmdAdd");

        // An empty subject adds nothing.
        f->prompts().answer(ui::Answer::OK);
        add->click();
        QCOMPARE(f->prompts().lastText(), QStringLiteral("You Must Enter An Appointment Subject"));
        QCOMPARE(f->prompts().lastTitle(), QStringLiteral("Validate : Appointment Subject"));
        QCOMPARE(ui::StyleIcon(f->prompts().lastStyle()), ui::Information);
        QCOMPARE(f->rowCount("Appts"), 0);

        // The subject resets the times; a start time moves the end, up to the last item.
        QTest::keyClicks(subject, "Dentist");
        QCOMPARE(startTime->text(), QStringLiteral("8:00 AM"));
        QCOMPARE(endTime->text(), QStringLiteral("9:00 AM"));
        for (const auto& [start, end] : {std::pair{"11:30 AM", "12:30 PM"}, std::pair{"11:00 PM", "11:30 PM"},
                                         std::pair{"11:30 PM", "11:30 PM"}, std::pair{"10:00 AM", "11:00 AM"}}) {
            startTime->setCurrentIndex(startTime->findText(start));
            Q_EMIT startTime->activated(startTime->currentIndex());
            QCOMPARE(endTime->text(), QString::fromLatin1(end));
        }
        names->showPopup();
        names->hidePopup();
        names->setCurrentIndex(names->findText("Okafor, Ada"));
        Q_EMIT names->activated(names->currentIndex());
        // A typed picker date is the one stored.
        week->findChild<QDateEdit*>("dtpDate(1)")->setDate(QDate(2025, 1, 9));
        add->click();
        QCOMPARE(f->rowCount("Appts"), 1);
        QCOMPARE(f->scalar("SELECT Subject || '|' || DateFrom || '|' || DateTo || '|' || TimeFrom || '|' || TimeTo "
                           "|| '|' || fkContID || '|' || IFNULL(fkProjID, 'none') || '|' || Remind FROM Appts")
                     .toString(),
                 QStringLiteral("Dentist|2025-01-08|2025-01-09|10:00:00|11:00:00|7|none|0"));
        QVERIFY(BoxOf(week, "Dentist"));
        // Cleared for the next one.
        QCOMPARE(subject->text(), QString());
        QCOMPARE(startTime->text(), QStringLiteral("8:00 AM"));
        QCOMPARE(endTime->text(), QStringLiteral("9:00 AM"));
        QCOMPARE(week->findChild<QDateEdit*>("dtpDate(1)")->date(), QDate(2025, 1, 8));
        QCOMPARE(names->listIndex(), 0);
        QCOMPARE(week->m_lngQckContID, 0);

        // Blanks are a subject; one outside the week changes no box. A project alone is linked.
        subject->setText(QStringLiteral("  "));
        projects->showPopup();
        projects->hidePopup();
        projects->setCurrentIndex(projects->findText("Roof"));
        Q_EMIT projects->activated(projects->currentIndex());
        week->findChild<QDateEdit*>("dtpDate(0)")->setDate(QDate(2025, 2, 3));
        add->click();
        QCOMPARE(f->rowCount("Appts", "Subject = '  ' AND fkProjID = 3 AND fkContID IS NULL"), 1);
        QVERIFY(Box(week, 1) && !Box(week, 2));

        // A failure before the save: no row, the input kept.
        subject->setText(QStringLiteral("Kept"));
        core::InjectFault(QStringLiteral("frmCalWeek.PostEntry"), 3021, QStringLiteral("No current record."));
        f->prompts().answer(ui::Answer::OK);
        add->click();
        QCOMPARE(f->prompts().lastText(),
                 QStringLiteral("An un-known error occurred while Posting this entry!\nSorry for the inconvenience"));
        QCOMPARE(f->rowCount("Appts"), 2);
        QCOMPARE(subject->text(), QStringLiteral("Kept"));
        QCOMPARE(f->rowCount("ErrLog", "ModName = 'frmCalWeek.PostEntry'"), 1);
        QCOMPARE(f->rowCount("ErrLog"), 1);
    }

    // The panel's layout rules and the form's, the form wide enough for both dates side by side.
    void layout() {
        frmCalWeek* week = openWeek(QDate(2025, 1, 8));
        week->setParent(nullptr);
        week->show();
        week->resize(ui::twips::ToPixelsX(14000), ui::twips::ToPixelsY(7770));
        settle();
        auto* panel = week->findChild<QWidget*>("picQckAdd");
        QVERIFY(std::abs(Twips(panel->height()) - 2715) <= 15);
        const double w = Twips(panel->width());
        for (const char* name : {"Text1", "dtpDate(1)", "Combo1(1)", "Combo1(2)", "Combo1(3)"}) {
            auto* c = panel->findChild<QWidget*>(name);
            QVERIFY2(std::abs(Twips(c->geometry().right() + 1) - (w - 90)) <= 30, name);
        }
        auto* picker = panel->findChild<QWidget*>("dtpDate(0)");
        const int pickerWidth = picker->width();
        panel->resize(ui::twips::ToPixelsX(1000), panel->height());
        QCOMPARE(picker->width(), pickerWidth);
        auto* calendarPicture = week->findChild<QWidget*>("picCalSelect");
        const QRect before = calendarPicture->geometry();
        week->resize(ui::twips::ToPixelsX(8000), week->height());
        settle();
        QCOMPARE(calendarPicture->geometry(), before);
        delete week;
    }
};

POMARET_TEST(WeekDayViewsTest)
#include "tst_WeekDayViews.moc"
