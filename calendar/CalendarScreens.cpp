#include "calendar/CalendarScreens.h"

#include "calendar/frmCalDay.h"
#include "calendar/frmCalList.h"
#include "calendar/frmCalMnth.h"
#include "calendar/frmCalWeek.h"
#include "platform/ui/ScreenRegistry.h"

namespace calendar {

void RegisterScreens() {
    ui::ScreenRegistry& registry = ui::ScreenRegistry::instance();
    registry.registerScreen(QStringLiteral("frmCalMnth"), &frmCalMnth::Open);
    registry.registerScreen(QStringLiteral("frmCalWeek"), &frmCalWeek::Open);
    registry.registerScreen(QStringLiteral("frmCalDay"), &frmCalDay::Open);
    registry.registerScreen(QStringLiteral("frmCalList"), &frmCalList::Open);
}

}  // namespace calendar
