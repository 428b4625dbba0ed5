#pragma once

namespace calendar {

// Registers how the calendar views are made and shown: "frmCalMnth", the month view, and "frmCalList",
// the list view, maximised in the main window. The main window calls it once at start-up.
void RegisterScreens();

}  // namespace calendar
