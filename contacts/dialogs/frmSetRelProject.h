#pragma once

#include "contacts/dialogs/RelatedPicker.h"

// "Add Related Project": links a project to the current contact, opened from the contact editor's
// "Add Related Project ..." button. Every project is offered, hidden and private ones too.
class frmSetRelProject : public RelatedPicker {
    Q_OBJECT

public:
    static const RelatedPickerSetup kSetup;

    explicit frmSetRelProject(QWidget* owner = nullptr);

    // Makes and loads the picker owned by `owner` and shows it; nullptr when there is no project to
    // offer (the picker has said so and closed).
    static frmSetRelProject* Open(QWidget* owner);
};
