#include "contacts/ContactScreens.h"

#include "contacts/dialogs/frmNameSrchResult.h"
#include "contacts/dialogs/frmNames.h"
#include "contacts/dialogs/frmSwtContact.h"
#include "contacts/frmContEntry.h"
#include "core/MainWindowLink.h"
#include "platform/ui/ScreenRegistry.h"

namespace contacts {

namespace {

QWidget* OpenContactEditor() {
    auto* form = new frmContEntry;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    // A screen's first activation follows its load and show.
    form->Form_Activate();
    return form;
}

QWidget* OpenSwitchQuestion() {
    QWidget* owner = core::MainWindow() ? core::MainWindow()->Widget() : nullptr;
    auto* dialog = new frmSwtContact(owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

}  // namespace

void RegisterScreens() {
    auto& registry = ui::ScreenRegistry::instance();
    registry.registerScreen(QStringLiteral("frmContEntry"), &OpenContactEditor);
    registry.registerScreen(QStringLiteral("frmSwtContact"), &OpenSwitchQuestion);
    registry.registerScreen(QStringLiteral("frmNames"), &frmNames::Open);
    registry.registerScreen(QStringLiteral("frmNameSrchResult"), &frmNameSrchResult::Open);
}

}  // namespace contacts
