// The contact editor's Comments tab: the contact's one free-form comment, posted on a tab click or
// when the editor closes, and the Time-Saver links that start a new item from the selected text.
#include <QPlainTextEdit>
#include <QTextCursor>

#include "contacts/frmContEntry.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/TextLimit.h"

using core::Tail;

void frmContEntry::txtComments_Change() {
    m_blnCommentChanged = true;
}

void frmContEntry::LoadComments() {
    if (!IsLoaded()) return;
    core::trap(QStringLiteral("frmContEntry.LoadComments"), Tail::Silent, [&] {
        m_rsList =
            g_dbLocal->OpenRecordset(QStringLiteral("SELECT RefNum, fkContID, Comments FROM CComments ") +
                                     QStringLiteral("WHERE fkContID = ") + QString::number(m_lngContID));
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

// A tab click, and the close, post a changed comment: a new row while the contact has none.
void frmContEntry::PostChangedComment() {
    if (m_blnCommentChanged) PostCommentEntry(m_blnNewComment ? 0 : 2);
}

void frmContEntry::PostCommentEntry(int entryMode) {
    if (entryMode != 0 && entryMode != 2) return;
    const bool done = core::trap(QStringLiteral("frmContEntry.PostCommentEntry"), Tail::Action,
                                 QStringLiteral("Posting Contact Comments"), [&] {
                                     ui::SetBusy();
                                     modGeneral::SetStatus(QStringLiteral("Posting Contact Comments"), true);
                                     const QString text = ui::PlainText(txtComments).replace(
                                         QLatin1Char('\n'), QStringLiteral("\r\n"));
                                     // Never a comment for a contact that is gone.
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
                                     m_rsComments.Fields(QStringLiteral("fkContID")) = m_lngContID;
                                     if (!text.isEmpty()) {
                                         m_rsComments.Fields(QStringLiteral("Comments")) = text;
                                     } else if (entryMode == 2) {
                                         // An emptied box empties the stored comment, so that screen and row
                                         // agree.
                                         m_rsComments.Fields(QStringLiteral("Comments")) = QVariant();
                                     }
                                     m_rsComments.Update();
                                     if (entryMode == 0)
                                         m_lngCommentID = static_cast<int32_t>(m_rsComments.LastAddedKey());
                                     // Later posts while the editor stays open edit this one row.
                                     m_blnNewComment = false;
                                     m_blnCommentChanged = false;
                                     modGeneral::SetStatus(QString());
                                 });
    // After a failure the state is as before, so the next tab click tries again.
    if (!done) m_rsComments.CancelUpdate();
}

// ---------------------------------------------------------------------------------------------
// Time-Saver

void frmContEntry::lblHyper_Click(int index) {
    if (!IsLoaded()) return;
    core::trap(QStringLiteral("frmContEntry.lblHyper_Click"), Tail::Silent, [&] {
        // Paragraph and line separators of the selection become the line breaks items are stored with.
        QString selected = txtComments->textCursor().selectedText();
        selected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"))
            .replace(QChar::LineSeparator, QStringLiteral("\r\n"));
        if (selected.isEmpty()) {
            ui::MsgBox(QStringLiteral("There is no selected text, from Contact Comments."), ui::OKOnly,
                       ui::ProgramTitle());
            return;
        }
        // The new item's dialog puts this into its text box; it saves the item on its own OK.
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
