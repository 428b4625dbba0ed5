#include "shell/modMain.h"

#include <QApplication>

#include "shell/frmMain.h"

namespace modMain {

int Main() {
    // The program ends only through the main window's close path, never because the last visible
    // window (a pop-up over a minimised main window) closed.
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        frmMain window;
        QObject::connect(&window, &frmMain::Unloaded, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        if (window.MDIForm_Load() == frmMain::LoadResult::End) return window.ExitCode();
        return QApplication::exec();
    } catch (...) {
        return 1;
    }
}

}  // namespace modMain
