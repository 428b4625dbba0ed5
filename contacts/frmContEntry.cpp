// The contact editor: load and close, its public loaders, the contact switcher, the icon buttons and
// the job-title list.
#include "contacts/frmContEntry.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;

namespace {

const QColor kStatusColour(51, 102, 102);

}  // namespace

// ---------------------------------------------------------------------------------------------
// Load, activate, close

void frmContEntry::Form_Load() {
    m_blnLoaded = true;
    m_lngContID = g_lngCurContID;
    core::trap(QStringLiteral("frmContEntry.Form_Load"), Tail::ErrorBox, [&] {
        ui::SetBusy();
        modGeneral::SetStatus(QStringLiteral(" Loading Contact Information Screen"), true);
        if (core::MainWindowLink* window = core::MainWindow()) window->SetStatusColor(kStatusColour);

        m_rsContacts = g_dbLocal->OpenRecordset(QStringLiteral("Contacts"));
        m_rsAddress = g_dbLocal->OpenRecordset(QStringLiteral("CAddress"));
        m_rsPhone = g_dbLocal->OpenRecordset(QStringLiteral("CPhone"));
        m_rsEMail = g_dbLocal->OpenRecordset(QStringLiteral("CEMail"));
        OpenListTables();

        cboHistFilter->clear();
        cboHistFilter->addItems({{QStringLiteral("All Items"), 0},
                                 {QStringLiteral("Notes & Calls"), 0},
                                 {QStringLiteral("Documents"), 0},
                                 {QStringLiteral("To Do's"), 0},
                                 {QStringLiteral("E-mails"), 0},
                                 {QStringLiteral("Appointments"), 0},
                                 {QStringLiteral("Invoices"), 0},
                                 {QStringLiteral("Bills"), 0}});

        // Each loader traps its own errors: one failing section does not stop the others.
        LoadMainContactInfo();
        LoadContactCombo();
        LoadAddressInfo();
        LoadPhoneInfo();
        LoadEmailInfo();
        LoadRelatedProjects();
        LoadContactHistory();
        LoadToDoInfo();
        LoadApptsInfo();
        LoadRelContactInfo();
        LoadUserDefInfo();
        LoadJobTitles();
        LoadComments();

        g_strCurScreen = QStringLiteral("CEnt");

        for (ui::ListView* list : {lvAppts, lvHist, lvHistPane, lvRelCon, lvRelPrj, lvToDo, lvUserDef})
            list->setGridLines(g_blnGridLines);

        if (core::MainWindowLink* window = core::MainWindow()) window->SetContextCommandsEnabled(true);

        ui::SetArrow();
        modGeneral::SetStatus(QString());
    });
}

