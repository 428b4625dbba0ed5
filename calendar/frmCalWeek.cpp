#include "calendar/frmCalWeek.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QToolButton>

#include "calendar/CalendarShell.h"
#include "calendar/DisplayFormat.h"
#include "core/Clock.h"
#include "core/EditorLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;
using namespace core::editor;

namespace {

const calendar::HourGridView::Setup& WeekSetup();

}  // namespace

frmCalWeek::frmCalWeek(QWidget* parent) : HourGridView(WeekSetup(), parent) {
    BuildHourColumn(QStringLiteral("shpHour"), QStringLiteral("lblHour"), 0);
    for (int k = 1; k <= 5; ++k)
        BuildDayColumn({QStringLiteral("shpDay%1").arg(k), 750.0 + 1500.0 * (k - 1), 1515});

    lblHdr = NewLabel(this, QStringLiteral("lblHdr"), QString());
    lblHdr->setAlignment(Qt::AlignCenter);
    QFont bold = lblHdr->font();
    bold.setBold(true);
    lblHdr->setFont(bold);
    Place(lblHdr, 75, 600, 8535, 240);
    lblFill = NewHeader(QStringLiteral("lblFill"), 75, 825, 765);
    for (int i = 0; i < 5; ++i) lblDay[i] = NewHeader(QStringLiteral("lblDay(%1)").arg(i), 825 + 1500.0 * i, 825, 1515);
    for (int k = 1; k <= 5; ++k) NewSeparator(QStringLiteral("Line%1").arg(k), 825 + 1500.0 * (k - 1), 825, 1050);
    imgDown->raise();
    imgUp->raise();
}

QWidget* frmCalWeek::Open() {
    auto* form = new frmCalWeek;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    form->Form_Activate();
    return form;
}

void frmCalWeek::Form_Load() {
    core::trap(Name("Form_Load"), Tail::ErrorBox, [this] {
        OpenApptTable();
        calendar::BeginLoad(QStringLiteral(" Loading Calendar Weekly View"));
        const QDate today = core::Clock::Today();
        SetDates(today, today);
        FlattenBorders();
        SetUpGrid();
        AddBlankItems();
        CalculateDates();
        LoadAppointments();
        LoadNamesAndProjects();
        SetGridColors();
        g_strCurScreen = QStringLiteral("CWk");
        // The status line keeps the count the appointments left.
        ui::SetArrow();
    });
}

void frmCalWeek::CalculateDates() {
    core::trap(Name("CalculateDates"), Tail::Action, QStringLiteral("changing dates"), [this] {
        lblHdr->clear();
        for (QLabel* day : lblDay) day->clear();
        SetupHeaders();
    });
}

void frmCalWeek::SetupHeaders() {
    core::trap(Name("SetupHeaders"), Tail::Action, QStringLiteral("setting up the Calendar"), [this] {
        const QDate monday = calendar::hours::WeekMonday(m_vCurDate);
        for (int i = 0; i < 5; ++i) {
            const QDate day = monday.addDays(i);
            lblDay[i]->setText(calendar::FormatDisplay(day, u"ddd m/dd"));
            lblDay[i]->setProperty("Tag", calendar::FormatDisplay(day, u"mm/dd/yyyy", QLocale::c()));
        }
        m_vStartDate = monday;
        m_vEndDate = monday.addDays(4);
        lblHdr->setText(calendar::hours::WeekTitle(monday));
        // The base date's header in red.
        for (QLabel* day : lblDay) {
            const QDate shown = QDate::fromString(day->property("Tag").toString(), QStringLiteral("MM/dd/yyyy"));
            Paint(day, shown == m_vCurDate ? QColor(Qt::red) : QColor(Qt::black));
        }
    });
}

int frmCalWeek::ColumnOf(const QDate& date) const {
    const int weekday = date.dayOfWeek();
    return weekday >= 1 && weekday <= 5 ? weekday - 1 : -1;
}

void frmCalWeek::mvwCal_DateClick() {
    const QDate date = mvwCal->selectedDate();
    core::trap(Name("mvwCal_DateClick"), Tail::ErrorBox, [date] { calendar::OpenDayView(false, date); });
}

namespace {

const calendar::HourGridView::Setup& WeekSetup() {
    static const calendar::HourGridView::Setup setup{
        "frmCalWeek",
        "By Week",
        "CWk",
        calendar::kWeekTab,
        7,
        "week",
        "setting up the Calendar Grid",
        "loading the Appoinments",
        false,
        1050,
        8270,
        6540,
        8330,
        825,
        6765,
        8400,
    };
    return setup;
}

}  // namespace
