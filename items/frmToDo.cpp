#include "items/frmToDo.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <iterator>

#include "core/Clock.h"
#include "core/DialogLayout.h"
#include "core/modGeneral.h"
#include "items/ItemLists.h"
#include "items/ItemPrint.h"
#include "platform/db/Database.h"
#include "platform/ui/Activation.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

using core::Tail;
using core::layout::Place;

namespace {

enum List { kNames = 0, kProjects = 1, kDueTime = 2, kInterval = 3 };
enum Check { kRemind = 0, kPrivate = 1, kUrgent = 2, kCompleted = 3 };

constexpr int kSubjectLength = 255;

const ItemDialogSetup& Setup() {
    static const ItemDialogSetup setup{
        "frmToDo",
        "New/ Edit To Do",
        "m_lngToDoID",
        "ToDo",
        "Posting To Do Entry",
        "Are you sure you want to DELETE this To Do item?",
        "Print this To Do item on printer ",
        "Please finish or cancel the open To Do item first.",
        {Tail::Unknown, {}, {}},
        {Tail::Action, QStringLiteral("loading the records"), {}},
        {Tail::Action, QStringLiteral("Posting the records"), {}},
        {Tail::Action, QStringLiteral("Deleting the record"), {}},
        {{"Home", "frmHome", {"LoadToDo"}},
         {"CEnt", "frmContEntry", {"LoadToDoInfo"}},
         {"PEnt", "frmProjEntry", {"LoadToDoInfo"}},
         {"ToDo", "frmToDoList", {"LoadToDoInfo"}}},
        {},
    };
    return setup;
}

}  // namespace

frmToDo::frmToDo(const ui::OpenValues& values, QWidget* owner) : ItemDialog(Setup(), values, owner) {
    BuildControls();
    Form_Load();
}

frmToDo::~frmToDo() {
    m_reminder.Close();
}

frmToDo* frmToDo::Open(const ui::OpenValues& values, QWidget* owner) {
    return ui::ShownActive(new frmToDo(values, owner));
}

void frmToDo::BuildControls() {
    lblBanner[0] = NewBand("lblBanner(0)", QStringLiteral(" To Do"));
    Place(lblBanner[0], 120, 120, 7440, 285);

    const QString captions[6] = {QStringLiteral("Subject:"), QStringLiteral("Name:"),
                                 QStringLiteral("Project:"), QStringLiteral("Due:"),
                                 QStringLiteral("at:"),      QStringLiteral("before")};
    for (int i = 0; i < 6; ++i)
        Label1[i] = NewLabel(qPrintable(QStringLiteral("Label1(%1)").arg(i)), captions[i]);
    Place(Label1[0], 120, 555, 840, 255);
    Place(Label1[1], 120, 930, 840, 255);
    Place(Label1[2], 120, 1305, 840, 255);
    Place(Label1[3], 120, 1680, 840, 255);
    Place(Label1[4], 2460, 1680, 300, 255);

    Text1Subject = new QLineEdit(this);
    Text1Subject->setObjectName(QStringLiteral("Text1(0)"));
    ui::LimitLength(Text1Subject, kSubjectLength);
    Place(Text1Subject, 1020, 510, 2940, 315);
    SetUpSubject(Text1Subject);

    for (int i = 0; i < 4; ++i) {
        Combo1[i] = NewList(i);
        if (i >= kDueTime) connect(Combo1[i], &QComboBox::activated, this, [this, i] { Combo1_Click(i); });
    }
    Place(Combo1[kNames], 1020, 885, 2940, 315);
    Place(Combo1[kProjects], 1020, 1260, 2940, 315);
    Place(Combo1[kDueTime], 2760, 1635, 1200, 315);

    dtpDate = new ui::DatePicker(this);
    dtpDate->setObjectName(QStringLiteral("dtpDate"));
    Place(dtpDate, 1020, 1635, 1380, 315);
    // A date typed in counts as one picked from the calendar; so does the calendar closing. The date
    // it showed, typed again, changes nothing yet is typed all the same.
    connect(dtpDate, &QDateEdit::dateChanged, this, [this] {
        if (!m_blnLoading) dtpDate_CloseUp();
    });
    connect(dtpDate->findChild<QLineEdit*>(), &QLineEdit::textEdited, this, [this] {
        if (dtpDate->hasAcceptableInput()) dtpDate_CloseUp();
    });
    dtpDate->calendarWidget()->window()->installEventFilter(this);

    lblBanner[1] = NewBand("lblBanner(1)", QStringLiteral(" Settings"));
    Place(lblBanner[1], 120, 2100, 3840, 285);

    const QString checks[4] = {QStringLiteral("Remind Me:"), QStringLiteral("Private"),
                               QStringLiteral("Urgent"), QStringLiteral("Completed")};
    for (int i = 0; i < 4; ++i) {
        Check1[i] = new QCheckBox(checks[i], this);
        Check1[i]->setObjectName(QStringLiteral("Check1(%1)").arg(i));
    }
    connect(Check1[kRemind], &QCheckBox::clicked, this, [this] { Check1_Click(); });
    Place(Check1[kRemind], 240, 2505, 1260, 285);
    Place(Combo1[kInterval], 1560, 2490, 1200, 315);
    Place(Label1[5], 2820, 2535, 700, 255);
    for (int i = kPrivate; i <= kCompleted; ++i) Place(Check1[i], 240 + (i - 1) * 1230, 2940, 1140, 285);

    Text1Description = new QPlainTextEdit(this);
    Text1Description->setObjectName(QStringLiteral("Text1(1)"));
    Place(Text1Description, 4080, 510, 3480, 2715);
    SetUpDescription(Text1Description);

    BuildRule(3360, 7440);
    BuildButtons(3510, 7560);

    QWidget* order[] = {Text1Subject,     Combo1[kNames],     Combo1[kProjects], dtpDate,
                        Combo1[kDueTime], Check1[kRemind],    Combo1[kInterval], Check1[kPrivate],
                        Check1[kUrgent],  Check1[kCompleted], Text1Description,  cmdOpts[0],
                        cmdOpts[1],       cmdOpts[2],         cmdOpts[3],        cmdOpts[4]};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    setFixedSize(ui::twips::ToPixelsX(7680), ui::twips::ToPixelsY(4020));
    core::layout::FitCaptions(this);
}

