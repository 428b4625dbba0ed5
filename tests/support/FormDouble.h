#pragma once

#include <QWidget>

#include "platform/ui/ScreenRegistry.h"

namespace testsupport {

// A test double of a form opened through the screen registry keeps what its opener handed over as
// properties of the members' names, as the real form's members would hold them.
inline QWidget* TakeValues(QWidget* form, const ui::OpenValues& values) {
    for (auto it = values.cbegin(); it != values.cend(); ++it) form->setProperty(it.key().toLatin1(), it.value());
    return form;
}

}  // namespace testsupport
