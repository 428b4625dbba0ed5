#pragma once

#include "contacts/dialogs/UserFieldsDialog.h"

// "New / Edit User Contact Fields": the user's own contact fields and the current contact's values,
// opened from the contact editor's "Add User Field ..." button.
class frmUserFields : public UserFieldsDialog {
    Q_OBJECT

public:
    static const UserFieldsSetup kSetup;

    explicit frmUserFields(QWidget* owner = nullptr);

    // Makes, loads and shows the dialog owned by `owner`.
    static frmUserFields* Open(QWidget* owner);
};
