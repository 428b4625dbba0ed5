#pragma once

namespace calendar {

// Registers how the calendar views are made and shown: "frmCalMnth", "frmCalWeek", "frmCalDay" and
// "frmCalList", maximised in the main window. The main window calls it once at start-up.
void RegisterScreens();

}  // namespace calendar
