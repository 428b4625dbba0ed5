#include "platform/ui/InputHold.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <utility>

namespace ui {
namespace {

int g_holds = 0;
QList<QPointer<QAction>> g_heldCommands;

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

// The menu command whose shortcut `key` is, kept to be run once input is taken again.
void HoldCommandOf(const QKeyEvent& key) {
    if (key.isAutoRepeat()) return;
    const QKeySequence keys(key.keyCombination());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        for (QAction* command : window->findChildren<QAction*>()) {
            if (command->shortcut() == keys) {
                g_heldCommands.append(command);
                return;
            }
        }
    }
}

class InputDrop : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Taken as overridden, so that the key comes as a key press, whichever window is active (a
        // shortcut of a window behind a modal one would not fire at all).
        if (event->type() == QEvent::ShortcutOverride) event->accept();
        if (event->type() == QEvent::KeyPress) HoldCommandOf(*static_cast<QKeyEvent*>(event));
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

QList<QPointer<QAction>> InputHold::TakeHeldCommands() {
    return std::exchange(g_heldCommands, {});
}

}  // namespace ui
