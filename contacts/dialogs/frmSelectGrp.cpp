#include "contacts/dialogs/frmSelectGrp.h"

#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>

#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PickList.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;
using core::layout::Place;

namespace {

const QString kGroupKind = QStringLiteral("GRP");
const QChar kSeparator = QLatin1Char(',');

}  // namespace

frmSelectGrp::frmSelectGrp(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmSelectGrp"));
    setWindowTitle(QStringLiteral("Select Group(s)"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmSelectGrp::~frmSelectGrp() = default;

void frmSelectGrp::BuildControls() {
    Label1 = new QLabel(QStringLiteral("Click to select groups to assign"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Place(Label1, 120, 120, 3960, 255);

    lstGroup = new ui::ListBox(this, true);
    lstGroup->setObjectName(QStringLiteral("lstGroup"));
    lstGroup->setMultiSelect(true);
    Place(lstGroup, 120, 435, 2640, 3000);
    // A click, or Space, on an entry; not the focus coming into the list, which makes its first
    // entry current without the user choosing it.
    connect(lstGroup, &QAbstractItemView::clicked, this, [this] { lstGroup_Click(); });
    connect(lstGroup->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_blnFilling) lstGroup_Click();
    });

    const QString captions[4] = {QStringLiteral("&New ..."), QStringLiteral("&Remove"), QStringLiteral("&OK"),
                                 QStringLiteral("&Cancel")};
    const double tops[4] = {435, 915, 2580, 3060};
    for (int i = 0; i < 4; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 2880, tops[i], 1200, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    cmdOpts[1]->setEnabled(false);
    ui::SetDialogKeys(this, cmdOpts[2]);  // Esc is bound to nothing

    setFixedSize(ui::twips::ToPixelsX(4200), ui::twips::ToPixelsY(3600));
    core::layout::FitCaptions(this);
}

void frmSelectGrp::Form_Load() {
    m_lngContID = g_lngCurContID;
    m_blnCancelled = false;
    core::trap(QStringLiteral("frmSelectGrp.Form_Load"), Tail::ErrorBox, [&] {
        modAPI::FlatBorder(lstGroup);
        InitializeScreen();
    });
}

// The first fill selects the groups the contact is in now. Every later one keeps what is selected,
// and a group that was not listed before (the one just added) is selected as well.
void frmSelectGrp::InitializeScreen() {
    m_blnFilling = true;
    core::trap(QStringLiteral("frmSelectGrp.InitializeScreen"), Tail::Silent, [&] {
        QStringList wanted;
        QStringList before;
        if (m_blnListed) {
            wanted = SelectedGroups();
            for (int i = 0; i < lstGroup->count(); ++i) before << lstGroup->itemText(i);
        } else {
            db::Recordset rs = g_dbLocal->OpenRecordset(
                QStringLiteral("SELECT [Group] FROM Contacts WHERE ContID = ?"), {m_lngContID});
            if (!rs.Eof()) {
                const QVariant present = rs.Value(QStringLiteral("Group"));
                if (!present.isNull()) wanted = present.toString().split(kSeparator);
            }
            rs.Close();
        }

        LoadAllGroups();

        if (m_blnListed) {
            for (int i = 0; i < lstGroup->count(); ++i) {
                const QString name = lstGroup->itemText(i);
                if (!before.removeOne(name)) wanted << name;
            }
        }
        m_blnListed = true;
        SelectGroups(wanted);
    });
    m_blnFilling = false;
    // Nothing is current after a rebuild, so there is nothing for Remove to take.
    cmdOpts[1]->setEnabled(lstGroup->listIndex() >= 0);
}

void frmSelectGrp::LoadAllGroups() {
    QVector<QPair<QString, qint64>> items;
    lstGroup->clear();
    core::trap(QStringLiteral("frmSelectGrp.LoadAllGroups"), Tail::Silent, [&] {
        for (const QString& name : modGeneral::LookupList(kGroupKind)) items.append({name, 0});
    });
    // The list sorts itself; after an error it shows what was read so far.
    lstGroup->addItems(items);
}

// Each name selects one entry of exactly that text, and only one: a group listed twice (added again
// under a name already selected) is chosen once.
void frmSelectGrp::SelectGroups(QStringList names) {
    names.removeDuplicates();
    for (int i = 0; i < lstGroup->count() && !names.isEmpty(); ++i) {
        if (names.removeOne(lstGroup->itemText(i))) lstGroup->setSelected(i, true);
    }
}

QStringList frmSelectGrp::SelectedGroups() const {
    QStringList names;
    for (int i = 0; i < lstGroup->count(); ++i) {
        if (lstGroup->selected(i)) names << lstGroup->itemText(i);
    }
    return names;
}

void frmSelectGrp::lstGroup_Click() {
    cmdOpts[1]->setEnabled(lstGroup->listIndex() >= 0);
}

void frmSelectGrp::cmdOpts_Click(int index) {
    core::trap(QStringLiteral("frmSelectGrp.cmdOpts_Click"), Tail::Unknown, [&] {
        switch (index) {
            case 0:
                // Owned by this dialog, which its opener finds in the registry.
                ui::ScreenRegistry::instance().open(QStringLiteral("frmAddGroup"));
                break;
            case 1:
                DeleteGroup();
                break;
            case 2:
                m_strGroups = GetString();
                UpdateContactRecord();
                break;
            case 3:
                m_blnCancelled = true;
                done(QDialog::Rejected);
                break;
            default:
                break;
        }
    });
}

QString frmSelectGrp::GetString() {
    QString joined;
    core::trap(QStringLiteral("frmSelectGrp.GetString"), Tail::Silent, [&] {
        // Both entries of a name listed twice may be selected; the contact is in it once.
        QStringList names = SelectedGroups();
        names.removeDuplicates();
        joined = names.join(kSeparator);
    });
    return joined;
}

void frmSelectGrp::UpdateContactRecord() {
    if (m_strGroups.isEmpty()) {
        ui::MsgBox(QStringLiteral("You must select at least one item from the list."), ui::OKOnly,
                   ui::ProgramTitle());
        return;
    }
    const bool written =
        core::trap(QStringLiteral("frmSelectGrp.UpdateContactRecord"), Tail::Action,
                   QStringLiteral("updating the record"), [&] {
                       // A contact deleted meanwhile has no row to edit: that fails here.
                       db::Recordset rs = g_dbLocal->OpenRecordset(
                           QStringLiteral("SELECT * FROM Contacts WHERE ContID = ?"), {m_lngContID});
                       rs.Edit();
                       rs.Fields(QStringLiteral("Group")) = m_strGroups;
                       rs.Update();
                       rs.Close();
                   });
    if (!written) return;
    hide();
    done(QDialog::Accepted);
}

void frmSelectGrp::DeleteGroup() {
    const int current = lstGroup->listIndex();
    if (current < 0) return;
    const QString name = lstGroup->itemText(current);
    if (ui::MsgBox(QStringLiteral("Are you sure you want to Delete \n") + name +
                       QStringLiteral(" as one of the Contact Groups?"),
                   ui::YesNo | ui::Question | ui::DefaultButton2,
                   QStringLiteral("Warning : Deleting Group")) != ui::Answer::Yes)
        return;
    const bool deleted =
        core::trap(QStringLiteral("frmSelectGrp.DeleteGroup"), Tail::Action,
                   QStringLiteral("Deleting the group record"), [&] {
                       g_dbLocal->Execute(QStringLiteral("DELETE * FROM Lookup WHERE ItemID = ? "
                                                         "AND Description = ?"),
                                          {kGroupKind, name});
                   });
    if (deleted) InitializeScreen();
}

void frmSelectGrp::Form_Unload() {
    if (m_blnUnloaded) return;
    m_blnUnloaded = true;
    if (!m_blnCancelled) modGeneral::CallLoader(QStringLiteral("frmContEntry"), "LoadMainContactInfo");
}

void frmSelectGrp::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void frmSelectGrp::reject() {}

// The close box is not Cancel: the editor is refreshed.
void frmSelectGrp::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}
