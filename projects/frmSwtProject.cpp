#include "projects/frmSwtProject.h"

#include "core/modGeneral.h"

namespace {

const SwitchRecordDialog::Kind kKind{QStringLiteral("frmSwtProject"), QStringLiteral("Load New Project"),
                                     QStringLiteral("Would you like to load this project information?"),
                                     QStringLiteral("frmProjEntry"), &g_lngCurProjID};

}  // namespace

frmSwtProject::frmSwtProject(QWidget* parent) : SwitchRecordDialog(kKind, parent) {}
