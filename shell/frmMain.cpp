#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScreen>
#include <QSessionManager>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/Clock.h"
#include "core/CoreScreens.h"
#include "core/DataRoot.h"
#include "core/LongStep.h"
#include "core/Trap.h"
#include "core/frmErrLog.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/shell/Shell.h"
#include "platform/shell/SingleInstance.h"
#include "platform/ui/Activation.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"
#include "shell/Maintenance.h"

namespace {

// The smallest outer frame of the window, and the placement of a first start.
constexpr double kMinWidth = 12000;
constexpr double kMinHeight = 9000;
constexpr double kDefaultLeft = 1500;
constexpr double kDefaultTop = 1500;

constexpr int kReminderPollMs = 60000;
// How often and how long the start-up looks for the window manager's frame.
constexpr int kFrameWatchMs = 100;
constexpr int kFrameWatchTicks = 50;
constexpr int kProgressBarSteps = 1000;  // of the status line's progress bar
// How often a close or log-out held by a long step looks whether it may go ahead.
constexpr int kHeldRetryMs = 50;

// The window whose MDI area the screen registry shows screens in.
const frmMain* g_screenHost = nullptr;

QString NowMinute() {
    const QDateTime now = core::Clock::Now();
    return core::Clock::MinuteText(now.date(), now.time());
}

double StoredNumber(const QString& key, const QString& defaultValue) {
    return modGeneral::SettingNumber(modAPI::GetRegSetting(key, defaultValue));
}

// Black or white, whichever stands out more on `background` (relative luminance as in WCAG); the
// better of the two always reaches a contrast of 4.5:1, so a screen may give the strip any colour.
QColor ReadableTextOn(const QColor& background) {
    auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = background.toRgb();
    const double luminance =
        0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
    // Contrast to white (1.05 / (L + 0.05)) beats contrast to black ((L + 0.05) / 0.05) below this.
    const double even = std::sqrt(1.05 * 0.05) - 0.05;
    return luminance < even ? QColor(Qt::white) : QColor(Qt::black);
}

// A theme icon where the desktop has one, else the style's nearest.
QIcon ToolIcon(const QWidget* w, const char* themeName, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(themeName), w->style()->standardIcon(fallback));
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pomaret - Contact Management System"));

    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(body);

    BuildMenus();
    BuildToolbars();
    m_mdiArea = new QMdiArea(body);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    column->addWidget(m_mdiArea, 1);
    BuildStatusLine();

    ApplyMinimumSize();

    // A frameless window never gets margins; the watch gives up after a few seconds.
    m_frameWatch = new QTimer(this);
    m_frameWatch->setInterval(kFrameWatchMs);
    connect(m_frameWatch, &QTimer::timeout, this, [this] {
        if (++m_frameWatchTicks >= kFrameWatchTicks) {
            m_pendingFrame.reset();
            m_frameWatch->stop();
        }
        FollowFrameMargins();
    });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kReminderPollMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    m_heldWork = new QTimer(this);
    m_heldWork->setInterval(kHeldRetryMs);
    connect(m_heldWork, &QTimer::timeout, this, [this] { CarryOutHeld(); });

    RegisterScreens();
    RegisterPlaceholders();
    ConnectCommands();
    BuildTrayIcon();
    // Screens built outside the shell show themselves through the registry, inside this MDI area.
    HostScreens();

    // Asked to end by the desktop: no questions, but the placement is saved and the database closed.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { DesktopShutDown(); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
        // A step works on the database: the log-out waits for it.
        if (core::LongStepRunning()) {
            m_blnHeldLogOut = true;
            HoldUntilFree();
            return;
        }
        DesktopShutDown();
        if (m_blnShutDownDone) MDIForm_Unload();
    });
    // Menu shortcuts win over a text box's own keys (Ctrl+A opens an appointment, not select-all).
    qApp->installEventFilter(this);
}

frmMain::~frmMain() {
    if (core::MainWindow() == this) core::SetMainWindow(nullptr);
    // Only the window that hosts the screens lets go of them: a window made after this one, and
    // hosting already, keeps its screens.
    if (g_screenHost == this) {
        ui::ScreenRegistry::instance().setScreenHost(nullptr);
        g_screenHost = nullptr;
    }
}

void frmMain::HostScreens() {
    ui::ScreenRegistry::instance().setScreenHost([this](QWidget* screen) { ShowScreen(screen); });
    g_screenHost = this;
}

// ---------------------------------------------------------------------------------------------
// Layout

void frmMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    auto menu = [this](QMenu* parentMenu, const char* name, const QString& caption) {
        QMenu* m = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto item = [this](QMenu* m, const char* name, const QString& caption, const QKeySequence& keys = {}) {
        QAction* a = m->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (!keys.isEmpty()) {
            a->setShortcut(keys);
            a->setShortcutContext(Qt::WindowShortcut);
            m_menuShortcuts.append(keys);
        }
        return a;
    };

    QMenu* file = menu(nullptr, "mnuFile", QStringLiteral("&File"));
    QMenu* dbUtil = menu(file, "mnuFileDBUtil", QStringLiteral("Database Utilities"));
    item(dbUtil, "mnuFileCompDB", QStringLiteral("Compact Database"));
    item(dbUtil, "mnuFileRepDB", QStringLiteral("Repair Database"));
    dbUtil->addSeparator();
    item(dbUtil, "mnuFileBackupDB", QStringLiteral("Backup Data ..."));
    dbUtil->addSeparator();
    item(dbUtil, "mnuFileRestoreDB", QStringLiteral("Restore Data ..."));
    file->addSeparator();
    mnuFilePrint = item(file, "mnuFilePrint", QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    item(file, "mnuFileExit", QStringLiteral("Exit"));

    QMenu* edit = menu(nullptr, "mnuEdit", QStringLiteral("&Edit"));
    mnuEditDelete =
        item(edit, "mnuEditDelete", QStringLiteral("Delete Item"), QKeySequence(Qt::CTRL | Qt::Key_E));
    edit->addSeparator();
    QMenu* editNew = menu(edit, "mnuEditNew", QStringLiteral("New"));
    item(editNew, "mnuEditNewName", QStringLiteral("Name ..."), QKeySequence(Qt::CTRL | Qt::Key_N));
    item(editNew, "mnuEditNewProject", QStringLiteral("Project ..."), QKeySequence(Qt::CTRL | Qt::Key_R));
    editNew->addSeparator();
    item(editNew, "mnuEditNewNote", QStringLiteral("Note ..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    item(editNew, "mnuEditNewToDo", QStringLiteral("To Do ..."), QKeySequence(Qt::CTRL | Qt::Key_T));
    item(editNew, "mnuEditNewAppt", QStringLiteral("Appointment ..."), QKeySequence(Qt::CTRL | Qt::Key_A));
    edit->addSeparator();
    item(edit, "mnuEditPrefer", QStringLiteral("Preferences"));
    item(edit, "mnuEditPwd", QStringLiteral("Set/Edit Password"));

    QMenu* view = menu(nullptr, "mnuView", QStringLiteral("&View"));
    item(view, "mnuViewHome", QStringLiteral("Home"), QKeySequence(Qt::CTRL | Qt::Key_H));
    view->addSeparator();
    item(view, "mnuViewNames", QStringLiteral("Names"), QKeySequence(Qt::Key_F4));
    item(view, "mnuViewProj", QStringLiteral("Projects"), QKeySequence(Qt::Key_F5));
    item(view, "mnuViewCal", QStringLiteral("Calendar"), QKeySequence(Qt::Key_F6));
    item(view, "mnuViewToDo", QStringLiteral("To Do"), QKeySequence(Qt::Key_F7));
    view->addSeparator();
    item(view, "mnuViewCQry", QStringLiteral("Contact Query (User Defined)"), QKeySequence(Qt::Key_F2));
    item(view, "mnuViewPQry", QStringLiteral("Project Query (User Defined)"), QKeySequence(Qt::Key_F3));

    QMenu* help = menu(nullptr, "mnuHelp", QStringLiteral("&Help"));
    item(help, "mnuHelpFiles", QStringLiteral("Contact Management Help"), QKeySequence(Qt::Key_F1));
    help->addSeparator();
    item(help, "mnuHelpErrLog", QStringLiteral("Error Log"));
    help->addSeparator();
    item(help, "mnuHelpAbout", QStringLiteral("About ..."));

    QAction* download = bar->addAction(QStringLiteral("&Download Program Source Code"));
    download->setObjectName(QStringLiteral("mnuDownload"));

    // Pop-up menus that other screens show over their lists; never on the menu bar.
    auto popup = [this](const char* name) {
        auto* m = new QMenu(this);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    mnuDelContFld = popup("mnuDelContFld");
    item(mnuDelContFld, "mnuDelContactFld", QStringLiteral("Delete..."));
    mnuDelProjFld = popup("mnuDelProjFld");
    item(mnuDelProjFld, "mnuDelProjectFld", QStringLiteral("Delete ..."));
    mnuRCMemoPop = popup("mnuRCMemoPop");
    item(mnuRCMemoPop, "mnuRCMemoPopEdit", QStringLiteral("Edit Related Contact Memo ?"));
    mnuTrayPop = popup("mnuTrayPop");
    item(mnuTrayPop, "mnuTrayPopRestore", QStringLiteral("Restore Pomaret - Main Screen"));
    mnuTrayPop->addSeparator();
    item(mnuTrayPop, "mnuTrayPopClose", QStringLiteral("Close Pomaret"));
}

void frmMain::BuildToolbars() {
    auto* column = static_cast<QVBoxLayout*>(centralWidget()->layout());

    // One band across the top holding the three toolbars and the name search.
    auto* coolBar = new QFrame(centralWidget());
    coolBar->setObjectName(QStringLiteral("CoolBar1"));
    coolBar->setFrameShape(QFrame::StyledPanel);
    auto* band = new QVBoxLayout(coolBar);
    band->setContentsMargins(0, 0, 0, 0);
    auto* picture = new QWidget(coolBar);
    picture->setObjectName(QStringLiteral("Picture1"));
    band->addWidget(picture);
    column->addWidget(coolBar);

    // Buttons are told apart by their key (objectName and data), never by position.
    auto button = [](QToolBar* bar, const char* key, const QString& caption, const QString& tip,
                     const QIcon& icon) {
        auto* a = new QAction(icon, caption, bar);
        a->setObjectName(QString::fromLatin1(key));
        a->setData(QString::fromLatin1(key));
        a->setToolTip(tip);
        bar->addAction(a);
        return a;
    };

    tbrMain = new QToolBar(picture);
    tbrMain->setObjectName(QStringLiteral("tbrMain"));
    tbrMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QAction* newItem = button(tbrMain, "New", QStringLiteral("New"), QStringLiteral("Add A New Item"),
                              ToolIcon(this, "document-new", QStyle::SP_FileIcon));
    auto* dropDown = new QMenu(tbrMain);
    dropDown->setObjectName(QStringLiteral("New"));
    auto dropItem = [dropDown](const char* key, const QString& caption) {
        QAction* a = dropDown->addAction(caption);
        a->setObjectName(QString::fromLatin1(key));
        a->setData(QString::fromLatin1(key));
        return a;
    };
    dropItem("drpName", QStringLiteral("Name ..."));
    dropItem("drpPrj", QStringLiteral("Project ..."));
    QAction* sep = dropDown->addSeparator();
    sep->setObjectName(QStringLiteral("drpSep1"));
    sep->setData(QStringLiteral("drpSep1"));
    dropItem("drpNote", QStringLiteral("Note ..."));
    dropItem("drpToDo", QStringLiteral("To Do ..."));
    dropItem("drpAppt", QStringLiteral("Appointment ..."));
    newItem->setMenu(dropDown);
    // The button itself does nothing; only its drop-down items do.
    if (auto* tool = qobject_cast<QToolButton*>(tbrMain->widgetForAction(newItem))) {
        tool->setPopupMode(QToolButton::MenuButtonPopup);
    }
    tbrMain->addSeparator();
    button(tbrMain, "Names", QStringLiteral("Names"), QStringLiteral("View The Names Listing Screen"),
           ToolIcon(this, "x-office-address-book", QStyle::SP_FileDialogDetailedView));
    button(tbrMain, "Prj", QStringLiteral("Project"), QStringLiteral("View The Projects Screen"),
           ToolIcon(this, "folder", QStyle::SP_DirIcon));
    button(tbrMain, "Cal", QStringLiteral("Sched"), QStringLiteral("View The Calendar Screen"),
           ToolIcon(this, "x-office-calendar", QStyle::SP_FileDialogInfoView));
    button(tbrMain, "ToDo", QStringLiteral("To Do"), QStringLiteral("View The To Do List Screen"),
           ToolIcon(this, "view-list-details", QStyle::SP_FileDialogListView));
    button(tbrMain, "Print", QStringLiteral("Print"), QStringLiteral("Print The Currently Active Item"),
           ToolIcon(this, "document-print", QStyle::SP_DialogSaveButton));

    tbrNav = new QToolBar(picture);
    tbrNav->setObjectName(QStringLiteral("tbrNav"));
    button(tbrNav, "Home", QString(), QStringLiteral("Go To Home Screen"),
           ToolIcon(this, "go-home", QStyle::SP_DirHomeIcon));
    tbrNav->addSeparator();

    auto* label = new QLabel(QStringLiteral("Name Search :"), picture);
    label->setObjectName(QStringLiteral("Label1"));
    txtSrch = new QLineEdit(picture);
    txtSrch->setObjectName(QStringLiteral("txtSrch"));
    txtSrch->setFixedWidth(ui::twips::ToPixelsX(2400));

    tbrGo = new QToolBar(picture);
    tbrGo->setObjectName(QStringLiteral("tbrGo"));
    button(tbrGo, "Find", QString(), QStringLiteral("Find Entered Name"),
           ToolIcon(this, "edit-find", QStyle::SP_FileDialogContentsView));

    // The search strip keeps to the right edge: tbrGo 100 twips in, the box and its label 75 twips
    // apart; the toolbars stay at the left.
    auto* row = new QHBoxLayout(picture);
    row->setContentsMargins(0, 0, ui::twips::ToPixelsX(100), 0);
    row->setSpacing(0);
    row->addWidget(tbrMain);
    row->addWidget(tbrNav);
    row->addStretch(1);
    row->addWidget(label);
    row->addSpacing(ui::twips::ToPixelsX(75));
    row->addWidget(txtSrch);
    row->addSpacing(ui::twips::ToPixelsX(75));
    row->addWidget(tbrGo);
}

void frmMain::BuildStatusLine() {
    auto* column = static_cast<QVBoxLayout*>(centralWidget()->layout());
    picStatus = new QWidget(centralWidget());
    picStatus->setObjectName(QStringLiteral("picStatus"));
    // Each screen gives the strip its own colour.
    picStatus->setAutoFillBackground(true);
    lblStatus = new QLabel(QStringLiteral(" Ready ..."), picStatus);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    // The label sits 75 twips in from either side of the strip.
    auto* row = new QHBoxLayout(picStatus);
    row->setContentsMargins(ui::twips::ToPixelsX(75), 2, ui::twips::ToPixelsX(75), 2);
    row->addWidget(lblStatus, 1);
    StatusProgress = new QProgressBar(picStatus);
    StatusProgress->setObjectName(QStringLiteral("StatusProgress"));
    StatusProgress->setRange(0, kProgressBarSteps);
    StatusProgress->setFixedWidth(ui::twips::ToPixelsX(3000));
    StatusProgress->hide();
    row->addWidget(StatusProgress);
    column->addWidget(picStatus);
}

QMdiSubWindow* frmMain::ShowScreen(QWidget* screen) {
    QMdiSubWindow* frame = m_mdiArea->addSubWindow(screen);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->showMaximized();
    ui::ScreenRegistry::instance().add(screen);
    return frame;
}

// ---------------------------------------------------------------------------------------------
// Start-up

frmMain::LoadResult frmMain::MDIForm_Load() {
    core::SetMainWindow(this);
    HostScreens();
    m_blnLoading = true;
    struct EndLoading {
        bool& loading;
        ~EndLoading() { loading = false; }
    } endLoading{m_blnLoading};
    LoadResult result = LoadResult::Running;
    bool remindersChecked = false;

    const bool ok = core::trap(QStringLiteral("frmMain.MDIForm_Load"), core::Tail::ErrorBox, [&] {
        // Ends at once: nothing shown, nothing saved.
        if (!AcquireLock()) {
            result = LoadResult::End;
            return;
        }

        RestoreWindowPlacement();
        g_wsMain = std::make_unique<Workspace>(
            Workspace{QStringLiteral("MainWS"), QStringLiteral("admin"), QString()});
        show();
        modGeneral::LoadRegistrySettings();
        modGeneral::DisableContextCommands();
        m_vStartDate = QLocale::c().toString(core::Clock::Today(), QStringLiteral("MM/dd/yyyy"));

        // The start-up opens its own database: any handle left from before (none in a real start)
        // is let go, so that a failed open cannot pass unnoticed. Without a database the program
        // does not go on; OpenLocalDB has shown the error box.
        g_dbLocal.close();
        modGeneral::OpenLocalDB();
        // Said once the log can take it; said in the box even when the database failed.
        modGeneral::ReportSettingsSetAside();
        shell::ReportLeftovers();
        if (!g_dbLocal) {
            result = EndSilently(1);
            return;
        }
        modGeneral::CheckDatabaseVersion();
        if (!RunLogOn()) {
            result = EndSilently(0);
            return;
        }
        CheckReminderList();
        remindersChecked = true;
        ui::ScreenRegistry::instance().open(QStringLiteral("frmHome"));
        // The first tick takes today's reminders whose minute went by while the program was closed.
        m_vPollTime = NowMinute();
        Timer1->start();
    });

    if (!ok) {
        // The error box has been shown. Once the reminders are known the window can be used and
        // closed as usual and stays as far as it was built; before that it could not even be
        // closed properly, so the program ends.
        if (!remindersChecked || !g_dbLocal) return EndSilently(1);
        result = LoadResult::Running;
    }
    if (result == LoadResult::Running) m_blnStarted = true;
    return result;
}

bool frmMain::AcquireLock() {
    using shell::SingleInstance::Outcome;
    const QString lockPath = core::DataRoot::LockPath();
    QString otherHost;
    const Outcome outcome =
        shell::SingleInstance::tryAcquire(lockPath, core::DataRoot::DatabasePath(), &otherHost);
    if (outcome == Outcome::Acquired) return true;
    const QString folder = QFileInfo(lockPath).absolutePath();
    if (outcome == Outcome::DiskFull) {
        // Said as the database's open says it: whichever step meets the full disk first.
        const db::DbError full = db::DiskFull(folder);
        modGeneral::ShowError(full.number(), full.description());
        m_exitCode = 1;
        return false;
    }
    QString text = QStringLiteral("Pomaret - Contact Manager is already running.");
    m_exitCode = 0;
    if (outcome == Outcome::Running && !shell::SingleInstance::namesLiveCopy(lockPath)) {
        // The lock file was changed, replaced or removed under the copy that runs: the user may look
        // for that file and find it saying nothing, or something else.
        text += QStringLiteral(
                    "\nA copy holds the data in '%1', though the lock file '%2' does not name it: "
                    "end that copy before starting Pomaret again.")
                    .arg(core::DataRoot::Dir(), lockPath);
    } else if (outcome == Outcome::OtherHost) {
        text = QStringLiteral(
                   "Pomaret - Contact Manager is already running on the computer '%1' with the data in "
                   "'%2'.\nTwo computers must not use one database at the same time. Once Pomaret has "
                   "ended on that computer, delete the lock file '%3' and start Pomaret again.")
                   .arg(otherHost, core::DataRoot::Dir(), lockPath);
        m_exitCode = 1;
    } else if (outcome == Outcome::CannotCreate) {
        // Without its lock a second copy could open the same database unwarned.
        text = core::DataRoot::FileInTheWay(folder);
        if (text.isEmpty()) {
            text = QStringLiteral(
                       "Pomaret cannot create its lock file in the folder '%1'.\nWithout the lock a second "
                       "copy could use the same database, so Pomaret does not start.")
                       .arg(folder);
        }
        m_exitCode = 1;
    }
    ui::MsgBox(text, ui::OKOnly | ui::Critical, ui::ProgramTitle());
    return false;
}

bool frmMain::RunLogOn() {
    // The log-on dialog, modal and owned by this window; an abandoned log-on is an emergency
    // shut-down: the window closes without the question and without saving.
    if (!core::RunLogOn(this)) m_blnEmerShutdown = true;
    return !m_blnEmerShutdown;
}

void frmMain::RestoreWindowPlacement() {
    // Every stored state opens normal: "2" shows the designed state, which is normal, "1" is set
    // back to normal and any other value counts as 0. The key is still read first, so an
    // unreadable store is reported here.
    modAPI::GetRegSetting(QStringLiteral("WindowState"), QStringLiteral("2"));
    setWindowState(Qt::WindowNoState);

    const QRectF stored(StoredNumber(QStringLiteral("WindowLeft"), QStringLiteral("1500")),
                        StoredNumber(QStringLiteral("WindowTop"), QStringLiteral("1500")),
                        StoredNumber(QStringLiteral("WindowWidth"), QStringLiteral("12000")),
                        StoredNumber(QStringLiteral("WindowHeight"), QStringLiteral("9000")));
    QList<QRect> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) screens << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) screens << screen->availableGeometry();
    }
    // Where the window system places windows itself, only the size counts.
    const QRect frame = PlacedFrame(stored, screens);
    m_pendingFrame = frame;
    ApplyOuterFrame();
    show();
    // Some platforms frame the window at once; under a window manager the frame comes later, with a
    // move or resize of the window, or unannounced, which the watch catches.
    FollowFrameMargins();
    if (m_pendingFrame) {
        m_frameWatchTicks = 0;
        m_frameWatch->start();
    }
}

QRect frmMain::PlacedFrame(const QRectF& storedTwips, const QList<QRect>& screens) {
    // Hand-edited values may be anything; beyond this they only overflow the pixel arithmetic.
    constexpr double kTwipsLimit = 1e8;
    auto pixels = [&](double twips, bool x) {
        const double bounded = std::clamp(twips, -kTwipsLimit, kTwipsLimit);
        return x ? ui::twips::ToPixelsX(bounded) : ui::twips::ToPixelsY(bounded);
    };
    const QSize minimum(ui::twips::ToPixelsX(kMinWidth), ui::twips::ToPixelsY(kMinHeight));
    // The stored placement is the outer frame, as the close saves it.
    QRect frame(
        QPoint(pixels(storedTwips.left(), true), pixels(storedTwips.top(), false)),
        QSize(pixels(storedTwips.width(), true), pixels(storedTwips.height(), false)).expandedTo(minimum));
    if (screens.isEmpty()) return frame;

    // The screen it lands on is the one it covers most. A screen that has gone since the last run
    // must not leave the window out of reach: off every screen it comes back on the first.
    QRect screen;
    qint64 covered = 0;
    for (const QRect& area : screens) {
        const QRect common = area.intersected(frame);
        const qint64 size = qint64(common.width()) * common.height();
        if (!common.isEmpty() && size > covered) {
            covered = size;
            screen = area;
        }
    }
    if (screen.isNull()) {
        screen = screens.first();
        frame.moveTopLeft(screen.topLeft() +
                          QPoint(ui::twips::ToPixelsX(kDefaultLeft), ui::twips::ToPixelsY(kDefaultTop)));
    }
    // No larger than that screen (a window far larger costs memory for nothing and is saved again at
    // the close) and inside it; the minimum size wins on a screen smaller than it.
    frame.setSize(frame.size().boundedTo(screen.size()).expandedTo(minimum));
    frame.moveLeft(
        std::max(screen.left(), std::min(frame.left(), screen.left() + screen.width() - frame.width())));
    frame.moveTop(
        std::max(screen.top(), std::min(frame.top(), screen.top() + screen.height() - frame.height())));
    return frame;
}

void frmMain::ApplyOuterFrame() {
    if (!m_pendingFrame) return;
    m_appliedMargins = FrameMargins();
    ApplyMinimumSize();
    const QRect client = m_pendingFrame->marginsRemoved(m_appliedMargins);
    if (PositionKnown())
        setGeometry(client);
    else
        resize(client.size());
}

void frmMain::FollowFrameMargins() {
    if (!m_pendingFrame) return;
    // Maximised or minimised meanwhile: the stored frame no longer applies.
    if (windowState() != Qt::WindowNoState) {
        m_pendingFrame.reset();
        m_frameWatch->stop();
        return;
    }
    const QMargins margins = FrameMargins();
    if (margins != m_appliedMargins) ApplyOuterFrame();
    if (!margins.isNull()) {
        m_pendingFrame.reset();
        m_frameWatch->stop();
    }
}

QMargins frmMain::FrameMargins() const {
    const QWindow* handle = windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

void frmMain::ApplyMinimumSize() {
    const QMargins m = FrameMargins();
    const QSize frameExtra(m.left() + m.right(), m.top() + m.bottom());
    setMinimumSize(QSize(ui::twips::ToPixelsX(kMinWidth), ui::twips::ToPixelsY(kMinHeight)) - frameExtra);
}

frmMain::LoadResult frmMain::EndSilently(int exitCode) {
    m_exitCode = exitCode;
    m_blnEmerShutdown = true;
    close();
    // Nothing is saved, but the file is let go of cleanly.
    try {
        g_dbLocal.close();
    } catch (...) {
    }
    return LoadResult::End;
}

void frmMain::CheckReminderList() {
    core::trap(QStringLiteral("frmMain.CheckReminderList"), core::Tail::Silent, [this] {
        // Today, not the start-up date: a run that passes midnight goes on guarding the new day.
        db::Recordset rs =
            g_dbLocal->OpenRecordset(QStringLiteral("SELECT RemDate, Completed FROM Remind ") +
                                         QStringLiteral("WHERE RemDate = ? AND Completed = False"),
                                     {core::Clock::Today()});
        m_blnNoReminders = rs.Eof();
        rs.Close();
    });
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_mdiArea && !isMinimized() &&
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized)) {
        // A window manager may give the window its new size while it is still minimised, when the
        // screens' resize rules do nothing: they run again on the size they now have.
        for (QMdiSubWindow* sub : m_mdiArea->subWindowList()) {
            if (QWidget* screen = sub->widget()) {
                QResizeEvent resize(screen->size(), screen->size());
                QCoreApplication::sendEvent(screen, &resize);
            }
        }
    }
    if (!m_mdiArea || !ui::ActivatedFromProgram(this, event)) return;
    QMdiSubWindow* sub = m_mdiArea->activeSubWindow();
    if (!sub) sub = m_mdiArea->currentSubWindow();
    if (auto* screen = sub ? dynamic_cast<ui::ActivatableScreen*>(sub->widget()) : nullptr) {
        screen->Form_Activate();
    }
}

