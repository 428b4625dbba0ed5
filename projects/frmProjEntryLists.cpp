// The project editor's own list, its related contacts. The to-do, appointment, user-value and
// history lists, the History tab, the "New:" box and the comment are core::RecordEditor's.
#include <QPushButton>

#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"
#include "projects/frmProjEntry.h"

using core::Tail;

void frmProjEntry::ConnectProjectLists() {
    connect(cmdRelCon, &QPushButton::clicked, this, [this] { cmdRelCon_Click(); });
    // A click acts on the row under the mouse; one beside the rows finds none (-1). The right button
    // does nothing here.
    connect(lvRelCon, &ui::ListView::rowClicked, this, [this](int row, Qt::MouseButton button) {
        if (button == Qt::LeftButton) lvRelCon_Click(row);
    });
    connect(lvRelCon, &ui::ListView::emptyAreaClicked, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton) lvRelCon_Click(-1);
    });
}

void frmProjEntry::LoadProjectHistory() {
    LoadHistory();
}

void frmProjEntry::LoadRelContactInfo() {
    if (!IsLoaded()) return;
    FillList(QStringLiteral("frmProjEntry.LoadRelContactInfo"), *lvRelCon, true,
             QStringLiteral("SELECT RefNum, fkProjID, fkContID, ContShowName, ") +
                 modGeneral::HomePhoneColumn(QStringLiteral("RelateProject.fkContID")) +
                 QStringLiteral(" AS HomePhone FROM RelateProject WHERE fkProjID = ?") +
                 QStringLiteral(" ORDER BY ContShowName"),
             {m_lngProjID}, [&] {
                 const QVariant id = m_rsList.Value(2);
                 const QVariant name = m_rsList.Value(3);
                 if (id.isNull() || name.isNull()) return;
                 // A contact linked twice is listed once: a click opens the contact, not the link.
                 const QString key = ui::RowKey("ID", id.toLongLong());
                 if (lvRelCon->findKey(key) >= 0) return;
                 const int row = lvRelCon->addRow(key, name.toString());
                 lvRelCon->setSubItem(row, 1, m_rsList.Value(4).toString());
             });
}

void frmProjEntry::cmdRelCon_Click() {
    core::trap(QStringLiteral("frmProjEntry.cmdRelCon_Click"), Tail::ErrorBox,
               [] { ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmSetRelContact")); });
}

void frmProjEntry::lvRelCon_Click(int row) {
    if (modGeneral::NothingSelected(row)) return;
    core::trap(QStringLiteral("frmProjEntry.lvRelCon_Click"), Tail::Action,
               QStringLiteral("loading the Related Contact information"), [&] {
                   // The current project stays as it was.
                   g_lngCurContID = modGeneral::KeyRecordNumber(lvRelCon->key(row));
                   // Closes this editor too (it goes once the click is done).
                   modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
                   ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmContEntry"));
               });
}
