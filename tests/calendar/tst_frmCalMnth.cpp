#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>
#include <utility>

#include "calendar/frmCalDay.h"
#include "calendar/frmCalMnth.h"
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

namespace {

const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const QColor kDark(0x4A, 0x4A, 0x4A);

template <class T>
T* Control(QWidget* form, const char* kind, int column, int row) {
    return form->findChild<T*>(QStringLiteral("%1%2(%3)").arg(kind, kDays[column]).arg(row));
}
QLabel* Day(QWidget* form, int c, int r) {
    return Control<QLabel>(form, "lbl", c, r);
}
QPlainTextEdit* Text(QWidget* form, int c, int r) {
    return Control<QPlainTextEdit>(form, "txt", c, r);
}

// The day-number captions, row by row, "" for a cell outside the month.
QStringList Captions(QWidget* form) {
    QStringList out;
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 7; ++c) out << Day(form, c, r)->text();
    return out;
}

// The cell text under a day number; null when no cell shows that number.
QString TextOfDay(QWidget* form, int day) {
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 7; ++c)
            if (Day(form, c, r)->text() == QString::number(day)) return Text(form, c, r)->toPlainText();
    return {};
}

// What the appointment dialog does when it closes over the month view.
void ReloadAsTheDialogDoes() {
    for (const char* loader :
         {"EmptyDateValues", "CreateCalendar", "HighlightCalendarDates", "LoadAppointments"})
        modGeneral::CallLoader(QStringLiteral("frmCalMnth"), loader);
}

void Choose(QWidget* form, const char* list, const QString& entry) {
    auto* box = form->findChild<ui::ComboBox*>(QString::fromLatin1(list));
    const int index = box->findText(entry);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

double Twips(int pixels) {
    return ui::twips::FromPixelsX(pixels);
}

}  // namespace

