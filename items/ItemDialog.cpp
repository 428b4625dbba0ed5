#include "items/ItemDialog.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/DialogLayout.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/Printer.h"
#include "platform/ui/TextLimit.h"

using core::layout::Place;

namespace {

const QColor kBandColour(0xE6, 0xE3, 0xDE);
const QColor kTextBoxColour(0xFF, 0xFF, 0xEA);
const QColor kPlaceholderColour(0x69, 0x69, 0x69);

const QString kBlank = QStringLiteral(" ");

void SetTextColour(QPlainTextEdit* box, const QColor& colour) {
    QPalette p = box->palette();
    p.setColor(QPalette::Text, colour);
    box->setPalette(p);
}

}  // namespace

ItemDialog::ItemDialog(const ItemDialogSetup& setup, const ui::OpenValues& values, QWidget* owner)
    : QDialog(owner), m_setup(setup) {
    setObjectName(QLatin1String(setup.formName));
    setWindowTitle(QLatin1String(setup.caption));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    // What the opener handed over is the dialog's own from here on.
    m_lngEntryMode = values.value(QLatin1String(modGeneral::kEntryModeValue)).toInt();
    if (m_lngEntryMode != 0) m_lngRecordID = values.value(QLatin1String(setup.numberMember)).toInt();
    m_strTimeSaverText = values.value(QLatin1String(modGeneral::kTimeSaverTextValue)).toString();
}

ItemDialog::~ItemDialog() {
    try {
        m_rsItem.Close();
    } catch (...) {
    }
}

const QString& ItemDialog::DescriptionPlaceholder() {
    static const QString text = QStringLiteral(" [enter description / notes]");
    return text;
}

QString ItemDialog::ProcName(const char* procedure) const {
    return QLatin1String(m_setup.formName) + QLatin1Char('.') + QLatin1String(procedure);
}

bool ItemDialog::Trap(const char* procedure, const ItemFailure& failure, const std::function<void()>& body) {
    if (failure.message.isEmpty()) return core::trap(ProcName(procedure), failure.tail, failure.action, body);
    const bool ran = core::trap(ProcName(procedure), core::Tail::Silent, body);
    if (!ran) {
        ui::MsgBox(failure.message + QStringLiteral("\nSorry for the inconvenience"), ui::OKOnly,
                   ui::ProgramTitle());
    }
    return ran;
}

// ---------------------------------------------------------------------------------------------
// Controls

QLabel* ItemDialog::NewBand(const char* name, const QString& caption) {
    auto* band = new QLabel(caption, this);
    band->setObjectName(QLatin1String(name));
    band->setAutoFillBackground(true);
    QPalette p = band->palette();
    p.setColor(QPalette::Window, kBandColour);
    p.setColor(QPalette::WindowText, Qt::black);
    band->setPalette(p);
    QFont bold = band->font();
    bold.setBold(true);
    band->setFont(bold);
    return band;
}

QLabel* ItemDialog::NewLabel(const char* name, const QString& caption) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QLatin1String(name));
    return label;
}

ui::ComboBox* ItemDialog::NewList(int index) {
    auto* list = new ui::ComboBox(ui::ComboBox::DropDownList, this);
    list->setObjectName(QStringLiteral("Combo1(%1)").arg(index));
    if (index == 0 || index == 1) {
        (index == 0 ? Combo1Names : Combo1Projects) = list;
        connect(list, &QComboBox::activated, this, [this, list] { LinkList_Click(list); });
    }
    return list;
}

