#include "items/frmToDoList.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QStyle>

#include "core/ListExport.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DateTexts.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;

namespace {

const QString kAllToDos = QStringLiteral("All To Do's");

// Each view's condition on ToDo, besides the subject every listed item has.
const struct {
    const char* view;
    const char* condition;
} kViews[] = {
    {"All To Do's", ""},
    {"Completed To Do's", "AND ToDo.Completed = True "},
    {"Private To Do's", "AND ToDo.Private = True "},
    {"Urgent To Do's", "AND ToDo.Urgent = True "},
};

QString ViewCondition(const QString& view) {
    for (const auto& v : kViews) {
        if (view == QLatin1String(v.view)) return QString::fromLatin1(v.condition);
    }
    return QString();
}

}  // namespace

frmToDoList::frmToDoList(QWidget* parent)
    : core::ListScreen(QStringLiteral("frmToDoList"), QStringLiteral("To Do List"), QColor(0x4B, 0x6A, 0x89),
                       QColor(0xE0, 0xE7, 0xEE),
                       {{QStringLiteral("Subject"), 0.25},
                        {QStringLiteral("Name"), 0.25},
                        {QStringLiteral("Project"), 0.25},
                        {QStringLiteral("Date Due"), 0.25}},
                       parent) {
    Image1 = AddBannerIcon(
        QStringLiteral("Image1"),
        QIcon::fromTheme(QStringLiteral("view-task"), style()->standardIcon(QStyle::SP_FileDialogListView)),
        120);
    lblBanner[0] = AddBannerText(QStringLiteral("lblBanner(0)"), QStringLiteral("To Do -"), 420, 735, true);
    lblBanner[1] = AddBannerText(QStringLiteral("lblBanner(1)"), QStringLiteral("View:"), 1155, 525);
    cboView = AddBannerList(QStringLiteral("cboView"), 1680, 1935);
    Image2 = AddBannerIcon(QStringLiteral("Image2"),
                           QIcon::fromTheme(QStringLiteral("document-save-as"),
                                            style()->standardIcon(QStyle::SP_DialogSaveButton)),
                           3840);
    AddSaveAsLink(4140, 1500);

    // A choice by the user, also of the entry already shown, reloads the list.
    connect(cboView, &QComboBox::activated, this, [this] { cboView_Click(); });
}

QWidget* frmToDoList::Open() {
    auto* form = new frmToDoList;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    return form;
}

void frmToDoList::Form_Load() {
    core::trap(QStringLiteral("frmToDoList.Form_Load"), Tail::ErrorBox, [this] {
        ui::SetBusy();
        modGeneral::SetStatus(QStringLiteral(" Loading To Do List"), true);
        ShowScreenColour();

        for (const auto& v : kViews) cboView->addItem(QString::fromLatin1(v.view));
        cboView->setCurrentIndex(0);
        cboView_Click();
        m_strView = kAllToDos;
        g_strCurScreen = QStringLiteral("ToDo");

        ApplyGridLines();
        ui::SetArrow();
        // A freshly opened list says it is ready rather than how many items it holds.
        modGeneral::SetStatus(QString());
    });
}

// The stripes are painted here only: a reload by the to-do dialog keeps them as they are.
void frmToDoList::cboView_Click() {
    m_strView = cboView->currentText();
    LoadToDoInfo();
    Stripe();
}

void frmToDoList::LoadToDoInfo() {
    core::trap(QStringLiteral("frmToDoList.LoadToDoInfo"), Tail::ErrorBox, [this] {
        // The contact's and project's names come with the item; an item without a subject is not
        // listed. The list has no upper bound, so its rows are streamed rather than held.
        const QString sql =
            QStringLiteral(
                "SELECT ToDo.RefNum, ToDo.Subject, Contacts.ShownName, Projects.PName, ToDo.DueDate "
                "FROM ToDo LEFT JOIN Contacts ON Contacts.ContID = ToDo.fkContID "
                "LEFT JOIN Projects ON Projects.ProjID = ToDo.fkProjID "
                "WHERE ToDo.Subject IS NOT NULL ") +
            ViewCondition(m_strView) + QStringLiteral("ORDER BY ToDo.DueDate, ToDo.RefNum");

        lvResult->clear();
        int listed = 0;
        {
            ui::ListView::Batch batch(*lvResult);
            ui::DateTexts dates(QStringLiteral("ddd MM/dd/yyyy"));
            g_dbLocal->ForEachRow(sql, {}, [&](const db::Database::RowView& row) {
                const int r = lvResult->addRowUtf8(ui::RowKey("ID", row.integer(0)), row.utf8(1));
                for (const int column : {1, 2}) {
                    if (!row.isNull(column + 1)) lvResult->setSubItemUtf8(r, column, row.utf8(column + 1));
                }
                if (!row.isNull(4)) lvResult->setSubItem(r, 3, dates(row.date(4)));
                ++listed;
            });
        }
        ShowFound(listed);
    });
}

// The to-do dialog opens over the list, which stays open as the active screen "ToDo".
void frmToDoList::lvResult_Click() {
    OpenSelectedRow(QStringLiteral("frmToDoList.lvResult_Click"),
                    QStringLiteral("loading the requested To Do information"),
                    [](int32_t number) { modGeneral::OpenToDo(modGeneral::StoredItem(number)); });
}

void frmToDoList::lblSaveAs_Click() {
    core::SaveListAsCsv(QStringLiteral("frmToDoList.lblSaveAs_Click"),
                        {QStringLiteral("Subject"), QStringLiteral("Name"), QStringLiteral("Project"),
                         QStringLiteral("Due Date")},
                        *lvResult);
}
