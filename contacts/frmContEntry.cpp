// The contact editor: load, activation and close, its public loaders, the tab strip, the contact
// switcher, the icon buttons and the job-title list.
#include "contacts/frmContEntry.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QVector>
#include <utility>

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
const QString kAddField = QStringLiteral("<Add Field...>");

void SetBackground(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
}

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
        m_rsAttach = g_dbLocal->OpenRecordset(QStringLiteral("Attach"));
        m_rsAddress = g_dbLocal->OpenRecordset(QStringLiteral("CAddress"));
        m_rsPhone = g_dbLocal->OpenRecordset(QStringLiteral("CPhone"));
        m_rsEMail = g_dbLocal->OpenRecordset(QStringLiteral("CEMail"));
        m_rsComments = g_dbLocal->OpenRecordset(QStringLiteral("CComments"));

        m_strNType = QStringLiteral("N");

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

void frmContEntry::Form_Activate() {
    if (!IsLoaded()) return;
    core::trap(QStringLiteral("frmContEntry.Form_Activate"), Tail::Silent, [&] {
        // Only "Default" contacts are in the switcher's list.
        if (Text1Text(17) == QLatin1String("Default")) ShowContactInCombo();
        // Every activation shows the History tab's whole content again.
        cboHistFilter->setListIndex(cboHistFilter->findText(QStringLiteral("All Items")));
        cboHistFilter_Click();
    });
}

void frmContEntry::closeEvent(QCloseEvent* event) {
    if (m_blnLoaded && !m_blnUnloaded) {
        // Edit > Delete Item closes the editor after the contact is gone: what the screen still holds
        // belongs to no one and is dropped without a word. A failed check counts as stored, so that
        // the writers below report their own failure.
        bool stored = true;
        core::trap(QStringLiteral("frmContEntry.Form_Unload"), Tail::Silent,
                   [&] { stored = ContactStored(); });
        if (stored) {
            // A box being edited is saved as if the user had left it: closing from a menu or the
            // keyboard moves no focus, and the edit must not be lost.
            CommitFocusedBox();
            // The screen says a comment is saved automatically: closing keeps it as a tab click would.
            PostChangedComment();
        } else {
            // The note left in "New:" goes too: Form_Unload would post it.
            txtNewNote->clear();
        }
        Form_Unload();
    }
    event->accept();
}

bool frmContEntry::ContactStored() const {
    return modGeneral::RecordExists(QStringLiteral("Contacts"), QStringLiteral("ContID"), m_lngContID);
}

void frmContEntry::RequireStoredContact() const {
    modGeneral::RequireRecord(QStringLiteral("Contacts"), QStringLiteral("ContID"), m_lngContID);
}

