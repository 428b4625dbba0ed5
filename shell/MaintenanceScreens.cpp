#include "shell/MaintenanceScreens.h"

#include "platform/ui/ScreenRegistry.h"
#include "shell/frmDelete.h"

namespace shell {

void RegisterMaintenanceScreens() {
    ui::ScreenRegistry::instance().registerScreen(QStringLiteral("frmDelete"), &frmDelete::Open);
}

}  // namespace shell
