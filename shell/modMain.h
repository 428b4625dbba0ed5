#pragma once

namespace modMain {

// The start procedure: loads the main window, whose load handler does the start-up, and runs the
// program until the window's close path ends it. Returns the program's exit code.
int Main();

}  // namespace modMain