void frmContEntry::Form_Unload() {
    m_blnUnloaded = true;
    lstJobTitle->hide();
    if (!txtNewNote->toPlainText().isEmpty()) {
        core::trap(QStringLiteral("frmContEntry.Form_Unload"), Tail::Silent, [&] { PostNewHistoryItem(); });
    }
    m_rsContacts.Close();
    m_rsAttach.Close();
    m_rsAddress.Close();
    m_rsPhone.Close();
    m_rsEMail.Close();
    m_rsComments.Close();
    m_rsList.Close();
    if (core::MainWindowLink* window = core::MainWindow()) window->SetContextCommandsEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Tabs

void frmContEntry::tbsMain_Click(int index) {
    if (!IsLoaded()) return;
    core::trap(QStringLiteral("frmContEntry.tbsMain_Click"), Tail::ErrorBox, [&] {
        picPane2->hide();
        picPane3->hide();
        switch (index) {
            case 0:
                m_text1[0].widget->setFocus();
                break;
            case 1:
                picPane2->show();
                picPane2->raise();
                txtComments->setFocus();
                break;
            case 2:
                picPane3->show();
                picPane3->raise();
                // The profile box under the pane would otherwise keep the keys typed here.
                lvHistPane->setFocus();
                break;
            default:
                break;
        }
        PostChangedComment();
    });
}

// ---------------------------------------------------------------------------------------------
// Loaders

void frmContEntry::LoadMainContactInfo() {
    if (!IsLoaded()) return;
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
    cboContList->clear();
    cboContList->setEditText(QString());
    // Every "Default" contact is a long read: it is done when the user first goes to the list, not
    // each time an editor opens.
    cboContList->fillOnFirstUse([this] { ReadContactCombo(); });
}

// The contact on screen as the switcher's entry, or as its text while the list is still unread.
void frmContEntry::ShowContactInCombo() {
    const QString shown = Text1Text(1);
    const int at = cboContList->waitingToFill() ? -1 : cboContList->findData(m_lngContID);
    if (at >= 0 && cboContList->itemText(at) == shown) {
        cboContList->setListIndex(at);
    } else {
        cboContList->setEditText(shown);
    }
}

void frmContEntry::ReadContactCombo() {
    QVector<QPair<QString, qint64>> items;
    core::trap(QStringLiteral("frmContEntry.LoadContactCombo"), Tail::Silent, [&] {
        // Read straight into the list's entries rather than through m_rsList: this is the one list
        // of the editor that holds every contact.
        g_dbLocal->ReadNumberedTexts(QStringLiteral("SELECT ContID, Setting, ShownName FROM Contacts ") +
                                         QStringLiteral("WHERE Setting = '") + QStringLiteral("Default") +
                                         QStringLiteral("' ") + QStringLiteral("ORDER BY ShownName"),
                                     {}, QStringLiteral("ContID"), QStringLiteral("ShownName"), items);
    });
    // One model signal for the whole list; after an error, the entries read so far.
    cboContList->addItems(items);
    if (Text1Text(17) == QLatin1String("Default")) ShowContactInCombo();
}

void frmContEntry::LoadJobTitles() {
    if (!IsLoaded()) return;
    QVector<QPair<QString, qint64>> items{{kAddField, 0}, {QStringLiteral(" "), 0}};
    lstJobTitle->clear();
    core::trap(QStringLiteral("frmContEntry.LoadJobTitles"), Tail::Silent, [&] {
        for (const QString& title : modGeneral::LookupList(QStringLiteral("TITLE"))) items.append({title, 0});
    });
    lstJobTitle->addItems(items);
}

// The side lists, the History tab and the new note box: frmContEntryLists.cpp. The address, phone and
// e-mail boxes: frmContEntryAddresses.cpp.

// ---------------------------------------------------------------------------------------------
// Contact switcher

void frmContEntry::cboContList_Click(int index) {
    if (!IsLoaded()) return;
    core::trap(QStringLiteral("frmContEntry.cboContList_Click"), Tail::Action,
               QStringLiteral("loading the Contact List"), [&] {
                   // Asks even for the contact on screen; its OK reopens the editor. While the question
                   // is open it stays as it is: the wheel or the arrow keys change the entry once a step.
                   const qint64 contactId = cboContList->itemData(index);
                   ui::ScreenRegistry::instance().open(QStringLiteral("frmSwtContact"),
                                                       {{QStringLiteral("m_lngContactID"), contactId}});
               });
}

// ---------------------------------------------------------------------------------------------
// Icon buttons and the job-title list

void frmContEntry::OpenDialog(const QString& formName) {
    // Until a dialog exists the main window shows a stand-in; a name nobody registered opens nothing.
    ui::ScreenRegistry::instance().open(formName);
}

void frmContEntry::picPop_MouseDown(int index, Qt::MouseButton button) {
    if (button == Qt::LeftButton) SetBackground(picPop[index], QColor(128, 128, 128));
}

void frmContEntry::picPop_MouseUp(int index, Qt::MouseButton button) {
    if (button == Qt::LeftButton) SetBackground(picPop[index], QColor(255, 255, 255));
}

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
    if (!IsLoaded() || lstJobTitle->listIndex() < 0) return;
    const bool done = core::trap(QStringLiteral("frmContEntry.lstJobTitle_Click"), Tail::Silent, [&] {
        const QString item = lstJobTitle->text();
        if (item == kAddField) {
            lstJobTitle->hide();
            // Its OK adds the title and calls LoadJobTitles; its Cancel puts the list back.
            OpenDialog(QStringLiteral("frmSetJobTitle"));
            return;
        }
        SetText1Text(4, item);
        lstJobTitle->hide();
        m_text1[4].widget->setFocus();
        EditJobTitle();
    });
    if (!done) lstJobTitle->hide();
}
