#include "shell/frmBackRest.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMetaObject>
#include <QTimer>

#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"
#include "shell/Maintenance.h"

namespace {

int g_tickInterval = 700;
QString g_lastCaption;

const QString kBackup = QStringLiteral("Backup");
const QString kRestore = QStringLiteral("Restore");

}  // namespace

frmBackRest::frmBackRest(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmBackRest"));
    setWindowTitle(QString());
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint & ~Qt::WindowContextHelpButtonHint);

    using namespace ui::twips;
    lblProgress = new QLabel(QString(), this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setGeometry(ToPixelsX(240), ToPixelsY(240), ToPixelsX(4200), ToPixelsY(300));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(g_tickInterval);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    ui::SetDialogKeys(this, nullptr);
    setFixedSize(ToPixelsX(4680), ToPixelsY(780));
}

frmBackRest::~frmBackRest() = default;

QString frmBackRest::Run(const QString& type) {
    core::MainWindowLink* window = core::MainWindow();
    frmBackRest form(window ? window->Widget() : nullptr);
    form.m_strType = type;
    form.exec();
    g_lastCaption = form.lblProgress->text();
    return g_lastCaption;
}

QString frmBackRest::LastCaption() {
    return g_lastCaption;
}

void frmBackRest::SetTickInterval(int ms) {
    g_tickInterval = ms;
}

int frmBackRest::TickInterval() {
    return g_tickInterval;
}

void frmBackRest::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_blnActivated) return;
    m_blnActivated = true;
    // Once the window is up, so the caption is seen while the copy runs.
    QMetaObject::invokeMethod(
        this, [this] { Form_Activate(); }, Qt::QueuedConnection);
}

void frmBackRest::Form_Activate() {
    bool copied = false;
    const bool ran = core::trap(QStringLiteral("frmBackRest.Form_Activate"), core::Tail::ErrorBox, [&] {
        if (m_strType == kBackup) {
            lblProgress->setText(QStringLiteral("Backing Up Current Data ..."));
            lblProgress->repaint();
            copied = modAPI::BackupDataFiles();
        } else if (m_strType == kRestore) {
            lblProgress->setText(QStringLiteral("Restoring Program Data ..."));
            lblProgress->repaint();
            copied = modAPI::RestoreDataFiles();
        }
    });
    if (ran && copied) {
        Timer1->start();
    } else {
        Finish();
    }
}

void frmBackRest::Timer1_Timer() {
    ++m_intCount;
    if (m_intCount < 3) return;
    Timer1->stop();
    lblProgress->setText(m_strType == kBackup ? QStringLiteral("Data Backup Complete ...")
                                              : QStringLiteral("Data Restore Complete ..."));
    Finish();
}

void frmBackRest::Finish() {
    Timer1->stop();
    if (m_strType == kRestore) {
        // The restore closed the database; after a failed one the old file is still in place.
        try {
            shell::ReopenDatabase();
        } catch (...) {
        }
    }
    m_blnDone = true;
    hide();
    done(QDialog::Accepted);
}

void frmBackRest::closeEvent(QCloseEvent* event) {
    if (m_blnDone) {
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}

void frmBackRest::reject() {
    // Esc does nothing: the copy cannot be cancelled.
    if (m_blnDone) QDialog::reject();
}
