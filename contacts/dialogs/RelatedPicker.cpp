#include "contacts/dialogs/RelatedPicker.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Activation.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;
using core::layout::Place;

namespace {

QString Name(const char* text) {
    return QString::fromLatin1(text);
}

}  // namespace

RelatedPicker::RelatedPicker(const RelatedPickerSetup& setup, QWidget* owner)
    : QDialog(owner), m_setup(setup) {
    setObjectName(Name(m_setup.formName));
    setWindowTitle(Name(m_setup.caption));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

RelatedPicker::~RelatedPicker() {
    try {
        m_rsLinks.Close();
    } catch (...) {
    }
}

RelatedPicker* RelatedPicker::Show(RelatedPicker* dialog) {
    if (dialog->m_blnNothingToPick) {
        dialog->close();
        return nullptr;
    }
    return ui::ShownActive(dialog);
}

void RelatedPicker::BuildControls() {
    Label1 = new QLabel(Name(m_setup.heading), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Place(Label1, 120, 120, 3840, 255);

    m_list = new ui::ListBox(this);
    m_list->setObjectName(Name(m_setup.listName));
    Place(m_list, 120, 420, 3840, 2775);
    connect(m_list, &ui::ListBox::listIndexChanged, this, [this](int row) {
        if (row >= 0) List_Click(row);
    });
    m_list->viewport()->installEventFilter(this);

    const QString captions[2] = {QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 1620 + i * 1200, 3330, 1095, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    ui::SetDialogKeys(this, cmdOpts[0]);

    setFixedSize(ui::twips::ToPixelsX(4080), ui::twips::ToPixelsY(3840));
    core::layout::FitCaptions(this);
}

QString RelatedPicker::ProcName(const char* procedure) const {
    return Name(m_setup.formName) + QLatin1Char('.') + QLatin1String(procedure);
}

void RelatedPicker::Form_Load() {
    m_lngCurrent = m_setup.contactIsCurrent ? g_lngCurContID : g_lngCurProjID;
    core::trap(ProcName("Form_Load"), Tail::ErrorBox, [&] {
        m_rsLinks = g_dbLocal->OpenRecordset(QStringLiteral("RelateProject"));
        if (!LoadList()) {
            ui::MsgBox(Name(m_setup.noRowsMessage), ui::OKOnly, ui::ProgramTitle());
            m_blnNothingToPick = true;
        }
    });
    m_blnCancelled = false;
}

bool RelatedPicker::LoadList() {
    QVector<QPair<QString, qint64>> entries;
    try {
        g_dbLocal->ReadNumberedTexts(Name(m_setup.listQuery), {}, Name(m_setup.numberColumn),
                                     Name(m_setup.textColumn), entries);
    } catch (...) {
        m_list->addItems(entries);  // what was read before the failure stays offered
        throw;
    }
    m_list->addItems(entries);
    return !entries.isEmpty();
}

// A click beside the entries chooses nothing and keeps the selection as it was.
bool RelatedPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
         event->type() == QEvent::MouseButtonDblClick)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && !m_list->indexAt(mouse->position().toPoint()).isValid()) {
            if (event->type() == QEvent::MouseButtonRelease) List_Click(-1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RelatedPicker::List_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(Name(m_setup.formName) + QLatin1Char('.') + Name(m_setup.listName) + QStringLiteral("_Click"),
               Tail::Action, Name(m_setup.clickAction),
               [&] { m_lngChosen = static_cast<int32_t>(m_list->itemData(row)); });
}

void RelatedPicker::cmdOpts_Click(int index) {
    if (index == 1) {
        m_blnCancelled = true;
        done(QDialog::Rejected);
        return;
    }
    if (m_lngChosen == 0) {
        ui::MsgBox(Name(m_setup.noChoiceMessage), ui::OKOnly, ui::ProgramTitle());
        return;
    }
    PostEntry();
}

// Closes whether or not the row was written; the editor's list is reloaded either way.
void RelatedPicker::PostEntry() {
    core::trap(ProcName("PostEntry"), Tail::Action, QStringLiteral("Posting this record"), [&] {
        const int32_t contId = m_setup.contactIsCurrent ? m_lngCurrent : m_lngChosen;
        const int32_t projId = m_setup.contactIsCurrent ? m_lngChosen : m_lngCurrent;
        // Both ends must still be there. The name comes from the stored contact, not from the
        // editor, which may have closed since the picker opened.
        modGeneral::RequireRecord(QStringLiteral("Projects"), QStringLiteral("ProjID"), projId);
        db::Recordset contact = g_dbLocal->OpenRecordset(
            QStringLiteral("SELECT ShownName FROM Contacts WHERE ContID = ?"), {contId});
        if (contact.Eof())
            throw db::DbError(db::kErrNoCurrentRecord, QStringLiteral("The record no longer exists."));
        const QString shownName = contact.Value(0).toString();
        contact.Close();

        m_rsLinks.AddNew();
        m_rsLinks.Fields(QStringLiteral("fkProjID")) = projId;
        m_rsLinks.Fields(QStringLiteral("fkContID")) = contId;
        if (!shownName.isEmpty()) m_rsLinks.Fields(QStringLiteral("ContShowName")) = shownName;
        m_rsLinks.Update();
    });
    hide();
    done(QDialog::Accepted);
}

void RelatedPicker::reject() {
    cmdOpts_Click(1);
}

void RelatedPicker::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void RelatedPicker::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void RelatedPicker::Form_Unload() {
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    core::trap(ProcName("Form_Unload"), Tail::Silent, [&] {
        m_rsLinks.Close();
        if (!m_blnCancelled) modGeneral::CallLoader(Name(m_setup.editorForm), m_setup.editorLoader);
    });
}
