#include "reports/ReportScreens.h"

#include "core/MainWindowLink.h"
#include "platform/ui/ScreenRegistry.h"
#include "reports/frmContQry.h"
#include "reports/frmPrintContact.h"
#include "reports/frmPrintProject.h"
#include "reports/frmProjQry.h"

namespace reports {

namespace {

QWidget* Owner() {
    return core::MainWindow() ? core::MainWindow()->Widget() : nullptr;
}

}  // namespace

void RegisterScreens() {
    auto& registry = ui::ScreenRegistry::instance();
    registry.registerScreen(QStringLiteral("frmContQry"), &frmContQry::Open);
    registry.registerScreen(QStringLiteral("frmProjQry"), &frmProjQry::Open);
    // Over the editor that is the active screen; the registry brings an open one forward instead.
    registry.registerScreen(QStringLiteral("frmPrintContact"),
                            []() -> QWidget* { return frmPrintContact::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmPrintProject"),
                            []() -> QWidget* { return frmPrintProject::Open(Owner()); });
}

}  // namespace reports
