#include "items/frmAppt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <iterator>
#include <optional>

#include "core/Clock.h"
#include "core/DialogLayout.h"
#include "core/modGeneral.h"
#include "items/ItemLists.h"
#include "items/ItemPrint.h"
#include "platform/ui/Activation.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

using core::Tail;
using core::layout::Place;

namespace {

enum List { kNames = 0, kProjects = 1, kStartTime = 2, kEndTime = 3, kInterval = 4 };
enum Option { kTimed = 0, kNoTime = 1, kAllDay = 2 };
enum Check { kRemind = 0, kPrivate = 1 };

constexpr int kSubjectLength = 255;
const QTime kStartAtLoad(8, 0);
const QTime kEndAtLoad(9, 0);

const ItemDialogSetup& Setup() {
    // The calendar views reload through their own procedures, in this order.
    static const std::vector<const char*> kDayOrWeek{"CalculateDates", "DestroyTextBoxArray",
                                                     "LoadAppointments"};
    static const ItemDialogSetup setup{
        "frmAppt",
        "New / Edit Appointment",
        "m_lngApptID",
        "Appts",
        "Posting Appointment Entry",
        "Are you sure you want to DELETE this Appointment item?",
        "Print this Appointment on printer ",
        "Please finish or cancel the open Appointment first.",
        {Tail::Silent, {}, QStringLiteral("An un-known error occurred during the procedure!")},
        {Tail::Silent, {}, QStringLiteral("An un-known error occurred loading the information!")},
        {Tail::Action, QStringLiteral("Posting this entry"), {}},
        {Tail::Action, QStringLiteral("Deleting the information"), {}},
        {{"Home", "frmHome", {"LoadAppts"}},
         {"CEnt", "frmContEntry", {"LoadApptsInfo"}},
         {"PEnt", "frmProjEntry", {"LoadApptsInfo"}},
         {"CDay", "frmCalDay", kDayOrWeek},
         {"CList", "frmCalList", {"LoadAppointments"}},
         {"CMnth",
          "frmCalMnth",
          {"EmptyDateValues", "CreateCalendar", "HighlightCalendarDates", "LoadAppointments"}},
         {"CWk", "frmCalWeek", kDayOrWeek}},
        // A delete reloads these at once, and the unload then once more.
        {{"Home", "frmHome", {"LoadAppts"}}, {"CEnt", "frmContEntry", {"LoadApptsInfo"}}},
    };
    return setup;
}

}  // namespace

frmAppt::frmAppt(const ui::OpenValues& values, QWidget* owner) : ItemDialog(Setup(), values, owner) {
    BuildControls();
    Form_Load();
}

frmAppt::~frmAppt() {
    m_reminder.Close();
}

frmAppt* frmAppt::Open(const ui::OpenValues& values, QWidget* owner) {
    return ui::ShownActive(new frmAppt(values, owner));
}

