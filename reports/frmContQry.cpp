#include "reports/frmContQry.h"

#include "contacts/dialogs/ContactListRows.h"
#include "core/Trap.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"

namespace {

const reports::QuerySetup& Setup() {
    static const reports::QuerySetup setup{
        "frmContQry",
        "Contacts Query",
        QColor(0x33, 0x66, 0x66),
        QColor(0xED, 0xF3, 0xF3),
        contacts::rows::Columns(),
        " Loading Contact Query Screen",
        " Names -",
        825,
        1275,
        1650,
        4650,
        6675,
        "CUserFields",
        "CUFldValues",
        "fkContID",
        "Contacts",
        "ContID",
        "An un-known error occurred loading the selected Contact information!",
        core::Tail::Message,
    };
    return setup;
}

}  // namespace

frmContQry::frmContQry(QWidget* parent) : reports::QueryScreen(Setup(), parent) {}

QWidget* frmContQry::Open() {
    auto* form = new frmContQry;
    form->Form_Load();
    ui::ScreenRegistry::instance().showScreen(form);
    return form;
}

QString frmContQry::SelectThrough(const QString& from) const {
    return contacts::rows::SelectThrough(from);
}

bool frmContQry::AddRow(const db::Database::RowView& row) {
    return LoadContactInfo(row);
}

bool frmContQry::LoadContactInfo(const db::Database::RowView& row) {
    bool added = false;
    core::trap(QStringLiteral("frmContQry.LoadContactInfo"), core::Tail::ErrorBox,
               [&] { added = contacts::rows::Add(*lvResult, row); });
    return added;
}

void frmContQry::OpenRecord(int32_t number) {
    contacts::rows::OpenContact(number);
}
