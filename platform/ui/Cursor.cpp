#include "platform/ui/Cursor.h"

#include <QApplication>
#include <QCursor>

namespace ui {

void SetBusy() {
    if (!IsBusy()) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void SetArrow() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

bool IsBusy() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

}  // namespace ui
