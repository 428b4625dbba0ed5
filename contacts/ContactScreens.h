#pragma once

namespace contacts {

// Registers how the contact screens are made and shown: "frmContEntry" (the contact editor on
// g_lngCurContID, maximised in the main window), "frmSwtContact" (the switch question, modeless
// and owned by the main window) and the contact lists "frmNames" and "frmNameSrchResult" (screens of
// the main window). The main window calls it once at start-up.
void RegisterScreens();

}  // namespace contacts
