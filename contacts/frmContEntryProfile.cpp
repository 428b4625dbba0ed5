// The contact editor's profile boxes: their texts, tool tips, the save-on-leave dispatch and the
// writers of single Contacts columns. Focus and leaving are core::RecordEditor's.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <utility>

#include "contacts/frmContEntry.h"
#include "platform/ui/TextLimit.h"

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
        ui::ShowText(box.line, text);
    } else {
        box.memo->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    BoxRefilled(index);
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

// A box left with a changed text. The child-row writers see for themselves whether a row of their
// kind is stored.
void frmContEntry::WriteChangedBox(int index) {
    switch (index) {
        case 0:
        case 3:
        case 4:
        case 17:
            // An emptied box is not saved; it shows the stored text again.
            if (m_strNewText.isEmpty()) {
                RestoreStoredText(index, ColumnOfBox(index));
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
}

void frmContEntry::Text1_MouseMove(int index) {
    // A several-line address reads on one line.
    QString tip = Text1Text(index);
    tip.replace(QStringLiteral("\r\n"), QStringLiteral("  "))
        .replace(QLatin1Char('\n'), QStringLiteral("  "));
    m_text1[index].widget->setToolTip(tip);
}

// ---------------------------------------------------------------------------------------------
// Column writers: each edits the current contact's row and nothing else (ShownName stays).

void frmContEntry::EditContactName() {
    WriteRecordColumn(QStringLiteral("frmContEntry.EditContactName"),
                      QStringLiteral("An un-known error occurred editing the Contact Name!"),
                      QStringLiteral("FullName"), Text1Text(0));
}

void frmContEntry::EditCompName() {
    WriteRecordColumn(QStringLiteral("frmContEntry.EditCompName"),
                      QStringLiteral("An un-known error occurred while editing the Company Name!"),
                      QStringLiteral("CompName"), Text1Text(3));
}

void frmContEntry::EditJobTitle() {
    WriteRecordColumn(QStringLiteral("frmContEntry.EditJobTitle"),
                      QStringLiteral("An un-known error occurred while editing the Job Title!"),
                      QStringLiteral("JobTitle"), Text1Text(4));
}

void frmContEntry::EditSetting() {
    WriteRecordColumn(QStringLiteral("frmContEntry.EditSetting"),
                      QStringLiteral("An un-known error occurred while editing the Contact Setting!"),
                      QStringLiteral("Setting"), Text1Text(17));
}