void frmMain::Timer1_Timer() {
    // Qt timers go on firing inside a pop-up's modal loop; such a tick leaves its minutes to the
    // first tick after the pop-ups have closed.
    if (m_blnPolling) return;
    // The database is closed for a moment while it is restored; the next tick catches up.
    if (!g_dbLocal) return;
    // A long step has the database; the next tick catches up as well.
    if (core::LongStepRunning()) return;
    m_blnPolling = true;
    struct EndPoll {
        bool& polling;
        ~EndPoll() { polling = false; }
    } endPoll{m_blnPolling};

    core::trap(QStringLiteral("frmMain.Timer1_Timer"), core::Tail::Silent, [this] {
        const QString minute = NowMinute();
        if (m_vPollTime.isEmpty()) {
            // Not started: go on from here.
            m_vPollTime = minute;
        } else {
            // The minutes are compared as the texts the rows hold (core::Clock::MinuteText). Every
            // open reminder of today up to this minute, whenever its minute went by unseen (the
            // program closed, a machine asleep, the clock set back or an hour repeated); a late tick
            // that passed midnight also takes the minutes after the last poll on the days before,
            // over as many midnights and skipped hours as it takes.
            const auto date = [](const QString& m) { return m.left(10); };
            const bool today = date(m_vPollTime) >= date(minute);
            const QString from = today ? date(minute) + QStringLiteral(" 00:00") : m_vPollTime;
            const auto time = [](const QString& m, const char* seconds) {
                return m.mid(11) + QLatin1String(seconds);
            };
            db::Recordset rs = g_dbLocal->OpenRecordset(
                QStringLiteral("SELECT RefNum, RemDate, RemTime, fkToDoID, fkApptID, ") +
                    QStringLiteral("Type, Completed FROM Remind ") +
                    QStringLiteral("WHERE RemDate >= ? AND RemDate <= ? AND (RemDate > ? OR RemTime ") +
                    (today ? QStringLiteral(">=") : QStringLiteral(">")) +
                    QStringLiteral(" ?) AND (RemDate < ? OR RemTime <= ?) AND Completed = False ") +
                    QStringLiteral("ORDER BY RemDate, RemTime, RefNum"),
                {date(from), date(minute), date(from), time(from, today ? ":00" : ":59"), date(minute),
                 time(minute, ":59")});
            struct Due {
                qint64 remindId;
                qint64 itemId;
                QString type;
            };
            QList<Due> due;
            if (!rs.Eof()) {
                rs.MoveFirst();
                while (!rs.Eof()) {
                    const QString type = rs.Value(QStringLiteral("Type")).toString();
                    const char* item = type == QLatin1String("AP")   ? "fkApptID"
                                       : type == QLatin1String("TD") ? "fkToDoID"
                                                                     : nullptr;
                    // A reminder of any other kind has no pop-up.
                    if (item) {
                        due.append({rs.Value(QStringLiteral("RefNum")).toLongLong(),
                                    rs.Value(QString::fromLatin1(item)).toLongLong(), type});
                    }
                    rs.MoveNext();
                }
            }
            rs.Close();
            // These minutes are done, however long the pop-ups stay open.
            m_vPollTime = minute;
            for (const Due& d : due) ShowReminder(d.remindId, d.itemId, d.type);
        }
        CheckReminderList();
    });
}

