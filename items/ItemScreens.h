#pragma once

// The to-do, note and appointment dialogs and the reminder pop-up, registered with the screen
// registry by their names.
namespace items {

void RegisterScreens();

}  // namespace items
