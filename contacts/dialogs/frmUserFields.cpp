#include "contacts/dialogs/frmUserFields.h"

#include "core/modGeneral.h"
#include "platform/ui/Activation.h"

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
    return ui::ShownActive(new frmUserFields(owner));
}
