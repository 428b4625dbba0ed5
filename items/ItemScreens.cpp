#include "items/ItemScreens.h"

#include "core/MainWindowLink.h"
#include "items/frmAppt.h"
#include "items/frmNotes.h"
#include "items/frmReminder.h"
#include "items/frmToDo.h"
#include "items/frmToDoList.h"
#include "platform/ui/ScreenRegistry.h"

namespace items {

namespace {

QWidget* Owner() {
    return core::MainWindow() ? core::MainWindow()->Widget() : nullptr;
}

}  // namespace

void RegisterScreens() {
    auto& registry = ui::ScreenRegistry::instance();
    registry.registerScreen(QStringLiteral("frmToDo"),
                            [](const ui::OpenValues& values) { return frmToDo::Open(values, Owner()); });
    registry.registerScreen(QStringLiteral("frmNotes"),
                            [](const ui::OpenValues& values) { return frmNotes::Open(values, Owner()); });
    registry.registerScreen(QStringLiteral("frmAppt"),
                            [](const ui::OpenValues& values) { return frmAppt::Open(values, Owner()); });
    // Loaded but not shown: its opener, the reminder poll, runs it modally.
    registry.registerScreen(QStringLiteral("frmReminder"),
                            [](const ui::OpenValues& values) { return new frmReminder(values); });
    registry.registerScreen(QStringLiteral("frmToDoList"), &frmToDoList::Open);
}

}  // namespace items
