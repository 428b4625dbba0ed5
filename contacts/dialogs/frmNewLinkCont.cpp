#include "contacts/dialogs/frmNewLinkCont.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <exception>

#include "contacts/NameComposition.h"
#include "core/ContactNumbers.h"
#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/ui/Activation.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"

using core::Tail;
using core::layout::Place;

namespace {

constexpr int kNameLength = 90;
constexpr int kMemoLength = 255;
const QString kHidden = QStringLiteral("Hidden");
const QString kLinkBack = QStringLiteral("Master Contact Entry");

}  // namespace

frmNewLinkCont::frmNewLinkCont(QWidget* owner)
    : QDialog(owner), m_lngContID(g_lngCurContID), m_strContType(NameComposition::kPerson) {
    setObjectName(QStringLiteral("frmNewLinkCont"));
    setWindowTitle(QStringLiteral("Set Up New Linked Contact"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmNewLinkCont::~frmNewLinkCont() {
    m_rsContacts.Close();
    m_rsRelate.Close();
}

frmNewLinkCont* frmNewLinkCont::Open(QWidget* owner) {
    return ui::ShownActive(new frmNewLinkCont(owner));
}

void frmNewLinkCont::BuildControls() {
    lblBanner = core::layout::Heading(this, QStringLiteral("lblBanner"), QStringLiteral(" Name"));
    Place(lblBanner, 120, 120, 5280, 285);

    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    ui::LimitLength(txtName, kNameLength);
    Place(txtName, 240, 510, 5040, 315);
    txtName->installEventFilter(this);

    Label2[0] = new QLabel(QStringLiteral("e.g.  Anna Berg  or  Berg, Anna  or  Berg Tool Works"), this);
    Place(Label2[0], 240, 870, 5040, 255);

    Label1[1] = core::layout::Heading(this, QStringLiteral("Label1(1)"), QStringLiteral(" Memo"));
    Place(Label1[1], 120, 1200, 5280, 285);

    txtMemo = new QLineEdit(this);
    txtMemo->setObjectName(QStringLiteral("txtMemo"));
    ui::LimitLength(txtMemo, kMemoLength);
    Place(txtMemo, 240, 1590, 5040, 315);
    txtMemo->installEventFilter(this);

    Label1[0] = core::layout::Heading(this, QStringLiteral("Label1(0)"),
                                      QStringLiteral(" Is this an individual or a company ?"));
    Place(Label1[0], 120, 2040, 5280, 285);

    const QString captions[2] = {QStringLiteral("An Individual"), QStringLiteral("A Company")};
    const QString examples[2] = {QStringLiteral("( Anna M. Berg )"), QStringLiteral("( Berg Tool Works )")};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optType[i] = new QRadioButton(captions[i], this);
        optType[i]->setObjectName(QStringLiteral("optType(%1)").arg(i));
        Place(optType[i], 360, 2430 + i * 360, 1800, 300);
        group->addButton(optType[i], i);
        connect(optType[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optType_Click(i);
        });

        Label2[i + 1] = new QLabel(examples[i], this);
        Place(Label2[i + 1], 2280, 2430 + i * 360, 3000, 300);
    }
    for (int i = 0; i < 3; ++i) Label2[i]->setObjectName(QStringLiteral("Label2(%1)").arg(i));
    optType[0]->setChecked(true);

    const QString buttons[2] = {QStringLiteral("&Next >"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpt[i] = new QPushButton(buttons[i], this);
        cmdOpt[i]->setObjectName(QStringLiteral("cmdOpt(%1)").arg(i));
        Place(cmdOpt[i], 2760 + i * 1320, 3300, 1215, 375);
        connect(cmdOpt[i], &QPushButton::clicked, this, [this, i] { cmdOpt_Click(i); });
    }
    ui::SetDialogKeys(this, cmdOpt[0]);  // Esc reaches reject(), which is Cancel

    setTabOrder(txtName, txtMemo);
    setTabOrder(txtMemo, optType[0]);
    setTabOrder(optType[0], optType[1]);
    setTabOrder(optType[1], cmdOpt[0]);
    setTabOrder(cmdOpt[0], cmdOpt[1]);

    setFixedSize(ui::twips::ToPixelsX(5520), ui::twips::ToPixelsY(3840));
    core::layout::FitCaptions(this);
}

void frmNewLinkCont::Form_Load() {
    m_blnCancelled = false;
    m_strContType = NameComposition::kPerson;
    core::trap(QStringLiteral("frmNewLinkCont.Form_Load"), Tail::ErrorBox, [&] {
        m_rsContacts = g_dbLocal->OpenRecordset(QStringLiteral("Contacts"));
        m_rsRelate = g_dbLocal->OpenRecordset(QStringLiteral("RelateCont"));
        modAPI::FlatBorder(txtName);
        modAPI::FlatBorder(txtMemo);
        // The new contact's number is taken as its row is added, not here: a contact added elsewhere
        // while the dialog is open must not take it first.
    });
}

bool frmNewLinkCont::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == txtName || watched == txtMemo))
        modGeneral::highLightOnFocus(static_cast<QWidget*>(watched));
    return QDialog::eventFilter(watched, event);
}

