#include "projects/frmNewProject.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/ContactNumbers.h"
#include "core/DialogLayout.h"
#include "core/Trap.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/Activation.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenRegistry.h"
#include "platform/ui/TextLimit.h"
#include "platform/ui/Twips.h"

using core::Tail;
using core::layout::Place;

frmNewProject::frmNewProject(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmNewProject"));
    setWindowTitle(QStringLiteral("Set Up New Project"));
    setModal(false);
    // Unloaded when closed: the next "Project ..." makes a fresh dialog.
    setAttribute(Qt::WA_DeleteOnClose);

    BuildControls();
    ui::ScreenRegistry::instance().add(this);
    Form_Load();
}

frmNewProject::~frmNewProject() {
    try {
        m_rsProjects.Close();
    } catch (...) {
    }
}

frmNewProject* frmNewProject::Open(QWidget* owner) {
    return ui::ShownActive(new frmNewProject(owner));
}

void frmNewProject::BuildControls() {
    Label1 = new QLabel(QStringLiteral("Project:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Place(Label1, 120, 120, 4560, 255);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    ui::LimitLength(Text1, 255);
    Place(Text1, 120, 420, 4560, 315);
    Text1->installEventFilter(this);

    Label2 = new QLabel(QStringLiteral("Example : Customer Audit"), this);
    Label2->setObjectName(QStringLiteral("Label2(2)"));
    Place(Label2, 120, 795, 4560, 255);

    const QString captions[2] = {QStringLiteral("&OK"), QStringLiteral("&Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdOpts[i] = new QPushButton(captions[i], this);
        cmdOpts[i]->setObjectName(QStringLiteral("cmdOpts(%1)").arg(i));
        Place(cmdOpts[i], 2400 + i * 1200, 1215, 1080, 375);
        connect(cmdOpts[i], &QPushButton::clicked, this, [this, i] { cmdOpts_Click(i); });
    }
    ui::SetDialogKeys(this, cmdOpts[0]);  // Esc reaches reject(), which closes as Cancel does

    setFixedSize(ui::twips::ToPixelsX(4800), ui::twips::ToPixelsY(1770));
    core::layout::FitCaptions(this);
}

void frmNewProject::Form_Load() {
    core::trap(QStringLiteral("frmNewProject.Form_Load"), Tail::ErrorBox, [&] {
        m_rsProjects = g_dbLocal->OpenRecordset(QStringLiteral("Projects"));
        modAPI::FlatBorder(Text1);
        // The number is taken when the row is added, not here: a project added while the dialog
        // is open must not take it first.
    });
}

bool frmNewProject::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::FocusIn) Text1_GotFocus();
    return QDialog::eventFilter(watched, event);
}

void frmNewProject::Text1_GotFocus() {
    modGeneral::highLightOnFocus(Text1);
}

void frmNewProject::cmdOpts_Click(int index) {
    if (index == 1) {
        reject();  // closes, and so releases, the dialog; nothing is stored
        return;
    }
    core::trap(QStringLiteral("frmNewProject.cmdOpts_Click"), Tail::Unknown, [&] {
        if (ValidateEntry()) PostEntry();
    });
}

// Only an empty name is refused: blanks, and a name another project has, are the user's choice.
bool frmNewProject::ValidateEntry() {
    if (!Text1->text().isEmpty()) return true;
    ui::MsgBox(QStringLiteral("You must enter a new project name."), ui::OKOnly | ui::Information,
               QStringLiteral("Validate : Project Name"));
    Text1->setFocus();
    return false;
}

int32_t frmNewProject::GetNewProjID() {
    return core::NewProjectID(*g_dbLocal);
}

void frmNewProject::PostEntry() {
    core::trap(QStringLiteral("frmNewProject.PostEntry"), Tail::Action,
               QStringLiteral("Posting the information"), [&] {
                   // Numbered and added in one transaction, so no other write takes the number between.
                   db::Transaction transaction(*g_dbLocal);
                   m_lngNewProjID = GetNewProjID();
                   m_rsProjects.AddNew();
                   m_rsProjects.Fields(QStringLiteral("ProjID")) = m_lngNewProjID;
                   m_rsProjects.Fields(QStringLiteral("Setting")) = QStringLiteral("Default");
                   m_rsProjects.Fields(QStringLiteral("PName")) = Text1->text();
                   try {
                       m_rsProjects.Update();
                   } catch (...) {
                       m_rsProjects.CancelUpdate();
                       throw;
                   }
                   transaction.commit();

                   g_lngCurProjID = m_lngNewProjID;
                   hide();
                   // Closes every screen, this dialog among them, before the editor opens.
                   modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
                   ui::ScreenRegistry::instance().open(QStringLiteral("frmProjEntry"));
                   close();
               });
}