void frmMain::ShowReminder(qint64 remindId, qint64 itemId, const QString& type) {
    auto& registry = ui::ScreenRegistry::instance();
    if (!registry.hasScreen(QStringLiteral("frmReminder")))
        throw db::DbError(1, QStringLiteral("The form frmReminder is not available."));
    // The opener hands the pop-up over loaded with its reminder, item and kind, but not shown.
    const QString item = type == QLatin1String("AP") ? QStringLiteral("m_lngApptID") : QStringLiteral("m_lngToDoID");
    QWidget* popup = nullptr;
    {
        const ui::RaisedByProgram unasked;
        popup = registry.open(QStringLiteral("frmReminder"), {{QStringLiteral("m_lngRemindID"), remindId},
                                                              {item, itemId},
                                                              {QStringLiteral("m_strType"), type}});
    }
    // One that is already on screen was brought forward and keeps its own reminder.
    if (!popup || popup->isVisible()) return;
    if (auto* dialog = qobject_cast<QDialog*>(popup)) {
        dialog->exec();
    } else {
        popup->show();
    }
    // A pop-up brings the window back from the tray when it closes.
    ShowFromTray();
}

// ---------------------------------------------------------------------------------------------
// Notification-area icon

void frmMain::BuildTrayIcon() {
    m_trayIcon = new QSystemTrayIcon(this);
    m_trayIcon->setObjectName(QStringLiteral("picTray"));
    QIcon icon = windowIcon();
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    m_trayIcon->setIcon(icon);
    m_trayIcon->setToolTip(QStringLiteral("Pomaret - Contact Manager\nAppointment / To Do Reminder"));
    // The menu comes with the right button; other clicks do nothing.
    m_trayIcon->setContextMenu(mnuTrayPop);
    connect(findChild<QAction*>(QStringLiteral("mnuTrayPopRestore")), &QAction::triggered, this,
            [this] { mnuTrayPopRestore_Click(); });
    connect(findChild<QAction*>(QStringLiteral("mnuTrayPopClose")), &QAction::triggered, this,
            [this] { mnuTrayPopClose_Click(); });
}

