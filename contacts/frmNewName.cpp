#include "contacts/frmNewName.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include "contacts/NameComposition.h"
#include "core/ContactNumbers.h"
#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Activation.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

namespace {

constexpr int kNameLength = 90;

void Place(QWidget* w, double left, double top, double width, double height) {
    using namespace ui::twips;
    w->setGeometry(ToPixelsX(left), ToPixelsY(top), ToPixelsX(width), ToPixelsY(height));
}

}  // namespace

frmNewName::frmNewName(QWidget* owner) : QDialog(owner), m_strContType(NameComposition::kPerson) {
    setObjectName(QStringLiteral("frmNewName"));
    setWindowTitle(QStringLiteral("Set Up New Name"));
    setModal(false);
    // Unloaded when closed: the next New Name command makes a fresh dialog.
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmNewName::~frmNewName() {
    try {
        m_rsContacts.Close();
    } catch (...) {
    }
}

frmNewName* frmNewName::Open(QWidget* owner) {
    return ui::ShownActive(new frmNewName(owner));
}

void frmNewName::BuildControls() {
    lblName = core::layout::Heading(this, QStringLiteral("lblName"), QStringLiteral(" Name"));
    Place(lblName, 120, 120, 5280, 285);

    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    ui::LimitLength(txtName, kNameLength);
    Place(txtName, 240, 510, 5040, 315);
    txtName->installEventFilter(this);

    lblNameExample = new QLabel(QStringLiteral("e.g.  Anna Berg  or  Berg, Anna  or  Berg Tool Works"), this);
    lblNameExample->setObjectName(QStringLiteral("lblNameExample"));
    Place(lblNameExample, 240, 870, 5040, 255);

    lblType = core::layout::Heading(this, QStringLiteral("lblType"),
                                    QStringLiteral(" Is this an individual or a company ?"));
    Place(lblType, 120, 1260, 5280, 285);

    const QString captions[2] = {QStringLiteral("An Individual"), QStringLiteral("A Company")};
    const QString examples[2] = {QStringLiteral("( Anna M. Berg )"), QStringLiteral("( Berg Tool Works )")};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optType[i] = new QRadioButton(captions[i], this);
        optType[i]->setObjectName(QStringLiteral("optType(%1)").arg(i));
        Place(optType[i], 360, 1650 + i * 360, 1800, 300);
        group->addButton(optType[i], i);
        connect(optType[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optType_Click(i);
        });

        lblTypeExample[i] = new QLabel(examples[i], this);
        lblTypeExample[i]->setObjectName(QStringLiteral("lblTypeExample(%1)").arg(i));
        Place(lblTypeExample[i], 2280, 1650 + i * 360, 3000, 300);
    }
    optType[0]->setChecked(true);

    const QString buttons[2] = {QStringLiteral("&Next >"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpt[i] = new QPushButton(buttons[i], this);
        cmdOpt[i]->setObjectName(QStringLiteral("cmdOpt(%1)").arg(i));
        Place(cmdOpt[i], 2760 + i * 1320, 2520, 1215, 375);
        connect(cmdOpt[i], &QPushButton::clicked, this, [this, i] { cmdOpt_Click(i); });
    }
    ui::SetDialogKeys(this, cmdOpt[0]);  // Esc reaches reject(), as "&Cancel" does

    setTabOrder(txtName, optType[0]);
    setTabOrder(optType[0], optType[1]);
    setTabOrder(optType[1], cmdOpt[0]);
    setTabOrder(cmdOpt[0], cmdOpt[1]);

    setFixedSize(ui::twips::ToPixelsX(5520), ui::twips::ToPixelsY(3060));
}

void frmNewName::Form_Load() {
    core::trap(QStringLiteral("frmNewName.Form_Load"), core::Tail::ErrorBox, [&] {
        m_rsContacts = g_dbLocal->OpenRecordset(QStringLiteral("Contacts"));
        modAPI::FlatBorder(txtName);
        // The new contact's number is taken when the row is added, not here: a contact added
        // elsewhere while the dialog is open must not take it first.
        m_strContType = NameComposition::kPerson;
    });
}

void frmNewName::optType_Click(int index) {
    m_strContType = index == 0 ? NameComposition::kPerson : NameComposition::kCompany;
}

bool frmNewName::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtName && event->type() == QEvent::FocusIn) txtName_GotFocus();
    return QDialog::eventFilter(watched, event);
}

