// Start procedure: the application object, the data root and its settings file, then Main.
#include <QApplication>

#include "core/DataRoot.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ProgramFont.h"
#include "shell/modMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Titles boxes that have none of their own; the data paths do not depend on it.
    QApplication::setApplicationName(QStringLiteral("Pomaret"));
    ui::UseProgramFont();
    core::DataRoot::Resolve(QApplication::arguments());
    settings::SetFile(core::DataRoot::SettingsPath());
    return modMain::Main();
}
