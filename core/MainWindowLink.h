#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QWidget;

namespace core {

// What core needs of the main window. frmMain implements it and registers itself at load; core never
// includes the shell.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;

    // The main window itself, owner of every dialog.
    virtual QWidget* Widget() = 0;
    // Caption of the status label lblStatus.
    virtual void SetStatusText(const QString& text) = 0;
    virtual QString StatusText() const = 0;
    // Background colour of the status strip; each screen gives it its own colour when it loads.
    // A window without a strip of its own (the stubs of core's tests) ignores it.
    virtual void SetStatusColor(const QColor& /*colour*/) {}
    // The status line's progress bar, showing `done` of `total`; HideProgress hides it again. A
    // window without one (the stubs of core's tests) ignores both.
    virtual void ShowProgress(qint64 /*done*/, qint64 /*total*/) {}
    virtual void HideProgress() {}
    // File > Print, Edit > Delete Item and the Print toolbar button.
    virtual void SetContextCommandsEnabled(bool enabled) = 0;
    // 0 normal, 1 minimised, 2 maximised.
    virtual int WindowStateCode() const = 0;
    // The outer frame (Left, Top, Width, Height) in twips.
    virtual QRectF OuterFrameTwips() const = 0;
    // False where the platform does not report the window's position (Wayland).
    virtual bool PositionKnown() const = 0;
    // The notification-area icon goes; nothing happens when none is shown.
    virtual void RemoveTrayIcon() {}
    // The window is shown again, also from the tray or from the minimising that stands in for it
    // where there is no tray, and the icon goes.
    virtual void ShowFromTray() {}
    // The last minute the reminder poll has looked at (core::Clock::MinuteText); empty while no poll
    // runs.
    virtual QString PollTime() const { return {}; }
};

void SetMainWindow(MainWindowLink* window);
MainWindowLink* MainWindow();  // nullptr while no main window exists (tests of core alone)

}  // namespace core
