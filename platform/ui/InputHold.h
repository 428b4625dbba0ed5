#pragma once

#include <memory>

class QObject;

namespace ui {

// While one lives the program takes no user input, as under a modal progress box: keys, clicks,
// the wheel, shortcuts and context menus are dropped, never delivered later; calls queued with
// afterEvent wait until the last one has gone. Window-system events (paints, moves, resizes) go on.
class InputHold {
public:
    InputHold();
    ~InputHold();
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

    static bool active();

private:
    std::unique_ptr<QObject> m_filter;
};

}  // namespace ui
