#include "calendar/CalendarScreens.h"

#include "calendar/frmCalMnth.h"
#include "platform/ui/ScreenRegistry.h"

namespace calendar {

void RegisterScreens() {
    ui::ScreenRegistry::instance().registerScreen(QStringLiteral("frmCalMnth"), &frmCalMnth::Open);
}

}  // namespace calendar
