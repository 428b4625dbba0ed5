#pragma once

namespace reports {

// Registers how the query screens are made and shown, "frmContQry" and "frmProjQry" maximised in the
// main window, and the report dialogs "frmPrintContact" and "frmPrintProject" over it. The main window
// calls it once at start-up.
void RegisterScreens();

}  // namespace reports