void frmNewLinkCont::optType_Click(int index) {
    m_strContType = index == 0 ? NameComposition::kPerson : NameComposition::kCompany;
}

void frmNewLinkCont::cmdOpt_Click(int index) {
    if (index == 1) {
        m_blnCancelled = true;
        done(QDialog::Rejected);
        return;
    }
    core::trap(QStringLiteral("frmNewLinkCont.cmdOpt_Click"), Tail::Unknown, [&] {
        if (!ValidateEntry()) return;
        if (m_strContType == NameComposition::kPerson) {
            m_strTypedName = txtName->text();
            if (!CollectNames()) return;
        } else {
            m_strCompName = txtName->text();
            m_strShownName = m_strCompName;
        }

        // The contact and both its links, or nothing; the number is taken inside, so a retry after a
        // failure takes a fresh one. A failure is logged and told after the rollback: the log row
        // would go with it, and while a box is up a write made elsewhere would join the transaction.
        QString step = QStringLiteral("frmNewLinkCont.GetNewContID");
        std::exception_ptr failure;
        try {
            db::Transaction transaction(*g_dbLocal);
            m_lngNewContID = GetNewContID();
            step = QStringLiteral("frmNewLinkCont.PostEntry");
            PostEntry();
            step = QStringLiteral("frmNewLinkCont.UpdateMainContact");
            UpdateMainContact();
            step = QStringLiteral("frmNewLinkCont.UpdateSubContact");
            UpdateSubContact();
            transaction.commit();
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure) {
            m_rsContacts.CancelUpdate();
            m_rsRelate.CancelUpdate();
            core::trap(step, Tail::Action, QStringLiteral("Posting the information"),
                       [&] { std::rethrow_exception(failure); });
            return;
        }
        done(QDialog::Accepted);
    });
}

bool frmNewLinkCont::ValidateEntry() {
    if (!txtName->text().isEmpty()) return true;
    ui::MsgBox(QStringLiteral("You must enter an individual name or a company name."),
               ui::OKOnly | ui::Information, QStringLiteral("Validate : Name Entry"));
    txtName->setFocus();
    return false;
}

bool frmNewLinkCont::CollectNames() {
    // Nothing of a name refused before may stay in the parts.
    const auto name = NameComposition::CollectPersonName(QStringLiteral("frmNewLinkCont.CollectNames"), m_strTypedName);
    const NameComposition::PersonName parts = name.value_or(NameComposition::PersonName{});
    m_strPrefix = parts.prefix;
    m_strFirstName = parts.first;
    m_strMiddleName = parts.middle;
    m_strLastName = parts.last;
    m_strSuffix = parts.suffix;
    m_strFullName = parts.full;
    m_strShownName = parts.shown;
    return name.has_value();
}

