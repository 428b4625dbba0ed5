#include "contacts/dialogs/ContactListRows.h"

#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"

namespace contacts::rows {

namespace {

// Each address cell holds the part of the last "Home" address entered that has one, so that with
// several "Home" rows the cells show what a walk over them in entry order leaves behind. That is
// nearly always the last "Home" row itself, joined once per contact; only a part that row lacks is
// looked for in the rows before it.
QString HomeAddressColumn(const char* part) {
    return QStringLiteral(
               "COALESCE(HomeAddress.%1, CASE WHEN HomeAddress.rowid IS NOT NULL THEN "
               "(SELECT %1 FROM CAddress WHERE CAddress.fkContID = Contacts.ContID "
               "AND CAddress.fkLookup = 'Home' AND CAddress.%1 IS NOT NULL "
               "ORDER BY CAddress.rowid DESC LIMIT 1) END) AS %1")
        .arg(QLatin1String(part));
}

}  // namespace

QList<core::ListScreen::Column> Columns() {
    return {{QStringLiteral("Name"), 0.17},    {QStringLiteral("Job Title"), 0.10},
            {QStringLiteral("Phone"), 0.12},   {QStringLiteral("E-Mail"), 0.15},
            {QStringLiteral("Address"), 0.17}, {QStringLiteral("City"), 0.15},
            {QStringLiteral("St."), 0.04},     {QStringLiteral("ZIP"), 0.10}};
}

QStringList Headers() {
    QStringList headers;
    for (const auto& column : Columns()) headers << column.header;
    return headers;
}

namespace {

QString RowColumns(const QString& extra) {
    const QString contId = QStringLiteral("Contacts.ContID");
    return QStringLiteral("SELECT Contacts.ContID, ShownName, JobTitle, ") +
           modGeneral::HomePhoneColumn(contId) + QStringLiteral(" AS HomePhone, ") +
           modGeneral::PersonalEMailColumn(contId) + QStringLiteral(" AS PersonalEMail, ") +
           HomeAddressColumn("Street") + QStringLiteral(", ") + HomeAddressColumn("City") +
           QStringLiteral(", ") + HomeAddressColumn("State") + QStringLiteral(", ") +
           HomeAddressColumn("Zip") + extra;
}

const QString kHomeAddressJoin = QStringLiteral(
    " LEFT JOIN CAddress AS HomeAddress ON HomeAddress.rowid = "
    "(SELECT MAX(rowid) FROM CAddress WHERE CAddress.fkContID = Contacts.ContID AND "
    "CAddress.fkLookup = 'Home') ");

}  // namespace

QString SelectFrom(const QString& extra) {
    return RowColumns(extra) + QStringLiteral(" FROM Contacts") + kHomeAddressJoin;
}

QString SelectThrough(const QString& from) {
    return RowColumns(QString()) + QLatin1Char(' ') + from + kHomeAddressJoin;
}

bool Add(ui::ListView& list, const db::Database::RowView& row) {
    if (row.isNull(1)) return false;
    const int r = list.addRowUtf8(ui::RowKey("ID", row.integer(0)), row.utf8(1));
    for (int column = 1; column < 8; ++column) {
        if (!row.isNull(column + 1)) list.setSubItemUtf8(r, column, row.utf8(column + 1));
    }
    return true;
}

void OpenContact(int32_t contId) {
    g_lngCurContID = contId;
    modGeneral::CloseAllChildForms(modGeneral::Closing::ScreenSwitch);
    ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmContEntry"));
}

}  // namespace contacts::rows
