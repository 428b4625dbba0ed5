// The contact editor's own lists: its related projects and related contacts, and what a click on
// the History tab opens. The to-do, appointment, user-value and history lists, the History tab's
// loaders and the "New:" box are core::RecordEditor's.
#include <QPushButton>

#include "contacts/frmContEntry.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;

void frmContEntry::ConnectContactLists() {
    connect(cmdRelCon, &QPushButton::clicked, this, [this] { cmdRelCon_Click(); });
    connect(cmdRelProj, &QPushButton::clicked, this, [this] { cmdRelProj_Click(); });

    // A click acts on the row under the mouse; one beside the rows finds none (-1).
    const auto onLeftClick = [this](ui::ListView* list, void (frmContEntry::*handler)(int)) {
        connect(list, &ui::ListView::rowClicked, this, [this, handler](int row, Qt::MouseButton button) {
            if (button == Qt::LeftButton) (this->*handler)(row);
        });
        connect(list, &ui::ListView::emptyAreaClicked, this, [this, handler](Qt::MouseButton button) {
            if (button == Qt::LeftButton) (this->*handler)(-1);
        });
    };
    onLeftClick(lvHistPane, &frmContEntry::lvHistPane_Click);
    onLeftClick(lvRelPrj, &frmContEntry::lvRelPrj_Click);
    connect(lvRelCon, &ui::ListView::rowClicked, this,
            [this](int row, Qt::MouseButton button) { lvRelCon_MouseUp(button, row); });
    connect(lvRelCon, &ui::ListView::emptyAreaClicked, this,
            [this](Qt::MouseButton button) { lvRelCon_MouseUp(button, -1); });
}

// ---------------------------------------------------------------------------------------------
// Loaders

void frmContEntry::LoadRelatedProjects() {
    if (!IsLoaded()) return;
    ui::ListView::Batch batch(*lvRelPrj);
    lvRelPrj->clear();
    core::trap(QStringLiteral("frmContEntry.LoadRelatedProjects"), Tail::Silent, [&] {
        // One query for the links and their projects, in link order; a link whose project is gone
        // comes back without one.
        m_rsList = g_dbLocal->OpenRecordset(
            QStringLiteral(
                "SELECT RelateProject.fkProjID, Projects.ProjID, Projects.PName, Projects.Status ") +
                QStringLiteral(
                    "FROM RelateProject LEFT JOIN Projects ON Projects.ProjID = RelateProject.fkProjID ") +
                QStringLiteral("WHERE RelateProject.fkContID = ? ORDER BY RelateProject.RefNum"),
            {m_lngContID});
        bool anyLink = false;
        if (!m_rsList.Eof()) {
            m_rsList.MoveFirst();
            while (!m_rsList.Eof()) {
                if (!m_rsList.Value(0).isNull()) {
                    anyLink = true;
                    GetProjectInfo(m_rsList.Value(1), m_rsList.Value(2), m_rsList.Value(3));
                }
                m_rsList.MoveNext();
            }
        }
        // Striped as each project is added: a contact without links keeps its stripes.
        if (anyLink && g_blnAltColors) modGeneral::AltLVBackground(*lvRelPrj, picGrdClr, 0, -1);
        m_rsList.Close();
    });
    m_rsList.Close();
}

void frmContEntry::GetProjectInfo(const QVariant& projId, const QVariant& pName, const QVariant& status) {
    core::trap(QStringLiteral("frmContEntry.GetProjectInfo"), Tail::Silent, [&] {
        if (projId.isNull() || pName.isNull()) return;
        const QString key = ui::RowKey("ID", projId.toLongLong());
        // A project linked twice is shown once.
        if (lvRelPrj->findKey(key) >= 0) return;
        const int row = lvRelPrj->addRow(key, pName.toString());
        lvRelPrj->setSubItem(row, 1, QStringLiteral("* ") + status.toString());
    });
}

void frmContEntry::LoadContactHistory() {
    LoadHistory();
}

