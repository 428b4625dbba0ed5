#pragma once

#include <cstdint>

#include "core/SwitchRecordDialog.h"

// "Load New Project": asks before the project editor is replaced by the editor of another project.
// The opener hands over m_lngProjectID.
class frmSwtProject : public SwitchRecordDialog {
    Q_OBJECT

public:
    explicit frmSwtProject(QWidget* parent = nullptr);

    int32_t m_lngProjectID = 0;

protected:
    int32_t ChosenRecord() const override { return m_lngProjectID; }
};
