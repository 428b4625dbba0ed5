#include "projects/frmProjects.h"

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

const QString kDefault = QStringLiteral("Default");
const QString kAllProjects = QStringLiteral("All Projects");

QList<core::ListScreen::Column> Columns() {
    return {{QStringLiteral("Project Name"), 0.25},
            {QStringLiteral("Start Date"), 0.16},
            {QStringLiteral("End Date"), 0.16},
            {QStringLiteral("Status"), 0.17},
            {QStringLiteral("Type"), 0.26}};
}

// The export's header is the list's own.
QStringList Headers() {
    QStringList headers;
    for (const auto& column : Columns()) headers << column.header;
    return headers;
}

}  // namespace

frmProjects::frmProjects(QWidget* parent)
    : core::ListScreen(QStringLiteral("frmProjects"), QStringLiteral("Projects"), QColor(0xA0, 0x59, 0x2A),
                       QColor(0xF0, 0xE6, 0xDE), Columns(), parent) {
    Image1 = AddBannerIcon(
        QStringLiteral("Image1"),
        QIcon::fromTheme(QStringLiteral("folder-documents"), style()->standardIcon(QStyle::SP_DirIcon)), 120);
    lblBanner[0] =
        AddBannerText(QStringLiteral("lblBanner(0)"), QStringLiteral(" All Projects"), 420, 1275, true);
    lblBanner[1] = AddBannerText(QStringLiteral("lblBanner(1)"), QStringLiteral("- View:"), 1695, 645);
    cboView = AddBannerList(QStringLiteral("cboView"), 2340, 1695);
    Image2 = AddBannerIcon(QStringLiteral("Image2"),
                           QIcon::fromTheme(QStringLiteral("document-save-as"),
                                            style()->standardIcon(QStyle::SP_DialogSaveButton)),
                           4260);
    AddSaveAsLink(4560, 1500);

    // A choice by the user, also of the entry already shown, reloads the list.
    connect(cboView, &QComboBox::activated, this, [this] { cboView_Click(); });
}

QWidget* frmProjects::Open() {
    auto* form = new frmProjects;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    return form;
}

void frmProjects::Form_Load() {
    core::trap(QStringLiteral("frmProjects.Form_Load"), Tail::ErrorBox, [this] {
        ui::SetBusy();
        modGeneral::SetStatus(QStringLiteral(" Loading Projects List"), true);
        ShowScreenColour();
        g_strCurScreen = QString();

        cboView->addItems({kAllProjects, kDefault, QStringLiteral("Hidden"), QStringLiteral("Private")});
        // The list is filled here, by the view choice; the status line keeps its count.
        m_strView = kDefault;
        cboView->setCurrentIndex(cboView->findText(kDefault));
        cboView_Click();

        ApplyGridLines();
        ui::SetArrow();
    });
}

void frmProjects::cboView_Click() {
    m_strView = cboView->currentText();
    LoadProjectInfo();
}

void frmProjects::LoadProjectInfo() {
    core::trap(QStringLiteral("frmProjects.LoadProjectInfo"), Tail::ErrorBox, [this] {
        QString sql =
            QStringLiteral("SELECT ProjID, PName, StartDate, EndDate, Status, PrjType FROM Projects ");
        QVariantList params;
        if (m_strView != kAllProjects) {
            sql += QStringLiteral("WHERE Setting = ? ");
            params << m_strView;
        }
        sql += QStringLiteral("ORDER BY PName");

        lvResult->clear();
        int listed = 0;
        {
            ui::ListView::Batch batch(*lvResult);
            ui::DateTexts dates(QStringLiteral("MM/dd/yyyy"));
            g_dbLocal->ForEachRow(sql, params, [&](const db::Database::RowView& row) {
                const int r = lvResult->addRow(ui::RowKey("ID", row.integer(0)), row.text(1));
                for (const int column : {1, 2}) {
                    if (!row.isNull(column + 1)) lvResult->setSubItem(r, column, dates(row.date(column + 1)));
                }
                for (const int column : {3, 4}) {
                    if (!row.isNull(column + 1)) lvResult->setSubItem(r, column, row.text(column + 1));
                }
                ++listed;
            });
        }
        if (listed < 1) {
            modGeneral::SetStatus(QString());
        } else {
            const int total = g_dbLocal->OpenRecordset(QStringLiteral("SELECT COUNT(*) AS N FROM Projects"))
                                  .Value(QStringLiteral("N"))
                                  .toInt();
            modGeneral::SetStatus(QStringLiteral("Showing: ") + QString::number(listed) +
                                  QStringLiteral(" Records (of ") + QString::number(total) +
                                  QStringLiteral(" total)"));
        }
        // Also after an empty view, whose stripes go.
        Stripe();
    });
}

// As a click on the home screen's projects: every screen closes, this one included, and the
// project editor opens on the project.
void frmProjects::lvResult_Click() {
    OpenSelectedRow(QStringLiteral("frmProjects.lvResult_Click"),
                    QStringLiteral("loading the Projects screen"), [](int32_t number) {
                        g_lngCurProjID = number;
                        modGeneral::CloseAllChildForms();
                        ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmProjEntry"));
                    });
}

void frmProjects::lblSaveAs_Click() {
    core::SaveListAsCsv(QStringLiteral("frmProjects.lblSaveAs_Click"), Headers(), *lvResult);
}
