// The contact editor's side lists and its History tab: the loaders of the related projects and
// contacts, the notes and calls, to-do items, appointments and user-defined values; the new note or
// call box; the buttons beside the lists and what a click on a list row opens.
#include <QCursor>
#include <QIcon>
#include <QLocale>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <functional>
#include <initializer_list>
#include <utility>

#include "contacts/frmContEntry.h"
#include "core/Clock.h"
#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/Error.h"
#include "platform/db/Database.h"
#include "platform/ui/DateTexts.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"

using core::Tail;

namespace {

// Icon positions in the image lists (0-based here): a note, a call, a to-do item, an appointment.
constexpr int kIconNote = 0;
constexpr int kIconCall = 1;
constexpr int kIconToDo = 3;
constexpr int kIconAppt = 5;

// Stored bodies keep their line breaks; a list row shows them run together.
QString OneLine(const QVariant& body) {
    return body.toString().remove(QStringLiteral("\r\n"));
}

QString Key(const char* prefix, const QVariant& number) {
    return ui::RowKey(prefix, number.toLongLong());
}

// One of the main window's pop-up menus over the editor's lists: its public members are set by name,
// then the menu is shown at the mouse, and its command does the rest.
void MainWindowPopup(const char* procedure, std::initializer_list<std::pair<const char*, QVariant>> members) {
    core::MainWindowLink* link = core::MainWindow();
    QWidget* window = link ? link->Widget() : nullptr;
    if (!window) return;
    for (const auto& [name, value] : members) window->setProperty(name, value);
    if (!QMetaObject::invokeMethod(window, procedure, Qt::DirectConnection, Q_ARG(QPoint, QCursor::pos())))
        throw platform::Error(438, QStringLiteral("Object doesn't support this property or method"));
}

// The steps every loader shares: read the query into the work recordset, clear the list (unless the
// History tab is collecting several kinds), add the rows, stripe, close. An error keeps the rows
// added so far.
void FillList(const QString& procName, db::Recordset& rs, ui::ListView& list, QWidget* picGrdClr,
              bool clearFirst, const QString& sql, const QVariantList& params,
              const std::function<void()>& addRow) {
    ui::ListView::Batch batch(list);
    core::trap(procName, Tail::Silent, [&] {
        rs = g_dbLocal->OpenRecordset(sql, params);
        if (clearFirst) list.clear();
        if (!rs.Eof()) {
            rs.MoveFirst();
            while (!rs.Eof()) {
                addRow();
                rs.MoveNext();
            }
        }
        if (g_blnAltColors) modGeneral::AltLVBackground(list, picGrdClr, 0, -1);
        rs.Close();
    });
    rs.Close();
}

QIcon ItemIcon(const QWidget* w, const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(themeName), w->style()->standardIcon(fallback));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Wiring

void frmContEntry::ConnectListsAndHistory() {
    const QIcon note = ItemIcon(this, "text-x-generic", QStyle::SP_FileIcon);
    const QIcon call = ItemIcon(this, "call-start", QStyle::SP_MediaVolume);
    const QIcon toDo = ItemIcon(this, "task-due", QStyle::SP_DialogApplyButton);
    const QIcon appt = ItemIcon(this, "appointment-new", QStyle::SP_FileDialogInfoView);
    lvHist->setIcons({note, call});
    lvHistPane->setIcons({note, call, QIcon(), toDo, QIcon(), appt});

    for (int i = 0; i < 2; ++i) {
        connect(optNType[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optNType_Click(i);
        });
    }
    connect(cmdHist, &QPushButton::clicked, this, [this] { cmdHist_Click(); });
    connect(cmdAppts, &QPushButton::clicked, this, [this] { cmdAppts_Click(); });
    connect(cmdRelCon, &QPushButton::clicked, this, [this] { cmdRelCon_Click(); });
    connect(cmdRelProj, &QPushButton::clicked, this, [this] { cmdRelProj_Click(); });
    connect(cmdUserFld, &QPushButton::clicked, this, [this] { cmdUserFld_Click(); });
    connect(cmdAddFile, &QPushButton::clicked, this, [this] { cmdAddFile_Click(); });

    // A click acts on the row under the mouse; one beside the rows finds none (-1).
    const auto onLeftClick = [this](ui::ListView* list, void (frmContEntry::*handler)(int)) {
        connect(list, &ui::ListView::rowClicked, this, [this, handler](int row, Qt::MouseButton button) {
            if (button == Qt::LeftButton) (this->*handler)(row);
        });
        connect(list, &ui::ListView::emptyAreaClicked, this, [this, handler](Qt::MouseButton button) {
            if (button == Qt::LeftButton) (this->*handler)(-1);
        });
    };
    onLeftClick(lvHist, &frmContEntry::lvHist_Click);
    onLeftClick(lvToDo, &frmContEntry::lvToDo_Click);
    onLeftClick(lvAppts, &frmContEntry::lvAppts_Click);
    onLeftClick(lvHistPane, &frmContEntry::lvHistPane_Click);
    onLeftClick(lvRelPrj, &frmContEntry::lvRelPrj_Click);

    const auto onMouseUp = [this](ui::ListView* list, void (frmContEntry::*handler)(Qt::MouseButton, int)) {
        connect(list, &ui::ListView::rowClicked, this,
                [this, handler](int row, Qt::MouseButton button) { (this->*handler)(button, row); });
        connect(list, &ui::ListView::emptyAreaClicked, this,
                [this, handler](Qt::MouseButton button) { (this->*handler)(button, -1); });
    };
    onMouseUp(lvRelCon, &frmContEntry::lvRelCon_MouseUp);
    onMouseUp(lvUserDef, &frmContEntry::lvUserDef_MouseUp);
}

// ---------------------------------------------------------------------------------------------
// Info tab loaders

void frmContEntry::LoadRelatedProjects() {
    if (!IsLoaded()) return;
    ui::ListView::Batch batch(*lvRelPrj);
    lvRelPrj->clear();
    core::trap(QStringLiteral("frmContEntry.LoadRelatedProjects"), Tail::Silent, [&] {
        // One query for the links and their projects, in link order; a link whose project is gone
        // comes back without one.
        m_rsList = g_dbLocal->OpenRecordset(
            QStringLiteral(
                "SELECT RelateProject.fkProjID, Projects.ProjID, Projects.PName, Projects.Status ") +
                QStringLiteral(
                    "FROM RelateProject LEFT JOIN Projects ON Projects.ProjID = RelateProject.fkProjID ") +
                QStringLiteral("WHERE RelateProject.fkContID = ? ORDER BY RelateProject.RefNum"),
            {m_lngContID});
        bool anyLink = false;
        if (!m_rsList.Eof()) {
            m_rsList.MoveFirst();
            while (!m_rsList.Eof()) {
                if (!m_rsList.Value(0).isNull()) {
                    anyLink = true;
                    GetProjectInfo(m_rsList.Value(1), m_rsList.Value(2), m_rsList.Value(3));
                }
                m_rsList.MoveNext();
            }
        }
        // Striped as each project is added: a contact without links keeps its stripes.
        if (anyLink && g_blnAltColors) modGeneral::AltLVBackground(*lvRelPrj, picGrdClr, 0, -1);
        m_rsList.Close();
    });
    m_rsList.Close();
}

void frmContEntry::GetProjectInfo(const QVariant& projId, const QVariant& pName, const QVariant& status) {
    core::trap(QStringLiteral("frmContEntry.GetProjectInfo"), Tail::Silent, [&] {
        if (projId.isNull() || pName.isNull()) return;
        const QString key = Key("ID", projId);
        // A project linked twice is shown once.
        if (lvRelPrj->findKey(key) >= 0) return;
        const int row = lvRelPrj->addRow(key, pName.toString());
        lvRelPrj->setSubItem(row, 1, QStringLiteral("* ") + status.toString());
    });
}

void frmContEntry::LoadContactHistory() {
    if (!IsLoaded()) return;
    ui::DateTexts monthDay(QStringLiteral("MM/dd"));
    FillList(
        QStringLiteral("frmContEntry.LoadContactHistory"), m_rsList, *lvHist, picGrdClr, true,
        QStringLiteral("SELECT RefNum, fkContID, NType, TextBody, DateStamp FROM Attach WHERE fkContID = ?") +
            QStringLiteral(" ORDER BY DateStamp DESC"),
        {m_lngContID}, [&] {
            const QVariant id = m_rsList.Value(0);
            const QString type = m_rsList.Value(2).toString();
            const QVariant stamp = m_rsList.Value(4);
            const bool call = type == QLatin1String("C");
            if (id.isNull() || (!call && type != QLatin1String("N")) || stamp.isNull()) return;
            const int row = lvHist->addRow(Key("ID", id), monthDay(stamp), call ? kIconCall : kIconNote);
            lvHist->setSubItem(row, 1, OneLine(m_rsList.Value(3)));
        });
}

void frmContEntry::LoadToDoInfo() {
    if (!IsLoaded()) return;
    const QLocale c = QLocale::c();
    // The unary plus keeps SQLite on the contact's index: the Completed index matches most rows.
    FillList(
        QStringLiteral("frmContEntry.LoadToDoInfo"), m_rsList, *lvToDo, picGrdClr, true,
        QStringLiteral("SELECT RefNum, Subject, fkContID, DueDate, Completed FROM ToDo WHERE fkContID = ?") +
            QStringLiteral(" AND +Completed = False ") + QStringLiteral(" ORDER BY DueDate Desc"),
        {m_lngContID}, [&] {
            const QVariant id = m_rsList.Value(0);
            const QVariant subject = m_rsList.Value(1);
            if (id.isNull() || subject.isNull()) return;
            const int row = lvToDo->addRow(Key("ID", id), subject.toString());
            // The short date in its US form, whatever the desktop's language.
            const QVariant due = m_rsList.Value(3);
            if (!due.isNull())
                lvToDo->setSubItem(row, 1, c.toString(due.toDate(), QStringLiteral("M/d/yyyy")));
        });
}

void frmContEntry::LoadApptsInfo() {
    if (!IsLoaded()) return;
    ui::DateTexts weekdayMonthDay(QStringLiteral("ddd MM/dd"));
    FillList(QStringLiteral("frmContEntry.LoadApptsInfo"), m_rsList, *lvAppts, picGrdClr, true,
             QStringLiteral("SELECT RefNum, fkContID, Subject, DateFrom FROM Appts WHERE DateFrom >= ?") +
                 QStringLiteral(" AND fkContID = ?") + QStringLiteral(" ORDER BY DateFrom DESC"),
             {core::Clock::Today(), m_lngContID}, [&] {
                 const QVariant id = m_rsList.Value(0);
                 if (id.isNull()) return;
                 const int row = lvAppts->addRow(Key("ID", id), weekdayMonthDay(m_rsList.Value(3)));
                 lvAppts->setSubItem(row, 1, m_rsList.Value(2).toString());
             });
}

void frmContEntry::LoadRelContactInfo() {
    if (!IsLoaded()) return;
    FillList(QStringLiteral("frmContEntry.LoadRelContactInfo"), m_rsList, *lvRelCon, picGrdClr, true,
             QStringLiteral("SELECT MasterContID, LinkMemo, SubContID, SubContShowName, ") +
                 modGeneral::HomePhoneColumn(QStringLiteral("RelateCont.SubContID")) +
                 QStringLiteral(" AS HomePhone, ") +
                 modGeneral::PersonalEMailColumn(QStringLiteral("RelateCont.SubContID")) +
                 QStringLiteral(" AS EMail FROM RelateCont WHERE MasterContID = ?") +
                 QStringLiteral(" ORDER BY SubContShowName"),
             {m_lngContID}, [&] {
                 const QVariant id = m_rsList.Value(2);
                 const QVariant name = m_rsList.Value(3);
                 if (id.isNull() || name.isNull()) return;
                 const int row = lvRelCon->addRow(Key("ID", id), name.toString());
                 lvRelCon->setSubItem(row, 1, m_rsList.Value(1).toString());
                 lvRelCon->setSubItem(row, 2, m_rsList.Value(4).toString());
                 lvRelCon->setSubItem(row, 3, m_rsList.Value(5).toString());
             });
}

void frmContEntry::LoadUserDefInfo() {
    if (!IsLoaded()) return;
    FillList(QStringLiteral("frmContEntry.LoadUserDefInfo"), m_rsList, *lvUserDef, picGrdClr, true,
             QStringLiteral("SELECT RefNum, fkContID, fkUserFld, Value FROM CUFldValues WHERE fkContID = ?") +
                 QStringLiteral(" ORDER BY fkUserFld"),
             {m_lngContID}, [&] {
                 const QVariant field = m_rsList.Value(2);
                 if (field.isNull()) return;
                 const int row = lvUserDef->addRow(Key("ID", m_rsList.Value(0)), field.toString());
                 lvUserDef->setSubItem(row, 1, m_rsList.Value(3).toString());
             });
}

// ---------------------------------------------------------------------------------------------
// History tab

void frmContEntry::cboHistFilter_Click() {
    if (!IsLoaded()) return;
    core::trap(QStringLiteral("frmContEntry.cboHistFilter_Click"), Tail::Action,
               QStringLiteral("gathering the Contact History"), [&] {
                   ui::ListView::Batch batch(*lvHistPane);
                   lvHistPane->clear();
                   const QString view = cboHistFilter->text();
                   // The other views have no data behind them and stay empty.
                   m_blnAllItems = view == QLatin1String("All Items");
                   if (m_blnAllItems) {
                       // By kind, one block after the other; not merged by date.
                       LoadNotesCallsHistory();
                       LoadToDoHistory();
                       LoadApptsHistory();
                   } else if (view == QLatin1String("Notes & Calls")) {
                       LoadNotesCallsHistory();
                   } else if (view == QLatin1String("To Do's")) {
                       LoadToDoHistory();
                   } else if (view == QLatin1String("Appointments")) {
                       LoadApptsHistory();
                   }
               });
}

void frmContEntry::LoadNotesCallsHistory() {
    ui::DateTexts date(QStringLiteral("MM/dd/yyyy"));
    FillList(
        QStringLiteral("frmContEntry.LoadNotesCallsHistory"), m_rsList, *lvHistPane, picGrdClr,
        !m_blnAllItems,
        QStringLiteral("SELECT RefNum, fkContID, NType, TextBody, DateStamp FROM Attach WHERE fkContID = ?") +
            QStringLiteral(" ORDER BY DateStamp DESC"),
        {m_lngContID}, [&] {
            const QVariant id = m_rsList.Value(0);
            const QString type = m_rsList.Value(2).toString();
            const QVariant stamp = m_rsList.Value(4);
            const bool call = type == QLatin1String("C");
            if (id.isNull() || (!call && type != QLatin1String("N")) || stamp.isNull()) return;
            const int row =
                lvHistPane->addRow(Key(call ? "CA" : "NT", id), date(stamp), call ? kIconCall : kIconNote);
            lvHistPane->setSubItem(row, 1, call ? QStringLiteral("Call") : QStringLiteral("Note"));
            lvHistPane->setSubItem(row, 2, OneLine(m_rsList.Value(3)));
        });
}

void frmContEntry::LoadToDoHistory() {
    ui::DateTexts date(QStringLiteral("MM/dd/yyyy"));
    FillList(
        QStringLiteral("frmContEntry.LoadToDoHistory"), m_rsList, *lvHistPane, picGrdClr, !m_blnAllItems,
        QStringLiteral("SELECT RefNum, Subject, fkContID, DueDate, TextBody FROM ToDo WHERE fkContID = ?") +
            QStringLiteral(" ORDER BY DueDate Desc"),
        {m_lngContID}, [&] {
            const QVariant id = m_rsList.Value(0);
            const QVariant due = m_rsList.Value(3);
            if (id.isNull() || due.isNull()) return;
            const int row = lvHistPane->addRow(Key("TD", id), date(due), kIconToDo);
            lvHistPane->setSubItem(row, 1, QStringLiteral("To Do"));
            lvHistPane->setSubItem(
                row, 2, m_rsList.Value(1).toString() + QStringLiteral(" - ") + OneLine(m_rsList.Value(4)));
        });
}

void frmContEntry::LoadApptsHistory() {
    ui::DateTexts date(QStringLiteral("MM/dd/yyyy"));
    FillList(
        QStringLiteral("frmContEntry.LoadApptsHistory"), m_rsList, *lvHistPane, picGrdClr, !m_blnAllItems,
        QStringLiteral("SELECT RefNum, fkContID, Subject, DateFrom, TextBody FROM Appts WHERE fkContID = ?") +
            QStringLiteral(" ORDER BY DateFrom DESC"),
        {m_lngContID}, [&] {
            const QVariant id = m_rsList.Value(0);
            if (id.isNull()) return;
            const int row = lvHistPane->addRow(Key("AP", id), date(m_rsList.Value(3)), kIconAppt);
            lvHistPane->setSubItem(row, 1, QStringLiteral("Appointment"));
            lvHistPane->setSubItem(
                row, 2, m_rsList.Value(2).toString() + QStringLiteral(" - ") + OneLine(m_rsList.Value(4)));
        });
}

// ---------------------------------------------------------------------------------------------
// New note or call

void frmContEntry::optNType_Click(int index) {
    m_strNType = index == 1 ? QStringLiteral("C") : QStringLiteral("N");
}

bool frmContEntry::PostNewHistoryItem() {
    return core::trap(QStringLiteral("frmContEntry.PostNewHistoryItem"), Tail::Action,
                      QStringLiteral("posting the History item"), [&] {
                          const QString text = ui::PlainText(txtNewNote);
                          // Blanks alone are a note; only an empty box posts nothing.
                          if (text.isEmpty()) return;
                          // Never a note for a contact that is gone.
                          RequireStoredRecord();
                          if (m_rsAttach.EditInProgress()) m_rsAttach.CancelUpdate();
                          m_rsAttach.AddNew();
                          // Stored with CR LF line breaks, as every multi-line text.
                          m_rsAttach.Fields(QStringLiteral("TextBody")) =
                              QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
                          m_rsAttach.Fields(QStringLiteral("fkContID")) = m_lngContID;
                          m_rsAttach.Fields(QStringLiteral("NType")) = m_strNType;
                          try {
                              m_rsAttach.Update();
                          } catch (...) {
                              m_rsAttach.CancelUpdate();
                              throw;
                          }
                      });
}

void frmContEntry::cmdHist_Click() {
    if (!IsLoaded()) return;
    core::trap(QStringLiteral("frmContEntry.cmdHist_Click"), Tail::Silent, [&] {
        const bool posted = PostNewHistoryItem();
        LoadContactHistory();
        // A failed post keeps what was typed and its kind, for another try.
        if (!posted) return;
        txtNewNote->clear();
        if (optNType[0]->isChecked()) {
            optNType_Click(0);
        } else {
            optNType[0]->setChecked(true);
        }
    });
}

// ---------------------------------------------------------------------------------------------
// Buttons

void frmContEntry::cmdAppts_Click() {
    core::trap(QStringLiteral("frmContEntry.cmdAppts_Click"), Tail::Action,
               QStringLiteral("setting the Appointment screen"), [] {
                   // The dialog preselects this contact: the active-screen code is "CEnt".
                   modGeneral::OpenAppt(modGeneral::NewItem());
               });
}

void frmContEntry::cmdRelCon_Click() {
    core::trap(QStringLiteral("frmContEntry.cmdRelCon_Click"), Tail::Action,
               QStringLiteral("setting the Related Contact screen"),
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmNewLinkCont")); });
}

void frmContEntry::cmdRelProj_Click() {
    core::trap(QStringLiteral("frmContEntry.cmdRelProj_Click"), Tail::ErrorBox,
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmSetRelProject")); });
}

void frmContEntry::cmdUserFld_Click() {
    core::trap(QStringLiteral("frmContEntry.cmdUserFld_Click"), Tail::Action,
               QStringLiteral("setting the User Defined Fields screen"),
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmUserFields")); });
}

void frmContEntry::cmdAddFile_Click() {
    ui::MsgBox(QStringLiteral("Sorry, this feature is not available yet."), ui::OKOnly, ui::ProgramTitle());
}

// ---------------------------------------------------------------------------------------------
// List clicks

void frmContEntry::lvHist_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(QStringLiteral("frmContEntry.lvHist_Click"), Tail::Action,
               QStringLiteral("opening the Calls/Notes dialog"), [&] {
                   m_lngSelNote = modGeneral::KeyRecordNumber(lvHist->key(row));
                   modGeneral::OpenNote(modGeneral::StoredItem(m_lngSelNote));
               });
}

void frmContEntry::lvToDo_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(QStringLiteral("frmContEntry.lvToDo_Click"), Tail::Action,
               QStringLiteral("opening the To Do entry screen"), [&] {
                   m_lngSelToDo = modGeneral::KeyRecordNumber(lvToDo->key(row));
                   modGeneral::OpenToDo(modGeneral::StoredItem(m_lngSelToDo));
               });
}

void frmContEntry::lvAppts_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(QStringLiteral("frmContEntry.lvAppts_Click"), Tail::Action,
               QStringLiteral("opening the Appointments dialog"), [&] {
                   m_lngSelAppt = modGeneral::KeyRecordNumber(lvAppts->key(row));
                   modGeneral::OpenAppt(modGeneral::StoredItem(m_lngSelAppt));
               });
}

void frmContEntry::lvHistPane_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(QStringLiteral("frmContEntry.lvHistPane_Click"), Tail::Unknown, [&] {
        const QString key = lvHistPane->key(row);
        const QString kind = key.left(2);
        if (kind == QLatin1String("CA") || kind == QLatin1String("NT")) {
            modGeneral::OpenNote(modGeneral::StoredItem(modGeneral::KeyRecordNumber(key)));
        } else if (kind == QLatin1String("TD")) {
            modGeneral::OpenToDo(modGeneral::StoredItem(modGeneral::KeyRecordNumber(key)));
        } else if (kind == QLatin1String("AP")) {
            modGeneral::OpenAppt(modGeneral::StoredItem(modGeneral::KeyRecordNumber(key)));
        }
    });
}