void frmContEntry::Form_Unload() {
    lstJobTitle->hide();
    m_rsContacts.Close();
    m_rsAddress.Close();
    m_rsPhone.Close();
    m_rsEMail.Close();
    if (core::MainWindowLink* window = core::MainWindow()) window->SetContextCommandsEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Loaders

void frmContEntry::LoadMainContactInfo() {
    if (!IsLoaded()) return;
    CommitFocusedBox();
    core::trap(QStringLiteral("frmContEntry.LoadMainContactInfo"), Tail::Silent, [&] {
        // Only an empty table stands before its first row and after its last at once (no count).
        if (!(m_rsContacts.Bof() && m_rsContacts.Eof())) {
            m_rsContacts.MoveFirst();
            m_rsContacts.setIndex(QStringLiteral("PrimaryKey"));
            m_rsContacts.Seek(QStringLiteral("="), m_lngContID);
        }
        for (int i = 0; i <= 4; ++i) SetText1Text(i, QString());
        // Only a company's name is typed in place; a person's goes through the name dialog. Locked
        // first, so that a contact turned into a person, or a missing row, leaves it locked.
        SetText1Locked(0, true);

        const std::pair<const char*, int> columns[] = {
            {"FullName", 0}, {"ShownName", 1}, {"Group", 2}, {"CompName", 3}, {"JobTitle", 4}};
        for (const auto& [column, box] : columns) {
            const QVariant value = m_rsContacts.Value(QString::fromLatin1(column));
            if (!value.isNull()) SetText1Text(box, value.toString());
        }
        const QVariant type = m_rsContacts.Value(QStringLiteral("CTYPE"));
        if (!type.isNull()) {
            m_strCType = type.toString();
            if (m_strCType == QLatin1String("C")) SetText1Locked(0, false);
        }
        const QVariant setting = m_rsContacts.Value(QStringLiteral("Setting"));
        if (!setting.isNull()) SetText1Text(17, setting.toString());
    });
}

void frmContEntry::LoadContactCombo() {
    if (!IsLoaded()) return;
    LoadSwitcher();
}

void frmContEntry::LoadJobTitles() {
    if (!IsLoaded()) return;
    LoadLookupList(QStringLiteral("frmContEntry.LoadJobTitles"), lstJobTitle, QStringLiteral("TITLE"));
}

// The related lists: frmContEntryLists.cpp. The address, phone and e-mail boxes:
// frmContEntryAddresses.cpp.

// ---------------------------------------------------------------------------------------------
// Contact switcher

void frmContEntry::cboContList_Click(int index) {
    SwitcherClick(index);
}

// ---------------------------------------------------------------------------------------------
// Icon buttons and the job-title list

void frmContEntry::picPop_Click(int index) {
    if (!IsLoaded()) return;
    core::trap(QStringLiteral("frmContEntry.picPop_Click"), Tail::Unknown, [&] {
        static const QString addressKinds[4] = {QStringLiteral("Home"), QStringLiteral("Work"),
                                                QStringLiteral("Bill To"), QStringLiteral("Ship To")};
        static const QString phoneKinds[5] = {QStringLiteral("Home"), QStringLiteral("Work"),
                                              QStringLiteral("Mobile"), QStringLiteral("Other"),
                                              QStringLiteral("Fax")};
        static const QString emailKinds[3] = {QStringLiteral("Personal"), QStringLiteral("Work"),
                                              QStringLiteral("Other")};
        const auto confirmDelete = [] {
            return ui::MsgBox(QStringLiteral("Are you sure?"), ui::YesNo | ui::Question,
                              QStringLiteral("Confirm Delete")) == ui::Answer::Yes;
        };

        if (index == 0) {
            m_text1[0].widget->setFocus();
            OpenDialog(QStringLiteral("frmNameDetail"));
        } else if (index == 1) {
            m_text1[2].widget->setFocus();
            OpenDialog(QStringLiteral("frmSelectGrp"));
        } else if (index == 2) {
            m_text1[4].widget->setFocus();
            if (lstJobTitle->isHidden()) {
                lstJobTitle->show();
                lstJobTitle->raise();
            } else {
                lstJobTitle->hide();
            }
        } else if (index >= 3 && index <= 6) {
            const int box = index + 2;
            if (Text1Text(box).isEmpty()) return;
            m_text1[box].widget->setFocus();
            // The address dialog reads its kind when it loads.
            ui::ScreenRegistry::instance().open(QStringLiteral("frmAddrDetail"),
                                                {{QStringLiteral("m_strAddrType"), addressKinds[index - 3]}});
        } else if (index == 7) {
            if (Text1Text(17).isEmpty()) return;
            m_text1[17].widget->setFocus();
            OpenDialog(QStringLiteral("frmSetting"));
        } else if (index >= 8 && index <= 12) {
            if (confirmDelete()) DeletePhoneNums(phoneKinds[index - 8]);
        } else if (index >= 13 && index <= 15) {
            if (confirmDelete()) DeleteEMails(emailKinds[index - 13]);
        }
    });
}

void frmContEntry::lstJobTitle_Click() {
    LookupList_Click(QStringLiteral("frmContEntry.lstJobTitle_Click"), lstJobTitle, 4,
                     QStringLiteral("frmSetJobTitle"), false, [this] { EditJobTitle(); });
}
