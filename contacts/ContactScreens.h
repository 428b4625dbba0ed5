#pragma once

namespace contacts {

// Registers how the contact screens are made and shown: "frmContEntry" (the contact editor on
// g_lngCurContID, maximised in the main window); "frmSwtContact" (the switch question) and
// "frmSelectGrp" (the contact's groups), modeless and owned by the main window; and the pick-list
// add dialogs "frmAddGroup" (owned by the group dialog), "frmSetPrefix", "frmSetSuffix" and
// "frmSetJobTitle". The main window calls it once at start-up.
void RegisterScreens();

}  // namespace contacts
