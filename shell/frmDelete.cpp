#include "shell/frmDelete.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPalette>
#include <QProgressBar>
#include <QTimer>

#include "core/MainWindowLink.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/Twips.h"

using core::Tail;

namespace {

int g_tickInterval = 800;

QString Sql(const char* text) {
    return QString::fromLatin1(text);
}

}  // namespace

frmDelete::frmDelete(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmDelete"));
    setWindowTitle(QString());
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint & ~Qt::WindowContextHelpButtonHint);
    QPalette tip = palette();
    tip.setColor(QPalette::Window, tip.color(QPalette::ToolTipBase));
    tip.setColor(QPalette::WindowText, tip.color(QPalette::ToolTipText));
    setPalette(tip);
    setAutoFillBackground(true);

    using namespace ui::twips;
    lblProgress = new QLabel(QStringLiteral(" Preparing To Delete Files ..."), this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setGeometry(ToPixelsX(120), ToPixelsY(120), ToPixelsX(4425), ToPixelsY(285));

    prbProg = new QProgressBar(this);
    prbProg->setObjectName(QStringLiteral("prbProg"));
    prbProg->setRange(0, 100);
    prbProg->setValue(0);
    prbProg->setVisible(false);
    prbProg->setGeometry(ToPixelsX(120), ToPixelsY(525), ToPixelsX(4425), ToPixelsY(300));

    Text1 = new QLineEdit(QStringLiteral("1"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(g_tickInterval);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    ui::SetDialogKeys(this, nullptr);
    setFixedSize(ToPixelsX(4665), ToPixelsY(990));

    // The numbers as they are now, when the user has just confirmed; nothing later may change them.
    m_lngContID = g_lngCurContID;
    m_lngProjID = g_lngCurProjID;
}

frmDelete::~frmDelete() = default;

QWidget* frmDelete::Open(const ui::OpenValues& values) {
    core::MainWindowLink* window = core::MainWindow();
    auto* form = new frmDelete(window ? window->Widget() : nullptr);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->m_intType = values.value(QStringLiteral("m_intType")).toInt();
    form->show();
    return form;
}

void frmDelete::SetTickInterval(int ms) {
    g_tickInterval = ms;
}

void frmDelete::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_blnActivated) return;
    m_blnActivated = true;
    QMetaObject::invokeMethod(
        this, [this] { Form_Activate(); }, Qt::QueuedConnection);
}

void frmDelete::Form_Activate() {
    if (!core::trap(QStringLiteral("frmDelete.Form_Activate"), Tail::ErrorBox, [this] { Timer1->start(); })) {
        close();
    }
}

void frmDelete::Timer1_Timer() {
    const int count = Text1->text().toInt() + 1;
    Text1->setText(QString::number(count));
    if (count != 2) return;
    // The work runs once; a box it shows must not see further ticks.
    Timer1->stop();
    if (m_intType == 1) {
        DeleteContact();
    } else if (m_intType == 2) {
        DeleteProject();
    } else {
        // Nothing to delete: a window without buttons must not stay in the way.
        close();
    }
}

void frmDelete::ShowStep(const Step& step) {
    lblProgress->setText(step.caption);
    prbProg->setValue(step.value);
    // Painted now, without running the event loop: no other event may reach the open transaction.
    lblProgress->repaint();
    prbProg->repaint();
    Q_EMIT StepShown(step.caption, step.value);
}

void frmDelete::RunDeletion(const QString& procName, const QString& status, const QString& doneStatus,
                            int32_t id, const std::vector<Step>& steps, int32_t& current) {
    m_blnWorking = true;
    core::trap(procName, Tail::ErrorBox, [&] {
        ui::SetBusy();
        modGeneral::SetStatus(status, true);
        prbProg->setVisible(true);

        const QString n = QString::number(id);
        db::Database& database = g_dbLocal.get();
        {
            // Every table or none: an error at any step rolls all of them back.
            db::Transaction transaction(database);
            for (const Step& step : steps) {
                ShowStep(step);
                for (const QString& statement : step.statements) database.Execute(statement.arg(n));
            }
            transaction.commit();
        }

        ui::SetArrow();
        modGeneral::SetStatus(doneStatus);
        ui::MsgBox(QStringLiteral("Delete Complete!"), ui::OKOnly, ui::ProgramTitle());
        modGeneral::SetStatus(QString());
        hide();
        current = 0;
        m_blnWorking = false;
        modGeneral::CloseAllChildForms();
        modGeneral::DisableContextCommands();
        ui::ScreenRegistry::instance().open(QStringLiteral("frmHome"));
    });
    m_blnWorking = false;
    close();
}

