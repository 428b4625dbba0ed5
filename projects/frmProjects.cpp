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
#include "projects/ProjectListRows.h"

using core::Tail;

namespace {

const QString kDefault = QStringLiteral("Default");
const QString kAllProjects = QStringLiteral("All Projects");

}  // namespace

frmProjects::frmProjects(QWidget* parent)
    : core::ListScreen(QStringLiteral("frmProjects"), QStringLiteral("Projects"), QColor(0xA0, 0x59, 0x2A),
                       QColor(0xF0, 0xE6, 0xDE), projects::rows::Columns(), parent) {
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
            QStringLiteral("SELECT ") + QLatin1String(projects::rows::kSelectColumns) + QStringLiteral(" FROM Projects ");
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
            ui::DateTexts dates(QLatin1String(projects::rows::kDateFormat));
            g_dbLocal->ForEachRow(sql, params, [&](const db::Database::RowView& row) {
                projects::rows::Add(*lvResult, row, dates);
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
                    QStringLiteral("loading the Projects screen"), &projects::rows::OpenProject);
}

void frmProjects::lblSaveAs_Click() {
    core::SaveListAsCsv(QStringLiteral("frmProjects.lblSaveAs_Click"), projects::rows::Headers(), *lvResult);
}
