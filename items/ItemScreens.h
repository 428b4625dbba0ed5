#pragma once

// The to-do and note dialogs, registered with the screen registry by their names.
namespace items {

void RegisterScreens();

}  // namespace items
