#pragma once

#include <cstdint>

#include "core/SwitchRecordDialog.h"

// "Load New Contact": asks before the contact editor is replaced by the editor of another contact.
// The opener hands over m_lngContactID.
class frmSwtContact : public SwitchRecordDialog {
    Q_OBJECT

public:
    explicit frmSwtContact(QWidget* parent = nullptr);

    int32_t m_lngContactID = 0;

protected:
    int32_t ChosenRecord() const override { return m_lngContactID; }
};
