#include "calendar/frmCalDay.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QToolButton>

#include "calendar/CalendarShell.h"
#include "calendar/DisplayFormat.h"
#include "core/Clock.h"
#include "core/EditorLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"

using core::Tail;
using namespace core::editor;

namespace {

const calendar::HourGridView::Setup& DaySetup() {
    static const calendar::HourGridView::Setup setup{
        "frmCalDay",
        "By Day",
        "CDay",
        calendar::kDayTab,
        1,
        "day",
        "setting up the screen",
        "loading the Appointments",
        true,
        825,
        8265,
        6765,
        8325,
        600,
        6990,
        8175,
    };
    return setup;
}

}  // namespace

frmCalDay::frmCalDay(QWidget* parent) : HourGridView(DaySetup(), parent) {
    BuildHourColumn(QStringLiteral("shpHr1"), QStringLiteral("lblHr1"), 0);
    BuildDayColumn({QStringLiteral("shpDay1"), 750, 3390});
    BuildHourColumn(QStringLiteral("shpHr2"), QStringLiteral("lblHr2"), 4125);
    BuildDayColumn({QStringLiteral("shpDay2"), 4875, 3390});

    lblFill[0] = NewHeader(QStringLiteral("lblFill(0)"), 75, 600, 765);
    lblFill[1] = NewHeader(QStringLiteral("lblFill(1)"), 4200, 600, 765);
    lblDay[0] = NewHeader(QStringLiteral("lblDay(0)"), 825, 600, 3390);
    lblDay[1] = NewHeader(QStringLiteral("lblDay(1)"), 4950, 600, 3390);
    NewSeparator(QStringLiteral("Line1"), 4200, 600, 825);
    imgDown->raise();
    imgUp->raise();
}

QWidget* frmCalDay::Open(const ui::OpenValues& values) {
    auto* form = new frmCalDay;
    form->m_blnIsSystem = values.value(QStringLiteral("m_blnIsSystem")).toBool();
    form->m_vSrchDate = values.value(QStringLiteral("m_vSrchDate")).toDate();
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    form->Form_Activate();
    return form;
}

void frmCalDay::Form_Load() {
    core::trap(Name("Form_Load"), Tail::ErrorBox, [this] {
        calendar::BeginLoad(QStringLiteral(" Loading Calendar Daily View"));
        OpenApptTable();
        const QDate today = core::Clock::Today();
        SetDates(m_blnIsSystem || !m_vSrchDate.isValid() ? today : m_vSrchDate, today);
        FlattenBorders();
        SetUpGrid();
        AddBlankItems();
        CalculateDates();
        LoadAppointments();
        LoadNamesAndProjects();
        SetGridColors();
        calendar::EndLoad(QStringLiteral("CDay"));
    });
}

void frmCalDay::CalculateDates() {
    core::trap(Name("CalculateDates"), Tail::Action, QStringLiteral("setting up the dates"), [this] {
        for (QLabel* day : lblDay) day->clear();
        m_vDay1 = m_vCurDate;
        m_vDay2 = m_vCurDate.addDays(1);
        lblDay[0]->setText(calendar::FormatDisplay(m_vDay1, u"dddd m/dd"));
        lblDay[1]->setText(calendar::FormatDisplay(m_vDay2, u"dddd m/dd"));
        Paint(lblDay[0], m_vDay1 == core::Clock::Today() ? QColor(Qt::red) : QColor(Qt::black));
    });
}

void frmCalDay::mvwCal_DateClick() {
    core::trap(Name("mvwCal_DateClick"), Tail::ErrorBox, [this] {
        m_vCurDate = mvwCal->selectedDate();
        CalculateDates();
        DestroyTextBoxArray();
        LoadAppointments();
    });
}