void frmAppt::BuildControls() {
    lblBanner[0] = NewBand("lblBanner(0)", QStringLiteral(" Appointment"));
    Place(lblBanner[0], 120, 120, 7440, 285);

    const QString captions[7] = {QStringLiteral("Appt:"), QStringLiteral("Name:"), QStringLiteral("Project:"),
                                 QStringLiteral("Date:"), QStringLiteral("To"),    QStringLiteral("To"),
                                 QStringLiteral("before")};
    for (int i = 0; i < 7; ++i)
        Label1[i] = NewLabel(qPrintable(QStringLiteral("Label1(%1)").arg(i)), captions[i]);
    for (int i = 0; i < 4; ++i) Place(Label1[i], 120, 555 + i * 375, 840, 255);

    Text1Subject = new QLineEdit(this);
    Text1Subject->setObjectName(QStringLiteral("Text1(0)"));
    ui::LimitLength(Text1Subject, kSubjectLength);
    Place(Text1Subject, 1020, 510, 2940, 315);
    SetUpSubject(Text1Subject);

    for (int i = 0; i < 5; ++i) Combo1[i] = NewList(i);
    connect(Combo1[kInterval], &QComboBox::activated, this, [this] { Combo1_Click(kInterval); });
    Place(Combo1[kNames], 1020, 885, 2940, 315);
    Place(Combo1[kProjects], 1020, 1260, 2940, 315);

    for (int i = 0; i < 2; ++i) {
        dtpDate[i] = new ui::DatePicker(this);
        dtpDate[i]->setObjectName(QStringLiteral("dtpDate(%1)").arg(i));
        // A date typed in counts as one picked from the calendar.
        connect(dtpDate[i], &QDateEdit::dateChanged, this, [this, i] {
            if (!m_blnLoading) dtpDate_CloseUp(i);
        });
    }
    Place(dtpDate[0], 1020, 1635, 1320, 315);
    Place(Label1[4], 2400, 1680, 240, 255);
    Place(dtpDate[1], 2640, 1635, 1320, 315);

    lblBanner[1] = NewBand("lblBanner(1)", QStringLiteral(" Time"));
    Place(lblBanner[1], 120, 2055, 3840, 285);
    const QString options[3] = {QString(), QStringLiteral("No Time"), QStringLiteral("All Day")};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        optTime[i] = new QRadioButton(options[i], this);
        optTime[i]->setObjectName(QStringLiteral("optTime(%1)").arg(i));
        group->addButton(optTime[i]);
        connect(optTime[i], &QRadioButton::clicked, this, [this, i] { optTime_Click(i); });
    }
    optTime[kTimed]->setChecked(true);
    Place(optTime[kTimed], 240, 2445, 300, 285);
    Place(Combo1[kStartTime], 1020, 2430, 1320, 315);
    Place(Label1[5], 2400, 2475, 240, 255);
    Place(Combo1[kEndTime], 2640, 2430, 1320, 315);
    Place(optTime[kNoTime], 1020, 2835, 1320, 285);
    Place(optTime[kAllDay], 2640, 2835, 1320, 285);

    lblBanner[2] = NewBand("lblBanner(2)", QStringLiteral(" Settings"));
    Place(lblBanner[2], 120, 3225, 3840, 285);
    const QString checks[2] = {QStringLiteral("Remind me:"), QStringLiteral("Private")};
    for (int i = 0; i < 2; ++i) {
        Check1[i] = new QCheckBox(checks[i], this);
        Check1[i]->setObjectName(QStringLiteral("Check1(%1)").arg(i));
    }
    connect(Check1[kRemind], &QCheckBox::clicked, this, [this] { Check1_Click(); });
    Place(Check1[kRemind], 240, 3630, 1260, 285);
    Place(Combo1[kInterval], 1560, 3615, 1200, 315);
    Place(Label1[6], 2820, 3660, 700, 255);
    Place(Check1[kPrivate], 240, 4035, 1260, 285);

    Text1Description = new QPlainTextEdit(this);
    Text1Description->setObjectName(QStringLiteral("Text1(1)"));
    Place(Text1Description, 4080, 510, 3480, 3810);
    SetUpDescription(Text1Description);

    BuildRule(4470, 7440);
    BuildButtons(4620, 7560);
    cmdOpts[1]->setEnabled(false);

    QWidget* order[] = {Text1Subject,     Combo1[kNames],   Combo1[kProjects],  dtpDate[0],
                        dtpDate[1],       optTime[kTimed],  Combo1[kStartTime], Combo1[kEndTime],
                        optTime[kNoTime], optTime[kAllDay], Check1[kRemind],    Combo1[kInterval],
                        Check1[kPrivate], Text1Description, cmdOpts[0],         cmdOpts[1],
                        cmdOpts[2],       cmdOpts[3],       cmdOpts[4]};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    setFixedSize(ui::twips::ToPixelsX(7680), ui::twips::ToPixelsY(5130));
    core::layout::FitCaptions(this);
}

void frmAppt::Form_Load() {
    Trap("Form_Load", {Tail::Silent, {}, QStringLiteral("An un-known error occurred during load!")}, [&] {
        m_reminder.Open();
        m_blnLoading = true;
        ShowToday();
        items::FillTimeList(*Combo1[kStartTime], false);
        items::FillTimeList(*Combo1[kEndTime], false);
        items::ShowTime(*Combo1[kStartTime], kStartAtLoad);
        items::ShowTime(*Combo1[kEndTime], kEndAtLoad);
        items::SetListEnabled(*Combo1[kStartTime], true);
        items::SetListEnabled(*Combo1[kEndTime], true);
        items::FillIntervalList(*Combo1[kInterval]);
        items::ShowSelect(*Combo1[kInterval]);
        items::SetListEnabled(*Combo1[kInterval], false);
        m_blnLoading = false;

        const QList<QWidget*> boxes{Combo1[0],    Combo1[1],        Combo1[2],  Combo1[3], Combo1[4],
                                    Text1Subject, Text1Description, dtpDate[0], dtpDate[1]};
        for (QWidget* box : boxes) modAPI::FlatBorder(box);
        ShowPlaceholder();

        LoadItem();
        // The Time-Saver's text stays grey, as the placeholder, yet is stored: it is not the placeholder.
        if (m_lngEntryMode == 0 && !m_strTimeSaverText.isEmpty())
            Text1Description->setPlainText(ShownText(m_strTimeSaverText));
    });
}

