#pragma once

namespace contacts {

// Registers how the contact screens are made and shown: "frmContEntry" (the contact editor on
// g_lngCurContID, maximised in the main window) and the contact lists "frmNames" and "frmNameSrchResult"
// (screens of the main window); the dialogs "frmSwtContact" (the switch question), "frmNewName",
// "frmSelectGrp" (the contact's groups), "frmNameDetail", "frmAddrDetail" (given its address kind as
// "m_strAddrType"), "frmNewLinkCont", "frmUserFields" and "frmSetRelProject", modeless and owned by the
// main window; and the pick-list add dialogs "frmAddGroup" (owned by the group dialog), "frmSetPrefix",
// "frmSetSuffix" and "frmSetJobTitle". The main window calls it once at start-up.
void RegisterScreens();

}  // namespace contacts
