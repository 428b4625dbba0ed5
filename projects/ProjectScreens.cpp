#include "projects/ProjectScreens.h"

#include "contacts/dialogs/LookupItemDialog.h"
#include "core/MainWindowLink.h"
#include "platform/ui/ScreenRegistry.h"
#include "projects/frmNewProject.h"
#include "projects/frmProjEntry.h"
#include "projects/frmProjects.h"
#include "projects/frmSetRelContact.h"
#include "projects/frmSwtProject.h"
#include "projects/frmUserPrjFields.h"

namespace projects {

namespace {

QWidget* Owner() {
    return core::MainWindow() ? core::MainWindow()->Widget() : nullptr;
}

QWidget* OpenProjectEditor() {
    auto* form = new frmProjEntry;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    // A screen's first activation follows its load and show.
    form->Form_Activate();
    return form;
}

QWidget* OpenSwitchQuestion(const ui::OpenValues& values) {
    auto* dialog = new frmSwtProject(Owner());
    dialog->m_lngProjectID = values.value(QStringLiteral("m_lngProjectID")).toInt();
    dialog->show();
    return dialog;
}

}  // namespace

void RegisterScreens() {
    auto& registry = ui::ScreenRegistry::instance();
    registry.registerScreen(QStringLiteral("frmProjEntry"), &OpenProjectEditor);
    registry.registerScreen(QStringLiteral("frmNewProject"), [] { return frmNewProject::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmSwtProject"), &OpenSwitchQuestion);
    // Both work on the current project; nothing is handed over.
    registry.registerScreen(QStringLiteral("frmUserPrjFields"),
                            [] { return frmUserPrjFields::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmSetRelContact"),
                            [] { return frmSetRelContact::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmProjects"), &frmProjects::Open);
    for (const QString& name : {QStringLiteral("frmSetProjStatus"), QStringLiteral("frmSetProjType")})
        registry.registerScreen(name, [name]() -> QWidget* { return LookupItemDialog::Open(name); });
}

}  // namespace projects
