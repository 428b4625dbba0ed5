#pragma once

#include <QList>
#include <QPointer>
#include <memory>

class QAction;
class QObject;

namespace ui {

// While one lives the program takes no user input, as under a modal progress box: keys, clicks,
// the wheel and context menus are dropped, never delivered later; calls queued with afterEvent wait
// until the last one has gone. Window-system events (paints, moves, resizes) go on. A menu command
// asked for by its shortcut meanwhile is not run but kept, for the window to carry out afterwards.
class InputHold {
public:
    InputHold();
    ~InputHold();
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

    static bool active();
    // The menu commands asked for by their shortcuts while input was held, in the order asked; the
    // list is emptied.
    static QList<QPointer<QAction>> TakeHeldCommands();

private:
    std::unique_ptr<QObject> m_filter;
};

}  // namespace ui
