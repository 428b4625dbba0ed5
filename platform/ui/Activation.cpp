#include "platform/ui/Activation.h"

#include <QApplication>
#include <QEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace ui {

namespace {

enum class FocusFrom { Program, Prompt, Outside };

// Where the focus was before the change being handled: Qt delivers the activation change to the
// widgets before it announces the new focus window, so this still holds the window left. A focus
// window that is destroyed is dropped without an announcement; it stays recorded as a window of the
// program, as it was one.
FocusFrom g_focusFrom = FocusFrom::Program;

bool IsPromptWindow(const QWindow* window) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->windowHandle() == window)
            return qobject_cast<QMessageBox*>(top) != nullptr || qobject_cast<QInputDialog*>(top) != nullptr;
    }
    return false;
}

void FollowFocus() {
    static QPointer<QCoreApplication> followed;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || followed == app) return;
    followed = app;
    g_focusFrom = FocusFrom::Program;
    // The platform reports no focus window when another application takes the focus.
    QObject::connect(app, &QGuiApplication::focusWindowChanged, app, [](QWindow* window) {
        if (!window) {
            g_focusFrom = FocusFrom::Outside;
        } else {
            g_focusFrom = IsPromptWindow(window) ? FocusFrom::Prompt : FocusFrom::Program;
        }
    });
}

}  // namespace

bool ActivatedFromProgram(const QWidget* window, const QEvent* event) {
    FollowFocus();
    if (event->type() != QEvent::ActivationChange || !window->isActiveWindow()) return false;
    return g_focusFrom == FocusFrom::Program;
}

}  // namespace ui
