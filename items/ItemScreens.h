#pragma once

// The to-do, note and appointment dialogs, the reminder pop-up and the to-do list, registered with
// the screen registry by their names.
namespace items {

void RegisterScreens();

}  // namespace items
