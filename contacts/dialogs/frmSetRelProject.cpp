#include "contacts/dialogs/frmSetRelProject.h"

const RelatedPickerSetup frmSetRelProject::kSetup{
    "frmSetRelProject",
    "Add Related Project",
    "All default Projects listed",
    "lstProject",
    "SELECT ProjID, PName FROM Projects ORDER BY PName",
    "ProjID",
    "PName",
    "There are no Projects entered to select.",
    "You must select a Project from the list.",
    "selecting a Project Name",
    true,
    "frmContEntry",
    "LoadRelatedProjects",
};

frmSetRelProject::frmSetRelProject(QWidget* owner) : RelatedPicker(kSetup, owner) {}

frmSetRelProject* frmSetRelProject::Open(QWidget* owner) {
    auto* dialog = new frmSetRelProject(owner);
    return RelatedPicker::Show(dialog) ? dialog : nullptr;
}