void frmContEntry::lvRelPrj_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(QStringLiteral("frmContEntry.lvRelPrj_Click"), Tail::Action,
               QStringLiteral("opening the Related Project Information screen"), [&] {
                   g_lngCurProjID = modGeneral::KeyRecordNumber(lvRelPrj->key(row));
                   // Closes this editor too (it goes once the click is done).
                   modGeneral::CloseAllChildForms();
                   ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmProjEntry"));
               });
}

void frmContEntry::lvRelCon_MouseUp(Qt::MouseButton button, int row) {
    if (button == Qt::LeftButton) {
        if (modGeneral::NothingSelected(row)) return;
        core::trap(QStringLiteral("frmContEntry.lvRelCon_MouseUp"), Tail::Silent, [&] {
            const int32_t contactId = modGeneral::KeyRecordNumber(lvRelCon->key(row));
            ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmSwtContact"),
                                                        {{QStringLiteral("m_lngContactID"), contactId}});
        });
    } else if (button == Qt::RightButton) {
        if (lvRelCon->rowCount() == 0 || modGeneral::NothingSelected(row)) return;
        core::trap(QStringLiteral("frmContEntry.lvRelCon_MouseUp"), Tail::Silent, [&] {
            // The row under the mouse, whichever was selected before.
            lvRelCon->setSelectedRow(row);
            MainWindowPopup("PopupRCMemo",
                            {{"m_lngRelContID", modGeneral::KeyRecordNumber(lvRelCon->key(row))},
                             {"m_strOldRCMemo", lvRelCon->text(row, 1)}});
        });
    }
}

void frmContEntry::lvUserDef_MouseUp(Qt::MouseButton button, int row) {
    if (button != Qt::RightButton || lvUserDef->rowCount() == 0) return;
    if (modGeneral::NothingSelected(row)) return;
    core::trap(QStringLiteral("frmContEntry.lvUserDef_MouseUp"), Tail::Unknown, [&] {
        lvUserDef->setSelectedRow(row);
        MainWindowPopup("PopupDelContFld",
                        {{"m_lngContUserFld", modGeneral::KeyRecordNumber(lvUserDef->key(row))},
                         {"m_strContUserFld", lvUserDef->text(row)}});
    });
}
