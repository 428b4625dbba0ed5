#pragma once

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QRectF>
#include <QString>

#include "core/MainWindowLink.h"

class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class QWidget;

// The main window: every screen opens inside its MDI area and every dialog is owned by it. Its load
// handler does the whole start-up; its close handler decides between asking, closing silently and
// minimising while reminders are pending.
class frmMain : public QMainWindow, public core::MainWindowLink {
    Q_OBJECT

public:
    // What the start-up leaves the program to do: run its event loop, or end at once.
    enum class LoadResult { Running, End };

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    LoadResult MDIForm_Load();
    // The program's exit code after the load said End.
    int ExitCode() const { return m_exitCode; }

    // Shows a screen maximised in the MDI area and lists it with the screen registry.
    QMdiSubWindow* ShowScreen(QWidget* screen);
    QMdiArea* MdiArea() const { return m_mdiArea; }

    // Set by the log-on dialog: true when it was abandoned, so the window closes without the
    // question and without saving anything.
    bool m_blnEmerShutdown = false;

    // The date kept at start-up ("MM/dd/yyyy") and whether no reminder is open for it.
    QString StartDate() const { return m_vStartDate; }
    bool NoReminders() const { return m_blnNoReminders; }

    // core::MainWindowLink
    QWidget* Widget() override { return this; }
    void SetStatusText(const QString& text) override;
    QString StatusText() const override;
    void SetContextCommandsEnabled(bool enabled) override;
    int WindowStateCode() const override;
    QRectF OuterFrameTwips() const override;
    bool PositionKnown() const override;

Q_SIGNALS:
    // The window has closed for good; the program ends (Main quits its event loop on it).
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The log-on step of the start-up: true to go on, false when the program must end (the log-on
    // then sets m_blnEmerShutdown).
    virtual bool RunLogOn();

private:
    void BuildMenus();
    void BuildToolbars();
    void BuildStatusLine();

    void RestoreWindowPlacement();
    void ApplyMinimumSize();
    LoadResult EndSilently(int exitCode);
    void ShutDownOnce();
    void DesktopShutDown();

    void CheckReminderList();
    void Timer1_Timer();
    void mnuFileExit_Click();
    void mnuHelpErrLog_Click();

    QMdiArea* m_mdiArea = nullptr;
    QLineEdit* txtSrch = nullptr;
    QToolBar* tbrMain = nullptr;
    QToolBar* tbrNav = nullptr;
    QToolBar* tbrGo = nullptr;
    QWidget* picStatus = nullptr;
    QLabel* lblStatus = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuEditDelete = nullptr;
    QTimer* Timer1 = nullptr;
    QList<QKeySequence> m_menuShortcuts;

    QString m_vStartDate;
    // False until the first check, which counts as reminders pending.
    bool m_blnNoReminders = false;
    bool m_blnStarted = false;
    bool m_blnShutDownDone = false;
    int m_exitCode = 0;
};
