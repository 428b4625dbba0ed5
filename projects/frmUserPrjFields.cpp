#include "projects/frmUserPrjFields.h"

#include "core/modGeneral.h"
#include "platform/ui/Activation.h"

const UserFieldsSetup frmUserPrjFields::kSetup{
    "frmUserPrjFields",
    "New / Edit User Project Fields",
    "Add / Edit / Modify Project User Defined Fields",
    "PUserFields",
    "PUFldValues",
    "fkProjID",
    "Projects",
    "ProjID",
    &g_lngCurProjID,
    "That field is in use in a Project Record and cannot be removed.",
    // Written so, doubled word and all.
    "An An un-known error occurred while Deleting the record!",
    "frmProjEntry",
    "LoadUserDefInfo",
};

frmUserPrjFields::frmUserPrjFields(QWidget* owner) : UserFieldsDialog(kSetup, owner) {}

frmUserPrjFields* frmUserPrjFields::Open(QWidget* owner) {
    return ui::ShownActive(new frmUserPrjFields(owner));
}
