#include "core/CoreScreens.h"

#include "core/MainWindowLink.h"
#include "core/frmAbout.h"
#include "core/frmPassLogon.h"
#include "core/frmPreference.h"
#include "core/frmSecurity.h"
#include "core/frmSetting.h"
#include "core/modGeneral.h"
#include "platform/db/Database.h"
#include "platform/ui/ScreenRegistry.h"

namespace core {

namespace {

QWidget* Owner() {
    return MainWindow() ? MainWindow()->Widget() : nullptr;
}

QWidget* OpenAbout() {
    frmAbout box(nullptr);
    box.exec();
    return nullptr;
}

}  // namespace

void RegisterCoreScreens() {
    auto& registry = ui::ScreenRegistry::instance();
    registry.registerScreen(QStringLiteral("frmSecurity"), [] { return frmSecurity::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmPreference"), [] { return frmPreference::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmSetting"), [] { return frmSetting::Open(Owner()); });
    registry.registerScreen(QStringLiteral("frmAbout"), &OpenAbout);
}

bool RunLogOn(QWidget* owner) {
    if (!g_blnSecurity) return true;

    // No one can be locked out of their own data.
    db::Recordset rs = g_dbLocal->OpenRecordset(QStringLiteral("SELECT COUNT(*) AS Users FROM Security"));
    const bool anyUser = !rs.Eof() && rs.Value(QStringLiteral("Users")).toLongLong() > 0;
    rs.Close();
    if (!anyUser) {
        g_blnSecurity = false;
        modAPI::SaveRegSetting(QStringLiteral("Security"), QStringLiteral("0"));
        return true;
    }

    frmPassLogon logon(owner);
    logon.exec();
    return !logon.m_blnEmerShutdown;
}

}  // namespace core