void frmContEntry::LoadRelContactInfo() {
    if (!IsLoaded()) return;
    FillList(QStringLiteral("frmContEntry.LoadRelContactInfo"), *lvRelCon, true,
             QStringLiteral("SELECT MasterContID, LinkMemo, SubContID, SubContShowName, ") +
                 modGeneral::HomePhoneColumn(QStringLiteral("RelateCont.SubContID")) +
                 QStringLiteral(" AS HomePhone, ") +
                 modGeneral::PersonalEMailColumn(QStringLiteral("RelateCont.SubContID")) +
                 QStringLiteral(" AS EMail FROM RelateCont WHERE MasterContID = ?") +
                 QStringLiteral(" ORDER BY SubContShowName"),
             {m_lngContID}, [&] {
                 const QVariant id = m_rsList.Value(2);
                 const QVariant name = m_rsList.Value(3);
                 if (id.isNull() || name.isNull()) return;
                 const int row = lvRelCon->addRow(ui::RowKey("ID", id.toLongLong()), name.toString());
                 lvRelCon->setSubItem(row, 1, m_rsList.Value(1).toString());
                 lvRelCon->setSubItem(row, 2, m_rsList.Value(4).toString());
                 lvRelCon->setSubItem(row, 3, m_rsList.Value(5).toString());
             });
}

// ---------------------------------------------------------------------------------------------
// Buttons and clicks

void frmContEntry::cmdRelCon_Click() {
    core::trap(QStringLiteral("frmContEntry.cmdRelCon_Click"), Tail::Action,
               QStringLiteral("setting the Related Contact screen"),
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmNewLinkCont")); });
}

void frmContEntry::cmdRelProj_Click() {
    core::trap(QStringLiteral("frmContEntry.cmdRelProj_Click"), Tail::ErrorBox,
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmSetRelProject")); });
}

void frmContEntry::lvHistPane_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(QStringLiteral("frmContEntry.lvHistPane_Click"), Tail::Unknown, [&] {
        const QString key = lvHistPane->key(row);
        const QString kind = key.left(2);
        if (kind == QLatin1String("CA") || kind == QLatin1String("NT")) {
            modGeneral::OpenNote(modGeneral::StoredItem(modGeneral::KeyRecordNumber(key)));
        } else if (kind == QLatin1String("TD")) {
            modGeneral::OpenToDo(modGeneral::StoredItem(modGeneral::KeyRecordNumber(key)));
        } else if (kind == QLatin1String("AP")) {
            modGeneral::OpenAppt(modGeneral::StoredItem(modGeneral::KeyRecordNumber(key)));
        }
    });
}

void frmContEntry::lvRelPrj_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(QStringLiteral("frmContEntry.lvRelPrj_Click"), Tail::Action,
               QStringLiteral("opening the Related Project Information screen"), [&] {
                   g_lngCurProjID = modGeneral::KeyRecordNumber(lvRelPrj->key(row));
                   // Closes this editor too (it goes once the click is done).
                   modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
                   ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmProjEntry"));
               });
}

void frmContEntry::lvRelCon_MouseUp(Qt::MouseButton button, int row) {
    if (button == Qt::LeftButton) {
        if (modGeneral::NothingSelected(row)) return;
        core::trap(QStringLiteral("frmContEntry.lvRelCon_MouseUp"), Tail::Silent, [&] {
            const int32_t contactId = modGeneral::KeyRecordNumber(lvRelCon->key(row));
            ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmSwtContact"),
                                                        {{QStringLiteral("m_lngContactID"), contactId}});
        });
    } else if (button == Qt::RightButton) {
        if (lvRelCon->rowCount() == 0 || modGeneral::NothingSelected(row)) return;
        core::trap(QStringLiteral("frmContEntry.lvRelCon_MouseUp"), Tail::Silent, [&] {
            // The row under the mouse, whichever was selected before.
            lvRelCon->setSelectedRow(row);
            MainWindowPopup(
                QStringLiteral("PopupRCMemo"),
                {{QStringLiteral("m_lngRelContID"), modGeneral::KeyRecordNumber(lvRelCon->key(row))},
                 {QStringLiteral("m_strOldRCMemo"), lvRelCon->text(row, 1)}});
        });
    }
}
