#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "platform/db/Database.h"

class QObject;
class QWidget;

namespace core {

// A step the user waits for (the start-up check after an unclean end): its status text is on the
// screen before the step begins, the pointer is the hourglass, and the main window's progress bar
// follows progress(), which also keeps the window painted (user input waits until the step is over;
// so does a close asked for meanwhile). The bar goes with the step; the status line and the pointer
// are put back by the caller, as after any other step.
class LongStep {
public:
    explicit LongStep(const QString& status);
    ~LongStep();
    LongStep(const LongStep&) = delete;
    LongStep& operator=(const LongStep&) = delete;

    // For the database layer's long statements.
    db::Progress progress() const;

private:
    QPointer<QWidget> m_window;
    std::unique_ptr<QObject> m_closeHold;
};

}  // namespace core