void frmAppt::ShowToday() {
    for (int i = 0; i < 2; ++i) {
        dtpDate[i]->setDate(core::Clock::Today());
        m_vDate[i] = core::Clock::Today();
    }
}

// ---------------------------------------------------------------------------------------------
// Load

void frmAppt::PopulateFields() {
    db::Recordset& row = StoredRow();
    // Every column is shown as stored, without the checks a user's choice goes through, so that OK
    // writes back what was loaded.
    const QVariant subject = row.Value(QStringLiteral("Subject"));
    if (!subject.isNull()) ui::ShowText(Text1Subject, subject.toString());
    const QVariant contId = row.Value(QStringLiteral("fkContID"));
    if (!contId.isNull() && contId.toInt() > 0) ShowContact(contId.toInt());
    const QVariant projId = row.Value(QStringLiteral("fkProjID"));
    if (!projId.isNull() && projId.toInt() > 0) ShowProject(projId.toInt());
    const char* dates[2] = {"DateFrom", "DateTo"};
    for (int i = 0; i < 2; ++i) {
        const QDate date = row.Value(QLatin1String(dates[i])).toDate();
        if (!date.isValid()) continue;
        m_vDate[i] = date;
        dtpDate[i]->setDate(date);
    }
    const QTime from = row.Value(QStringLiteral("TimeFrom")).toTime();
    if (from.isValid()) items::ShowTime(*Combo1[kStartTime], from);
    const QTime to = row.Value(QStringLiteral("TimeTo")).toTime();
    if (to.isValid()) items::ShowTime(*Combo1[kEndTime], to);
    const QVariant body = row.Value(QStringLiteral("TextBody"));
    if (!body.isNull()) ShowDescription(body.toString());
    int option = kTimed;
    if (row.Value(QStringLiteral("NoTime")).toBool()) option = kNoTime;
    if (row.Value(QStringLiteral("AllDay")).toBool()) option = kAllDay;
    optTime[option]->setChecked(true);
    optTime_Click(option);
    const bool remind = row.Value(QStringLiteral("Remind")).toBool();
    Check1[kRemind]->setChecked(remind);
    items::SetListEnabled(*Combo1[kInterval], remind);
    if (remind) {
        const QString amount = row.Value(QStringLiteral("RemAmt")).toString();
        items::ShowInterval(*Combo1[kInterval], amount.isEmpty() ? items::IntervalTexts().first() : amount);
    }
    Check1[kPrivate]->setChecked(row.Value(QStringLiteral("Private")).toBool());
    // Looked up whatever Remind says: checking the box later updates this row rather than adding one.
    // A failed look-up is told and leaves no reminder held; a save looks for the row again.
    Trap("GetReminderID", {Tail::ErrorBox, {}, {}}, [&] { m_reminder.GetReminderID(m_lngRecordID); });
}

// ---------------------------------------------------------------------------------------------
// Events

void frmAppt::dtpDate_CloseUp(int index) {
    m_vDate[index] = dtpDate[index]->date();
}

void frmAppt::optTime_Click(int index) {
    // The lists keep their times either way; they are stored whatever the option.
    const bool timed = index == kTimed;
    items::SetListEnabled(*Combo1[kStartTime], timed);
    items::SetListEnabled(*Combo1[kEndTime], timed);
}

void frmAppt::Check1_Click() {
    const bool on = Check1[kRemind]->isChecked();
    items::SetListEnabled(*Combo1[kInterval], on);
    if (on) items::ShowInterval(*Combo1[kInterval], items::IntervalTexts().first());
}

void frmAppt::Combo1_Click(int index) {
    Trap("Combo1_Click", {}, [&] {
        ui::ComboBox* list = Combo1[index];
        if (m_blnLoading || list->text() != items::SelectEntry()) return;
        ui::MsgBox(QStringLiteral("You must select a Valid Time Interval"), ui::OKOnly, ui::ProgramTitle());
        items::ShowInterval(*list, items::IntervalTexts().first());
        list->setFocus();
    });
}

// ---------------------------------------------------------------------------------------------
// Commands

void frmAppt::BeforeValidate() {
    // OK stores the dates the pickers show; a picker left with text that is no date holds none.
    for (int i = 0; i < 2; ++i) m_vDate[i] = dtpDate[i]->ShownDate();
}

bool frmAppt::ValidateEntry() {
    const auto refuse = [](const char* message, const char* title, QWidget* focus) {
        ui::MsgBox(QLatin1String(message), ui::OKOnly | ui::Information, QLatin1String(title));
        focus->setFocus();
        return false;
    };
    if (Text1Subject->text().isEmpty())
        return refuse("You Must Enter An Appointment Subject", "Validate : Appointment Subject",
                      Text1Subject);
    // An end before the start is taken as entered.
    if (!m_vDate[0].isValid())
        return refuse("You Must Select A Start Date", "Validate : Start Date", dtpDate[0]);
    if (!m_vDate[1].isValid()) return refuse("You Must Select A End Date", "Validate : End Date", dtpDate[1]);
    return true;
}

