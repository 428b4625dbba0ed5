#pragma once

// The to-do and note dialogs and the to-do list, registered with the screen registry by their names.
namespace items {

void RegisterScreens();

}  // namespace items