void frmDelete::DeleteContact() {
    const std::vector<Step> steps = {
        {QStringLiteral("Deleting Contact file ..."), 9, {Sql("DELETE * FROM Contacts WHERE ContID = %1")}},
        {QStringLiteral("Deleting Contact Address files ..."),
         18,
         {Sql("DELETE * FROM CAddress WHERE fkContID = %1")}},
        {QStringLiteral("Deleting Phone Number files ..."),
         27,
         {Sql("DELETE * FROM CPhone WHERE fkContID = %1")}},
        {QStringLiteral("Deleting Contact Comment files ..."),
         36,
         {Sql("DELETE * FROM CComments WHERE fkContID = %1")}},
        {QStringLiteral("Deleting Contact User Field files ..."),
         45,
         {Sql("DELETE * FROM CUFldValues WHERE fkContID = %1")}},
        {QStringLiteral("Deleting Contact Notes/Calls files ..."),
         54,
         {Sql("DELETE * FROM Attach WHERE fkContID = %1")}},
        {QStringLiteral("Deleting Contact To Do files ..."),
         63,
         {Sql("DELETE * FROM Remind WHERE fkToDoID IN (SELECT RefNum FROM ToDo WHERE fkContID = %1)"),
          Sql("DELETE * FROM ToDo WHERE fkContID = %1")}},
        {QStringLiteral("Deleting Contact Appointment files ..."),
         72,
         {Sql("DELETE * FROM Remind WHERE fkApptID IN (SELECT RefNum FROM Appts WHERE fkContID = %1)"),
          Sql("DELETE * FROM Appts WHERE fkContID = %1")}},
        {QStringLiteral("Deleting Contact E-Mail files ..."),
         81,
         {Sql("DELETE * FROM CEMail WHERE fkContID = %1")}},
        {QStringLiteral("Deleting Related Contact files ..."),
         90,
         {Sql("DELETE * FROM RelateCont WHERE MasterContID = %1"),
          Sql("DELETE * FROM RelateCont WHERE SubContID = %1")}},
        {QStringLiteral("Deleting Related Project files ..."),
         100,
         {Sql("DELETE * FROM RelateProject WHERE fkContID = %1")}},
    };
    RunDeletion(QStringLiteral("frmDelete.DeleteContact"), QStringLiteral("Deleting Contact Information"),
                QStringLiteral("Contact Sucessfully Deleted"), m_lngContID, steps, g_lngCurContID);
}

void frmDelete::DeleteProject() {
    const std::vector<Step> steps = {
        {QStringLiteral("Deleting Project file ..."), 14, {Sql("DELETE * FROM Projects WHERE ProjID = %1")}},
        {QStringLiteral("Deleting Project Comment files ..."),
         28,
         {Sql("DELETE * FROM PComments WHERE fkProjID = %1")}},
        {QStringLiteral("Deleting Project User Field files ..."),
         42,
         {Sql("DELETE * FROM PUFldValues WHERE fkProjID = %1")}},
        {QStringLiteral("Deleting Project Notes/Calls files ..."),
         56,
         {Sql("DELETE * FROM Attach WHERE fkProjID = %1")}},
        {QStringLiteral("Deleting Project To Do files ..."),
         70,
         {Sql("DELETE * FROM Remind WHERE fkToDoID IN (SELECT RefNum FROM ToDo WHERE fkProjID = %1)"),
          Sql("DELETE * FROM ToDo WHERE fkProjID = %1")}},
        {QStringLiteral("Deleting Project Appointment files ..."),
         84,
         {Sql("DELETE * FROM Remind WHERE fkApptID IN (SELECT RefNum FROM Appts WHERE fkProjID = %1)"),
          Sql("DELETE * FROM Appts WHERE fkProjID = %1")}},
        {QStringLiteral("Deleting Related Project files ..."),
         100,
         {Sql("DELETE * FROM RelateProject WHERE fkProjID = %1")}},
    };
    RunDeletion(QStringLiteral("frmDelete.DeleteProject"), QStringLiteral("Deleting Project Information"),
                QStringLiteral("Project Sucessfully Deleted"), m_lngProjID, steps, g_lngCurProjID);
}

void frmDelete::closeEvent(QCloseEvent* event) {
    // Not while the deletion runs: it finishes or rolls back first.
    if (m_blnWorking) {
        event->ignore();
        return;
    }
    Timer1->stop();
    QDialog::closeEvent(event);
}

void frmDelete::reject() {
    if (!m_blnWorking) QDialog::reject();
}
