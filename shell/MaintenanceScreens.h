#pragma once

namespace shell {

// Registers the forms of database maintenance and file deletion with the screen registry
// ("frmDelete"). The main window calls it while it registers its screens.
void RegisterMaintenanceScreens();

}  // namespace shell
