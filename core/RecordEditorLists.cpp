// What the record editors share of their side lists, history and comment: the to-do, appointment,
// user-value and history lists of the record, the History tab, the "New:" box, the clicks that open
// an item's dialog, and the Comments tab with its Time-Saver. Each editor names its tables, its
// owner column and its messages in its Kind; the lists that differ (related records) are its own.
#include <QCursor>
#include <QIcon>
#include <QLocale>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextCursor>

#include "core/Clock.h"
#include "core/MainWindowLink.h"
#include "core/RecordEditor.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/Error.h"
#include "platform/db/Database.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DateTexts.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"

namespace core {

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

QIcon ItemIcon(const QWidget* w, const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(themeName), w->style()->standardIcon(fallback));
}

// Stored with CR LF line breaks, as every multi-line text.
QString Stored(const QPlainTextEdit* box) {
    return ui::PlainText(box).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Tables and wiring

void RecordEditor::OpenListTables() {
    m_rsAttach = g_dbLocal->OpenRecordset(QStringLiteral("Attach"));
    m_rsComments = g_dbLocal->OpenRecordset(m_kind.commentsTable);
    m_strNType = QStringLiteral("N");
}

void RecordEditor::ConnectListsAndHistory() {
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
    connect(cmdUserFld, &QPushButton::clicked, this, [this] { cmdUserFld_Click(); });
    connect(cmdAddFile, &QPushButton::clicked, this, [this] { cmdAddFile_Click(); });

    // A click acts on the row under the mouse; one beside the rows finds none (-1).
    const auto onLeftClick = [this](ui::ListView* list, void (RecordEditor::*handler)(int)) {
        connect(list, &ui::ListView::rowClicked, this, [this, handler](int row, Qt::MouseButton button) {
            if (button == Qt::LeftButton) (this->*handler)(row);
        });
        connect(list, &ui::ListView::emptyAreaClicked, this, [this, handler](Qt::MouseButton button) {
            if (button == Qt::LeftButton) (this->*handler)(-1);
        });
    };
    onLeftClick(lvHist, &RecordEditor::lvHist_Click);
    onLeftClick(lvToDo, &RecordEditor::lvToDo_Click);
    onLeftClick(lvAppts, &RecordEditor::lvAppts_Click);
    connect(lvUserDef, &ui::ListView::rowClicked, this,
            [this](int row, Qt::MouseButton button) { lvUserDef_MouseUp(button, row); });
    connect(lvUserDef, &ui::ListView::emptyAreaClicked, this,
            [this](Qt::MouseButton button) { lvUserDef_MouseUp(button, -1); });
}

void RecordEditor::FillList(const QString& procedure, ui::ListView& list, bool clearFirst, const QString& sql,
                            const QVariantList& params, const std::function<void()>& addRow) {
    ui::ListView::Batch batch(list);
    core::trap(procedure, Tail::Silent, [&] {
        m_rsList = g_dbLocal->OpenRecordset(sql, params);
        if (clearFirst) list.clear();
        if (!m_rsList.Eof()) {
            m_rsList.MoveFirst();
            while (!m_rsList.Eof()) {
                addRow();
                m_rsList.MoveNext();
            }
        }
        if (g_blnAltColors) modGeneral::AltLVBackground(list, picGrdClr, 0, -1);
        m_rsList.Close();
    });
    m_rsList.Close();
}

void RecordEditor::MainWindowPopup(const QString& popup, const QVariantMap& members) {
    core::MainWindowLink* link = core::MainWindow();
    QWidget* window = link ? link->Widget() : nullptr;
    if (!window) return;
    for (auto it = members.cbegin(); it != members.cend(); ++it)
        window->setProperty(it.key().toLatin1(), it.value());
    if (!QMetaObject::invokeMethod(window, popup.toLatin1().constData(), Qt::DirectConnection,
                                   Q_ARG(QPoint, QCursor::pos())))
        throw platform::Error(438, QStringLiteral("Object doesn't support this property or method"));
}

// ---------------------------------------------------------------------------------------------
// Info tab loaders

void RecordEditor::FillNotesAndCalls(
    const QString& procedure, ui::ListView& list, bool clearFirst,
    const std::function<void(const QVariant& id, bool call, const QVariant& stamp)>& addRow) {
    FillList(procedure, list, clearFirst,
             QStringLiteral("SELECT RefNum, %1, NType, TextBody, DateStamp FROM Attach WHERE %1 = ?")
                     .arg(m_kind.ownerColumn) +
                 QStringLiteral(" ORDER BY DateStamp DESC"),
             {RecordID()}, [&] {
                 const QVariant id = m_rsList.Value(0);
                 const QString type = m_rsList.Value(2).toString();
                 const QVariant stamp = m_rsList.Value(4);
                 const bool call = type == QLatin1String("C");
                 if (id.isNull() || (!call && type != QLatin1String("N")) || stamp.isNull()) return;
                 addRow(id, call, stamp);
             });
}

void RecordEditor::LoadHistory() {
    if (!IsLoaded()) return;
    ui::DateTexts monthDay(QStringLiteral("MM/dd"));
    FillNotesAndCalls(m_kind.formName + QLatin1Char('.') + m_kind.historyLoader, *lvHist, true,
                      [&](const QVariant& id, bool call, const QVariant& stamp) {
                          const int row =
                              lvHist->addRow(Key("ID", id), monthDay(stamp), call ? kIconCall : kIconNote);
                          lvHist->setSubItem(row, 1, OneLine(m_rsList.Value(3)));
                      });
}

void RecordEditor::LoadToDoInfo() {
    if (!IsLoaded()) return;
    const QLocale c = QLocale::c();
    // The unary plus keeps SQLite on the record's index: the Completed index matches most rows.
    FillList(ProcName("LoadToDoInfo"), *lvToDo, true,
             QStringLiteral("SELECT RefNum, Subject, %1, DueDate, Completed FROM ToDo WHERE %1 = ?")
                     .arg(m_kind.ownerColumn) +
                 QStringLiteral(" AND +Completed = False ") + QStringLiteral(" ORDER BY DueDate Desc"),
             {RecordID()}, [&] {
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

void RecordEditor::LoadApptsInfo() {
    if (!IsLoaded()) return;
    ui::DateTexts weekdayMonthDay(QStringLiteral("ddd MM/dd"));
    FillList(ProcName("LoadApptsInfo"), *lvAppts, true,
             QStringLiteral("SELECT RefNum, %1, Subject, DateFrom FROM Appts WHERE DateFrom >= ?")
                     .arg(m_kind.ownerColumn) +
                 QStringLiteral(" AND %1 = ?").arg(m_kind.ownerColumn) +
                 QStringLiteral(" ORDER BY DateFrom DESC"),
             {core::Clock::Today(), RecordID()}, [&] {
                 const QVariant id = m_rsList.Value(0);
                 if (id.isNull()) return;
                 const int row = lvAppts->addRow(Key("ID", id), weekdayMonthDay(m_rsList.Value(3)));
                 // No subject: an empty cell.
                 lvAppts->setSubItem(row, 1, m_rsList.Value(2).toString());
             });
}

void RecordEditor::LoadUserDefInfo() {
    if (!IsLoaded()) return;
    FillList(ProcName("LoadUserDefInfo"), *lvUserDef, true,
             QStringLiteral("SELECT RefNum, %1, fkUserFld, Value FROM %2 WHERE %1 = ?")
                     .arg(m_kind.ownerColumn, m_kind.valuesTable) +
                 QStringLiteral(" ORDER BY fkUserFld"),
             {RecordID()}, [&] {
                 const QVariant field = m_rsList.Value(2);
                 if (field.isNull()) return;
                 const int row = lvUserDef->addRow(Key("ID", m_rsList.Value(0)), field.toString());
                 lvUserDef->setSubItem(row, 1, m_rsList.Value(3).toString());
             });
}

// ---------------------------------------------------------------------------------------------
// History tab

void RecordEditor::cboHistFilter_Click() {
    if (!IsLoaded()) return;
    core::trap(ProcName("cboHistFilter_Click"), Tail::Message, m_kind.failures.filter, [&] {
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

void RecordEditor::LoadNotesCallsHistory() {
    ui::DateTexts date(QStringLiteral("MM/dd/yyyy"));
    FillNotesAndCalls(ProcName("LoadNotesCallsHistory"), *lvHistPane, !m_blnAllItems,
                      [&](const QVariant& id, bool call, const QVariant& stamp) {
                          const int row = lvHistPane->addRow(Key(call ? "CA" : "NT", id), date(stamp),
                                                             call ? kIconCall : kIconNote);
                          lvHistPane->setSubItem(row, 1, call ? QStringLiteral("Call") : QStringLiteral("Note"));
                          lvHistPane->setSubItem(row, 2, OneLine(m_rsList.Value(3)));
                      });
}

void RecordEditor::LoadToDoHistory() {
    ui::DateTexts date(QStringLiteral("MM/dd/yyyy"));
    FillList(ProcName("LoadToDoHistory"), *lvHistPane, !m_blnAllItems,
             QStringLiteral("SELECT RefNum, Subject, %1, DueDate, TextBody FROM ToDo WHERE %1 = ?")
                     .arg(m_kind.ownerColumn) +
                 QStringLiteral(" ORDER BY DueDate Desc"),
             {RecordID()}, [&] {
                 const QVariant id = m_rsList.Value(0);
                 const QVariant due = m_rsList.Value(3);
                 if (id.isNull() || due.isNull()) return;
                 const int row = lvHistPane->addRow(Key("TD", id), date(due), kIconToDo);
                 lvHistPane->setSubItem(row, 1, QStringLiteral("To Do"));
                 lvHistPane->setSubItem(
                     row, 2,
                     m_rsList.Value(1).toString() + QStringLiteral(" - ") + OneLine(m_rsList.Value(4)));
             });
}

void RecordEditor::LoadApptsHistory() {
    ui::DateTexts date(QStringLiteral("MM/dd/yyyy"));
    FillList(ProcName("LoadApptsHistory"), *lvHistPane, !m_blnAllItems,
             QStringLiteral("SELECT RefNum, %1, Subject, DateFrom, TextBody FROM Appts WHERE %1 = ?")
                     .arg(m_kind.ownerColumn) +
                 QStringLiteral(" ORDER BY DateFrom DESC"),
             {RecordID()}, [&] {
                 const QVariant id = m_rsList.Value(0);
                 if (id.isNull()) return;
                 const int row = lvHistPane->addRow(Key("AP", id), date(m_rsList.Value(3)), kIconAppt);
                 lvHistPane->setSubItem(row, 1, QStringLiteral("Appointment"));
                 lvHistPane->setSubItem(
                     row, 2,
                     m_rsList.Value(2).toString() + QStringLiteral(" - ") + OneLine(m_rsList.Value(4)));
             });
}

// ---------------------------------------------------------------------------------------------
// New note or call

void RecordEditor::optNType_Click(int index) {
    m_strNType = index == 1 ? QStringLiteral("C") : QStringLiteral("N");
}

bool RecordEditor::PostNewHistoryItem() {
    return core::trap(ProcName("PostNewHistoryItem"), Tail::Message, m_kind.failures.postNote, [&] {
        // Blanks alone are a note; only an empty box posts nothing.
        if (ui::PlainText(txtNewNote).isEmpty()) return;
        // Never a note for a record that is gone.
        RequireStoredRecord();
        if (m_rsAttach.EditInProgress()) m_rsAttach.CancelUpdate();
        m_rsAttach.AddNew();
        m_rsAttach.Fields(QStringLiteral("TextBody")) = Stored(txtNewNote);
        m_rsAttach.Fields(m_kind.ownerColumn) = RecordID();
        m_rsAttach.Fields(QStringLiteral("NType")) = m_strNType;
        try {
            m_rsAttach.Update();
        } catch (...) {
            m_rsAttach.CancelUpdate();
            throw;
        }
    });
}

void RecordEditor::cmdHist_Click() {
    if (!IsLoaded()) return;
    core::trap(ProcName("cmdHist_Click"), Tail::Silent, [&] {
        const bool posted = PostNewHistoryItem();
        LoadHistory();
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
// Buttons and list clicks

void RecordEditor::cmdAppts_Click() {
    core::trap(ProcName("cmdAppts_Click"), Tail::Message, m_kind.failures.newAppt, [] {
        // The dialog preselects this record: the active-screen code names the editor.
        modGeneral::OpenAppt(modGeneral::NewItem());
    });
}

void RecordEditor::cmdUserFld_Click() {
    core::trap(ProcName("cmdUserFld_Click"), Tail::Message, m_kind.failures.userFields,
               [&] { ui::ScreenRegistry::instance().openRequired(m_kind.userFieldsDialog); });
}

void RecordEditor::cmdAddFile_Click() {
    ui::MsgBox(QStringLiteral("Sorry, this feature is not available yet."), ui::OKOnly, ui::ProgramTitle());
}

void RecordEditor::lvHist_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(ProcName("lvHist_Click"), Tail::Message, m_kind.failures.openNote, [&] {
        modGeneral::OpenNote(modGeneral::StoredItem(modGeneral::KeyRecordNumber(lvHist->key(row))));
    });
}

void RecordEditor::lvToDo_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(ProcName("lvToDo_Click"), Tail::Message, m_kind.failures.openToDo, [&] {
        modGeneral::OpenToDo(modGeneral::StoredItem(modGeneral::KeyRecordNumber(lvToDo->key(row))));
    });
}

void RecordEditor::lvAppts_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(ProcName("lvAppts_Click"), Tail::Message, m_kind.failures.openAppt, [&] {
        modGeneral::OpenAppt(modGeneral::StoredItem(modGeneral::KeyRecordNumber(lvAppts->key(row))));
    });
}

void RecordEditor::lvUserDef_MouseUp(Qt::MouseButton button, int row) {
    if (button != Qt::RightButton || lvUserDef->rowCount() == 0) return;
    if (modGeneral::NothingSelected(row)) return;
    core::trap(ProcName("lvUserDef_MouseUp"), Tail::Unknown, [&] {
        // The row under the mouse, whichever was selected before.
        lvUserDef->setSelectedRow(row);
        MainWindowPopup(m_kind.valuePopup,
                        {{m_kind.valueNumber, modGeneral::KeyRecordNumber(lvUserDef->key(row))},
                         {m_kind.valueName, lvUserDef->text(row)}});
    });
}

// ---------------------------------------------------------------------------------------------
// Comments tab

void RecordEditor::txtComments_Change() {
    m_blnCommentChanged = true;
}

void RecordEditor::LoadComments() {
    if (!IsLoaded()) return;
    core::trap(ProcName("LoadComments"), Tail::Silent, [&] {
        // The program keeps one row per record; should there be more, the first stored is the one.
        m_rsList = g_dbLocal->OpenRecordset(
            QStringLiteral("SELECT RefNum, %1, Comments FROM %2 ")
                    .arg(m_kind.ownerColumn, m_kind.commentsTable) +
                QStringLiteral("WHERE %1 = ? ORDER BY RefNum").arg(m_kind.ownerColumn),
            {RecordID()});
        if (m_rsList.Eof()) {
            m_blnNewComment = true;
        } else {
            m_rsList.MoveFirst();
            m_blnNewComment = false;
            m_lngCommentID = m_rsList.Value(QStringLiteral("RefNum")).toInt();
            const QVariant comments = m_rsList.Value(QStringLiteral("Comments"));
            if (!comments.isNull())
                txtComments->setPlainText(
                    comments.toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        }
        // Filling the box is no change of the user's.
        m_blnCommentChanged = false;
        m_rsList.Close();
    });
    m_rsList.Close();
}

// A tab click, and the close, post a changed comment: a new row while the record has none. The
// choice is the editor's own, never the program-wide edit mode that the item dialogs read.
void RecordEditor::PostChangedComment() {
    if (m_blnCommentChanged) PostCommentEntry(m_blnNewComment ? 0 : 2);
}

void RecordEditor::PostCommentEntry(int entryMode) {
    if (entryMode != 0 && entryMode != 2) return;
    const QString posting = QStringLiteral("Posting %1 Comments").arg(m_kind.commentsOf);
    const bool done = core::trap(ProcName("PostCommentEntry"), Tail::Action, posting, [&] {
        ui::SetBusy();
        modGeneral::SetStatus(posting, true);
        const QString text = Stored(txtComments);
        // Never a comment for a record that is gone.
        RequireStoredRecord();
        if (entryMode == 0) {
            m_rsComments.AddNew();
        } else {
            m_rsComments.setIndex(QStringLiteral("PrimaryKey"));
            m_rsComments.Seek(QStringLiteral("="), m_lngCommentID);
            if (m_rsComments.NoMatch()) {
                modGeneral::SetStatus(QString());
                ui::MsgBox(QStringLiteral("Error Posting Record"), ui::OKOnly,
                           QStringLiteral("Posting Error"));
                return;
            }
            m_rsComments.Edit();
        }
        m_rsComments.Fields(m_kind.ownerColumn) = RecordID();
        if (!text.isEmpty()) {
            m_rsComments.Fields(QStringLiteral("Comments")) = text;
        } else if (entryMode == 2) {
            // An emptied box empties the stored comment, so that screen and row agree.
            m_rsComments.Fields(QStringLiteral("Comments")) = QVariant();
        }
        m_rsComments.Update();
        if (entryMode == 0) m_lngCommentID = static_cast<int32_t>(m_rsComments.LastAddedKey());
        // Later posts while the editor stays open edit this one row.
        m_blnNewComment = false;
        m_blnCommentChanged = false;
        modGeneral::SetStatus(QString());
    });
    // After a failure the state is as before, so the next tab click tries again.
    if (!done) m_rsComments.CancelUpdate();
}

// The Time-Saver: the selected part of the comment starts a new item.
void RecordEditor::lblHyper_Click(int index) {
    if (!IsLoaded()) return;
    core::trap(ProcName("lblHyper_Click"), Tail::Silent, [&] {
        // Paragraph and line separators of the selection become the line breaks items are stored with.
        QString selected = txtComments->textCursor().selectedText();
        selected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"))
            .replace(QChar::LineSeparator, QStringLiteral("\r\n"));
        if (selected.isEmpty()) {
            ui::MsgBox(QStringLiteral("There is no selected text, from %1 Comments.").arg(m_kind.commentsOf),
                       ui::OKOnly, ui::ProgramTitle());
            return;
        }
        // The new item's dialog puts this into its text box and chooses this record; it saves the
        // item on its own OK.
        switch (index) {
            case 0:
                modGeneral::OpenToDo(modGeneral::NewItem(selected));
                break;
            case 3:
                modGeneral::OpenAppt(modGeneral::NewItem(selected));
                break;
            case 4:
                modGeneral::OpenNote(modGeneral::NewItem(selected));
                break;
            default:
                ui::MsgBox(QStringLiteral("Sorry, this feature is not available yet."), ui::OKOnly,
                           ui::ProgramTitle());
                return;
        }
    });
}

}  // namespace core