// The month view through the main window: its lists, the grid and its appointments, the pop-up, the
// tabs, the layout and the appointment dialog's reload.
class frmCalMnthTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> f;
    std::unique_ptr<frmMain> w;

    void start() {
        w = std::make_unique<frmMain>();
        if (w->MDIForm_Load() != frmMain::LoadResult::Running) qFatal("the start-up ended the program");
        QApplication::setActiveWindow(w.get());
        if (!QTest::qWaitForWindowActive(w.get())) qFatal("the main window never became active");
    }
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    frmCalMnth* openMonth() {
        if (!w) start();
        w->findChild<QAction*>(QStringLiteral("mnuViewCal"))->trigger();
        settle();
        return qobject_cast<frmCalMnth*>(ui::ScreenRegistry::instance().find(QStringLiteral("frmCalMnth")));
    }
    void addAppt(const QDate& from, const QVariant& time, const QString& subject, const QDate& to = {}) {
        f->db().Execute("INSERT INTO Appts (DateFrom, DateTo, TimeFrom, Subject) VALUES (?, ?, ?, ?)",
                        {from, to.isValid() ? to : from, time, subject});
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

    void opensOnTodaysMonth() {
        frmCalMnth* month = openMonth();
        QVERIFY(month);
        auto* cboYear = month->findChild<ui::ComboBox*>("cboYear");
        QCOMPARE(month->findChild<ui::ComboBox*>("cboMonth")->text(), QStringLiteral("December"));
        QCOMPARE(cboYear->text(), QStringLiteral("2026"));
        QCOMPARE(cboYear->count(), 975);
        QCOMPARE(month->findChild<QLabel*>("lblCalHdr")->text(), QStringLiteral("December, 2026"));
        QCOMPARE(month->findChild<QLabel*>("lblDate")->text(), QStringLiteral("Tuesday - December 08, 2026"));
        auto* strip = w->findChild<QWidget*>("picStatus");
        QCOMPARE(strip->palette().color(strip->backgroundRole()), kDark);
        QCOMPARE(g_strCurScreen, QStringLiteral("CMnth"));
        QCOMPARE(w->StatusText(), QStringLiteral("Ready ..."));
        QCOMPARE(f->prompts().count(), 0);
    }

    // Cells by row * 7 + column; -1: the appointment is shown nowhere.
    void monthGrids_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("firstCell");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("lastCell");
        QTest::addColumn<QDate>("appt");
        QTest::addColumn<int>("apptCell");
        QTest::newRow("Feb 2026, from Sunday")
            << 2026 << QString("February") << 0 << 28 << 27 << QDate(2026, 3, 1) << -1;
        QTest::newRow("Aug 2026, from Saturday")
            << 2026 << QString("August") << 6 << 31 << 36 << QDate(2026, 8, 30) << 35;
        QTest::newRow("Feb 2028, leap")
            << 2028 << QString("February") << 2 << 29 << 30 << QDate(2028, 2, 29) << 30;
        QTest::newRow("Feb 2100, no leap")
            << 2100 << QString("February") << 1 << 28 << 28 << QDate(2100, 3, 1) << -1;
    }
    void monthGrids() {
        QFETCH(int, year);
        QFETCH(QString, month);
        QFETCH(int, firstCell);
        QFETCH(int, days);
        QFETCH(int, lastCell);
        QFETCH(QDate, appt);
        QFETCH(int, apptCell);
        addAppt(appt, {}, QStringLiteral("Here"));
        frmCalMnth* view = openMonth();

        // The grid procedures alone, then the two lists: the same grid.
        view->m_strMonth = month;
        view->m_intYear = static_cast<int16_t>(year);
        ReloadAsTheDialogDoes();
        const QStringList captions = Captions(view);
        const QString apptText = TextOfDay(view, appt.day());
        Choose(view, "cboMonth", QStringLiteral("May"));
        Choose(view, "cboYear", QString::number(year));
        Choose(view, "cboMonth", month);
        // Back from a dialog, the header still names the month shown.
        view->Form_Activate();
        QCOMPARE(Captions(view), captions);
        QCOMPARE(view->findChild<QLabel*>("lblCalHdr")->text(), month + ", " + QString::number(year));

        // 1 to the last day in reading order, each once, from and to the given cells.
        QStringList expected;
        for (int d = 1; d <= days; ++d) expected << QString::number(d);
        QStringList shown = captions;
        shown.removeAll(QString());
        QCOMPARE(shown, expected);
        QCOMPARE(captions.at(firstCell), QStringLiteral("1"));
        QCOMPARE(captions.at(lastCell), QString::number(days));

        QStringList texts;
        for (int i = 0; i < 42; ++i) texts << Text(view, i % 7, i / 7)->toPlainText();
        QCOMPARE(texts.count(QString()), apptCell < 0 ? 42 : 41);
        if (apptCell >= 0) QCOMPARE(texts.at(apptCell), QStringLiteral("No Time\nHere\n"));
        if (apptCell >= 0) QCOMPARE(apptText, QStringLiteral("No Time\nHere\n"));
        QCOMPARE(f->prompts().count(), 0);
    }

    void cellTexts() {
        addAppt({2026, 12, 15}, QTime(14, 0), QStringLiteral("Late"));
        addAppt({2026, 12, 15}, QTime(9, 0), QStringLiteral("Early"));
        addAppt({2026, 12, 15}, {}, QStringLiteral("Any time"));
        addAppt({2026, 12, 16}, QTime(9, 30), QString());
        addAppt({2026, 12, 30}, QTime(18, 5), QStringLiteral("Trip"), {2027, 1, 2});
        addAppt({2026, 12, 1}, {}, QStringLiteral("First"));
        addAppt({2026, 12, 31}, {}, QStringLiteral("Last"));
        addAppt({2027, 1, 1}, {}, QStringLiteral("Next"));
        frmCalMnth* view = openMonth();
        ReloadAsTheDialogDoes();  // a second refresh adds nothing

        QCOMPARE(TextOfDay(view, 15), QStringLiteral("No Time\nAny time\n9:00 AM \nEarly\n2:00 PM \nLate\n"));
        QCOMPARE(TextOfDay(view, 16), QStringLiteral("9:30 AM \n\n"));
        QCOMPARE(TextOfDay(view, 30), QStringLiteral("6:05 PM \nTrip\n"));
        QCOMPARE(TextOfDay(view, 1), QStringLiteral("No Time\nFirst\n"));
        QCOMPARE(TextOfDay(view, 31), QStringLiteral("No Time\nLast\n"));
        QCOMPARE(TextOfDay(view, 2), QString());

        Choose(view, "cboYear", QStringLiteral("2027"));
        Choose(view, "cboMonth", QStringLiteral("January"));
        QCOMPARE(TextOfDay(view, 1), QStringLiteral("No Time\nNext\n"));
        QCOMPARE(TextOfDay(view, 2), QString());
        QCOMPARE(TextOfDay(view, 31), QString());
    }

    // Today's number on dark grey in any month that has it; Sundays bold red, the rest black.
    void highlight_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("month");  // shown in today's year + 1
        QTest::addColumn<bool>("shown");
        QTest::newRow("a Tuesday") << QDate(2026, 12, 8) << "December" << true;
        QTest::newRow("a Sunday") << QDate(2026, 12, 13) << "December" << true;
        QTest::newRow("another month") << QDate(2026, 12, 13) << "March" << true;
        QTest::newRow("day the month lacks") << QDate(2026, 12, 31) << "February" << false;
    }
    void highlight() {
        QFETCH(QDate, today);
        QFETCH(QString, month);
        QFETCH(bool, shown);
        f->setNow(QDateTime(today, QTime(10, 0)));
        frmCalMnth* view = openMonth();
        Choose(view, "cboYear", QString::number(today.year() + (month == "December" ? 0 : 1)));
        Choose(view, "cboMonth", month);
        int highlighted = 0;
        for (int r = 0; r < 6; ++r) {
            for (int c = 0; c < 7; ++c) {
                QLabel* label = Day(view, c, r);
                const bool isToday = label->text() == QString::number(today.day());
                highlighted += isToday;
                const QColor text = c == 0    ? QColor(Qt::red)
                                    : isToday ? QColor(Qt::white)
                                              : QColor(Qt::black);
                QCOMPARE(label->palette().color(QPalette::Window),
                         isToday ? kDark : QColor(0xEB, 0xE9, 0xE3));
                QCOMPARE(label->palette().color(QPalette::WindowText), text);
                QCOMPARE(label->font().bold(), isToday || c == 0);
            }
        }
        QCOMPARE(highlighted, shown ? 1 : 0);
    }

    // December 2026 begins on a Tuesday: the 5th is a Saturday in row 0, the 8th a Tuesday in row 1,
    // the 29th a Tuesday in row 4.
    void popUp() {
        for (int day : {5, 8, 29}) addAppt({2026, 12, day}, QTime(9, 0), QStringLiteral("Dentist"));
        frmCalMnth* view = openMonth();
        auto* tip = view->findChild<QWidget*>("picTooltip");
        auto* count = view->findChild<QLineEdit*>("Text1");
        const auto ticks = [&](int n) {
            for (int i = 0; i < n; ++i) view->Timer1_Timer();
        };
        const int gap = ui::twips::ToPixelsY(15);
        // Below the cell in the upper rows, above it in rows 4 and 5; a Saturday's right-aligned.
        for (const auto& [column, row] : {std::pair{6, 0}, std::pair{2, 4}, std::pair{2, 1}}) {
            QTest::mouseClick(Text(view, column, row)->viewport(), Qt::LeftButton);
            const QRect cell = Control<QWidget>(view, "pic", column, row)->geometry();
            const QRect pop = tip->geometry();
            QVERIFY(tip->isVisible());
            QCOMPARE(pop.top(), row <= 3 ? cell.bottom() + 1 + gap : cell.top() - pop.height() - gap);
            QCOMPARE(column == 6 ? pop.right() : pop.left(), column == 6 ? cell.right() : cell.left());
            QCOMPARE(count->text(), QStringLiteral("1"));  // each click starts the count again
            ticks(5);
        }
        QVERIFY(tip->isVisible());

        // An empty cell (the 9th) takes the focus to its frame and leaves the pop-up alone.
        QTest::mouseClick(Text(view, 3, 1)->viewport(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), Control<QWidget>(view, "pic", 3, 1));
        QVERIFY(tip->isVisible());
        QCOMPARE(view->findChild<QPlainTextEdit*>("txtTooltip")->toPlainText(),
                 QStringLiteral("9:00 AM \nDentist\n"));

        ticks(1);
        QVERIFY(!tip->isVisible());
        QVERIFY(!view->findChild<QTimer*>("Timer1")->isActive());
        QCOMPARE(count->text(), QStringLiteral("1"));
    }

    void tabs_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("code");
        QTest::newRow("Day") << 0 << QString("frmCalDay") << QString("CDay");
        QTest::newRow("Week") << 1 << QString("frmCalWeek") << QString("CWk");
        QTest::newRow("Month") << 2 << QString("frmCalMnth") << QString("CMnth");
        QTest::newRow("List") << 3 << QString("frmCalList") << QString("CList");
    }
    void tabs() {
        QFETCH(int, tab);
        QFETCH(QString, form);
        QFETCH(QString, code);
        QPointer<frmCalMnth> view = openMonth();
        // Its own tab is the selected one: choosing it again runs the handler alone.
        if (tab == 2)
            view->tbsMain_Click();
        else
            view->findChild<QTabBar*>("tbsMain")->setCurrentIndex(tab);
        settle();
        QWidget* opened = ui::ScreenRegistry::instance().find(form);
        QVERIFY(opened);
        QCOMPARE(ui::ScreenRegistry::instance().openForms().size(), 1);
        QCOMPARE(g_strCurScreen, code);
        if (tab == 2) QCOMPARE(opened, view.data());
        if (tab == 0) QCOMPARE(qobject_cast<frmCalDay*>(opened)->m_vDay1, QDate(2026, 12, 8));
        QCOMPARE(f->prompts().count(), 0);
    }

    // The closed-form places of a pass at width S (B: the banner's height, w = (S - 150) \ 7),
    // allowing a pixel per chained step.
    void layout_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("10000") << 10000;
        QTest::newRow("12000") << 12000;
    }
    void layout() {
        QFETCH(int, width);
        frmCalMnth view;
        view.Form_Load();
        view.resize(ui::twips::ToPixelsX(width), ui::twips::ToPixelsY(9000));
        view.show();
        const double S = Twips(view.width());
        const double B = Twips(view.findChild<QWidget*>("picBanner")->height());
        QCOMPARE(B, 465.0);
        const double w = std::floor((S - 150) / 7);
        const auto near = [&](const QString& name, double left, double top, double wide, int steps) {
            const QRect g = view.findChild<QWidget*>(name)->geometry();
            const double slack = ui::twips::PerPixelX() * (steps + 0.5);
            QVERIFY2(std::abs(Twips(g.x()) - left) <= slack && std::abs(Twips(g.y()) - top) <= slack &&
                         std::abs(Twips(g.width()) - wide) <= slack,
                     qPrintable(name));
        };
        near("lblCalHdr", 75, B + 150, S - 150, 1);
        for (int k = 0; k < 7; ++k)
            near(QStringLiteral("lblWkDay(%1)").arg(k), 75 + k * w, B + 390, w, k + 2);
        for (int c = 0; c < 7; ++c)
            for (int r = 0; r < 6; ++r)
                near(QStringLiteral("pic%1(%2)").arg(kDays[c]).arg(r), c == 0 ? 75 : 75 + c * w + 7,
                     B + 644 + 1004 * r, c == 0 ? w - 7 : w - 14, c + r + 3);
        near("shpBorder", 60, B + 135, S - 120, 2);
        near("Label1", 75, B + 6825, 1215, 3);
        near("lblDate", 1290, B + 6825, 4365, 4);

        const auto places = [&] {
            QList<QRect> out;
            for (QWidget* child : view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                out << child->geometry();
            return out;
        };
        const QList<QRect> before = places();
        view.resize(view.width(), view.height() + 300);
        QCOMPARE(places(), before);
        view.showMinimized();
        view.resize(view.width() + 300, view.height());
        QCOMPARE(places(), before);
        view.showNormal();

        // Too narrow for the header: it keeps its place, the rest follows, nothing is said; widening
        // restores the whole layout.
        auto* header = view.findChild<QWidget*>("lblCalHdr");
        const QRect headerBefore = header->geometry();
        view.resize(ui::twips::ToPixelsX(140), view.height());
        QCOMPARE(header->geometry(), headerBefore);
        view.resize(ui::twips::ToPixelsX(width), view.height());
        QCOMPARE(places(), before);
        QCOMPARE(f->prompts().count(), 0);
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    // New > Appointment over the month view: OK shows the appointment in its cell (today, 8:00 AM by
    // default), Cancel reloads nothing.
    void appointmentDialogReloads() {
        frmCalMnth* view = openMonth();
        const auto newAppt = [&](const QString& subject, const char* button) {
            w->findChild<QAction*>(QStringLiteral("mnuEditNewAppt"))->trigger();
            QWidget* dlg = ui::ScreenRegistry::instance().find(QStringLiteral("frmAppt"));
            QVERIFY(dlg);
            QTest::keyClicks(dlg->findChild<QLineEdit*>(QStringLiteral("Text1(0)")), subject);
            dlg->findChild<QPushButton*>(QString::fromLatin1(button))->click();
            settle();
        };
        addAppt({2026, 12, 20}, QTime(11, 0), QStringLiteral("Meanwhile"));
        newAppt(QStringLiteral("Dropped"), "cmdOpts(4)");
        QCOMPARE(TextOfDay(view, 20), QString());
        newAppt(QStringLiteral("Visit"), "cmdOpts(3)");
        QCOMPARE(TextOfDay(view, 8), QStringLiteral("8:00 AM \nVisit\n"));
        QCOMPARE(TextOfDay(view, 20), QStringLiteral("11:00 AM \nMeanwhile\n"));
        QCOMPARE(f->rowCount("ErrLog"), 0);
    }

    void dialogReload() {
        frmCalMnth* view = openMonth();
        addAppt({2026, 12, 20}, QTime(11, 0), QStringLiteral("Saved"));
        ReloadAsTheDialogDoes();
        QCOMPARE(TextOfDay(view, 20), QStringLiteral("11:00 AM \nSaved\n"));

        // A failing load says so; the screen goes on working.
        core::InjectFault(QStringLiteral("frmCalMnth.LoadAppointments"), 3021,
                          QStringLiteral("No current record."));
        f->prompts().answer(ui::Answer::OK);
        ReloadAsTheDialogDoes();
        QCOMPARE(
            f->prompts().lastText(),
            QStringLiteral(
                "An un-known error occurred while loading the Appointments!\nSorry for the inconvenience"));
        QCOMPARE(f->rowCount("ErrLog", "ModName = ?", {QStringLiteral("frmCalMnth.LoadAppointments")}), 1);
        Choose(view, "cboMonth", QStringLiteral("December"));
        QCOMPARE(TextOfDay(view, 20), QStringLiteral("11:00 AM \nSaved\n"));

        // Closed with its close box, the view is not brought back by the reload.
        qobject_cast<QMdiSubWindow*>(view->parentWidget())->close();
        settle();
        QCOMPARE(g_strCurScreen, QStringLiteral("CMnth"));
        ReloadAsTheDialogDoes();
        QVERIFY(ui::ScreenRegistry::instance().openForms().isEmpty());
        QCOMPARE(f->prompts().count(), 1);
        QCOMPARE(f->rowCount("ErrLog"), 1);
    }
};

POMARET_TEST(frmCalMnthTest)
#include "tst_frmCalMnth.moc"
