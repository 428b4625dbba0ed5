#include "reports/ReportScreens.h"

#include "platform/ui/ScreenRegistry.h"
#include "reports/frmContQry.h"
#include "reports/frmProjQry.h"

namespace reports {

void RegisterScreens() {
    ui::ScreenRegistry::instance().registerScreen(QStringLiteral("frmContQry"), &frmContQry::Open);
    ui::ScreenRegistry::instance().registerScreen(QStringLiteral("frmProjQry"), &frmProjQry::Open);
}

}  // namespace reports
