#pragma once

class QWidget;

namespace core {

// Registers with ui::ScreenRegistry how the dialogs of core are made and shown, under the form names
// the commands open: "frmSecurity", "frmPreference" and "frmSetting" (modeless, owned by the main
// window; an open one is shown again) and "frmAbout" (modal, without an owner; gone when the opener
// returns, which then gives nullptr). The main window calls it once at start-up.
void RegisterCoreScreens();

// The log-on step of the start-up. With the security option off it does nothing. With it on but no
// user in Security, nobody could log on: the option is switched off (and written "0") and the
// start-up goes on. Otherwise the log-on dialog runs modally over `owner`. Returns false when the
// log-on was abandoned and the program must end at once. Errors reach the caller's trap.
bool RunLogOn(QWidget* owner);

}  // namespace core
