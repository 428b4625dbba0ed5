// The contact editor's profile boxes: focus, tool tips, the save-on-leave dispatch and the writers of
// single Contacts columns.
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <utility>

#include "contacts/frmContEntry.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/DbError.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/TextLimit.h"

using core::Tail;

namespace {

// The Contacts column each writable single box shows.
QString ColumnOfBox(int index) {
    switch (index) {
        case 0:
            return QStringLiteral("FullName");
        case 3:
            return QStringLiteral("CompName");
        case 4:
            return QStringLiteral("JobTitle");
        case 17:
            return QStringLiteral("Setting");
        default:
            return {};
    }
}

// Focus moving to another window (a dialog, a message box) or into a pop-up menu is not the user
// leaving the box: the edit is still there when the window is active again, and coming back to the
// same box is not a new visit.
bool OtherWindow(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

QWidget* frmContEntry::Text1(int index) const {
    return index >= 0 && index < kBoxCount ? m_text1[index].widget : nullptr;
}

QString frmContEntry::Text1Text(int index) const {
    if (index < 0 || index >= kBoxCount) return {};
    const ProfileBox& box = m_text1[index];
    return box.line ? box.line->text() : ui::PlainText(box.memo);
}

// Every loader fills the boxes through here. The box being visited takes what it shows now as its
// old text: leaving it then writes only what the user changes after the fill, not the fill itself
// (a dialog's save would otherwise come back through the box's own writer, and its parser).
void frmContEntry::SetText1Text(int index, const QString& text) {
    ProfileBox& box = m_text1[index];
    if (box.line) {
        box.line->setText(text);
    } else {
        box.memo->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    if (index == m_focusIndex) m_strOldText = Text1Text(index);
}

bool frmContEntry::Text1Locked(int index) const {
    const ProfileBox& box = m_text1[index];
    return box.line ? box.line->isReadOnly() : box.memo->isReadOnly();
}

void frmContEntry::SetText1Locked(int index, bool locked) {
    ProfileBox& box = m_text1[index];
    if (box.line) {
        box.line->setReadOnly(locked);
    } else {
        box.memo->setReadOnly(locked);
    }
}

bool frmContEntry::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == picBanner && type == QEvent::Resize) {
        picBanner_Resize();
    } else if (const auto icon = m_iconIndex.constFind(watched); icon != m_iconIndex.constEnd()) {
        if (type == QEvent::MouseButtonPress) {
            picPop_MouseDown(icon.value(), static_cast<QMouseEvent*>(event)->button());
        } else if (type == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            picPop_MouseUp(icon.value(), mouse->button());
            const auto* pic = static_cast<QWidget*>(watched);
            if (mouse->button() == Qt::LeftButton && pic->rect().contains(mouse->position().toPoint()))
                picPop_Click(icon.value());
        }
    } else if (const auto box = m_boxIndex.constFind(watched); box != m_boxIndex.constEnd()) {
        // After the close nothing is read or written any more.
        if (type == QEvent::FocusIn && !m_blnUnloaded) {
            const bool back =
                OtherWindow(static_cast<QFocusEvent*>(event)->reason()) && m_focusIndex == box.value();
            if (!back) Text1_GotFocus(box.value());
        } else if (type == QEvent::FocusOut && !m_blnUnloaded) {
            if (!OtherWindow(static_cast<QFocusEvent*>(event)->reason())) Text1_LostFocus(box.value());
        } else if (type == QEvent::MouseMove) {
            Text1_MouseMove(box.value());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmContEntry::Text1_GotFocus(int index) {
    m_focusIndex = index;
    modGeneral::highLight();
    m_strOldText = Text1Text(index);
}

void frmContEntry::Text1_LostFocus(int index) {
    if (m_focusIndex == index) m_focusIndex = -1;
    // What a locked box shows was put there by a loader or a dialog, never typed: it is not written.
    if (!IsLoaded() || Text1Locked(index)) return;
    core::trap(QStringLiteral("frmContEntry.Text1_LostFocus"), Tail::Silent, [&] {
        m_strNewText = Text1Text(index);
        // Letter case counts: "acme" to "Acme" is written.
        if (m_strNewText == m_strOldText) return;
        // The child-row writers see for themselves whether a row of their kind is stored.
        switch (index) {
            case 0:
            case 3:
            case 4:
            case 17:
                // An emptied box is not saved; it shows the stored text again.
                if (m_strNewText.isEmpty()) {
                    RestoreStoredText(index);
                } else if (index == 0) {
                    EditContactName();
                } else if (index == 3) {
                    EditCompName();
                } else if (index == 4) {
                    EditJobTitle();
                } else {
                    EditSetting();
                }
                break;
            case 5:
            case 6:
            case 7:
            case 8: {
                // Each address gets its own freshly split parts.
                AddressParts parts = ParseStrAddr(m_strNewText);
                if (index == 5) {
                    EditHomeAddress(std::move(parts));
                } else if (index == 6) {
                    EditWorkAddress(std::move(parts));
                } else if (index == 7) {
                    EditBillingAddress(std::move(parts));
                } else {
                    EditShippingAddress(std::move(parts));
                }
                break;
            }
            case 9:
                EditHomePhone();
                break;
            case 10:
                EditWorkPhone();
                break;
            case 11:
                EditMobilePhone();
                break;
            case 12:
                EditOtherPhone();
                break;
            case 13:
                EditFaxPhone();
                break;
            case 14:
                EditPersonalEmail();
                break;
            case 15:
                EditWorkEmail();
                break;
            case 16:
                EditOtherEmail();
                break;
            default:
                break;  // Shown As and Groups are never written from here
        }
    });
}

void frmContEntry::Text1_MouseMove(int index) {
    // A several-line address reads on one line.
    QString tip = Text1Text(index);
    tip.replace(QStringLiteral("\r\n"), QStringLiteral("  "))
        .replace(QLatin1Char('\n'), QStringLiteral("  "));
    m_text1[index].widget->setToolTip(tip);
}

void frmContEntry::CommitFocusedBox() {
    if (m_focusIndex >= 0) Text1_LostFocus(m_focusIndex);
}

void frmContEntry::RestoreStoredText(int index) {
    core::trap(QStringLiteral("frmContEntry.RestoreStoredText"), Tail::Silent, [&] {
        QString stored;
        m_rsContacts.setIndex(QStringLiteral("PrimaryKey"));
        m_rsContacts.Seek(QStringLiteral("="), m_lngContID);
        if (!m_rsContacts.NoMatch()) stored = m_rsContacts.Value(ColumnOfBox(index)).toString();
        SetText1Text(index, stored);
    });
}

// ---------------------------------------------------------------------------------------------
// Column writers: each edits the current contact's row and nothing else (ShownName stays).

void frmContEntry::EditContactName() {
    WriteContactColumn(QStringLiteral("frmContEntry.EditContactName"),
                       QStringLiteral("An un-known error occurred editing the Contact Name!"), 0,
                       QStringLiteral("FullName"));
}

void frmContEntry::EditCompName() {
    WriteContactColumn(QStringLiteral("frmContEntry.EditCompName"),
                       QStringLiteral("An un-known error occurred while editing the Company Name!"), 3,
                       QStringLiteral("CompName"));
}

void frmContEntry::EditJobTitle() {
    WriteContactColumn(QStringLiteral("frmContEntry.EditJobTitle"),
                       QStringLiteral("An un-known error occurred while editing the Job Title!"), 4,
                       QStringLiteral("JobTitle"));
}

void frmContEntry::EditSetting() {
    WriteContactColumn(QStringLiteral("frmContEntry.EditSetting"),
                       QStringLiteral("An un-known error occurred while editing the Contact Setting!"), 17,
                       QStringLiteral("Setting"));
}

void frmContEntry::WriteContactColumn(const QString& procName, const QString& message, int index,
                                      const QString& column) {
    const bool written = core::trap(procName, Tail::Silent, [&] {
        // The row must still be there: an update that reaches no row is a failure, not a success.
        m_rsContacts.setIndex(QStringLiteral("PrimaryKey"));
        m_rsContacts.Seek(QStringLiteral("="), m_lngContID);
        if (m_rsContacts.NoMatch()) {
            throw db::DbError(db::kErrNoCurrentRecord,
                              QStringLiteral("The contact's record no longer exists."));
        }
        m_rsContacts.Edit();
        m_rsContacts.Fields(column) = Text1Text(index);
        m_rsContacts.Update();
        // Update reads the row back; a row gone meanwhile reads back empty.
        if (m_rsContacts.Value(QStringLiteral("ContID")).isNull()) {
            throw db::DbError(db::kErrNoCurrentRecord,
                              QStringLiteral("The contact's record no longer exists."));
        }
    });
    if (!written) {
        m_rsContacts.CancelUpdate();
        // Writers run while the focus moves; the box waits until the move is done.
        ui::MsgBoxQueued(message + QStringLiteral("\nSorry for the inconvenience"), ui::OKOnly,
                         ui::ProgramTitle());
    }
}
