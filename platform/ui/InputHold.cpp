#include "platform/ui/InputHold.h"

#include <QCoreApplication>
#include <QEvent>

namespace ui {
namespace {

int g_holds = 0;

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

class InputDrop : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return IsInput(event->type()) || QObject::eventFilter(watched, event);
    }
};

}  // namespace

InputHold::InputHold() : m_filter(std::make_unique<InputDrop>()) {
    ++g_holds;
    // Filters installed last run first: this one sees input before any of the program's own.
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(m_filter.get());
}

InputHold::~InputHold() {
    --g_holds;
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(m_filter.get());
}

bool InputHold::active() {
    return g_holds > 0;
}

}  // namespace ui