void ItemDialog::BuildButtons(double top, double right) {
    const QString captions[5] = {QStringLiteral("&New"), QStringLiteral("&Delete"), QStringLiteral("&Print"),
                                 QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    constexpr double kWidth = 1215;
    constexpr double kGap = 105;
    const double left = right - 5 * kWidth - 4 * kGap;
    for (int i = 0; i < 5; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], left + i * (kWidth + kGap), top, kWidth, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    // Enter is OK, Esc is Cancel (the dialog's reject). Print waits for a stored item; whether Delete
    // is offered to a new item is the dialog's choice. The dialogs build their text boxes first.
    ui::SetDialogKeys(this, cmdOpts[3]);
    cmdOpts[2]->setEnabled(false);
}

void ItemDialog::BuildRule(double top, double width) {
    const QColor colours[2] = {QColor(0x80, 0x80, 0x80), Qt::white};
    for (int i = 0; i < 2; ++i) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("Line%1").arg(i + 1));
        line->setAutoFillBackground(true);
        QPalette p = line->palette();
        p.setColor(QPalette::Window, colours[i]);
        line->setPalette(p);
        Place(line, 120, top + i * 15, width, 15);
    }
}

void ItemDialog::SetUpSubject(QLineEdit* box) {
    m_subject = box;
    box->installEventFilter(this);
}

void ItemDialog::SetUpTextBox(QPlainTextEdit* box) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, kTextBoxColour);
    box->setPalette(p);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void ItemDialog::SetUpDescription(QPlainTextEdit* box) {
    SetUpTextBox(box);
    m_description = box;
    box->installEventFilter(this);
}

void ItemDialog::ShowPlaceholder() {
    m_description->setPlainText(DescriptionPlaceholder());
    SetTextColour(m_description, kPlaceholderColour);
}

void ItemDialog::ShowDescription(const QString& stored) {
    m_description->setPlainText(ShownText(stored));
    SetTextColour(m_description, Qt::black);
}

bool ItemDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_subject && event->type() == QEvent::FocusIn) {
        modGeneral::highLightOnFocus(m_subject);
    } else if (watched == m_description && event->type() == QEvent::FocusIn) {
        if (ui::PlainText(m_description) == DescriptionPlaceholder()) {
            m_description->clear();
            SetTextColour(m_description, Qt::black);
        }
    } else if (watched == m_description && event->type() == QEvent::FocusOut) {
        if (ui::PlainText(m_description).isEmpty()) ShowPlaceholder();
    }
    return QDialog::eventFilter(watched, event);
}

QString ItemDialog::StoredDescription(const QPlainTextEdit* box) {
    const QString text = ui::PlainText(box);
    if (text.isEmpty() || text == DescriptionPlaceholder()) return QString();
    return StoredText(text);
}

