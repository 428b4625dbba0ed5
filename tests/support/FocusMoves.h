#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QWidget>
#include <QWindow>

// The ways the focus leaves a window of the program and comes back to it, as the platform reports
// them. The offscreen platform never lets another application take the focus, so that move is
// reported here in the platform's order: the active window is dropped and no window has the focus;
// on return the window is activated before the new focus window is announced.
namespace testsupport {

enum class FocusMove { OtherWindow, OtherApplication, MessageBox };

inline bool Activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Moves the focus away from `window` and back to it.
inline bool LeaveAndReturn(QWidget* window, FocusMove move) {
    switch (move) {
        case FocusMove::OtherWindow: {
            QWidget other;
            other.show();
            if (!Activate(&other)) return false;
            other.close();
            break;
        }
        case FocusMove::MessageBox: {
            QMessageBox box(window);
            box.setText(QStringLiteral("Ready"));
            box.show();
            if (!Activate(&box)) return false;
            box.close();
            break;
        }
        case FocusMove::OtherApplication:
            QApplication::setActiveWindow(nullptr);
            Q_EMIT qApp->focusWindowChanged(nullptr);
            QApplication::setActiveWindow(window);
            Q_EMIT qApp->focusWindowChanged(window->windowHandle());
            return window->isActiveWindow();
    }
    return Activate(window);
}

}  // namespace testsupport

Q_DECLARE_METATYPE(testsupport::FocusMove)
