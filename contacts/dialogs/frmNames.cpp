#include "contacts/dialogs/frmNames.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QStyle>

#include "contacts/dialogs/ContactListRows.h"
#include "contacts/dialogs/GroupMatch.h"
#include "core/ListExport.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;

namespace {

const QString kDefault = QStringLiteral("Default");

// A whole view is read in the order of the contact numbers and sorted once at the end (the unary
// pluses keep SQLite off the name indexes): each contact's phone, e-mail and address rows are then
// looked up in the order their own indexes keep them, instead of all over the file in name order,
// which costs more than twice as much on 100,000 contacts.
const QString kByName = QStringLiteral("ORDER BY +ShownName");

}  // namespace

frmNames::frmNames(QWidget* parent)
    : core::ListScreen(QStringLiteral("frmNames"), QStringLiteral("Names"), QColor(0x33, 0x66, 0x66),
                       QColor(0xED, 0xF3, 0xF3), contacts::rows::Columns(), parent) {
    Image1 = AddBannerIcon(QStringLiteral("Image1"),
                           QIcon::fromTheme(QStringLiteral("x-office-address-book"),
                                            style()->standardIcon(QStyle::SP_FileDialogDetailedView)),
                           120);
    lblBanner[0] = AddBannerText(QStringLiteral("lblBanner(0)"), QStringLiteral(" Names -"), 420, 900, true);
    lblBanner[1] = AddBannerText(QStringLiteral("lblBanner(1)"), QStringLiteral("View:"), 1380, 525);
    cboView = AddBannerList(QStringLiteral("cboView"), 1905, 1695);
    lblBanner[2] = AddBannerText(QStringLiteral("lblBanner(2)"), QStringLiteral("Group:"), 3780, 600);
    cboGroup = AddBannerList(QStringLiteral("cboGroup"), 4380, 2100);
    Image2 = AddBannerIcon(QStringLiteral("Image2"),
                           QIcon::fromTheme(QStringLiteral("document-save-as"),
                                            style()->standardIcon(QStyle::SP_DialogSaveButton)),
                           6720);
    AddSaveAsLink(7020, 1500);

    // A choice by the user, also of the entry already shown, reloads the list.
    connect(cboView, &QComboBox::activated, this, [this] { cboView_Click(); });
    connect(cboGroup, &QComboBox::activated, this, [this] { cboGroup_Click(); });
}

QWidget* frmNames::Open() {
    auto* form = new frmNames;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    return form;
}

void frmNames::Form_Load() {
    core::trap(QStringLiteral("frmNames.Form_Load"), Tail::ErrorBox, [this] {
        ui::SetBusy();
        modGeneral::SetStatus(QStringLiteral(" Loading Names List"), true);
        ShowScreenColour();

        cboView->addItems(
            {QStringLiteral("All Contacts"), kDefault, QStringLiteral("Hidden"), QStringLiteral("Private")});
        cboGroup->addItem(QStringLiteral("All"));
        m_strView = kDefault;
        m_strGroup = QStringLiteral("All");
        m_blnAllGroups = true;
        LoadAllGroups();

        // The list is filled here, by the view choice; the status line keeps its count.
        cboView->setCurrentIndex(cboView->findText(kDefault));
        cboView_Click();

        g_strCurScreen = QString();
        ApplyGridLines();
        ui::SetArrow();
    });
}

void frmNames::cboView_Click() {
    const RedrawSuspended once(this);
    m_strView = cboView->currentText();
    LoadContactInfo();
}

void frmNames::cboGroup_Click() {
    const RedrawSuspended once(this);
    m_strGroup = cboGroup->currentText();
    // Told by its place: a group of the user's that is also called "All" filters like any other.
    m_blnAllGroups = cboGroup->currentIndex() == 0;
    LoadFilteredNamesList();
}

void frmNames::LoadContactInfo() {
    core::trap(QStringLiteral("frmNames.LoadContactInfo"), Tail::ErrorBox, [this] {
        QString sql = contacts::rows::SelectFrom();
        QVariantList params;
        if (m_strView != QLatin1String("All Contacts")) {
            sql += QStringLiteral("WHERE +Setting = ? ");
            params << m_strView;
        }
        sql += kByName;

        lvResult->clear();
        int listed = 0;
        {
            ui::ListView::Batch batch(*lvResult);
            g_dbLocal->ForEachRow(sql, params, [&](const db::Database::RowView& row) {
                if (contacts::rows::Add(*lvResult, row)) ++listed;
            });
        }
        if (listed < 1) {
            modGeneral::SetStatus(QString());
            return;
        }
        Stripe();
        ShowFound(listed);
    });
}

void frmNames::LoadFilteredNamesList() {
    core::trap(QStringLiteral("frmNames.LoadFilteredNamesList"), Tail::ErrorBox, [this] {
        const int groupColumn = contacts::rows::kExtraColumn;
        // "All" needs no group texts: every one of them would only be sorted along.
        const QString sql =
            contacts::rows::SelectFrom(m_blnAllGroups ? QString() : QStringLiteral(", [Group]")) +
            QStringLiteral("WHERE +Setting = ? ") + kByName;
        lvResult->clear();
        int read = 0;
        {
            ui::ListView::Batch batch(*lvResult);
            g_dbLocal->ForEachRow(sql, {kDefault}, [&](const db::Database::RowView& row) {
                ++read;
                if (!m_blnAllGroups) {
                    // A contact in no group belongs to none.
                    if (row.isNull(groupColumn)) return;
                    if (!contacts::InGroup(row.text(groupColumn), m_strGroup)) return;
                }
                contacts::rows::Add(*lvResult, row);
            });
        }
        if (read < 1) {
            modGeneral::SetStatus(QString());
            return;
        }
        Stripe();
        ShowFound(lvResult->rowCount());
    });
}

void frmNames::LoadAllGroups() {
    core::trap(QStringLiteral("frmNames.LoadAllGroups"), Tail::ErrorBox,
               [this] { cboGroup->addItems(modGeneral::LookupList(QStringLiteral("GRP"))); });
}

void frmNames::lvResult_Click() {
    OpenSelectedRow(QStringLiteral("frmNames.lvResult_Click"), QStringLiteral("opening the Contacts screen"),
                    &contacts::rows::OpenContact);
}

void frmNames::lblSaveAs_Click() {
    core::SaveListAsCsv(QStringLiteral("frmNames.lblSaveAs_Click"), contacts::rows::Headers(), *lvResult);
}
