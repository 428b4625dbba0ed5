#pragma once

namespace projects {

// Registers how the project screens and dialogs are made, loaded and shown: the project editor, the
// projects list, the new-project dialog, the switch box and the status and type add dialogs.
void RegisterScreens();

}  // namespace projects
