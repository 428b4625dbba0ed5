#pragma once

#include "contacts/dialogs/RelatedPicker.h"

// "Add Related Contact": links a contact to the current project, opened from the project editor's
// "Add Related Contact ..." button. Only "Default" contacts are offered.
class frmSetRelContact : public RelatedPicker {
    Q_OBJECT

public:
    static const RelatedPickerSetup kSetup;

    explicit frmSetRelContact(QWidget* owner = nullptr);

    // Makes and loads the picker owned by `owner` and shows it; nullptr when there is no contact to
    // offer (the picker has said so and closed).
    static frmSetRelContact* Open(QWidget* owner);
};
