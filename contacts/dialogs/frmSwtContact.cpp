#include "contacts/dialogs/frmSwtContact.h"

#include "core/modGeneral.h"

namespace {

const SwitchRecordDialog::Kind kKind{QStringLiteral("frmSwtContact"), QStringLiteral("Load New Contact"),
                                     QStringLiteral("Would you like to load this contact information?"),
                                     QStringLiteral("frmContEntry"), &g_lngCurContID};

}  // namespace

frmSwtContact::frmSwtContact(QWidget* parent) : SwitchRecordDialog(kKind, parent) {}