void frmMain::AddTrayIcon() {
    // The desktop's own failures to show it are not reported.
    m_trayIcon->show();
}

void frmMain::RemoveTrayIcon() {
    m_trayIcon->hide();
}

bool frmMain::TrayIconShown() const {
    return m_trayIcon->isVisible();
}

void frmMain::ShowFromTray() {
    if (m_blnMinimisedForReminders && isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    m_blnMinimisedForReminders = false;
    show();
    RemoveTrayIcon();
}

void frmMain::mnuTrayPopRestore_Click() {
    // The flag stays: a later close hides the window again while reminders are pending.
    core::trap(QStringLiteral("frmMain.mnuTrayPopRestore_Click"), core::Tail::ErrorBox,
               [this] { ShowFromTray(); });
}

void frmMain::mnuTrayPopClose_Click() {
    core::trap(QStringLiteral("frmMain.mnuTrayPopClose_Click"), core::Tail::ErrorBox, [this] {
        m_blnNoReminders = true;
        RemoveTrayIcon();
        // Asked to close and answered No: the window stays hidden, so the icon comes back to reach it.
        if (!close() && isHidden()) AddTrayIcon();
    });
}

// ---------------------------------------------------------------------------------------------
// Close

void frmMain::closeEvent(QCloseEvent* event) {
    // Neither the question nor the shut-down may come in the middle of a step.
    if (core::LongStepRunning()) {
        event->ignore();
        m_blnHeldClose = true;
        HoldUntilFree();
        return;
    }
    if (MDIForm_QueryUnload()) {
        event->accept();
        MDIForm_Unload();
    } else {
        event->ignore();
    }
}

bool frmMain::MDIForm_QueryUnload() {
    try {
        if (m_blnEmerShutdown) {
            Timer1->stop();
            return true;
        }
        // Reminders are pending today and there is a tray to wait in: keep polling, out of the way.
        if (!m_blnNoReminders && shell::TrayAvailable()) {
            hide();
            AddTrayIcon();
            return false;
        }
        // Without a tray this question, as the tray menu's Close asks it, is the only way to end
        // while reminders are pending.
        if (ui::MsgBox(QStringLiteral("Close Pomaret?"), ui::YesNo | ui::Question,
                       QStringLiteral("Confirm Close")) == ui::Answer::Yes) {
            ShutDownOnce();
            return true;
        }
        // Kept running for its reminders: minimised rather than hidden, so it can be reached.
        if (!m_blnNoReminders) {
            m_blnMinimisedForReminders = true;
            showMinimized();
        }
    } catch (...) {
    }
    return false;
}

void frmMain::MDIForm_Unload() {
    Q_EMIT Unloaded();
}

void frmMain::HoldUntilFree() {
    if (!m_heldWork->isActive()) m_heldWork->start();
}

void frmMain::CarryOutHeld() {
    // After the start-up check: once the start with its log-on and boxes is over. After a command's
    // step: once the command's own boxes and windows have gone.
    if (m_blnLoading || core::LongStepRunning() || QApplication::activeModalWidget()) return;
    m_heldWork->stop();
    // An ended start has closed the window already.
    if (!m_blnStarted) return;
    if (std::exchange(m_blnHeldLogOut, false)) {
        m_blnHeldClose = false;
        DesktopShutDown();
        if (m_blnShutDownDone) MDIForm_Unload();
        return;
    }
    if (std::exchange(m_blnHeldClose, false)) close();
}

void frmMain::ShutDownOnce() {
    if (m_blnShutDownDone) return;
    m_blnShutDownDone = true;
    Timer1->stop();
    try {
        modGeneral::ShutDown();
    } catch (...) {
    }
}

void frmMain::DesktopShutDown() {
    // Only a program that got going has anything to save; an abandoned start saves nothing.
    if (!m_blnStarted || m_blnEmerShutdown) return;
    ShutDownOnce();
}

void frmMain::mnuFileExit_Click() {
    close();
}

void frmMain::mnuHelpErrLog_Click() {
    core::trap(QStringLiteral("frmMain.mnuHelpErrLog_Click"), core::Tail::ErrorBox,
               [] { frmErrLog::ShowModal(nullptr); });
}

// ---------------------------------------------------------------------------------------------
// Size and keys

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FollowFrameMargins();
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    MDIForm_Resize();
}