// Taken inside the transaction of the whole addition, so no other write takes the number between.
int32_t frmNewLinkCont::GetNewContID() {
    return core::NewContactID(*g_dbLocal);
}

// The new contact's row, under the number just taken.
void frmNewLinkCont::PostEntry() {
    m_rsContacts.AddNew();
    const auto setIfAny = [this](const char* field, const QString& value) {
        if (!value.isEmpty()) m_rsContacts.Fields(QString::fromLatin1(field)) = value;
    };
    m_rsContacts.Fields(QStringLiteral("ContID")) = m_lngNewContID;
    m_rsContacts.Fields(QStringLiteral("CTYPE")) = m_strContType;
    m_rsContacts.Fields(QStringLiteral("Setting")) = kHidden;
    if (m_strContType == NameComposition::kPerson) {
        setIfAny("FullName", m_strFullName);
        setIfAny("ShownName", m_strShownName);
        setIfAny("Prefix", m_strPrefix);
        setIfAny("FName", m_strFirstName);
        setIfAny("Middle", m_strMiddleName);
        setIfAny("LName", m_strLastName);
        setIfAny("Suffix", m_strSuffix);
    } else {
        setIfAny("ShownName", m_strShownName);
        setIfAny("CompName", m_strCompName);
    }
    m_rsContacts.Update();
}

// The link from the contact on the editor to the new one, under the new one's whole name.
void frmNewLinkCont::UpdateMainContact() {
    const QString name = m_strContType == NameComposition::kPerson ? m_strFullName : m_strCompName;
    m_rsRelate.AddNew();
    m_rsRelate.Fields(QStringLiteral("MasterContID")) = m_lngContID;
    if (!txtMemo->text().isEmpty()) m_rsRelate.Fields(QStringLiteral("LinkMemo")) = txtMemo->text();
    m_rsRelate.Fields(QStringLiteral("SubContID")) = m_lngNewContID;
    if (!name.isEmpty()) m_rsRelate.Fields(QStringLiteral("SubContShowName")) = name;
    m_rsRelate.Update();
}

// The link back, under the shown name the database holds for the contact: the editor's own box is
// gone once the editor has closed, and a contact deleted meanwhile fails the whole addition.
void frmNewLinkCont::UpdateSubContact() {
    db::Recordset rs =
        g_dbLocal->OpenRecordset(QStringLiteral("SELECT ContID, ShownName FROM Contacts WHERE ContID = ") +
                                 QString::number(m_lngContID));
    if (rs.Eof()) {
        throw db::DbError(db::kErrNoCurrentRecord, QStringLiteral("The contact's record no longer exists."));
    }
    const QVariant shownName = rs.Value(QStringLiteral("ShownName"));
    rs.Close();

    m_rsRelate.AddNew();
    m_rsRelate.Fields(QStringLiteral("MasterContID")) = m_lngNewContID;
    m_rsRelate.Fields(QStringLiteral("LinkMemo")) = kLinkBack;
    m_rsRelate.Fields(QStringLiteral("SubContID")) = m_lngContID;
    if (!shownName.toString().isEmpty()) m_rsRelate.Fields(QStringLiteral("SubContShowName")) = shownName;
    m_rsRelate.Update();
}

// Esc is the Cancel button.
void frmNewLinkCont::reject() {
    cmdOpt_Click(1);
}

// The close box is not Cancel: the editor's lists are refreshed.
void frmNewLinkCont::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmNewLinkCont::done(int result) {
    QDialog::done(result);
    Form_Unload();
}

void frmNewLinkCont::Form_Unload() {
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    core::trap(QStringLiteral("frmNewLinkCont.Form_Unload"), Tail::Silent, [&] {
        m_rsContacts.Close();
        m_rsRelate.Close();
        if (m_blnCancelled) return;
        // Nothing happens here when the editor has closed meanwhile.
        modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadRelContactInfo");
        modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadContactCombo");
    });
}
