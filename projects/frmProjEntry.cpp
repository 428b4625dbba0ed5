// The project editor: load and close, the profile and its loader, the switcher, the pickers beside
// the boxes and the writers of single Projects columns.
#include "projects/frmProjEntry.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

#include "core/Clock.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PickList.h"
#include "platform/ui/TextLimit.h"

using core::Tail;

namespace {

const QColor kStatusColour(160, 89, 42);

// A stored date as the profile shows it after a load, and a date just picked (the short date).
const QString kStoredDate = QStringLiteral("MM/dd/yyyy");
const QString kPickedDate = QStringLiteral("M/d/yyyy");

// The Projects column each box shows.
const char* const kColumns[frmProjEntry::kBoxCount] = {"PName",   "Status", "PrjType", "StartDate",
                                                       "EndDate", "Budget", "Setting"};

bool IsDateBox(int index) {
    return index == 3 || index == 4;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Load and close

void frmProjEntry::Form_Load() {
    m_blnLoaded = true;
    m_lngProjID = g_lngCurProjID;
    core::trap(QStringLiteral("frmProjEntry.Form_Load"), Tail::ErrorBox, [&] {
        ui::SetBusy();
        modGeneral::SetStatus(QStringLiteral(" Loading Project Information Screen"), true);
        if (core::MainWindowLink* window = core::MainWindow()) window->SetStatusColor(kStatusColour);

        m_rsProjects = g_dbLocal->OpenRecordset(QStringLiteral("Projects"));
        OpenListTables();
        mnvStart->setSelectedDate(core::Clock::Today());
        mnvEnd->setSelectedDate(core::Clock::Today());

        cboHistFilter->clear();
        cboHistFilter->addItems({{QStringLiteral("All Items"), 0},
                                 {QStringLiteral("Notes & Calls"), 0},
                                 {QStringLiteral("Documents"), 0},
                                 {QStringLiteral("To Do's"), 0},
                                 {QStringLiteral("E-mails"), 0},
                                 {QStringLiteral("Appointments"), 0}});

        // Each loader traps its own errors: one failing section does not stop the others.
        LoadProjectCombo();
        LoadMainProjectInfo();
        LoadProjectHistory();
        LoadToDoInfo();
        LoadApptsInfo();
        LoadRelContactInfo();
        LoadUserDefInfo();
        LoadStatusItems();
        LoadPrjTypeItems();
        LoadComments();

        g_strCurScreen = QStringLiteral("PEnt");

        for (ui::ListView* list : {lvAppts, lvHist, lvHistPane, lvRelCon, lvToDo, lvUserDef})
            list->setGridLines(g_blnGridLines);

        if (core::MainWindowLink* window = core::MainWindow()) window->SetContextCommandsEnabled(true);

        ui::SetArrow();
        modGeneral::SetStatus(QString());
    });
}

void frmProjEntry::Form_Unload() {
    for (QWidget* picker : {static_cast<QWidget*>(lstStatus), static_cast<QWidget*>(lstPrjType),
                            static_cast<QWidget*>(mnvStart), static_cast<QWidget*>(mnvEnd)})
        picker->hide();
    m_rsProjects.Close();
    if (core::MainWindowLink* window = core::MainWindow()) window->SetContextCommandsEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Loaders

void frmProjEntry::LoadMainProjectInfo() {
    if (!IsLoaded()) return;
    CommitFocusedBox();
    core::trap(QStringLiteral("frmProjEntry.LoadMainProjectInfo"), Tail::Silent, [&] {
        for (int i = 0; i < kBoxCount; ++i) SetText1Text(i, QString());
        m_rsProjects.setIndex(QStringLiteral("PrimaryKey"));
        m_rsProjects.Seek(QStringLiteral("="), m_lngProjID);
        // No row of that number: the boxes stay empty.
        if (m_rsProjects.NoMatch()) return;
        const QLocale c = QLocale::c();
        for (const int box : {0, 1, 6, 2, 3, 4, 5}) {
            const QVariant value = m_rsProjects.Value(QString::fromLatin1(kColumns[box]));
            if (value.isNull()) continue;
            SetText1Text(box, IsDateBox(box) ? c.toString(value.toDate(), kStoredDate) : value.toString());
        }
    });
}

void frmProjEntry::LoadProjectCombo() {
    if (!IsLoaded()) return;
    LoadSwitcher();
}

void frmProjEntry::LoadStatusItems() {
    if (!IsLoaded()) return;
    LoadLookupList(QStringLiteral("frmProjEntry.LoadStatusItems"), lstStatus, QStringLiteral("PSTAT"));
}

void frmProjEntry::LoadPrjTypeItems() {
    if (!IsLoaded()) return;
    LoadLookupList(QStringLiteral("frmProjEntry.LoadPrjTypeItems"), lstPrjType, QStringLiteral("PTYPE"));
}

void frmProjEntry::cboProjList_Click(int index) {
    SwitcherClick(index);
}

// ---------------------------------------------------------------------------------------------
// Profile boxes

QWidget* frmProjEntry::Text1(int index) const {
    return index >= 0 && index < kBoxCount ? m_text1[index] : nullptr;
}

QString frmProjEntry::Text1Text(int index) const {
    return index >= 0 && index < kBoxCount ? m_text1[index]->text() : QString();
}

// A stored text is shown whole, however long: the box's limit is only the user's.
void frmProjEntry::SetText1Text(int index, const QString& text) {
    ui::ShowText(m_text1[index], text);
    BoxRefilled(index);
}

bool frmProjEntry::Text1Locked(int index) const {
    return m_text1[index]->isReadOnly();
}

void frmProjEntry::WriteChangedBox(int index) {
    // An emptied box is not saved; it shows the stored text again.
    if (m_strNewText.isEmpty()) {
        RestoreStoredText(index, QString::fromLatin1(kColumns[index]));
        return;
    }
    switch (index) {
        case 1:
            EditProjectStatus();
            break;
        case 2:
            EditProjectType();
            break;
        case 3:
            EditStartDate();
            break;
        case 4:
            EditEndDate();
            break;
        case 5:
            EditBudget();
            break;
        case 6:
            EditSetting();
            break;
        default:
            break;  // the name is never written here
    }
}

// ---------------------------------------------------------------------------------------------
// Pickers

void frmProjEntry::picPop_Click(int index) {
    if (!IsLoaded()) return;
    core::trap(QStringLiteral("frmProjEntry.picPop_Click"), Tail::Unknown, [&] {
        const auto toggle = [](QWidget* picker) {
            if (picker->isHidden()) {
                picker->show();
                picker->raise();
            } else {
                picker->hide();
            }
        };
        // A list or month view opened closes any other (ui::MakeDropDown).
        switch (index) {
            case 0:
                m_text1[1]->setFocus();
                toggle(lstStatus);
                break;
            case 1:
                m_text1[2]->setFocus();
                toggle(lstPrjType);
                break;
            case 2:
                m_text1[3]->setFocus();
                toggle(mnvStart);
                break;
            case 3:
                m_text1[4]->setFocus();
                toggle(mnvEnd);
                break;
            case 4:
                m_text1[6]->setFocus();
                OpenDialog(QStringLiteral("frmSetting"));
                break;
            default:
                break;
        }
    });
}

void frmProjEntry::lstStatus_Click() {
    LookupList_Click(QStringLiteral("frmProjEntry.lstStatus_Click"), lstStatus, 1,
                     QStringLiteral("frmSetProjStatus"), true, [this] { EditProjectStatus(); });
}

void frmProjEntry::lstPrjType_Click() {
    LookupList_Click(QStringLiteral("frmProjEntry.lstPrjType_Click"), lstPrjType, 2,
                     QStringLiteral("frmSetProjType"), true, [this] { EditProjectType(); });
}

void frmProjEntry::mnvStart_DateClick(const QDate& date) {
    PickDate("mnvStart_DateClick", mnvStart, 3, date, &frmProjEntry::EditStartDate);
}

void frmProjEntry::mnvEnd_DateClick(const QDate& date) {
    PickDate("mnvEnd_DateClick", mnvEnd, 4, date, &frmProjEntry::EditEndDate);
}

// The box shows the picked day as the short date and its writer stores it at once; the month view
// keeps the day for the next time it opens.
void frmProjEntry::PickDate(const char* procedure, QCalendarWidget* view, int box, const QDate& date,
                            void (frmProjEntry::*write)()) {
    if (!IsLoaded()) return;
    const bool done = core::trap(ProcName(procedure), Tail::Silent, [&] {
        SetText1Text(box, QLocale::c().toString(date, kPickedDate));
        view->hide();
        m_text1[box]->setFocus();
        (this->*write)();
    });
    if (!done) view->hide();
}

// ---------------------------------------------------------------------------------------------
// Column writers: each edits the shown project's row and nothing else.

void frmProjEntry::EditProjectStatus() {
    WriteProjectColumn("EditProjectStatus",
                       "An un-known error occurred while updating the Project Status record!", 1);
}

void frmProjEntry::EditProjectType() {
    WriteProjectColumn("EditProjectType",
                       "An un-known error occurred while updating the Project Type record!", 2);
}

void frmProjEntry::EditStartDate() {
    WriteProjectColumn("EditStartDate",
                       "An un-known error occurred while updating the Project Start Date record!", 3);
}

void frmProjEntry::EditEndDate() {
    WriteProjectColumn("EditEndDate",
                       "An un-known error occurred while updating the Project End Date record!", 4);
}

void frmProjEntry::EditBudget() {
    WriteProjectColumn("EditBudget", "An un-known error occurred while updating the Project Budget record!",
                       5);
}

void frmProjEntry::EditSetting() {
    WriteProjectColumn("EditSetting", "An un-known error occurred while updating the Project Setting record!",
                       6);
}

// The box's text as typed; a date box's text as the date it shows, so that the column holds a date.
void frmProjEntry::WriteProjectColumn(const char* procedure, const char* message, int box) {
    QVariant value = Text1Text(box);
    if (IsDateBox(box)) {
        QDate date = QLocale::c().toDate(Text1Text(box), kPickedDate);
        if (!date.isValid()) date = QLocale::c().toDate(Text1Text(box), kStoredDate);
        // Text that is no date goes to the column as it is, which refuses it: the writer's message follows.
        if (date.isValid()) value = date;
    }
    WriteRecordColumn(ProcName(procedure), QString::fromLatin1(message), QString::fromLatin1(kColumns[box]),
                      value);
}