void frmMain::MDIForm_Resize() {
    try {
        FollowFrameMargins();
        if (isMinimized() || isMaximized() || isFullScreen()) return;
        // Width first; the resize it causes comes back here for the height.
        const QMargins margins = FrameMargins();
        const QSize frameExtra(margins.left() + margins.right(), margins.top() + margins.bottom());
        const QSize outer = size() + frameExtra;
        const int minWidth = ui::twips::ToPixelsX(kMinWidth);
        const int minHeight = ui::twips::ToPixelsY(kMinHeight);
        if (outer.width() < minWidth) {
            resize(minWidth - frameExtra.width(), height());
        } else if (outer.height() < minHeight) {
            resize(width(), minHeight - frameExtra.height());
        }
    } catch (...) {
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtSrch && event->type() == QEvent::FocusIn) modGeneral::highLightOnFocus(txtSrch);
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_menuShortcuts.contains(QKeySequence(key->keyCombination()))) {
            // Refused as an override, so the menu's shortcut fires instead of the box's own key.
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// core::MainWindowLink

void frmMain::SetStatusText(const QString& text) {
    lblStatus->setText(text);
}

QString frmMain::StatusText() const {
    return lblStatus->text();
}

void frmMain::ShowProgress(qint64 done, qint64 total) {
    StatusProgress->setValue(total > 0 ? int(std::clamp<qint64>(done, 0, total) * kProgressBarSteps / total)
                                       : 0);
    StatusProgress->show();
}

void frmMain::HideProgress() {
    StatusProgress->hide();
}

void frmMain::SetStatusColor(const QColor& colour) {
    QPalette strip = picStatus->palette();
    strip.setColor(QPalette::Window, colour);
    strip.setColor(QPalette::WindowText, ReadableTextOn(colour));
    picStatus->setPalette(strip);
}

void frmMain::SetContextCommandsEnabled(bool enabled) {
    mnuFilePrint->setEnabled(enabled);
    mnuEditDelete->setEnabled(enabled);
    // The seventh button of tbrMain, counting the separator, is Print.
    const QList<QAction*> buttons = tbrMain->actions();
    if (buttons.size() >= 7) buttons.at(6)->setEnabled(enabled);
}

int frmMain::WindowStateCode() const {
    if (isMinimized()) return 1;
    if (isMaximized() || isFullScreen()) return 2;
    return 0;
}

QRectF frmMain::OuterFrameTwips() const {
    const QRect frame = geometry().marginsAdded(FrameMargins());
    return QRectF(ui::twips::FromPixelsX(frame.x()), ui::twips::FromPixelsY(frame.y()),
                  ui::twips::FromPixelsX(frame.width()), ui::twips::FromPixelsY(frame.height()));
}

bool frmMain::PositionKnown() const {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