void frmNewName::txtName_GotFocus() {
    modGeneral::highLightOnFocus(txtName);
}

void frmNewName::cmdOpt_Click(int index) {
    if (index == 1) {
        reject();  // closes, and so releases, the dialog; Esc and the close box come here too
        return;
    }
    core::trap(QStringLiteral("frmNewName.cmdOpt_Click"), core::Tail::Unknown, [&] {
        if (!ValidateEntry()) {
            ui::MsgBox(QStringLiteral("You must enter an individual name or a company name."),
                       ui::OKOnly | ui::Information, QStringLiteral("Validate : Name Entry"));
            txtName->setFocus();
            return;
        }
        if (m_strContType == NameComposition::kPerson) {
            m_strTypedName = txtName->text();
            if (m_strTypedName.isEmpty()) return;
            if (!CollectNames()) return;
        } else {
            m_strCompName = txtName->text();
            m_strShownName = txtName->text();
        }
        if (!CheckDuplicateName()) return;
        PostEntry();
    });
}

// A company name of blanks only would be stored as an empty shown name, so it counts as empty; a
// person's is left to the name check.
bool frmNewName::ValidateEntry() {
    const QString text = txtName->text();
    if (text.isEmpty()) return false;
    if (m_strContType == NameComposition::kCompany && modGeneral::TrimBlanks(text).isEmpty()) return false;
    return true;
}

bool frmNewName::CollectNames() {
    // Nothing of a name refused before may stay in the parts.
    const auto name = NameComposition::CollectPersonName(QStringLiteral("frmNewName.CollectNames"), m_strTypedName);
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

// Checks the shown name exactly as it will be stored (trimmed), so "Acme " cannot slip in beside "Acme".
bool frmNewName::CheckDuplicateName() {
    const QString shown = modGeneral::TrimBlanks(m_strShownName);
    db::Recordset rs = g_dbLocal->OpenRecordset(
        QStringLiteral("SELECT ShownName FROM Contacts WHERE ShownName = ?"), {shown});
    const bool exists = !rs.Eof();
    rs.Close();
    if (!exists) {
        m_strShownName = shown;
        return true;
    }
    ui::MsgBox(QStringLiteral("That Contact Name already exists, please re-enter another name."), ui::OKOnly,
               ui::ProgramTitle());
    txtName->clear();
    txtName->setFocus();
    return false;
}

void frmNewName::PostEntry() {
    core::trap(QStringLiteral("frmNewName.PostEntry"), core::Tail::Action,
               QStringLiteral("Posting the information"), [&] {
                   db::Database& database = *g_dbLocal;
                   // Numbered and added in one transaction, so no other write takes the number between.
                   db::Transaction transaction(database);
                   const int32_t contId = core::NewContactID(database);

                   m_rsContacts.AddNew();
                   auto setIfAny = [this](const char* field, const QString& value) {
                       if (!value.isEmpty()) m_rsContacts.Fields(QString::fromLatin1(field)) = value;
                   };
                   m_rsContacts.Fields(QStringLiteral("ContID")) = contId;
                   if (m_strContType == NameComposition::kPerson) {
                       m_rsContacts.Fields(QStringLiteral("CTYPE")) = NameComposition::kPerson;
                       m_rsContacts.Fields(QStringLiteral("Setting")) = QStringLiteral("Default");
                       setIfAny("FullName", m_strFullName);
                       setIfAny("ShownName", m_strShownName);
                       setIfAny("Prefix", m_strPrefix);
                       setIfAny("FName", m_strFirstName);
                       setIfAny("Middle", m_strMiddleName);
                       setIfAny("LName", m_strLastName);
                       setIfAny("Suffix", m_strSuffix);
                   } else {
                       m_rsContacts.Fields(QStringLiteral("CTYPE")) = NameComposition::kCompany;
                       m_rsContacts.Fields(QStringLiteral("Setting")) = QStringLiteral("Default");
                       setIfAny("ShownName", m_strShownName);
                       setIfAny("CompName", m_strCompName);
                   }
                   m_rsContacts.Update();
                   transaction.commit();

                   g_lngCurContID = contId;
                   hide();
                   modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
                   ui::ScreenRegistry::instance().open(QStringLiteral("frmContEntry"));
                   close();
               });
}