void frmToDo::Form_Load() {
    Trap("Form_Load", {Tail::ErrorBox, {}, {}}, [&] {
        m_reminder.Open();
        m_blnLoading = true;
        dtpDate->setDate(core::Clock::Today());
        m_vDueDate = core::Clock::Today();
        items::FillTimeList(*Combo1[kDueTime], true);
        items::ShowSelect(*Combo1[kDueTime]);
        items::FillIntervalList(*Combo1[kInterval]);
        items::ShowSelect(*Combo1[kInterval]);
        items::SetListEnabled(*Combo1[kDueTime], false);
        items::SetListEnabled(*Combo1[kInterval], false);
        m_blnLoading = false;

        const QList<QWidget*> boxes{Combo1[0],    Combo1[1],        Combo1[2], Combo1[3],
                                    Text1Subject, Text1Description, dtpDate};
        for (QWidget* box : boxes) modAPI::FlatBorder(box);
        ShowPlaceholder();

        LoadItem();
        // The Time-Saver's text stays grey, as the placeholder, yet is stored: it is not the placeholder.
        if (m_lngEntryMode == 0 && !m_strTimeSaverText.isEmpty())
            Text1Description->setPlainText(ShownText(m_strTimeSaverText));
    });
}

// ---------------------------------------------------------------------------------------------
// Load

