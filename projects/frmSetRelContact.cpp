#include "projects/frmSetRelContact.h"

const RelatedPickerSetup frmSetRelContact::kSetup{
    "frmSetRelContact",
    "Add Related Contact",
    "All default Contacts listed",
    "lstContact",
    "SELECT ContID, ShownName FROM Contacts WHERE Setting = 'Default' ORDER BY ShownName",
    "ContID",
    "ShownName",
    "There are no Contacts entered to select.",
    "You must select a Contact from the list.",
    "selecting a Contact Name",
    false,
    "frmProjEntry",
    "LoadRelContactInfo",
};

frmSetRelContact::frmSetRelContact(QWidget* owner) : RelatedPicker(kSetup, owner) {}

frmSetRelContact* frmSetRelContact::Open(QWidget* owner) {
    auto* dialog = new frmSetRelContact(owner);
    return RelatedPicker::Show(dialog) ? dialog : nullptr;
}
