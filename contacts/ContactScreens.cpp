#include "contacts/ContactScreens.h"

#include "contacts/dialogs/LookupItemDialog.h"
#include "contacts/dialogs/frmAddrDetail.h"
#include "contacts/dialogs/frmNameDetail.h"
#include "contacts/dialogs/frmNameSrchResult.h"
#include "contacts/dialogs/frmNames.h"
#include "contacts/dialogs/frmNewLinkCont.h"
#include "contacts/dialogs/frmSelectGrp.h"
#include "contacts/dialogs/frmSetRelProject.h"
#include "contacts/dialogs/frmSwtContact.h"
#include "contacts/dialogs/frmUserFields.h"
#include "contacts/frmContEntry.h"
#include "contacts/frmNewName.h"
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

QWidget* Owner() {
    return core::MainWindow() ? core::MainWindow()->Widget() : nullptr;
}

QWidget* OpenSwitchQuestion(const ui::OpenValues& values) {
    auto* dialog = new frmSwtContact(Owner());
    dialog->m_lngContactID = values.value(QStringLiteral("m_lngContactID")).toInt();
    dialog->show();
    return dialog;
}

QWidget* OpenGroupDialog() {
    auto* dialog = new frmSelectGrp(Owner());
    dialog->show();
    return dialog;
}

}  // namespace

void RegisterScreens() {
    auto& registry = ui::ScreenRegistry::instance();
    registry.registerScreen(QStringLiteral("frmContEntry"), &OpenContactEditor);
    registry.registerScreen(QStringLiteral("frmSwtContact"), &OpenSwitchQuestion);
    registry.registerScreen(QStringLiteral("frmNewName"), [] { return frmNewName::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmAddrDetail"), [](const ui::OpenValues& values) {
        return frmAddrDetail::Open(Owner(), values);
    });
    registry.registerScreen(QStringLiteral("frmNewLinkCont"), [] { return frmNewLinkCont::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmSelectGrp"), &OpenGroupDialog);
    for (const QString& name : {QStringLiteral("frmAddGroup"), QStringLiteral("frmSetPrefix"),
                                QStringLiteral("frmSetSuffix"), QStringLiteral("frmSetJobTitle")})
        registry.registerScreen(name, [name]() -> QWidget* { return LookupItemDialog::Open(name); });
    // Works on the current contact; nothing is handed over.
    registry.registerScreen(QStringLiteral("frmNameDetail"), [] { return frmNameDetail::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmUserFields"), [] { return frmUserFields::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmSetRelProject"),
                            [] { return frmSetRelProject::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmNames"), &frmNames::Open);
    registry.registerScreen(QStringLiteral("frmNameSrchResult"), &frmNameSrchResult::Open);
}

}  // namespace contacts