void frmToDo::PopulateFields() {
    db::Recordset& row = StoredRow();
    // Every column is shown as stored, without the checks a user's choice goes through, so that OK
    // writes back what was loaded.
    const QVariant subject = row.Value(QStringLiteral("Subject"));
    if (!subject.isNull()) ui::ShowText(Text1Subject, subject.toString());
    const QVariant contId = row.Value(QStringLiteral("fkContID"));
    if (!contId.isNull() && contId.toInt() > 0) ShowContact(contId.toInt());
    const QVariant projId = row.Value(QStringLiteral("fkProjID"));
    if (!projId.isNull() && projId.toInt() > 0) ShowProject(projId.toInt());
    const QVariant dueDate = row.Value(QStringLiteral("DueDate"));
    if (!dueDate.isNull() && dueDate.toDate().isValid()) {
        m_vDueDate = dueDate.toDate();
        dtpDate->setDate(m_vDueDate);
    }
    const QVariant dueTime = row.Value(QStringLiteral("DueTime"));
    if (!dueTime.isNull() && dueTime.toTime().isValid()) {
        items::ShowTime(*Combo1[kDueTime], dueTime.toTime());
        items::SetListEnabled(*Combo1[kDueTime], true);
    }
    const QVariant body = row.Value(QStringLiteral("TextBody"));
    if (!body.isNull()) ShowDescription(body.toString());
    const bool remind = row.Value(QStringLiteral("Remind")).toBool();
    Check1[kRemind]->setChecked(remind);
    if (remind) {
        // A reminder is stored without a due time when a date was picked but no time: the time list
        // is then open on "<Select>", as it was when the date was picked.
        items::SetListEnabled(*Combo1[kDueTime], true);
        items::SetListEnabled(*Combo1[kInterval], true);
        const QVariant amount = row.Value(QStringLiteral("RemAmt"));
        items::ShowInterval(*Combo1[kInterval], amount.isNull() || amount.toString().isEmpty()
                                                    ? items::IntervalTexts().first()
                                                    : amount.toString());
    }
    Check1[kPrivate]->setChecked(row.Value(QStringLiteral("Private")).toBool());
    Check1[kUrgent]->setChecked(row.Value(QStringLiteral("Urgent")).toBool());
    Check1[kCompleted]->setChecked(row.Value(QStringLiteral("Completed")).toBool());
    // Looked up whatever Remind says: checking the box later updates this row rather than adding one.
    // A failed look-up is told and leaves no reminder held; a save looks for the row again.
    Trap("GetReminderID", {Tail::ErrorBox, {}, {}}, [&] { m_reminder.GetReminderID(m_lngRecordID); });
}

// ---------------------------------------------------------------------------------------------
// Events

bool frmToDo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == dtpDate->calendarWidget()->window()) dtpDate_CloseUp();
    return ItemDialog::eventFilter(watched, event);
}

void frmToDo::dtpDate_CloseUp() {
    m_vDueDate = dtpDate->date();
    items::SetListEnabled(*Combo1[kDueTime], true);
}

void frmToDo::Check1_Click() {
    const bool on = Check1[kRemind]->isChecked();
    // A reminder needs a due date picked first.
    if (on && !Combo1[kDueTime]->isEnabled()) {
        ui::MsgBox(QStringLiteral("You must select a Due Time first"), ui::OKOnly, ui::ProgramTitle());
        Check1[kRemind]->setChecked(false);
        return;
    }
    if (!Combo1[kDueTime]->isEnabled()) return;
    items::SetListEnabled(*Combo1[kInterval], on);
    if (on) items::ShowInterval(*Combo1[kInterval], items::IntervalTexts().first());
}

void frmToDo::Combo1_Click(int index) {
    Trap("Combo1_Click", {}, [&] {
        ui::ComboBox* list = Combo1[index];
        if (list->text() != items::SelectEntry()) return;
        if (index == kDueTime) {
            ui::MsgBox(QStringLiteral("You must select a Valid Time"), ui::OKOnly, ui::ProgramTitle());
            items::ShowTime(*list, QTime(8, 0));
        } else {
            ui::MsgBox(QStringLiteral("You must select a Valid Time Interval"), ui::OKOnly,
                       ui::ProgramTitle());
            items::ShowInterval(*list, items::IntervalTexts().first());
        }
        list->setFocus();
    });
}

// ---------------------------------------------------------------------------------------------
// Commands

void frmToDo::BeforeValidate() {
    // OK stores the date the picker shows; with a day or month erased it shows none.
    m_vDueDate = dtpDate->ShownDate();
}

bool frmToDo::ValidateEntry() {
    if (Text1Subject->text().isEmpty()) {
        ui::MsgBox(QStringLiteral("You Must Enter A To Do Subject"), ui::OKOnly | ui::Information,
                   QStringLiteral("Validate : To Do Subject"));
        Text1Subject->setFocus();
        return false;
    }
    if (!m_vDueDate.isValid()) {
        ui::MsgBox(QStringLiteral("You Must Select A Due Date"), ui::OKOnly | ui::Information,
                   QStringLiteral("Validate : Due Date"));
        dtpDate->setFocus();
        return false;
    }
    return true;
}

