#include "contacts/dialogs/frmNameSrchResult.h"

#include <QIcon>
#include <QLabel>
#include <QStyle>

#include "contacts/dialogs/ContactListRows.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"

using core::Tail;

frmNameSrchResult::frmNameSrchResult(QWidget* parent)
    : core::ListScreen(QStringLiteral("frmNameSrchResult"), QStringLiteral("Name Search Results"),
                       QColor(0x69, 0x56, 0x7E), QColor(0xE5, 0xDF, 0xED), contacts::rows::Columns(),
                       parent) {
    Image1 = AddBannerIcon(QStringLiteral("Image1"),
                           QIcon::fromTheme(QStringLiteral("edit-find"),
                                            style()->standardIcon(QStyle::SP_FileDialogContentsView)),
                           120);
    lblBanner = AddBannerText(QStringLiteral("lblBanner"), QStringLiteral(" Results for Entered Name Search"),
                              420, 4200, true);
}

QWidget* frmNameSrchResult::Open() {
    auto* form = new frmNameSrchResult;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    return form;
}

void frmNameSrchResult::Form_Load() {
    core::trap(QStringLiteral("frmNameSrchResult.Form_Load"), Tail::ErrorBox, [this] {
        ui::SetBusy();
        modGeneral::SetStatus(QStringLiteral(" Loading Name Search Results"), true);
        ShowScreenColour();
        LoadContactInfo();
        g_strCurScreen = QString();
        ApplyGridLines();
        ui::SetArrow();
    });
}

void frmNameSrchResult::LoadContactInfo() {
    core::trap(QStringLiteral("frmNameSrchResult.LoadContactInfo"), Tail::ErrorBox, [this] {
        // The search itself, as typed and bound: in the order the query gives, with no sort of its own.
        QVariantList params;
        const QString sql =
            contacts::rows::SelectFrom() + modGeneral::NameSearchWhere(g_strNameSrchSQL, params);
        lvResult->clear();
        int listed = 0;
        {
            ui::ListView::Batch batch(*lvResult);
            g_dbLocal->ForEachRow(sql, params, [&](const db::Database::RowView& row) {
                if (contacts::rows::Add(*lvResult, row)) ++listed;
            });
        }
        ShowFound(listed);
        Stripe();
    });
}

void frmNameSrchResult::lvResult_Click() {
    OpenSelectedRow(QStringLiteral("frmNameSrchResult.lvResult_Click"),
                    QStringLiteral("opening the Contacts screen"), &contacts::rows::OpenContact);
}
