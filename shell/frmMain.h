#pragma once

#include <QDateTime>
#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

#include "core/MainWindowLink.h"

class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QSystemTrayIcon;
class QTimer;
class QToolBar;
class QWidget;

// The main window: every screen opens inside its MDI area and every dialog is owned by it. Its load
// handler does the whole start-up; its close handler decides between asking, closing silently and,
// while reminders are pending, hiding to the tray (without a tray it asks, and No minimises).
class frmMain : public QMainWindow, public core::MainWindowLink {
    Q_OBJECT
    // Set by the editors' lists (by name) before they show a pop-up menu.
    Q_PROPERTY(QVariant m_lngContUserFld MEMBER m_lngContUserFld)
    Q_PROPERTY(QVariant m_strContUserFld MEMBER m_strContUserFld)
    Q_PROPERTY(QVariant m_lngProjUserFld MEMBER m_lngProjUserFld)
    Q_PROPERTY(QVariant m_strProjUserFld MEMBER m_strProjUserFld)
    Q_PROPERTY(int m_lngRelContID MEMBER m_lngRelContID)
    Q_PROPERTY(QString m_strOldRCMemo MEMBER m_strOldRCMemo)

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

    // What the editors set before they show a pop-up menu below: the user-defined value under the
    // pointer (its RefNum and field name) and the related contact with its current memo.
    QVariant m_lngContUserFld;
    QVariant m_strContUserFld;
    QVariant m_lngProjUserFld;
    QVariant m_strProjUserFld;
    int32_t m_lngRelContID = 0;
    QString m_strOldRCMemo;

    // The pop-up menus mnuDelContFld, mnuDelProjFld and mnuRCMemoPop at a screen position; they return
    // at once and the chosen item runs its command.
    Q_INVOKABLE void PopupDelContFld(const QPoint& globalPos);
    Q_INVOKABLE void PopupDelProjFld(const QPoint& globalPos);
    Q_INVOKABLE void PopupRCMemo(const QPoint& globalPos);

    // Opens a web address with the desktop's handler, asked for by the window `sourceHWND`.
    void OpenURL(const QString& urlADD, QWidget* sourceHWND);

    // Where the window goes for its stored outer frame (twips): no smaller than its minimum size, on
    // the screen it covers most (moved onto the first when it lies off every one), no larger than that
    // screen's available area and inside it. `screens` are the available areas, the primary first.
    static QRect PlacedFrame(const QRectF& storedTwips, const QList<QRect>& screens);

    // The date kept at start-up ("MM/dd/yyyy") and whether no reminder is open today.
    QString StartDate() const { return m_vStartDate; }
    bool NoReminders() const { return m_blnNoReminders; }

    // The reminder poll, run by Timer1 once a minute: every open reminder of today whose minute has
    // come, and past midnight those since the last poll, pops up, one after another.
    void Timer1_Timer();
    // The last minute the poll looked at (the start-up minute until the first tick).
    QString PollTime() const override { return m_vPollTime; }

    // The notification-area icon, shown while the window hides with reminders pending. The reminder
    // pop-up removes it and shows the window again when it closes (ShowFromTray).
    void AddTrayIcon();
    void RemoveTrayIcon() override;
    bool TrayIconShown() const;
    void ShowFromTray() override;

