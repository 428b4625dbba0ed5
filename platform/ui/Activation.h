#pragma once

namespace ui {

// A screen that wants to know when it becomes the active screen again: on its first show, and each
// time the main window is activated again (a modeless dialog closed) while it is the screen on view.
class ActivatableScreen {
public:
    virtual ~ActivatableScreen() = default;
    virtual void Form_Activate() = 0;
};

}  // namespace ui
