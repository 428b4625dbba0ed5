#include "contacts/dialogs/frmUserFields.h"

#include "core/modGeneral.h"

const UserFieldsSetup frmUserFields::kSetup{
    "frmUserFields",
    "New / Edit User Contact Fields",
    "Add / Edit / Modify Contact User Defined Fields",
    "CUserFields",
    "CUFldValues",
    "fkContID",
    "Contacts",
    "ContID",
    &g_lngCurContID,
    "That field is in use in a Contact Record and cannot be removed.",
    "An un-known error occurred while Deleting the record!",
    "frmContEntry",
    "LoadUserDefInfo",
};

frmUserFields::frmUserFields(QWidget* owner) : UserFieldsDialog(kSetup, owner) {}

frmUserFields* frmUserFields::Open(QWidget* owner) {
    auto* dialog = new frmUserFields(owner);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}