    // core::MainWindowLink
    QWidget* Widget() override { return this; }
    void SetStatusText(const QString& text) override;
    QString StatusText() const override;
    void SetStatusColor(const QColor& colour) override;
    void ShowProgress(qint64 done, qint64 total) override;
    void HideProgress() override;
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
    void moveEvent(QMoveEvent* event) override;
    // The window active again (a modeless dialog closed): the screen on view gets its Form_Activate.
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The log-on step of the start-up: true to go on, false when the program must end (the log-on
    // then sets m_blnEmerShutdown).
    virtual bool RunLogOn();
    // The window manager's frame around the client area; none until it has framed the window.
    virtual QMargins FrameMargins() const;

private:
    // The close request: true to let the window close; false keeps it (hidden to the tray, minimised
    // or as it was after No).
    bool MDIForm_QueryUnload();
    void MDIForm_Resize();  // keeps the minimum size
    void MDIForm_Unload();  // the window has closed for good
    void BuildMenus();
    void BuildToolbars();
    void BuildStatusLine();
    // Ties every menu item, toolbar button and drop-down item to its command; registers the stand-ins
    // for the screens and dialogs that are not built yet.
    void ConnectCommands();
    void RegisterScreens();  // the forms that exist, before stand-ins fill the gaps
    // Makes this window the one the screen registry shows screens in.
    void HostScreens();
    static void RegisterPlaceholders();

    // The single-instance lock; false (after its message) when the program must end.
    bool AcquireLock();
    void RestoreWindowPlacement();
    // Places the client area so that the outer frame is m_pendingFrame with the frame as now known.
    void ApplyOuterFrame();
    // Applies the stored frame again when the window manager has framed the window since.
    void FollowFrameMargins();
    void ApplyMinimumSize();
    LoadResult EndSilently(int exitCode);
    void ShutDownOnce();
    void DesktopShutDown();

    void CheckReminderList();
    void ShowReminder(qint64 remindId, qint64 itemId, const QString& type);
    void BuildTrayIcon();
    void mnuTrayPopRestore_Click();
    void mnuTrayPopClose_Click();
    void mnuFileExit_Click();
    void mnuHelpErrLog_Click();

    // Commands (frmMainCommands.cpp).
    void mnuFilePrint_Click();
    void mnuEditDelete_Click();
    void mnuEditNewName_Click();
    void mnuEditNewProject_Click();
    void mnuEditNewNote_Click();
    void mnuEditNewToDo_Click();
    void mnuEditNewAppt_Click();
    void mnuEditPrefer_Click();
    void mnuEditPwd_Click();
    void mnuViewHome_Click();
    void mnuViewNames_Click();
    void mnuViewProj_Click();
    void mnuViewCal_Click();
    void mnuViewToDo_Click();
    void mnuViewCQry_Click();
    void mnuViewPQry_Click();
    void mnuHelpFiles_Click();
    void mnuHelpAbout_Click();
    void mnuDownload_Click();
    void mnuDelContactFld_Click();
    void mnuDelProjectFld_Click();
    void mnuRCMemoPopEdit_Click();
    void tbrMain_ButtonClick(const QString& key);
    void tbrMain_ButtonMenuClick(const QString& key);
    void tbrNav_ButtonClick(const QString& key);
    void tbrGo_ButtonClick(const QString& key);
    void txtSrch_KeyPress();
    void GetNamesList();

    // The work shared by a menu item and its toolbar twin, untrapped: the caller's trap reports.
    void PrintActiveRecord();

    QMdiArea* m_mdiArea = nullptr;
    QLineEdit* txtSrch = nullptr;
    QToolBar* tbrMain = nullptr;
    QToolBar* tbrNav = nullptr;
    QToolBar* tbrGo = nullptr;
    QWidget* picStatus = nullptr;
    QLabel* lblStatus = nullptr;
    QProgressBar* StatusProgress = nullptr;  // shown only while a long step runs
    QAction* mnuFilePrint = nullptr;
    QAction* mnuEditDelete = nullptr;
    QMenu* mnuDelContFld = nullptr;
    QMenu* mnuDelProjFld = nullptr;
    QMenu* mnuRCMemoPop = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* mnuTrayPop = nullptr;
    QSystemTrayIcon* m_trayIcon = nullptr;
    QList<QKeySequence> m_menuShortcuts;

    QString m_vStartDate;
    // False until the first check, which counts as reminders pending.
    bool m_blnNoReminders = false;
    QString m_vPollTime;  // core::Clock::MinuteText
    // A tick while a pop-up is open (timers keep firing in its modal loop) must not poll again.
    bool m_blnPolling = false;
    // Where there is no tray the close path minimises; showing the window again undoes that.
    bool m_blnMinimisedForReminders = false;
    bool m_blnStarted = false;
    // The stored outer frame (pixels) while the window manager has yet to frame the window: its
    // margins are unknown right after show(), so the frame is applied again once they are known.
    std::optional<QRect> m_pendingFrame;
    QMargins m_appliedMargins;
    QTimer* m_frameWatch = nullptr;
    int m_frameWatchTicks = 0;
    bool m_blnShutDownDone = false;
    int m_exitCode = 0;

    // A close or the desktop's log-out asked for while a long step runs waits, and is carried out
    // once the step is over, the start-up has ended and no box is open.
    void HoldUntilFree();
    void CarryOutHeld();
    QTimer* m_heldWork = nullptr;
    bool m_blnHeldClose = false;
    bool m_blnHeldLogOut = false;
    bool m_blnLoading = false;  // inside MDIForm_Load
};
