#include "contacts/dialogs/ContactListRows.h"

#include "core/modGeneral.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ScreenRegistry.h"

namespace contacts::rows {

namespace {

// Each address cell holds the part of the last "Home" address entered that has one, so that with
// several "Home" rows the cells show what a walk over them in entry order leaves behind.
QString HomeAddressColumn(const char* part) {
    return QStringLiteral(
               "(SELECT %1 FROM CAddress WHERE CAddress.fkContID = Contacts.ContID AND CAddress.fkLookup = "
               "'Home' AND CAddress.%1 IS NOT NULL ORDER BY CAddress.rowid DESC LIMIT 1)")
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

QString Select(const QString& extra) {
    const QString contId = QStringLiteral("Contacts.ContID");
    return QStringLiteral("SELECT ContID, ShownName, JobTitle, ") + modGeneral::HomePhoneColumn(contId) +
           QStringLiteral(" AS HomePhone, ") + modGeneral::PersonalEMailColumn(contId) +
           QStringLiteral(" AS PersonalEMail, ") + HomeAddressColumn("Street") +
           QStringLiteral(" AS Street, ") + HomeAddressColumn("City") + QStringLiteral(" AS City, ") +
           HomeAddressColumn("State") + QStringLiteral(" AS State, ") + HomeAddressColumn("Zip") +
           QStringLiteral(" AS Zip") + extra + QLatin1Char(' ');
}

bool Add(ui::ListView& list, const db::Database::RowView& row) {
    if (row.isNull(1)) return false;
    const int r = list.addRow(ui::RowKey("ID", row.integer(0)), row.text(1));
    for (int column = 1; column < 8; ++column) {
        if (!row.isNull(column + 1)) list.setSubItem(r, column, row.text(column + 1));
    }
    return true;
}

void OpenContact(int32_t contId) {
    g_lngCurContID = contId;
    modGeneral::CloseAllChildForms();
    ui::ScreenRegistry::instance().openRequired(QStringLiteral("frmContEntry"));
}

}  // namespace contacts::rows
