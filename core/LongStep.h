#pragma once

#include <QString>
#include <functional>

#include "platform/db/Database.h"

namespace core {

// A step the user waits for (the start-up check after an unclean end, backup, restore, compact,
// repair). Before `work` begins, the status line shows `status` with the wait suffix, the pointer is
// the hourglass, the main window's progress bar shows, and every window is painted. `work` then runs
// on a thread of its own while this thread's event loop runs, so the windows keep painting; the
// progress it reports moves the bar (queued back to this thread, never going back). Meanwhile the
// program takes no user input (ui::InputHold), and what touches the database waits (Running()).
// What `work` throws is thrown here once it has ended. `work` shows no box and uses no connection
// that this thread may use meanwhile. The bar goes with the step; the status line and the pointer
// are put back by the caller, as after any other step.
void RunLongStep(const QString& status, const std::function<void(const db::Progress&)>& work);

// True while a long step runs: timers and queued calls that read or write the database wait, and
// the main window holds a close or a log-out until it is over.
bool LongStepRunning();

}  // namespace core