// Empty texts and links not above 0 are skipped, so an edit never clears them; the marks are always
// written.
void frmToDo::WriteColumns(db::Recordset& row) {
    if (!Text1Subject->text().isEmpty()) row.Fields(QStringLiteral("Subject")) = Text1Subject->text();
    const QString description = StoredDescription(Text1Description);
    if (!description.isEmpty()) row.Fields(QStringLiteral("TextBody")) = description;
    if (m_vDueDate.isValid()) row.Fields(QStringLiteral("DueDate")) = m_vDueDate;
    if (m_lngContID > 0) row.Fields(QStringLiteral("fkContID")) = m_lngContID;
    if (m_lngProjID > 0) row.Fields(QStringLiteral("fkProjID")) = m_lngProjID;
    if (const std::optional<QTime> time = items::ListTime(*Combo1[kDueTime]))
        row.Fields(QStringLiteral("DueTime")) = *time;
    const bool remind = Check1[kRemind]->isChecked();
    row.Fields(QStringLiteral("Remind")) = remind;
    const QString interval = Combo1[kInterval]->text();
    if (remind && !interval.isEmpty() && interval != items::SelectEntry())
        row.Fields(QStringLiteral("RemAmt")) = interval;
    row.Fields(QStringLiteral("Private")) = Check1[kPrivate]->isChecked();
    row.Fields(QStringLiteral("Urgent")) = Check1[kUrgent]->isChecked();
    row.Fields(QStringLiteral("Completed")) = Check1[kCompleted]->isChecked();
}

void frmToDo::PostDependants(int32_t itemNumber) {
    if (Check1[kRemind]->isChecked()) {
        modGeneral::SetStatus(QStringLiteral("Posting To Do Reminder Entry"), true);
        m_reminder.PostReminder(
            itemNumber,
            items::GetRemindTimes(m_vDueDate, items::ListTime(*Combo1[kDueTime]), Combo1[kInterval]->text()));
    } else if (m_lngEntryMode != 0) {
        // No reminder wanted any more: none is left to pop up.
        m_reminder.DeleteReminders(itemNumber);
    }
}

void frmToDo::PrintItem() {
    PrintToDo();
}

void frmToDo::PrintToDo() {
    const QDateTime now = core::Clock::Now();
    const QString subject = Text1Subject->text();
    const QString time = Combo1[kDueTime]->text();
    const auto yesNo = [](const QCheckBox* box) {
        return box->checkState() == Qt::Checked ? QStringLiteral("Yes") : QStringLiteral("No");
    };
    items::PrintItem({
        {core::print::TimeText(now.time()), subject.isEmpty() ? QStringLiteral("To Do") : subject,
         core::print::DateText(now.date())},
        {{QStringLiteral("Project"), Combo1[kProjects]->text()},
         {QStringLiteral("Contact"), Combo1[kNames]->text()},
         {QStringLiteral("Due"), items::PrintedDate(dtpDate->date()) + QStringLiteral(" at ") +
                                     (time == items::SelectEntry() ? QStringLiteral("[No Time Selected]") : time)},
         {QStringLiteral("Urgent"), yesNo(Check1[kUrgent])},
         {QStringLiteral("Completed"), yesNo(Check1[kCompleted])}},
        StoredDescription(Text1Description),
        14.0,
        {},
    });
}

void frmToDo::DeleteDependants(int32_t itemNumber) {
    m_reminder.DeleteReminders(itemNumber);
}

// A fresh new item: nothing of the item shown before stays held, its due time and reminder
// included; the due date is the picker's, today.
void frmToDo::ClearScreen() {
    m_blnLoading = true;
    Text1Subject->clear();
    ShowPlaceholder();
    ResetToNewItem();
    items::ShowSelect(*Combo1[kDueTime]);
    items::SetListEnabled(*Combo1[kDueTime], false);
    items::ShowSelect(*Combo1[kInterval]);
    items::SetListEnabled(*Combo1[kInterval], false);
    dtpDate->setDate(core::Clock::Today());
    m_vDueDate = dtpDate->date();
    for (QCheckBox* box : Check1) box->setChecked(false);
    m_reminder.Forget();
    Text1Subject->setFocus();
    m_blnLoading = false;
}