QString ItemDialog::ShownText(const QString& stored) {
    return QString(stored).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString ItemDialog::StoredText(const QString& shown) {
    return QString(shown).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

// ---------------------------------------------------------------------------------------------
// Load

void ItemDialog::LoadItem() {
    m_rsItem = g_dbLocal->OpenRecordset(QLatin1String(m_setup.table));
    Combo1Names->addItem(kBlank, 0);
    Combo1Projects->addItem(kBlank, 0);
    Combo1Names->setListIndex(0);
    Combo1Projects->setListIndex(0);
    InitializeScreen();
    m_blnCancel = false;
}

void ItemDialog::InitializeScreen() {
    m_blnLoading = true;
    Trap("InitializeScreen", {}, [&] {
        modGeneral::LoadAllNames(*Combo1Names);
        modGeneral::LoadAllProjects(*Combo1Projects);
        if (m_lngEntryMode == 0) {
            // A new item starts with the contact or project of the editor it was opened over.
            if (g_strCurScreen == QLatin1String("CEnt")) {
                ShowCurrentContact();
            } else if (g_strCurScreen == QLatin1String("PEnt")) {
                ShowCurrentProject();
            }
        } else if (!(m_rsItem.Bof() && m_rsItem.Eof())) {
            // Only an empty table stands before its first row and after its last at once: it has
            // nothing to load and nothing to tell. A row gone from among others is a loading failure.
            Trap("PopulateFields", m_setup.loadFailure, [&] { PopulateFields(); });
            cmdOpts[1]->setEnabled(true);
            cmdOpts[2]->setEnabled(true);
        }
    });
    m_blnLoading = false;
}

db::Recordset& ItemDialog::StoredRow() {
    m_rsItem.setIndex(QStringLiteral("PrimaryKey"));
    m_rsItem.Seek(QStringLiteral("="), m_lngRecordID);
    if (m_rsItem.NoMatch()) throw db::DbError(db::kErrNoCurrentRecord, QStringLiteral("No current record."));
    return m_rsItem;
}

void ItemDialog::ShowLink(ui::ComboBox* list, int32_t number, int32_t& held) {
    const int at = list->findData(number);
    list->setListIndex(at >= 0 ? at : 0);
    held = number;
}

void ItemDialog::ShowContact(int32_t contId) {
    ShowLink(Combo1Names, contId, m_lngContID);
}

void ItemDialog::ShowProject(int32_t projId) {
    ShowLink(Combo1Projects, projId, m_lngProjID);
}

// The current contact's or project's entry, chosen by its number; none when it is not listed.
void ItemDialog::ShowCurrentContact() {
    ShowLink(Combo1Names, g_lngCurContID, m_lngContID);
    if (Combo1Names->listIndex() <= 0) m_lngContID = 0;
}

void ItemDialog::ShowCurrentProject() {
    ShowLink(Combo1Projects, g_lngCurProjID, m_lngProjID);
    if (Combo1Projects->listIndex() <= 0) m_lngProjID = 0;
}

void ItemDialog::LinkList_Click(ui::ComboBox* list) {
    Trap("Combo1_Click", {}, [&] {
        const int32_t number = static_cast<int32_t>(list->itemData(list->listIndex()));
        (list == Combo1Names ? m_lngContID : m_lngProjID) = number;
    });
}

void ItemDialog::ResetToNewItem() {
    Combo1Names->setListIndex(0);
    Combo1Projects->setListIndex(0);
    m_lngContID = 0;
    m_lngProjID = 0;
    m_lngEntryMode = 0;
    m_lngRecordID = 0;
    cmdOpts[1]->setEnabled(false);
    cmdOpts[2]->setEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Commands

void ItemDialog::cmdOpts_Click(int index) {
    Trap("cmdOpts_Click", m_setup.commandFailure, [&] {
        switch (index) {
            case 0:
                ClearScreen();
                m_loadedValues = ShownValues();
                break;
            case 1:
                DeleteCurrentRecord();
                break;
            case 2:
                PrintRecord();
                break;
            case 3:
                OK();
                break;
            case 4:
                reject();
                break;
            default:
                break;
        }
    });
}

void ItemDialog::OK() {
    BeforeValidate();
    if (!ValidateEntry()) return;
    PostEntry();
}

void ItemDialog::PostEntry() {
    bool posted = false;
    bool gone = false;
    const bool ran = Trap("PostEntry", m_setup.postFailure, [&] {
        ui::SetBusy();
        modGeneral::SetStatus(QLatin1String(m_setup.postingStatus), true);
        // The item and what belongs to it are written whole or not at all.
        db::Transaction transaction(*g_dbLocal);
        int32_t number = m_lngRecordID;
        if (m_lngEntryMode != 0) {
            m_rsItem.setIndex(QStringLiteral("PrimaryKey"));
            m_rsItem.Seek(QStringLiteral("="), m_lngRecordID);
            if (m_rsItem.NoMatch()) {
                // Told once the transaction has gone (no box while one is open).
                gone = true;
                return;
            }
            m_rsItem.Edit();
        } else {
            m_rsItem.AddNew();
        }
        WriteColumns(m_rsItem);
        m_rsItem.Update();
        if (m_lngEntryMode == 0) number = static_cast<int32_t>(m_rsItem.LastAddedKey());
        PostDependants(number);
        transaction.commit();
        posted = true;
    });
    if (!ran && m_rsItem.EditInProgress()) m_rsItem.CancelUpdate();
    if (gone) {
        ui::SetArrow();
        ui::MsgBox(QStringLiteral("Error Posting Record"), ui::OKOnly, QStringLiteral("Posting Error"));
    }
    if (!posted) return;
    modGeneral::SetStatus(QString());
    hide();
    done(QDialog::Accepted);
}

void ItemDialog::DeleteCurrentRecord() {
    bool deleted = false;
    Trap("DeleteCurrentRecord", m_setup.deleteFailure, [&] {
        if (m_lngEntryMode == 0) {
            ui::MsgBox(QStringLiteral("There is no current record to delete."), ui::OKOnly,
                       ui::ProgramTitle());
            return;
        }
        if (ui::MsgBox(QLatin1String(m_setup.deleteQuestion), ui::YesNo | ui::Critical,
                       QStringLiteral("Warning : Record Deletion")) != ui::Answer::Yes)
            return;
        db::Transaction transaction(*g_dbLocal);
        g_dbLocal->Execute(QStringLiteral("DELETE * FROM ") + QLatin1String(m_setup.table) +
                               QStringLiteral(" WHERE RefNum = ?"),
                           {m_lngRecordID});
        DeleteDependants(m_lngRecordID);
        transaction.commit();
        deleted = true;
    });
    if (!deleted) return;
    hide();
    Reload(m_setup.deleteReloads);
    done(QDialog::Accepted);
}

// Without a printer its name cannot be read: the error goes to the button's trap and nothing is
// printed.
void ItemDialog::PrintRecord() {
    const QString question = QLatin1String(m_setup.printQuestion) + ui::Printer().DeviceName();
    if (ui::MsgBox(question, ui::YesNo | ui::Question, QStringLiteral("Confirm Print Record")) != ui::Answer::Yes)
        return;
    PrintItem();
}

// ---------------------------------------------------------------------------------------------
// Unload

void ItemDialog::reject() {
    m_blnCancel = true;
    done(QDialog::Rejected);
}

void ItemDialog::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void ItemDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Shown once it has loaded, by its opener.
    if (m_loadedValues.isEmpty()) m_loadedValues = ShownValues();
}

bool ItemDialog::HasUnsavedInput() const {
    return !m_loadedValues.isEmpty() && ShownValues() != m_loadedValues;
}

bool ItemDialog::ClosedForReopening(const ui::OpenValues&) {
    if (HasUnsavedInput()) return false;
    reject();
    return true;
}

void ItemDialog::OpenedWhileShown(const ui::OpenValues& values) {
    // Only a dialog holding typed input is left open.
    const bool stored = values.value(QLatin1String(modGeneral::kEntryModeValue)).toInt() != 0;
    const bool asShown = stored && m_lngEntryMode != 0 &&
                         values.value(QLatin1String(m_setup.numberMember)).toInt() == m_lngRecordID;
    if (!asShown)
        ui::MsgBox(QLatin1String(m_setup.busyNotice), ui::OKOnly | ui::Exclamation, ui::ProgramTitle());
}

QStringList ItemDialog::ShownValues() const {
    QStringList values;
    for (const QWidget* w : findChildren<QWidget*>()) {
        // A date picker's calendar is a window of its own, made when it first drops down.
        if (w->window() != this) continue;
        if (w == m_description) {
            values << StoredDescription(m_description);  // the grey placeholder counts as empty
        } else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w)) {
            values << ui::PlainText(plain);
        } else if (const auto* line = qobject_cast<const QLineEdit*>(w)) {
            values << line->text();
        } else if (const auto* list = qobject_cast<const QComboBox*>(w)) {
            values << list->currentText();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w);
                   button && button->isCheckable()) {
            values << QString::number(button->isChecked());
        }
    }
    return values;
}

// The close box is not Cancel: the active screen is reloaded.
void ItemDialog::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void ItemDialog::Form_Unload() {
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    Trap("Form_Unload", {}, [&] {
        m_rsItem.Close();
        if (!m_blnCancel) Reload(m_setup.reloads);
    });
}

void ItemDialog::Reload(const std::vector<ItemReload>& reloads) {
    for (const ItemReload& reload : reloads) {
        // Codes compared exactly; a screen that is not open is left alone.
        if (g_strCurScreen != QLatin1String(reload.code)) continue;
        for (const char* loader : reload.loaders) modGeneral::CallLoader(QLatin1String(reload.form), loader);
        return;
    }
}
