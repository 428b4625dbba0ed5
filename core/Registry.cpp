// The settings writes of the option check boxes (AltColors, GridLines, Security).
#include <QFileInfo>

#include "core/DataRoot.h"
#include "core/modGeneral.h"
#include "platform/settings/Settings.h"

namespace modAPI {

void SaveRegSetting(const QString& key, const QString& value) {
    // The store follows the data root, as GetRegSetting's reads do.
    const QString path = core::DataRoot::SettingsPath();
    if (settings::File() != QFileInfo(path).absoluteFilePath()) settings::SetFile(path);
    settings::SaveSetting(QStringLiteral("Application"), QStringLiteral("Pomaret"), key, value);
}

}  // namespace modAPI
