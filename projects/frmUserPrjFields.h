#pragma once

#include "contacts/dialogs/UserFieldsDialog.h"

// "New / Edit User Project Fields": the user's own project fields and the current project's values,
// opened from the project editor's "Add User Field ..." button.
class frmUserPrjFields : public UserFieldsDialog {
    Q_OBJECT

public:
    static const UserFieldsSetup kSetup;

    explicit frmUserPrjFields(QWidget* owner = nullptr);

    // Makes, loads and shows the dialog owned by `owner`.
    static frmUserPrjFields* Open(QWidget* owner);
};