// Empty texts and links not above 0 are skipped, so an edit never clears them; the times shown are
// written whatever the option, and the marks always.
void frmAppt::WriteColumns(db::Recordset& row) {
    if (!Text1Subject->text().isEmpty()) row.Fields(QStringLiteral("Subject")) = Text1Subject->text();
    const QString description = StoredDescription(Text1Description);
    if (!description.isEmpty()) row.Fields(QStringLiteral("TextBody")) = description;
    if (m_vDate[0].isValid()) row.Fields(QStringLiteral("DateFrom")) = m_vDate[0];
    if (m_vDate[1].isValid()) row.Fields(QStringLiteral("DateTo")) = m_vDate[1];
    if (m_lngContID > 0) row.Fields(QStringLiteral("fkContID")) = m_lngContID;
    if (m_lngProjID > 0) row.Fields(QStringLiteral("fkProjID")) = m_lngProjID;
    if (const std::optional<QTime> from = items::ListTime(*Combo1[kStartTime]))
        row.Fields(QStringLiteral("TimeFrom")) = *from;
    if (const std::optional<QTime> to = items::ListTime(*Combo1[kEndTime]))
        row.Fields(QStringLiteral("TimeTo")) = *to;
    const bool remind = Check1[kRemind]->isChecked();
    row.Fields(QStringLiteral("Remind")) = remind;
    const QString interval = Combo1[kInterval]->text();
    if (remind && !interval.isEmpty() && interval != items::SelectEntry())
        row.Fields(QStringLiteral("RemAmt")) = interval;
    row.Fields(QStringLiteral("Private")) = Check1[kPrivate]->isChecked();
    row.Fields(QStringLiteral("NoTime")) = optTime[kNoTime]->isChecked();
    row.Fields(QStringLiteral("AllDay")) = optTime[kAllDay]->isChecked();
}

void frmAppt::PostDependants(int32_t itemNumber) {
    if (Check1[kRemind]->isChecked()) {
        modGeneral::SetStatus(QStringLiteral("Posting Appointment Reminder Entry"), true);
        // From the start time shown, also when "No Time" or "All Day" greys it.
        m_reminder.PostReminder(itemNumber,
                                items::GetRemindTimes(m_vDate[0], items::ListTime(*Combo1[kStartTime]),
                                                      Combo1[kInterval]->text()));
    } else if (m_lngEntryMode != 0) {
        // No reminder wanted any more: none is left to pop up.
        m_reminder.DeleteReminders(itemNumber);
    }
}

void frmAppt::PrintItem() {
    PrintAppt();
}

void frmAppt::PrintAppt() {
    const QDateTime now = core::Clock::Now();
    const QString subject = Text1Subject->text();
    const auto when = [this](int i) {
        return items::PrintedDate(dtpDate[i]->date()) + QStringLiteral(" at ") + Combo1[kStartTime + i]->text();
    };
    items::PrintItem({
        {core::print::TimeText(now.time()), subject.isEmpty() ? QStringLiteral("Appointment") : subject,
         core::print::DateText(now.date())},
        {{QStringLiteral("Project"), Combo1[kProjects]->text()},
         {QStringLiteral("Contact"), Combo1[kNames]->text()},
         {QStringLiteral("From"), when(0)},
         {QStringLiteral("To"), when(1)}},
        StoredDescription(Text1Description),
        13.52,
        {},
    });
}

void frmAppt::DeleteDependants(int32_t itemNumber) {
    m_reminder.DeleteReminders(itemNumber);
}

// A fresh new appointment: nothing of the one shown before stays held, its dates and reminder
// included.
void frmAppt::ClearScreen() {
    m_blnLoading = true;
    Text1Subject->clear();
    ShowPlaceholder();
    ResetToNewItem();
    items::ShowTime(*Combo1[kStartTime], kStartAtLoad);
    items::ShowTime(*Combo1[kEndTime], kEndAtLoad);
    items::ShowSelect(*Combo1[kInterval]);
    items::SetListEnabled(*Combo1[kInterval], false);
    ShowToday();
    Check1[kRemind]->setChecked(false);
    Check1[kPrivate]->setChecked(false);
    optTime[kTimed]->setChecked(true);
    optTime_Click(kTimed);
    m_reminder.Forget();
    Text1Subject->setFocus();
    m_blnLoading = false;
}
