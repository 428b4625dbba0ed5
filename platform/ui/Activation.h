#pragma once

class QEvent;
class QWidget;

namespace ui {

// A screen that wants to know when it becomes the active screen again: on its first show, and each
// time the main window is activated again from another window of the program (a modeless dialog
// closed) while it is the screen on view.
class ActivatableScreen {
public:
    virtual ~ActivatableScreen() = default;
    virtual void Form_Activate() = 0;
};

// For a window's changeEvent: true when `event` makes `window` the active window and the focus comes
// from another window of the program. Coming back from another application, or from one of the
// program's own message and input boxes, is not a return to the window and gives false.
bool ActivatedFromProgram(const QWidget* window, const QEvent* event);

// A modeless window just made by its opener: shown, raised and made the active window.
template <class Window>
Window* ShownActive(Window* window) {
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace ui
