#include "calendar/CalendarScreens.h"

#include "calendar/frmCalList.h"
#include "calendar/frmCalMnth.h"
#include "platform/ui/ScreenRegistry.h"

namespace calendar {

void RegisterScreens() {
    ui::ScreenRegistry::instance().registerScreen(QStringLiteral("frmCalMnth"), &frmCalMnth::Open);
    ui::ScreenRegistry::instance().registerScreen(QStringLiteral("frmCalList"), &frmCalList::Open);
}

}  // namespace calendar
